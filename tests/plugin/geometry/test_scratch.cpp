// scratch: per-face diagnosis of a file (not committed)
#include <gtest/gtest.h>
#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>
#include <BRep_Tool.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <IGESControl_Reader.hxx>
#include <STEPControl_Reader.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_OffsetSurface.hxx>
#include <cstdlib>
#include <string>
#include "GeometryTestSupport.h"
#include "geometry/EdgeLoops.h"
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopExp.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepBuilderAPI_Copy.hxx>
#include <ShapeCustom.hxx>
#include <Poly_Triangulation.hxx>
#include <BRepBuilderAPI_NurbsConvert.hxx>
#include <Geom2d_Curve.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Wire.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
TEST(Scratch, Faces)
{
    const char* path = getenv("SCRATCH_FILE");
    if (!path) return;
    std::string p = path;
    TopoDS_Shape shape;
    if (p.find(".ig") != std::string::npos) { IGESControl_Reader r; r.ReadFile(path); r.TransferRoots(); shape = r.OneShape(); }
    else { STEPControl_Reader r; r.ReadFile(path); r.TransferRoots(); shape = r.OneShape(); }
    support::HostServices host;
    if (getenv("SCRATCH_SOLIDS")) {
        int k = 0;
        for (TopExp_Explorer so(shape, TopAbs_SOLID); so.More(); so.Next()) {
            ++k;
            support::Converted c = support::convert(so.Current());
            GProp_GProps g; BRepGProp::VolumeProperties(so.Current(), g, 1e-7);
            double vol = 0; std::string report = "no body";
            if (!c.entities.empty()) if (auto* b = support::bodyOf(c.entities[0])) { vol = b->volume(); report = b->validityReport(); }
            if (!report.empty() || std::fabs(vol - g.Mass()) > 1e-3 * std::fabs(g.Mass()))
                printf("solid %d src %g made %g | %s\n", k, g.Mass(), vol, report.c_str());
        }
        return;
    }
    if (const char* pick = getenv("SCRATCH_SOLID")) {
        int k = 0;
        for (TopExp_Explorer so(shape, TopAbs_SOLID); so.More(); so.Next())
            if (++k == atoi(pick)) { shape = so.Current(); break; }
    }
    int i = 0;
    const char* only = getenv("SCRATCH_FACE");
    for (TopExp_Explorer f(shape, TopAbs_FACE); f.More(); f.Next()) {
        ++i;
        if (only && atoi(only) != i) continue;
        TopoDS_Face face = TopoDS::Face(f.Current());
        GProp_GProps g; BRepGProp::SurfaceProperties(face, g, 1e-7);
        { GProp_GProps g2, g3; BRepGProp::SurfaceProperties(BRepBuilderAPI_NurbsConvert(face).Shape(), g2, 1e-7); BRepGProp::SurfaceProperties(face, g3);
          TopoDS_Shape copy = BRepBuilderAPI_Copy(face).Shape(); BRepMesh_IncrementalMesh(copy, 1e-4, false, 0.05);
          double tri = 0; TopLoc_Location L; auto T = BRep_Tool::Triangulation(TopoDS::Face(copy), L);
          if (!T.IsNull()) for (int t = 1; t <= T->NbTriangles(); ++t) { int a,b,c; T->Triangle(t).Get(a,b,c); gp_Vec u(T->Node(a), T->Node(b)), v(T->Node(a), T->Node(c)); tri += 0.5 * u.Crossed(v).Magnitude(); }
          GProp_GProps g4; BRepGProp::SurfaceProperties(ShapeCustom::ConvertToBSpline(face, true, true, true), g4, 1e-7);
          printf("  area adaptive %g nurbs %g plain %g mesh %g custom %g\n", g.Mass(), g2.Mass(), g3.Mass(), tri, g4.Mass()); }
        Handle(Geom_Surface) s = BRep_Tool::Surface(face);
        std::string kind = s->DynamicType()->Name();
        if (auto t = Handle(Geom_RectangularTrimmedSurface)::DownCast(s)) kind += std::string("/") + t->BasisSurface()->DynamicType()->Name();
        if (auto t = Handle(Geom_ToroidalSurface)::DownCast(s)) printf("  torus R %g r %g\n", t->MajorRadius(), t->MinorRadius());
        if (auto k = Handle(Geom_ConicalSurface)::DownCast(s)) printf("  cone angle %g radius %g axis (%g %g %g) apex (%g %g %g) direct %d\n", k->SemiAngle(), k->RefRadius(), k->Axis().Direction().X(), k->Axis().Direction().Y(), k->Axis().Direction().Z(), k->Apex().X(), k->Apex().Y(), k->Apex().Z(), k->Position().Direct() ? 1 : 0);
        int nw = 0, ne = 0; for (TopExp_Explorer w(face, TopAbs_WIRE); w.More(); w.Next()) ++nw; for (TopExp_Explorer e(face, TopAbs_EDGE); e.More(); e.Next()) ++ne;
        if (getenv("SCRATCH_SRC")) {
            for (TopExp_Explorer w(face, TopAbs_WIRE); w.More(); w.Next()) for (TopExp_Explorer e(w.Current(), TopAbs_EDGE); e.More(); e.Next()) {
                TopoDS_Edge ed = TopoDS::Edge(e.Current()); double a, b; Handle(Geom_Curve) c = BRep_Tool::Curve(ed, a, b);
                double a2, b2; Handle(Geom2d_Curve) pc = BRep_Tool::CurveOnSurface(ed, face, a2, b2);
                gp_Pnt2d p0 = pc->Value(a2), p1 = pc->Value(b2);
                printf("  src edge ori %d %s [%g %g] len3d %g tol %g pc (%g %g)->(%g %g)\n", ed.Orientation(), c.IsNull() ? "none" : c->DynamicType()->Name(), a, b,
                  c.IsNull() ? 0.0 : c->Value(a).Distance(c->Value(b)), BRep_Tool::Tolerance(ed), p0.X(), p0.Y(), p1.X(), p1.Y());
            }
        }
        if (getenv("SCRATCH_EDGES")) {
            std::vector<CollectedWire> wires;
            collectFaceWires(face, gp_Trsf(), wires);
            TopTools_IndexedMapOfShape edges; TopExp::MapShapes(face, TopAbs_EDGE, edges);
            for (auto& wire : wires) for (auto& use : wire) {
                ZrGeInterval r(1e-12); use.curve->getInterval(r);
                double worst = 0;
                for (int k = 0; k <= 8; ++k) {
                    ZrGePoint3d q = use.curve->evalPoint(r.lowerBound() + (r.upperBound() - r.lowerBound()) * k / 8);
                    double best = 1e100;
                    for (int e = 1; e <= edges.Extent(); ++e) {
                        BRepExtrema_DistShapeShape d(BRepBuilderAPI_MakeVertex(gp_Pnt(q.x, q.y, q.z)).Vertex(), edges(e));
                        if (d.IsDone()) best = std::min(best, d.Value());
                    }
                    worst = std::max(worst, best);
                }
                printf("  edge kind %d rev %d (%g %g %g)->(%g %g %g) off source %g\n", use.curve->type(), use.reversed, use.startPoint.x, use.startPoint.y, use.startPoint.z, use.endPoint.x, use.endPoint.y, use.endPoint.z, worst);
            }
        }
        if (getenv("SCRATCH_WRITE")) BRepTools::Write(face, (std::string(getenv("SCRATCH_WRITE")) + "-src.brep").c_str());
        support::Converted c = support::convert(face);
        double area = 0; std::string report = "no body";
        double meshArea = 0;
        if (!c.entities.empty()) if (auto* b = support::bodyOf(c.entities[0])) { area = b->area(); report = b->validityReport();
            ZrModelerMesh m; ZrModelerMeshParams mp; mp.chordTolerance = 1e-4; mp.angleTolerance = 0.05; b->tessellate(mp, m);
            for (int t = 0; t < m.numTriangles(); ++t) { auto& A = m.points[m.triangles[3*t]]; auto& B = m.points[m.triangles[3*t+1]]; auto& C = m.points[m.triangles[3*t+2]]; meshArea += 0.5 * (B - A).crossProduct(C - A).length(); } }
        if (getenv("SCRATCH_MESH")) printf("  made mesh area %g\n", meshArea);
        double rel = g.Mass() != 0 ? (area - g.Mass()) / g.Mass() : 0;
        if (getenv("SCRATCH_ALL") || std::fabs(rel) > 1e-3 || !report.empty())
            printf("face %d %s ori %d wires %d edges %d src %g (valid %d) made %g rel %.4g | %s\n", i, kind.c_str(), face.Orientation(), nw, ne, g.Mass(),
               BRepCheck_Analyzer(face).IsValid() ? 1 : 0, area, rel, report.c_str());
    }
}

TopoDS_Face withReversedWire2(const TopoDS_Face& face)
{
    const TopoDS_Wire outer = BRepTools::OuterWire(face);
    std::vector<TopoDS_Shape> edges;
    for (TopoDS_Iterator it(outer); it.More(); it.Next())
        edges.push_back(it.Value().Reversed());
    BRep_Builder builder;
    TopoDS_Wire stored;
    builder.MakeWire(stored);
    for (auto edge = edges.rbegin(); edge != edges.rend(); ++edge)
        builder.Add(stored, *edge);
    TopoDS_Face result = TopoDS::Face(face.EmptyCopied());
    builder.Add(result, stored.Reversed());
    return result;
}
TEST(Scratch, Rev)
{
    TopTools_IndexedMapOfShape faces; TopExp::MapShapes(BRepPrimAPI_MakeBox(1, 2, 3).Shape(), TopAbs_FACE, faces);
    TopoDS_Face f = TopoDS::Face(faces(3));
    for (auto face : {f, withReversedWire2(f)}) {
        printf("face ori %d\n", face.Orientation());
        for (TopExp_Explorer w(face, TopAbs_WIRE); w.More(); w.Next()) { printf(" wire %d\n", w.Current().Orientation());
          for (TopExp_Explorer e(w.Current(), TopAbs_EDGE); e.More(); e.Next()) printf("  edge %d %p\n", e.Current().Orientation(), (void*)e.Current().TShape().get()); }
        std::vector<CollectedWire> wires; collectFaceWires(face, gp_Trsf(), wires);
        for (auto& u : wires[0]) printf("  use rev %d (%g %g %g)\n", u.reversed, u.firstPoint.x, u.firstPoint.y, u.firstPoint.z);
    }
}
#include <BRepBuilderAPI_MakeFace.hxx>
TEST(Scratch, FarNappe)
{
    support::HostServices host;
    for (double dz : {1.0, -1.0})
    for (auto range : {std::make_pair(-24.0, -18.0), std::make_pair(2.0, 8.0)}) {
        Handle(Geom_ConicalSurface) cone = new Geom_ConicalSurface(gp_Ax3(gp_Pnt(0, 0, 0), gp_Dir(0, 0, dz), gp_Dir(1, 0, 0)), 0.785398, 7.5);
        TopoDS_Face face = BRepBuilderAPI_MakeFace(cone, 0.0, 2.0, range.first, range.second, 1e-7).Face();
        GProp_GProps g; BRepGProp::SurfaceProperties(face, g, 1e-7);
        support::Converted c = support::convert(face);
        const ZrModelerGeometry* b = c.entities.empty() ? nullptr : support::bodyOf(c.entities[0]);
        printf("axis z %g v [%g %g] src %g made %g valid %d %s\n", dz, range.first, range.second, g.Mass(), b ? b->area() : 0.0, b ? b->isValid() : 0, b ? b->validityReport().c_str() : "");
        TopoDS_Face rev = TopoDS::Face(face.Reversed());
        support::Converted c2 = support::convert(rev);
        const ZrModelerGeometry* b2 = c2.entities.empty() ? nullptr : support::bodyOf(c2.entities[0]);
        printf("   reversed made %g valid %d\n", b2 ? b2->area() : 0.0, b2 ? b2->isValid() : 0);
    }
}
