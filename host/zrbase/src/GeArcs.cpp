// Circular and elliptical arcs.
#include <cmath>

#include "GeAngles.h"
#include "GeFrame.h"
#include "GeKernel.h"
#include "zrbase/ZrGeCircArc3d.h"
#include "zrbase/ZrGeEllipArc3d.h"

namespace {

bool isFullTurn(double start, double end) { return end - start >= GeAngles::kTwoPi - 1e-12; }

// The angle brought into [start, end] for a curve point at angle: its value
// there, or, past the end, the bound whose point is nearer to target.
template <typename Arc>
double angleOnArc(const Arc& arc, double angle, double start, double end, const ZrGePoint3d& target)
{
    const double value = GeAngles::fromStart(start, angle);
    if (value <= end)
        return value;
    return target.distanceTo(arc.evalPoint(end)) < target.distanceTo(arc.evalPoint(start)) ? end : start;
}

} // namespace

ZrGeCircArc3d::ZrGeCircArc3d() = default;

ZrGeCircArc3d::ZrGeCircArc3d(const ZrGePoint3d& centre, const ZrGeVector3d& normal, double radius)
{
    set(centre, normal, normal.perpVector(), radius, 0.0, GeAngles::kTwoPi);
}

ZrGeCircArc3d::ZrGeCircArc3d(const ZrGePoint3d& centre, const ZrGeVector3d& normal, const ZrGeVector3d& refVec,
                             double radius, double startAngle, double endAngle)
{
    set(centre, normal, refVec, radius, startAngle, endAngle);
}

ZrGeCircArc3d::ZrGeCircArc3d(const ZrGePoint3d& p1, const ZrGePoint3d& p2, const ZrGePoint3d& p3)
{
    set(p1, p2, p3);
}

ZrGeCircArc3d& ZrGeCircArc3d::set(const ZrGePoint3d& centre, const ZrGeVector3d& normal, const ZrGeVector3d& refVec,
                                  double radius, double startAngle, double endAngle)
{
    const GeFrame frame = GeFrame::fromAxis(normal, refVec);
    m_centre = centre;
    m_normal = frame.z;
    m_ref = frame.x;
    setRadius(radius);
    setAngles(startAngle, endAngle);
    return *this;
}

Nimb::ErrorStatus ZrGeCircArc3d::set(const ZrGePoint3d& p1, const ZrGePoint3d& p2, const ZrGePoint3d& p3)
{
    if (p1.isEqualTo(p2) || p2.isEqualTo(p3) || p1.isEqualTo(p3))
        return Nimb::eInvalidInput;
    const ZrGeVector3d a = p2 - p1;
    const ZrGeVector3d b = p3 - p1;
    const ZrGeVector3d n = a.crossProduct(b);
    const double nn = n.dotProduct(n);
    if (std::sqrt(nn) <= 1e-12 * a.length() * b.length())
        return Nimb::eInvalidInput;
    // Circumcentre relative to p1: (|a|^2 b - |b|^2 a) x (a x b) / (2 |a x b|^2).
    const ZrGeVector3d toCentre = (b * a.dotProduct(a) - a * b.dotProduct(b)).crossProduct(n) * (0.5 / nn);
    const ZrGePoint3d centre = p1 + toCentre;
    const ZrGeVector3d ref = p1 - centre;
    set(centre, n, ref, ref.length(), 0.0, 0.0);
    const ZrGeVector3d toEnd = p3 - centre;
    const double endAngle = std::atan2(toEnd.dotProduct(m_normal.crossProduct(m_ref)), toEnd.dotProduct(m_ref));
    setAngles(0.0, endAngle < 0.0 ? endAngle + GeAngles::kTwoPi : endAngle);
    return Nimb::eOk;
}

void ZrGeCircArc3d::setAngles(double startAngle, double endAngle)
{
    m_start = startAngle;
    m_end = GeAngles::normalisedEnd(startAngle, endAngle);
}

void ZrGeCircArc3d::getInterval(ZrGeInterval& range) const { range.set(m_start, m_end); }

bool ZrGeCircArc3d::setInterval(const ZrGeInterval& range)
{
    if (!range.isBounded())
        return false;
    setAngles(range.lowerBound(), range.upperBound());
    return true;
}

ZrGePoint3d ZrGeCircArc3d::evalPoint(double param) const
{
    const ZrGeVector3d y = m_normal.crossProduct(m_ref);
    return m_centre + (m_ref * std::cos(param) + y * std::sin(param)) * m_radius;
}

double ZrGeCircArc3d::paramOf(const ZrGePoint3d& point, const ZrGeTol&) const
{
    const ZrGeVector3d offset = point - m_centre;
    const double x = offset.dotProduct(m_ref);
    const double y = offset.dotProduct(m_normal.crossProduct(m_ref));
    if (x == 0.0 && y == 0.0)
        return m_start;
    return angleOnArc(*this, std::atan2(y, x), m_start, m_end, point);
}

bool ZrGeCircArc3d::isPeriodic(double& period) const
{
    if (!isFullTurn(m_start, m_end))
        return false;
    period = GeAngles::kTwoPi;
    return true;
}

ZrGeEllipArc3d::ZrGeEllipArc3d() = default;

ZrGeEllipArc3d::ZrGeEllipArc3d(const ZrGePoint3d& centre, const ZrGeVector3d& majorAxis,
                               const ZrGeVector3d& minorAxis, double majorRadius, double minorRadius)
{
    set(centre, majorAxis, minorAxis, majorRadius, minorRadius, 0.0, GeAngles::kTwoPi);
}

ZrGeEllipArc3d::ZrGeEllipArc3d(const ZrGePoint3d& centre, const ZrGeVector3d& majorAxis,
                               const ZrGeVector3d& minorAxis, double majorRadius, double minorRadius,
                               double startAngle, double endAngle)
{
    set(centre, majorAxis, minorAxis, majorRadius, minorRadius, startAngle, endAngle);
}

ZrGeEllipArc3d& ZrGeEllipArc3d::set(const ZrGePoint3d& centre, const ZrGeVector3d& majorAxis,
                                    const ZrGeVector3d& minorAxis, double majorRadius, double minorRadius,
                                    double startAngle, double endAngle)
{
    const GeFrame frame = GeFrame::fromAxis(majorAxis.crossProduct(minorAxis), majorAxis);
    m_centre = centre;
    m_major = frame.x;
    m_minor = frame.y;
    m_majorRadius = std::fabs(majorRadius);
    m_minorRadius = std::fabs(minorRadius);
    setAngles(startAngle, endAngle);
    return *this;
}

void ZrGeEllipArc3d::setAngles(double startAngle, double endAngle)
{
    m_start = startAngle;
    m_end = GeAngles::normalisedEnd(startAngle, endAngle);
}

void ZrGeEllipArc3d::getInterval(ZrGeInterval& range) const { range.set(m_start, m_end); }

bool ZrGeEllipArc3d::setInterval(const ZrGeInterval& range)
{
    if (!range.isBounded())
        return false;
    setAngles(range.lowerBound(), range.upperBound());
    return true;
}

ZrGePoint3d ZrGeEllipArc3d::evalPoint(double param) const
{
    return m_centre + m_major * (m_majorRadius * std::cos(param)) + m_minor * (m_minorRadius * std::sin(param));
}

double ZrGeEllipArc3d::paramOf(const ZrGePoint3d& point, const ZrGeTol& tol) const
{
    const ZrGeVector3d offset = point - m_centre;
    const double x = offset.dotProduct(m_major);
    const double y = offset.dotProduct(m_minor);
    // A point on the ellipse gives its eccentric angle directly.
    const double direct = std::atan2(y * m_majorRadius, x * m_minorRadius);
    if (evalPoint(direct).isEqualTo(point, tol))
        return angleOnArc(*this, direct, m_start, m_end, point);
    // Otherwise the nearest point of the whole ellipse, brought onto the arc.
    const GeKernel::Curve kernel = GeKernel::curve(*this);
    if (kernel.curve.IsNull())
        return m_start;
    const double nearest = GeKernel::nearestParam(kernel.curve, GeKernel::toGp(point), 0.0, GeAngles::kTwoPi);
    return angleOnArc(*this, nearest - kernel.shift, m_start, m_end, point);
}

bool ZrGeEllipArc3d::isPeriodic(double& period) const
{
    if (!isFullTurn(m_start, m_end))
        return false;
    period = GeAngles::kTwoPi;
    return true;
}
