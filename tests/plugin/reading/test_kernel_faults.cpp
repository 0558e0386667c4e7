// A kernel fault during conversion leaves no lock held: the fault becomes a
// kernel exception by a jump that skips destructors, so every lock must be
// released by a handler in the frame that holds it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <BRep_Tool.hxx>
#include <Standard_Failure.hxx>

#include <zrcore/NimbHost.h>
#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbCurves.h>
#include <zrdb/ZrDbObjectPtr.h>
#include <zrdb/ZrDbSymbolTable.h>

#include "Fixtures.h"
#include "assembly/Blocks.h"
#include "assembly/Colours.h"
#include "assembly/ImportModel.h"

namespace {

// Ends the process when the test has not finished in time: a lock left held
// makes the import wait for ever.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : m_thread([this, limit] {
              std::unique_lock<std::mutex> lock(m_mutex);
              if (!m_done.wait_for(lock, limit, [this] { return m_finished; })) {
                  std::fprintf(stderr, "the import waits for ever: a lock was left held by the fault\n");
                  std::_Exit(1);
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

std::thread::id hostThread;
std::atomic<int> faults{0};
std::atomic<bool> faultOnWorker{false};

// Inside a colour query on a pool worker, once: the kernel reads through
// the null shape of a default shape handle.
void faultingProbe()
{
    if (std::this_thread::get_id() == hostThread || faults.exchange(1) != 0)
        return;
    faultOnWorker = true;
    BRep_Tool::IsClosed(TopoDS_Shape());
}

// Six free red edges: six work items, converted on the pool. In IGES each
// edge keeps its colour as its own.
std::string redEdgesFile()
{
    fixtures::Model model;
    for (int i = 0; i < 6; ++i) {
        TDF_Label label = model.addPart(fixtures::lineEdge(gp_Pnt(i, 0, 0), gp_Pnt(i, 1, 0)), "Edge");
        model.setColour(label, Quantity_Color(1, 0, 0, Quantity_TOC_RGB), XCAFDoc_ColorGen);
    }
    const std::string path = fixtures::tempPath("red-edges.igs");
    model.writeIges(path);
    return path;
}

// The colours of every curve in the drawing's blocks.
std::vector<ZrCmEntityColor> curveColours(ZrDbDatabase* db)
{
    std::vector<ZrCmEntityColor> colours;
    ZrDbBlockTable* table = nullptr;
    EXPECT_EQ(db->getSymbolTable(table, ZrDb::kForRead), Nimb::eOk);
    const std::vector<ZrDbObjectId> blocks = table->recordIds();
    table->close();
    for (ZrDbObjectId blockId : blocks) {
        const ZrDbObjectPtr<ZrDbBlockTableRecord> block(blockId, ZrDb::kForRead);
        for (ZrDbObjectId id : block->entityIds())
            if (ZrDbLine::cast(id.stub()->object)) {
                const ZrDbObjectPtr<ZrDbEntity> entity(id, ZrDb::kForRead);
                colours.push_back(entity->entityColor());
            }
    }
    return colours;
}

} // namespace

TEST(KernelFaults, AFaultInAColourQueryOnAWorkerLeavesNoLockHeld)
{
    const Watchdog watchdog(std::chrono::seconds(120));
    NimbHostOptions options;
    options.threads = 4;
    NimbHost host(options);
    hostThread = std::this_thread::get_id();
    const ZrString path(redEdgesFile().c_str(), ZrString::kUtf8);

    setColourQueryProbe(faultingProbe);
    usedBlockNames.clear();
    ZrDbDatabase* failed = nullptr;
    EXPECT_THROW(importModel(path, &failed, nullptr, kIgesFile, false), Standard_Failure);
    setColourQueryProbe(nullptr);
    EXPECT_TRUE(faultOnWorker);
    EXPECT_EQ(failed, nullptr);

    // The next import of the process converts on the pool again and finds
    // every colour: neither the colour lock nor the document lock is held.
    usedBlockNames.clear();
    ZrDbDatabase* made = nullptr;
    ASSERT_EQ(importModel(path, &made, nullptr, kIgesFile, false), 0);
    ASSERT_NE(made, nullptr);
    const ZrDbDatabasePtr drawing = ZrDbDatabasePtr::adopt(made);
    const std::vector<ZrCmEntityColor> colours = curveColours(drawing.get());
    EXPECT_EQ(colours.size(), 6u);
    for (const ZrCmEntityColor& colour : colours)
        EXPECT_EQ(colour, ZrCmEntityColor(254, 0, 0));
    EXPECT_TRUE(drawing->openObjects().empty());
    EXPECT_TRUE(drawing->reportedErrors().empty());
}
