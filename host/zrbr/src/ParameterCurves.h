#pragma once
// Parameter curves of edges on faces, for the modeler's own use: how far a
// given one strays, and the one the modeler computes where a description
// brings none. Host-internal.
#include <Geom2d_Curve.hxx>
#include <Geom_Surface.hxx>

#include "BodyDescription.h"

namespace ParameterCurves {

constexpr double kTolerance = 1e-7; // the kernel's confusion distance

// The greatest distance between the edge's curve and the surface point of
// the parameter curve at the same parameter, over the edge's range, as
// sampled here and as the kernel's own check measures it; infinity when the
// parameter curve does not cover that range (a periodic one covers every
// range).
double deviation(const AcisBrepBuilderTD::Body::Edge& edge, const Handle(Geom2d_Curve)& curve,
                 const Handle(Geom_Surface)& surface);

// The exact line for a straight edge that runs straight in the surface's
// parameters too, otherwise a curve that fits surface points at the edge's
// own parameters, or, where that strays farther than enough, the closer of
// it and the kernel's general projection. Null when neither gives a curve.
Handle(Geom2d_Curve) compute(const AcisBrepBuilderTD::Body::Edge& edge, const Handle(Geom_Surface)& surface,
                             double enough);

} // namespace ParameterCurves
