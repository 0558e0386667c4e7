#include "LoopParameters.h"

#include <Precision.hxx>
#include <gp_Vec2d.hxx>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// Parameters closer than this along a seam count as one value.
constexpr double kParameterJump = 1e-5;

// A repeating direction of the surface's parameters: 0 for u, 1 for v.
double coordinate(const gp_Pnt2d& point, int direction) { return direction == 0 ? point.X() : point.Y(); }

void shiftAlong(KernelUse& use, int direction, double by)
{
    use.shift(direction == 0 ? by : 0.0, direction == 0 ? 0.0 : by);
}



// True when the use runs at one value of the repeating parameter (along a
// line across that direction, a seam or a meridian; a projected one within
// a ten-thousandth of the period) and moves in the other.
bool runsAcross(const KernelUse& use, int direction, double period)
{
    const double at = coordinate(use.at(0.0), direction);
    for (double f : {0.25, 0.5, 0.75, 1.0})
        if (std::fabs(coordinate(use.at(f), direction) - at) > 1e-4 * period)
            return false;
    return std::fabs(coordinate(use.end(), 1 - direction) - coordinate(use.start(), 1 - direction)) > kParameterJump;
}

// The face lies left of its coedges in the surface's parameters: a use
// across u that climbs in v bounds the face from above in u, one that
// descends from below; a use across v that runs back in u bounds it from
// above in v, one that runs on from below.
bool boundsFromAbove(const KernelUse& use, int direction)
{
    const gp_Pnt2d from = use.start(), to = use.end();
    return direction == 0 ? to.Y() > from.Y() : to.X() < from.X();
}

// Whole periods that take value into [low, low + period), or into
// (low, low + period] when from above.
double periodsInto(double value, double low, double period, bool fromAbove)
{
    const double slack = kParameterJump;
    double steps = std::floor((value - low) / period);
    if (fromAbove && value - steps * period <= low + slack)
        steps -= 1.0;
    else if (!fromAbove && value - (steps + 1.0) * period >= low - slack)
        steps += 1.0;
    return -steps * period;
}

// Samples along each use when finding where a face starts in a period.
constexpr int kSpreadSamples = 32;

// Where the face starts in a repeating direction: at a seam when it has one
// (an edge both of whose uses run across), otherwise after the widest gap
// its boundary leaves in the period.
double faceStart(const std::vector<KernelLoop>& loops, const std::vector<KernelUse*>& below,
                 const std::vector<KernelUse*>& above, int direction, double period)
{
    for (const KernelUse* low : below)
        for (const KernelUse* high : above)
            if (low->edge == high->edge)
                return coordinate(low->start(), direction);
    std::vector<double> at;
    for (const KernelLoop& loop : loops)
        for (const KernelUse& use : loop)
            for (int i = 0; i <= kSpreadSamples; ++i) {
                const double value = coordinate(use.at(static_cast<double>(i) / kSpreadSamples), direction);
                at.push_back(value - std::floor(value / period) * period);
            }
    std::sort(at.begin(), at.end());
    double start = at.front(), widest = at.front() + period - at.back();
    for (std::size_t i = 1; i < at.size(); ++i)
        if (at[i] - at[i - 1] > widest) {
            widest = at[i] - at[i - 1];
            start = at[i];
        }
    return start;
}

// Places the face's uses in one period of a repeating direction, from
// where the face starts there. The face lies left of its coedges in the
// surface's parameters: a use across u that descends in v bounds the face
// from below in u and sits at or after the start, one that climbs bounds it
// from above and sits after the start (a seam's two uses a whole period
// apart); a use across v that runs on in u bounds it from below in v, one
// that runs back from above. Every other use goes with its middle in the
// period.
void placeInPeriod(std::vector<KernelLoop>& loops, int direction, double period)
{
    std::vector<KernelUse*> below, above, others;
    for (KernelLoop& loop : loops)
        for (KernelUse& use : loop) {
            if (use.givenCurve)
                continue;
            if (!runsAcross(use, direction, period))
                others.push_back(&use);
            else if (boundsFromAbove(use, direction))
                above.push_back(&use);
            else
                below.push_back(&use);
        }
    const double low = faceStart(loops, below, above, direction, period);
    for (KernelUse* use : below)
        shiftAlong(*use, direction, periodsInto(coordinate(use->start(), direction), low, period, false));
    for (KernelUse* use : above)
        shiftAlong(*use, direction, periodsInto(coordinate(use->start(), direction), low, period, true));
    for (KernelUse* use : others)
        shiftAlong(*use, direction, periodsInto(coordinate(use->at(0.5), direction), low, period, false));
}

void intoFirstPeriod(std::vector<KernelLoop>& loops, const Geom_Surface& surface, int direction, double period)
{
    double u1 = 0.0, u2 = 0.0, v1 = 0.0, v2 = 0.0;
    surface.Bounds(u1, u2, v1, v2);
    const double first = direction == 0 ? u1 : v1;
    double lowest = Precision::Infinite();
    for (const KernelLoop& loop : loops)
        for (const KernelUse& use : loop)
            if (!use.givenCurve)
                lowest = std::min(lowest, coordinate(parameterBox({use}).first, direction));
    if (Precision::IsInfinite(lowest))
        return;
    // A face that starts a hair below the end of the first period starts at
    // its beginning.
    const double by = -std::floor((lowest - first) / period + 1e-4) * period;
    for (KernelLoop& loop : loops)
        for (KernelUse& use : loop)
            if (!use.givenCurve)
                shiftAlong(use, direction, by);
}

} // namespace

void KernelUse::shift(double du, double dv)
{
    if (du != 0.0 || dv != 0.0)
        curve = Handle(Geom2d_Curve)::DownCast(curve->Translated(gp_Vec2d(du, dv)));
}

std::pair<gp_Pnt2d, gp_Pnt2d> parameterBox(const KernelLoop& loop)
{
    double u0 = Precision::Infinite(), u1 = -Precision::Infinite();
    double v0 = Precision::Infinite(), v1 = -Precision::Infinite();
    for (const KernelUse& use : loop)
        for (double f : {0.0, 0.5, 1.0}) {
            const gp_Pnt2d uv = use.at(f);
            u0 = std::min(u0, uv.X());
            u1 = std::max(u1, uv.X());
            v0 = std::min(v0, uv.Y());
            v1 = std::max(v1, uv.Y());
        }
    return {gp_Pnt2d(u0, v0), gp_Pnt2d(u1, v1)};
}

void placeInPeriods(std::vector<KernelLoop>& loops, const Geom_Surface& surface)
{
    for (int direction = 0; direction < 2; ++direction) {
        if (!(direction == 0 ? surface.IsUPeriodic() : surface.IsVPeriodic()))
            continue;
        const double period = direction == 0 ? surface.UPeriod() : surface.VPeriod();
        placeInPeriod(loops, direction, period);
        intoFirstPeriod(loops, surface, direction, period);
    }
}

