#pragma once
// Circular cones: one nappe.
#include "ZrGeSurface.h"

// A cone is given by the cosine c and sine s of its half angle, a base
// circle (centre baseOrigin, radius baseRadius, in the plane perpendicular
// to axis), a reference axis, a height interval and an angle range.
//
// With k = s / c and Y = axis x refAxis, the signed radius at height t along
// the axis from baseOrigin is rho(t) = baseRadius + k * t, and
//     P(u, t) = baseOrigin + t * axis + |rho(t)| * (cos u * refAxis + sin u * Y).
// u is the angle about the axis as for cylinders, bounded by [startAngle,
// endAngle]; v = t is the height, bounded by the height interval.
//
// One nappe only. The apex, at height -baseRadius / k, splits the double
// cone into two nappes; the cone is the nappe that holds its base circle:
// the heights where rho(t) has the sign of baseRadius (where rho grows
// away from 0 when baseRadius is 0). The height interval is cut at the apex,
// so an unbounded height interval gives the whole half-infinite nappe and a
// point on the other nappe is not on the cone. Negative c, s or baseRadius
// are taken as given: only the sign of rho along the nappe, and the side of
// the apex it lies on, follow from them. With s = 0 the cone is a cylinder
// of radius |baseRadius|.
//
// Normal: away from the axis on the whole nappe (undefined at the apex).
// The axes are stored with unit length, refAxis made perpendicular to the
// axis. A cone with c = 0, with s = 0 and baseRadius = 0, or whose height
// interval lies wholly on the other nappe has no points: it is invalid and
// no point is on it.
class ZrGeCone : public ZrGeSurface {
public:
    ZrGeCone(); // half angle 45 degrees, base radius 1 at the origin, axis +Z, unbounded
    ZrGeCone(double cosineAngle, double sineAngle, const ZrGePoint3d& baseOrigin, double baseRadius,
             const ZrGeVector3d& axisOfSymmetry, const ZrGeVector3d& refAxis, const ZrGeInterval& height,
             double startAngle, double endAngle);
    ZrGeCone& set(double cosineAngle, double sineAngle, const ZrGePoint3d& baseOrigin, double baseRadius,
                  const ZrGeVector3d& axisOfSymmetry, const ZrGeVector3d& refAxis, const ZrGeInterval& height,
                  double startAngle, double endAngle);

    ZrGe::EntityId type() const override { return ZrGe::kCone; }
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kCone || ZrGeSurface::isKindOf(kind);
    }
    ZrGeCone* copy() const override { return new ZrGeCone(*this); }

    bool isValid() const override;
    double baseRadius() const { return m_baseRadius; }
    ZrGePoint3d baseCenter() const { return m_base; }
    ZrGeVector3d axisOfSymmetry() const { return m_axis; }
    ZrGeVector3d refAxis() const { return m_ref; }
    void getHalfAngle(double& cosineAngle, double& sineAngle) const;
    // atan2(s, c) of the values given.
    double halfAngle() const;
    // The apex; the base origin for a cylinder-like cone (s = 0).
    ZrGePoint3d apex() const;
    // The height interval as given, and as cut at the apex.
    void getHeight(ZrGeInterval& height) const { height = m_height; }
    void getNappeHeight(ZrGeInterval& height) const;
    void getAngles(double& startAngle, double& endAngle) const;

    ZrGePoint3d evalPoint(const ZrGePoint2d& param) const override;
    ZrGeVector3d normalAt(const ZrGePoint2d& param) const override;
    ZrGePoint2d paramOf(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const override;
    void getEnvelope(ZrGeInterval& rangeU, ZrGeInterval& rangeV) const override;

private:
    double slope() const { return m_sin / m_cos; }
    // +1 or -1: the sign of rho on the nappe.
    double nappeSign() const;

    double m_cos = 0.7071067811865476;
    double m_sin = 0.7071067811865476;
    ZrGePoint3d m_base;
    double m_baseRadius = 1.0;
    ZrGeVector3d m_axis{0.0, 0.0, 1.0};
    ZrGeVector3d m_ref{1.0, 0.0, 0.0};
    ZrGeInterval m_height;
    double m_start = -3.141592653589793;
    double m_end = 3.141592653589793;
};
