// Bodies described element by element and built by the modeler.
#include <gtest/gtest.h>

#include <zrbase/ZrGeLineSeg2d.h>
#include <zrbase/ZrGeLineSeg3d.h>
#include <zrbase/ZrGePlane.h>
#include <zrbr/ZrModelerGeometry.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// How a description of the tetrahedron below is spoilt.
enum class Fault {
    none,
    flagsInverted,    // every coedge runs the other way, order kept
    flagsFalse,       // every coedge runs along its edge
    loopsReversed,    // every loop runs the other way round: the faces point inward
    coedgesReordered, // the last two coedges of every loop swapped
    vertexMoved,      // vertex C placed 8.6 away from the edges that meet there
    curveOffEdge,     // the bottom face's first coedge brings a parameter curve off its edge
    faceInsideOut,    // one face described with its normal inward
};

// The unit corner tetrahedron O, A = x, B = y, C = z, faces outward.
struct Tetrahedron {
    // Each face: its outward normal and its loop as (edge, reversed) pairs.
    struct Face {
        ZrGeVector3d normal;
        std::array<std::pair<int, bool>, 3> loop;
    };

    std::array<ZrGePoint3d, 4> corners{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    // O-A, O-B, O-C, A-B, B-C, A-C
    std::array<std::pair<int, int>, 6> edges{{{0, 1}, {0, 2}, {0, 3}, {1, 2}, {2, 3}, {1, 3}}};
    std::array<Face, 4> faces{{
        {{0, 0, -1}, {{{1, false}, {3, true}, {0, true}}}},
        {{0, -1, 0}, {{{0, false}, {5, false}, {2, true}}}},
        {{-1, 0, 0}, {{{2, false}, {4, true}, {1, true}}}},
        {{1, 1, 1}, {{{3, false}, {4, false}, {5, true}}}},
    }};

    std::array<std::pair<int, bool>, 3> spoilt(std::array<std::pair<int, bool>, 3> loop, Fault fault) const
    {
        switch (fault) {
        case Fault::flagsInverted:
            for (auto& use : loop)
                use.second = !use.second;
            break;
        case Fault::flagsFalse:
            for (auto& use : loop)
                use.second = false;
            break;
        case Fault::loopsReversed:
            std::reverse(loop.begin(), loop.end());
            for (auto& use : loop)
                use.second = !use.second;
            break;
        case Fault::coedgesReordered:
            std::swap(loop[1], loop[2]);
            break;
        default:
            break;
        }
        return loop;
    }

    ZrRxObjectPtr build(ZrBrepBuilder& builder, Fault fault = Fault::none, std::uint32_t colour = 0) const
    {
        EXPECT_EQ(builder.set(new AcisBrepBuilderTD(kSolidBody)), Nimb::eOk);
        std::array<int, 4> vertexIds{};
        for (int i = 0; i < 4; ++i) {
            const bool moved = fault == Fault::vertexMoved && i == 3;
            vertexIds[i] = builder.addVertex(moved ? ZrGePoint3d(5, 5, 5) : corners[i]);
        }
        std::array<int, 6> edgeIds{};
        for (int i = 0; i < 6; ++i)
            edgeIds[i] = builder.addEdge(ZrGeLineSeg3d(corners[edges[i].first], corners[edges[i].second]),
                                         vertexIds[edges[i].first], vertexIds[edges[i].second]);
        const int shell = builder.addShell(builder.addComplex());
        for (int f = 0; f < 4; ++f) {
            const ZrGePoint3d& onPlane = corners[f == 3 ? 1 : 0];
            const bool insideOut = fault == Fault::faceInsideOut && f == 3;
            // The bottom face's parameters are (y, x), so that its normal is -z.
            const int face = f == 0 ? builder.addFace(shell, ZrGePlane(onPlane, {0, 1, 0}, {1, 0, 0}), false)
                                    : builder.addFace(shell, ZrGePlane(onPlane, faces[f].normal), insideOut);
            builder.setFaceColor(face, colour + f);
            const int loop = builder.addLoop(face);
            for (const auto& use : spoilt(faces[f].loop, fault)) {
                // O-B runs from (0, 0) to (1, 0) in the bottom face's parameters.
                const ZrGeLineSeg2d onBottom(ZrGePoint2d(0.0, 0.5), ZrGePoint2d(1.0, 0.5));
                const bool offEdge = fault == Fault::curveOffEdge && f == 0 && use.first == 1;
                EXPECT_EQ(builder.addCoedge(loop, edgeIds[use.first], use.second, offEdge ? &onBottom : nullptr),
                          Nimb::eOk);
            }
        }
        return builder.finish();
    }

    ZrRxObjectPtr build(bool validate = false, Fault fault = Fault::none, std::uint32_t colour = 0) const
    {
        ZrBrepBuilder builder;
        builder.enableValidator(validate);
        return build(builder, fault, colour);
    }
};

const ZrModelerGeometry* geometryOf(const ZrRxObjectPtr& result)
{
    return result ? ZrModelerGeometry::cast(result->queryX(ZrModelerGeometry::desc())) : nullptr;
}

} // namespace

TEST(BrepBuilder, BuildsAClosedSolidAndMeasuresIt)
{
    const ZrRxObjectPtr result = Tetrahedron().build(true, Fault::none, 0xC2000010);
    const ZrModelerGeometry* body = geometryOf(result);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->brepType(), kSolidBody);
    EXPECT_TRUE(body->isValid());
    EXPECT_TRUE(body->isClosed());
    EXPECT_EQ(body->numSolids(), 1);
    EXPECT_EQ(body->numShells(), 1);
    EXPECT_EQ(body->numFaces(), 4);
    EXPECT_EQ(body->numEdges(), 6);
    EXPECT_EQ(body->numVertices(), 4);
    EXPECT_NEAR(body->volume(), 1.0 / 6.0, 1e-9);
    EXPECT_NEAR(body->area(), 1.5 + std::sqrt(3.0) / 2.0, 1e-9);
    ZrGePoint3d low, high;
    ASSERT_TRUE(body->getExtents(low, high));
    EXPECT_TRUE(low.isEqualTo(ZrGePoint3d(0, 0, 0), ZrGeTol(1e-6, 1e-6)));
    EXPECT_TRUE(high.isEqualTo(ZrGePoint3d(1, 1, 1), ZrGeTol(1e-6, 1e-6)));
    std::vector<std::uint32_t> colours;
    for (int f = 0; f < body->numFaces(); ++f) {
        std::uint32_t colour = 0;
        EXPECT_TRUE(body->faceColor(f, colour));
        colours.push_back(colour);
    }
    std::sort(colours.begin(), colours.end());
    EXPECT_EQ(colours, (std::vector<std::uint32_t>{0xC2000010, 0xC2000011, 0xC2000012, 0xC2000013}));
}

TEST(BrepBuilder, BuildsExactlyWhatItIsDescribed)
{
    // Each fault: refused with its reason by the validator; built as
    // described without it, and the body says what is wrong.
    const struct {
        Fault fault;
        const char* reason;
    } cases[] = {
        {Fault::flagsInverted, "does not close"},
        {Fault::flagsFalse, "does not close"},
        {Fault::coedgesReordered, "does not close"},
        {Fault::loopsReversed, "point inward"},
        {Fault::vertexMoved, "vertex 3 is "},
        {Fault::curveOffEdge, "the parameter curve of edge 1 on face 0 leaves it by 0.5"},
        {Fault::faceInsideOut, "face 4: bad orientation of subshape"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        ZrBrepBuilder refusing;
        refusing.enableValidator(true);
        EXPECT_FALSE(Tetrahedron().build(refusing, c.fault));
        EXPECT_NE(refusing.refusalReason().find(c.reason), std::string::npos) << refusing.refusalReason();

        const ZrRxObjectPtr result = Tetrahedron().build(false, c.fault);
        const ZrModelerGeometry* body = geometryOf(result);
        ASSERT_NE(body, nullptr);
        EXPECT_FALSE(body->isValid());
        EXPECT_NE(body->validityReport().find(c.reason), std::string::npos) << body->validityReport();
    }
}

TEST(BrepBuilder, HealingIsAnOptionOfItsOwn)
{
    // Off by default; asked for, it repairs what imported data often get wrong.
    ZrBrepBuilder healing;
    EXPECT_FALSE(healing.isHealingEnabled());
    healing.enableHealing();
    const ZrRxObjectPtr result = Tetrahedron().build(healing, Fault::coedgesReordered);
    const ZrModelerGeometry* body = geometryOf(result);
    ASSERT_NE(body, nullptr);
    EXPECT_TRUE(body->isValid()) << body->validityReport();
    EXPECT_NEAR(body->volume(), 1.0 / 6.0, 1e-9);
}

TEST(BrepBuilder, RefusesWhatItCannotBuild)
{
    ZrBrepBuilder unset;
    EXPECT_EQ(unset.addVertex(ZrGePoint3d()), -1);
    EXPECT_FALSE(unset.finish());
    EXPECT_EQ(unset.set(nullptr), Nimb::eNullObjectPointer);

    ZrBrepBuilder builder;
    builder.set(new AcisBrepBuilderTD(kSurfaceBody));
    const int vertex = builder.addVertex(ZrGePoint3d());
    EXPECT_EQ(builder.addEdge(ZrGeLineSeg3d(ZrGePoint3d(), ZrGePoint3d(1, 0, 0)), vertex, vertex + 1), -1);
    EXPECT_EQ(builder.addShell(7), -1);
    EXPECT_EQ(builder.addCoedge(3, 0, false), Nimb::eInvalidIndex);
    // An unbounded plane with no loops is no face: nothing to build.
    builder.addFace(builder.addShell(builder.addComplex()), ZrGePlane(), false);
    EXPECT_FALSE(builder.finish());
    EXPECT_EQ(builder.addVertex(ZrGePoint3d()), -1); // finished
}

TEST(ModelerGeometry, TessellationCoversTheFacesOutward)
{
    const ZrRxObjectPtr result = Tetrahedron().build();
    const ZrModelerGeometry* body = geometryOf(result);
    ASSERT_NE(body, nullptr);
    ZrModelerMesh mesh;
    ASSERT_EQ(body->tessellate(ZrModelerMeshParams(), mesh), Nimb::eOk);
    ASSERT_EQ(mesh.faces.length(), 4);
    EXPECT_EQ(mesh.points.length(), mesh.normals.length());
    const ZrGePoint3d inside(0.1, 0.1, 0.1);
    double volume = 0.0;
    for (int t = 0; t < mesh.numTriangles(); ++t) {
        const ZrGePoint3d& a = mesh.points[mesh.triangles[3 * t]];
        const ZrGePoint3d& b = mesh.points[mesh.triangles[3 * t + 1]];
        const ZrGePoint3d& c = mesh.points[mesh.triangles[3 * t + 2]];
        const ZrGeVector3d facet = (b - a).crossProduct(c - a);
        EXPECT_GT(facet.dotProduct(a - inside), 0.0) << t;
        EXPECT_GT(facet.dotProduct(mesh.normals[mesh.triangles[3 * t]]), 0.0) << t;
        volume += (a - ZrGePoint3d::kOrigin).dotProduct((b - ZrGePoint3d::kOrigin).crossProduct(c - ZrGePoint3d::kOrigin)) / 6.0;
    }
    EXPECT_NEAR(volume, 1.0 / 6.0, 1e-9);
    ZrModelerMesh refused;
    EXPECT_EQ(body->tessellate(ZrModelerMeshParams{-1.0, 0.5}, refused), Nimb::eInvalidInput);
}
