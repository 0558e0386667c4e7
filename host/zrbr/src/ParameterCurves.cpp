#include "ParameterCurves.h"

#include "GeKernel.h"

#include <Adaptor3d_CurveOnSurface.hxx>
#include <BRepLib_ValidateEdge.hxx>
#include <Geom2dAdaptor_Curve.hxx>
#include <Geom2d_BSplineCurve.hxx>
#include <GeomAdaptor_Curve.hxx>
#include <GeomAdaptor_Surface.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <GeomProjLib.hxx>
#include <Geom2d_Line.hxx>
#include <Geom2d_TrimmedCurve.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Line.hxx>
#include <Geom_Plane.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Precision.hxx>
#include <ShapeConstruct_ProjectCurveOnSurface.hxx>
#include <Standard_ErrorHandler.hxx>
#include <Standard_Failure.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt2d.hxx>

#include <algorithm>
#include <cmath>

namespace ParameterCurves {
namespace {

using Edge = AcisBrepBuilderTD::Body::Edge;

// Samples along an edge when measuring how far a parameter curve strays.
constexpr int kDeviationSamples = 48;

bool isStraight(const Geom_Curve& curve)
{
    const auto* spline = dynamic_cast<const Geom_BSplineCurve*>(&curve);
    return spline && spline->Degree() == 1 && spline->NbPoles() == 2;
}

bool parametersOf(GeomAPI_ProjectPointOnSurf& projector, const gp_Pnt& point, double& u, double& v)
{
    projector.Perform(point);
    if (!projector.IsDone() || projector.NbPoints() == 0)
        return false;
    projector.LowerDistanceParameters(u, v);
    return true;
}

// A straight edge on a plane, or along a generator of a cylinder or a cone,
// runs straight in the parameters: the line between its ends' parameters,
// taken in the period of its middle. An apex or a pole takes the middle's
// parameter across the line. Null when the middle does not fit.
Handle(Geom2d_Curve) straightLine(const Edge& edge, const Handle(Geom_Surface)& surface)
{
    const double middle = 0.5 * (edge.first + edge.last);
    GeomAPI_ProjectPointOnSurf projector(edge.curve->Value(middle), surface);
    double mu = 0.0, mv = 0.0;
    if (!parametersOf(projector, edge.curve->Value(middle), mu, mv))
        return nullptr;
    gp_Pnt2d ends[2];
    const double params[2] = {edge.first, edge.last};
    for (int i = 0; i < 2; ++i) {
        double u = 0.0, v = 0.0;
        if (!parametersOf(projector, edge.curve->Value(params[i]), u, v))
            return nullptr;
        if (surface->IsUPeriodic())
            u += std::round((mu - u) / surface->UPeriod()) * surface->UPeriod();
        if (surface->IsVPeriodic())
            v += std::round((mv - v) / surface->VPeriod()) * surface->VPeriod();
        gp_Pnt point;
        gp_Vec du, dv;
        surface->D1(u, v, point, du, dv);
        if (du.Magnitude() <= Precision::Confusion())
            u = mu;
        if (dv.Magnitude() <= Precision::Confusion())
            v = mv;
        ends[i] = gp_Pnt2d(u, v);
    }
    const gp_Pnt2d halfway(0.5 * (ends[0].X() + ends[1].X()), 0.5 * (ends[0].Y() + ends[1].Y()));
    if (surface->Value(halfway.X(), halfway.Y()).Distance(edge.curve->Value(middle)) > Precision::Confusion())
        return nullptr;
    TColgp_Array1OfPnt2d poles(1, 2);
    poles.SetValue(1, ends[0]);
    poles.SetValue(2, ends[1]);
    TColStd_Array1OfReal knots(1, 2);
    knots.SetValue(1, edge.first);
    knots.SetValue(2, edge.last);
    TColStd_Array1OfInteger mults(1, 2);
    mults.Init(2);
    return new Geom2d_BSplineCurve(poles, knots, mults, 1);
}

Handle(Geom2d_Curve) fitted(const Edge& edge, const Handle(Geom_Surface)& surface)
{
    ShapeConstruct_ProjectCurveOnSurface projector;
    projector.Init(surface, kTolerance);
    Handle(Geom_Curve) curve = edge.curve; // Perform takes it by reference
    Handle(Geom2d_Curve) result;
    if (!projector.Perform(curve, edge.first, edge.last, result))
        return nullptr;
    return result;
}

// A spline parameter curve with its poles moved into the surface's range in
// each direction that neither repeats nor runs for ever; null when none is
// outside. A fit can swing out of the range between the points it
// follows, where a bounded surface's extension can be anything; the poles'
// hull, and so the curve, then stays inside.
Handle(Geom2d_Curve) polesIntoBounds(const Handle(Geom2d_Curve)& curve, const Geom_Surface& surface)
{
    const auto spline = Handle(Geom2d_BSplineCurve)::DownCast(curve);
    if (spline.IsNull())
        return nullptr;
    double u0 = 0.0, u1 = 0.0, v0 = 0.0, v1 = 0.0;
    surface.Bounds(u0, u1, v0, v1);
    const bool boundU = !surface.IsUPeriodic() && !Precision::IsInfinite(u0) && !Precision::IsInfinite(u1);
    const bool boundV = !surface.IsVPeriodic() && !Precision::IsInfinite(v0) && !Precision::IsInfinite(v1);
    Handle(Geom2d_BSplineCurve) inside;
    for (int i = 1; i <= spline->NbPoles(); ++i) {
        const gp_Pnt2d pole = spline->Pole(i);
        const gp_Pnt2d moved(boundU ? std::clamp(pole.X(), u0, u1) : pole.X(),
                             boundV ? std::clamp(pole.Y(), v0, v1) : pole.Y());
        if (moved.IsEqual(pole, 0.0))
            continue;
        if (inside.IsNull())
            inside = Handle(Geom2d_BSplineCurve)::DownCast(spline->Copy());
        inside->SetPole(i, moved);
    }
    return inside;
}

} // namespace

namespace {

// The distance the kernel's own check measures, at its own points.
double checkedDeviation(const Edge& edge, const Handle(Geom2d_Curve)& curve, const Handle(Geom_Surface)& surface)
{
    const Handle(Adaptor3d_CurveOnSurface) onSurface = new Adaptor3d_CurveOnSurface(
        new Geom2dAdaptor_Curve(curve, edge.first, edge.last), new GeomAdaptor_Surface(surface));
    BRepLib_ValidateEdge check(new GeomAdaptor_Curve(edge.curve, edge.first, edge.last), onSurface, true);
    check.Process();
    return check.IsDone() ? check.GetMaxDistance() : Precision::Infinite();
}

double sampledDeviation(const Edge& edge, const Handle(Geom2d_Curve)& curve, const Handle(Geom_Surface)& surface)
{
    const double span = edge.last - edge.first;
    const double slack = Precision::PConfusion() * std::max(1.0, std::fabs(span));
    const bool covers = curve->IsPeriodic() ||
                        (curve->FirstParameter() <= edge.first + slack && curve->LastParameter() >= edge.last - slack);
    if (!covers)
        return Precision::Infinite();
    // The adaptors keep the span they last evaluated, which the samples
    // walk through in order.
    const GeomAdaptor_Curve onEdge(edge.curve);
    const Geom2dAdaptor_Curve onFace(curve);
    const GeomAdaptor_Surface onSurface(surface);
    double worst = 0.0;
    for (int i = 0; i <= kDeviationSamples; ++i) {
        const double t = edge.first + span * i / kDeviationSamples;
        const gp_Pnt2d uv = onFace.Value(t);
        worst = std::max(worst, onSurface.Value(uv.X(), uv.Y()).Distance(onEdge.Value(t)));
    }
    return worst;
}

// Curves and surfaces whose points are affine in their parameters along the
// edge: straight curves, planes, and the rulings of cylinders and cones.
bool isAffine(const Geom_Curve& curve)
{
    if (const auto* trimmed = dynamic_cast<const Geom_TrimmedCurve*>(&curve))
        return isAffine(*trimmed->BasisCurve());
    return dynamic_cast<const Geom_Line*>(&curve) || isStraight(curve);
}

bool isAffine(const Geom2d_Curve& curve)
{
    if (const auto* trimmed = dynamic_cast<const Geom2d_TrimmedCurve*>(&curve))
        return isAffine(*trimmed->BasisCurve());
    if (dynamic_cast<const Geom2d_Line*>(&curve))
        return true;
    const auto* spline = dynamic_cast<const Geom2d_BSplineCurve*>(&curve);
    return spline && spline->Degree() == 1 && spline->NbPoles() == 2;
}

bool isAffineAlong(const Geom_Surface& surface, const Geom2d_Curve& curve, double first, double last)
{
    if (const auto* trimmed = dynamic_cast<const Geom_RectangularTrimmedSurface*>(&surface))
        return isAffineAlong(*trimmed->BasisSurface(), curve, first, last);
    if (dynamic_cast<const Geom_Plane*>(&surface))
        return true;
    const bool ruled = dynamic_cast<const Geom_CylindricalSurface*>(&surface) ||
                       dynamic_cast<const Geom_ConicalSurface*>(&surface);
    return ruled && curve.Value(first).X() == curve.Value(last).X();
}

// The distance between two points moving affinely is convex in the
// parameter, so its largest value is at an end: the samples hold it exactly.
bool deviationIsAtTheEnds(const Edge& edge, const Geom2d_Curve& curve, const Geom_Surface& surface)
{
    return isAffine(*edge.curve) && isAffine(curve) && isAffineAlong(surface, curve, edge.first, edge.last);
}

} // namespace

double deviation(const Edge& edge, const Handle(Geom2d_Curve)& curve, const Handle(Geom_Surface)& surface)
{
    const double sampled = sampledDeviation(edge, curve, surface);
    if (Precision::IsInfinite(sampled) || deviationIsAtTheEnds(edge, *curve, *surface))
        return sampled;
    try {
        return std::max(sampled, checkedDeviation(edge, curve, surface));
    } catch (const Standard_Failure&) {
        return sampled;
    }
}

Handle(Geom2d_Curve) compute(const Edge& edge, const Handle(Geom_Surface)& surface, double enough)
{
    try {
        OCC_CATCH_SIGNALS
        if (isStraight(*edge.curve)) {
            const Handle(Geom2d_Curve) line = straightLine(edge, surface);
            if (!line.IsNull())
                return line;
        }
        Handle(Geom2d_Curve) best;
        double bestDeviation = Precision::Infinite();
        const auto consider = [&](const Handle(Geom2d_Curve)& candidate) {
            if (candidate.IsNull())
                return;
            const double off = deviation(edge, candidate, surface);
            if (off < bestDeviation) {
                bestDeviation = off;
                best = candidate;
            }
        };
        const auto considerWithin = [&](const Handle(Geom2d_Curve)& candidate) {
            const Handle(Geom2d_Curve) placed = GeKernel::intoClosedRange(candidate, *surface, edge.first, edge.last);
            consider(placed);
            if (!placed.IsNull())
                consider(polesIntoBounds(placed, *surface));
        };
        considerWithin(fitted(edge, surface));
        // The general projection approximates at great cost: only where the
        // fit finds nothing close enough.
        if (bestDeviation > enough) {
            double tolerance = kTolerance;
            considerWithin(GeomProjLib::Curve2d(edge.curve, edge.first, edge.last, surface, tolerance));
        }
        return best;
    } catch (const Standard_Failure&) {
        return nullptr;
    }
}

} // namespace ParameterCurves
