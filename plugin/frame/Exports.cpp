// The open and import exports the host calls with a file path.
//
// Nothing may leave these functions by exception: the host would go down
// with it. A failure of the kernel or the host ends the import; everything it
// opened is closed again and what it made is released.
#include <memory>

#include <zrbase/ZrRxDictionary.h>
#include <zrcore/ZrDocumentService.h>
#include <zrdb/ZrDbDatabase.h>
#include <zrdb/ZrDbObjectPtr.h>
#include <zrdb/ZrDbSymbolTable.h>

#include "Export.h"
#include "FileKind.h"
#include "assembly/Blocks.h"
#include "assembly/ImportModel.h"

namespace {

// The document service's arguments for a drawing opened from an exchange file.
constexpr int kNewDocument = 0;
constexpr int kDocumentFlags = 33;
constexpr bool kReadOnly = false;
constexpr int kDocumentHistory = 16;

ZrString pathText(const char* path) { return ZrString(path ? path : "", ZrString::kUtf8); }

void openAsDocument(ZrDbDatabase* db, const ZrString& path)
{
    auto* service = ZrDocumentService::cast(zrrxGetService(ZrDocumentService::kServiceNumber));
    if (service)
        service->manager()->openDatabaseAsDocument(db, path.concat(L".dwg"), kNewDocument, kDocumentFlags, kReadOnly,
                                                   kDocumentHistory);
}

// Puts the names of the drawing's blocks into usedBlockNames.
void collectUsedBlockNames(ZrDbDatabase* db)
{
    std::unique_ptr<ZrDbSymbolTableIterator> iterator;
    {
        ZrDbBlockTable* table = nullptr;
        if (db->getSymbolTable(table, ZrDb::kForRead) != Nimb::eOk)
            return;
        const ZrDbObjectPtr<ZrDbBlockTable> closeTable(table);
        ZrDbSymbolTableIterator* made = nullptr;
        table->newIterator(made, true, true);
        iterator.reset(made);
    }
    for (; iterator && !iterator->done(); iterator->step()) {
        ZrDbObjectId id;
        iterator->getRecordId(id);
        const ZrDbObjectPtr<ZrDbBlockTableRecord> record(id, ZrDb::kForRead);
        if (!record)
            continue;
        ZrString name;
        record->getName(name);
        usedBlockNames.insert(name);
    }
}

} // namespace

extern "C" QUOR_EXPORT int nimbOpenFile(const char* path, ZrDbDatabase** database, bool asDocument,
                                        void (*setRange)(int), void (*onTick)())
{
    if (!database)
        return -1;
    try {
        auto progress = std::make_shared<ProgressMeterInfo>();
        progress->callback = onTick;
        if (setRange)
            setRange(100);
        const ZrString file = pathText(path);
        usedBlockNames.clear();
        ZrDbDatabase* made = nullptr;
        importModel(file, &made, progress.get(), fileKindOf(file), false);
        if (!made)
            return -1;
        ZrDbDatabasePtr held = ZrDbDatabasePtr::adopt(made);
        if (asDocument)
            openAsDocument(made, file);
        *database = held.detach();
        return 0;
    } catch (...) {
        return -1;
    }
}

extern "C" QUOR_EXPORT int nimbImportFile(const char* path, ZrDbDatabase** database)
{
    try {
        usedBlockNames.clear();
        if (database && *database)
            collectUsedBlockNames(*database);
        ZrDbDatabase* target = database ? *database : nullptr;
        const ZrString file = pathText(path);
        importModel(file, database ? database : &target, nullptr, fileKindOf(file), true);
    } catch (...) {
        // The import is dropped; the drawing keeps what it had.
    }
    return 0;
}
