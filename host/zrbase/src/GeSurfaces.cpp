// The surface base, planes, cylinders and spheres.
#include <algorithm>
#include <cmath>

#include "GeAngles.h"
#include "GeFrame.h"
#include "zrbase/ZrGeCylinder.h"
#include "zrbase/ZrGePlane.h"
#include "zrbase/ZrGeSphere.h"

namespace {

double clampTo(double value, double lower, double upper) { return std::min(std::max(value, lower), upper); }
double signOf(double value) { return value < 0.0 ? -1.0 : 1.0; }

} // namespace

bool ZrGeSurface::isOn(const ZrGePoint3d& point, const ZrGeTol& tol) const
{
    ZrGePoint2d param;
    return isOn(point, param, tol);
}

bool ZrGeSurface::isOn(const ZrGePoint3d& point, ZrGePoint2d& param, const ZrGeTol& tol) const
{
    if (!isValid())
        return false;
    param = paramOf(point, tol);
    return evalPoint(param).isEqualTo(point, tol);
}

ZrGePoint3d ZrGeSurface::closestPointTo(const ZrGePoint3d& point, const ZrGeTol& tol) const
{
    return evalPoint(paramOf(point, tol));
}

ZrGePlane::ZrGePlane() = default;

ZrGePlane::ZrGePlane(const ZrGePoint3d& origin, const ZrGeVector3d& normal) { set(origin, normal); }

ZrGePlane::ZrGePlane(const ZrGePoint3d& origin, const ZrGeVector3d& uAxis, const ZrGeVector3d& vAxis)
{
    set(origin, uAxis, vAxis);
}

ZrGePlane& ZrGePlane::set(const ZrGePoint3d& origin, const ZrGeVector3d& normal)
{
    const GeFrame frame = GeFrame::fromAxis(normal, normal.perpVector());
    m_origin = origin;
    m_u = frame.x;
    m_v = frame.y;
    return *this;
}

ZrGePlane& ZrGePlane::set(const ZrGePoint3d& origin, const ZrGeVector3d& uAxis, const ZrGeVector3d& vAxis)
{
    const GeFrame frame = GeFrame::fromAxis(uAxis.crossProduct(vAxis), uAxis);
    m_origin = origin;
    m_u = frame.x;
    m_v = frame.y;
    return *this;
}

void ZrGePlane::getCoordSystem(ZrGePoint3d& origin, ZrGeVector3d& uAxis, ZrGeVector3d& vAxis) const
{
    origin = m_origin;
    uAxis = m_u;
    vAxis = m_v;
}

double ZrGePlane::signedDistanceTo(const ZrGePoint3d& point) const { return (point - m_origin).dotProduct(normal()); }

ZrGePoint3d ZrGePlane::evalPoint(const ZrGePoint2d& param) const { return m_origin + m_u * param.x + m_v * param.y; }

ZrGeVector3d ZrGePlane::normalAt(const ZrGePoint2d&) const { return normal(); }

ZrGePoint2d ZrGePlane::paramOf(const ZrGePoint3d& point, const ZrGeTol&) const
{
    const ZrGeVector3d offset = point - m_origin;
    return ZrGePoint2d(offset.dotProduct(m_u), offset.dotProduct(m_v));
}

void ZrGePlane::getEnvelope(ZrGeInterval& rangeU, ZrGeInterval& rangeV) const
{
    rangeU.setUnbounded();
    rangeV.setUnbounded();
}

ZrGeCylinder::ZrGeCylinder() = default;

ZrGeCylinder::ZrGeCylinder(double radius, const ZrGePoint3d& origin, const ZrGeVector3d& axis,
                           const ZrGeVector3d& refAxis, const ZrGeInterval& height, double startAngle,
                           double endAngle)
{
    set(radius, origin, axis, refAxis, height, startAngle, endAngle);
}

ZrGeCylinder& ZrGeCylinder::set(double radius, const ZrGePoint3d& origin, const ZrGeVector3d& axis,
                                const ZrGeVector3d& refAxis, const ZrGeInterval& height, double startAngle,
                                double endAngle)
{
    const GeFrame frame = GeFrame::fromAxis(axis, refAxis);
    m_radius = radius;
    m_origin = origin;
    m_axis = frame.z;
    m_ref = frame.x;
    m_height = height;
    m_start = startAngle;
    m_end = GeAngles::normalisedEnd(startAngle, endAngle);
    return *this;
}

void ZrGeCylinder::getAngles(double& startAngle, double& endAngle) const
{
    startAngle = m_start;
    endAngle = m_end;
}

ZrGePoint3d ZrGeCylinder::evalPoint(const ZrGePoint2d& param) const
{
    const GeFrame frame = GeFrame::fromAxis(m_axis, m_ref);
    const double r = std::fabs(m_radius);
    return m_origin + frame.world(r * std::cos(param.x), r * std::sin(param.x), param.y);
}

ZrGeVector3d ZrGeCylinder::normalAt(const ZrGePoint2d& param) const
{
    const GeFrame frame = GeFrame::fromAxis(m_axis, m_ref);
    return frame.world(std::cos(param.x), std::sin(param.x), 0.0) * signOf(m_radius);
}

ZrGePoint2d ZrGeCylinder::paramOf(const ZrGePoint3d& point, const ZrGeTol&) const
{
    const GeFrame frame = GeFrame::fromAxis(m_axis, m_ref);
    const ZrGeVector3d local = frame.local(point - m_origin);
    const double angle = (local.x == 0.0 && local.y == 0.0) ? 0.0 : std::atan2(local.y, local.x);
    return ZrGePoint2d(GeAngles::clampToRange(angle, m_start, m_end),
                       clampTo(local.z, m_height.lowerBound(), m_height.upperBound()));
}

void ZrGeCylinder::getEnvelope(ZrGeInterval& rangeU, ZrGeInterval& rangeV) const
{
    rangeU.set(m_start, m_end);
    rangeV = m_height;
}

ZrGeSphere::ZrGeSphere() = default;

ZrGeSphere::ZrGeSphere(double radius, const ZrGePoint3d& centre, const ZrGeVector3d& northAxis,
                       const ZrGeVector3d& refAxis, double startLatitude, double endLatitude, double startLongitude,
                       double endLongitude)
{
    set(radius, centre, northAxis, refAxis, startLatitude, endLatitude, startLongitude, endLongitude);
}

ZrGeSphere& ZrGeSphere::set(double radius, const ZrGePoint3d& centre, const ZrGeVector3d& northAxis,
                            const ZrGeVector3d& refAxis, double startLatitude, double endLatitude,
                            double startLongitude, double endLongitude)
{
    const GeFrame frame = GeFrame::fromAxis(northAxis, refAxis);
    m_radius = radius;
    m_centre = centre;
    m_north = frame.z;
    m_ref = frame.x;
    const double halfPi = GeAngles::kPi / 2;
    m_startLat = clampTo(std::min(startLatitude, endLatitude), -halfPi, halfPi);
    m_endLat = clampTo(std::max(startLatitude, endLatitude), -halfPi, halfPi);
    m_startLong = startLongitude;
    m_endLong = GeAngles::normalisedEnd(startLongitude, endLongitude);
    return *this;
}

void ZrGeSphere::getAnglesInU(double& startLongitude, double& endLongitude) const
{
    startLongitude = m_startLong;
    endLongitude = m_endLong;
}

void ZrGeSphere::getAnglesInV(double& startLatitude, double& endLatitude) const
{
    startLatitude = m_startLat;
    endLatitude = m_endLat;
}

ZrGePoint3d ZrGeSphere::evalPoint(const ZrGePoint2d& param) const
{
    return m_centre + normalAt(param) * m_radius;
}

ZrGeVector3d ZrGeSphere::normalAt(const ZrGePoint2d& param) const
{
    const GeFrame frame = GeFrame::fromAxis(m_north, m_ref);
    const double c = std::cos(param.y);
    return frame.world(c * std::cos(param.x), c * std::sin(param.x), std::sin(param.y)) * signOf(m_radius);
}

ZrGePoint2d ZrGeSphere::paramOf(const ZrGePoint3d& point, const ZrGeTol&) const
{
    const GeFrame frame = GeFrame::fromAxis(m_north, m_ref);
    const ZrGeVector3d local = frame.local(point - m_centre);
    const double fromAxis = std::hypot(local.x, local.y);
    // On the axis every longitude gives the same point.
    const double longitude = fromAxis == 0.0 ? 0.0 : std::atan2(local.y, local.x);
    const double latitude = (fromAxis == 0.0 && local.z == 0.0) ? 0.0 : std::atan2(local.z, fromAxis);
    return ZrGePoint2d(GeAngles::clampToRange(longitude, m_startLong, m_endLong),
                       clampTo(latitude, m_startLat, m_endLat));
}

void ZrGeSphere::getEnvelope(ZrGeInterval& rangeU, ZrGeInterval& rangeV) const
{
    rangeU.set(m_startLong, m_endLong);
    rangeV.set(m_startLat, m_endLat);
}
