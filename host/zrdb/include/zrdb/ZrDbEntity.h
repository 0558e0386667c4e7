#pragma once
// Entities: the drawable objects of a block.
#include <zrbase/ZrGePoint3d.h>

#include "ZrCmColor.h"
#include "ZrDbObject.h"

// An axis-aligned box in model coordinates.
class ZrDbExtents {
public:
    bool isEmpty() const { return m_empty; }
    void addPoint(const ZrGePoint3d& point);
    void addExtents(const ZrDbExtents& other);
    const ZrGePoint3d& minPoint() const { return m_min; }
    const ZrGePoint3d& maxPoint() const { return m_max; }

private:
    bool m_empty = true;
    ZrGePoint3d m_min, m_max;
};

class ZrDbEntity : public ZrDbObject {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbEntity);

    // A new entity's colour is "by layer" and its layer is "0".
    ZrCmColor color() const;
    ZrCmEntityColor entityColor() const;
    // doSubents is accepted for entities with sub-entities; those of this
    // host take their colour from the entity.
    Nimb::ErrorStatus setColor(const ZrCmColor& color, bool doSubents = true);
    Nimb::ErrorStatus setColorIndex(std::uint16_t index, bool doSubents = true);
    std::uint16_t colorIndex() const;
    // The block that holds the entity, null for a new one.
    ZrDbObjectId blockId() const { return ownerId(); }

    // The box around the entity's geometry; eInvalidExtents when it has none.
    virtual Nimb::ErrorStatus getGeomExtents(ZrDbExtents& extents) const;

protected:
    ZrDbEntity() = default;

private:
    ZrCmColor m_color;
};

// The box around everything in the model space of db, read the way the
// host's display reads it: without opening anything. False when empty.
bool zrdbModelSpaceExtents(ZrDbDatabase* db, ZrDbExtents& extents);
