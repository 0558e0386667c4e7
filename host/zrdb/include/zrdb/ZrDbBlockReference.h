#pragma once
#include "ZrDbEntity.h"

// An insertion of a block. A new reference sits at the origin with scale 1
// and no rotation, and refers to no block.
class ZrDbBlockReference : public ZrDbEntity {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbBlockReference);
    ZrDbBlockReference() = default;
    ZrDbBlockReference(const ZrGePoint3d& position, ZrDbObjectId block);

    ZrDbObjectId blockTableRecord() const;
    // eNullObjectId for a null id, eInvalidInput when the id names no
    // existing block or names a layout (model or paper space).
    Nimb::ErrorStatus setBlockTableRecord(ZrDbObjectId block);
    ZrGePoint3d position() const;
    Nimb::ErrorStatus setPosition(const ZrGePoint3d& position);

    Nimb::ErrorStatus getGeomExtents(ZrDbExtents& extents) const override;

private:
    ZrDbObjectId m_block;
    ZrGePoint3d m_position;
};
