#include <cmath>
#include <limits>

#include "zrbase/ZrGeInterval.h"

namespace {
constexpr double kInfinity = std::numeric_limits<double>::infinity();
}

ZrGeInterval::ZrGeInterval(double tol) : m_lower(-kInfinity), m_upper(kInfinity), m_tol(tol) {}

ZrGeInterval::ZrGeInterval(double lower, double upper, double tol) : m_tol(tol) { set(lower, upper); }

bool ZrGeInterval::isBoundedBelow() const { return std::isfinite(m_lower); }
bool ZrGeInterval::isBoundedAbove() const { return std::isfinite(m_upper); }

bool ZrGeInterval::isSingleton() const { return isBounded() && m_upper - m_lower <= m_tol; }

void ZrGeInterval::set(double lower, double upper)
{
    m_lower = lower <= upper ? lower : upper;
    m_upper = lower <= upper ? upper : lower;
}

void ZrGeInterval::setUnbounded()
{
    m_lower = -kInfinity;
    m_upper = kInfinity;
}

bool ZrGeInterval::contains(double value) const
{
    return value >= m_lower - m_tol && value <= m_upper + m_tol;
}

bool ZrGeInterval::isEqualTo(const ZrGeInterval& other) const
{
    const auto sameBound = [this](double a, double b) {
        return (std::isinf(a) || std::isinf(b)) ? a == b : std::fabs(a - b) <= m_tol;
    };
    return sameBound(m_lower, other.m_lower) && sameBound(m_upper, other.m_upper);
}
