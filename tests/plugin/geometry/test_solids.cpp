// Kernel solids converted into 3D solids and built by the host's builder:
// the bodies must be valid and enclose the kernel's volume, directly and
// read back from STEP and IGES files.
#include <gtest/gtest.h>

#include <BRepBuilderAPI_NurbsConvert.hxx>
#include <BRepGProp.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <GProp_GProps.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <TopExp_Explorer.hxx>
#include <gp_Ax2.hxx>
#include <gp_Ax3.hxx>

#include <cmath>

#include <zrbr/ZrModelerGeometry.h>
#include <zrdb/ZrDbBody.h>

#include "Fixtures.h"
#include "GeometryTestSupport.h"

namespace {

using support::Converted;

// Integrated on the shape's NURBS form: the kernel's integration of some
// surface kinds (extrusions) strays by several percent.
double kernelVolume(const TopoDS_Shape& shape)
{
    GProp_GProps properties;
    BRepGProp::VolumeProperties(BRepBuilderAPI_NurbsConvert(shape).Shape(), properties, 1e-7);
    return properties.Mass();
}

struct SolidCase {
    std::string name;
    TopoDS_Shape shape;
};

std::vector<SolidCase> solidCases()
{
    std::vector<SolidCase> cases;
    for (const fixtures::NamedShape& solid : fixtures::solidsOfEverySurfaceKind())
        cases.push_back({solid.name, solid.shape});
    return cases;
}

void expectSolidLike(const Converted& converted, const TopoDS_Shape& kernel, const std::string& what)
{
    ASSERT_EQ(converted.entities.size(), 1u) << what;
    const ZrModelerGeometry* body = support::bodyOf(converted.entities[0]);
    ASSERT_NE(body, nullptr) << what;
    EXPECT_TRUE(ZrDb3dSolid::cast(converted.entities[0].get())) << what;
    EXPECT_TRUE(body->isValid()) << what << ": " << body->validityReport();
    EXPECT_EQ(body->numSolids(), 1) << what;
    const double expected = kernelVolume(kernel);
    EXPECT_NEAR(body->volume(), expected, 1e-3 * expected) << what;
}

} // namespace

TEST(Solids, KernelSolidsBuildValidBodiesWithTheirVolume)
{
    support::HostServices host;
    for (const SolidCase& c : solidCases())
        expectSolidLike(support::convert(c.shape), c.shape, c.name);
}

namespace {

// Placements a work item can bring: mirrors and scales turn every surface
// kind's parameters and normals round in their own way.
std::vector<std::pair<const char*, gp_Trsf>> placements()
{
    gp_Trsf mirror;
    mirror.SetMirror(gp_Ax2(gp_Pnt(1, 2, 3), gp_Dir(1, 1, 0)));
    gp_Trsf scale;
    scale.SetScale(gp_Pnt(-4, 0, 1), 2.5);
    gp_Trsf pointMirror;
    pointMirror.SetScale(gp_Pnt(0, 0, 0), -0.5);
    gp_Trsf turn;
    turn.SetRotation(gp_Ax1(gp_Pnt(0, 3, 0), gp_Dir(1, 2, 3)), 1.1);
    turn.SetTranslationPart(gp_Vec(5, -7, 2));
    return {{"mirror", mirror}, {"scale", scale}, {"point mirror", pointMirror}, {"mirror and scale", mirror * scale},
            {"turn", turn}};
}

// The volume a placement gives a solid: scaled by |det| of its linear part.
double placedVolume(double volume, const gp_Trsf& placement)
{
    const double scale = std::fabs(placement.ScaleFactor());
    return volume * scale * scale * scale;
}

} // namespace

TEST(Solids, MirroredAndScaledSolidsStayTrue)
{
    support::HostServices host;
    for (const SolidCase& c : solidCases())
        for (const auto& placement : placements()) {
            const std::string what = c.name + " under " + placement.first;
            const Converted converted = support::convert(c.shape, placement.second);
            ASSERT_EQ(converted.entities.size(), 1u) << what;
            const ZrModelerGeometry* body = support::bodyOf(converted.entities[0]);
            ASSERT_NE(body, nullptr) << what;
            EXPECT_TRUE(body->isValid()) << what << ": " << body->validityReport();
            const double expected = placedVolume(kernelVolume(c.shape), placement.second);
            EXPECT_NEAR(body->volume(), expected, 1e-5 * expected) << what;
        }
}

namespace {

// Faces on every part of every surface kind, alone: each becomes a surface
// whose area is the face's, facing the way the face does.
std::vector<SolidCase> loneFaces()
{
    const Handle(Geom_ConicalSurface) cone = new Geom_ConicalSurface(gp_Ax3(), 0.5, 5.0);
    const Handle(Geom_ToroidalSurface) apple = new Geom_ToroidalSurface(gp_Ax3(), 3.0, 5.0);
    std::vector<SolidCase> faces = {
        {"cone, near nappe", BRepBuilderAPI_MakeFace(cone, 0.0, 2.0, 0.0, 4.0, 1e-7).Face()},
        {"cone, far nappe", BRepBuilderAPI_MakeFace(cone, 0.0, 2.0, -20.0, -15.0, 1e-7).Face()},
        {"apple torus, outer part", BRepBuilderAPI_MakeFace(apple, 0.0, 1.0, -0.5, 0.5, 1e-7).Face()},
        {"apple torus, lemon part", BRepBuilderAPI_MakeFace(apple, 0.0, 1.0, 2.8, 3.5, 1e-7).Face()},
    };
    for (const SolidCase& solid : solidCases())
        for (TopExp_Explorer explorer(solid.shape, TopAbs_FACE); explorer.More(); explorer.Next())
            faces.push_back({solid.name, explorer.Current()});
    return faces;
}

double kernelArea(const TopoDS_Shape& shape)
{
    GProp_GProps properties;
    BRepGProp::SurfaceProperties(BRepBuilderAPI_NurbsConvert(shape).Shape(), properties, 1e-9);
    return properties.Mass();
}

} // namespace

TEST(Solids, EveryKindOfFaceAloneFacesOut)
{
    support::HostServices host;
    for (const SolidCase& c : loneFaces())
        for (const auto& placement : placements()) {
            const std::string what = "a face of " + c.name + " under " + placement.first;
            const Converted converted = support::convert(c.shape, placement.second);
            ASSERT_EQ(converted.entities.size(), 1u) << what;
            const ZrModelerGeometry* body = support::bodyOf(converted.entities[0]);
            ASSERT_NE(body, nullptr) << what;
            EXPECT_TRUE(body->isValid()) << what << ": " << body->validityReport();
            const double scale = placement.second.ScaleFactor();
            const double expected = kernelArea(c.shape) * scale * scale;
            EXPECT_NEAR(body->area(), expected, 1e-4 * expected) << what;
        }
}

TEST(Solids, ReadBackFromStepAndIges)
{
    support::HostServices host;
    for (const SolidCase& c : solidCases())
        for (const bool iges : {false, true}) {
            const std::string what = c.name + (iges ? " (IGES)" : " (STEP)");
            const auto items = support::readItems(c.shape, iges);
            ASSERT_EQ(items.size(), 1u) << what;
            expectSolidLike(items[0], c.shape, what);
        }
}
