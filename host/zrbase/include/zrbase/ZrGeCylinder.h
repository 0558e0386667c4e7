#pragma once
// Circular cylinders.
#include "ZrGeSurface.h"

// With r = |radius|, Y = axis x refAxis:
//     P(u, v) = origin + r * (cos u * refAxis + sin u * Y) + v * axis
// u is the angle about the axis, measured from refAxis and running
// counter-clockwise seen from the axis tip, bounded by [startAngle,
// endAngle] (at most one turn; the end is normalised as for arcs). v is the
// height along the axis from origin, bounded by the height interval, which
// may be unbounded on either side.
//
// Normal: away from the axis for a positive radius, toward it for a
// negative one. The axes are stored with unit length; refAxis is made
// perpendicular to the axis (axis.perpVector() when parallel to it).
class ZrGeCylinder : public ZrGeSurface {
public:
    ZrGeCylinder(); // radius 1 about +Z through the origin, unbounded, full turn
    ZrGeCylinder(double radius, const ZrGePoint3d& origin, const ZrGeVector3d& axis, const ZrGeVector3d& refAxis,
                 const ZrGeInterval& height, double startAngle, double endAngle);
    ZrGeCylinder& set(double radius, const ZrGePoint3d& origin, const ZrGeVector3d& axis,
                      const ZrGeVector3d& refAxis, const ZrGeInterval& height, double startAngle, double endAngle);

    ZrGe::EntityId type() const override { return ZrGe::kCylinder; }
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kCylinder || ZrGeSurface::isKindOf(kind);
    }
    ZrGeCylinder* copy() const override { return new ZrGeCylinder(*this); }

    double radius() const { return m_radius; }
    ZrGePoint3d origin() const { return m_origin; }
    ZrGeVector3d axisOfSymmetry() const { return m_axis; }
    ZrGeVector3d refAxis() const { return m_ref; }
    bool isOuterNormal() const { return m_radius >= 0.0; }
    void getHeight(ZrGeInterval& height) const { height = m_height; }
    void getAngles(double& startAngle, double& endAngle) const;

    ZrGePoint3d evalPoint(const ZrGePoint2d& param) const override;
    ZrGeVector3d normalAt(const ZrGePoint2d& param) const override;
    ZrGePoint2d paramOf(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const override;
    void getEnvelope(ZrGeInterval& rangeU, ZrGeInterval& rangeV) const override;

private:
    double m_radius = 1.0;
    ZrGePoint3d m_origin;
    ZrGeVector3d m_axis{0.0, 0.0, 1.0};
    ZrGeVector3d m_ref{1.0, 0.0, 0.0};
    ZrGeInterval m_height;
    double m_start = -3.141592653589793;
    double m_end = 3.141592653589793;
};
