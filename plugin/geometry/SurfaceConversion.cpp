#include "geometry/SurfaceConversion.h"

#include <BRepTools.hxx>
#include <BRep_Tool.hxx>
#include <ElCLib.hxx>
#include <GeomConvert.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Plane.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Geom_SurfaceOfLinearExtrusion.hxx>
#include <Geom_SurfaceOfRevolution.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>

#include <zrbase/ZrGeCone.h>
#include <zrbase/ZrGeCylinder.h>
#include <zrbase/ZrGeNurbSurface.h>
#include <zrbase/ZrGePlane.h>
#include <zrbase/ZrGeSphere.h>
#include <zrbase/ZrGeTorus.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "geometry/EdgeLoops.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
// How far an extrusion's surface reaches along its direction at least.
constexpr double kExtrusionReach = 1000.0;

// One face being converted.
struct FaceJob {
    ConversionContext& context;
    const TopoDS_Face& face;
    const gp_Trsf& faceTrsf;
    const gp_Trsf& shapeTrsf;
    const ShapeColour& faceColour;
    BrepBuilderInitialData& record;
    FaceEntry& entry;
    std::vector<CollectedWire> wires;
    // The host surface is the face's own spline: it has its parameters.
    bool keepsParameters = false;
};

// A surface's position moved into the world.
struct Frame {
    ZrGePoint3d origin;
    ZrGeVector3d axis;
    ZrGeVector3d ref;
    double scale = 1.0; // lengths grow by this

    Frame(const gp_Ax3& position, const gp_Trsf& trsf)
    {
        const gp_Pnt location = position.Location().Transformed(trsf);
        const gp_Dir main = position.Direction().Transformed(trsf);
        const gp_Dir x = position.XDirection().Transformed(trsf);
        origin = ZrGePoint3d(location.X(), location.Y(), location.Z());
        axis = ZrGeVector3d(main.X(), main.Y(), main.Z());
        ref = ZrGeVector3d(x.X(), x.Y(), x.Z());
        scale = std::fabs(trsf.ScaleFactor());
    }
};

ZrGePoint3d worldPoint(const gp_Pnt& point, const gp_Trsf& trsf)
{
    const gp_Pnt moved = point.Transformed(trsf);
    return ZrGePoint3d(moved.X(), moved.Y(), moved.Z());
}

ZrGeInterval unbounded() { return ZrGeInterval(1e-12); }

using SurfaceMaker = std::function<std::unique_ptr<ZrGeSurface>(FaceJob&)>;

// The map from the kernel surface's parameters to those of a host surface
// made from it by a conversion, found from points of the face; false when
// the conversion changed the parameterisation beyond such a map.
bool parameterMapOf(const FaceJob& job, const ZrGeSurface& host, ParameterMap& map)
{
    double u1 = 0.0, u2 = 0.0, v1 = 0.0, v2 = 0.0;
    try {
        BRepTools::UVBounds(job.face, u1, u2, v1, v2);
    } catch (const Standard_Failure&) {
        return false;
    }
    if (!(u2 > u1) || !(v2 > v1))
        return false;
    const Handle(Geom_Surface) kernel = BRep_Tool::Surface(job.face);
    const auto world = [&](double u, double v) { return worldPoint(kernel->Value(u, v), job.faceTrsf); };
    const ZrGePoint2d a = host.paramOf(world(u1, v1)), b = host.paramOf(world(u2, v1)),
                      c = host.paramOf(world(u1, v2));
    map.scaleU = (b.x - a.x) / (u2 - u1);
    map.offsetU = a.x - map.scaleU * u1;
    map.scaleV = (c.y - a.y) / (v2 - v1);
    map.offsetV = a.y - map.scaleV * v1;
    const double size = world(u1, v1).distanceTo(world(u2, v2)) + world(u1, v2).distanceTo(world(u2, v1));
    const ZrGeTol tol(std::max(1e-9, 1e-7 * size), 1e-9);
    for (const auto& f : {std::make_pair(1.0, 1.0), std::make_pair(0.5, 0.5), std::make_pair(0.3, 0.7),
                          std::make_pair(0.8, 0.2)}) {
        const double u = u1 + f.first * (u2 - u1), v = v1 + f.second * (v2 - v1);
        const ZrGePoint2d mapped(map.scaleU * u + map.offsetU, map.scaleV * v + map.offsetV);
        if (!host.evalPoint(mapped).isEqualTo(world(u, v), tol))
            return false;
    }
    return true;
}

// The face's own parameter curves go with a spline surface: carried over
// when the host spline has the face's parameters or a map of them.
void carryParameterCurves(FaceJob& job, const ZrGeSurface& host)
{
    if (job.keepsParameters || !host.isKindOf(ZrGe::kNurbSurface))
        return;
    ParameterMap map;
    const bool mapped = parameterMapOf(job, host, map);
    mapKernelParameterCurves(job.wires, mapped ? &map : nullptr);
}

// The steps every surface kind shares: wires first, then the surface, then
// the loops on it.
void runProcedure(FaceJob& job, const SurfaceMaker& makeSurface)
{
    if (!collectFaceWires(job.face, job.shapeTrsf, job.wires))
        return;
    std::unique_ptr<ZrGeSurface> surface = makeSurface(job);
    if (!surface)
        return;
    carryParameterCurves(job, *surface);
    job.entry.surface = SharedRef<ZrGeSurface>(surface.release());
    job.entry.reserved48 = 0;
    job.entry.reserved56 = 0;
    buildFaceLoops(job.wires, job.faceColour, job.record, job.entry, job.context.edgeMap, job.context.vertexMap);
}

std::unique_ptr<ZrGeSurface> planeOf(const Geom_Plane& plane, const gp_Trsf& trsf)
{
    const Frame frame(plane.Position(), trsf);
    return std::make_unique<ZrGePlane>(frame.origin, frame.axis);
}

std::unique_ptr<ZrGeSurface> cylinderOf(const Geom_CylindricalSurface& cylinder, const gp_Trsf& trsf)
{
    const Frame frame(cylinder.Position(), trsf);
    return std::make_unique<ZrGeCylinder>(cylinder.Radius() * frame.scale, frame.origin, frame.axis, frame.ref,
                                          unbounded(), -kPi, kPi);
}

std::unique_ptr<ZrGeSurface> sphereOf(const Geom_SphericalSurface& sphere, const gp_Trsf& trsf)
{
    const Frame frame(sphere.Position(), trsf);
    return std::make_unique<ZrGeSphere>(sphere.Radius() * frame.scale, frame.origin, frame.axis, frame.ref, -kHalfPi,
                                        kHalfPi, -kPi, kPi);
}

// A point off the apple part of a self-intersecting torus may still be on
// it within the kernel's tolerances; the face is on the lemon part only
// when the point lies nearer to that.
bool nearerToLemon(const ZrGeTorus& apple, const ZrGePoint3d& point)
{
    ZrGeTorus lemon(apple);
    lemon.setMajorRadius(-apple.majorRadius());
    lemon.setMinorRadius(-apple.minorRadius());
    return lemon.closestPointTo(point).distanceTo(point) < apple.closestPointTo(point).distanceTo(point);
}

std::unique_ptr<ZrGeSurface> torusOf(const Geom_ToroidalSurface& kernel, FaceJob& job)
{
    const Frame frame(kernel.Position(), job.faceTrsf);
    const double major = kernel.MajorRadius() * frame.scale;
    const double minor = kernel.MinorRadius() * frame.scale;
    auto torus = std::make_unique<ZrGeTorus>(major, minor, frame.origin, frame.axis, frame.ref, -kPi, kPi, -kPi, kPi);
    if (!torus->isApple())
        return torus;
    for (const CollectedWire& wire : job.wires)
        for (const WireEdge& edge : wire) {
            ZrGePoint3d ends[2];
            const bool known[2] = {edge.curve->hasStartPoint(ends[0]), edge.curve->hasEndPoint(ends[1])};
            for (int i = 0; i < 2; ++i) {
                if (!known[i] || torus->isOn(ends[i], ZrGeContext::gTol))
                    continue;
                if (nearerToLemon(*torus, ends[i])) {
                    torus->setMajorRadius(-major);
                    torus->setMinorRadius(-minor);
                }
                return torus;
            }
        }
    return torus;
}

// A point of the face that tells its nappe: the start of its first edge,
// unless that is the apex, which lies on both nappes (the seam of a pointed
// cone starts there); then the first edge middle away from the apex.
ZrGePoint3d nappeProbe(const std::vector<CollectedWire>& wires, const ZrGePoint3d& apex, const ZrGeTol& tol)
{
    const ZrGePoint3d& start = wires.front().front().startPoint;
    if (!start.isEqualTo(apex, tol))
        return start;
    for (const CollectedWire& wire : wires)
        for (const WireEdge& edge : wire) {
            ZrGeInterval range(1e-12);
            edge.curve->getInterval(range);
            const ZrGePoint3d middle = edge.curve->evalPoint(0.5 * (range.lowerBound() + range.upperBound()));
            if (!middle.isEqualTo(apex, tol))
                return middle;
        }
    return start;
}

// The host cone is one nappe whose normal points away from the axis. The
// kernel cone is both nappes, its normal pointing away from the axis on the
// nappe its reference circle lies on (+Z from the apex for a positive
// semi-angle) and toward the axis on the other: a face on that other nappe
// turns round against the host cone.
std::unique_ptr<ZrGeSurface> coneOf(const Geom_ConicalSurface& kernel, FaceJob& job)
{
    const Frame frame(kernel.Position(), job.faceTrsf);
    const ZrGePoint3d apex = worldPoint(kernel.Apex(), job.faceTrsf);
    double height = 100.0 * apex.distanceTo(frame.origin);
    if (std::fabs(height) <= 1e-10)
        height = 100.0;
    const double semiAngle = kernel.SemiAngle();
    const double c = std::cos(semiAngle), s = std::sin(semiAngle);
    if (std::fabs(c) <= 1e-10)
        return nullptr;
    const double radius = (s / c) * height;
    auto cone = std::make_unique<ZrGeCone>(c, s, apex + frame.axis * height, radius, frame.axis, frame.ref,
                                           unbounded(), -kPi, kPi);
    const ZrGeTol nappeTol(0.001, 0.001);
    const ZrGePoint3d probe = nappeProbe(job.wires, apex, nappeTol);
    bool otherNappe = false;
    if (!cone->isOn(probe, nappeTol)) {
        cone->set(c, s, apex - frame.axis * height, radius, -frame.axis, frame.ref, unbounded(), -kPi, kPi);
        if (!cone->isOn(probe, nappeTol))
            return nullptr;
        otherNappe = true;
    }
    if (otherNappe != (semiAngle < 0.0))
        job.entry.direction ^= 1;
    return cone;
}

ZrGeKnotVector flatKnots(const TColStd_Array1OfReal& knots, const TColStd_Array1OfInteger& multiplicities)
{
    ZrGeKnotVector flat(ZrGeKnotVector::globalKnotTolerance);
    for (int i = knots.Lower(); i <= knots.Upper(); ++i)
        for (int m = 0; m < multiplicities(i); ++m)
            flat.append(knots(i));
    return flat;
}

// Made non-periodic, a spline keeps the period that starts at its first
// knot. A face across that knot would fall apart: start the period where
// the face starts instead (a knot inserted there changes nothing of the
// shape). first and last are the face's range in that direction.
void openAtFaceStart(Geom_BSplineSurface& spline, bool inU, double first, double last)
{
    const double low = inU ? spline.UKnot(1) : spline.VKnot(1);
    const double period = inU ? spline.UPeriod() : spline.VPeriod();
    const double tol = Precision::PConfusion();
    if (!(last - first < period + tol))
        return;
    const double start = ElCLib::InPeriod(first, low, low + period);
    if (start + (last - first) <= low + period + tol)
        return; // the face fits the period as it is
    if (inU)
        spline.InsertUKnot(start, 1, tol);
    else
        spline.InsertVKnot(start, 1, tol);
    const int count = inU ? spline.NbUKnots() : spline.NbVKnots();
    for (int i = 1; i <= count; ++i) {
        const double knot = inU ? spline.UKnot(i) : spline.VKnot(i);
        if (std::fabs(knot - start) <= tol) {
            if (inU)
                spline.SetUOrigin(i);
            else
                spline.SetVOrigin(i);
            return;
        }
    }
}

// The face's parameter box on its own surface, when that surface is the
// spline being converted; otherwise the spline's own box.
void faceBounds(const TopoDS_Face& face, const Handle(Geom_BSplineSurface)& spline, double& u1, double& u2,
                double& v1, double& v2)
{
    spline->Bounds(u1, u2, v1, v2);
    Handle(Geom_Surface) own = BRep_Tool::Surface(face);
    while (auto trimmed = Handle(Geom_RectangularTrimmedSurface)::DownCast(own))
        own = trimmed->BasisSurface();
    if (own != spline)
        return;
    try {
        BRepTools::UVBounds(face, u1, u2, v1, v2);
    } catch (const Standard_Failure&) {
        spline->Bounds(u1, u2, v1, v2);
    }
}

std::unique_ptr<ZrGeSurface> nurbsOf(Handle(Geom_BSplineSurface) spline, const gp_Trsf& trsf,
                                     const TopoDS_Face& face)
{
    if (spline->IsUPeriodic() || spline->IsVPeriodic()) {
        double u1 = 0.0, u2 = 0.0, v1 = 0.0, v2 = 0.0;
        faceBounds(face, spline, u1, u2, v1, v2);
        // Work on a copy: the kernel surface may be shared with other threads.
        spline = Handle(Geom_BSplineSurface)::DownCast(spline->Copy());
        try {
            if (spline->IsUPeriodic())
                openAtFaceStart(*spline, true, u1, u2);
            if (spline->IsVPeriodic())
                openAtFaceStart(*spline, false, v1, v2);
        } catch (const Standard_Failure&) {
            // The period stays where it was.
        }
        spline->SetUNotPeriodic();
        spline->SetVNotPeriodic();
    }
    const bool rational = spline->IsURational() || spline->IsVRational();
    ZrGePoint3dArray points;
    ZrGeDoubleArray weights;
    for (int i = 1; i <= spline->NbUPoles(); ++i)
        for (int j = 1; j <= spline->NbVPoles(); ++j) {
            points.append(worldPoint(spline->Pole(i, j), trsf));
            if (rational)
                weights.append(spline->Weight(i, j));
        }
    auto surface = std::make_unique<ZrGeNurbSurface>(
        spline->UDegree(), spline->VDegree(), 0, 0, spline->NbUPoles(), spline->NbVPoles(), points, weights,
        flatKnots(spline->UKnots(), spline->UMultiplicities()), flatKnots(spline->VKnots(), spline->VMultiplicities()),
        ZrGeContext::gTol);
    if (!surface->isValid())
        return nullptr;
    return surface;
}

// A surface the kernel converts into a B-spline surface; none when it cannot.
Handle(Geom_BSplineSurface) toSpline(const Handle(Geom_Surface)& surface)
{
    try {
        return GeomConvert::SurfaceToBSplineSurface(surface);
    } catch (const Standard_Failure&) {
        return nullptr;
    }
}

// The extrusion cut to its curve and to at least +-1000 along its
// direction, reaching further when the face does, and to the face's own
// extent along an unbounded curve.
Handle(Geom_Surface) trimmedExtrusion(const Handle(Geom_SurfaceOfLinearExtrusion)& extrusion, const TopoDS_Face& face)
{
    const Handle(Geom_Curve) basis = extrusion->BasisCurve();
    double u1 = basis->FirstParameter(), u2 = basis->LastParameter();
    double v1 = -kExtrusionReach, v2 = kExtrusionReach;
    try {
        double faceU1 = 0.0, faceU2 = 0.0, faceV1 = 0.0, faceV2 = 0.0;
        BRepTools::UVBounds(face, faceU1, faceU2, faceV1, faceV2);
        const double margin = 1e-3 * std::max(1.0, faceV2 - faceV1);
        v1 = std::min(v1, faceV1 - margin);
        v2 = std::max(v2, faceV2 + margin);
        if (Precision::IsInfinite(u1) || Precision::IsInfinite(u2)) {
            u1 = faceU1;
            u2 = faceU2;
        }
        return new Geom_RectangularTrimmedSurface(extrusion, u1, u2, v1, v2, basis->IsClosed(), false);
    } catch (const Standard_Failure&) {
        return nullptr;
    }
}

void convertOn(FaceJob& job, const Handle(Geom_Surface)& surface);

void convertExtrusion(FaceJob& job, const Handle(Geom_SurfaceOfLinearExtrusion)& extrusion)
{
    const Handle(Geom_Surface) trimmed = trimmedExtrusion(extrusion, job.face);
    const Handle(Geom_BSplineSurface) spline = trimmed.IsNull() ? nullptr : toSpline(trimmed);
    if (spline.IsNull())
        return;
    runProcedure(job, [&](FaceJob& j) {
        std::unique_ptr<ZrGeSurface> surface = nurbsOf(spline, j.faceTrsf, j.face);
        // The trim keeps the direction along a closed curve and turns the
        // other one round: the surface's normal is then the other way.
        if (surface && extrusion->BasisCurve()->IsClosed())
            j.entry.direction ^= 1;
        return surface;
    });
}

void convertOn(FaceJob& job, const Handle(Geom_Surface)& surface)
{
    if (auto plane = Handle(Geom_Plane)::DownCast(surface))
        runProcedure(job, [&](FaceJob& j) { return planeOf(*plane, j.faceTrsf); });
    else if (auto spline = Handle(Geom_BSplineSurface)::DownCast(surface))
        runProcedure(job, [&](FaceJob& j) {
            j.keepsParameters = true;
            return nurbsOf(spline, j.faceTrsf, j.face);
        });
    else if (auto cylinder = Handle(Geom_CylindricalSurface)::DownCast(surface))
        runProcedure(job, [&](FaceJob& j) { return cylinderOf(*cylinder, j.faceTrsf); });
    else if (auto cone = Handle(Geom_ConicalSurface)::DownCast(surface))
        runProcedure(job, [&](FaceJob& j) { return coneOf(*cone, j); });
    else if (auto torus = Handle(Geom_ToroidalSurface)::DownCast(surface))
        runProcedure(job, [&](FaceJob& j) { return torusOf(*torus, j); });
    else if (auto sphere = Handle(Geom_SphericalSurface)::DownCast(surface))
        runProcedure(job, [&](FaceJob& j) { return sphereOf(*sphere, j.faceTrsf); });
    else if (surface->IsKind(STANDARD_TYPE(Geom_SurfaceOfRevolution))) {
        const Handle(Geom_BSplineSurface) converted = toSpline(surface);
        if (!converted.IsNull())
            runProcedure(job, [&](FaceJob& j) { return nurbsOf(converted, j.faceTrsf, j.face); });
    } else if (auto extrusion = Handle(Geom_SurfaceOfLinearExtrusion)::DownCast(surface))
        convertExtrusion(job, extrusion);
}

} // namespace

void convertFace(ConversionContext& context, const TopoDS_Face& face, const Handle(Geom_Surface)& surface,
                 const gp_Trsf& faceTrsf, const gp_Trsf& shapeTrsf, const ShapeColour& faceColour,
                 BrepBuilderInitialData& record, Shell& faceList)
{
    if (surface.IsNull())
        return;
    // A trimmed surface is its basis: the face's wires bound it anyway.
    if (auto trimmed = Handle(Geom_RectangularTrimmedSurface)::DownCast(surface)) {
        convertFace(context, face, trimmed->BasisSurface(), faceTrsf, shapeTrsf, faceColour, record, faceList);
        return;
    }
    FaceEntry entry;
    entry.direction = face.Orientation() == TopAbs_REVERSED ? 1 : 0;
    FaceJob job{context, face, faceTrsf, shapeTrsf, faceColour, record, entry, {}};
    convertOn(job, surface);
    if (!entry.surface)
        return;
    if (faceColour.hasColour) {
        entry.hasColour = 1;
        entry.colour = faceColour.colour;
    }
    faceList.append(std::move(entry));
}
