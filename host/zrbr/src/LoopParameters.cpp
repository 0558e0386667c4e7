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

double wholePeriods(double from, double to, double period) { return std::round((to - from) / period) * period; }

gp_Pnt2d centreOf(const KernelLoop& loop)
{
    const auto box = parameterBox(loop);
    return gp_Pnt2d(0.5 * (box.first.X() + box.second.X()), 0.5 * (box.first.Y() + box.second.Y()));
}

// True when the use runs at one value of the repeating parameter: a seam
// across that direction.
bool runsAcross(const KernelUse& use, int direction)
{
    const double at = coordinate(use.at(0.0), direction);
    for (double f : {0.25, 0.5, 0.75, 1.0})
        if (std::fabs(coordinate(use.at(f), direction) - at) > kParameterJump)
            return false;
    return true;
}

// The face lies left of its coedges in the surface's parameters: of the
// two uses of a seam across u, the one climbing in v sits a period above
// the other in u; of a seam across v, the one running back in u sits a
// period above the other in v.
bool sitsHigh(const KernelUse& use, int direction)
{
    const gp_Pnt2d from = use.start(), to = use.end();
    return direction == 0 ? to.Y() > from.Y() : to.X() < from.X();
}

using Seam = std::pair<KernelUse*, KernelUse*>;

std::vector<Seam> seamsAcross(std::vector<KernelLoop>& loops, int direction)
{
    std::map<int, KernelUse*> firstUse;
    std::vector<Seam> seams;
    for (KernelLoop& loop : loops)
        for (KernelUse& use : loop) {
            if (use.givenCurve || !runsAcross(use, direction))
                continue;
            const auto found = firstUse.find(use.edge);
            if (found == firstUse.end())
                firstUse.emplace(use.edge, &use);
            else if (found->second->reversed != use.reversed)
                seams.emplace_back(found->second, &use);
        }
    return seams;
}

void placeBetweenSeams(std::vector<KernelLoop>& loops, const std::vector<Seam>& seams, int direction, double period)
{
    const double low = coordinate(seams.front().first->start(), direction);
    std::vector<const KernelUse*> placed;
    for (const Seam& seam : seams) {
        KernelUse* high = sitsHigh(*seam.first, direction) ? seam.first : seam.second;
        KernelUse* lowUse = high == seam.first ? seam.second : seam.first;
        // One curve for both, at the period's two ends.
        lowUse->curve = high->curve;
        shiftAlong(*lowUse, direction, wholePeriods(coordinate(lowUse->start(), direction), low, period));
        high->curve = lowUse->curve;
        shiftAlong(*high, direction, period);
        placed.push_back(high);
        placed.push_back(lowUse);
    }
    for (KernelLoop& loop : loops)
        for (KernelUse& use : loop) {
            if (use.givenCurve || std::find(placed.begin(), placed.end(), &use) != placed.end())
                continue;
            const double middle = coordinate(use.at(0.5), direction);
            shiftAlong(use, direction, wholePeriods(middle, low + 0.5 * period, period));
        }
}

void followOn(std::vector<KernelLoop>& loops, int direction, double period)
{
    for (KernelLoop& loop : loops)
        for (std::size_t k = 1; k < loop.size(); ++k)
            if (!loop[k].givenCurve)
                shiftAlong(loop[k], direction,
                           wholePeriods(coordinate(loop[k].start(), direction),
                                        coordinate(loop[k - 1].end(), direction), period));
    if (loops.size() < 2)
        return;
    std::size_t widest = 0;
    double widestSpan = -1.0;
    for (std::size_t l = 0; l < loops.size(); ++l) {
        const auto box = parameterBox(loops[l]);
        if (box.first.Distance(box.second) > widestSpan) {
            widestSpan = box.first.Distance(box.second);
            widest = l;
        }
    }
    const double reference = coordinate(centreOf(loops[widest]), direction);
    for (std::size_t l = 0; l < loops.size(); ++l) {
        if (l == widest)
            continue;
        const double by = wholePeriods(coordinate(centreOf(loops[l]), direction), reference, period);
        for (KernelUse& use : loops[l])
            if (!use.givenCurve)
                shiftAlong(use, direction, by);
    }
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
    const double by = -std::floor((lowest - first) / period + 1e-9) * period;
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
        const std::vector<Seam> seams = seamsAcross(loops, direction);
        if (seams.empty())
            followOn(loops, direction, period);
        else
            placeBetweenSeams(loops, seams, direction, period);
        intoFirstPeriod(loops, surface, direction, period);
    }
}
