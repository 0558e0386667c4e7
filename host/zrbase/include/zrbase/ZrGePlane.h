#pragma once
// Unbounded planes.
#include "ZrGeSurface.h"

// P(u, v) = origin + u * uAxis + v * vAxis, unbounded in u and v. The axes
// are unit length and perpendicular; the normal is uAxis x vAxis.
//
// Made from an origin and a normal, the plane takes uAxis =
// normal.perpVector() and vAxis = normal x uAxis. Made from two axes, uAxis
// is the first one normalised and vAxis the part of the second one
// perpendicular to it, normalised.
class ZrGePlane : public ZrGeSurface {
public:
    ZrGePlane(); // the XY plane, normal +Z
    ZrGePlane(const ZrGePoint3d& origin, const ZrGeVector3d& normal);
    ZrGePlane(const ZrGePoint3d& origin, const ZrGeVector3d& uAxis, const ZrGeVector3d& vAxis);
    ZrGePlane& set(const ZrGePoint3d& origin, const ZrGeVector3d& normal);
    ZrGePlane& set(const ZrGePoint3d& origin, const ZrGeVector3d& uAxis, const ZrGeVector3d& vAxis);

    ZrGe::EntityId type() const override { return ZrGe::kPlane; }
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kPlane || ZrGeSurface::isKindOf(kind);
    }
    ZrGePlane* copy() const override { return new ZrGePlane(*this); }

    ZrGePoint3d pointOnPlane() const { return m_origin; }
    ZrGeVector3d normal() const { return m_u.crossProduct(m_v); }
    void getCoordSystem(ZrGePoint3d& origin, ZrGeVector3d& uAxis, ZrGeVector3d& vAxis) const;
    // Positive on the side the normal points to.
    double signedDistanceTo(const ZrGePoint3d& point) const;

    ZrGePoint3d evalPoint(const ZrGePoint2d& param) const override;
    ZrGeVector3d normalAt(const ZrGePoint2d& param) const override;
    ZrGePoint2d paramOf(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const override;
    void getEnvelope(ZrGeInterval& rangeU, ZrGeInterval& rangeV) const override;

private:
    ZrGePoint3d m_origin;
    ZrGeVector3d m_u{1.0, 0.0, 0.0};
    ZrGeVector3d m_v{0.0, 1.0, 0.0};
};
