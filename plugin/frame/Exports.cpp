// The open and import exports the host calls with a file path.
#include <zrdb/ZrDbDatabase.h>

#include "Export.h"

extern "C" QUOR_EXPORT int nimbOpenFile(const char* path, ZrDbDatabase** database, bool asDocument,
                                        void (*setRange)(int), void (*onTick)())
{
    (void)path, (void)database, (void)asDocument, (void)onTick;
    if (setRange)
        setRange(100);
    return -1;
}

extern "C" QUOR_EXPORT int nimbImportFile(const char* path, ZrDbDatabase** database)
{
    (void)path, (void)database;
    return 0;
}
