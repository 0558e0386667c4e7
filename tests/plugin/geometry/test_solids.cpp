// Kernel solids converted into 3D solids and built by the host's builder:
// the bodies must be valid and enclose the kernel's volume, directly and
// read back from STEP and IGES files.
#include <gtest/gtest.h>

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepBuilderAPI_NurbsConvert.hxx>
#include <BRepGProp.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCone.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <GProp_GProps.hxx>
#include <gp_Ax2.hxx>

#include <zrbr/ZrModelerGeometry.h>
#include <zrdb/ZrDbBody.h>

#include "Fixtures.h"
#include "GeometryTestSupport.h"

namespace {

using support::Converted;

double kernelVolume(const TopoDS_Shape& shape)
{
    GProp_GProps properties;
    BRepGProp::VolumeProperties(shape, properties);
    return properties.Mass();
}

struct SolidCase {
    const char* name;
    TopoDS_Shape shape;
};

std::vector<SolidCase> solidCases()
{
    const TopoDS_Shape plate = BRepPrimAPI_MakeBox(gp_Pnt(-20, -20, 0), 40, 40, 10).Shape();
    const TopoDS_Shape hole = BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(0, 0, -1), gp::DZ()), 8, 12).Shape();
    return {
        {"box", BRepPrimAPI_MakeBox(10, 20, 30).Shape()},
        {"cylinder", BRepPrimAPI_MakeCylinder(5, 12).Shape()},
        {"sphere", BRepPrimAPI_MakeSphere(gp_Pnt(1, 2, 3), 7).Shape()},
        {"torus", BRepPrimAPI_MakeTorus(20, 4).Shape()},
        {"cone", BRepPrimAPI_MakeCone(10, 25, 20).Shape()},
        {"pointed cone", BRepPrimAPI_MakeCone(12, 0, 15).Shape()},
        {"plate with hole", BRepAlgoAPI_Cut(plate, hole).Shape()},
        {"NURBS box", BRepBuilderAPI_NurbsConvert(BRepPrimAPI_MakeBox(8, 9, 10).Shape()).Shape()},
        {"NURBS cylinder", BRepBuilderAPI_NurbsConvert(BRepPrimAPI_MakeCylinder(6, 9).Shape()).Shape()},
    };
}

void expectSolidLike(const Converted& converted, const TopoDS_Shape& kernel, const std::string& what)
{
    ASSERT_EQ(converted.entities.size(), 1u) << what;
    const ZrModelerGeometry* body = support::bodyOf(converted.entities[0]);
    ASSERT_NE(body, nullptr) << what;
    EXPECT_TRUE(ZrDb3dSolid::cast(converted.entities[0])) << what;
    EXPECT_TRUE(body->isValid()) << what;
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

TEST(Solids, ReadBackFromStepAndIges)
{
    support::HostServices host;
    for (const SolidCase& c : solidCases())
        for (const bool iges : {false, true}) {
            const std::string what = std::string(c.name) + (iges ? " (IGES)" : " (STEP)");
            const auto items = support::readItems(c.shape, iges);
            ASSERT_EQ(items.size(), 1u) << what;
            expectSolidLike(items[0], c.shape, what);
        }
}
