#pragma once
// Base of the curves in a plane: parameter curves on surfaces.
#include "ZrGeEntity.h"
#include "ZrGeInterval.h"
#include "ZrGePoint2d.h"

// Every 2D curve is bounded by its interval; the start point is the point
// at the lower bound, the end point the point at the upper bound.
class ZrGeCurve2d : public ZrGeEntity2d {
public:
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kCurve2d || ZrGeEntity2d::isKindOf(kind);
    }
    ZrGeCurve2d* copy() const override = 0;

    virtual void getInterval(ZrGeInterval& range) const = 0;
    // False, with the curve unchanged, for a range the curve cannot take.
    virtual bool setInterval(const ZrGeInterval& range) = 0;
    virtual ZrGePoint2d evalPoint(double param) const = 0;
    // The parameter of the nearest point of the curve, within its interval.
    virtual double paramOf(const ZrGePoint2d& point, const ZrGeTol& tol = ZrGeContext::gTol) const = 0;
    bool isOn(const ZrGePoint2d& point, const ZrGeTol& tol = ZrGeContext::gTol) const;
    bool hasStartPoint(ZrGePoint2d& point) const;
    bool hasEndPoint(ZrGePoint2d& point) const;
    bool isClosed(const ZrGeTol& tol = ZrGeContext::gTol) const;
};
