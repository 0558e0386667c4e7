#pragma once
// Circular arcs and full circles.
#include "ZrErrorStatus.h"
#include "ZrGeCurve3d.h"

// The arc is
//     P(a) = centre + radius * (cos a * ref + sin a * (normal x ref)),
// a from the start angle to the end angle. Angles are in radians, measured
// from the reference vector and running counter-clockwise seen from the tip
// of the normal, so the arc always runs counter-clockwise about its normal.
//
// Angles are normalised when set: an end angle below the start angle means
// the arc runs on past 2 pi (end is raised by whole turns until it is not
// below start), and an arc never spans more than one turn (a longer span is
// cut to start + 2 pi). An arc spanning exactly 2 pi is a full circle: it is
// closed and periodic. The normal and the reference vector are stored with
// unit length; a reference vector not perpendicular to the normal is
// projected into the circle's plane, and one parallel to the normal is
// replaced by normal.perpVector(). The radius is stored as its absolute value.
class ZrGeCircArc3d : public ZrGeCurve3d {
public:
    ZrGeCircArc3d(); // unit circle about the origin, normal +Z, reference +X
    // A full circle; the reference vector is normal.perpVector().
    ZrGeCircArc3d(const ZrGePoint3d& centre, const ZrGeVector3d& normal, double radius);
    ZrGeCircArc3d(const ZrGePoint3d& centre, const ZrGeVector3d& normal, const ZrGeVector3d& refVec,
                  double radius, double startAngle, double endAngle);
    // The arc from p1 through p2 to p3 (see set).
    ZrGeCircArc3d(const ZrGePoint3d& p1, const ZrGePoint3d& p2, const ZrGePoint3d& p3);

    ZrGeCircArc3d& set(const ZrGePoint3d& centre, const ZrGeVector3d& normal, const ZrGeVector3d& refVec,
                       double radius, double startAngle, double endAngle);
    // The arc through three points, starting at p1, passing p2 and ending at
    // p3. Its normal is (p2 - p1) x (p3 - p1), so the three points follow
    // each other counter-clockwise; the reference vector points at p1 and
    // the start angle is 0. eInvalidInput, with the arc unchanged, when the
    // points are collinear or two of them coincide (within gTol).
    Nimb::ErrorStatus set(const ZrGePoint3d& p1, const ZrGePoint3d& p2, const ZrGePoint3d& p3);

    ZrGe::EntityId type() const override { return ZrGe::kCircArc3d; }
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kCircArc3d || ZrGeCurve3d::isKindOf(kind);
    }
    ZrGeCircArc3d* copy() const override { return new ZrGeCircArc3d(*this); }

    ZrGePoint3d center() const { return m_centre; }
    ZrGeVector3d normal() const { return m_normal; }
    ZrGeVector3d refVec() const { return m_ref; }
    double radius() const { return m_radius; }
    double startAng() const { return m_start; }
    double endAng() const { return m_end; }
    void setAngles(double startAngle, double endAngle);
    void setRadius(double radius) { m_radius = radius < 0 ? -radius : radius; }
    ZrGePoint3d startPoint() const { return evalPoint(m_start); }
    ZrGePoint3d endPoint() const { return evalPoint(m_end); }

    void getInterval(ZrGeInterval& range) const override;
    // The angles of range, normalised as by setAngles.
    bool setInterval(const ZrGeInterval& range) override;
    ZrGePoint3d evalPoint(double param) const override;
    // For a point off the arc (but not on the axis) the nearer end's angle;
    // a point on the axis gives the start angle.
    double paramOf(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const override;
    bool isPeriodic(double& period) const override;

private:
    ZrGePoint3d m_centre;
    ZrGeVector3d m_normal{0.0, 0.0, 1.0};
    ZrGeVector3d m_ref{1.0, 0.0, 0.0};
    double m_radius = 1.0;
    double m_start = 0.0;
    double m_end = 6.283185307179586;
};
