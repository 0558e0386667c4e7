#pragma once
// Loads and unloads plug-in modules.
#include <memory>
#include <string>
#include <vector>

#include "ZrRxObject.h"

namespace ZrRx {
// Messages the host sends to a module's zrrxEntryPoint.
enum ModuleMessage { kModuleLoad = 1, kModuleUnload = 2 };
}

// The host's record of one loaded module. A pointer to it is the "packet" the
// module's entry point receives with the load message.
struct ZrRxModuleRecord {
    std::wstring path;
    void* handle = nullptr;      // from dlopen
    bool unlocked = false;       // the module allowed the host to unload it
    bool documentAware = false;  // the module copes with several open documents
    bool unlockedFirst = false;  // the two load-time calls came in the expected order
};

class ZrRxDynamicLinker : public ZrRxObject {
public:
    ZRRX_DECLARE_MEMBERS(ZrRxDynamicLinker);
    ZrRxDynamicLinker();
    ~ZrRxDynamicLinker() override;

    // First load-time call of a module: it may be unloaded again. A module
    // that never makes this call stays loaded until the process ends.
    bool unlockModule(void* packet);
    // Second load-time call: the module works with several open documents.
    bool registerDocumentAware(void* packet);

    // Loads a module by path: dlopen, an API version check through its
    // zrrxGetApiVersion export, then its zrrxEntryPoint with kModuleLoad and
    // the module's record as packet. On failure, error says why.
    Nimb::ErrorStatus loadModule(const std::wstring& path, ZrRxModuleRecord*& module, std::string& error);
    // Sends kModuleUnload and unloads. eModuleLocked when the module did not
    // unlock itself: it is then told nothing and stays loaded.
    Nimb::ErrorStatus unloadModule(ZrRxModuleRecord* module);
    // Address of an export of a loaded module, or null.
    void* moduleSymbol(const ZrRxModuleRecord* module, const char* name) const;
    const std::vector<std::unique_ptr<ZrRxModuleRecord>>& modules() const { return m_modules; }

private:
    ZrRxModuleRecord* findRecord(void* packet) const;
    std::vector<std::unique_ptr<ZrRxModuleRecord>> m_modules;
};
