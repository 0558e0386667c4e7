// Face wires into chained loops of the builder record.
#include <gtest/gtest.h>

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCone.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <BRep_Builder.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <STEPControl_Reader.hxx>
#include <Geom_Plane.hxx>
#include <gp_Pln.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Wire.hxx>
#include <BRepTools.hxx>
#include <algorithm>

#include <zrbase/ZrGeLineSeg3d.h>
#include <zrbase/ZrGeNurbSurface.h>
#include <zrbase/ZrGePlane.h>
#include <zrbase/ZrGeSphere.h>

#include <set>

#include "Fixtures.h"
#include "KernelShapes.h"
#include "geometry/EdgeLoops.h"

namespace {

using shapes::hostPoint;

const ZrGeTol fitTol(1e-5, 1e-5);

TopoDS_Face faceOf(const TopoDS_Shape& shape, int index)
{
    TopTools_IndexedMapOfShape faces;
    TopExp::MapShapes(shape, TopAbs_FACE, faces);
    return TopoDS::Face(faces(index));
}

std::vector<CollectedWire> collect(const TopoDS_Face& face, const gp_Trsf& shapeTrsf = gp_Trsf())
{
    std::vector<CollectedWire> wires;
    EXPECT_TRUE(collectFaceWires(face, shapeTrsf, wires));
    return wires;
}

// A planar face (on z = 0) bounded by the given edges, in the given order
// and orientations, whatever they make.
TopoDS_Face planarFace(std::initializer_list<TopoDS_Shape> edges)
{
    BRep_Builder builder;
    TopoDS_Wire wire;
    builder.MakeWire(wire);
    for (const TopoDS_Shape& edge : edges)
        builder.Add(wire, edge);
    TopoDS_Face face;
    builder.MakeFace(face, new Geom_Plane(gp_Pln()), 1e-7);
    builder.Add(face, wire);
    return face;
}

TopoDS_Edge segment(const gp_Pnt& a, const gp_Pnt& b) { return BRepBuilderAPI_MakeEdge(a, b).Edge(); }

WireEdge use(const ZrGePoint3d& start, const ZrGePoint3d& end, int reversed = 0)
{
    WireEdge edge;
    edge.reversed = reversed;
    edge.firstPoint = reversed ? end : start;
    edge.lastPoint = reversed ? start : end;
    edge.startPoint = start;
    edge.endPoint = end;
    edge.curve = SharedRef<ZrGeCurve3d>(new ZrGeLineSeg3d(edge.firstPoint, edge.lastPoint));
    return edge;
}

// Each edge, run in the direction its reversed flag gives, starts where the
// one before it ends.
void expectChained(const CollectedWire& wire)
{
    const auto start = [](const WireEdge& edge) { return edge.reversed ? edge.lastPoint : edge.firstPoint; };
    const auto end = [](const WireEdge& edge) { return edge.reversed ? edge.firstPoint : edge.lastPoint; };
    for (std::size_t i = 0; i < wire.size(); ++i)
        EXPECT_TRUE(end(wire[i]).isEqualTo(start(wire[(i + 1) % wire.size()]))) << i;
}

FaceEntry planeEntry()
{
    FaceEntry face;
    face.surface = SharedRef<ZrGeSurface>(new ZrGePlane());
    return face;
}

ShapeColour colourOf(std::uint8_t red)
{
    ShapeColour colour;
    colour.hasColour = true;
    colour.colour.setRGB(red, 0, 0);
    return colour;
}

TEST(EdgeOrder, PointsAndKeys)
{
    const ZrGePoint3d o(0, 0, 0);
    struct PointCase {
        ZrGePoint3d a, b;
        bool less;
    } points[] = {
        {{0, 0, 0}, {1, 0, 0}, true},
        {{1, 0, 0}, {0, 0, 0}, false},
        {{1, 0, 0}, {1 + 1e-11, 5, 0}, true},      // x too close: y decides
        {{1e12, 0, 0}, {1e12 + 1e-3, -1, 0}, false}, // relative to 1e12 x is equal
        {{1e12 + 1e-3, -1, 0}, {1e12, 0, 0}, true},
        {{0, 0, 0}, {0, 0, 1e-11}, false},
        {{0, 0, 0}, {0, 0, 1e-9}, true},
    };
    for (const PointCase& c : points)
        EXPECT_EQ(pointLess(c.a, c.b), c.less) << c.a.x << " " << c.a.y << " " << c.a.z;

    const EdgeKey arc{ZrGe::kCircArc3d, o, {1, 1, 0}, {2, 0, 0}};
    const EdgeKey line{ZrGe::kLineSeg3d, o, {1, 0, 0}, {2, 0, 0}};
    EdgeKey otherBulge = arc;
    otherBulge.midPoint = ZrGePoint3d(1, -1, 0);
    EdgeKey nearlySame = arc;
    nearlySame.midPoint.x += 1e-11;
    EXPECT_TRUE(edgeKeyLess(arc, line)); // kind 11 before 23
    EXPECT_FALSE(edgeKeyLess(line, arc));
    EXPECT_TRUE(edgeKeyLess(otherBulge, arc) != edgeKeyLess(arc, otherBulge));
    EXPECT_FALSE(edgeKeyLess(arc, nearlySame));
    EXPECT_FALSE(edgeKeyLess(nearlySame, arc));
}

TEST(CollectFaceWires, BoxFaceIsOneChainedLoop)
{
    gp_Trsf shapeTrsf;
    shapeTrsf.SetTranslation(gp_Vec(100, 0, 0));
    const auto wires = collect(faceOf(BRepPrimAPI_MakeBox(1, 2, 3).Shape(), 1), shapeTrsf);
    ASSERT_EQ(wires.size(), 1u);
    ASSERT_EQ(wires[0].size(), 4u);
    expectChained(wires[0]);
    for (const WireEdge& edge : wires[0]) {
        EXPECT_EQ(edge.curve->type(), ZrGe::kLineSeg3d);
        EXPECT_FALSE(edge.degenerate);
        EXPECT_GE(edge.firstPoint.x, 100.0);
        EXPECT_TRUE(edge.curve->isOn(edge.firstPoint) && edge.curve->isOn(edge.lastPoint));
    }
}

TEST(CollectFaceWires, Chaining)
{
    const ZrGePoint3d a(0, 0, 0), b(1, 0, 0), c(1, 1, 0), d(0, 1, 0);
    CollectedWire shuffled{use(a, b), use(c, d, 1), use(b, c), use(d, a)};
    ASSERT_TRUE(chainWire(shuffled));
    ASSERT_EQ(shuffled.size(), 4u);
    EXPECT_EQ(shuffled[1].startPoint, b);
    EXPECT_EQ(shuffled[2].reversed, 1); // moved, never flipped
    expectChained(shuffled);

    // The first edge starting at b dead-ends at a; the loop at b comes first.
    CollectedWire deadEnd{use(a, b), use(b, a), use(b, b)};
    ASSERT_TRUE(chainWire(deadEnd));
    EXPECT_EQ(deadEnd[1].endPoint, b);
    EXPECT_EQ(deadEnd[2].endPoint, a);

    CollectedWire gap{use(a, b), use(c, d), use(d, a)};
    EXPECT_FALSE(chainWire(gap));
    EXPECT_TRUE(gap.empty());
}

TEST(CollectFaceWires, SeamKeptTwiceExactRepeatDroppedGapFails)
{
    // The primitive lists top circle, seam, bottom circle, seam: out of
    // order, and the first seam at the bottom is a dead end.
    const TopoDS_Face side = faceOf(BRepPrimAPI_MakeCylinder(2, 5).Shape(), 1);
    const auto wires = collect(side);
    ASSERT_EQ(wires[0].size(), 4u);
    std::multiset<int> seamFlags;
    for (const WireEdge& edge : wires[0])
        if (!edge.curve->isClosed())
            seamFlags.insert(edge.reversed);
    EXPECT_EQ(seamFlags, (std::multiset<int>{0, 1}));
    expectChained(wires[0]);

    const gp_Pnt p[] = {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {0, 3, 0}};
    const TopoDS_Edge second = segment(p[1], p[2]);
    const auto repeated = collect(planarFace({segment(p[0], p[1]), second, second, segment(p[2], p[3]),
                                              segment(p[3], p[0])}));
    EXPECT_EQ(repeated[0].size(), 4u);

    std::vector<CollectedWire> broken;
    EXPECT_FALSE(collectFaceWires(planarFace({segment(p[0], p[1]), segment(p[2], p[3]), segment(p[3], p[0])}),
                                  gp_Trsf(), broken));
}

// A forward face whose wire is stored the other way round: its edges
// reversed and in reverse order, and the wire itself reversed, so that the
// face is the same.
TopoDS_Face withReversedWire(const TopoDS_Face& face)
{
    const TopoDS_Wire outer = BRepTools::OuterWire(face);
    EXPECT_EQ(face.Orientation(), TopAbs_FORWARD);
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

TEST(CollectFaceWires, LoopsRunAsTheFaceUsesTheirEdges)
{
    // However face and wire are stored, the loop runs with the face on its
    // left seen from outside: a reversed face runs it the other way round.
    const TopoDS_Face face = TopoDS::Face(faceOf(BRepPrimAPI_MakeBox(1, 2, 3).Shape(), 3).Oriented(TopAbs_FORWARD));
    const auto forward = collect(face);
    ASSERT_EQ(forward[0].size(), 4u);
    expectChained(forward[0]);
    const auto reversed = collect(TopoDS::Face(face.Reversed()));
    ASSERT_EQ(reversed[0].size(), 4u);
    expectChained(reversed[0]);
    for (std::size_t i = 0; i < 4; ++i) {
        const WireEdge& was = forward[0][(4 - i) % 4]; // e0, e3, e2, e1
        EXPECT_EQ(reversed[0][i].firstPoint, was.firstPoint) << i;
        EXPECT_EQ(reversed[0][i].startPoint, was.endPoint) << i;
        EXPECT_EQ(reversed[0][i].reversed, 1 - was.reversed) << i;
    }
    const auto restored = collect(withReversedWire(face));
    ASSERT_EQ(restored[0].size(), 4u);
    expectChained(restored[0]);
    for (const WireEdge& use : restored[0]) {
        const auto same = std::find_if(forward[0].begin(), forward[0].end(), [&](const WireEdge& other) {
            return other.firstPoint == use.firstPoint && other.lastPoint == use.lastPoint;
        });
        ASSERT_NE(same, forward[0].end());
        EXPECT_EQ(use.reversed, same->reversed);
    }
}

TEST(BuildFaceLoops, SharedEdgeIsOneEntryWithTwoCoedges)
{
    const TopoDS_Shape box = BRepPrimAPI_MakeBox(1, 2, 3).Shape();
    TopTools_IndexedDataMapOfShapeListOfShape facesOfEdge;
    TopExp::MapShapesAndAncestors(box, TopAbs_EDGE, TopAbs_FACE, facesOfEdge);
    const TopTools_ListOfShape& adjacent = facesOfEdge(1);
    ASSERT_EQ(adjacent.Size(), 2);

    BrepBuilderInitialData record;
    ConversionContext context;
    FaceEntry faces[2] = {planeEntry(), planeEntry()};
    const ShapeColour colours[2] = {colourOf(10), colourOf(20)};
    int i = 0;
    for (const TopoDS_Shape& face : adjacent) {
        buildFaceLoops(collect(TopoDS::Face(face)), colours[i], record, faces[i], context.edgeMap, context.vertexMap);
        ++i;
    }
    EXPECT_EQ(record.edges.length(), 7);
    EXPECT_EQ(record.vertices.length(), 6);
    EXPECT_EQ(context.edgeMap.size(), 7u);

    std::set<int> first, shared;
    for (const CoedgeEntry& coedge : faces[0].loops[0]) {
        first.insert(coedge.edge);
        EXPECT_FALSE(coedge.parameterCurve); // planes get none
    }
    for (const CoedgeEntry& coedge : faces[1].loops[0])
        if (first.count(coedge.edge))
            shared.insert(coedge.edge);
    ASSERT_EQ(shared.size(), 1u);
    const EdgeEntry& edge = record.edges[*shared.begin()];
    EXPECT_EQ(edge.hasColour, 1);
    EXPECT_EQ(edge.colour.red(), 10); // the first face decides
    EXPECT_EQ(edge.curve.useCount(), 1);
}

TEST(BuildFaceLoops, ArcsWithTheSameEndsAreTwoEdges)
{
    const gp_Pnt a(-2, 0, 0), b(2, 0, 0);
    const TopoDS_Edge upper = BRepBuilderAPI_MakeEdge(GC_MakeArcOfCircle(a, gp_Pnt(0, 2, 0), b).Value()).Edge();
    const TopoDS_Edge lower = BRepBuilderAPI_MakeEdge(GC_MakeArcOfCircle(a, gp_Pnt(0, -1, 0), b).Value()).Edge();
    const auto wires = collect(planarFace({upper, lower.Reversed()}));

    BrepBuilderInitialData record;
    ConversionContext context;
    FaceEntry face = planeEntry();
    buildFaceLoops(wires, ShapeColour(), record, face, context.edgeMap, context.vertexMap);
    EXPECT_EQ(record.edges.length(), 2);
    EXPECT_EQ(record.vertices.length(), 2);
    ASSERT_EQ(face.loops.length(), 1);
    EXPECT_EQ(face.loops[0][1].direction, 1);
    EXPECT_EQ(record.edges[0].hasColour, 0);
    EXPECT_EQ(record.edges[0].colour, ZrCmEntityColor::noColor());
}

TEST(BuildFaceLoops, PoleEdgesBecomeLoopsOfTheirOwn)
{
    const TopoDS_Face face = faceOf(BRepPrimAPI_MakeSphere(3).Shape(), 1);
    BrepBuilderInitialData record;
    ConversionContext context;
    FaceEntry entry;
    entry.surface = SharedRef<ZrGeSurface>(new ZrGeSphere());
    buildFaceLoops(collect(face), colourOf(5), record, entry, context.edgeMap, context.vertexMap);

    int poleLoops = 0;
    for (const Loop& loop : entry.loops) {
        if (loop.length() != 1)
            continue;
        ++poleLoops;
        const EdgeEntry& pole = record.edges[loop[0].edge];
        EXPECT_EQ(pole.startVertex, pole.endVertex);
        EXPECT_EQ(pole.hasColour, 0);
        EXPECT_FALSE(loop[0].parameterCurve);
    }
    EXPECT_EQ(poleLoops, 2);
    EXPECT_EQ(entry.loops.length(), 3);
    EXPECT_EQ(context.edgeMap.size(), 1u); // the seam, used twice; poles are never shared
    EXPECT_EQ(record.vertices.length(), 2);
}

// A part written to STEP placed in an assembly and read back: every face
// chains, and a solid's record holds each edge once and each vertex once.
TEST(BuildFaceLoops, SolidsReadFromStepShareEveryEdgeOnce)
{
    struct Case {
        const char* what;
        TopoDS_Shape solid;
    } cases[] = {
        {"box", BRepPrimAPI_MakeBox(10, 20, 30).Shape()},
        {"cylinder", BRepPrimAPI_MakeCylinder(5, 12).Shape()},
        {"cone with apex", BRepPrimAPI_MakeCone(6, 0, 9).Shape()},
        {"sphere", BRepPrimAPI_MakeSphere(7).Shape()},
        {"torus", BRepPrimAPI_MakeTorus(9, 2).Shape()},
    };
    gp_Trsf placement;
    placement.SetRotation(gp_Ax1(gp_Pnt(1, 2, 3), gp_Dir(1, 1, 0)), 0.7);
    placement.SetTranslationPart(gp_Vec(50, -20, 5));
    for (const Case& c : cases) {
        fixtures::Model model;
        const TDF_Label assembly = model.addAssembly("assembly");
        model.addComponent(assembly, model.shapes->AddShape(c.solid, false), placement, "part");
        const std::string path = fixtures::tempPath(std::string(c.what) + ".step");
        model.writeStep(path);
        STEPControl_Reader reader;
        ASSERT_EQ(reader.ReadFile(path.c_str()), IFSelect_RetDone) << c.what;
        reader.TransferRoots();
        const TopoDS_Shape shape = reader.OneShape();

        BrepBuilderInitialData record;
        ConversionContext context;
        int degenerateUses = 0;
        for (TopExp_Explorer faces(shape, TopAbs_FACE); faces.More(); faces.Next()) {
            std::vector<CollectedWire> wires;
            ASSERT_TRUE(collectFaceWires(TopoDS::Face(faces.Current()), gp_Trsf(), wires)) << c.what;
            for (const CollectedWire& wire : wires)
                for (const WireEdge& edge : wire)
                    degenerateUses += edge.degenerate;
            FaceEntry face = planeEntry();
            buildFaceLoops(wires, ShapeColour(), record, face, context.edgeMap, context.vertexMap);
        }
        TopTools_IndexedMapOfShape edges, vertices;
        TopExp::MapShapes(shape, TopAbs_EDGE, edges);
        TopExp::MapShapes(shape, TopAbs_VERTEX, vertices);
        int curvedEdges = 0;
        for (int i = 1; i <= edges.Extent(); ++i)
            curvedEdges += !BRep_Tool::Degenerated(TopoDS::Edge(edges(i)));
        EXPECT_EQ(record.edges.length(), curvedEdges + degenerateUses) << c.what;
        EXPECT_EQ(record.vertices.length(), vertices.Extent()) << c.what;
        // The record is in world coordinates: the placement moved the part.
        const gp_Pnt placed = BRep_Tool::Pnt(TopoDS::Vertex(vertices(1)));
        bool found = false;
        for (const VertexEntry& vertex : record.vertices)
            found = found || vertex.point.isEqualTo(hostPoint(placed), ZrGeTol(1e-6, 1e-6));
        EXPECT_TRUE(found) << c.what;
    }
}

TEST(BuildFaceLoops, NurbsFacesGetParameterCurves)
{
    const Handle(Geom_BSplineSurface) kernelSurface = shapes::wavySurface();
    const TopoDS_Face face = BRepBuilderAPI_MakeFace(kernelSurface, 1e-7).Face();
    BrepBuilderInitialData record;
    ConversionContext context;
    FaceEntry entry;
    entry.surface = SharedRef<ZrGeSurface>(shapes::hostSurface(*kernelSurface));
    ASSERT_TRUE(static_cast<const ZrGeNurbSurface&>(*entry.surface).isValid());
    buildFaceLoops(collect(face), ShapeColour(), record, entry, context.edgeMap, context.vertexMap);

    ASSERT_EQ(entry.loops.length(), 1);
    ASSERT_EQ(entry.loops[0].length(), 4);
    for (const CoedgeEntry& coedge : entry.loops[0]) {
        ASSERT_TRUE(coedge.parameterCurve);
        EXPECT_EQ(coedge.parameterCurve->type(), ZrGe::kNurbCurve2d);
        const ZrGeCurve3d& curve = *record.edges[coedge.edge].curve;
        ZrGePoint3d start3d, end3d;
        ZrGePoint2d start2d, end2d;
        curve.hasStartPoint(start3d);
        curve.hasEndPoint(end3d);
        coedge.parameterCurve->hasStartPoint(start2d);
        coedge.parameterCurve->hasEndPoint(end2d);
        EXPECT_TRUE(entry.surface->evalPoint(start2d).isEqualTo(start3d, fitTol));
        EXPECT_TRUE(entry.surface->evalPoint(end2d).isEqualTo(end3d, fitTol));
    }
}

TEST(ProjectParameterCurve, NoneForACurveOffTheSurface)
{
    const std::unique_ptr<ZrGeSurface> surface(shapes::hostSurface(*shapes::wavySurface()));
    const ZrGeLineSeg3d above(ZrGePoint3d(5, 5, 50), ZrGePoint3d(30, 30, 50));
    EXPECT_FALSE(projectParameterCurve(above, *surface));
    const ZrGeLineSeg3d onBorder(hostPoint(shapes::wavySurface()->Value(0, 0)),
                                 hostPoint(shapes::wavySurface()->Value(1, 0)));
    // The border v = 0 of this patch is not straight.
    EXPECT_FALSE(projectParameterCurve(onBorder, *surface));
}

} // namespace
