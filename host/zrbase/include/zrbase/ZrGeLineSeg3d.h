#pragma once
// Straight line segments.
#include "ZrGeCurve3d.h"

// Made from a start and an end point, the segment is
//     P(t) = start + t * (end - start),  t in [0, 1].
// setInterval moves the ends along the same line and keeps this
// parameterisation, so t stays the fraction of the defining vector: after
// setInterval([0.5, 2]) the segment runs from the old midpoint to the point
// one defining length beyond the old end. A segment whose two points
// coincide is a single point; paramOf then gives the lower bound.
class ZrGeLineSeg3d : public ZrGeCurve3d {
public:
    ZrGeLineSeg3d(); // (0,0,0) to (1,0,0)
    ZrGeLineSeg3d(const ZrGePoint3d& start, const ZrGePoint3d& end);
    ZrGeLineSeg3d& set(const ZrGePoint3d& start, const ZrGePoint3d& end);

    ZrGe::EntityId type() const override { return ZrGe::kLineSeg3d; }
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kLineSeg3d || ZrGeCurve3d::isKindOf(kind);
    }
    ZrGeLineSeg3d* copy() const override { return new ZrGeLineSeg3d(*this); }

    // P(0) and the defining vector end - start (not of unit length).
    ZrGePoint3d pointOnLine() const { return m_base; }
    ZrGeVector3d direction() const { return m_direction; }
    ZrGePoint3d startPoint() const { return evalPoint(m_lower); }
    ZrGePoint3d endPoint() const { return evalPoint(m_upper); }
    ZrGePoint3d midPoint() const { return evalPoint(0.5 * (m_lower + m_upper)); }
    using ZrGeCurve3d::length;
    double length() const;

    void getInterval(ZrGeInterval& range) const override;
    // Any bounded range with lower <= upper.
    bool setInterval(const ZrGeInterval& range) override;
    ZrGePoint3d evalPoint(double param) const override;
    double paramOf(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const override;

private:
    ZrGePoint3d m_base;
    ZrGeVector3d m_direction{1.0, 0.0, 0.0};
    double m_lower = 0.0;
    double m_upper = 1.0;
};
