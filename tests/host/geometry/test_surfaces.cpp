// Surface parameterisations, bounds, nappes and tori parts.
#include <gtest/gtest.h>

#include <zrbase/ZrGeCone.h>
#include <zrbase/ZrGeCylinder.h>
#include <zrbase/ZrGeNurbSurface.h>
#include <zrbase/ZrGePlane.h>
#include <zrbase/ZrGeSphere.h>
#include <zrbase/ZrGeTorus.h>

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;
const ZrGeTol looseTol(1e-3, 1e-3);

void expectNear(const ZrGePoint3d& actual, const ZrGePoint3d& expected, double tol = 1e-9)
{
    EXPECT_LE(actual.distanceTo(expected), tol) << "(" << actual.x << ", " << actual.y << ", " << actual.z
                                                 << ") vs (" << expected.x << ", " << expected.y << ", "
                                                 << expected.z << ")";
}

void expectNear(const ZrGeVector3d& actual, const ZrGeVector3d& expected, double tol = 1e-9)
{
    EXPECT_LE((actual - expected).length(), tol)
        << "(" << actual.x << ", " << actual.y << ", " << actual.z << ")";
}

// paramOf undoes evalPoint on every sample of the surface's envelope.
void expectRoundTrip(const ZrGeSurface& surface, double u0, double u1, double v0, double v1)
{
    for (int i = 1; i < 8; ++i)
        for (int j = 1; j < 8; ++j) {
            const ZrGePoint2d param(u0 + (u1 - u0) * i / 8, v0 + (v1 - v0) * j / 8);
            const ZrGePoint3d point = surface.evalPoint(param);
            EXPECT_TRUE(surface.isOn(point)) << param.x << " " << param.y;
            expectNear(surface.evalPoint(surface.paramOf(point)), point);
        }
}

TEST(ZrGePlane, AxesFromTheNormalAndFromTwoVectors)
{
    const ZrGePlane plane(ZrGePoint3d(1, 2, 3), ZrGeVector3d(0, 0, 5));
    ZrGePoint3d origin;
    ZrGeVector3d u, v;
    plane.getCoordSystem(origin, u, v);
    expectNear(u.crossProduct(v), ZrGeVector3d(0, 0, 1));
    EXPECT_NEAR(u.length(), 1.0, 1e-15);
    expectRoundTrip(plane, -5, 5, -5, 5);
    EXPECT_DOUBLE_EQ(plane.signedDistanceTo(ZrGePoint3d(7, 7, 1)), -2.0);
    EXPECT_TRUE(plane.isOn(ZrGePoint3d(9, 9, 3 + 1e-4), looseTol));
    EXPECT_FALSE(plane.isOn(ZrGePoint3d(9, 9, 3 + 1e-4)));

    const ZrGePlane skew(ZrGePoint3d(), ZrGeVector3d(2, 0, 0), ZrGeVector3d(1, 1, 0));
    expectNear(skew.evalPoint(ZrGePoint2d(1, 1)), ZrGePoint3d(1, 1, 0));
    expectNear(skew.normal(), ZrGeVector3d(0, 0, 1));
}

TEST(ZrGeCylinder, AngleHeightBoundsAndNormalSense)
{
    const ZrGeInterval height(0.0, 10.0);
    const ZrGeCylinder outer(2.0, ZrGePoint3d(), ZrGeVector3d(0, 0, 1), ZrGeVector3d(1, 0, 0), height, 0, kPi);
    expectNear(outer.evalPoint(ZrGePoint2d(kPi / 2, 3)), ZrGePoint3d(0, 2, 3));
    expectRoundTrip(outer, 0, kPi, 0, 10);
    EXPECT_FALSE(outer.isOn(ZrGePoint3d(0, -2, 3)));  // outside the angle range
    EXPECT_FALSE(outer.isOn(ZrGePoint3d(0, 2, 11)));  // above the height range
    expectNear(outer.normalAt(ZrGePoint2d(0, 1)), ZrGeVector3d(1, 0, 0));

    const ZrGeCylinder inner(-2.0, ZrGePoint3d(), ZrGeVector3d(0, 0, 1), ZrGeVector3d(1, 0, 0), ZrGeInterval(),
                             -kPi, kPi);
    EXPECT_TRUE(inner.isOn(ZrGePoint3d(0, -2, -100)));
    expectNear(inner.normalAt(ZrGePoint2d(0, 1)), ZrGeVector3d(-1, 0, 0));
}

// The cone as the plug-in builds it: apex at A, base 100 units up the axis.
ZrGeCone coneAt(const ZrGePoint3d& apex, double semiAngle, const ZrGeVector3d& axis, double h = 100.0)
{
    const double c = std::cos(semiAngle), s = std::sin(semiAngle);
    return ZrGeCone(c, s, apex + axis * h, (s / c) * h, axis, ZrGeVector3d(1, 0, 0), ZrGeInterval(1e-12), -kPi, kPi);
}

TEST(ZrGeCone, HoldsOneNappeOnly)
{
    const ZrGePoint3d apex(1, 1, 1);
    const double angle = kPi / 6, t = std::tan(angle);
    struct Case {
        const char* what;
        double semiAngle;
        ZrGeVector3d axis;
        ZrGePoint3d point;
        bool on;
    } cases[] = {
        {"above the apex, axis up", angle, {0, 0, 1}, apex + ZrGeVector3d(3 * t, 0, 3), true},
        {"below the apex, axis up", angle, {0, 0, 1}, apex + ZrGeVector3d(3 * t, 0, -3), false},
        {"below the apex, axis down", angle, {0, 0, -1}, apex + ZrGeVector3d(3 * t, 0, -3), true},
        {"negative angle, axis up", -angle, {0, 0, 1}, apex + ZrGeVector3d(3 * t, 0, 3), true},
        {"negative angle, below", -angle, {0, 0, 1}, apex + ZrGeVector3d(0, 3 * t, -3), false},
        {"far beyond the base", angle, {0, 0, 1}, apex + ZrGeVector3d(0, -500 * t, 500), true},
        {"the apex", angle, {0, 0, 1}, apex, true},
        {"off the surface", angle, {0, 0, 1}, apex + ZrGeVector3d(3 * t + 0.01, 0, 3), false},
    };
    for (const Case& c : cases) {
        const ZrGeCone cone = coneAt(apex, c.semiAngle, c.axis);
        EXPECT_EQ(cone.isOn(c.point, looseTol), c.on) << c.what;
        expectNear(cone.apex(), apex);
    }
}

TEST(ZrGeCone, ParameterisationNormalAndInvalidCones)
{
    const ZrGeCone cone = coneAt(ZrGePoint3d(), kPi / 4, ZrGeVector3d(0, 0, 1), 2.0);
    // Height is measured from the base circle (radius 2 at z = 2).
    expectNear(cone.evalPoint(ZrGePoint2d(0, 0)), ZrGePoint3d(2, 0, 2));
    expectNear(cone.evalPoint(ZrGePoint2d(kPi / 2, -1)), ZrGePoint3d(0, 1, 1));
    expectRoundTrip(cone, -3, 3, -1.9, 5);
    const double r = std::sqrt(0.5);
    expectNear(cone.normalAt(ZrGePoint2d(0, 1)), ZrGeVector3d(r, 0, -r));
    ZrGeInterval nappe;
    cone.getNappeHeight(nappe);
    EXPECT_NEAR(nappe.lowerBound(), -2.0, 1e-12);
    EXPECT_FALSE(nappe.isBoundedAbove());

    // Flipping the nappe with set: the other half of the double cone.
    ZrGeCone flipped = cone;
    flipped.set(std::cos(kPi / 4), std::sin(kPi / 4), ZrGePoint3d(0, 0, -2), 2.0, ZrGeVector3d(0, 0, -1),
                ZrGeVector3d(1, 0, 0), ZrGeInterval(1e-12), -kPi, kPi);
    EXPECT_TRUE(flipped.isOn(ZrGePoint3d(0, 3, -3)));
    EXPECT_FALSE(flipped.isOn(ZrGePoint3d(0, 3, 3)));
    expectNear(flipped.normalAt(flipped.paramOf(ZrGePoint3d(0, 3, -3))), ZrGeVector3d(0, r, r));

    const ZrGeCone flat(0.0, 1.0, ZrGePoint3d(), 1.0, ZrGeVector3d(0, 0, 1), ZrGeVector3d(1, 0, 0), ZrGeInterval(),
                        -kPi, kPi);
    EXPECT_FALSE(flat.isValid());
    EXPECT_FALSE(flat.isOn(ZrGePoint3d(1, 0, 0)));
    // A height range wholly on the other nappe leaves no points.
    const ZrGeCone beyond(std::cos(kPi / 4), std::sin(kPi / 4), ZrGePoint3d(), 1.0, ZrGeVector3d(0, 0, 1),
                          ZrGeVector3d(1, 0, 0), ZrGeInterval(-5, -3), -kPi, kPi);
    EXPECT_FALSE(beyond.isValid());
}

TEST(ZrGeSphere, LongitudeLatitudeAndPoles)
{
    const ZrGeSphere sphere(3.0, ZrGePoint3d(1, 0, 0), ZrGeVector3d(0, 0, 1), ZrGeVector3d(1, 0, 0), -kPi / 2,
                            kPi / 2, -kPi, kPi);
    expectNear(sphere.evalPoint(ZrGePoint2d(kPi / 2, 0)), ZrGePoint3d(1, 3, 0));
    expectNear(sphere.evalPoint(ZrGePoint2d(0.3, kPi / 2)), ZrGePoint3d(1, 0, 3));
    expectRoundTrip(sphere, -kPi, kPi, -kPi / 2, kPi / 2);
    EXPECT_TRUE(sphere.isOn(ZrGePoint3d(1, 0, -3)));
    EXPECT_NEAR(sphere.paramOf(ZrGePoint3d(1, 0, -3)).y, -kPi / 2, 1e-15);
    EXPECT_FALSE(sphere.isOn(ZrGePoint3d(1, 0, 0)));
    expectNear(sphere.normalAt(ZrGePoint2d(0, 0)), ZrGeVector3d(1, 0, 0));

    const ZrGeSphere northern(3.0, ZrGePoint3d(), ZrGeVector3d(0, 0, 1), ZrGeVector3d(1, 0, 0), 0, kPi / 2, -kPi, kPi);
    EXPECT_FALSE(northern.isOn(ZrGePoint3d(0, 0, -3)));
}

TEST(ZrGeTorus, RingTorus)
{
    const ZrGeTorus torus(5.0, 1.0, ZrGePoint3d(), ZrGeVector3d(0, 0, 1), ZrGeVector3d(1, 0, 0), -kPi, kPi, -kPi, kPi);
    EXPECT_FALSE(torus.isApple());
    expectNear(torus.evalPoint(ZrGePoint2d(0, 0)), ZrGePoint3d(6, 0, 0));
    expectNear(torus.evalPoint(ZrGePoint2d(kPi / 2, kPi / 2)), ZrGePoint3d(0, 5, 1));
    expectRoundTrip(torus, -kPi, kPi, -kPi, kPi);
    EXPECT_TRUE(torus.isOn(ZrGePoint3d(-4, 0, 0)));
    expectNear(torus.normalAt(ZrGePoint2d(0, kPi)), ZrGeVector3d(-1, 0, 0));
}

TEST(ZrGeTorus, AppleAndLemonParts)
{
    // Tube radius 3 around a circle of radius 1: the tube crosses the axis.
    ZrGeTorus torus(1.0, 3.0, ZrGePoint3d(), ZrGeVector3d(0, 0, 1), ZrGeVector3d(1, 0, 0), -kPi, kPi, -kPi, kPi);
    ASSERT_TRUE(torus.isApple());
    // In the half-plane x >= 0 the tube circle is centred at (1, 0) with
    // radius 3. The outer arc is the apple, the part across the axis,
    // mirrored into this half-plane, the lemon.
    const ZrGePoint3d applePoint(4, 0, 0);
    const ZrGePoint3d lemonPoint(2, 0, 0);                  // from (-2, 0) of the opposite half-plane
    const ZrGePoint3d lemonTop(1, 0, std::sqrt(5.0));       // circle centred at (-1, 0)
    const ZrGePoint3d cusp(0, 0, std::sqrt(8.0));           // where the two parts meet

    EXPECT_TRUE(torus.isOn(applePoint));
    EXPECT_FALSE(torus.isOn(lemonPoint));
    EXPECT_FALSE(torus.isOn(lemonTop));
    EXPECT_TRUE(torus.isOn(cusp, ZrGeTol(1e-9, 1e-9)));
    expectRoundTrip(torus, -kPi, kPi, -2.0, 2.0);
    expectNear(torus.normalAt(torus.paramOf(applePoint)), ZrGeVector3d(1, 0, 0));

    torus.setMajorRadius(-1.0).setMinorRadius(-3.0);
    EXPECT_TRUE(torus.isApple());
    EXPECT_TRUE(torus.isLemon());
    EXPECT_FALSE(torus.isOn(applePoint));
    EXPECT_TRUE(torus.isOn(lemonPoint));
    EXPECT_TRUE(torus.isOn(lemonTop));
    expectRoundTrip(torus, -kPi, kPi, -1.2, 1.2);
    // The lemon keeps the whole torus's normal there, away from its tube
    // centre at (-1, 0): here +x; with one radius negated it turns round.
    expectNear(torus.normalAt(torus.paramOf(lemonPoint)), ZrGeVector3d(1, 0, 0));
    torus.setMinorRadius(3.0);
    expectNear(torus.normalAt(torus.paramOf(lemonPoint)), ZrGeVector3d(-1, 0, 0));
    torus.setMinorRadius(-3.0);

    torus.setMajorRadius(-4.0);
    EXPECT_FALSE(torus.isValid());
    EXPECT_FALSE(torus.isOn(ZrGePoint3d(1, 0, 0)));
}

ZrGeNurbSurface saddle()
{
    // A biquadratic patch over [0, 1] x [0, 2].
    ZrGePoint3dArray points;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            points.append(ZrGePoint3d(i, j, (i - 1) * (j - 1)));
    ZrGeKnotVector uKnots, vKnots;
    for (double k : {0, 0, 0, 1, 1, 1})
        uKnots.append(k);
    for (double k : {0, 0, 0, 2, 2, 2})
        vKnots.append(k);
    return ZrGeNurbSurface(2, 2, 0, 0, 3, 3, points, ZrGeDoubleArray(), uKnots, vKnots);
}

TEST(ZrGeNurbSurface, ControlNetOrderEnvelopeAndQueries)
{
    const ZrGeNurbSurface surface = saddle();
    ASSERT_TRUE(surface.isValid());
    // v varies fastest: point (i, j) at index i * 3 + j.
    expectNear(surface.controlPointAt(2, 0), ZrGePoint3d(2, 0, -1));
    expectNear(surface.evalPoint(ZrGePoint2d(1, 0)), ZrGePoint3d(2, 0, -1));
    expectNear(surface.evalPoint(ZrGePoint2d(0, 2)), ZrGePoint3d(0, 2, -1));
    ZrGeInterval u, v;
    surface.getEnvelope(u, v);
    EXPECT_EQ(v.upperBound(), 2.0);
    expectRoundTrip(surface, 0, 1, 0, 2);
    EXPECT_FALSE(surface.isOn(ZrGePoint3d(1, 1, 0.5)));
    EXPECT_NEAR(surface.normalAt(ZrGePoint2d(0.5, 1)).z, 1.0, 1e-12);

    ZrGePoint3dArray tooFew;
    tooFew.append(ZrGePoint3d());
    const ZrGeNurbSurface broken(2, 2, 0, 0, 3, 3, tooFew, ZrGeDoubleArray(), surface.uKnots(), surface.vKnots());
    EXPECT_FALSE(broken.isValid());
    EXPECT_FALSE(broken.isOn(ZrGePoint3d()));
}

} // namespace
