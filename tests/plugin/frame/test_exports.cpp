// The open and import exports, called the way the host calls them.
#include <gtest/gtest.h>

#include <zrbase/ZrHeap.h>
#include <zrbase/ZrRxDictionary.h>
#include <zrcore/NimbHost.h>
#include <zrdb/ZrDbDatabase.h>
#include <zrdb/ZrDbSymbolTable.h>

#include "Fixtures.h"

namespace {

const std::wstring pluginPath = L"" QUOR_BIN_DIR "/zrquor.zrx";

using OpenFile = int (*)(const char*, ZrDbDatabase**, bool, void (*)(int), void (*)());
using ImportFile = int (*)(const char*, ZrDbDatabase**);

int rangeCalls = 0, lastRange = 0, ticks = 0;
void setRange(int range)
{
    ++rangeCalls;
    lastRange = range;
}
void onTick() { ++ticks; }

class Exports : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_EQ(host.loadPlugin(pluginPath, error), Nimb::eOk) << error;
        open = reinterpret_cast<OpenFile>(host.pluginSymbol("nimbOpenFile"));
        import = reinterpret_cast<ImportFile>(host.pluginSymbol("nimbImportFile"));
        rangeCalls = lastRange = ticks = 0;
    }

    static void expectClean(ZrDbDatabase* db)
    {
        EXPECT_TRUE(db->openObjects().empty());
        EXPECT_TRUE(db->reportedErrors().empty()) << db->reportedErrors().front();
    }

    static std::string boxFile(const std::string& name, bool iges = false)
    {
        fixtures::Model model;
        model.addPart(fixtures::box(1, 2, 3), "Box");
        const std::string path = fixtures::tempPath(name);
        if (iges)
            model.writeIges(path);
        else
            model.writeStep(path);
        return path;
    }

    NimbHost host;
    OpenFile open = nullptr;
    ImportFile import = nullptr;
};

} // namespace

TEST_F(Exports, OpenGivesANewDatabaseWithProgress)
{
    struct Case {
        std::string path;
        int ticks;
    } cases[] = {
        {boxFile("box.step"), 99},
        {boxFile("\xE8\x9E\xBA\xE6\xA0\x93.IGS", true), 99},
        {fixtures::writeText("broken.stp", "not a STEP file"), 2},
        {fixtures::writeText("notes.txt", "text"), 0},
    };
    for (const Case& c : cases) {
        rangeCalls = ticks = 0;
        ZrDbDatabase* db = nullptr;
        EXPECT_EQ(open(c.path.c_str(), &db, false, setRange, onTick), 0) << c.path;
        ASSERT_NE(db, nullptr);
        EXPECT_EQ(db->referenceCount(), 1);
        EXPECT_EQ(rangeCalls, 1);
        EXPECT_EQ(lastRange, 100);
        EXPECT_EQ(ticks, c.ticks) << c.path;
        expectClean(db);
        releaseDb(db);
    }
}

TEST_F(Exports, OpenWithoutCallbacksAndAsADocument)
{
    const std::string path = boxFile("document.stp");
    ZrDbDatabase* db = nullptr;
    ASSERT_EQ(open(path.c_str(), &db, true, nullptr, nullptr), 0);
    ASSERT_EQ(host.documents().size(), 2u);
    EXPECT_EQ(host.currentDatabase(), db);
    EXPECT_EQ(host.currentDocument().name, ZrString(path.c_str(), ZrString::kUtf8).wide() + L".dwg");
    EXPECT_EQ(host.currentDocument().flags, 33);
    EXPECT_EQ(db->referenceCount(), 2); // the document's and the caller's
    releaseDb(db);
    EXPECT_EQ(open(path.c_str(), nullptr, true, nullptr, nullptr), -1);
}

TEST_F(Exports, ImportIntoTheCurrentDrawing)
{
    ZrDbDatabase* drawing = host.currentDatabase();
    const int references = drawing->referenceCount();
    ZrDbDatabase* target = drawing;
    EXPECT_EQ(import(boxFile("import.stp").c_str(), &target), 0);
    EXPECT_EQ(target, drawing);
    EXPECT_EQ(drawing->referenceCount(), references + 1); // handed back with the driver's reference
    releaseDb(drawing);
    expectClean(drawing);

    ZrDbDatabase* none = nullptr;
    EXPECT_EQ(import(boxFile("import2.stp").c_str(), &none), 0);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(import(boxFile("import3.stp").c_str(), nullptr), 0);
}

TEST_F(Exports, ADrawingWithoutActiveViewportStillTakesTheImport)
{
    ZrDbDatabase* drawing = host.currentDatabase();
    ZrDbViewportTable* table = nullptr;
    ASSERT_EQ(drawing->getSymbolTable(table, ZrDb::kForRead), Nimb::eOk);
    ZrDbObjectId active;
    ASSERT_EQ(table->getIdAt(L"*Active", active), Nimb::eOk);
    table->close();
    ZrDbObject* viewport = nullptr;
    ASSERT_EQ(zrdbOpenObject(viewport, active, ZrDb::kForWrite), Nimb::eOk);
    viewport->erase();
    viewport->close();

    ZrDbDatabase* target = drawing;
    EXPECT_EQ(import(boxFile("no-viewport.stp").c_str(), &target), 0);
    releaseDb(drawing);
    expectClean(drawing);
}

TEST_F(Exports, AFailureInsideTheImportReachesNoFurtherThanTheExport)
{
    // A registry entry under the pool's name that is no pool: the import throws.
    zrrxRelease(zrrxSysRegistry()->atPut(L"ZrRxThreadPoolService", new ZrRxDictionary));
    const std::string path = boxFile("throws.step");
    const long blocks = zrrxLiveBlockCount();
    ZrDbDatabase* untouched = reinterpret_cast<ZrDbDatabase*>(0x1);
    EXPECT_EQ(open(path.c_str(), &untouched, true, setRange, onTick), -1);
    EXPECT_EQ(untouched, reinterpret_cast<ZrDbDatabase*>(0x1));
    EXPECT_EQ(host.documents().size(), 1u);
    EXPECT_EQ(zrrxLiveBlockCount(), blocks); // the new database and the reader are gone

    ZrDbDatabase* drawing = host.currentDatabase();
    const int references = drawing->referenceCount();
    ZrDbDatabase* target = drawing;
    EXPECT_EQ(import(path.c_str(), &target), 0);
    EXPECT_EQ(drawing->referenceCount(), references);
    expectClean(drawing);
    zrrxRelease(zrrxSysRegistry()->remove(L"ZrRxThreadPoolService"));
}

TEST_F(Exports, AKernelFaultFailsTheFileNotTheHost)
{
    // The kernel's IGES reader faults on a name holding a line break.
    fixtures::Model model;
    model.addPart(fixtures::box(1, 1, 1), "Line\nbreak");
    const std::string path = fixtures::tempPath("fault.igs");
    model.writeIges(path);
    struct sigaction before;
    sigaction(SIGSEGV, nullptr, &before);

    ZrDbDatabase* db = nullptr;
    EXPECT_EQ(open(path.c_str(), &db, false, nullptr, nullptr), -1);
    EXPECT_EQ(db, nullptr);
    ZrDbDatabase* target = host.currentDatabase();
    EXPECT_EQ(import(path.c_str(), &target), 0);
    expectClean(host.currentDatabase());
    // The host's own handling of memory faults is back.
    struct sigaction now;
    sigaction(SIGSEGV, nullptr, &now);
    EXPECT_EQ(now.sa_handler, before.sa_handler);
    EXPECT_EQ(now.sa_flags, before.sa_flags);
    // And the kernel still works for the next file.
    EXPECT_EQ(open(boxFile("after-fault.stp").c_str(), &db, false, setRange, onTick), 0);
    releaseDb(db);
}
