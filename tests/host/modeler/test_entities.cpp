// Curve, solid and surface entities take their geometry and describe it.
#include <gtest/gtest.h>

#include <zrbase/ZrGeCircArc3d.h>
#include <zrbase/ZrGeEllipArc3d.h>
#include <zrbase/ZrGeLineSeg3d.h>
#include <zrbase/ZrGeNurbCurve3d.h>
#include <zrbr/ZrModelerGeometry.h>
#include <zrdb/ZrDbBody.h>
#include <zrdb/ZrDbCurves.h>

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;
const ZrGeTol nearTol(1e-9, 1e-9);

void expectBox(const ZrDbEntity& entity, const ZrGePoint3d& low, const ZrGePoint3d& high)
{
    ZrDbExtents extents;
    ASSERT_EQ(entity.getGeomExtents(extents), Nimb::eOk);
    EXPECT_TRUE(extents.minPoint().isEqualTo(low, nearTol)) << extents.minPoint().x << " " << extents.minPoint().y;
    EXPECT_TRUE(extents.maxPoint().isEqualTo(high, nearTol)) << extents.maxPoint().x << " " << extents.maxPoint().y;
}

} // namespace

TEST(CurveEntities, PlaneAnglesFollowTheArbitraryAxis)
{
    // Normal -Z: the plane's X axis is -X, its Y axis +Y.
    EXPECT_TRUE(zrdbPlaneXAxis(ZrGeVector3d(0, 0, -1)).isCodirectionalTo(ZrGeVector3d(-1, 0, 0)));
    EXPECT_TRUE(zrdbPlaneXAxis(ZrGeVector3d(1, 0, 0)).isCodirectionalTo(ZrGeVector3d(0, 1, 0)));

    // A quarter from (2,0,0) to (0,-2,0), counter-clockwise about -Z.
    const ZrGeCircArc3d quarter(ZrGePoint3d(), ZrGeVector3d(0, 0, -1), ZrGeVector3d(1, 0, 0), 2.0, 0.0, kPi / 2);
    ZrDbArc arc;
    ASSERT_EQ(arc.setFromGeCurve(quarter), Nimb::eOk);
    EXPECT_NEAR(arc.startAngle(), kPi, 1e-12);
    EXPECT_NEAR(arc.endAngle(), 1.5 * kPi, 1e-12);
    EXPECT_TRUE(arc.startPoint().isEqualTo(ZrGePoint3d(2, 0, 0), nearTol));
    EXPECT_TRUE(arc.endPoint().isEqualTo(ZrGePoint3d(0, -2, 0), nearTol));
    expectBox(arc, ZrGePoint3d(0, -2, 0), ZrGePoint3d(2, 0, 0));

    // Asked for the opposite normal, the same arc runs the other way round.
    const ZrGeVector3d up(0, 0, 1);
    ASSERT_EQ(arc.setFromGeCurve(quarter, &up), Nimb::eOk);
    EXPECT_TRUE(arc.normal().isCodirectionalTo(up));
    EXPECT_TRUE(arc.startPoint().isEqualTo(ZrGePoint3d(0, -2, 0), nearTol));
    EXPECT_TRUE(arc.endPoint().isEqualTo(ZrGePoint3d(2, 0, 0), nearTol));

    ZrDbCircle circle;
    EXPECT_EQ(circle.setFromGeCurve(quarter), Nimb::eWrongObjectType);
    ASSERT_EQ(circle.setFromGeCurve(ZrGeCircArc3d(ZrGePoint3d(1, 1, 1), ZrGeVector3d(0, 0, 1), 3.0)), Nimb::eOk);
    EXPECT_EQ(circle.radius(), 3.0);
    expectBox(circle, ZrGePoint3d(-2, -2, 1), ZrGePoint3d(4, 4, 1));
}

TEST(CurveEntities, EllipseTakesTheLongerAxisAsMajor)
{
    // Host "major" radius 1 along X, "minor" 3 along Y, a quarter from the
    // +X end to the +Y end.
    const ZrGeEllipArc3d quarter(ZrGePoint3d(), ZrGeVector3d(1, 0, 0), ZrGeVector3d(0, 1, 0), 1.0, 3.0, 0.0, kPi / 2);
    ZrDbEllipse ellipse;
    ASSERT_EQ(ellipse.setFromGeCurve(quarter), Nimb::eOk);
    EXPECT_TRUE((ZrGePoint3d::kOrigin + ellipse.majorAxis()).isEqualTo(ZrGePoint3d(0, 3, 0), nearTol));
    EXPECT_NEAR(ellipse.radiusRatio(), 1.0 / 3.0, 1e-12);
    EXPECT_TRUE(ellipse.normal().isCodirectionalTo(ZrGeVector3d(0, 0, 1)));
    EXPECT_NEAR(ellipse.startParam(), 1.5 * kPi, 1e-12);
    EXPECT_NEAR(ellipse.endParam(), 2 * kPi, 1e-12);
    EXPECT_TRUE(ellipse.startPoint().isEqualTo(quarter.startPoint(), nearTol));
    EXPECT_TRUE(ellipse.endPoint().isEqualTo(quarter.endPoint(), nearTol));
    expectBox(ellipse, ZrGePoint3d(0, 0, 0), ZrGePoint3d(1, 3, 0));

    const ZrGeEllipArc3d full(ZrGePoint3d(), ZrGeVector3d(1, 0, 0), ZrGeVector3d(0, 1, 0), 4.0, 2.0);
    ASSERT_EQ(ellipse.setFromGeCurve(full), Nimb::eOk);
    EXPECT_EQ(ellipse.startParam(), 0.0);
    EXPECT_NEAR(ellipse.endParam(), 2 * kPi, 1e-12);
    EXPECT_TRUE(ellipse.isClosed());
}

TEST(CurveEntities, LinesAndSplinesKeepTheirData)
{
    ZrDbLine line;
    EXPECT_FALSE(line.hasGeometry());
    EXPECT_EQ(line.getGeomExtents(*std::make_unique<ZrDbExtents>()), Nimb::eInvalidExtents);
    ASSERT_EQ(line.setFromGeCurve(ZrGeLineSeg3d(ZrGePoint3d(1, 2, 3), ZrGePoint3d(4, 5, 6))), Nimb::eOk);
    EXPECT_EQ(line.startPoint(), ZrGePoint3d(1, 2, 3));
    EXPECT_EQ(line.endPoint(), ZrGePoint3d(4, 5, 6));
    EXPECT_EQ(line.setFromGeCurve(ZrGeCircArc3d()), Nimb::eWrongObjectType);

    ZrGeKnotVector knots(ZrGeKnotVector::globalKnotTolerance);
    for (double k : {0.0, 0.0, 0.0, 1.0, 2.0, 2.0, 2.0})
        knots.append(k);
    ZrGePoint3dArray points;
    for (const ZrGePoint3d& p : {ZrGePoint3d(0, 0, 0), ZrGePoint3d(1, 4, 0), ZrGePoint3d(3, 2, 0), ZrGePoint3d(4, 0, 0)})
        points.append(p);
    ZrGeDoubleArray weights;
    for (double w : {1.0, 2.0, 2.0, 1.0})
        weights.append(w);
    ZrDbSpline spline;
    ASSERT_EQ(spline.setFromGeCurve(ZrGeNurbCurve3d(2, knots, points, weights)), Nimb::eOk);
    int degree = 0;
    bool rational = false, closed = true, periodic = true;
    ZrGePoint3dArray controlPoints;
    ZrGeKnotVector readKnots;
    ZrGeDoubleArray readWeights;
    ASSERT_EQ(spline.getNurbsData(degree, rational, closed, periodic, controlPoints, readKnots, readWeights), Nimb::eOk);
    EXPECT_EQ(degree, 2);
    EXPECT_TRUE(rational);
    EXPECT_FALSE(closed);
    EXPECT_FALSE(periodic);
    EXPECT_EQ(controlPoints.length(), 4);
    EXPECT_EQ(readKnots.length(), 7);
    EXPECT_EQ(readWeights[1], 2.0);
    EXPECT_EQ(spline.weightAt(3), 1.0);
    ZrDbExtents extents;
    ASSERT_EQ(spline.getGeomExtents(extents), Nimb::eOk);
    EXPECT_NEAR(extents.minPoint().x, 0.0, 1e-12);
    EXPECT_NEAR(extents.maxPoint().x, 4.0, 1e-12);
    EXPECT_GT(extents.maxPoint().y, 2.9); // the curve, not its control polygon (4)
    EXPECT_LT(extents.maxPoint().y, 3.5);
}

TEST(BodyEntities, HoldTheirGeometryCounted)
{
    auto* geometry = new ZrModelerGeometry;
    {
        ZrDb3dSolid solid;
        ZrDbExtents extents;
        EXPECT_EQ(solid.getGeomExtents(extents), Nimb::eInvalidExtents);
        auto* service = ZrDbModelerService::cast(ZrDbModelerService::desc()->create());
        EXPECT_EQ(service->attachToSolid(&solid, geometry), Nimb::eOk);
        EXPECT_EQ(solid.modelerGeometry(), geometry);
        EXPECT_EQ(geometry->referenceCount(), 2);
        EXPECT_EQ(service->attachToSolid(nullptr, geometry), Nimb::eNullObjectPointer);
        // An empty body has no extents either.
        EXPECT_EQ(solid.getGeomExtents(extents), Nimb::eInvalidExtents);
        zrrxRelease(service);
    }
    EXPECT_EQ(geometry->referenceCount(), 1);
    zrrxRelease(geometry);

    ZrDbSurface surface;
    EXPECT_EQ(surface.uIsolineDensity(), ZrDbSurface::kDefaultIsolines);
    EXPECT_EQ(surface.setUIsolineDensity(2), Nimb::eOk);
    EXPECT_EQ(surface.setVIsolineDensity(2048), Nimb::eInvalidInput);
    EXPECT_EQ(surface.uIsolineDensity(), 2);
    EXPECT_EQ(surface.vIsolineDensity(), ZrDbSurface::kDefaultIsolines);
}
