// Curve parameterisations and queries the plug-in relies on.
#include <gtest/gtest.h>

#include <zrbase/GeExInterface.h>
#include <zrbase/ZrGeCircArc3d.h>
#include <zrbase/ZrGeEllipArc3d.h>
#include <zrbase/ZrGeLineSeg2d.h>
#include <zrbase/ZrGeLineSeg3d.h>
#include <zrbase/ZrGeNurbCurve2d.h>
#include <zrbase/ZrGeNurbCurve3d.h>

#include <cmath>
#include <memory>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

void expectNear(const ZrGePoint3d& actual, const ZrGePoint3d& expected, double tol = 1e-9)
{
    EXPECT_LE(actual.distanceTo(expected), tol) << "(" << actual.x << ", " << actual.y << ", " << actual.z
                                                 << ") vs (" << expected.x << ", " << expected.y << ", "
                                                 << expected.z << ")";
}

ZrGeKnotVector knotsOf(std::initializer_list<double> values)
{
    ZrGeKnotVector knots;
    for (double value : values)
        knots.append(value);
    return knots;
}

ZrGePoint3dArray pointsOf(std::initializer_list<ZrGePoint3d> values)
{
    ZrGePoint3dArray points;
    for (const auto& value : values)
        points.append(value);
    return points;
}

// A clamped cubic with one interior knot over [0, 2].
ZrGeNurbCurve3d cubic()
{
    return ZrGeNurbCurve3d(3, knotsOf({0, 0, 0, 0, 1, 2, 2, 2, 2}),
                           pointsOf({{0, 0, 0}, {1, 2, 0}, {2, -1, 1}, {3, 2, 0}, {4, 0, 0}}));
}

TEST(ZrGeLineSeg3d, SetIntervalKeepsTheParameterisation)
{
    ZrGeLineSeg3d line(ZrGePoint3d(0, 0, 0), ZrGePoint3d(2, 0, 0));
    EXPECT_DOUBLE_EQ(line.paramOf(ZrGePoint3d(1, 5, 0)), 0.5);
    EXPECT_DOUBLE_EQ(line.paramOf(ZrGePoint3d(9, 0, 0)), 1.0); // clamped to the segment
    ASSERT_TRUE(line.setInterval(ZrGeInterval(0.5, 2.0)));
    expectNear(line.startPoint(), ZrGePoint3d(1, 0, 0));
    expectNear(line.endPoint(), ZrGePoint3d(4, 0, 0));
    EXPECT_DOUBLE_EQ(line.paramOf(ZrGePoint3d(3, 0, 0)), 1.5);
    EXPECT_DOUBLE_EQ(line.length(), 3.0);
    EXPECT_FALSE(line.setInterval(ZrGeInterval()));

    // isOn honours the tolerance's point value.
    EXPECT_TRUE(line.isOn(ZrGePoint3d(2, 1e-6, 0), ZrGeTol(1e-5, 1e-5)));
    EXPECT_FALSE(line.isOn(ZrGePoint3d(2, 1e-6, 0)));
}

TEST(ZrGeCircArc3d, AnglesRunCounterClockwiseAboutTheNormal)
{
    // Normal -Z: counter-clockwise about it is clockwise seen from +Z.
    const ZrGeCircArc3d arc(ZrGePoint3d(1, 1, 0), ZrGeVector3d(0, 0, -2), ZrGeVector3d(3, 0, 0), 2.0, 0.0, kPi / 2);
    expectNear(arc.startPoint(), ZrGePoint3d(3, 1, 0));
    expectNear(arc.endPoint(), ZrGePoint3d(1, -1, 0));
    EXPECT_NEAR(arc.paramOf(ZrGePoint3d(1 + std::sqrt(2.0), 1 - std::sqrt(2.0), 0)), kPi / 4, 1e-12);
    // Off the arc: the nearer end.
    EXPECT_DOUBLE_EQ(arc.paramOf(ZrGePoint3d(1, 5, 0)), 0.0);
    EXPECT_DOUBLE_EQ(arc.paramOf(ZrGePoint3d(-5, 0.9, 0)), kPi / 2);
    EXPECT_NEAR(arc.length(0.0, kPi / 2), kPi, 1e-9);
}

TEST(ZrGeCircArc3d, AngleNormalisation)
{
    struct Case {
        double start, end, expectedEnd;
    } cases[] = {
        {0.0, kTwoPi, kTwoPi},              // full circle
        {5.0, 1.0, 1.0 + kTwoPi},           // runs on past 2 pi
        {7.0, 0.5, 0.5 + 2 * kTwoPi},       // by whole turns
        {1.0, 20.0, 1.0 + kTwoPi},          // at most one turn
        {-kPi, kPi, kPi},
    };
    for (const Case& c : cases) {
        ZrGeCircArc3d arc;
        arc.setAngles(c.start, c.end);
        EXPECT_DOUBLE_EQ(arc.startAng(), c.start);
        EXPECT_NEAR(arc.endAng(), c.expectedEnd, 1e-12) << c.start << " " << c.end;
    }
    ZrGeCircArc3d circle(ZrGePoint3d(), ZrGeVector3d(0, 0, 1), 3.0);
    double period = 0.0;
    EXPECT_TRUE(circle.isClosed());
    EXPECT_TRUE(circle.isPeriodic(period));
    EXPECT_DOUBLE_EQ(period, kTwoPi);
    circle.setAngles(0.0, 1.0);
    EXPECT_FALSE(circle.isClosed());
    EXPECT_FALSE(circle.isPeriodic(period));
}

TEST(ZrGeCircArc3d, ThroughThreePoints)
{
    const double r = 5.0, h = r / std::sqrt(2.0);
    // The quarter from (r,0) to (0,r) through the middle of the quarter.
    ZrGeCircArc3d quarter(ZrGePoint3d(r, 0, 1), ZrGePoint3d(h, h, 1), ZrGePoint3d(0, r, 1));
    expectNear(quarter.center(), ZrGePoint3d(0, 0, 1));
    EXPECT_NEAR(quarter.radius(), r, 1e-12);
    EXPECT_NEAR(quarter.normal().z, 1.0, 1e-12);
    EXPECT_NEAR(quarter.endAng() - quarter.startAng(), kPi / 2, 1e-12);
    expectNear(quarter.startPoint(), ZrGePoint3d(r, 0, 1));
    expectNear(quarter.endPoint(), ZrGePoint3d(0, r, 1));

    // The other way round: three quarters through (-h, -h).
    ZrGeCircArc3d rest(ZrGePoint3d(0, r, 1), ZrGePoint3d(-h, -h, 1), ZrGePoint3d(r, 0, 1));
    EXPECT_NEAR(rest.endAng() - rest.startAng(), 3 * kPi / 2, 1e-12);
    EXPECT_TRUE(rest.isOn(ZrGePoint3d(-r, 0, 1)));
    EXPECT_FALSE(rest.isOn(ZrGePoint3d(h, h, 1)));

    ZrGeCircArc3d unchanged;
    EXPECT_EQ(unchanged.set(ZrGePoint3d(0, 0, 0), ZrGePoint3d(1, 1, 1), ZrGePoint3d(2, 2, 2)), Nimb::eInvalidInput);
    EXPECT_EQ(unchanged.set(ZrGePoint3d(0, 0, 0), ZrGePoint3d(0, 0, 0), ZrGePoint3d(2, 2, 2)), Nimb::eInvalidInput);
    EXPECT_DOUBLE_EQ(unchanged.radius(), 1.0);
}

TEST(ZrGeEllipArc3d, EccentricAngleAndWrapping)
{
    ZrGeEllipArc3d ellipse(ZrGePoint3d(1, 0, 0), ZrGeVector3d(0, 2, 0), ZrGeVector3d(-1, 0, 0), 4.0, 1.0);
    EXPECT_TRUE(ellipse.isClosed());
    EXPECT_NEAR(ellipse.normal().z, 1.0, 1e-12);
    // The eccentric angle, not the polar one.
    const double a = 0.7;
    const ZrGePoint3d onCurve(1 - std::sin(a), 4 * std::cos(a), 0);
    expectNear(ellipse.evalPoint(a), onCurve);
    EXPECT_NEAR(ellipse.paramOf(onCurve), a, 1e-12);
    EXPECT_NEAR(ellipse.paramOf(ellipse.evalPoint(5.5)), 5.5, 1e-12);

    // An end angle below the start runs on past 2 pi, through angle 0.
    ellipse.setAngles(5.5, 0.5);
    EXPECT_NEAR(ellipse.endAng(), 0.5 + kTwoPi, 1e-12);
    EXPECT_TRUE(ellipse.isOn(ellipse.evalPoint(0.0)));
    EXPECT_FALSE(ellipse.isOn(ellipse.evalPoint(kPi)));
    EXPECT_NEAR(ellipse.paramOf(ellipse.evalPoint(0.2)), 0.2 + kTwoPi, 1e-12);

    // A point off the ellipse gives its nearest point's angle.
    const ZrGeEllipArc3d full(ZrGePoint3d(), ZrGeVector3d(1, 0, 0), ZrGeVector3d(0, 1, 0), 3.0, 1.0);
    EXPECT_NEAR(full.paramOf(ZrGePoint3d(0, 5, 2)), kPi / 2, 1e-7);
}

TEST(ZrGeEllipArc3d, MinorRadiusMayBeTheLarger)
{
    const ZrGeEllipArc3d ellipse(ZrGePoint3d(), ZrGeVector3d(1, 0, 0), ZrGeVector3d(0, 1, 0), 1.0, 3.0);
    expectNear(ellipse.evalPoint(kPi / 2), ZrGePoint3d(0, 3, 0));
    EXPECT_NEAR(ellipse.paramOf(ZrGePoint3d(0, 3.5, 0)), kPi / 2, 1e-6);
    EXPECT_NEAR(ellipse.paramOf(ZrGePoint3d(0.2, 3.5, 0)), 1.4917527633, 1e-6); // nearer than (0, 3)
    // Perimeter of a 1 x 3 ellipse.
    EXPECT_NEAR(ellipse.length(0, kTwoPi), 13.364893220555258, 1e-7);
}

TEST(ZrGeNurbCurve3d, DefinitionIntervalAndEnds)
{
    const ZrGeNurbCurve3d spline = cubic();
    ASSERT_TRUE(spline.isValid());
    EXPECT_FALSE(spline.isRational());
    EXPECT_EQ(spline.numWeights(), 0);
    EXPECT_EQ(spline.startParam(), 0.0);
    EXPECT_EQ(spline.endParam(), 2.0);
    expectNear(spline.startPoint(), ZrGePoint3d(0, 0, 0));
    expectNear(spline.endPoint(), ZrGePoint3d(4, 0, 0));
    for (double t : {0.0, 0.3, 1.0, 1.7, 2.0})
        EXPECT_NEAR(spline.paramOf(spline.evalPoint(t)), t, 1e-9) << t;
    ZrGePoint3d start;
    EXPECT_TRUE(spline.hasStartPoint(start));
    EXPECT_FALSE(spline.isClosed());
}

TEST(ZrGeNurbCurve3d, SetIntervalTrimsWithoutReparameterising)
{
    ZrGeNurbCurve3d spline = cubic();
    const ZrGePoint3d inside = spline.evalPoint(1.2);
    ASSERT_TRUE(spline.setInterval(ZrGeInterval(0.5, 1.5, 1e-12)));
    EXPECT_NEAR(spline.startParam(), 0.5, 1e-12);
    EXPECT_NEAR(spline.endParam(), 1.5, 1e-12);
    expectNear(spline.evalPoint(1.2), inside);
    expectNear(spline.startPoint(), cubic().evalPoint(0.5));
    EXPECT_NEAR(spline.paramOf(inside), 1.2, 1e-9);

    for (auto range : {ZrGeInterval(1.0, 1.0), ZrGeInterval(-1.0, 1.0), ZrGeInterval(1.4, 3.0), ZrGeInterval()})
        EXPECT_FALSE(spline.setInterval(range));
    EXPECT_NEAR(spline.endParam(), 1.5, 1e-12);
}

TEST(ZrGeNurbCurve3d, RationalQuarterCircle)
{
    ZrGeDoubleArray weights;
    for (double w : {1.0, std::sqrt(0.5), 1.0})
        weights.append(w);
    const ZrGeNurbCurve3d quarter(2, knotsOf({0, 0, 0, 1, 1, 1}), pointsOf({{1, 0, 0}, {1, 1, 0}, {0, 1, 0}}),
                                  weights);
    ASSERT_TRUE(quarter.isRational());
    for (double t : {0.1, 0.5, 0.9})
        EXPECT_NEAR(quarter.evalPoint(t).distanceTo(ZrGePoint3d::kOrigin), 1.0, 1e-12);
    EXPECT_NEAR(GeExInterface::get().curveSize(quarter), std::sqrt(2.0), 1e-6);
}

TEST(ZrGeNurbCurve3d, PeriodicCurveWrapsAround)
{
    // A closed, uniform quadratic: the first two control points repeat at the end.
    const ZrGeNurbCurve3d closed(2, knotsOf({0, 1, 2, 3, 4, 5, 6, 7, 8}),
                                 pointsOf({{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {0, 0, 0}, {2, 0, 0}}), true);
    ASSERT_TRUE(closed.isValid());
    double period = 0.0;
    ASSERT_TRUE(closed.isPeriodic(period));
    EXPECT_DOUBLE_EQ(period, 4.0);
    EXPECT_TRUE(closed.isClosed());
    expectNear(closed.evalPoint(2.5 + 4.0), closed.evalPoint(2.5));
    expectNear(closed.evalPoint(2.5 - 8.0), closed.evalPoint(2.5));
}

TEST(ZrGeNurbCurve3d, InvalidDataMakeAnEmptyCurve)
{
    struct Case {
        const char* what;
        int degree;
        ZrGeKnotVector knots;
        ZrGeDoubleArray weights;
    } cases[] = {
        {"too few knots", 3, knotsOf({0, 0, 0, 0, 1, 1, 1}), {}},
        {"decreasing knots", 3, knotsOf({0, 0, 0, 0, 2, 1, 2, 2, 2}), {}},
        {"degree zero", 0, knotsOf({0, 1, 2, 3, 4, 5}), {}},
        {"interior knot repeated beyond the degree", 3, knotsOf({0, 0, 0, 1, 1, 1, 1, 2, 2}), {}},
    };
    ZrGeDoubleArray negative;
    for (double w : {1.0, -1.0, 1.0, 1.0, 1.0})
        negative.append(w);
    for (const Case& c : cases) {
        const ZrGeNurbCurve3d spline(c.degree, c.knots, cubic().controlPoints(), c.weights);
        EXPECT_FALSE(spline.isValid()) << c.what;
        EXPECT_EQ(spline.numControlPoints(), 0) << c.what;
    }
    const ZrGeNurbCurve3d weighted(3, cubic().knots(), cubic().controlPoints(), negative);
    EXPECT_FALSE(weighted.isValid());
    ZrGePoint3d start;
    EXPECT_TRUE(weighted.hasStartPoint(start));
    EXPECT_EQ(start, ZrGePoint3d::kOrigin);
}

TEST(GeExInterface, CurveSizeIsTheDiagonalOfTheTightBox)
{
    const double r = 2.0;
    struct Case {
        const char* what;
        std::unique_ptr<ZrGeCurve3d> curve;
        double size;
    } cases[] = {
        {"segment", std::make_unique<ZrGeLineSeg3d>(ZrGePoint3d(1, 1, 1), ZrGePoint3d(4, 5, 1)), 5.0},
        {"full circle", std::make_unique<ZrGeCircArc3d>(ZrGePoint3d(), ZrGeVector3d(0, 0, 1), r), 2 * r * std::sqrt(2.0)},
        {"quarter circle",
         std::make_unique<ZrGeCircArc3d>(ZrGePoint3d(), ZrGeVector3d(0, 0, 1), ZrGeVector3d(1, 0, 0), r, 0, kPi / 2),
         r * std::sqrt(2.0)},
        {"point", std::make_unique<ZrGeLineSeg3d>(ZrGePoint3d(1, 1, 1), ZrGePoint3d(1, 1, 1)), 0.0},
        {"ellipse", std::make_unique<ZrGeEllipArc3d>(ZrGePoint3d(), ZrGeVector3d(1, 0, 0), ZrGeVector3d(0, 1, 0), 4.0, 3.0),
         10.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(GeExInterface::get().curveSize(*c.curve), c.size, 1e-6) << c.what;
}

TEST(GeExInterface, ConvertsPlaneCurvesToNurbs)
{
    ZrGeLineSeg2d line(ZrGePoint2d(1, 1), ZrGePoint2d(3, 2));
    line.setInterval(ZrGeInterval(2.0, 4.0));
    std::unique_ptr<ZrGeNurbCurve2d> same(GeExInterface::get().convertToNurbCurve(line, ZrGeTol(1e-6, 1e-6), true));
    ASSERT_TRUE(same);
    EXPECT_EQ(same->degree(), 1);
    EXPECT_DOUBLE_EQ(same->startParam(), 2.0);
    EXPECT_TRUE(same->evalPoint(3.0).isEqualTo(line.evalPoint(3.0)));

    std::unique_ptr<ZrGeNurbCurve2d> unit(GeExInterface::get().convertToNurbCurve(*same, ZrGeTol(1e-6, 1e-6), false));
    ASSERT_TRUE(unit);
    EXPECT_DOUBLE_EQ(unit->startParam(), 0.0);
    EXPECT_DOUBLE_EQ(unit->endParam(), 1.0);
    EXPECT_TRUE(unit->evalPoint(0.5).isEqualTo(line.evalPoint(3.0), ZrGeTol(1e-12, 1e-12)));
    EXPECT_TRUE(unit->isOn(line.evalPoint(2.5)));
}

} // namespace
