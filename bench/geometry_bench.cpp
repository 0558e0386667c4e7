// Prints how long the geometry conversion takes per edge and per face, for
// the curve kinds and faces imports meet most.
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRep_Tool.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_Circle.hxx>
#include <Geom_Line.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <gp_Ax2.hxx>

#include <zrbase/ZrGeNurbSurface.h>
#include <zrbase/ZrGePlane.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>

#include "geometry/CurveConversion.h"
#include "geometry/EdgeLoops.h"

namespace {

ZrGePoint3d hostPoint(const gp_Pnt& p) { return ZrGePoint3d(p.X(), p.Y(), p.Z()); }

// Runs work repeatedly for about half a second and prints the time per run.
void measure(const char* what, const std::function<void()>& work)
{
    using Clock = std::chrono::steady_clock;
    work(); // warm up
    const auto start = Clock::now();
    long runs = 0;
    while (Clock::now() - start < std::chrono::milliseconds(500)) {
        work();
        ++runs;
    }
    const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / runs;
    std::printf("%-48s %10.1f us\n", what, micros);
}

void convertEdge(const TopoDS_Edge& edge)
{
    double first = 0.0, last = 0.0;
    Handle(Geom_Curve) curve = BRep_Tool::Curve(edge, first, last);
    const ZrGePoint3d from = hostPoint(curve->Value(first));
    const ZrGePoint3d to = hostPoint(curve->Value(last));
    convertEdgeCurve(edge, curve, from, to, gp_Trsf());
}

// A cubic through n points on a helix, over [0, 1].
Handle(Geom_BSplineCurve) helix(int n, bool periodic)
{
    TColgp_Array1OfPnt poles(1, n);
    for (int i = 1; i <= n; ++i)
        poles.SetValue(i, gp_Pnt(10 * std::cos(i * 0.3), 10 * std::sin(i * 0.3), i * 0.5));
    const int distinct = periodic ? n + 1 : n - 2;
    TColStd_Array1OfReal knots(1, distinct);
    TColStd_Array1OfInteger mults(1, distinct);
    for (int i = 1; i <= distinct; ++i) {
        knots.SetValue(i, double(i - 1) / (distinct - 1));
        mults.SetValue(i, periodic || (i > 1 && i < distinct) ? 1 : 4);
    }
    return new Geom_BSplineCurve(poles, knots, mults, 3, periodic);
}

Handle(Geom_BSplineSurface) patch(int n)
{
    TColgp_Array2OfPnt poles(1, n, 1, n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            poles.SetValue(i, j, gp_Pnt(i * 10.0, j * 10.0, 5 * std::sin(i * 0.7) * std::cos(j * 0.5)));
    TColStd_Array1OfReal knots(1, n - 2);
    TColStd_Array1OfInteger mults(1, n - 2);
    for (int i = 1; i <= n - 2; ++i) {
        knots.SetValue(i, double(i - 1) / (n - 3));
        mults.SetValue(i, i == 1 || i == n - 2 ? 4 : 1);
    }
    return new Geom_BSplineSurface(poles, knots, knots, mults, mults, 3, 3);
}

ZrGeNurbSurface* hostPatch(const Geom_BSplineSurface& surface)
{
    ZrGePoint3dArray points;
    for (int i = 1; i <= surface.NbUPoles(); ++i)
        for (int j = 1; j <= surface.NbVPoles(); ++j)
            points.append(hostPoint(surface.Pole(i, j)));
    ZrGeKnotVector knots;
    for (int i = 1; i <= surface.NbUKnots(); ++i)
        for (int m = 0; m < surface.UMultiplicity(i); ++m)
            knots.append(surface.UKnot(i));
    return new ZrGeNurbSurface(3, 3, 0, 0, surface.NbUPoles(), surface.NbVPoles(), points, ZrGeDoubleArray(), knots,
                               knots);
}

void buildLoops(const TopoDS_Face& face, const SharedRef<ZrGeSurface>& surface)
{
    std::vector<CollectedWire> wires;
    collectFaceWires(face, gp_Trsf(), wires);
    BrepBuilderInitialData record;
    ConversionContext context;
    FaceEntry entry;
    entry.surface = surface;
    buildFaceLoops(wires, ShapeColour(), record, entry, context.edgeMap, context.vertexMap);
}

} // namespace

int main()
{
    std::printf("Geometry conversion, time per call\n");
    const TopoDS_Edge line = BRepBuilderAPI_MakeEdge(gp_Pnt(0, 0, 0), gp_Pnt(10, 2, 3)).Edge();
    const TopoDS_Edge arc = BRepBuilderAPI_MakeEdge(new Geom_Circle(gp_Ax2(), 5.0), 0.2, 2.0).Edge();
    const TopoDS_Edge spline20 = BRepBuilderAPI_MakeEdge(helix(20, false), 0.1, 0.9).Edge();
    const TopoDS_Edge spline200 = BRepBuilderAPI_MakeEdge(helix(200, false), 0.1, 0.9).Edge();
    const TopoDS_Edge periodic = BRepBuilderAPI_MakeEdge(helix(40, true), 0.2, 0.8).Edge();
    measure("convertEdgeCurve, line", [&] { convertEdge(line); });
    measure("convertEdgeCurve, circular arc", [&] { convertEdge(arc); });
    measure("convertEdgeCurve, trimmed spline, 20 poles", [&] { convertEdge(spline20); });
    measure("convertEdgeCurve, trimmed spline, 200 poles", [&] { convertEdge(spline200); });
    measure("convertEdgeCurve, periodic spline, 40 poles", [&] { convertEdge(periodic); });

    TopTools_IndexedMapOfShape faces;
    TopExp::MapShapes(BRepPrimAPI_MakeBox(10, 20, 30).Shape(), TopAbs_FACE, faces);
    const SharedRef<ZrGeSurface> plane(new ZrGePlane());
    measure("wires and loops, box face (4 lines)", [&] { buildLoops(TopoDS::Face(faces(1)), plane); });
    TopTools_IndexedMapOfShape sides;
    TopExp::MapShapes(BRepPrimAPI_MakeCylinder(5, 10).Shape(), TopAbs_FACE, sides);
    measure("wires and loops, cylinder side (seam)", [&] { buildLoops(TopoDS::Face(sides(1)), plane); });

    for (int n : {6, 20}) {
        const Handle(Geom_BSplineSurface) surface = patch(n);
        const TopoDS_Face face = BRepBuilderAPI_MakeFace(surface, 1e-7).Face();
        const SharedRef<ZrGeSurface> host(hostPatch(*surface));
        char what[80];
        std::snprintf(what, sizeof what, "wires, loops, parameter curves, %dx%d patch", n, n);
        measure(what, [&] { buildLoops(face, host); });
    }
    return 0;
}
