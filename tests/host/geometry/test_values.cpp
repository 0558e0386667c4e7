// Arrays, intervals, knot vectors, kind numbers and mappers.
#include <gtest/gtest.h>

#include <zrbase/ZrArray.h>
#include <zrbase/ZrGeCircArc3d.h>
#include <zrbase/ZrGeEllipArc3d.h>
#include <zrbase/ZrGeInterval.h>
#include <zrbase/ZrGeKnotVector.h>
#include <zrbase/ZrGeLineSeg2d.h>
#include <zrbase/ZrGeLineSeg3d.h>
#include <zrbase/ZrGeNurbCurve2d.h>
#include <zrbase/ZrGeNurbCurve3d.h>
#include <zrbase/ZrGeNurbSurface.h>
#include <zrbase/ZrGePlane.h>
#include <zrbase/ZrGiMapper.h>

#include <cstddef>
#include <memory>
#include <string>

namespace {

// Counts live instances so that tests can see every element destroyed.
struct Tracked {
    static int live;
    std::string text;
    Tracked() { ++live; }
    explicit Tracked(std::string t) : text(std::move(t)) { ++live; }
    Tracked(const Tracked& o) : text(o.text) { ++live; }
    Tracked(Tracked&& o) noexcept : text(std::move(o.text)) { ++live; }
    Tracked& operator=(const Tracked&) = default;
    Tracked& operator=(Tracked&&) = default;
    ~Tracked() { --live; }
    bool operator==(const Tracked& o) const { return text == o.text; }
};
int Tracked::live = 0;

TEST(ZrArray, HasTheRecordLayoutAndStartsEmptyWithGrowLengthEight)
{
    ZrArray<double> array;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&array);
    EXPECT_EQ(sizeof(array), 24u);
    EXPECT_EQ(array.length(), 0);
    EXPECT_EQ(array.growLength(), 8);
    EXPECT_EQ(*reinterpret_cast<const std::int32_t*>(bytes + 16), 8);
    array.append(1.5);
    EXPECT_EQ(*reinterpret_cast<double* const*>(bytes), array.asArrayPtr());
    EXPECT_EQ(*reinterpret_cast<const std::int32_t*>(bytes + 8), array.physicalLength());
    EXPECT_EQ(*reinterpret_cast<const std::int32_t*>(bytes + 12), 1);
}

TEST(ZrArray, OwnsItsElementsOnTheHostHeap)
{
    const long blocksBefore = zrrxLiveBlockCount();
    {
        ZrArray<Tracked> array;
        for (int i = 0; i < 100; ++i)
            array.append(Tracked(std::to_string(i)));
        // Appending an element of the array itself survives the regrowth.
        while (array.length() < array.physicalLength())
            array.append(Tracked("filler"));
        array.append(array[0]);
        EXPECT_EQ(array.last().text, "0");
        EXPECT_EQ(Tracked::live, array.length());
        EXPECT_GT(zrrxLiveBlockCount(), blocksBefore);

        ZrArray<Tracked> copy(array);
        EXPECT_EQ(copy.length(), array.length());
        ZrArray<Tracked> moved(std::move(copy));
        EXPECT_EQ(copy.length(), 0);
        moved.removeAt(0);
        EXPECT_EQ(moved[0].text, "1");
        EXPECT_EQ(moved.find(Tracked("50")), 49);
        moved.setLogicalLength(3);
        EXPECT_EQ(Tracked::live, array.length() + 3);
        array.removeAll();
        EXPECT_EQ(array.growLength(), 8);
        EXPECT_EQ(Tracked::live, 3);
    }
    EXPECT_EQ(Tracked::live, 0);
    EXPECT_EQ(zrrxLiveBlockCount(), blocksBefore);
}

TEST(ZrGeInterval, BoundedHalfAndUnbounded)
{
    const ZrGeInterval open(1e-12);
    EXPECT_TRUE(open.isUnBounded());
    EXPECT_TRUE(open.contains(-1e300));
    EXPECT_EQ(open.tolerance(), 1e-12);

    const ZrGeInterval swapped(2.0, 1.0, 0.01);
    EXPECT_EQ(swapped.lowerBound(), 1.0);
    EXPECT_EQ(swapped.upperBound(), 2.0);
    EXPECT_TRUE(swapped.contains(2.005));
    EXPECT_FALSE(swapped.contains(2.02));
    EXPECT_TRUE(ZrGeInterval(1.0, 1.0 + 1e-13).isSingleton());
}

TEST(ZrGeKnotVector, AppendKeepsOrderAndRepeats)
{
    ZrGeKnotVector knots(ZrGeKnotVector::globalKnotTolerance);
    for (double knot : {0.0, 0.0, 0.0, 0.5, 1.0, 1.0 + 1e-12, 1.0})
        knots.append(knot);
    EXPECT_EQ(knots.length(), 7);
    EXPECT_EQ(knots[3], 0.5);
    EXPECT_EQ(knots.multiplicityAt(0), 3);
    EXPECT_EQ(knots.multiplicityAt(4), 3); // within the knot tolerance
    ZrGeDoubleArray distinct;
    ZrGeIntArray multiplicities;
    knots.getDistinctKnots(distinct, &multiplicities);
    ASSERT_EQ(distinct.length(), 3);
    EXPECT_EQ(multiplicities[2], 3);
    EXPECT_FALSE(knots.isNonDecreasing()); // 1 + 1e-12 then 1: kept as given
}

TEST(ZrGe, KindNumbersOfThePluginInterfaceAndKindChains)
{
    EXPECT_EQ(ZrGe::kCircArc3d, 11);
    EXPECT_EQ(ZrGe::kEllipArc3d, 17);
    EXPECT_EQ(ZrGe::kLineSeg3d, 23);
    EXPECT_EQ(ZrGe::kNurbCurve2d, 36);
    EXPECT_EQ(ZrGe::kNurbCurve3d, 42);
    EXPECT_EQ(ZrGe::kNurbSurface, 49);

    EXPECT_EQ(ZrGeCircArc3d().type(), ZrGe::kCircArc3d);
    EXPECT_EQ(ZrGeEllipArc3d().type(), ZrGe::kEllipArc3d);
    EXPECT_EQ(ZrGeLineSeg3d().type(), ZrGe::kLineSeg3d);
    const ZrGeNurbCurve3d spline;
    for (auto kind : {ZrGe::kNurbCurve3d, ZrGe::kSplineEnt3d, ZrGe::kCurve3d, ZrGe::kEntity3d})
        EXPECT_TRUE(spline.isKindOf(kind)) << kind;
    EXPECT_FALSE(spline.isKindOf(ZrGe::kLineSeg3d));
    EXPECT_FALSE(ZrGeLineSeg3d().isKindOf(ZrGe::kNurbCurve3d));
    EXPECT_TRUE(ZrGeNurbCurve2d().isKindOf(ZrGe::kCurve2d));
    EXPECT_FALSE(ZrGeLineSeg2d().isKindOf(ZrGe::kNurbCurve2d));
    EXPECT_TRUE(ZrGeNurbSurface().isKindOf(ZrGe::kSurface));
    EXPECT_FALSE(ZrGePlane().isKindOf(ZrGe::kNurbSurface));

    // Copies are heap objects of the same kind, deleted through the base.
    std::unique_ptr<ZrGeCurve3d> copy(ZrGeCircArc3d(ZrGePoint3d(1, 2, 3), ZrGeVector3d(0, 0, 1), 4.0).copy());
    EXPECT_EQ(copy->type(), ZrGe::kCircArc3d);
    EXPECT_EQ(static_cast<ZrGeCircArc3d&>(*copy).radius(), 4.0);
}

TEST(ZrGiMapper, DefaultsCopiesAndSize)
{
    static_assert(sizeof(ZrGiMapper) == 16, "mapper size");
    ZrGiMapper mapper;
    EXPECT_EQ(mapper.projection(), ZrGiMapper::kPlanar);
    EXPECT_EQ(mapper.autoTransform(), ZrGiMapper::kObject);
    EXPECT_EQ(mapper.uScale(), 1.0f);
    ZrGiMapper other;
    other.setProjection(ZrGiMapper::kSphere);
    other.setScale(2.0f, 3.0f);
    mapper = other;
    EXPECT_EQ(mapper, other);
    EXPECT_EQ(ZrGiMapper(other).vScale(), 3.0f);
}

} // namespace
