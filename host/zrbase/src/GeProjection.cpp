#include <Geom2dConvert.hxx>
#include <Geom2dConvert_ApproxCurve.hxx>
#include <Geom2d_Line.hxx>
#include <Geom2d_TrimmedCurve.hxx>
#include <GeomProjLib.hxx>
#include <ShapeConstruct_ProjectCurveOnSurface.hxx>
#include <Standard_Failure.hxx>

#include <algorithm>
#include <memory>

#include "GeKernel.h"
#include "zrbase/ZrGeLineSeg2d.h"
#include "zrbase/ZrGeProjectionUtils.h"

namespace {

Handle(Geom2d_Curve) basisOf(const Handle(Geom2d_Curve)& curve)
{
    Handle(Geom2d_Curve) basis = curve;
    while (auto trimmed = Handle(Geom2d_TrimmedCurve)::DownCast(basis))
        basis = trimmed->BasisCurve();
    return basis;
}

bool isStraight(const Handle(Geom2d_Curve)& basis)
{
    if (basis->IsKind(STANDARD_TYPE(Geom2d_Line)))
        return true;
    const auto spline = Handle(Geom2d_BSplineCurve)::DownCast(basis);
    return spline && spline->Degree() == 1 && spline->NbPoles() == 2;
}

// The projection as a spline over [first, last] with the same parameter.
Handle(Geom2d_BSplineCurve) asSpline(const Handle(Geom2d_Curve)& projected, double first, double last,
                                     double tol)
{
    const Handle(Geom2d_Curve) basis = basisOf(projected);
    if (auto spline = Handle(Geom2d_BSplineCurve)::DownCast(basis)) {
        spline = Handle(Geom2d_BSplineCurve)::DownCast(spline->Copy());
        if (first > spline->FirstParameter() || last < spline->LastParameter())
            spline->Segment(std::max(first, spline->FirstParameter()), std::min(last, spline->LastParameter()));
        return spline;
    }
    const Handle(Geom2d_TrimmedCurve) piece = new Geom2d_TrimmedCurve(basis, first, last);
    if (basis->IsKind(STANDARD_TYPE(Geom2d_Line)))
        return Geom2dConvert::CurveToBSplineCurve(piece);
    // Exact conversions of conics change the parameter; approximate instead.
    Geom2dConvert_ApproxCurve approx(piece, tol, GeomAbs_C2, 100, 8);
    return approx.HasResult() ? approx.Curve() : nullptr;
}

// True when the surface point of the 2D curve stays within tol of the space
// curve at every sample of [first, last].
bool followsCurve(const Handle(Geom2d_Curve)& curve2d, const GeKernel::Curve& curve,
                  const GeKernel::Surface& surface, double first, double last, double tol)
{
    int samples = 32;
    if (auto spline = Handle(Geom2d_BSplineCurve)::DownCast(curve2d))
        samples += 4 * spline->NbKnots();
    for (int i = 0; i <= samples; ++i) {
        const double t = first + (last - first) * i / samples;
        const gp_Pnt2d uv = curve2d->Value(t);
        if (surface.surface->Value(uv.X(), uv.Y()).Distance(curve.curve->Value(t)) > tol)
            return false;
    }
    return true;
}

// The host spline of a kernel one whose parameters are kernel surface
// parameters: points mapped to host surface parameters, knots moved back to
// the host curve's parameter.
ZrGeNurbCurve2d* hostSpline(const Handle(Geom2d_BSplineCurve)& spline, const GeKernel::Surface& surface, double shift)
{
    ZrGeKnotVector knots(ZrGeKnotVector::globalKnotTolerance);
    for (int i = 1; i <= spline->NbKnots(); ++i)
        for (int m = 0; m < spline->Multiplicity(i); ++m)
            knots.append(spline->Knot(i) - shift);
    ZrGePoint2dArray points;
    ZrGeDoubleArray weights;
    for (int i = 1; i <= spline->NbPoles(); ++i) {
        points.append(surface.toHost(spline->Pole(i)));
        if (spline->IsRational())
            weights.append(spline->Weight(i));
    }
    auto result = std::make_unique<ZrGeNurbCurve2d>(spline->Degree(), knots, points, weights, false);
    return result->isValid() ? result.release() : nullptr;
}

ZrGeLineSeg2d* hostLine(const Handle(Geom2d_Curve)& line, const GeKernel::Surface& surface, double first,
                        double last, double shift)
{
    const ZrGePoint2d from = surface.toHost(line->Value(first));
    const ZrGePoint2d to = surface.toHost(line->Value(last));
    const double lower = first - shift, upper = last - shift;
    // A segment with P(t) = base + t * direction for the host parameter t.
    const ZrGeVector2d direction = (to - from) * (1.0 / (upper - lower));
    const ZrGePoint2d base = from - direction * lower;
    auto* result = new ZrGeLineSeg2d(base, base + direction);
    result->setInterval(ZrGeInterval(lower, upper));
    return result;
}

// The parameter curve by inverting points of the curve on the surface and
// fitting them at the curve's own parameters: fast, and right for curves
// that lie on the surface; null when it finds none.
Handle(Geom2d_Curve) fittedProjection(const GeKernel::Curve& curve, const GeKernel::Surface& surface, double first,
                                      double last, double tol)
{
    ShapeConstruct_ProjectCurveOnSurface projector;
    projector.Init(surface.surface, tol);
    Handle(Geom_Curve) curve3d = curve.curve; // Perform takes it by reference
    Handle(Geom2d_Curve) result;
    if (!projector.Perform(curve3d, first, last, result) || result.IsNull())
        return nullptr;
    result = GeKernel::intoClosedRange(result, *surface.surface, first, last);
    const Handle(Geom2d_Curve) basis = basisOf(result);
    if (!isStraight(basis) && !basis->IsKind(STANDARD_TYPE(Geom2d_BSplineCurve)))
        return nullptr;
    return result;
}

ZrGeCurve2d* fromProjection(const Handle(Geom2d_Curve)& projected, const GeKernel::Curve& kernelCurve,
                            const GeKernel::Surface& kernelSurface, double first, double last, const ZrGeTol& tol,
                            int flags);

ZrGeCurve2d* project(const ZrGeCurve3d& curve, const ZrGeInterval& range, const ZrGeSurface& surface,
                     const ZrGeTol& tol, int flags)
{
    const GeKernel::Curve kernelCurve = GeKernel::curve(curve);
    const GeKernel::Surface kernelSurface = GeKernel::surface(surface);
    if (kernelCurve.curve.IsNull() || kernelSurface.surface.IsNull())
        return nullptr;
    const double first = range.lowerBound() + kernelCurve.shift;
    const double last = range.upperBound() + kernelCurve.shift;
    // The quick fit first. A fit that strays from the curve means the curve
    // is off the surface: the general projection, much slower on spline
    // surfaces, runs only when the fit found nothing at all.
    const Handle(Geom2d_Curve) fitted = fittedProjection(kernelCurve, kernelSurface, first, last, tol.equalPoint());
    if (!fitted.IsNull())
        return fromProjection(fitted, kernelCurve, kernelSurface, first, last, tol, flags);
    double reached = tol.equalPoint();
    const Handle(Geom2d_Curve) projected = GeKernel::intoClosedRange(
        GeomProjLib::Curve2d(kernelCurve.curve, first, last, kernelSurface.surface, reached), *kernelSurface.surface,
        first, last);
    if (projected.IsNull())
        return nullptr;
    return fromProjection(projected, kernelCurve, kernelSurface, first, last, tol, flags);
}

// The host form of a projection over [first, last], or null when it strays
// from the curve.
ZrGeCurve2d* fromProjection(const Handle(Geom2d_Curve)& projected, const GeKernel::Curve& kernelCurve,
                            const GeKernel::Surface& kernelSurface, double first, double last, const ZrGeTol& tol,
                            int flags)
{
    const bool straight = isStraight(basisOf(projected));
    if (straight && !(flags & ZrGeProjectionUtils::kNurbsResult)) {
        if (!followsCurve(projected, kernelCurve, kernelSurface, first, last, tol.equalPoint()))
            return nullptr;
        return hostLine(projected, kernelSurface, first, last, kernelCurve.shift);
    }
    const Handle(Geom2d_BSplineCurve) spline = asSpline(projected, first, last, tol.equalPoint());
    if (spline.IsNull() || !followsCurve(spline, kernelCurve, kernelSurface, first, last, tol.equalPoint()))
        return nullptr;
    return hostSpline(spline, kernelSurface, kernelCurve.shift);
}

} // namespace

bool ZrGeProjectionUtils::projectCurveOnSurface(const ZrGeCurve3d& curve, const ZrGeInterval& range,
                                                const ZrGeSurface& surface, ZrGeCurve2d*& result,
                                                ZrGeInterval& resultRange, const ZrGeTol& tol, int flags)
{
    result = nullptr;
    if (!range.isBounded() || !(range.upperBound() > range.lowerBound()))
        return false;
    try {
        result = project(curve, range, surface, tol, flags);
    } catch (const Standard_Failure&) {
        result = nullptr;
    }
    if (result)
        resultRange.set(range.lowerBound(), range.upperBound());
    return result != nullptr;
}
