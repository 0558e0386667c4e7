#include "zrbase/ZrRxDynamicLinker.h"

#include <dlfcn.h>

#include "zrbase/ZrApiVersion.h"
#include "zrbase/ZrString.h"

ZRRX_DEFINE_MEMBERS(ZrRxDynamicLinker, ZrRxObject, nullptr)

namespace {
using EntryPoint = int (*)(int message, void* packet);
using ApiVersionFunction = int (*)();
} // namespace

ZrRxDynamicLinker::ZrRxDynamicLinker() = default;

ZrRxDynamicLinker::~ZrRxDynamicLinker()
{
    // Modules still loaded when the host goes stay mapped: their code may be
    // referenced by objects that outlive this linker.
}

ZrRxModuleRecord* ZrRxDynamicLinker::findRecord(void* packet) const
{
    for (const auto& module : m_modules)
        if (module.get() == packet)
            return module.get();
    return nullptr;
}

bool ZrRxDynamicLinker::unlockModule(void* packet)
{
    ZrRxModuleRecord* module = findRecord(packet);
    if (!module)
        return false;
    module->unlocked = true;
    module->unlockedFirst = !module->documentAware;
    return true;
}

bool ZrRxDynamicLinker::registerDocumentAware(void* packet)
{
    ZrRxModuleRecord* module = findRecord(packet);
    if (!module)
        return false;
    module->documentAware = true;
    return true;
}

Nimb::ErrorStatus ZrRxDynamicLinker::loadModule(const std::wstring& path, ZrRxModuleRecord*& module, std::string& error)
{
    module = nullptr;
    const std::string narrowPath = ZrString(path).utf8();
    void* handle = dlopen(narrowPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        error = reason ? reason : "cannot load " + narrowPath;
        return Nimb::eModuleNotFound;
    }
    auto entry = reinterpret_cast<EntryPoint>(dlsym(handle, "zrrxEntryPoint"));
    auto version = reinterpret_cast<ApiVersionFunction>(dlsym(handle, "zrrxGetApiVersion"));
    if (!entry || !version) {
        error = narrowPath + " is not a plug-in module (zrrxEntryPoint or zrrxGetApiVersion missing)";
        dlclose(handle);
        return Nimb::eInvalidInput;
    }
    const int moduleVersion = version();
    if ((moduleVersion >> 16) != NIMB_API_VERSION_MAJOR) {
        error = narrowPath + " was built for interface version " + std::to_string(moduleVersion >> 16) +
                ", this host has " + std::to_string(NIMB_API_VERSION_MAJOR);
        dlclose(handle);
        return Nimb::eVersionMismatch;
    }
    m_modules.push_back(std::make_unique<ZrRxModuleRecord>());
    module = m_modules.back().get();
    module->path = path;
    module->handle = handle;
    entry(ZrRx::kModuleLoad, module);
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrRxDynamicLinker::unloadModule(ZrRxModuleRecord* module)
{
    if (!findRecord(module))
        return Nimb::eInvalidInput;
    if (!module->unlocked)
        return Nimb::eModuleLocked;
    if (auto entry = reinterpret_cast<EntryPoint>(dlsym(module->handle, "zrrxEntryPoint")))
        entry(ZrRx::kModuleUnload, module);
    dlclose(module->handle);
    for (auto it = m_modules.begin(); it != m_modules.end(); ++it)
        if (it->get() == module) {
            m_modules.erase(it);
            break;
        }
    return Nimb::eOk;
}

void* ZrRxDynamicLinker::moduleSymbol(const ZrRxModuleRecord* module, const char* name) const
{
    return module && module->handle ? dlsym(module->handle, name) : nullptr;
}
