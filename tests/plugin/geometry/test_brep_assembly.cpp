// Work-item shapes into entities: what becomes a solid, a surface, curves
// or points, how records are grouped, and colours.
#include <gtest/gtest.h>

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRep_Builder.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <GC_MakeCircle.hxx>
#include <GC_MakeEllipse.hxx>
#include <Geom_BezierCurve.hxx>
#include <Geom_OffsetCurve.hxx>
#include <Geom_OffsetSurface.hxx>
#include <BRep_Tool.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Solid.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Shell.hxx>
#include <XCAFDoc_DocumentTool.hxx>

#include <zrdb/ZrDbCurves.h>

#include <functional>

#include "Fixtures.h"
#include "GeometryTestSupport.h"
#include "KernelShapes.h"

namespace {

using fixtures::box;
using support::Converted;

constexpr double kPi = 3.141592653589793;

std::string kinds(const Converted& converted)
{
    std::string out;
    for (const std::unique_ptr<ZrDbEntity>& entity : converted.entities) {
        std::wstring name = entity->isA()->name();
        out += (out.empty() ? "" : ",") + ZrString(name.substr(4)).utf8();
    }
    return out;
}

TopoDS_Face faceOf(const TopoDS_Shape& shape, int index)
{
    TopTools_IndexedMapOfShape faces;
    TopExp::MapShapes(shape, TopAbs_FACE, faces);
    return TopoDS::Face(faces(index));
}

// The box's faces but one, in one shell.
TopoDS_Shape openShell()
{
    BRep_Builder builder;
    TopoDS_Shell shell;
    builder.MakeShell(shell);
    for (int i = 1; i < 6; ++i)
        builder.Add(shell, faceOf(box(1, 1, 1), i));
    return shell;
}

// A unit box whose first failing faces lie on offset surfaces, which have
// no host form: those faces fail to convert.
TopoDS_Shape boxWithFailingFaces(int failing)
{
    const TopoDS_Shape cube = box(1, 1, 1);
    BRep_Builder builder;
    TopoDS_Shell shell;
    builder.MakeShell(shell);
    for (int i = 1; i <= 6; ++i) {
        TopoDS_Face face = faceOf(cube, i);
        if (i <= failing) {
            TopoDS_Face offset = TopoDS::Face(face.EmptyCopied());
            builder.UpdateFace(offset, new Geom_OffsetSurface(BRep_Tool::Surface(face), 0.0), TopLoc_Location(), 1e-7);
            for (TopoDS_Iterator wires(face); wires.More(); wires.Next())
                builder.Add(offset, wires.Value());
            face = offset;
        }
        builder.Add(shell, face);
    }
    TopoDS_Solid solid;
    builder.MakeSolid(solid);
    builder.Add(solid, shell);
    return solid;
}

TopoDS_Shape edge(const Handle(Geom_Curve)& curve) { return BRepBuilderAPI_MakeEdge(curve).Edge(); }

} // namespace

TEST(ConvertShape, WhatEachShapeBecomes)
{
    support::HostServices host;
    const TopoDS_Shape looseFace = faceOf(box(1, 1, 1, gp_Pnt(5, 0, 0)), 1);
    struct Case {
        const char* name;
        TopoDS_Shape shape;
        bool wantFreeGeometry;
        std::string kinds;
        int faces; // of the first body
    } cases[] = {
        {"two solids", fixtures::compound({box(1, 2, 3), box(1, 1, 1, gp_Pnt(5, 0, 0))}), true, "3dSolid,3dSolid", 6},
        {"open shell", openShell(), true, "3dSolid", 5},
        {"loose faces", fixtures::compound({faceOf(box(1, 1, 1), 1), looseFace}), true, "Surface", 2},
        {"solid and loose face", fixtures::compound({box(1, 1, 1), looseFace}), true, "3dSolid", 6},
        // No body is no entity; a solid missing faces is an open body.
        {"solid whose faces all fail", boxWithFailingFaces(6), true, "", 0},
        {"solid with a face failing", boxWithFailingFaces(1), true, "3dSolid", 5},
        {"wire", fixtures::wire({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}), true, "Line,Line", 0},
        {"wire, no free geometry", fixtures::wire({{0, 0, 0}, {1, 0, 0}}), false, "", 0},
        {"vertices", fixtures::compound({fixtures::vertex({1, 2, 3}), fixtures::vertex({4, 5, 6})}), true,
         "Point,Point", 0},
        {"vertices, no free geometry", fixtures::vertex({1, 2, 3}), false, "", 0},
    };
    for (const Case& c : cases) {
        const Converted converted = support::convert(c.shape, gp_Trsf(), c.wantFreeGeometry);
        EXPECT_EQ(kinds(converted), c.kinds) << c.name;
        if (c.faces == 0 || converted.entities.empty())
            continue;
        const ZrModelerGeometry* body = support::bodyOf(converted.entities[0]);
        ASSERT_NE(body, nullptr) << c.name;
        EXPECT_EQ(body->numFaces(), c.faces) << c.name;
    }
}

TEST(ConvertShape, EachRecordSharesEdgesAndStartsAfresh)
{
    // Every box of a compound is its own record: indices restart, and each
    // box's faces share its 12 edges and 8 vertices.
    support::HostServices host;
    const Converted converted = support::convert(fixtures::compound({box(1, 2, 3), box(2, 2, 2, gp_Pnt(9, 0, 0))}),
                                                 fixtures::translation(0, 0, 100));
    ASSERT_EQ(converted.entities.size(), 2u);
    const double volumes[] = {6.0, 8.0};
    for (int i = 0; i < 2; ++i) {
        const ZrModelerGeometry* body = support::bodyOf(converted.entities[i]);
        ASSERT_NE(body, nullptr);
        EXPECT_TRUE(body->isValid());
        EXPECT_EQ(body->numEdges(), 12);
        EXPECT_EQ(body->numVertices(), 8);
        EXPECT_NEAR(body->volume(), volumes[i], 1e-6);
        ZrDbExtents extents;
        ASSERT_EQ(converted.entities[i]->getGeomExtents(extents), Nimb::eOk);
        EXPECT_NEAR(extents.minPoint().z, 100.0, 1e-6); // placed by the item's transformation
    }

    const Converted open = support::convert(openShell());
    const ZrModelerGeometry* shell = support::bodyOf(open.entities[0]);
    EXPECT_FALSE(shell->isClosed());
    EXPECT_EQ(shell->numSolids(), 0);
    EXPECT_EQ(shell->volume(), 0.0);

    const Converted faces = support::convert(fixtures::compound({faceOf(box(1, 1, 1), 1), faceOf(box(1, 1, 1), 2)}));
    auto* surface = ZrDbSurface::cast(faces.entities[0].get());
    EXPECT_EQ(surface->uIsolineDensity(), 2);
    EXPECT_EQ(surface->vIsolineDensity(), 2);
    EXPECT_NEAR(surface->modelerGeometry()->area(), 2.0, 1e-9);
}

TEST(ConvertShape, ColoursOfFacesAndEntities)
{
    support::HostServices host;
    fixtures::Model model;
    const TopoDS_Shape part = box(1, 1, 1);
    const TDF_Label label = model.addPart(part, "part");
    model.shapes->AddSubShape(label, faceOf(part, 1));
    model.setColour(faceOf(part, 1), Quantity_Color(1, 0, 0, Quantity_TOC_RGB), XCAFDoc_ColorSurf);

    const Converted coloured = support::convert(part, gp_Trsf(), true, model.colours);
    const ZrModelerGeometry* body = support::bodyOf(coloured.entities[0]);
    int red = 0;
    for (int f = 0; f < body->numFaces(); ++f) {
        std::uint32_t colour = 0;
        if (body->faceColor(f, colour)) {
            EXPECT_EQ(ZrCmEntityColor::fromValue(colour).red(), 254);
            ++red;
        }
    }
    EXPECT_EQ(red, 1);
    // The entity itself keeps the host's default colour.
    EXPECT_EQ(coloured.entities[0]->colorIndex(), 256);
}

TEST(ConvertFreeEdges, EachCurveKindItsEntity)
{
    support::HostServices host;
    const gp_Ax2 axes(gp_Pnt(1, 2, 0), gp::DZ());
    const Handle(Geom_Curve) circle = Handle(Geom_Curve)(GC_MakeCircle(axes, 3).Value());
    TColgp_Array1OfPnt poles(1, 3);
    poles.SetValue(1, gp_Pnt(0, 0, 0));
    poles.SetValue(2, gp_Pnt(1, 1, 0));
    poles.SetValue(3, gp_Pnt(2, 0, 0));
    const Handle(Geom_Curve) bezier = new Geom_BezierCurve(poles);
    struct Case {
        const char* name;
        TopoDS_Shape shape;
        std::string kinds;
        std::function<void(ZrDbEntity*)> check;
    } cases[] = {
        {"closed circle", edge(circle), "Circle",
         [](ZrDbEntity* e) { EXPECT_EQ(ZrDbCircle::cast(e)->radius(), 3.0); }},
        {"half circle", BRepBuilderAPI_MakeEdge(circle, 0.0, kPi).Edge(), "Arc",
         [](ZrDbEntity* e) {
             auto* arc = ZrDbArc::cast(e);
             EXPECT_NEAR(arc->endAngle() - arc->startAngle(), kPi, 1e-9);
             EXPECT_TRUE(arc->startPoint().isEqualTo(ZrGePoint3d(4, 2, 0)));
         }},
        {"closed ellipse", edge(Handle(Geom_Curve)(GC_MakeEllipse(axes, 5, 2).Value())), "Ellipse",
         [](ZrDbEntity* e) {
             auto* ellipse = ZrDbEllipse::cast(e);
             EXPECT_NEAR(ellipse->endParam() - ellipse->startParam(), 2 * kPi, 1e-12);
             EXPECT_NEAR(ellipse->radiusRatio(), 0.4, 1e-12);
         }},
        {"line", fixtures::lineEdge({0, 0, 0}, {3, 0, 0}), "Line", nullptr},
        {"spline", edge(shapes::openSpline()), "Spline",
         [](ZrDbEntity* e) { EXPECT_EQ(ZrDbSpline::cast(e)->degree(), 3); }},
        {"Bezier", edge(bezier), "", nullptr},
        {"offset", edge(new Geom_OffsetCurve(shapes::openSpline(), 1.0, gp::DZ())), "", nullptr},
    };
    for (const Case& c : cases) {
        const Converted converted = support::convert(c.shape, fixtures::translation(0, 0, 0));
        EXPECT_EQ(kinds(converted), c.kinds) << c.name;
        if (c.check && !converted.entities.empty())
            c.check(converted.entities[0].get());
    }
}

TEST(ConvertFreeEdges, EdgeColoursAndPoints)
{
    support::HostServices host;
    fixtures::Model model;
    const TopoDS_Shape line = fixtures::lineEdge({0, 0, 0}, {1, 0, 0});
    const TopoDS_Shape white = fixtures::lineEdge({0, 1, 0}, {1, 1, 0});
    const TopoDS_Shape plain = fixtures::lineEdge({0, 2, 0}, {1, 2, 0});
    const TDF_Label label = model.addPart(fixtures::compound({line, white, plain}), "lines");
    for (const TopoDS_Shape& coloured : {line, white})
        model.shapes->AddSubShape(label, coloured);
    model.setColour(line, Quantity_Color(0, 0, 1, Quantity_TOC_RGB), XCAFDoc_ColorCurv);
    model.setColour(white, Quantity_Color(1, 1, 1, Quantity_TOC_RGB), XCAFDoc_ColorCurv);

    const Converted converted =
        support::convert(fixtures::compound({line, white, plain}), gp_Trsf(), true, model.colours);
    ASSERT_EQ(converted.entities.size(), 3u);
    EXPECT_EQ(converted.entities[0]->color().blue(), 254);
    EXPECT_EQ(converted.entities[0]->color().colorMethod(), ZrCmEntityColor::kByColor);
    EXPECT_EQ(converted.entities[1]->colorIndex(), 0); // white: by block
    EXPECT_EQ(converted.entities[2]->colorIndex(), 256); // none: the default, by layer

    const Converted points = support::convert(fixtures::vertex({1, 2, 3}), fixtures::translation(10, 0, 0));
    ASSERT_EQ(points.entities.size(), 1u);
    EXPECT_EQ(ZrDbPoint::cast(points.entities[0].get())->position(), ZrGePoint3d(11, 2, 3));
    EXPECT_EQ(points.entities[0]->colorIndex(), 256);
}
