#include "zrdb/ZrDbHostAppServices.h"

#include <zrbase/ZrApiVersion.h>

ZRRX_DEFINE_MEMBERS(ZrDbHostAppServices, ZrRxObject, nullptr)

ZrDbDatabasePtr ZrDbHostAppServices::createDatabase(bool buildDefaultDrawing, bool metric) const
{
    return ZrDbDatabasePtr::adopt(new ZrDbDatabase(buildDefaultDrawing, metric));
}

ZrDbHostAppServices* zrdbHostApplicationServices()
{
    static ZrDbHostAppServices* services = new ZrDbHostAppServices;
    return services;
}

int Nimb::zrrxGetApiVersion() { return NIMB_API_VERSION; }
