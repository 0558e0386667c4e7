#include "Commands.h"

#include <zrbase/ZrRxDictionary.h>
#include <zrbase/zrwin.h>
#include <zrcore/CQsSystem.h>
#include <zrcore/ZrEdCommandStack.h>
#include <zrcore/zredvars.h>

namespace {

// The host's keyword resource module, loaded with the plug-in and never
// freed; null when the host has none.
const HMODULE resourceModule = LoadLibraryW(L"nimbkwlres");

const wchar_t* const kCommandGroup = L"QuorCmd";
constexpr int kCommandFlags = 5;
constexpr int kLocalNameCapacity = 1000;
// CMDACTIVE bit the host sets while one of its file actions runs.
constexpr short kFileActionRunning = 0x20;

void runHostAction(int actionCode)
{
    resbuf value;
    if (zredGetVar(L"CMDACTIVE", &value) == ZR_RTNORM && (value.resval.rint & kFileActionRunning))
        return;
    CQsSystem* system = CQsSystem::instance();
    if (!system)
        return;
    if (CQsImportActionService* actions = system->importActionService())
        actions->runAction(actionCode);
}

void onStpImport() { runHostAction(CQs::kImportStep); }
void onIgsImport() { runHostAction(CQs::kImportIges); }

struct CommandRow {
    const wchar_t* hostQueryName;
    const wchar_t* globalName;
    unsigned int localNameId;
    const wchar_t* defaultLocalName;
    ZrRxFunctionPtr callback;
};

const CommandRow kCommandTable[] = {
    {L"STPIMPORT", L"stpimport", 74000, L"stpimport", onStpImport},
    {L"IGSIMPORT", L"igsimport", 74001, L"igsimport", onIgsImport},
};

CQsCommandNameService* commandNames()
{
    CQsSystem* system = CQsSystem::instance();
    return system ? system->commandNameService() : nullptr;
}

ZrEdCommandStack* commandStack()
{
    return ZrEdCommandStack::cast(zrrxSysRegistry()->at(L"ACRX_REGISTERED_COMMANDS"));
}

void addCommand(const CommandRow& row)
{
    ZrEdCommandStack* stack = commandStack();
    if (!stack)
        return;
    wchar_t localName[kLocalNameCapacity];
    const int length = LoadStringW(resourceModule, row.localNameId, localName, kLocalNameCapacity);
    if (length > 0)
        localName[length] = L'\0';
    stack->addCommand(kCommandGroup, row.globalName, length > 0 ? localName : row.defaultLocalName, kCommandFlags,
                      row.callback, nullptr, -1, ZrRxResourceInstance::empty(), nullptr);
}

} // namespace

void registerCommands()
{
    CQsCommandNameService* names = commandNames();
    if (!names)
        return;
    for (const CommandRow& row : kCommandTable)
        if (!names->isHostCommand(row.hostQueryName))
            addCommand(row);
}

void unregisterCommands()
{
    CQsCommandNameService* names = commandNames();
    if (!names)
        return;
    if (names->isHostCommand(L"STPIMPORT") && names->isHostCommand(L"IGSIMPORT"))
        return;
    if (ZrEdCommandStack* stack = commandStack())
        stack->removeGroup(kCommandGroup);
}
