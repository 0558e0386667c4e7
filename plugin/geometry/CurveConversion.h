#pragma once
// Exchange-kernel edge curves turned into host curves.
#include <Geom_Curve.hxx>
#include <TopoDS_Edge.hxx>
#include <gp_Trsf.hxx>

#include <zrbase/ZrGeCurve3d.h>

#include <memory>

// The curve of edge as a new host curve in world coordinates, from
// startPoint to endPoint, or null for a curve kind the host cannot take
// (Bezier, offset and other curves) or a spline piece that would be empty.
// A trimmed curve counts as its basis curve. placement maps the curve's own
// coordinates to world coordinates. An empty curve gives the straight
// segment between the points. The kernel curve is never changed: kernel
// geometry may be shared with other threads.
std::unique_ptr<ZrGeCurve3d> convertEdgeCurve(const TopoDS_Edge& edge, Handle(Geom_Curve) curve,
                                              const ZrGePoint3d& startPoint, const ZrGePoint3d& endPoint,
                                              const gp_Trsf& placement);

// |a - b| <= tol, or, for tol below 1e-7 only, the difference relative to
// the larger magnitude is at most tol.
bool nearlyEqual(double a, double b, double tol);

// An edge's 3D curve (null when it has none) with its range, and the
// placement that maps it to the world: shapeTrsf with the edge's location.
struct EdgeCurve {
    Handle(Geom_Curve) curve;
    double first = 0.0;
    double last = 0.0;
    gp_Trsf placement;
};
EdgeCurve edgeCurveOf(const TopoDS_Edge& edge, const gp_Trsf& shapeTrsf);
