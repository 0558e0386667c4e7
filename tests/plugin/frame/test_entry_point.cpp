// The plug-in loaded into a host the test makes, as nimb does.
#include <gtest/gtest.h>

#include <zrbase/ZrRxDynamicLinker.h>
#include <zrcore/NimbHost.h>
#include <zrcore/ZrEdCommandStack.h>

namespace {

const std::wstring pluginPath = L"" QUOR_BIN_DIR "/zrquor.zrx";

void probe() {}

struct Loaded {
    explicit Loaded(NimbHostOptions options = {}) : host(std::move(options))
    {
        std::string error;
        loaded = host.loadPlugin(pluginPath, error) == Nimb::eOk;
        EXPECT_TRUE(loaded) << error;
        host.setFilePrompt([this](int code) {
            prompts.push_back(code);
            return std::wstring(); // the user cancels
        });
    }
    std::vector<std::wstring> commandNames() const
    {
        std::vector<std::wstring> names;
        for (const ZrEdCommand* c : host.commandStack()->commands())
            names.push_back(c->group + L"/" + c->globalName + L"/" + c->localName);
        return names;
    }
    NimbHost host;
    bool loaded = false;
    std::vector<int> prompts;
};

NimbHostOptions providing(std::vector<std::wstring> commands)
{
    NimbHostOptions options;
    options.hostCommands = std::move(commands);
    return options;
}

} // namespace

TEST(EntryPoint, LoadRegistersBothCommandsAndUnlocksTheModule)
{
    Loaded plugin;
    ASSERT_TRUE(plugin.loaded);
    EXPECT_EQ(plugin.commandNames(), (std::vector<std::wstring>{L"QuorCmd/stpimport/importstep",
                                                                L"QuorCmd/igsimport/importiges"}));
    const ZrEdCommand* command = plugin.host.commandStack()->lookupCmd(L"STPIMPORT");
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->flags, 5);
    EXPECT_EQ(command->helpId, -1);
    EXPECT_EQ(command->uiContext, nullptr);
    EXPECT_TRUE(command->resources.isEmpty());
    const ZrRxModuleRecord* module = plugin.host.plugin();
    EXPECT_TRUE(module->unlocked);
    EXPECT_TRUE(module->documentAware);
    EXPECT_TRUE(module->unlockedFirst);
    EXPECT_EQ(plugin.host.unloadPlugin(), Nimb::eOk);
    EXPECT_TRUE(plugin.commandNames().empty());
}

TEST(EntryPoint, CommandsTheHostProvidesAreLeftToIt)
{
    struct Case {
        std::vector<std::wstring> provided;
        std::vector<std::wstring> registered;
        bool groupRemovedOnUnload;
    } cases[] = {
        {{L"STPIMPORT", L"IGSIMPORT"}, {L"QuorCmd/probe/probe"}, false},
        {{L"stpimport"}, {L"QuorCmd/probe/probe", L"QuorCmd/igsimport/importiges"}, true},
        {{L"IGSIMPORT"}, {L"QuorCmd/probe/probe", L"QuorCmd/stpimport/importstep"}, true},
    };
    for (const Case& c : cases) {
        NimbHostOptions options = providing(c.provided);
        NimbHost host(options);
        // A command of the same group that was there before the plug-in.
        host.commandStack()->addCommand(L"QuorCmd", L"probe", L"probe", 0, probe);
        std::string error;
        ASSERT_EQ(host.loadPlugin(pluginPath, error), Nimb::eOk) << error;
        std::vector<std::wstring> names;
        for (const ZrEdCommand* command : host.commandStack()->commands())
            names.push_back(command->group + L"/" + command->globalName + L"/" + command->localName);
        EXPECT_EQ(names, c.registered);
        host.unloadPlugin();
        EXPECT_EQ(host.commandStack()->commands().empty(), c.groupRemovedOnUnload);
    }
}

TEST(EntryPoint, WithoutTheHostSystemNothingIsRegistered)
{
    NimbHostOptions options;
    options.systemObject = false;
    Loaded plugin(options);
    EXPECT_TRUE(plugin.commandNames().empty());
    EXPECT_EQ(plugin.host.unloadPlugin(), Nimb::eOk);
}

TEST(EntryPoint, OtherMessagesAreIgnored)
{
    Loaded plugin;
    auto entry = reinterpret_cast<int (*)(int, void*)>(plugin.host.pluginSymbol("zrrxEntryPoint"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(3, nullptr), 0);
    EXPECT_EQ(entry(0, nullptr), 0);
    EXPECT_EQ(plugin.commandNames().size(), 2u);
    auto version = reinterpret_cast<int (*)()>(plugin.host.pluginSymbol("zrrxGetApiVersion"));
    EXPECT_EQ(version() >> 16, 24);
}

TEST(Commands, HandTheRequestToTheHostsImportAction)
{
    Loaded plugin;
    std::string error;
    EXPECT_EQ(plugin.host.runCommand(L"stpimport", error), Nimb::eOk);
    EXPECT_EQ(plugin.host.runCommand(L"importiges", error), Nimb::eOk);
    EXPECT_EQ(plugin.prompts, (std::vector<int>{7, 8}));
}

TEST(Commands, DoNothingWhileAFileActionRuns)
{
    Loaded plugin;
    std::string error;
    plugin.host.setVariable(L"CMDACTIVE", 0x20);
    EXPECT_EQ(plugin.host.runCommand(L"stpimport", error), Nimb::eOk);
    plugin.host.setVariable(L"CMDACTIVE", 0x20 | 0x04);
    EXPECT_EQ(plugin.host.runCommand(L"igsimport", error), Nimb::eOk);
    EXPECT_TRUE(plugin.prompts.empty());
    plugin.host.setVariable(L"CMDACTIVE", 0x04);
    EXPECT_EQ(plugin.host.runCommand(L"igsimport", error), Nimb::eOk);
    EXPECT_EQ(plugin.prompts, (std::vector<int>{8}));
}

// Run with a keyword module whose names are 999 characters long.
TEST(ResourceLongNames, ALocalNameOf999CharactersIsUsedWhole)
{
    Loaded plugin;
    const ZrEdCommand* step = plugin.host.commandStack()->lookupGlobalCmd(L"stpimport");
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->localName, L"s" + std::wstring(998, L'x'));
    EXPECT_EQ(plugin.host.commandStack()->lookupGlobalCmd(L"igsimport")->localName.size(), 999u);
}

// Run where no keyword module can be found.
TEST(ResourceMissing, DefaultLocalNamesAreUsed)
{
    Loaded plugin;
    EXPECT_EQ(plugin.commandNames(),
              (std::vector<std::wstring>{L"QuorCmd/stpimport/stpimport", L"QuorCmd/igsimport/igsimport"}));
}
