// Several workers converting the same kernel geometry at once, as work items
// that share parts do. Run under TSan by the sanitizer build.
#include <gtest/gtest.h>

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_NurbsConvert.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>

#include <zrbase/ZrGeNurbSurface.h>

#include <atomic>
#include <thread>
#include <vector>

#include "Fixtures.h"
#include "KernelShapes.h"
#include "GeometryTestSupport.h"
#include "geometry/EdgeLoops.h"

namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 6;

// Runs work(thread) on kThreads threads at once.
template <typename Work>
void onThreads(Work work)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back(work, t);
    for (std::thread& thread : threads)
        thread.join();
}

TEST(ThreadSafety, SharedKernelGeometryConvertsTheSameOnEveryThread)
{
    const Handle(Geom_BSplineCurve) periodic = shapes::periodicSpline();
    const TopoDS_Edge seamEdge = BRepBuilderAPI_MakeEdge(periodic, 6.5, 9.5).Edge();
    const Handle(Geom_BSplineSurface) surface = shapes::wavySurface();
    const TopoDS_Face face = BRepBuilderAPI_MakeFace(surface, 1e-7).Face();
    const std::unique_ptr<ZrGeNurbSurface> hostSurface(shapes::hostSurface(*surface));

    const auto expectedEnd = shapes::hostPoint(periodic->Value(9.5));
    std::atomic<int> failures{0};
    onThreads([&](int) {
        for (int round = 0; round < kRounds; ++round) {
            const auto curve = shapes::convertEdge(seamEdge);
            ZrGePoint3d end;
            if (!curve || !curve->hasEndPoint(end) || !end.isEqualTo(expectedEnd, ZrGeTol(1e-9, 1e-9)))
                ++failures;

            std::vector<CollectedWire> wires;
            if (!collectFaceWires(face, gp_Trsf(), wires))
                ++failures;
            BrepBuilderInitialData record;
            ConversionContext context;
            FaceEntry entry;
            entry.surface = SharedRef<ZrGeSurface>(hostSurface->copy());
            buildFaceLoops(wires, ShapeColour(), record, entry, context.edgeMap, context.vertexMap);
            for (const CoedgeEntry& coedge : entry.loops[0])
                if (!coedge.parameterCurve || !projectParameterCurve(*record.edges[coedge.edge].curve, *hostSurface))
                    ++failures;
        }
    });
    EXPECT_EQ(failures.load(), 0);
    EXPECT_TRUE(periodic->IsPeriodic());
}

TEST(ThreadSafety, ColourQueriesOnOneDocument)
{
    fixtures::Model model;
    const TopoDS_Shape box = fixtures::box(1, 1, 1);
    const TDF_Label part = model.addPart(box, "box");
    TopTools_IndexedMapOfShape faces;
    TopExp::MapShapes(box, TopAbs_FACE, faces);
    for (int i = 1; i <= faces.Extent(); i += 2) {
        model.shapes->AddSubShape(part, faces(i));
        model.setColour(faces(i), Quantity_Color(1, 0, 0, Quantity_TOC_RGB), XCAFDoc_ColorSurf);
    }
    ShapeColour parent;
    parent.hasColour = true;
    parent.colour.setRGB(0, 0, 200);

    std::atomic<int> failures{0};
    onThreads([&](int) {
        for (int round = 0; round < kRounds * 10; ++round)
            for (int i = 1; i <= faces.Extent(); ++i) {
                ShapeColour colour;
                colourOf(colour, model.colours, parent, faces(i), XCAFDoc_ColorSurf);
                const int expectedRed = i % 2 ? 254 : 0;
                if (!colour.hasColour || colour.colour.red() != expectedRed)
                    ++failures;
            }
    });
    EXPECT_EQ(failures.load(), 0);
}

TEST(ThreadSafety, SharedPartsConvertIntoTheSameBodiesOnEveryThread)
{
    // Instances of one part share their kernel shapes; workers convert them
    // at once, colours included, and the host builds each body.
    support::HostServices host;
    fixtures::Model model;
    const TopoDS_Shape cylinder = BRepBuilderAPI_NurbsConvert(BRepPrimAPI_MakeCylinder(3, 7).Shape()).Shape();
    const TopoDS_Shape part = fixtures::compound({cylinder, BRepPrimAPI_MakeTorus(9, 2).Shape()});
    model.setColour(model.addPart(part, "part"), Quantity_Color(0, 1, 0, Quantity_TOC_RGB), XCAFDoc_ColorGen);
    std::atomic<int> failures{0};
    onThreads([&](int thread) {
        for (int round = 0; round < kRounds; ++round) {
            const support::Converted converted =
                support::convert(part, fixtures::translation(10.0 * thread, 0, 0), true, model.colours);
            if (converted.entities.size() != 2)
                ++failures;
            for (const std::unique_ptr<ZrDbEntity>& entity : converted.entities) {
                const ZrModelerGeometry* body = support::bodyOf(entity);
                ZrModelerMesh mesh;
                if (!body || !body->isValid() || body->volume() <= 0.0 ||
                    body->tessellate(ZrModelerMeshParams(), mesh) != Nimb::eOk)
                    ++failures;
            }
        }
    });
    EXPECT_EQ(failures.load(), 0);
}

} // namespace
