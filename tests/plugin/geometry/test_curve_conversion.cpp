// Kernel edge curves into host curves.
#include <gtest/gtest.h>

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <Geom_BezierCurve.hxx>
#include <Geom_Circle.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Hyperbola.hxx>
#include <Geom_Line.hxx>
#include <Geom_OffsetCurve.hxx>
#include <Geom_Parabola.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Geom_BSplineCurve.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TopExp.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp_Ax2.hxx>

#include <zrbase/ZrGeCircArc3d.h>
#include <zrbase/ZrGeEllipArc3d.h>
#include <zrbase/ZrGeLineSeg3d.h>
#include <zrbase/ZrGeNurbCurve3d.h>

#include "KernelShapes.h"
#include "geometry/CurveConversion.h"

namespace {

using shapes::hostPoint;

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
const ZrGeTol fineTol(1e-9, 1e-9);

TopoDS_Edge edgeOn(const Handle(Geom_Curve)& curve, double first, double last)
{
    return BRepBuilderAPI_MakeEdge(curve, first, last).Edge();
}

ZrGePoint3d vertexPoint(const TopoDS_Vertex& vertex, const gp_Trsf& trsf = gp_Trsf())
{
    return hostPoint(BRep_Tool::Pnt(vertex).Transformed(trsf));
}

Handle(Geom_Circle) circle(double radius) { return new Geom_Circle(gp_Ax2(), radius); }

TEST(ConvertEdgeCurve, QuarterCircleBothWays)
{
    const double r = 2.0, h = r / std::sqrt(2.0);
    const TopoDS_Edge edge = edgeOn(circle(r), 0, kPi / 2);
    struct Case {
        ZrGePoint3d start, end, through, notThrough;
    } cases[] = {
        {{r, 0, 0}, {0, r, 0}, {h, h, 0}, {-h, -h, 0}},
        {{0, r, 0}, {r, 0, 0}, {-h, -h, 0}, {h, h, 0}},
    };
    for (const Case& c : cases) {
        const auto arc = convertEdgeCurve(edge, circle(r), c.start, c.end, gp_Trsf());
        ASSERT_TRUE(arc);
        EXPECT_EQ(arc->type(), ZrGe::kCircArc3d);
        ZrGePoint3d start, end;
        ASSERT_TRUE(arc->hasStartPoint(start) && arc->hasEndPoint(end));
        EXPECT_TRUE(start.isEqualTo(c.start, fineTol));
        EXPECT_TRUE(end.isEqualTo(c.end, fineTol));
        EXPECT_TRUE(arc->isOn(c.through, fineTol));
        EXPECT_FALSE(arc->isOn(c.notThrough, fineTol));
    }
}

TEST(ConvertEdgeCurve, FullCircleStartsAtItsPoint)
{
    gp_Trsf placement;
    placement.SetRotation(gp_Ax1(gp_Pnt(), gp_Dir(1, 0, 0)), 0.5);
    placement.SetTranslationPart(gp_Vec(5, 6, 7));
    const TopoDS_Edge edge = edgeOn(circle(3.0), 1.0, 1.0 + kTwoPi);
    const auto converted = shapes::convertEdge(edge, placement);
    ASSERT_TRUE(converted);
    const auto& arc = static_cast<const ZrGeCircArc3d&>(*converted);
    EXPECT_EQ(arc.startAng(), 0.0);
    EXPECT_EQ(arc.endAng(), kTwoPi);
    EXPECT_TRUE(arc.isClosed());
    const ZrGePoint3d start = hostPoint(gp_Pnt(3 * std::cos(1.0), 3 * std::sin(1.0), 0).Transformed(placement));
    EXPECT_TRUE(arc.startPoint().isEqualTo(start, fineTol));
    EXPECT_TRUE(arc.center().isEqualTo(ZrGePoint3d(5, 6, 7), fineTol));
}

TEST(ConvertEdgeCurve, MirroredCircleKeepsItsSense)
{
    // Mirrored in the YZ plane, the quarter from (2,0) to (0,2) becomes the
    // quarter from (-2,0) to (0,2): through (-h, h), not the long way round.
    gp_Trsf mirror;
    mirror.SetMirror(gp_Ax2(gp_Pnt(), gp_Dir(1, 0, 0)));
    const double h = std::sqrt(2.0);
    const auto arc = shapes::convertEdge(edgeOn(circle(2.0), 0, kPi / 2), mirror);
    ASSERT_TRUE(arc);
    EXPECT_TRUE(arc->isOn(ZrGePoint3d(-h, h, 0), fineTol));
    EXPECT_FALSE(arc->isOn(ZrGePoint3d(h, -h, 0), fineTol));
}

TEST(ConvertEdgeCurve, SplinesAreCutToTheEdge)
{
    const Handle(Geom_BSplineCurve) spline = shapes::openSpline();
    struct Case {
        const char* what;
        double first, last;
    } cases[] = {
        {"whole curve", 0.0, 2.0},
        {"part", 0.3, 1.7},
        {"from the start", 0.0, 0.6},
        {"to the end", 1.2, 2.0},
    };
    for (const Case& c : cases) {
        const auto converted = shapes::convertEdge(edgeOn(spline, c.first, c.last));
        ASSERT_TRUE(converted) << c.what;
        ASSERT_EQ(converted->type(), ZrGe::kNurbCurve3d);
        const auto& nurbs = static_cast<const ZrGeNurbCurve3d&>(*converted);
        EXPECT_NEAR(nurbs.startParam(), c.first, 1e-9) << c.what;
        EXPECT_NEAR(nurbs.endParam(), c.last, 1e-9) << c.what;
        EXPECT_TRUE(nurbs.evalPoint((c.first + c.last) / 2)
                        .isEqualTo(hostPoint(spline->Value((c.first + c.last) / 2)), fineTol))
            << c.what;
        EXPECT_EQ(nurbs.numWeights(), 0) << c.what;
    }
    // The same point at both ends: nothing is left of the spline.
    const ZrGePoint3d middle = hostPoint(spline->Value(1.0));
    EXPECT_FALSE(convertEdgeCurve(edgeOn(spline, 0, 2), Handle(Geom_Curve)(spline), middle, middle, gp_Trsf()));

    const auto rational = shapes::convertEdge(edgeOn(shapes::openSpline(true), 0, 2));
    ASSERT_TRUE(rational);
    EXPECT_EQ(static_cast<const ZrGeNurbCurve3d&>(*rational).weightAt(2), 2.0);
}

// Knots a trillionth apart are two knots to the kernel and one to the host,
// where their multiplicities add up past the degree. Outside the edge they
// are left out with the rest of the spline the edge does not use.
TEST(ConvertEdgeCurve, KnotsTheHostWouldMergeAreCutAway)
{
    TColgp_Array1OfPnt poles(1, 8);
    for (int i = 1; i <= 8; ++i)
        poles.SetValue(i, gp_Pnt(i, (i % 3) * 0.7, 0.2 * i * i));
    TColStd_Array1OfReal knots(1, 4);
    TColStd_Array1OfInteger mults(1, 4);
    const double values[] = {0.0, 1.0, 1.0 + 1e-12, 2.0};
    const int counts[] = {4, 2, 2, 4};
    for (int i = 0; i < 4; ++i) {
        knots.SetValue(i + 1, values[i]);
        mults.SetValue(i + 1, counts[i]);
    }
    const Handle(Geom_BSplineCurve) spline = new Geom_BSplineCurve(poles, knots, mults, 3);

    const auto converted = shapes::convertEdge(edgeOn(spline, 1.2, 2.0));
    ASSERT_TRUE(converted);
    ASSERT_EQ(converted->type(), ZrGe::kNurbCurve3d);
    const auto& nurbs = static_cast<const ZrGeNurbCurve3d&>(*converted);
    ZrGeDoubleArray distinct;
    ZrGeIntArray multiplicities;
    nurbs.knots().getDistinctKnots(distinct, &multiplicities);
    for (int i = 1; i + 1 < multiplicities.length(); ++i)
        EXPECT_LE(multiplicities[i], nurbs.degree()) << "at knot " << distinct[i];
    EXPECT_NEAR(nurbs.startParam(), 1.2, 1e-9);
    EXPECT_NEAR(nurbs.endParam(), 2.0, 1e-9);
    for (double t : {1.2, 1.5, 1.9, 2.0})
        EXPECT_TRUE(nurbs.evalPoint(t).isEqualTo(hostPoint(spline->Value(t)), fineTol)) << t;
    EXPECT_EQ(spline->NbKnots(), 4); // the kernel's curve is left as it was
}

TEST(ConvertEdgeCurve, StraightSplineIsALine)
{
    TColgp_Array1OfPnt poles(1, 2);
    poles.SetValue(1, gp_Pnt(0, 0, 0));
    poles.SetValue(2, gp_Pnt(4, 0, 0));
    TColStd_Array1OfReal knots(1, 2);
    knots.SetValue(1, 0);
    knots.SetValue(2, 1);
    TColStd_Array1OfInteger mults(1, 2);
    mults.Init(2);
    const Handle(Geom_BSplineCurve) straight = new Geom_BSplineCurve(poles, knots, mults, 1);
    const auto line = convertEdgeCurve(edgeOn(straight, 0, 1), Handle(Geom_Curve)(straight), ZrGePoint3d(1, 0, 0), ZrGePoint3d(3, 0, 0),
                                       gp_Trsf());
    ASSERT_TRUE(line);
    EXPECT_EQ(line->type(), ZrGe::kLineSeg3d);
    EXPECT_EQ(static_cast<const ZrGeLineSeg3d&>(*line).startPoint(), ZrGePoint3d(1, 0, 0));
    EXPECT_EQ(static_cast<const ZrGeLineSeg3d&>(*line).endPoint(), ZrGePoint3d(3, 0, 0));
}

TEST(ConvertEdgeCurve, PeriodicSplineIsCopiedAndKeptWhole)
{
    const Handle(Geom_BSplineCurve) spline = shapes::periodicSpline();
    struct Case {
        const char* what;
        double first, last;
    } cases[] = {
        {"one period", 0.0, 8.0},
        {"inside the period", 1.5, 6.0},
        {"across the seam", 6.5, 9.5},
        {"a period from elsewhere", 3.0, 11.0},
    };
    for (const Case& c : cases) {
        const auto converted = shapes::convertEdge(edgeOn(spline, c.first, c.last));
        ASSERT_TRUE(converted) << c.what;
        ZrGePoint3d start, end;
        converted->hasStartPoint(start);
        converted->hasEndPoint(end);
        EXPECT_TRUE(start.isEqualTo(hostPoint(spline->Value(c.first)), fineTol)) << c.what;
        EXPECT_TRUE(end.isEqualTo(hostPoint(spline->Value(c.last)), fineTol)) << c.what;
        const double middle = (c.first + c.last) / 2;
        EXPECT_TRUE(converted->isOn(hostPoint(spline->Value(middle)), ZrGeTol(1e-7, 1e-7))) << c.what;
        EXPECT_EQ(converted->isClosed(fineTol), c.last - c.first == 8.0) << c.what;
    }
    // Shared kernel geometry is left as it was.
    EXPECT_TRUE(spline->IsPeriodic());
    EXPECT_EQ(spline->NbKnots(), 9);
}

TEST(ConvertEdgeCurve, EllipseAngles)
{
    const Handle(Geom_Ellipse) ellipse = new Geom_Ellipse(gp_Ax2(gp_Pnt(1, 2, 3), gp_Dir(0, 0, 1)), 5.0, 2.0);
    struct Case {
        const char* what;
        double first, last, start, end;
    } cases[] = {
        {"closed", 0.0, kTwoPi, 0.0, kTwoPi},
        {"closed from elsewhere", 2.0, 2.0 + kTwoPi, 2.0, 2.0 + kTwoPi},
        {"part", 0.5, 2.5, 0.5, 2.5},
        {"across angle zero", 5.5, 0.5 + kTwoPi, 5.5, 0.5 + kTwoPi},
    };
    for (const Case& c : cases) {
        const auto converted = shapes::convertEdge(edgeOn(ellipse, c.first, c.last));
        ASSERT_TRUE(converted) << c.what;
        const auto& arc = static_cast<const ZrGeEllipArc3d&>(*converted);
        EXPECT_NEAR(arc.startAng(), c.start, 1e-9) << c.what;
        EXPECT_NEAR(arc.endAng(), c.end, 1e-9) << c.what;
        EXPECT_TRUE(arc.evalPoint(1.0).isEqualTo(hostPoint(ellipse->Value(1.0)), fineTol));
    }
}

// A hyperbola or parabola edge, moved by a location like a part placed in
// an assembly.
void expectConicThroughItsVertices(const Handle(Geom_Curve)& conic, double first, double last)
{
    gp_Trsf move;
    move.SetRotation(gp_Ax1(gp_Pnt(1, 1, 1), gp_Dir(1, 2, 3)), 0.8);
    move.SetTranslationPart(gp_Vec(10, -4, 2));
    for (const gp_Trsf& location : {gp_Trsf(), move}) {
        const TopoDS_Edge edge = TopoDS::Edge(edgeOn(conic, first, last).Moved(TopLoc_Location(location)));
        const auto converted = shapes::convertEdge(edge);
        ASSERT_TRUE(converted);
        EXPECT_EQ(converted->type(), ZrGe::kNurbCurve3d);
        ZrGePoint3d start, end;
        converted->hasStartPoint(start);
        converted->hasEndPoint(end);
        EXPECT_TRUE(start.isEqualTo(vertexPoint(TopExp::FirstVertex(edge)), ZrGeTol(1e-7, 1e-7)));
        EXPECT_TRUE(end.isEqualTo(vertexPoint(TopExp::LastVertex(edge)), ZrGeTol(1e-7, 1e-7)));
        const ZrGePoint3d inside = hostPoint(conic->Value((first + last) / 3).Transformed(location));
        EXPECT_TRUE(converted->isOn(inside, ZrGeTol(1e-7, 1e-7)));
    }
}

TEST(ConvertEdgeCurve, HyperbolaAndParabolaInTheirFrame)
{
    const gp_Ax2 frame(gp_Pnt(3, 0, 1), gp_Dir(0, 1, 1), gp_Dir(1, 0, 0));
    expectConicThroughItsVertices(new Geom_Hyperbola(frame, 4.0, 1.5), -1.0, 1.5);
    expectConicThroughItsVertices(new Geom_Parabola(frame, 2.0), -3.0, 2.0);
}

TEST(ConvertEdgeCurve, LinesEmptyCurvesAndUnsupportedKinds)
{
    const ZrGePoint3d a(1, 2, 3), b(4, 6, 3);
    const TopoDS_Edge edge = edgeOn(new Geom_Line(gp_Pnt(1, 2, 3), gp_Dir(0.6, 0.8, 0)), 0, 5);
    const auto fromEmpty = convertEdgeCurve(edge, Handle(Geom_Curve)(), a, b, gp_Trsf());
    const auto fromLine = shapes::convertEdge(edge);
    for (const auto* line : {fromEmpty.get(), fromLine.get()}) {
        ASSERT_TRUE(line);
        EXPECT_EQ(line->type(), ZrGe::kLineSeg3d);
        EXPECT_TRUE(static_cast<const ZrGeLineSeg3d*>(line)->startPoint().isEqualTo(a, fineTol));
        EXPECT_TRUE(static_cast<const ZrGeLineSeg3d*>(line)->endPoint().isEqualTo(b, fineTol));
    }

    TColgp_Array1OfPnt poles(1, 3);
    poles.SetValue(1, gp_Pnt(0, 0, 0));
    poles.SetValue(2, gp_Pnt(1, 1, 0));
    poles.SetValue(3, gp_Pnt(2, 0, 0));
    const Handle(Geom_Curve) unsupported[] = {
        new Geom_BezierCurve(poles),
        new Geom_OffsetCurve(circle(1.0), 0.5, gp_Dir(0, 0, 1)),
        new Geom_TrimmedCurve(new Geom_OffsetCurve(circle(1.0), 0.5, gp_Dir(0, 0, 1)), 0, 1),
    };
    for (const auto& curve : unsupported)
        EXPECT_FALSE(convertEdgeCurve(edge, curve, a, b, gp_Trsf())) << curve->DynamicType()->Name();

    // A trimmed circle (as readers give seam edges) is its circle.
    const Handle(Geom_Curve) trimmed = new Geom_TrimmedCurve(circle(1.0), 0, kPi);
    const auto arc = convertEdgeCurve(edge, trimmed, ZrGePoint3d(1, 0, 0), ZrGePoint3d(0, 1, 0), gp_Trsf());
    ASSERT_TRUE(arc);
    EXPECT_EQ(arc->type(), ZrGe::kCircArc3d);
    EXPECT_TRUE(arc->isOn(ZrGePoint3d(std::sqrt(0.5), std::sqrt(0.5), 0), fineTol));
}

TEST(NearlyEqual, AbsoluteThenRelativeForSmallTolerances)
{
    struct Case {
        double a, b, tol;
        bool equal;
    } cases[] = {
        {1.0, 1.0 + 1e-11, 1e-10, true},   // absolute
        {1e6, 1e6 + 1e-5, 1e-10, true},    // relative, tolerance below 1e-7
        {1e6, 1e6 + 1e-3, 1e-10, false},
        {1e6, 1e6 + 1e-5, 1e-6, false},    // no relative test from 1e-7 up
        {0.0, 1e-9, 1e-10, false},
        {-2.0, -2.0, 0.0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nearlyEqual(c.a, c.b, c.tol), c.equal) << c.a << " " << c.b << " " << c.tol;
}

} // namespace
