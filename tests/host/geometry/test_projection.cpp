// Parameter curves of space curves lying on surfaces.
#include <gtest/gtest.h>

#include <zrbase/ZrGeCircArc3d.h>
#include <zrbase/ZrGeCone.h>
#include <zrbase/ZrGeCylinder.h>
#include <zrbase/ZrGeLineSeg2d.h>
#include <zrbase/ZrGeLineSeg3d.h>
#include <zrbase/ZrGeNurbCurve2d.h>
#include <zrbase/ZrGeNurbCurve3d.h>
#include <zrbase/ZrGeNurbSurface.h>
#include <zrbase/ZrGePlane.h>
#include <zrbase/ZrGeProjectionUtils.h>
#include <zrbase/ZrGeTorus.h>

#include <cmath>
#include <memory>

namespace {

constexpr double kPi = 3.141592653589793;
const ZrGeTol fitTol(1e-6, 1e-6);

struct Projection {
    std::unique_ptr<ZrGeCurve2d> curve;
    ZrGeInterval range;
};

Projection project(const ZrGeCurve3d& curve, const ZrGeSurface& surface, int flags = 0)
{
    ZrGeInterval range;
    curve.getInterval(range);
    ZrGeCurve2d* result = nullptr;
    Projection projection;
    const bool ok = ZrGeProjectionUtils::projectCurveOnSurface(curve, range, surface, result, projection.range,
                                                               fitTol, flags);
    projection.curve.reset(result);
    EXPECT_EQ(ok, result != nullptr);
    return projection;
}

// surface(c2d(t)) is curve(t) along the whole interval.
void expectSameParameter(const ZrGeCurve3d& curve, const ZrGeSurface& surface, const Projection& projection)
{
    ASSERT_TRUE(projection.curve);
    ZrGeInterval range;
    curve.getInterval(range);
    EXPECT_DOUBLE_EQ(projection.range.lowerBound(), range.lowerBound());
    EXPECT_DOUBLE_EQ(projection.range.upperBound(), range.upperBound());
    for (int i = 0; i <= 20; ++i) {
        const double t = range.lowerBound() + (range.upperBound() - range.lowerBound()) * i / 20;
        const ZrGePoint3d onSurface = surface.evalPoint(projection.curve->evalPoint(t));
        EXPECT_LE(onSurface.distanceTo(curve.evalPoint(t)), 1e-6) << t;
    }
}

ZrGeKnotVector clampedCubicKnots()
{
    ZrGeKnotVector knots;
    for (double k : {0.0, 0.0, 0.0, 0.0, 0.5, 1.0, 1.0, 1.0, 1.0})
        knots.append(k);
    return knots;
}

// A wavy cubic patch over [0, 1] x [0, 1], 5 x 5 control points.
ZrGeNurbSurface wave()
{
    ZrGePoint3dArray points;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            points.append(ZrGePoint3d(i, j, ((i + 2 * j) % 3) - 1.0));
    return ZrGeNurbSurface(3, 3, 0, 0, 5, 5, points, ZrGeDoubleArray(), clampedCubicKnots(), clampedCubicKnots());
}

// The iso-curve u = 0.3 of the patch, exactly: its control points are the
// columns of the net evaluated at u.
ZrGeNurbCurve3d isoCurve(const ZrGeNurbSurface& surface)
{
    ZrGePoint3dArray points;
    for (int j = 0; j < 5; ++j) {
        ZrGePoint3dArray column;
        for (int i = 0; i < 5; ++i)
            column.append(surface.controlPointAt(i, j));
        points.append(ZrGeNurbCurve3d(3, clampedCubicKnots(), column).evalPoint(0.3));
    }
    return ZrGeNurbCurve3d(3, clampedCubicKnots(), points);
}

TEST(ZrGeProjectionUtils, LineOnPlaneKeepsItsParameter)
{
    const ZrGePlane plane(ZrGePoint3d(0, 0, 2), ZrGeVector3d(1, 0, 0), ZrGeVector3d(0, 1, 0));
    ZrGeLineSeg3d line(ZrGePoint3d(1, 1, 2), ZrGePoint3d(3, 2, 2));
    line.setInterval(ZrGeInterval(0.25, 2.0));

    const Projection plain = project(line, plane);
    ASSERT_TRUE(plain.curve);
    EXPECT_EQ(plain.curve->type(), ZrGe::kLineSeg2d);
    expectSameParameter(line, plane, plain);

    const Projection nurbs = project(line, plane, ZrGeProjectionUtils::kNurbsResult);
    ASSERT_TRUE(nurbs.curve);
    EXPECT_EQ(nurbs.curve->type(), ZrGe::kNurbCurve2d);
    expectSameParameter(line, plane, nurbs);
}

TEST(ZrGeProjectionUtils, CurvesOnAnalyticSurfaces)
{
    // A circle of latitude on a cylinder and a meridian arc on a cone.
    const ZrGeCylinder cylinder(2.0, ZrGePoint3d(), ZrGeVector3d(0, 0, 1), ZrGeVector3d(1, 0, 0), ZrGeInterval(),
                                -kPi, kPi);
    const ZrGeCircArc3d ring(ZrGePoint3d(0, 0, 3), ZrGeVector3d(0, 0, 1), ZrGeVector3d(1, 0, 0), 2.0, -1.0, 2.0);
    expectSameParameter(ring, cylinder, project(ring, cylinder));

    const double c = std::cos(kPi / 6), s = std::sin(kPi / 6);
    const ZrGeCone cone(c, s, ZrGePoint3d(0, 0, 5), 5 * s / c, ZrGeVector3d(0, 0, 1), ZrGeVector3d(1, 0, 0),
                        ZrGeInterval(), -kPi, kPi);
    const ZrGeLineSeg3d generator(ZrGePoint3d(0, s / c, 1), ZrGePoint3d(0, 4 * s / c, 4));
    expectSameParameter(generator, cone, project(generator, cone));

    // The lemon torus maps the kernel's parameters in both directions.
    const ZrGeTorus lemon(-1.0, -3.0, ZrGePoint3d(), ZrGeVector3d(0, 0, 1), ZrGeVector3d(1, 0, 0), -kPi, kPi, -kPi,
                          kPi);
    const ZrGeCircArc3d meridian(ZrGePoint3d(-1, 0, 0), ZrGeVector3d(0, -1, 0), ZrGeVector3d(1, 0, 0), 3.0, -1.0,
                                 1.0);
    const Projection onLemon = project(meridian, lemon);
    expectSameParameter(meridian, lemon, onLemon);
}

TEST(ZrGeProjectionUtils, SplineOnNurbsSurface)
{
    const ZrGeNurbSurface surface = wave();
    const ZrGeNurbCurve3d curve = isoCurve(surface);
    const Projection projection = project(curve, surface, ZrGeProjectionUtils::kNurbsResult);
    ASSERT_TRUE(projection.curve);
    expectSameParameter(curve, surface, projection);
    EXPECT_EQ(projection.curve->type(), ZrGe::kNurbCurve2d);
    for (double t : {0.0, 0.4, 1.0})
        EXPECT_TRUE(projection.curve->evalPoint(t).isEqualTo(ZrGePoint2d(0.3, t), fitTol)) << t;
}

TEST(ZrGeProjectionUtils, RefusesCurvesOffTheSurfaceAndOpenRanges)
{
    const ZrGeNurbSurface surface = wave();
    const ZrGeLineSeg3d above(ZrGePoint3d(0.5, 0.5, 3), ZrGePoint3d(2.5, 2.5, 3));
    EXPECT_FALSE(project(above, surface).curve);

    ZrGeCurve2d* result = reinterpret_cast<ZrGeCurve2d*>(1);
    ZrGeInterval out;
    EXPECT_FALSE(ZrGeProjectionUtils::projectCurveOnSurface(above, ZrGeInterval(), surface, result, out, fitTol));
    EXPECT_EQ(result, nullptr);
}

} // namespace
