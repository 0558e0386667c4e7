#include "geometry/ConversionContext.h"

#include <algorithm>
#include <cmath>

namespace {

bool realDifference(double a, double b)
{
    const double difference = a - b;
    if (std::fabs(difference) <= 1e-10)
        return false;
    return std::fabs(difference / std::max(std::fabs(a), std::fabs(b))) > 1e-10;
}

} // namespace

bool pointLess(const ZrGePoint3d& a, const ZrGePoint3d& b)
{
    if (realDifference(a.x, b.x))
        return a.x < b.x - 1e-10;
    if (realDifference(a.y, b.y))
        return a.y < b.y - 1e-10;
    return a.z < b.z - 1e-10;
}

bool edgeKeyLess(const EdgeKey& a, const EdgeKey& b)
{
    if (a.kind != b.kind)
        return static_cast<int>(a.kind) < static_cast<int>(b.kind);
    const ZrGePoint3d EdgeKey::*order[] = {&EdgeKey::firstPoint, &EdgeKey::midPoint, &EdgeKey::lastPoint};
    for (const auto point : order)
        if (!(a.*point).isEqualTo(b.*point, ZrGeContext::gTol))
            return pointLess(a.*point, b.*point);
    return false;
}
