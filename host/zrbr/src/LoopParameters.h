#pragma once
// The parameter curves of a face's loops as the kernel face holds them, and
// their placement in the periods of a surface that repeats. Host-internal.
#include <Geom2d_Curve.hxx>
#include <Geom_Surface.hxx>
#include <gp_Pnt2d.hxx>

#include <utility>
#include <vector>

// One coedge in the sense of the face's surface.
struct KernelUse {
    int edge = 0;
    double first = 0.0, last = 0.0; // the edge's range
    bool reversed = false;          // against the edge's curve, in the surface's sense
    bool givenCurve = false;        // the parameter curve came with the description; it never moves
    Handle(Geom2d_Curve) curve;     // in the kernel surface's parameters, over the edge's range

    gp_Pnt2d start() const { return curve->Value(reversed ? last : first); }
    gp_Pnt2d end() const { return curve->Value(reversed ? first : last); }
    // The point at fraction f of the edge's range, in the edge's direction.
    gp_Pnt2d at(double f) const { return curve->Value(first + f * (last - first)); }
    void shift(double du, double dv);
};

using KernelLoop = std::vector<KernelUse>;

// The corners of the box around a loop's parameters.
std::pair<gp_Pnt2d, gp_Pnt2d> parameterBox(const KernelLoop& loop);

// Moves the computed parameter curves of a face by whole periods of the
// surface so that they bound one region. Uses along lines across a
// repeating direction (seams, meridians) fix the face's period in it: the
// face lies left of each, so a use bounds it from below or from above, and
// the two uses of a seam are a whole period apart. Every other use goes
// with its middle in that period. Without such uses the uses follow on from
// each other in loop order and the loops keep together. The region then
// starts in the surface's first period. Every use must have its curve.
void placeInPeriods(std::vector<KernelLoop>& loops, const Geom_Surface& surface);
