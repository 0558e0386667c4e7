#include <cmath>

#include "GeAngles.h"
#include "GeFrame.h"
#include "zrbase/ZrGeTorus.h"

ZrGeTorus::ZrGeTorus() = default;

ZrGeTorus::ZrGeTorus(double majorRadius, double minorRadius, const ZrGePoint3d& origin, const ZrGeVector3d& axis,
                     const ZrGeVector3d& refAxis, double startAngleU, double endAngleU, double startAngleV,
                     double endAngleV)
{
    set(majorRadius, minorRadius, origin, axis, refAxis, startAngleU, endAngleU, startAngleV, endAngleV);
}

ZrGeTorus& ZrGeTorus::set(double majorRadius, double minorRadius, const ZrGePoint3d& origin,
                          const ZrGeVector3d& axis, const ZrGeVector3d& refAxis, double startAngleU,
                          double endAngleU, double startAngleV, double endAngleV)
{
    const GeFrame frame = GeFrame::fromAxis(axis, refAxis);
    m_major = majorRadius;
    m_minor = minorRadius;
    m_origin = origin;
    m_axis = frame.z;
    m_ref = frame.x;
    m_startU = startAngleU;
    m_endU = GeAngles::normalisedEnd(startAngleU, endAngleU);
    m_startV = startAngleV;
    m_endV = GeAngles::normalisedEnd(startAngleV, endAngleV);
    return *this;
}

ZrGeTorus& ZrGeTorus::setMajorRadius(double radius)
{
    m_major = radius;
    return *this;
}

ZrGeTorus& ZrGeTorus::setMinorRadius(double radius)
{
    m_minor = radius;
    return *this;
}

void ZrGeTorus::getAnglesInU(double& start, double& end) const
{
    start = m_startU;
    end = m_endU;
}

void ZrGeTorus::getAnglesInV(double& start, double& end) const
{
    start = m_startV;
    end = m_endV;
}

bool ZrGeTorus::isApple() const { return std::fabs(m_major) < std::fabs(m_minor); }

bool ZrGeTorus::isValid() const { return m_minor != 0.0 && m_major > -std::fabs(m_minor); }

double ZrGeTorus::tubeAngleLimit() const
{
    const double ratio = -m_major / std::fabs(m_minor);
    if (ratio <= -1.0)
        return GeAngles::kPi;
    return ratio >= 1.0 ? 0.0 : std::acos(ratio);
}

ZrGePoint3d ZrGeTorus::evalPoint(const ZrGePoint2d& param) const
{
    const GeFrame frame = GeFrame::fromAxis(m_axis, m_ref);
    const double tube = std::fabs(m_minor);
    const double fromAxis = m_major + tube * std::cos(param.y);
    return m_origin +
           frame.world(fromAxis * std::cos(param.x), fromAxis * std::sin(param.x), tube * std::sin(param.y));
}

ZrGeVector3d ZrGeTorus::normalAt(const ZrGePoint2d& param) const
{
    const GeFrame frame = GeFrame::fromAxis(m_axis, m_ref);
    const double c = std::cos(param.y);
    const ZrGeVector3d outward = frame.world(c * std::cos(param.x), c * std::sin(param.x), std::sin(param.y));
    return (m_minor < 0.0) != (m_major < 0.0) ? -outward : outward;
}

ZrGePoint2d ZrGeTorus::paramOf(const ZrGePoint3d& point, const ZrGeTol&) const
{
    const GeFrame frame = GeFrame::fromAxis(m_axis, m_ref);
    const ZrGeVector3d local = frame.local(point - m_origin);
    const double angle = (local.x == 0.0 && local.y == 0.0) ? 0.0 : std::atan2(local.y, local.x);
    const double u = GeAngles::clampToRange(angle, m_startU, m_endU);
    // Work in the half-plane of u: d from the axis (negative behind it), z
    // along it. The tube circle there is centred at (R, 0).
    const double d = local.x * std::cos(u) + local.y * std::sin(u);
    const double dx = d - m_major;
    double v = (dx == 0.0 && local.z == 0.0) ? 0.0 : std::atan2(local.z, dx);
    const double limit = tubeAngleLimit();
    if (std::fabs(v) > limit) {
        // Past the part of the tube the surface keeps: the nearer end.
        const ZrGePoint2d upper(u, limit), lower(u, -limit);
        v = point.distanceTo(evalPoint(upper)) <= point.distanceTo(evalPoint(lower)) ? limit : -limit;
    }
    return ZrGePoint2d(u, GeAngles::clampToRange(v, m_startV, m_endV));
}

void ZrGeTorus::getEnvelope(ZrGeInterval& rangeU, ZrGeInterval& rangeV) const
{
    rangeU.set(m_startU, m_endU);
    const double limit = tubeAngleLimit();
    rangeV.set(m_startV, m_endV);
    if (limit < GeAngles::kPi && m_startV >= -GeAngles::kPi && m_endV <= GeAngles::kPi)
        rangeV.set(m_startV > -limit ? m_startV : -limit, m_endV < limit ? m_endV : limit);
}
