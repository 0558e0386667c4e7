#pragma once
// Entities bounded by faces: 3D solids and surfaces. Each holds one body of
// modeler geometry (zrbr/ZrModelerGeometry.h), counted: the entity keeps a
// reference for as long as it holds the body. A new entity holds none.
#include <cstdint>

#include <zrbase/ZrRxObject.h>

#include "ZrDbEntity.h"

class ZrModelerGeometry;

// The body an entity holds.
class ZrDbModelerGeometryHolder {
public:
    ZrDbModelerGeometryHolder() = default;
    ~ZrDbModelerGeometryHolder();
    ZrDbModelerGeometryHolder(const ZrDbModelerGeometryHolder&) = delete;
    ZrDbModelerGeometryHolder& operator=(const ZrDbModelerGeometryHolder&) = delete;

    ZrModelerGeometry* get() const { return m_geometry; }
    // Takes a reference to geometry (null empties) and drops the old one.
    void reset(ZrModelerGeometry* geometry);
    Nimb::ErrorStatus extents(ZrDbExtents& extents) const;

private:
    ZrModelerGeometry* m_geometry = nullptr;
};

class ZrDb3dSolid : public ZrDbEntity {
public:
    ZRRX_DECLARE_MEMBERS(ZrDb3dSolid);
    ZrDb3dSolid() = default;

    // The body, or null; the entity keeps its reference (take one with
    // zrrxAddRef to hold the body longer than the open entity).
    ZrModelerGeometry* modelerGeometry() const;
    // Holds geometry from now on (null: no body). Needs write.
    Nimb::ErrorStatus setModelerGeometry(ZrModelerGeometry* geometry);
    // The body's box; eInvalidExtents without a body.
    Nimb::ErrorStatus getGeomExtents(ZrDbExtents& extents) const override;

private:
    ZrDbModelerGeometryHolder m_body;
};

// A surface: faces that bound no volume. The isoline densities are how many
// lines of constant u and of constant v the host draws across each face when
// it shows the surface as wireframe (0 to 2047; 6 for a new surface).
class ZrDbSurface : public ZrDbEntity {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbSurface);
    ZrDbSurface() = default;

    ZrModelerGeometry* modelerGeometry() const;
    Nimb::ErrorStatus setModelerGeometry(ZrModelerGeometry* geometry);
    Nimb::ErrorStatus getGeomExtents(ZrDbExtents& extents) const override;

    std::uint16_t uIsolineDensity() const;
    std::uint16_t vIsolineDensity() const;
    // eInvalidInput above 2047.
    Nimb::ErrorStatus setUIsolineDensity(std::uint16_t count);
    Nimb::ErrorStatus setVIsolineDensity(std::uint16_t count);

    static constexpr std::uint16_t kDefaultIsolines = 6;
    static constexpr std::uint16_t kMaxIsolines = 2047;

private:
    ZrDbModelerGeometryHolder m_body;
    std::uint16_t m_uIsolines = kDefaultIsolines;
    std::uint16_t m_vIsolines = kDefaultIsolines;
};

// Host service number 4: gives body entities their modeler geometry.
//   auto* service = ZrDbModelerService::cast(zrrxGetService(ZrDbModelerService::kServiceNumber));
class ZrDbModelerService : public ZrRxObject {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbModelerService);
    enum { kServiceNumber = 4 };

    // The entity holds geometry from now on. eNullObjectPointer for a null
    // entity; a null geometry leaves the entity without a body (eOk).
    virtual Nimb::ErrorStatus attachToSolid(ZrDb3dSolid* solid, ZrModelerGeometry* geometry);
    virtual Nimb::ErrorStatus attachToSurface(ZrDbSurface* surface, ZrModelerGeometry* geometry);
};
