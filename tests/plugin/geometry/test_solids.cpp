// Kernel solids converted into 3D solids and built by the host's builder:
// the bodies must be valid and enclose the kernel's volume, directly and
// read back from STEP and IGES files.
#include <gtest/gtest.h>

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepBuilderAPI_NurbsConvert.hxx>
#include <BRepGProp.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRepPrimAPI_MakeRevol.hxx>
#include <BRepPrimAPI_MakeCone.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <GProp_GProps.hxx>
#include <Geom_BSplineCurve.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TopoDS.hxx>
#include <gp_Ax2.hxx>

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
    const char* name;
    TopoDS_Shape shape;
};

// A flat profile: a spline arch closed by a straight base, stood up in the XZ plane.
TopoDS_Face archProfile()
{
    TColgp_Array1OfPnt poles(1, 4);
    poles.SetValue(1, gp_Pnt(0, 0, 0));
    poles.SetValue(2, gp_Pnt(1, 3, 0));
    poles.SetValue(3, gp_Pnt(3, 3, 0));
    poles.SetValue(4, gp_Pnt(4, 0, 0));
    TColStd_Array1OfReal knots(1, 2);
    knots.SetValue(1, 0.0);
    knots.SetValue(2, 1.0);
    TColStd_Array1OfInteger mults(1, 2);
    mults.Init(4);
    const Handle(Geom_BSplineCurve) arch = new Geom_BSplineCurve(poles, knots, mults, 3);
    const gp_Pnt first = arch->Value(arch->FirstParameter()), last = arch->Value(arch->LastParameter());
    BRepBuilderAPI_MakeWire wire(BRepBuilderAPI_MakeEdge(arch).Edge(), BRepBuilderAPI_MakeEdge(last, first).Edge());
    gp_Trsf upright;
    upright.SetRotation(gp::OX(), 1.5707963267948966);
    gp_Trsf aside;
    aside.SetTranslation(gp_Vec(3, 0, 0));
    return TopoDS::Face(BRepBuilderAPI_MakeFace(wire.Wire(), true).Face().Moved(TopLoc_Location(aside * upright)));
}

// A flat, closed periodic spline: a wavy ring in the XY plane.
TopoDS_Face closedProfile()
{
    TColgp_Array1OfPnt poles(1, 8);
    for (int i = 0; i < 8; ++i) {
        const double a = i * 0.7853981633974483, r = i % 2 ? 8.0 : 10.0;
        poles.SetValue(i + 1, gp_Pnt(r * std::cos(a), r * std::sin(a), 0.0));
    }
    TColStd_Array1OfReal knots(1, 9);
    TColStd_Array1OfInteger mults(1, 9);
    for (int i = 1; i <= 9; ++i) {
        knots.SetValue(i, i - 1.0);
        mults.SetValue(i, 1);
    }
    const Handle(Geom_BSplineCurve) ring = new Geom_BSplineCurve(poles, knots, mults, 3, true);
    return BRepBuilderAPI_MakeFace(BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(ring).Edge()).Wire(), true).Face();
}

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
        {"extruded closed spline", BRepPrimAPI_MakePrism(closedProfile(), gp_Vec(1, 0, 8)).Shape()},
        {"extruded arch", BRepPrimAPI_MakePrism(archProfile(), gp_Vec(0, 5, 0)).Shape()},
        {"revolved arch", BRepPrimAPI_MakeRevol(archProfile(), gp::OZ(), 4.0).Shape()},
    };
}

void expectSolidLike(const Converted& converted, const TopoDS_Shape& kernel, const std::string& what)
{
    ASSERT_EQ(converted.entities.size(), 1u) << what;
    const ZrModelerGeometry* body = support::bodyOf(converted.entities[0]);
    ASSERT_NE(body, nullptr) << what;
    EXPECT_TRUE(ZrDb3dSolid::cast(converted.entities[0])) << what;
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
