// The builder record's initial values and the shared references' counters.
#include <gtest/gtest.h>

#include <zrbase/ZrGeLineSeg3d.h>
#include <zrbase/ZrGePlane.h>

#include <cstring>

#include "geometry/BrepRecord.h"

namespace {

template <typename T>
T fieldAt(const void* record, std::size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof(T));
    return value;
}

// The counter of a shared reference, read through the record layout.
std::int32_t counterOf(const void* reference)
{
    const auto* counter = fieldAt<const std::int32_t*>(reference, 8);
    return counter ? *counter : 0;
}

TEST(BrepRecord, NewEntriesHoldTheirInitialValues)
{
    const FaceEntry face;
    EXPECT_EQ(fieldAt<void*>(&face, 0), nullptr);
    EXPECT_EQ(fieldAt<void*>(&face, 8), nullptr);
    EXPECT_EQ(fieldAt<std::int32_t>(&face, 16), 0);
    EXPECT_EQ(fieldAt<std::int32_t>(&face, 24 + 12), 0); // no loops
    EXPECT_EQ(fieldAt<std::int32_t>(&face, 24 + 16), 8); // grow length
    EXPECT_EQ(fieldAt<std::uint8_t>(&face, 80), 0);
    EXPECT_EQ(fieldAt<std::uint8_t>(&face, 84 + 3), 0xC8); // no colour: method byte
    EXPECT_EQ(fieldAt<std::uint32_t>(&face, 84) & 0xFFFFFFu, 0u);
    EXPECT_EQ(fieldAt<std::int32_t>(&face, 104), -1);
    EXPECT_EQ(face.mapper, ZrGiMapper());

    const EdgeEntry edge;
    EXPECT_EQ(fieldAt<std::uint8_t>(&edge, 40), 0);
    EXPECT_EQ(fieldAt<std::uint32_t>(&edge, 44), 0xC8000000u);

    const BrepBuilderInitialData record;
    for (std::size_t offset : {0, 24, 48}) {
        EXPECT_EQ(fieldAt<std::int32_t>(&record, offset + 12), 0);
        EXPECT_EQ(fieldAt<std::int32_t>(&record, offset + 16), 8);
    }
}

TEST(BrepRecord, SharedReferencesCountTheirHoldersOnTheHostHeap)
{
    const long blocksBefore = zrrxLiveBlockCount();
    {
        SharedRef<ZrGeCurve3d> curve(new ZrGeLineSeg3d(ZrGePoint3d(), ZrGePoint3d(1, 0, 0)));
        EXPECT_EQ(counterOf(&curve), 1);
        EXPECT_EQ(blocksBefore + 2, zrrxLiveBlockCount()); // the curve and its counter

        BrepBuilderInitialData record;
        EdgeEntry edge;
        edge.curve = curve;
        record.edges.append(edge);
        EXPECT_EQ(counterOf(&curve), 3);
        EXPECT_EQ(fieldAt<ZrGeCurve3d*>(&record.edges[0], 0), curve.get());

        FaceEntry face;
        face.surface = SharedRef<ZrGeSurface>(new ZrGePlane());
        Shell shell;
        shell.append(std::move(face));
        Complex complex;
        complex.append(std::move(shell));
        record.complexes.append(std::move(complex));
        EXPECT_EQ(counterOf(&record.complexes[0][0][0].surface), 1);

        record.clear();
        EXPECT_EQ(record.edges.length(), 0);
        EXPECT_EQ(counterOf(&curve), 2); // edge still holds one
    }
    EXPECT_EQ(zrrxLiveBlockCount(), blocksBefore);

    const SharedRef<ZrGeSurface> empty(nullptr);
    EXPECT_EQ(fieldAt<void*>(&empty, 0), nullptr);
    EXPECT_EQ(fieldAt<void*>(&empty, 8), nullptr);
}

} // namespace
