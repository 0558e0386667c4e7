#pragma once
// The host's command set: commands are registered in named groups and run by
// their global (language-independent) or local (translated) name.
#include <memory>
#include <string>
#include <vector>

#include <zrbase/ZrRxObject.h>
#include <zrbase/zrwin.h>

using ZrRxFunctionPtr = void (*)();
class ZrEdUIContext;

// Where a command's resources (help, icons) come from; empty for none.
struct ZrRxResourceInstance {
    HINSTANCE module = nullptr;
    static ZrRxResourceInstance empty() { return ZrRxResourceInstance(); }
    bool isEmpty() const { return module == nullptr; }
};

// Command flags.
namespace ZrEd {
enum CommandFlags {
    kModal = 0x1,        // runs only when no other command is active
    kTransparent = 0x2,  // may run while another command is active
    kUndoGroup = 0x4,    // its changes are undone as one step
};
}

class ZrEdCommand {
public:
    std::wstring group;
    std::wstring globalName;
    std::wstring localName;
    int flags = 0;
    ZrRxFunctionPtr function = nullptr;
    ZrEdUIContext* uiContext = nullptr;
    int helpId = -1;
    ZrRxResourceInstance resources;
};

class ZrEdCommandStack : public ZrRxObject {
public:
    ZRRX_DECLARE_MEMBERS(ZrEdCommandStack);
    ZrEdCommandStack() = default;

    // Registers a command. Names are matched without regard to case; a
    // global name, and a local name, may be registered only once in the
    // whole stack.
    //   eInvalidInput       a name is empty or holds white space
    //   eNullObjectPointer  no function
    //   eDuplicateKey       the global or local name is taken
    Nimb::ErrorStatus addCommand(const wchar_t* group, const wchar_t* globalName, const wchar_t* localName,
                                 int flags, ZrRxFunctionPtr function, ZrEdUIContext* uiContext = nullptr,
                                 int helpId = -1, ZrRxResourceInstance resources = ZrRxResourceInstance::empty(),
                                 ZrEdCommand** command = nullptr);
    // eKeyNotFound when the group has no such command.
    Nimb::ErrorStatus removeCmd(const wchar_t* group, const wchar_t* globalName);
    // Removes every command of the group; eKeyNotFound when it has none.
    Nimb::ErrorStatus removeGroup(const wchar_t* group);

    const ZrEdCommand* lookupGlobalCmd(const wchar_t* name) const;
    const ZrEdCommand* lookupLocalCmd(const wchar_t* name) const;
    // By global name first, then by local name, as the command line does.
    const ZrEdCommand* lookupCmd(const wchar_t* name) const;
    // Every command, in the order registered.
    std::vector<const ZrEdCommand*> commands() const;

private:
    std::vector<std::unique_ptr<ZrEdCommand>> m_commands;
};
