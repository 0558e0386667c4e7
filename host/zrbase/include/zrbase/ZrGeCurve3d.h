#pragma once
// Base of the 3D curves.
#include "ZrGeEntity.h"
#include "ZrGeInterval.h"
#include "ZrGePoint3d.h"

// A curve maps a parameter to a point. Every curve is bounded by its
// interval (getInterval); the start point is the point at the lower bound and
// the end point the point at the upper bound.
class ZrGeCurve3d : public ZrGeEntity3d {
public:
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kCurve3d || ZrGeEntity3d::isKindOf(kind);
    }
    ZrGeCurve3d* copy() const override = 0;

    virtual void getInterval(ZrGeInterval& range) const = 0;
    void getInterval(ZrGeInterval& range, ZrGePoint3d& start, ZrGePoint3d& end) const;
    // Bounds the curve to range. False, with the curve unchanged, when the
    // range is not bounded, is empty, or lies outside what the curve can
    // cover (each class says what that is).
    virtual bool setInterval(const ZrGeInterval& range) = 0;

    virtual ZrGePoint3d evalPoint(double param) const = 0;
    // The parameter of the point of the curve, within its interval, nearest
    // to point. tol is the precision the search works to.
    virtual double paramOf(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const = 0;
    // True when the curve passes within the tolerance's point value of point.
    bool isOn(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const;
    bool isOn(const ZrGePoint3d& point, double& param, const ZrGeTol& tol = ZrGeContext::gTol) const;
    ZrGePoint3d closestPointTo(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const;

    // The point at the lower (upper) bound. False when the interval is
    // open on that side; no curve of this library is.
    bool hasStartPoint(ZrGePoint3d& point) const;
    bool hasEndPoint(ZrGePoint3d& point) const;
    // True when the start and end points are equal under tol: a full circle
    // or ellipse, or a spline whose ends meet.
    bool isClosed(const ZrGeTol& tol = ZrGeContext::gTol) const;
    // True, with the period, for a curve whose points repeat along the
    // parameter (circles and ellipses, 2 pi; periodic splines).
    virtual bool isPeriodic(double& period) const;

    // Arc length between two parameters (negative when to < from).
    double length(double fromParam, double toParam) const;
};
