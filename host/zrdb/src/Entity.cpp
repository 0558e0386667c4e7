#include "zrdb/ZrDbEntity.h"

#include <algorithm>

#include "zrdb/ZrDbBlockReference.h"
#include "zrdb/ZrDbBody.h"
#include "zrdb/ZrDbCurves.h"
#include "zrdb/ZrDbDatabase.h"
#include "zrdb/ZrDbRefusals.h"
#include "zrdb/ZrDbSymbolTable.h"

#define ZRDB_CONCRETE(CLASS, PARENT) \
    ZRRX_DEFINE_MEMBERS(CLASS, PARENT, [] { return static_cast<ZrRxObject*>(new CLASS); })

ZRRX_DEFINE_MEMBERS(ZrDbEntity, ZrDbObject, nullptr)
ZRRX_DEFINE_MEMBERS(ZrDbCurve, ZrDbEntity, nullptr)
ZRDB_CONCRETE(ZrDbBlockReference, ZrDbEntity)
ZRDB_CONCRETE(ZrDbPoint, ZrDbEntity)
ZRDB_CONCRETE(ZrDbLine, ZrDbCurve)
ZRDB_CONCRETE(ZrDbCircle, ZrDbCurve)
ZRDB_CONCRETE(ZrDbArc, ZrDbCurve)
ZRDB_CONCRETE(ZrDbEllipse, ZrDbCurve)
ZRDB_CONCRETE(ZrDbSpline, ZrDbCurve)
ZRDB_CONCRETE(ZrDb3dSolid, ZrDbEntity)
ZRDB_CONCRETE(ZrDbSurface, ZrDbEntity)

// Extents

void ZrDbExtents::addPoint(const ZrGePoint3d& p)
{
    if (m_empty) {
        m_min = m_max = p;
        m_empty = false;
        return;
    }
    m_min = {std::min(m_min.x, p.x), std::min(m_min.y, p.y), std::min(m_min.z, p.z)};
    m_max = {std::max(m_max.x, p.x), std::max(m_max.y, p.y), std::max(m_max.z, p.z)};
}

void ZrDbExtents::addExtents(const ZrDbExtents& other)
{
    if (other.m_empty)
        return;
    addPoint(other.m_min);
    addPoint(other.m_max);
}

// Entity

ZrCmColor ZrDbEntity::color() const { return readable("color", m_color); }

ZrCmEntityColor ZrDbEntity::entityColor() const { return readable("entityColor", m_color.entityColor()); }

std::uint16_t ZrDbEntity::colorIndex() const { return readable("colorIndex", m_color.colorIndex()); }

Nimb::ErrorStatus ZrDbEntity::setColor(const ZrCmColor& color, bool)
{
    if (!assertWriteEnabled("setColor"))
        return Nimb::eNotOpenForWrite;
    m_color = color;
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbEntity::setColorIndex(std::uint16_t index, bool)
{
    if (!assertWriteEnabled("setColorIndex"))
        return Nimb::eNotOpenForWrite;
    return m_color.setColorIndex(index) ? Nimb::eOk : Nimb::eInvalidInput;
}

Nimb::ErrorStatus ZrDbEntity::getGeomExtents(ZrDbExtents&) const { return Nimb::eInvalidExtents; }

// Block reference

ZrDbBlockReference::ZrDbBlockReference(const ZrGePoint3d& position, ZrDbObjectId block) : m_position(position)
{
    setBlockTableRecord(block);
}

ZrDbObjectId ZrDbBlockReference::blockTableRecord() const { return m_block; }

Nimb::ErrorStatus ZrDbBlockReference::setBlockTableRecord(ZrDbObjectId block)
{
    if (!assertWriteEnabled("setBlockTableRecord"))
        return Nimb::eNotOpenForWrite;
    if (block.isNull())
        return Nimb::eNullObjectId;
    auto* record = block.isValid() ? ZrDbBlockTableRecord::cast(block.stub()->object) : nullptr;
    if (!record || record->isErased() || record->isNewObject() || record->isLayout())
        return Nimb::eInvalidInput;
    if (!isNewObject() && block.database() != database())
        return Nimb::eInvalidInput;
    if (zrdbRefuses(ZrDbRefusable::kSetBlockTableRecord))
        return Nimb::eOutOfMemory;
    m_block = block;
    return Nimb::eOk;
}

ZrGePoint3d ZrDbBlockReference::position() const { return readable("position", m_position); }

Nimb::ErrorStatus ZrDbBlockReference::setPosition(const ZrGePoint3d& position)
{
    if (!assertWriteEnabled("setPosition"))
        return Nimb::eNotOpenForWrite;
    m_position = position;
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbBlockReference::getGeomExtents(ZrDbExtents& extents) const
{
    // The block's entities, moved to the insertion point; read without
    // opening them, as the host does for display.
    auto* record = m_block.isValid() ? ZrDbBlockTableRecord::cast(m_block.stub()->object) : nullptr;
    if (!record)
        return Nimb::eInvalidExtents;
    ZrDbExtents inner;
    for (ZrDbObjectId id : record->entityIds()) {
        auto* entity = id.isValid() ? ZrDbEntity::cast(id.stub()->object) : nullptr;
        ZrDbExtents part;
        if (entity && !entity->isErased() && entity->getGeomExtents(part) == Nimb::eOk)
            inner.addExtents(part);
    }
    if (inner.isEmpty())
        return Nimb::eInvalidExtents;
    const ZrGeVector3d offset = m_position - ZrGePoint3d::kOrigin;
    extents.addPoint(inner.minPoint() + offset);
    extents.addPoint(inner.maxPoint() + offset);
    return Nimb::eOk;
}

// Point

ZrGePoint3d ZrDbPoint::position() const { return readable("position", m_position); }

Nimb::ErrorStatus ZrDbPoint::setPosition(const ZrGePoint3d& position)
{
    if (!assertWriteEnabled("setPosition"))
        return Nimb::eNotOpenForWrite;
    m_position = position;
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbPoint::getGeomExtents(ZrDbExtents& extents) const
{
    extents.addPoint(m_position);
    return Nimb::eOk;
}

bool zrdbModelSpaceExtents(ZrDbDatabase* db, ZrDbExtents& extents)
{
    if (!db)
        return false;
    const ZrDbObjectId space = db->modelSpaceId();
    auto* record = space.isValid() ? ZrDbBlockTableRecord::cast(space.stub()->object) : nullptr;
    if (!record)
        return false;
    for (ZrDbObjectId id : record->entityIds()) {
        auto* entity = id.isValid() ? ZrDbEntity::cast(id.stub()->object) : nullptr;
        if (entity && !entity->isErased())
            entity->getGeomExtents(extents);
    }
    return !extents.isEmpty();
}
