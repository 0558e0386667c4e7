#include "GeKernel.h"

#include <Geom2dAPI_ProjectPointOnCurve.hxx>
#include <GeomAPI_ProjectPointOnCurve.hxx>
#include <Geom_Circle.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Plane.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <Standard_Failure.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColStd_Array2OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_Array1OfPnt2d.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <gp_Ax2.hxx>
#include <gp_Ax3.hxx>
#include <gp_Vec2d.hxx>

#include <algorithm>
#include <cmath>

#include "GeAngles.h"
#include "GeFrame.h"
#include "zrbase/ZrGeCircArc3d.h"
#include "zrbase/ZrGeCone.h"
#include "zrbase/ZrGeCylinder.h"
#include "zrbase/ZrGeEllipArc3d.h"
#include "zrbase/ZrGeLineSeg3d.h"
#include "zrbase/ZrGePlane.h"
#include "zrbase/ZrGeSphere.h"
#include "zrbase/ZrGeTorus.h"

namespace GeKernel {
namespace {

// Distinct knots and multiplicities of a flat knot vector.
struct KnotData {
    TColStd_Array1OfReal knots;
    TColStd_Array1OfInteger mults;

    explicit KnotData(const ZrGeKnotVector& flat)
    {
        ZrGeDoubleArray distinct;
        ZrGeIntArray counts;
        flat.getDistinctKnots(distinct, &counts);
        knots.Resize(1, distinct.length(), false);
        mults.Resize(1, distinct.length(), false);
        for (int i = 0; i < distinct.length(); ++i) {
            knots.SetValue(i + 1, distinct[i]);
            mults.SetValue(i + 1, counts[i]);
        }
    }
};

ZrGeKnotVector flatKnots(const TColStd_Array1OfReal& knots, const TColStd_Array1OfInteger& mults)
{
    ZrGeKnotVector flat(ZrGeKnotVector::globalKnotTolerance);
    for (int i = knots.Lower(); i <= knots.Upper(); ++i)
        for (int m = 0; m < mults(i); ++m)
            flat.append(knots(i));
    return flat;
}

ZrGeDoubleArray weightsOf(const TColStd_Array1OfReal* weights)
{
    ZrGeDoubleArray result;
    if (weights)
        for (int i = weights->Lower(); i <= weights->Upper(); ++i)
            result.append((*weights)(i));
    return result;
}

Handle(Geom_Curve) lineCurve(const ZrGeLineSeg3d& line)
{
    ZrGeInterval range;
    line.getInterval(range);
    if (!(range.upperBound() > range.lowerBound()))
        return nullptr;
    TColgp_Array1OfPnt poles(1, 2);
    poles.SetValue(1, toGp(line.startPoint()));
    poles.SetValue(2, toGp(line.endPoint()));
    TColStd_Array1OfReal knots(1, 2);
    knots.SetValue(1, range.lowerBound());
    knots.SetValue(2, range.upperBound());
    TColStd_Array1OfInteger mults(1, 2);
    mults.Init(2);
    return new Geom_BSplineCurve(poles, knots, mults, 1);
}

Curve ellipseCurve(const ZrGeEllipArc3d& ellipse)
{
    const gp_Pnt centre = toGp(ellipse.center());
    const gp_Dir normal = toGpDir(ellipse.normal());
    if (ellipse.majorRadius() >= ellipse.minorRadius()) {
        const gp_Ax2 frame(centre, normal, toGpDir(ellipse.majorAxis()));
        return {new Geom_Ellipse(frame, ellipse.majorRadius(), ellipse.minorRadius()), 0.0};
    }
    // The kernel wants the longer axis first: start it at the minor axis,
    // a quarter turn on.
    const gp_Ax2 frame(centre, normal, toGpDir(ellipse.minorAxis()));
    return {new Geom_Ellipse(frame, ellipse.minorRadius(), ellipse.majorRadius()), -GeAngles::kPi / 2};
}

gp_Ax3 placement(const ZrGePoint3d& origin, const ZrGeVector3d& axis, const ZrGeVector3d& ref)
{
    const GeFrame frame = GeFrame::fromAxis(axis, ref);
    return gp_Ax3(toGp(origin), toGpDir(frame.z), toGpDir(frame.x));
}

Surface coneSurface(const ZrGeCone& cone)
{
    double c = 0.0, s = 0.0;
    cone.getHalfAngle(c, s);
    const gp_Ax3 frame = placement(cone.baseCenter(), cone.axisOfSymmetry(), cone.refAxis());
    const double radius = std::fabs(cone.baseRadius());
    if (s == 0.0)
        return {new Geom_CylindricalSurface(frame, radius)};
    // Along the nappe |rho| grows by sign * k per unit of height.
    const double slope = s / c;
    const double sign = cone.baseRadius() > 0.0 ? 1.0 : cone.baseRadius() < 0.0 ? -1.0 : (slope > 0 ? 1.0 : -1.0);
    const double angle = std::atan(sign * slope);
    Surface result{new Geom_ConicalSurface(frame, angle, radius)};
    result.scaleV = std::cos(angle);
    return result;
}

Surface torusSurface(const ZrGeTorus& torus)
{
    const gp_Ax3 frame = placement(torus.center(), torus.axisOfSymmetry(), torus.refAxis());
    const double major = torus.majorRadius();
    const double minor = std::fabs(torus.minorRadius());
    Surface result{new Geom_ToroidalSurface(frame, std::fabs(major), minor)};
    // The kernel's normal points away from the tube's centre circle, the
    // host's only for a positive tube radius.
    result.reversedNormal = torus.minorRadius() < 0.0;
    if (major < 0.0) {
        // The lemon part: the kernel point (u, w) is the host point
        // (u - pi, pi - w).
        result.offsetU = -GeAngles::kPi;
        result.scaleV = -1.0;
        result.offsetV = GeAngles::kPi;
    }
    return result;
}

Surface surfaceOf(const ZrGeSurface& surface)
{
    switch (surface.type()) {
    case ZrGe::kPlane: {
        const auto& plane = static_cast<const ZrGePlane&>(surface);
        ZrGePoint3d origin;
        ZrGeVector3d u, v;
        plane.getCoordSystem(origin, u, v);
        return {new Geom_Plane(gp_Ax3(toGp(origin), toGpDir(u.crossProduct(v)), toGpDir(u)))};
    }
    case ZrGe::kCylinder: {
        const auto& cylinder = static_cast<const ZrGeCylinder&>(surface);
        Surface result{new Geom_CylindricalSurface(
            placement(cylinder.origin(), cylinder.axisOfSymmetry(), cylinder.refAxis()),
            std::fabs(cylinder.radius()))};
        result.reversedNormal = !cylinder.isOuterNormal();
        return result;
    }
    case ZrGe::kCone:
        return static_cast<const ZrGeCone&>(surface).isValid() ? coneSurface(static_cast<const ZrGeCone&>(surface))
                                                                : Surface{};
    case ZrGe::kSphere: {
        const auto& sphere = static_cast<const ZrGeSphere&>(surface);
        Surface result{new Geom_SphericalSurface(placement(sphere.center(), sphere.northAxis(), sphere.refAxis()),
                                                 std::fabs(sphere.radius()))};
        result.reversedNormal = !sphere.isOuterNormal();
        return result;
    }
    case ZrGe::kTorus:
        return static_cast<const ZrGeTorus&>(surface).isValid() ? torusSurface(static_cast<const ZrGeTorus&>(surface))
                                                                 : Surface{};
    case ZrGe::kNurbSurface:
        return {spline(static_cast<const ZrGeNurbSurface&>(surface))};
    default:
        return {};
    }
}

} // namespace

namespace {

// A kernel spline (Spline, with pole array Poles) from a host NURBS curve.
template <typename Spline, typename Poles, typename HostCurve>
Handle(Spline) splineOf(const HostCurve& curve)
{
    try {
        const KnotData knots(curve.knots());
        Poles poles(1, curve.numControlPoints());
        for (int i = 0; i < curve.numControlPoints(); ++i)
            poles.SetValue(i + 1, toGp(curve.controlPointAt(i)));
        if (!curve.isRational())
            return new Spline(poles, knots.knots, knots.mults, curve.degree());
        TColStd_Array1OfReal weights(1, curve.numControlPoints());
        for (int i = 0; i < curve.numControlPoints(); ++i)
            weights.SetValue(i + 1, curve.weightAt(i));
        return new Spline(poles, weights, knots.knots, knots.mults, curve.degree());
    } catch (const Standard_Failure&) {
        return nullptr;
    }
}

} // namespace

Handle(Geom_BSplineCurve) buildSpline(const ZrGeNurbCurve3d& curve)
{
    return splineOf<Geom_BSplineCurve, TColgp_Array1OfPnt>(curve);
}

Handle(Geom2d_BSplineCurve) buildSpline(const ZrGeNurbCurve2d& curve)
{
    return splineOf<Geom2d_BSplineCurve, TColgp_Array1OfPnt2d>(curve);
}

Handle(Geom_BSplineSurface) buildSpline(const ZrGeNurbSurface& surface)
{
    try {
        const KnotData uKnots(surface.uKnots());
        const KnotData vKnots(surface.vKnots());
        const int nu = surface.numControlPointsInU();
        const int nv = surface.numControlPointsInV();
        TColgp_Array2OfPnt poles(1, nu, 1, nv);
        TColStd_Array2OfReal weights(1, nu, 1, nv);
        for (int i = 0; i < nu; ++i)
            for (int j = 0; j < nv; ++j) {
                poles.SetValue(i + 1, j + 1, toGp(surface.controlPointAt(i, j)));
                weights.SetValue(i + 1, j + 1, surface.weightAt(i, j));
            }
        if (!surface.isRational())
            return new Geom_BSplineSurface(poles, uKnots.knots, vKnots.knots, uKnots.mults, vKnots.mults,
                                           surface.degreeInU(), surface.degreeInV());
        return new Geom_BSplineSurface(poles, weights, uKnots.knots, vKnots.knots, uKnots.mults, vKnots.mults,
                                       surface.degreeInU(), surface.degreeInV());
    } catch (const Standard_Failure&) {
        return nullptr;
    }
}

ZrGeNurbCurve3d hostCurve(const Handle(Geom_BSplineCurve)& spline)
{
    ZrGePoint3dArray points;
    for (int i = 1; i <= spline->NbPoles(); ++i)
        points.append(toZr(spline->Pole(i)));
    return ZrGeNurbCurve3d(spline->Degree(), flatKnots(spline->Knots(), spline->Multiplicities()), points,
                           weightsOf(spline->Weights()), false);
}

ZrGeNurbCurve2d hostCurve(const Handle(Geom2d_BSplineCurve)& spline)
{
    ZrGePoint2dArray points;
    for (int i = 1; i <= spline->NbPoles(); ++i)
        points.append(toZr(spline->Pole(i)));
    return ZrGeNurbCurve2d(spline->Degree(), flatKnots(spline->Knots(), spline->Multiplicities()), points,
                           weightsOf(spline->Weights()), false);
}

Curve curve(const ZrGeCurve3d& curve)
{
    try {
        switch (curve.type()) {
        case ZrGe::kLineSeg3d:
            return {lineCurve(static_cast<const ZrGeLineSeg3d&>(curve))};
        case ZrGe::kCircArc3d: {
            const auto& arc = static_cast<const ZrGeCircArc3d&>(curve);
            const gp_Ax2 frame(toGp(arc.center()), toGpDir(arc.normal()), toGpDir(arc.refVec()));
            return {new Geom_Circle(frame, arc.radius())};
        }
        case ZrGe::kEllipArc3d:
            return ellipseCurve(static_cast<const ZrGeEllipArc3d&>(curve));
        case ZrGe::kNurbCurve3d:
            return {spline(static_cast<const ZrGeNurbCurve3d&>(curve))};
        default:
            return {};
        }
    } catch (const Standard_Failure&) {
        return {};
    }
}

Surface surface(const ZrGeSurface& surface)
{
    try {
        return surfaceOf(surface);
    } catch (const Standard_Failure&) {
        return {};
    }
}

namespace {

// The best of the ends and of the projector's (Projector) perpendicular feet.
template <typename Projector, typename Curve, typename Point>
double nearestOn(const Curve& curve, const Point& point, double first, double last)
{
    double best = first;
    double bestDistance = curve->Value(first).Distance(point);
    const auto consider = [&](double param) {
        const double distance = curve->Value(param).Distance(point);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = param;
        }
    };
    consider(last);
    try {
        Projector projector(point, curve, first, last);
        for (int i = 1; i <= projector.NbPoints(); ++i)
            consider(projector.Parameter(i));
    } catch (const Standard_Failure&) {
        // The ends are the answer then.
    }
    return best;
}

} // namespace

double nearestParam(const Handle(Geom_Curve)& curve, const gp_Pnt& point, double first, double last)
{
    return nearestOn<GeomAPI_ProjectPointOnCurve>(curve, point, first, last);
}

double nearestParam(const Handle(Geom2d_Curve)& curve, const gp_Pnt2d& point, double first, double last)
{
    return nearestOn<Geom2dAPI_ProjectPointOnCurve>(curve, point, first, last);
}

namespace {

// Whole widths of [low, high] that take value back inside it.
double widthsBack(double value, double low, double high)
{
    const double width = high - low;
    const double slack = 1e-9 * std::max(1.0, width);
    if (value < low - slack)
        return std::ceil((low - slack - value) / width) * width;
    if (value > high + slack)
        return -std::ceil((value - high - slack) / width) * width;
    return 0.0;
}

} // namespace

Handle(Geom2d_Curve) intoClosedRange(const Handle(Geom2d_Curve)& curve, const Geom_Surface& surface, double first,
                                     double last)
{
    if (curve.IsNull())
        return curve;
    double u1 = 0.0, u2 = 0.0, v1 = 0.0, v2 = 0.0;
    surface.Bounds(u1, u2, v1, v2);
    const gp_Pnt2d middle = curve->Value(0.5 * (first + last));
    const double du = surface.IsUClosed() && !surface.IsUPeriodic() ? widthsBack(middle.X(), u1, u2) : 0.0;
    const double dv = surface.IsVClosed() && !surface.IsVPeriodic() ? widthsBack(middle.Y(), v1, v2) : 0.0;
    if (du == 0.0 && dv == 0.0)
        return curve;
    return Handle(Geom2d_Curve)::DownCast(curve->Translated(gp_Vec2d(du, dv)));
}

} // namespace GeKernel
