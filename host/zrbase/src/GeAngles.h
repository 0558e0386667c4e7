#pragma once
// Angle ranges of arcs and surfaces of revolution. Private to zrbase.
#include <cmath>

namespace GeAngles {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// Raises end by whole turns until it is not below start, and cuts a span
// of more than one turn to one turn.
inline double normalisedEnd(double start, double end)
{
    if (end < start)
        end += kTwoPi * std::ceil((start - end) / kTwoPi);
    if (end - start > kTwoPi)
        end = start + kTwoPi;
    return end;
}

// The value of angle, modulo one turn, in [start, start + 2 pi).
inline double fromStart(double start, double angle)
{
    double value = start + std::fmod(angle - start, kTwoPi);
    if (value < start)
        value += kTwoPi;
    if (value >= start + kTwoPi)
        value -= kTwoPi;
    return value;
}

// angle brought into [start, end] (a span of at most one turn): its value
// there when it has one, else the bound it is angularly nearer to.
inline double clampToRange(double angle, double start, double end)
{
    const double value = fromStart(start, angle);
    if (value <= end)
        return value;
    return value - end <= start + kTwoPi - value ? end : start;
}

} // namespace GeAngles
