#pragma once
// Splines and NURBS curves in a plane.
#include <memory>

#include "ZrGeCurve2d.h"
#include "ZrGeKnotVector.h"

class ZrGeSplineEnt2d : public ZrGeCurve2d {
public:
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kSplineEnt2d || ZrGeCurve2d::isKindOf(kind);
    }
    ZrGeSplineEnt2d* copy() const override = 0;

    virtual int degree() const = 0;
    int order() const { return degree() + 1; }
    virtual const ZrGeKnotVector& knots() const = 0;
    int numKnots() const { return knots().length(); }
    double knotAt(int index) const { return knots()[index]; }
    virtual int numControlPoints() const = 0;
    virtual ZrGePoint2d controlPointAt(int index) const = 0;
    virtual bool isRational() const = 0;

    double startParam() const;
    double endParam() const;
    ZrGePoint2d startPoint() const;
    ZrGePoint2d endPoint() const;
};

// A NURBS curve in a plane. Definition, periodic flag, trimming and invalid
// data work exactly as for ZrGeNurbCurve3d, with 2D control points.
class ZrGeNurbCurve2d : public ZrGeSplineEnt2d {
public:
    ZrGeNurbCurve2d(); // invalid, empty curve
    ZrGeNurbCurve2d(int degree, const ZrGeKnotVector& knots, const ZrGePoint2dArray& controlPoints,
                    const ZrGeDoubleArray& weights, bool isPeriodic = false);

    ZrGe::EntityId type() const override { return ZrGe::kNurbCurve2d; }
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kNurbCurve2d || ZrGeSplineEnt2d::isKindOf(kind);
    }
    ZrGeNurbCurve2d* copy() const override { return new ZrGeNurbCurve2d(*this); }

    bool isValid() const { return m_valid; }
    int degree() const override { return m_degree; }
    const ZrGeKnotVector& knots() const override { return m_knots; }
    int numControlPoints() const override { return m_points.length(); }
    ZrGePoint2d controlPointAt(int index) const override { return m_points[index]; }
    const ZrGePoint2dArray& controlPoints() const { return m_points; }
    bool isRational() const override { return !m_weights.isEmpty(); }
    double weightAt(int index) const { return m_weights.isEmpty() ? 1.0 : m_weights[index]; }
    const ZrGeDoubleArray& weights() const { return m_weights; }
    bool isPeriodicFlag() const { return m_periodic; }

    void getInterval(ZrGeInterval& range) const override;
    bool setInterval(const ZrGeInterval& range) override;
    ZrGePoint2d evalPoint(double param) const override;
    double paramOf(const ZrGePoint2d& point, const ZrGeTol& tol = ZrGeContext::gTol) const override;

private:
    void validate();

    int m_degree = 0;
    ZrGeKnotVector m_knots;
    ZrGePoint2dArray m_points;
    ZrGeDoubleArray m_weights;
    bool m_periodic = false;
    bool m_valid = false;
    std::shared_ptr<const ZrGeKernelData> m_kernel;
    friend class GeKernelAccess;
};
