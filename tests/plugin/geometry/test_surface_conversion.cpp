// Kernel faces into face entries: surface kinds, placement, nappes, tori,
// directions and which faces carry parameter curves.
#include <gtest/gtest.h>

#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_NurbsConvert.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRep_Tool.hxx>
#include <Geom_BezierSurface.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_OffsetSurface.hxx>
#include <Geom_Plane.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <gp_Ax3.hxx>

#include <zrbase/ZrGeCone.h>
#include <zrbase/ZrGePlane.h>
#include <zrbase/ZrGeTorus.h>

#include "Fixtures.h"
#include "GeometryTestSupport.h"
#include "KernelShapes.h"
#include "geometry/SurfaceConversion.h"

namespace {

constexpr double kPi = 3.141592653589793;

TopoDS_Face faceOf(const TopoDS_Shape& shape, int index = 1)
{
    TopTools_IndexedMapOfShape faces;
    TopExp::MapShapes(shape, TopAbs_FACE, faces);
    return TopoDS::Face(faces(index));
}

// The face's entry, or null when the face is left out.
struct Converted {
    BrepBuilderInitialData record;
    Shell faces;
    const FaceEntry* entry() const { return faces.isEmpty() ? nullptr : &faces[0]; }
};

std::unique_ptr<Converted> convert(const TopoDS_Face& face, const gp_Trsf& trsf = gp_Trsf(),
                                   const ShapeColour& colour = ShapeColour())
{
    auto converted = std::make_unique<Converted>();
    ConversionContext context;
    TopLoc_Location location;
    const Handle(Geom_Surface) surface = BRep_Tool::Surface(face, location);
    gp_Trsf faceTrsf = trsf;
    faceTrsf.Multiply(location.Transformation());
    convertFace(context, face, surface, faceTrsf, trsf, colour, converted->record, converted->faces);
    return converted;
}

bool anyParameterCurve(const FaceEntry& entry)
{
    for (const Loop& loop : entry.loops)
        for (const CoedgeEntry& coedge : loop)
            if (coedge.parameterCurve)
                return true;
    return false;
}

TopoDS_Face coneFace(double semiAngle, double vMin, double vMax)
{
    const Handle(Geom_ConicalSurface) cone = new Geom_ConicalSurface(gp_Ax3(), semiAngle, 5.0);
    return BRepBuilderAPI_MakeFace(cone, 0.0, 2 * kPi, vMin, vMax, 1e-7).Face();
}

} // namespace

TEST(ConvertFace, TrimmedPlaneIsItsBasisPlacedAndColoured)
{
    const Handle(Geom_Plane) plane = new Geom_Plane(gp_Ax3(gp_Pnt(0, 0, 2), gp::DZ(), gp::DX()));
    const Handle(Geom_RectangularTrimmedSurface) trimmed = new Geom_RectangularTrimmedSurface(plane, -5.0, 5.0, -5.0, 5.0);
    ShapeColour red;
    red.hasColour = true;
    red.colour.setRGB(254, 0, 0);
    const auto onPlane = convert(BRepBuilderAPI_MakeFace(plane, 0, 3, 0, 4, 1e-7).Face(), fixtures::translation(10, 0, 0));
    const auto onTrimmed = convert(BRepBuilderAPI_MakeFace(trimmed, 0, 3, 0, 4, 1e-7).Face(),
                                   fixtures::translation(10, 0, 0), red);
    for (const Converted* c : {onPlane.get(), onTrimmed.get()}) {
        ASSERT_NE(c->entry(), nullptr);
        const auto& host = static_cast<const ZrGePlane&>(*c->entry()->surface);
        EXPECT_EQ(host.type(), ZrGe::kPlane);
        EXPECT_EQ(host.pointOnPlane(), ZrGePoint3d(10, 0, 2));
        EXPECT_TRUE(host.normal().isCodirectionalTo(ZrGeVector3d(0, 0, 1)));
        EXPECT_EQ(c->entry()->loops.length(), 1);
        EXPECT_EQ(c->entry()->loops[0].length(), 4);
        EXPECT_EQ(c->record.edges.length(), 4);
        EXPECT_EQ(c->entry()->reserved104, -1);
    }
    EXPECT_EQ(onPlane->entry()->hasColour, 0);
    EXPECT_EQ(onTrimmed->entry()->hasColour, 1);
    EXPECT_EQ(onTrimmed->entry()->colour.red(), 254);
}

TEST(ConvertFace, DirectionFollowsTheFaceAndTheExtrusionTrim)
{
    const TopoDS_Face box = faceOf(BRepPrimAPI_MakeBox(1, 2, 3).Shape());
    // A closed spline profile: the prism's side is an extrusion surface.
    const TopoDS_Edge closed = BRepBuilderAPI_MakeEdge(shapes::periodicSpline()).Edge();
    const TopoDS_Edge segment = BRepBuilderAPI_MakeEdge(gp_Pnt(0, 0, 0), gp_Pnt(5, 1, 0)).Edge();
    const TopoDS_Face closedProfile = faceOf(BRepPrimAPI_MakePrism(closed, gp_Vec(0, 0, 3)).Shape());
    const TopoDS_Face openProfile = faceOf(BRepPrimAPI_MakePrism(segment, gp_Vec(0, 0, 3)).Shape());
    struct Case {
        const char* name;
        TopoDS_Face face;
        int forward, reversed;
    } cases[] = {
        {"plane", box, 0, 1},
        {"closed-profile extrusion", closedProfile, 1, 0},
        {"open-profile extrusion", openProfile, 0, 1},
    };
    for (const Case& c : cases)
        for (const bool reverse : {false, true}) {
            TopoDS_Face face = c.face;
            face.Orientation(reverse ? TopAbs_REVERSED : TopAbs_FORWARD);
            const auto converted = convert(face);
            ASSERT_NE(converted->entry(), nullptr) << c.name;
            EXPECT_EQ(converted->entry()->direction, reverse ? c.reversed : c.forward) << c.name << reverse;
        }
}

TEST(ConvertFace, ConeNappes)
{
    // Apex at v = -5 / sin(0.5) along +Z: v in [0, 4] is on the nappe that
    // opens along +Z, v in [-20, -15] beyond the apex on the other one. The
    // kernel's normal points away from the axis on both, as the host's does:
    // the face keeps its direction.
    struct Case {
        const char* name;
        double semiAngle, vMin, vMax;
        bool otherNappe;
        int direction;
    } cases[] = {
        {"near nappe", 0.5, 0.0, 4.0, false, 0},
        {"far nappe", 0.5, -20.0, -15.0, true, 0},
        {"negative angle, near", -0.5, 0.0, 4.0, true, 0},
        {"negative angle, far", -0.5, 15.0, 20.0, false, 0},
    };
    for (const Case& c : cases) {
        const auto converted = convert(coneFace(c.semiAngle, c.vMin, c.vMax));
        ASSERT_NE(converted->entry(), nullptr) << c.name;
        const auto& cone = static_cast<const ZrGeCone&>(*converted->entry()->surface);
        ASSERT_EQ(cone.type(), ZrGe::kCone);
        EXPECT_TRUE(cone.axisOfSymmetry().isCodirectionalTo(ZrGeVector3d(0, 0, c.otherNappe ? -1 : 1))) << c.name;
        EXPECT_EQ(converted->entry()->direction, c.direction) << c.name;
        EXPECT_FALSE(anyParameterCurve(*converted->entry())) << c.name;
    }
}

TEST(ConvertFace, AppleTorusPartsAndParameterCurvesOnlyOnNurbs)
{
    // Major radius 3 below minor radius 5: the tube crosses the axis. Near
    // v = 0 the face is on the outer (apple) part; near v = pi the kernel
    // points lie across the axis, on the inner (lemon) part.
    const Handle(Geom_ToroidalSurface) torus = new Geom_ToroidalSurface(gp_Ax3(), 3.0, 5.0);
    const auto apple = convert(BRepBuilderAPI_MakeFace(torus, 0.0, 1.0, -0.5, 0.5, 1e-7).Face());
    const auto lemon = convert(BRepBuilderAPI_MakeFace(torus, 0.0, 1.0, kPi - 0.3, kPi + 0.3, 1e-7).Face());
    ASSERT_TRUE(apple->entry() && lemon->entry());
    const auto& appleTorus = static_cast<const ZrGeTorus&>(*apple->entry()->surface);
    const auto& lemonTorus = static_cast<const ZrGeTorus&>(*lemon->entry()->surface);
    EXPECT_EQ(appleTorus.majorRadius(), 3.0);
    EXPECT_EQ(appleTorus.minorRadius(), 5.0);
    EXPECT_EQ(lemonTorus.majorRadius(), -3.0);
    EXPECT_EQ(lemonTorus.minorRadius(), -5.0);
    EXPECT_FALSE(anyParameterCurve(*apple->entry()));

    const auto nurbs = convert(faceOf(BRepBuilderAPI_NurbsConvert(BRepPrimAPI_MakeBox(1, 2, 3).Shape()).Shape()));
    ASSERT_NE(nurbs->entry(), nullptr);
    EXPECT_EQ(nurbs->entry()->surface->type(), ZrGe::kNurbSurface);
    EXPECT_TRUE(anyParameterCurve(*nurbs->entry()));
}

TEST(ConvertFace, SurfacesWithoutHostFormAreLeftOut)
{
    TColgp_Array2OfPnt poles(1, 3, 1, 3);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j)
            poles.SetValue(i, j, gp_Pnt(i, j, (i * j) % 2));
    const Handle(Geom_BezierSurface) bezier = new Geom_BezierSurface(poles);
    const Handle(Geom_OffsetSurface) offset = new Geom_OffsetSurface(new Geom_Plane(gp_Ax3()), 2.0);
    EXPECT_EQ(convert(BRepBuilderAPI_MakeFace(bezier, 1e-7).Face())->entry(), nullptr);
    EXPECT_EQ(convert(BRepBuilderAPI_MakeFace(offset, 0, 1, 0, 1, 1e-7).Face())->entry(), nullptr);
}
