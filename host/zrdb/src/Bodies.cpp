#include <zrbr/ZrModelerGeometry.h>

#include "zrdb/ZrDbBody.h"

ZRRX_DEFINE_MEMBERS(ZrDbModelerService, ZrRxObject, [] { return static_cast<ZrRxObject*>(new ZrDbModelerService); })

ZrDbModelerGeometryHolder::~ZrDbModelerGeometryHolder() { zrrxRelease(m_geometry); }

void ZrDbModelerGeometryHolder::reset(ZrModelerGeometry* geometry)
{
    zrrxAddRef(geometry);
    zrrxRelease(m_geometry);
    m_geometry = geometry;
}

Nimb::ErrorStatus ZrDbModelerGeometryHolder::extents(ZrDbExtents& extents) const
{
    ZrGePoint3d low, high;
    if (!m_geometry || !m_geometry->getExtents(low, high))
        return Nimb::eInvalidExtents;
    extents.addPoint(low);
    extents.addPoint(high);
    return Nimb::eOk;
}

ZrModelerGeometry* ZrDb3dSolid::modelerGeometry() const
{
    assertReadEnabled("modelerGeometry");
    return m_body.get();
}

Nimb::ErrorStatus ZrDb3dSolid::setModelerGeometry(ZrModelerGeometry* geometry)
{
    if (!assertWriteEnabled("setModelerGeometry"))
        return Nimb::eNotOpenForWrite;
    m_body.reset(geometry);
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDb3dSolid::getGeomExtents(ZrDbExtents& extents) const { return m_body.extents(extents); }

ZrModelerGeometry* ZrDbSurface::modelerGeometry() const
{
    assertReadEnabled("modelerGeometry");
    return m_body.get();
}

Nimb::ErrorStatus ZrDbSurface::setModelerGeometry(ZrModelerGeometry* geometry)
{
    if (!assertWriteEnabled("setModelerGeometry"))
        return Nimb::eNotOpenForWrite;
    m_body.reset(geometry);
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbSurface::getGeomExtents(ZrDbExtents& extents) const { return m_body.extents(extents); }

std::uint16_t ZrDbSurface::uIsolineDensity() const { return readable("uIsolineDensity", m_uIsolines); }

std::uint16_t ZrDbSurface::vIsolineDensity() const { return readable("vIsolineDensity", m_vIsolines); }

Nimb::ErrorStatus ZrDbSurface::setUIsolineDensity(std::uint16_t count)
{
    if (!assertWriteEnabled("setUIsolineDensity"))
        return Nimb::eNotOpenForWrite;
    if (count > kMaxIsolines)
        return Nimb::eInvalidInput;
    m_uIsolines = count;
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbSurface::setVIsolineDensity(std::uint16_t count)
{
    if (!assertWriteEnabled("setVIsolineDensity"))
        return Nimb::eNotOpenForWrite;
    if (count > kMaxIsolines)
        return Nimb::eInvalidInput;
    m_vIsolines = count;
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbModelerService::attachToSolid(ZrDb3dSolid* solid, ZrModelerGeometry* geometry)
{
    return solid ? solid->setModelerGeometry(geometry) : Nimb::eNullObjectPointer;
}

Nimb::ErrorStatus ZrDbModelerService::attachToSurface(ZrDbSurface* surface, ZrModelerGeometry* geometry)
{
    return surface ? surface->setModelerGeometry(geometry) : Nimb::eNullObjectPointer;
}
