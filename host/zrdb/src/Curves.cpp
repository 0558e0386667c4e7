// Geometry of the curve entities.
#include <zrbase/ZrGeCircArc3d.h>
#include <zrbase/ZrGeEllipArc3d.h>
#include <zrbase/ZrGeLineSeg3d.h>
#include <zrbase/ZrGeNurbCurve3d.h>

#include <cmath>

#include "zrdb/ZrDbCurves.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// angle moved into [0, 2 pi).
double fullTurn(double angle)
{
    double value = std::fmod(angle, kTwoPi);
    if (value < 0.0)
        value += kTwoPi;
    return value >= kTwoPi ? 0.0 : value;
}

// The point of P(a) = centre + cos a * u + sin a * v.
ZrGePoint3d onConic(const ZrGePoint3d& centre, const ZrGeVector3d& u, const ZrGeVector3d& v, double a)
{
    return centre + u * std::cos(a) + v * std::sin(a);
}

// The box of P(a) for a in [start, end]: its ends, and the angles where a
// coordinate is extreme when the arc passes them.
void addConicArc(ZrDbExtents& extents, const ZrGePoint3d& centre, const ZrGeVector3d& u, const ZrGeVector3d& v,
                 double start, double end)
{
    extents.addPoint(onConic(centre, u, v, start));
    extents.addPoint(onConic(centre, u, v, end));
    const double us[] = {u.x, u.y, u.z};
    const double vs[] = {v.x, v.y, v.z};
    for (int axis = 0; axis < 3; ++axis) {
        const double extreme = std::atan2(vs[axis], us[axis]);
        for (double a : {extreme, extreme + kPi})
            if (start + fullTurn(a - start) <= end)
                extents.addPoint(onConic(centre, u, v, start + fullTurn(a - start)));
    }
}

// The curve's normal, or its opposite when wanted points that way.
bool chosenNormal(const ZrGeVector3d& own, const ZrGeVector3d* wanted, const ZrGeTol& tol, bool& flipped)
{
    flipped = false;
    if (!wanted)
        return true;
    if (wanted->isCodirectionalTo(own, tol))
        return true;
    if (wanted->isCodirectionalTo(-own, tol)) {
        flipped = true;
        return true;
    }
    return false;
}

// Angle of point about centre in the plane of normal, from its X axis.
double planeAngle(const ZrGePoint3d& centre, const ZrGeVector3d& normal, const ZrGePoint3d& point)
{
    const ZrGeVector3d x = zrdbPlaneXAxis(normal);
    const ZrGeVector3d y = normal.crossProduct(x);
    const ZrGeVector3d offset = point - centre;
    return fullTurn(std::atan2(offset.dotProduct(y), offset.dotProduct(x)));
}

} // namespace

ZrGeVector3d zrdbPlaneXAxis(const ZrGeVector3d& normal)
{
    const ZrGeTol exact(0.0, 0.0);
    const ZrGeVector3d n = normal.isZeroLength(exact) ? ZrGeVector3d::kZAxis : normal.normal(exact);
    const double limit = 1.0 / 64.0;
    const ZrGeVector3d x = (std::fabs(n.x) < limit && std::fabs(n.y) < limit) ? ZrGeVector3d::kYAxis.crossProduct(n)
                                                                              : ZrGeVector3d::kZAxis.crossProduct(n);
    return x.normal(exact);
}

// Curve

bool ZrDbCurve::hasGeometry() const { return readable("hasGeometry", m_hasGeometry); }

ZrGePoint3d ZrDbCurve::startPoint() const { return readable("startPoint", pointAtStart()); }

ZrGePoint3d ZrDbCurve::endPoint() const { return readable("endPoint", pointAtEnd()); }

bool ZrDbCurve::isClosed() const { return readable("isClosed", m_hasGeometry && pointAtStart().isEqualTo(pointAtEnd())); }

// Line

ZrDbLine::ZrDbLine(const ZrGePoint3d& start, const ZrGePoint3d& end) : m_start(start), m_end(end)
{
    m_hasGeometry = true;
}

Nimb::ErrorStatus ZrDbLine::setFromGeCurve(const ZrGeCurve3d& curve, const ZrGeVector3d*, const ZrGeTol&)
{
    if (!assertWriteEnabled("setFromGeCurve"))
        return Nimb::eNotOpenForWrite;
    if (curve.type() != ZrGe::kLineSeg3d)
        return Nimb::eWrongObjectType;
    const auto& line = static_cast<const ZrGeLineSeg3d&>(curve);
    m_start = line.startPoint();
    m_end = line.endPoint();
    m_hasGeometry = true;
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbLine::getGeomExtents(ZrDbExtents& extents) const
{
    if (!m_hasGeometry)
        return Nimb::eInvalidExtents;
    extents.addPoint(m_start);
    extents.addPoint(m_end);
    return Nimb::eOk;
}

namespace {
// Centre, normal (on the side normal asks for, flipped tells) and radius of
// a host circular arc; false for a degenerate one.
bool takeCircle(const ZrGeCircArc3d& arc, const ZrGeVector3d* normal, const ZrGeTol& tol, ZrGePoint3d& centre,
                ZrGeVector3d& unitNormal, double& radius, bool& flipped)
{
    if (!(arc.radius() > 0.0) || !chosenNormal(arc.normal(), normal, tol, flipped))
        return false;
    centre = arc.center();
    unitNormal = flipped ? -arc.normal() : arc.normal();
    radius = arc.radius();
    return true;
}
} // namespace

// Circle

ZrGePoint3d ZrDbCircle::center() const { return readable("center", m_centre); }

double ZrDbCircle::radius() const { return readable("radius", m_radius); }

ZrGeVector3d ZrDbCircle::normal() const { return readable("normal", m_normal); }

ZrGePoint3d ZrDbCircle::pointAtStart() const { return m_centre + zrdbPlaneXAxis(m_normal) * m_radius; }

Nimb::ErrorStatus ZrDbCircle::setFromGeCurve(const ZrGeCurve3d& curve, const ZrGeVector3d* normal, const ZrGeTol& tol)
{
    if (!assertWriteEnabled("setFromGeCurve"))
        return Nimb::eNotOpenForWrite;
    if (curve.type() != ZrGe::kCircArc3d || !curve.isClosed(tol))
        return Nimb::eWrongObjectType;
    bool flipped = false;
    if (!takeCircle(static_cast<const ZrGeCircArc3d&>(curve), normal, tol, m_centre, m_normal, m_radius, flipped))
        return Nimb::eInvalidInput;
    m_hasGeometry = true;
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbCircle::getGeomExtents(ZrDbExtents& extents) const
{
    if (!m_hasGeometry)
        return Nimb::eInvalidExtents;
    const ZrGeVector3d x = zrdbPlaneXAxis(m_normal);
    addConicArc(extents, m_centre, x * m_radius, m_normal.crossProduct(x) * m_radius, 0.0, kTwoPi);
    return Nimb::eOk;
}

// Arc

ZrGePoint3d ZrDbArc::center() const { return readable("center", m_centre); }

double ZrDbArc::radius() const { return readable("radius", m_radius); }

ZrGeVector3d ZrDbArc::normal() const { return readable("normal", m_normal); }

double ZrDbArc::startAngle() const { return readable("startAngle", m_start); }

double ZrDbArc::endAngle() const { return readable("endAngle", m_end); }

ZrGePoint3d ZrDbArc::pointAtStart() const
{
    const ZrGeVector3d x = zrdbPlaneXAxis(m_normal);
    return onConic(m_centre, x * m_radius, m_normal.crossProduct(x) * m_radius, m_start);
}

ZrGePoint3d ZrDbArc::pointAtEnd() const
{
    const ZrGeVector3d x = zrdbPlaneXAxis(m_normal);
    return onConic(m_centre, x * m_radius, m_normal.crossProduct(x) * m_radius, m_end);
}

Nimb::ErrorStatus ZrDbArc::setFromGeCurve(const ZrGeCurve3d& curve, const ZrGeVector3d* normal, const ZrGeTol& tol)
{
    if (!assertWriteEnabled("setFromGeCurve"))
        return Nimb::eNotOpenForWrite;
    if (curve.type() != ZrGe::kCircArc3d)
        return Nimb::eWrongObjectType;
    const auto& arc = static_cast<const ZrGeCircArc3d&>(curve);
    bool flipped = false;
    if (!takeCircle(arc, normal, tol, m_centre, m_normal, m_radius, flipped))
        return Nimb::eInvalidInput;
    // About the opposite normal the same arc runs from its end to its start.
    const double span = arc.endAng() - arc.startAng();
    m_start = planeAngle(m_centre, m_normal, flipped ? arc.endPoint() : arc.startPoint());
    m_end = m_start + span;
    m_hasGeometry = true;
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbArc::getGeomExtents(ZrDbExtents& extents) const
{
    if (!m_hasGeometry)
        return Nimb::eInvalidExtents;
    const ZrGeVector3d x = zrdbPlaneXAxis(m_normal);
    addConicArc(extents, m_centre, x * m_radius, m_normal.crossProduct(x) * m_radius, m_start, m_end);
    return Nimb::eOk;
}

// Ellipse

ZrGePoint3d ZrDbEllipse::center() const { return readable("center", m_centre); }

ZrGeVector3d ZrDbEllipse::normal() const { return readable("normal", m_normal); }

ZrGeVector3d ZrDbEllipse::majorAxis() const { return readable("majorAxis", m_major); }

ZrGeVector3d ZrDbEllipse::minorAxis() const { return readable("minorAxis", m_normal.crossProduct(m_major) * m_ratio); }

double ZrDbEllipse::radiusRatio() const { return readable("radiusRatio", m_ratio); }

double ZrDbEllipse::startParam() const { return readable("startParam", m_start); }

double ZrDbEllipse::endParam() const { return readable("endParam", m_end); }

ZrGePoint3d ZrDbEllipse::pointAt(double param) const
{
    return onConic(m_centre, m_major, m_normal.crossProduct(m_major) * m_ratio, param);
}

Nimb::ErrorStatus ZrDbEllipse::setFromGeCurve(const ZrGeCurve3d& curve, const ZrGeVector3d* normal,
                                              const ZrGeTol& tol)
{
    if (!assertWriteEnabled("setFromGeCurve"))
        return Nimb::eNotOpenForWrite;
    if (curve.type() != ZrGe::kEllipArc3d)
        return Nimb::eWrongObjectType;
    const auto& arc = static_cast<const ZrGeEllipArc3d&>(curve);
    const double a = arc.majorRadius(), b = arc.minorRadius();
    bool flipped = false;
    if (!(a > 0.0) || !(b > 0.0) || !chosenNormal(arc.normal(), normal, tol, flipped))
        return Nimb::eInvalidInput;
    const double span = arc.endAng() - arc.startAng();
    double start = arc.startAng();
    ZrGeVector3d major = arc.majorAxis() * a;
    ZrGeVector3d minor = arc.minorAxis() * b;
    if (b > a) {
        // The longer axis is the minor one: P(t) with t = a - pi/2 about the
        // same normal, the major axis along the host's minor axis.
        major = arc.minorAxis() * b;
        minor = arc.majorAxis() * -a;
        start -= kPi / 2;
    }
    if (flipped) {
        // About the opposite normal: t' = -t, running from the end backwards.
        minor = -minor;
        start = -(start + span);
    }
    m_centre = arc.center();
    m_normal = major.crossProduct(minor).normal(ZrGeTol(0.0, 0.0));
    m_major = major;
    m_ratio = std::min(a, b) / std::max(a, b);
    m_start = fullTurn(start);
    m_end = m_start + span;
    m_hasGeometry = true;
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbEllipse::getGeomExtents(ZrDbExtents& extents) const
{
    if (!m_hasGeometry)
        return Nimb::eInvalidExtents;
    addConicArc(extents, m_centre, m_major, m_normal.crossProduct(m_major) * m_ratio, m_start, m_end);
    return Nimb::eOk;
}

// Spline

ZrDbSpline::ZrDbSpline() = default;
ZrDbSpline::~ZrDbSpline() = default;

int ZrDbSpline::degree() const { return readable("degree", m_curve ? m_curve->degree() : 0); }

bool ZrDbSpline::isRational() const { return readable("isRational", m_curve && m_curve->isRational()); }

bool ZrDbSpline::isPeriodic() const { return readable("isPeriodic", m_curve && m_curve->isPeriodicFlag()); }

int ZrDbSpline::numControlPoints() const { return readable("numControlPoints", m_curve ? m_curve->numControlPoints() : 0); }

ZrGePoint3d ZrDbSpline::controlPointAt(int index) const
{
    assertReadEnabled("controlPointAt");
    return m_curve ? m_curve->controlPointAt(index) : ZrGePoint3d();
}

double ZrDbSpline::weightAt(int index) const
{
    assertReadEnabled("weightAt");
    return m_curve ? m_curve->weightAt(index) : 1.0;
}

int ZrDbSpline::numKnots() const { return readable("numKnots", m_curve ? m_curve->numKnots() : 0); }

double ZrDbSpline::knotAt(int index) const
{
    assertReadEnabled("knotAt");
    return m_curve ? m_curve->knotAt(index) : 0.0;
}

Nimb::ErrorStatus ZrDbSpline::getNurbsData(int& degree, bool& rational, bool& closed, bool& periodic,
                                           ZrGePoint3dArray& controlPoints, ZrGeKnotVector& knots,
                                           ZrGeDoubleArray& weights) const
{
    if (!assertReadEnabled("getNurbsData"))
        return Nimb::eNotOpenForRead;
    if (!m_curve)
        return Nimb::eNotApplicable;
    degree = m_curve->degree();
    rational = m_curve->isRational();
    closed = m_curve->isClosed();
    periodic = m_curve->isPeriodicFlag();
    controlPoints = m_curve->controlPoints();
    knots = m_curve->knots();
    weights = m_curve->weights();
    return Nimb::eOk;
}

ZrGePoint3d ZrDbSpline::pointAtStart() const { return m_curve ? m_curve->startPoint() : ZrGePoint3d(); }
ZrGePoint3d ZrDbSpline::pointAtEnd() const { return m_curve ? m_curve->endPoint() : ZrGePoint3d(); }

Nimb::ErrorStatus ZrDbSpline::setFromGeCurve(const ZrGeCurve3d& curve, const ZrGeVector3d*, const ZrGeTol&)
{
    if (!assertWriteEnabled("setFromGeCurve"))
        return Nimb::eNotOpenForWrite;
    if (curve.type() != ZrGe::kNurbCurve3d)
        return Nimb::eWrongObjectType;
    const auto& spline = static_cast<const ZrGeNurbCurve3d&>(curve);
    if (!spline.isValid())
        return Nimb::eInvalidInput;
    m_curve.reset(spline.copy());
    m_hasGeometry = true;
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbSpline::getGeomExtents(ZrDbExtents& extents) const
{
    if (!m_curve)
        return Nimb::eInvalidExtents;
    // Dense samples: a few per control point span the curve closely.
    const int samples = 8 * (m_curve->numControlPoints() + 1);
    const double start = m_curve->startParam(), end = m_curve->endParam();
    for (int i = 0; i <= samples; ++i)
        extents.addPoint(m_curve->evalPoint(start + (end - start) * i / samples));
    return Nimb::eOk;
}
