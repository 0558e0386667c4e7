#pragma once
// Base of the surfaces.
#include "ZrGeEntity.h"
#include "ZrGeInterval.h"
#include "ZrGePoint2d.h"
#include "ZrGePoint3d.h"

// A surface maps a parameter pair (u, v), held in a ZrGePoint2d as (x, y),
// to a point. Each class documents its parameterisation, its bounds and the
// sense of its normal. Angles are in radians.
class ZrGeSurface : public ZrGeEntity3d {
public:
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kSurface || ZrGeEntity3d::isKindOf(kind);
    }
    ZrGeSurface* copy() const override = 0;

    virtual ZrGePoint3d evalPoint(const ZrGePoint2d& param) const = 0;
    // The unit normal at param; the zero vector where the surface has none
    // (a cone's apex, a degenerate spline corner).
    virtual ZrGeVector3d normalAt(const ZrGePoint2d& param) const = 0;
    // The parameters of the point of the surface nearest to point, inside
    // the surface's bounds. tol is the precision the search works to.
    virtual ZrGePoint2d paramOf(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const = 0;
    // The parameter ranges of the surface (unbounded where it is).
    virtual void getEnvelope(ZrGeInterval& rangeU, ZrGeInterval& rangeV) const = 0;
    // False when the surface's data describe no points; no point is on such
    // a surface and what it evaluates to means nothing.
    virtual bool isValid() const { return true; }

    // True when the bounded surface passes within the tolerance's point
    // value of point.
    bool isOn(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const;
    bool isOn(const ZrGePoint3d& point, ZrGePoint2d& param, const ZrGeTol& tol = ZrGeContext::gTol) const;
    ZrGePoint3d closestPointTo(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const;
};
