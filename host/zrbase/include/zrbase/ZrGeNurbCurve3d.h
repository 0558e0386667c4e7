#pragma once
// Splines and NURBS curves in space.
#include <memory>

#include "ZrArray.h"
#include "ZrGeCurve3d.h"
#include "ZrGeKnotVector.h"

// Base of the spline curves: a degree, a flat knot vector and control points.
class ZrGeSplineEnt3d : public ZrGeCurve3d {
public:
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kSplineEnt3d || ZrGeCurve3d::isKindOf(kind);
    }
    ZrGeSplineEnt3d* copy() const override = 0;

    virtual int degree() const = 0;
    int order() const { return degree() + 1; }
    virtual const ZrGeKnotVector& knots() const = 0;
    int numKnots() const { return knots().length(); }
    double knotAt(int index) const { return knots()[index]; }
    virtual int numControlPoints() const = 0;
    virtual ZrGePoint3d controlPointAt(int index) const = 0;
    virtual bool isRational() const = 0;

    // The bounds of the interval and the points there.
    double startParam() const;
    double endParam() const;
    ZrGePoint3d startPoint() const;
    ZrGePoint3d endPoint() const;
};

// A non-uniform rational B-spline curve.
//
// Definition: degree p, n control points P[i], optional weights w[i] (none
// for a polynomial curve; otherwise one positive weight per control point)
// and a flat knot vector of n + p + 1 non-decreasing knots k[0..n+p]. The
// curve is sum(N[i,p](t) w[i] P[i]) / sum(N[i,p](t) w[i]) over its natural
// interval [k[p], k[n]]. Knots closer than the knot vector's tolerance are
// merged into one knot of higher multiplicity; a knot may occur at most p
// times inside and p + 1 times at either end.
//
// Periodic flag: the data describe a closed curve written out as an open,
// unclamped spline whose last p control points repeat its first p. The
// curve then repeats with period k[n] - k[p]: evaluation outside the natural
// interval wraps around.
//
// setInterval trims the curve for good: knots are inserted at the new
// bounds and the control points outside are dropped, without changing the
// parameter of any point kept. A trimmed curve is never periodic.
//
// Data that break these rules make an invalid curve (isValid false): it has
// no control points, an empty interval at 0 and evaluates to the origin.
class ZrGeNurbCurve3d : public ZrGeSplineEnt3d {
public:
    ZrGeNurbCurve3d(); // invalid, empty curve
    ZrGeNurbCurve3d(int degree, const ZrGeKnotVector& knots, const ZrGePoint3dArray& controlPoints,
                    const ZrGeDoubleArray& weights, bool isPeriodic = false);
    ZrGeNurbCurve3d(int degree, const ZrGeKnotVector& knots, const ZrGePoint3dArray& controlPoints,
                    bool isPeriodic = false);

    ZrGe::EntityId type() const override { return ZrGe::kNurbCurve3d; }
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kNurbCurve3d || ZrGeSplineEnt3d::isKindOf(kind);
    }
    ZrGeNurbCurve3d* copy() const override { return new ZrGeNurbCurve3d(*this); }

    bool isValid() const { return m_valid; }
    int degree() const override { return m_degree; }
    const ZrGeKnotVector& knots() const override { return m_knots; }
    int numControlPoints() const override { return m_points.length(); }
    ZrGePoint3d controlPointAt(int index) const override { return m_points[index]; }
    const ZrGePoint3dArray& controlPoints() const { return m_points; }
    bool isRational() const override { return !m_weights.isEmpty(); }
    int numWeights() const { return m_weights.length(); }
    // 1 for every control point of a polynomial curve.
    double weightAt(int index) const { return m_weights.isEmpty() ? 1.0 : m_weights[index]; }
    const ZrGeDoubleArray& weights() const { return m_weights; }
    bool isPeriodicFlag() const { return m_periodic; }

    void getInterval(ZrGeInterval& range) const override;
    // Within the natural interval, with upper - lower above the knot tolerance.
    bool setInterval(const ZrGeInterval& range) override;
    ZrGePoint3d evalPoint(double param) const override;
    double paramOf(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const override;
    bool isPeriodic(double& period) const override;

private:
    void validate();

    int m_degree = 0;
    ZrGeKnotVector m_knots;
    ZrGePoint3dArray m_points;
    ZrGeDoubleArray m_weights;
    bool m_periodic = false;
    bool m_valid = false;
    std::shared_ptr<const ZrGeKernelData> m_kernel;
    friend class GeKernelAccess;
};
