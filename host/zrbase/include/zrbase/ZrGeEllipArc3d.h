#pragma once
// Elliptical arcs and full ellipses.
#include "ZrGeCurve3d.h"

// The arc is
//     P(a) = centre + majorRadius * cos a * majorAxis + minorRadius * sin a * minorAxis,
// a from the start angle to the end angle. The parameter a is the ellipse's
// eccentric angle (the angle on the circle the ellipse is squeezed from), not
// the polar angle of the point; both agree at multiples of pi/2. The arc runs
// counter-clockwise about its normal, majorAxis x minorAxis.
//
// The axes are stored with unit length, the minor axis made perpendicular to
// the major one within their common plane. "Major" and "minor" only name the
// axes: the minor radius may be the larger. Radii are stored as absolute
// values. Angles are normalised as for circular arcs: an end angle below the
// start angle means the arc runs on past 2 pi, and a span of more than one
// turn is cut to one turn; a span of exactly 2 pi is a full, closed ellipse.
class ZrGeEllipArc3d : public ZrGeCurve3d {
public:
    ZrGeEllipArc3d(); // unit circle about the origin in the XY plane
    // A full ellipse, angles 0 to 2 pi.
    ZrGeEllipArc3d(const ZrGePoint3d& centre, const ZrGeVector3d& majorAxis, const ZrGeVector3d& minorAxis,
                   double majorRadius, double minorRadius);
    ZrGeEllipArc3d(const ZrGePoint3d& centre, const ZrGeVector3d& majorAxis, const ZrGeVector3d& minorAxis,
                   double majorRadius, double minorRadius, double startAngle, double endAngle);
    ZrGeEllipArc3d& set(const ZrGePoint3d& centre, const ZrGeVector3d& majorAxis, const ZrGeVector3d& minorAxis,
                        double majorRadius, double minorRadius, double startAngle, double endAngle);

    ZrGe::EntityId type() const override { return ZrGe::kEllipArc3d; }
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kEllipArc3d || ZrGeCurve3d::isKindOf(kind);
    }
    ZrGeEllipArc3d* copy() const override { return new ZrGeEllipArc3d(*this); }

    ZrGePoint3d center() const { return m_centre; }
    ZrGeVector3d majorAxis() const { return m_major; }
    ZrGeVector3d minorAxis() const { return m_minor; }
    ZrGeVector3d normal() const { return m_major.crossProduct(m_minor); }
    double majorRadius() const { return m_majorRadius; }
    double minorRadius() const { return m_minorRadius; }
    double startAng() const { return m_start; }
    double endAng() const { return m_end; }
    void setAngles(double startAngle, double endAngle);
    ZrGePoint3d startPoint() const { return evalPoint(m_start); }
    ZrGePoint3d endPoint() const { return evalPoint(m_end); }

    void getInterval(ZrGeInterval& range) const override;
    bool setInterval(const ZrGeInterval& range) override;
    ZrGePoint3d evalPoint(double param) const override;
    // The eccentric angle of the nearest point, within the arc's angles.
    double paramOf(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const override;
    bool isPeriodic(double& period) const override;

private:
    ZrGePoint3d m_centre;
    ZrGeVector3d m_major{1.0, 0.0, 0.0};
    ZrGeVector3d m_minor{0.0, 1.0, 0.0};
    double m_majorRadius = 1.0;
    double m_minorRadius = 1.0;
    double m_start = 0.0;
    double m_end = 6.283185307179586;
};
