#include <algorithm>
#include <cmath>

#include "GeAngles.h"
#include "GeFrame.h"
#include "zrbase/ZrGeCone.h"

ZrGeCone::ZrGeCone() = default;

ZrGeCone::ZrGeCone(double cosineAngle, double sineAngle, const ZrGePoint3d& baseOrigin, double baseRadius,
                   const ZrGeVector3d& axisOfSymmetry, const ZrGeVector3d& refAxis, const ZrGeInterval& height,
                   double startAngle, double endAngle)
{
    set(cosineAngle, sineAngle, baseOrigin, baseRadius, axisOfSymmetry, refAxis, height, startAngle, endAngle);
}

ZrGeCone& ZrGeCone::set(double cosineAngle, double sineAngle, const ZrGePoint3d& baseOrigin, double baseRadius,
                        const ZrGeVector3d& axisOfSymmetry, const ZrGeVector3d& refAxis, const ZrGeInterval& height,
                        double startAngle, double endAngle)
{
    const GeFrame frame = GeFrame::fromAxis(axisOfSymmetry, refAxis);
    m_cos = cosineAngle;
    m_sin = sineAngle;
    m_base = baseOrigin;
    m_baseRadius = baseRadius;
    m_axis = frame.z;
    m_ref = frame.x;
    m_height = height;
    m_start = startAngle;
    m_end = GeAngles::normalisedEnd(startAngle, endAngle);
    return *this;
}

bool ZrGeCone::isValid() const
{
    if (m_cos == 0.0 || !std::isfinite(slope()) || (m_sin == 0.0 && m_baseRadius == 0.0))
        return false;
    ZrGeInterval height;
    getNappeHeight(height);
    return height.lowerBound() <= height.upperBound();
}

void ZrGeCone::getHalfAngle(double& cosineAngle, double& sineAngle) const
{
    cosineAngle = m_cos;
    sineAngle = m_sin;
}

double ZrGeCone::halfAngle() const { return std::atan2(m_sin, m_cos); }

double ZrGeCone::nappeSign() const
{
    if (m_baseRadius != 0.0)
        return m_baseRadius > 0.0 ? 1.0 : -1.0;
    return slope() > 0.0 ? 1.0 : -1.0;
}

ZrGePoint3d ZrGeCone::apex() const
{
    if (m_sin == 0.0 || m_cos == 0.0)
        return m_base;
    return m_base - m_axis * (m_baseRadius / slope());
}

void ZrGeCone::getNappeHeight(ZrGeInterval& height) const
{
    double lower = m_height.lowerBound();
    double upper = m_height.upperBound();
    if (m_sin != 0.0 && m_cos != 0.0) {
        const double apexHeight = -m_baseRadius / slope();
        // rho grows away from the apex on the side where sign * k > 0.
        if (nappeSign() * slope() > 0.0)
            lower = std::max(lower, apexHeight);
        else
            upper = std::min(upper, apexHeight);
    }
    // Keep the cut interval's bounds even when empty: isValid reads them.
    height = ZrGeInterval(m_height.tolerance());
    height.setLower(lower);
    height.setUpper(upper);
}

void ZrGeCone::getAngles(double& startAngle, double& endAngle) const
{
    startAngle = m_start;
    endAngle = m_end;
}

ZrGePoint3d ZrGeCone::evalPoint(const ZrGePoint2d& param) const
{
    const GeFrame frame = GeFrame::fromAxis(m_axis, m_ref);
    const double radius = std::fabs(m_baseRadius + (m_cos == 0.0 ? 0.0 : slope()) * param.y);
    return m_base + frame.world(radius * std::cos(param.x), radius * std::sin(param.x), param.y);
}

ZrGeVector3d ZrGeCone::normalAt(const ZrGePoint2d& param) const
{
    if (!isValid())
        return ZrGeVector3d();
    const GeFrame frame = GeFrame::fromAxis(m_axis, m_ref);
    const double k = slope();
    const double rho = m_baseRadius + k * param.y;
    if (rho == 0.0)
        return ZrGeVector3d(); // the apex
    // In the half-plane of u the generator climbs by sign * k per unit of
    // height; the outward normal is perpendicular to it.
    return frame.world(std::cos(param.x), std::sin(param.x), -nappeSign() * k) * (1.0 / std::sqrt(1.0 + k * k));
}

ZrGePoint2d ZrGeCone::paramOf(const ZrGePoint3d& point, const ZrGeTol&) const
{
    if (!isValid())
        return ZrGePoint2d(m_start, 0.0);
    const GeFrame frame = GeFrame::fromAxis(m_axis, m_ref);
    const ZrGeVector3d local = frame.local(point - m_base);
    const double angle = (local.x == 0.0 && local.y == 0.0) ? 0.0 : std::atan2(local.y, local.x);
    const double u = GeAngles::clampToRange(angle, m_start, m_end);
    // Distance from the axis in the half-plane of u (negative behind the axis).
    const double d = local.x * std::cos(u) + local.y * std::sin(u);
    // The generator in that half-plane is (sign * rho(t), t), a straight
    // line; take the foot of the point on it and keep it on the nappe.
    const double k = slope();
    const double foot = (local.z + nappeSign() * k * d - k * m_baseRadius) / (1.0 + k * k);
    ZrGeInterval height;
    getNappeHeight(height);
    return ZrGePoint2d(u, std::min(std::max(foot, height.lowerBound()), height.upperBound()));
}

void ZrGeCone::getEnvelope(ZrGeInterval& rangeU, ZrGeInterval& rangeV) const
{
    rangeU.set(m_start, m_end);
    getNappeHeight(rangeV);
}
