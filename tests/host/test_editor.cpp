#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include <zrbase/ZrRxDictionary.h>
#include <zrbase/ZrRxThreadPoolService.h>
#include <zrcore/CQsSystem.h>
#include <zrcore/NimbFileChecks.h>
#include <zrcore/NimbHost.h>
#include <zrcore/ZrDocumentService.h>
#include <zrcore/ZrEdCommandStack.h>
#include <zrcore/zredvars.h>
#include <zrdb/ZrDbCurves.h>
#include <zrdb/ZrDbSymbolTable.h>

namespace {
int calls = 0;
short activeSeenByCommand = 0;
void countCall()
{
    ++calls;
    resbuf value;
    if (zredGetVar(L"cmdactive", &value) == ZR_RTNORM)
        activeSeenByCommand = value.resval.rint;
}
} // namespace

TEST(CommandStack, AddLookupAndRemove)
{
    ZrEdCommandStack stack;
    ZrEdCommand* added = nullptr;
    EXPECT_EQ(stack.addCommand(L"G1", L"first", L"erste", 5, countCall, nullptr, -1,
                               ZrRxResourceInstance::empty(), &added),
              Nimb::eOk);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->flags, 5);
    EXPECT_EQ(added->helpId, -1);
    EXPECT_EQ(stack.addCommand(L"G2", L"FIRST", L"other", 0, countCall), Nimb::eDuplicateKey);
    EXPECT_EQ(stack.addCommand(L"G2", L"second", L"ERSTE", 0, countCall), Nimb::eDuplicateKey);
    EXPECT_EQ(stack.addCommand(L"G2", L"two words", L"x", 0, countCall), Nimb::eInvalidInput);
    EXPECT_EQ(stack.addCommand(L"G2", L"second", L"zweite", 0, nullptr), Nimb::eNullObjectPointer);
    EXPECT_EQ(stack.addCommand(L"G2", L"second", L"zweite", 0, countCall), Nimb::eOk);
    EXPECT_EQ(stack.addCommand(L"G1", L"third", L"dritte", 0, countCall), Nimb::eOk);

    EXPECT_EQ(stack.lookupCmd(L"Erste"), added);
    EXPECT_EQ(stack.lookupGlobalCmd(L"erste"), nullptr);
    EXPECT_EQ(stack.removeGroup(L"g1"), Nimb::eOk);
    EXPECT_EQ(stack.removeGroup(L"G1"), Nimb::eKeyNotFound);
    ASSERT_EQ(stack.commands().size(), 1u);
    EXPECT_EQ(stack.commands()[0]->globalName, L"second");
}

TEST(Host, RegistersItsServicesAndRemovesThemAgain)
{
    {
        NimbHost host;
        ZrRxDictionary* registry = zrrxSysRegistry();
        EXPECT_NE(registry->at(L"DynamicLinker"), nullptr);
        EXPECT_EQ(ZrEdCommandStack::cast(registry->at(L"ACRX_REGISTERED_COMMANDS")), host.commandStack());
        auto* pool = ZrRxThreadPoolService::cast(registry->at(L"ZrRxThreadPoolService"));
        ASSERT_NE(pool, nullptr);
        EXPECT_GE(pool->numThreads(), 1);
        EXPECT_NE(CQsSystem::instance(), nullptr);
        EXPECT_THROW(NimbHost second, std::logic_error);
    }
    EXPECT_EQ(zrrxSysRegistry()->at(L"ZrRxThreadPoolService"), nullptr);
    EXPECT_EQ(CQsSystem::instance(), nullptr);
    resbuf value;
    EXPECT_EQ(zredGetVar(L"CMDACTIVE", &value), ZR_RTERROR);

    NimbHostOptions bare;
    bare.threadPool = false;
    bare.systemObject = false;
    NimbHost host(bare);
    EXPECT_EQ(zrrxSysRegistry()->at(L"ZrRxThreadPoolService"), nullptr);
    EXPECT_EQ(CQsSystem::instance(), nullptr);
}

TEST(Host, CommandNameServiceKnowsTheHostsOwnCommands)
{
    NimbHostOptions options;
    options.hostCommands = {L"STPIMPORT"};
    NimbHost host(options);
    CQsCommandNameService* names = CQsSystem::instance()->commandNameService();
    ASSERT_NE(names, nullptr);
    EXPECT_TRUE(names->isHostCommand(L"stpimport"));
    EXPECT_FALSE(names->isHostCommand(L"IGSIMPORT"));
}

TEST(Host, CommandsRunWithCmdactiveSet)
{
    NimbHost host;
    host.commandStack()->addCommand(L"T", L"count", L"zaehle", ZrEd::kModal, countCall);
    calls = 0;
    std::string error;
    EXPECT_EQ(host.runCommand(L"ZAEHLE", error), Nimb::eOk);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(activeSeenByCommand, 0x01);
    resbuf value;
    ASSERT_EQ(zredGetVar(L"CMDACTIVE", &value), ZR_RTNORM);
    EXPECT_EQ(value.restype, ZR_RTSHORT);
    EXPECT_EQ(value.resval.rint, 0);

    host.setVariable(L"CMDACTIVE", 0x01);
    EXPECT_EQ(host.runCommand(L"count", error), Nimb::eBusy);
    EXPECT_EQ(host.runCommand(L"nothing", error), Nimb::eKeyNotFound);
    EXPECT_EQ(error, "unknown command: nothing");
    EXPECT_EQ(zredGetVar(L"NOSUCHVAR", &value), ZR_RTERROR);
}

TEST(Host, ImportActionsNeedAFileAndAPlugin)
{
    NimbHost host;
    std::vector<std::string> messages;
    host.setMessageSink([&](const std::string& m) { messages.push_back(m); });
    CQsImportActionService* actions = CQsSystem::instance()->importActionService();
    EXPECT_FALSE(actions->runAction(7)); // no file prompt: cancelled
    host.setFilePrompt([](int) { return std::wstring(L"/no/such/file.stp"); });
    EXPECT_FALSE(actions->runAction(8));
    EXPECT_FALSE(actions->runAction(9));
    const std::string readable = QUOR_TEST_DIR "/editor-action.stp";
    std::ofstream(readable) << "ISO-10303-21;\n";
    host.setFilePrompt([&](int) { return ZrString(readable.c_str(), ZrString::kUtf8).wide(); });
    EXPECT_FALSE(actions->runAction(7)); // no plug-in loaded
    EXPECT_EQ(messages, (std::vector<std::string>{"cannot open /no/such/file.stp: no such file", "unknown action 9",
                                                  "no loaded plug-in imports files"}));
}

TEST(Host, DocumentServiceOpensDocumentsAndFitsTheView)
{
    NimbHost host;
    auto* service = ZrDocumentService::cast(zrrxGetService(ZrDocumentService::kServiceNumber));
    ASSERT_NE(service, nullptr);
    ASSERT_EQ(host.documents().size(), 1u);
    EXPECT_EQ(host.documents()[0].name, L"Drawing1.dwg");

    ZrDbDatabasePtr db = ZrDbDatabasePtr::adopt(new ZrDbDatabase(true, true));
    EXPECT_EQ(service->manager()->receivingSpaceId(db.get()), db->modelSpaceId());
    EXPECT_EQ(service->manager()->openDatabaseAsDocument(db.get(), L"part.stp.dwg", 0, 33, false, 16), Nimb::eOk);
    EXPECT_EQ(host.documents().size(), 2u);
    EXPECT_EQ(host.currentDatabase(), db.get());
    EXPECT_EQ(db->referenceCount(), 2);

    ZrDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(zrdbOpenObject(space, db->modelSpaceId(), ZrDb::kForWrite), Nimb::eOk);
    for (ZrGePoint3d p : {ZrGePoint3d(0, 0, 0), ZrGePoint3d(100, 20, 5)}) {
        auto* point = new ZrDbPoint(p);
        space->appendZrDbEntity(point);
        point->close();
    }
    ZrDbViewportTable* table = nullptr;
    ASSERT_EQ(db->getSymbolTable(table, ZrDb::kForRead), Nimb::eOk);
    ZrDbObjectId activeId;
    ASSERT_EQ(table->getIdAt(L"*Active", activeId), Nimb::eOk);
    ZrDbViewportTableRecord* active = nullptr;
    ASSERT_EQ(zrdbOpenObject(active, activeId, ZrDb::kForWrite), Nimb::eOk);
    EXPECT_EQ(service->takeActiveViewport(active), Nimb::eOk); // model space still open for write
    EXPECT_DOUBLE_EQ(active->centerX(), 50.0);
    EXPECT_DOUBLE_EQ(active->centerY(), 10.0);
    EXPECT_NEAR(active->width(), 105.0, 1e-9);
    active->close();
    table->close();
    space->close();
    EXPECT_TRUE(db->openObjects().empty());
    EXPECT_TRUE(db->reportedErrors().empty());
}

TEST(FileChecks, TheHostSaysWhyItCannotHandAFileToAnImport)
{
    const std::string folder = QUOR_TEST_DIR "/file-checks";
    mkdir(folder.c_str(), 0755);
    const auto file = [&](const std::string& name) {
        const std::string path = folder + "/" + name;
        std::ofstream(path) << "text";
        return path;
    };
    mkdir((folder + "/folder.stp").c_str(), 0755);
    struct Case {
        std::string path;
        std::string reason;
    } cases[] = {
        {folder + "/missing.stp", "no such file"},
        {folder + "/missing.txt", "no such file"},
        {folder + "/notes.txt/part.stp", "no such file"},
        {folder + "/folder.stp", "it is a folder"},
        {file("notes.txt"), "no command handles .txt files"},
        {file("NOTES.TXT"), "no command handles .txt files"},
        {file("README"), "no command handles files without an extension"},
        {file("part.stpx"), "no command handles .stpx files"},
        {file("a.b.STEP"), ""},
        {file("part.stp"), ""},
        {file("part.ste"), ""},
        {file("part.Igs"), ""},
        {file("part.iges"), ""},
        {"", "no such file"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nimbWhyNotImportable(c.path), c.reason) << c.path;
    EXPECT_EQ(nimbCannotOpen("a.stp", "no such file"), "cannot open a.stp: no such file");
    EXPECT_EQ(nimbNothingImported("a.stp"), "nothing imported from a.stp");

    // Whoever may not read a file is told so (root reads every file).
    const std::string locked = file("locked.stp");
    chmod(locked.c_str(), 0);
    if (geteuid() != 0) {
        EXPECT_EQ(nimbWhyNotImportable(locked), "permission denied");
    }
}

TEST(FileChecks, ModelSpaceSizeCountsWhatImportsAdd)
{
    ZrDbDatabasePtr db = ZrDbDatabasePtr::adopt(new ZrDbDatabase(true, true));
    EXPECT_EQ(nimbModelSpaceSize(db.get()), 0u);
    ZrDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(zrdbOpenObject(space, db->modelSpaceId(), ZrDb::kForWrite), Nimb::eOk);
    auto* point = new ZrDbPoint(ZrGePoint3d(1, 2, 3));
    ASSERT_EQ(space->appendZrDbEntity(point), Nimb::eOk);
    point->close();
    space->close();
    EXPECT_EQ(nimbModelSpaceSize(db.get()), 1u);
    EXPECT_EQ(nimbModelSpaceSize(nullptr), 0u);
    ZrDbDatabasePtr bare = ZrDbDatabasePtr::adopt(new ZrDbDatabase(false, true));
    EXPECT_EQ(nimbModelSpaceSize(bare.get()), 0u);
}
