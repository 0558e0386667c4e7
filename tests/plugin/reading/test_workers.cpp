// Conversion of the work items on the host's thread pool or the calling thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>

#include <zrbase/ZrRxDictionary.h>
#include <zrcore/NimbHost.h>

#include "Fixtures.h"
#include "support/TestReaders.h"

using fixtures::box;

namespace {

// A STEP file with count free boxes, or with edges only when edgesOnly.
std::string boxesFile(int count, bool edgesOnly = false)
{
    fixtures::Model model;
    for (int i = 0; i < count; ++i)
        model.addPart(edgesOnly ? fixtures::lineEdge(gp_Pnt(i, 0, 0), gp_Pnt(i, 1, 0)) : box(1, 1, 1, gp_Pnt(i * 2, 0, 0)),
                      "Item");
    const std::string path = fixtures::tempPath("items" + std::to_string(count) + (edgesOnly ? "e" : "") + ".step");
    model.writeStep(path);
    return path;
}

NimbHostOptions pool(bool withPool, int threads = 8)
{
    NimbHostOptions options;
    options.threadPool = withPool;
    options.threads = threads;
    return options;
}

void convert(RecordingStepReader& reader)
{
    reader.prepareWorkers();
    reader.runWorkers();
}

} // namespace

TEST(Workers, WithoutAPoolItemsAreConvertedHereLastFirst)
{
    NimbHost host(pool(false));
    RecordingStepReader reader(boxesFile(4));
    ASSERT_EQ(reader.read(), 4u);
    convert(reader);
    EXPECT_EQ(reader.workerCountChosen(), 0u);
    EXPECT_EQ(reader.converted, (std::vector<std::size_t>{3, 2, 1, 0}));
    EXPECT_EQ(std::set<std::thread::id>(reader.threads.begin(), reader.threads.end()),
              std::set<std::thread::id>{std::this_thread::get_id()});
}

TEST(Workers, OneItemIsConvertedHereEvenWithAPool)
{
    NimbHost host(pool(true));
    RecordingStepReader reader(boxesFile(1));
    ASSERT_EQ(reader.read(), 1u);
    convert(reader);
    EXPECT_EQ(reader.workerCountChosen(), 1u);
    EXPECT_EQ(reader.threads, std::vector<std::thread::id>{std::this_thread::get_id()});
}

TEST(Workers, ThePoolConvertsEveryItemExactlyOnce)
{
    struct Case {
        int items;
        int threads;
        std::size_t workers;
    } cases[] = {{3, 8, 3}, {12, 4, 4}, {2, 2, 2}};
    for (const Case& c : cases) {
        NimbHost host(pool(true, c.threads));
        RecordingStepReader reader(boxesFile(c.items));
        ASSERT_EQ(reader.read(), static_cast<std::size_t>(c.items));
        convert(reader);
        EXPECT_EQ(reader.workerCountChosen(), c.workers);
        std::vector<std::size_t> sorted = reader.converted;
        std::sort(sorted.begin(), sorted.end());
        std::vector<std::size_t> expected(static_cast<std::size_t>(c.items));
        std::iota(expected.begin(), expected.end(), 0);
        EXPECT_EQ(sorted, expected);
        EXPECT_EQ(std::count(reader.threads.begin(), reader.threads.end(), std::this_thread::get_id()), 0);
        for (const WorkItem& item : reader.allItems())
            EXPECT_EQ(item.entities.size(), 1u);
    }
}

TEST(Workers, NoSurfacesFlagHoldsForTheWholeModel)
{
    NimbHost host(pool(true, 2));
    RecordingStepReader edges(boxesFile(3, true));
    ASSERT_EQ(edges.read(), 3u);
    convert(edges);
    EXPECT_EQ(edges.flags, std::vector<bool>(3, true));

    fixtures::Model mixed;
    mixed.addPart(fixtures::lineEdge(gp_Pnt(0, 0, 0), gp_Pnt(1, 0, 0)), "Edge");
    mixed.addPart(box(1, 1, 1), "Solid");
    const std::string path = fixtures::tempPath("mixed.step");
    mixed.writeStep(path);
    RecordingStepReader reader(path);
    ASSERT_EQ(reader.read(), 2u);
    convert(reader);
    EXPECT_EQ(reader.flags, std::vector<bool>(2, false));
}

TEST(Workers, ARegistryEntryThatIsNoPoolEndsTheImport)
{
    NimbHost host(pool(false));
    zrrxSysRegistry()->atPut(L"ZrRxThreadPoolService", new ZrRxDictionary);
    RecordingStepReader reader(boxesFile(2));
    ASSERT_EQ(reader.read(), 2u);
    EXPECT_THROW(reader.prepareWorkers(), ZrError_NotThatKindOfClass);
    zrrxRelease(zrrxSysRegistry()->remove(L"ZrRxThreadPoolService"));
}
