// The module's entry points: load and unload messages and the interface version.
#include <zrbase/ZrRxDictionary.h>
#include <zrbase/ZrRxDynamicLinker.h>
#include <zrdb/ZrDbHostAppServices.h>

#include "Commands.h"
#include "Export.h"

namespace {
void onLoad(void* packet)
{
    if (auto* linker = ZrRxDynamicLinker::cast(zrrxSysRegistry()->at(L"DynamicLinker"))) {
        linker->unlockModule(packet);
        linker->registerDocumentAware(packet);
    }
    registerCommands();
}
} // namespace

extern "C" QUOR_EXPORT int zrrxEntryPoint(int message, void* packet)
{
    switch (message) {
    case ZrRx::kModuleLoad:
        onLoad(packet);
        break;
    case ZrRx::kModuleUnload:
        unregisterCommands();
        break;
    default:
        break;
    }
    return 0;
}

extern "C" QUOR_EXPORT int zrrxGetApiVersion() { return Nimb::zrrxGetApiVersion(); }
