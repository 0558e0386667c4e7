#pragma once
// Straight segments in a plane.
#include "ZrGeCurve2d.h"

// P(t) = start + t * (end - start), t in [0, 1]; setInterval keeps this
// parameterisation and moves the ends along the line, as for 3D segments.
class ZrGeLineSeg2d : public ZrGeCurve2d {
public:
    ZrGeLineSeg2d(); // (0,0) to (1,0)
    ZrGeLineSeg2d(const ZrGePoint2d& start, const ZrGePoint2d& end);
    ZrGeLineSeg2d& set(const ZrGePoint2d& start, const ZrGePoint2d& end);

    ZrGe::EntityId type() const override { return ZrGe::kLineSeg2d; }
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kLineSeg2d || ZrGeCurve2d::isKindOf(kind);
    }
    ZrGeLineSeg2d* copy() const override { return new ZrGeLineSeg2d(*this); }

    ZrGePoint2d pointOnLine() const { return m_base; }
    ZrGeVector2d direction() const { return m_direction; }
    ZrGePoint2d startPoint() const { return evalPoint(m_lower); }
    ZrGePoint2d endPoint() const { return evalPoint(m_upper); }

    void getInterval(ZrGeInterval& range) const override;
    bool setInterval(const ZrGeInterval& range) override;
    ZrGePoint2d evalPoint(double param) const override;
    double paramOf(const ZrGePoint2d& point, const ZrGeTol& tol = ZrGeContext::gTol) const override;

private:
    ZrGePoint2d m_base;
    ZrGeVector2d m_direction{1.0, 0.0};
    double m_lower = 0.0;
    double m_upper = 1.0;
};
