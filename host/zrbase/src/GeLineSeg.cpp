#include "zrbase/ZrGeLineSeg2d.h"
#include "zrbase/ZrGeLineSeg3d.h"

namespace {

// The parameter of the foot of point on the line base + t * direction,
// clamped to [lower, upper]; lower for a line without direction.
template <typename Point, typename Vector>
double footParam(const Point& base, const Vector& direction, double lower, double upper, const Point& point)
{
    const double squaredLength = direction.dotProduct(direction);
    if (squaredLength == 0.0)
        return lower;
    const double t = (point - base).dotProduct(direction) / squaredLength;
    return t < lower ? lower : t > upper ? upper : t;
}

} // namespace

ZrGeLineSeg3d::ZrGeLineSeg3d() = default;

ZrGeLineSeg3d::ZrGeLineSeg3d(const ZrGePoint3d& start, const ZrGePoint3d& end) { set(start, end); }

ZrGeLineSeg3d& ZrGeLineSeg3d::set(const ZrGePoint3d& start, const ZrGePoint3d& end)
{
    m_base = start;
    m_direction = end - start;
    m_lower = 0.0;
    m_upper = 1.0;
    return *this;
}

double ZrGeLineSeg3d::length() const { return m_direction.length() * (m_upper - m_lower); }

void ZrGeLineSeg3d::getInterval(ZrGeInterval& range) const { range.set(m_lower, m_upper); }

bool ZrGeLineSeg3d::setInterval(const ZrGeInterval& range)
{
    if (!range.isBounded())
        return false;
    m_lower = range.lowerBound();
    m_upper = range.upperBound();
    return true;
}

ZrGePoint3d ZrGeLineSeg3d::evalPoint(double param) const { return m_base + m_direction * param; }

double ZrGeLineSeg3d::paramOf(const ZrGePoint3d& point, const ZrGeTol&) const
{
    return footParam(m_base, m_direction, m_lower, m_upper, point);
}

ZrGeLineSeg2d::ZrGeLineSeg2d() = default;

ZrGeLineSeg2d::ZrGeLineSeg2d(const ZrGePoint2d& start, const ZrGePoint2d& end) { set(start, end); }

ZrGeLineSeg2d& ZrGeLineSeg2d::set(const ZrGePoint2d& start, const ZrGePoint2d& end)
{
    m_base = start;
    m_direction = end - start;
    m_lower = 0.0;
    m_upper = 1.0;
    return *this;
}

void ZrGeLineSeg2d::getInterval(ZrGeInterval& range) const { range.set(m_lower, m_upper); }

bool ZrGeLineSeg2d::setInterval(const ZrGeInterval& range)
{
    if (!range.isBounded())
        return false;
    m_lower = range.lowerBound();
    m_upper = range.upperBound();
    return true;
}

ZrGePoint2d ZrGeLineSeg2d::evalPoint(double param) const { return m_base + m_direction * param; }

double ZrGeLineSeg2d::paramOf(const ZrGePoint2d& point, const ZrGeTol&) const
{
    return footParam(m_base, m_direction, m_lower, m_upper, point);
}
