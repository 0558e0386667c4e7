#pragma once
// Checks of spline data before the kernel sees them. Private to zrbase.
#include <algorithm>
#include <cmath>

#include "zrbase/ZrGeKnotVector.h"

namespace GeSplineChecks {

// One direction of a spline: a degree the kernel takes, enough control
// points, and count + degree + 1 finite, non-decreasing knots.
inline bool directionFits(int degree, int count, const ZrGeKnotVector& knots, int maxDegree)
{
    if (degree < 1 || degree > maxDegree || count < degree + 1)
        return false;
    if (knots.length() != count + degree + 1 || !knots.isNonDecreasing())
        return false;
    for (int i = 0; i < knots.length(); ++i)
        if (!std::isfinite(knots[i]))
            return false;
    return true;
}

// No weights, or one positive weight per control point.
inline bool weightsFit(const ZrGeDoubleArray& weights, int count)
{
    if (!weights.isEmpty() && weights.length() != count)
        return false;
    return std::all_of(weights.begin(), weights.end(), [](double w) { return w > 0.0 && std::isfinite(w); });
}

} // namespace GeSplineChecks
