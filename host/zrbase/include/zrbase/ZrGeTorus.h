#pragma once
// Tori, including self-intersecting ones.
#include "ZrGeSurface.h"

// With R the major radius, r the minor radius, a = |r|, Y = axis x refAxis
// and the radial direction D(u) = cos u * refAxis + sin u * Y:
//     P(u, v) = origin + (R + a * cos v) * D(u) + a * sin v * axis
// u is the angle about the axis, measured from refAxis, counter-clockwise
// seen from the axis tip. v is the angle around the tube in the half-plane
// of D(u), measured from the direction D(u) and running toward +axis (v = pi/2
// is the top of the tube). The constructor takes the u bounds first, then the
// v bounds; each range is at most one turn, normalised as for arcs.
//
// R is the signed distance of the tube's centre from the axis, measured in
// the half-plane of the point: the surface holds only the points with
// R + a * cos v >= 0, those on the near side of the axis. So:
//   R >= a        a ring (or, R = a, horn) torus: every v;
//   0 <= R < a    the tube crosses the axis and the surface is the outer,
//                 "apple" part of the self-intersecting torus;
//   -a < R < 0    the inner, "lemon" (spindle) part of the same torus:
//                 negating R switches between the two parts;
//   R <= -a       no points: invalid (as is a torus with r = 0).
// isApple() tells whether the tube crosses the axis (|R| < |r|).
//
// The signs of R and r set the sense of the normal: away from the tube's
// centre circle when they are alike (as on the whole torus), toward it when
// they differ. Negating both radii of an apple torus therefore gives the
// lemon part with the normal it has as part of the whole torus.
class ZrGeTorus : public ZrGeSurface {
public:
    ZrGeTorus(); // major radius 2, minor radius 1 about +Z through the origin, whole
    ZrGeTorus(double majorRadius, double minorRadius, const ZrGePoint3d& origin, const ZrGeVector3d& axis,
              const ZrGeVector3d& refAxis, double startAngleU, double endAngleU, double startAngleV,
              double endAngleV);
    ZrGeTorus& set(double majorRadius, double minorRadius, const ZrGePoint3d& origin, const ZrGeVector3d& axis,
                   const ZrGeVector3d& refAxis, double startAngleU, double endAngleU, double startAngleV,
                   double endAngleV);

    ZrGe::EntityId type() const override { return ZrGe::kTorus; }
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kTorus || ZrGeSurface::isKindOf(kind);
    }
    ZrGeTorus* copy() const override { return new ZrGeTorus(*this); }

    double majorRadius() const { return m_major; }
    double minorRadius() const { return m_minor; }
    ZrGeTorus& setMajorRadius(double radius);
    ZrGeTorus& setMinorRadius(double radius);
    ZrGePoint3d center() const { return m_origin; }
    ZrGeVector3d axisOfSymmetry() const { return m_axis; }
    ZrGeVector3d refAxis() const { return m_ref; }
    void getAnglesInU(double& start, double& end) const;
    void getAnglesInV(double& start, double& end) const;

    bool isApple() const;
    bool isLemon() const { return isApple() && m_major < 0.0; }
    bool isValid() const override;

    ZrGePoint3d evalPoint(const ZrGePoint2d& param) const override;
    ZrGeVector3d normalAt(const ZrGePoint2d& param) const override;
    ZrGePoint2d paramOf(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const override;
    void getEnvelope(ZrGeInterval& rangeU, ZrGeInterval& rangeV) const override;

private:
    // The largest |v| the surface holds: pi for a ring torus.
    double tubeAngleLimit() const;

    double m_major = 2.0;
    double m_minor = 1.0;
    ZrGePoint3d m_origin;
    ZrGeVector3d m_axis{0.0, 0.0, 1.0};
    ZrGeVector3d m_ref{1.0, 0.0, 0.0};
    double m_startU = -3.141592653589793;
    double m_endU = 3.141592653589793;
    double m_startV = -3.141592653589793;
    double m_endV = 3.141592653589793;
};
