#include "ImportModel.h"

#include <memory>

#include <zrbase/ZrRxDictionary.h>
#include <zrcore/ZrDocumentService.h>
#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbDatabase.h>
#include <zrdb/ZrDbObjectPtr.h>
#include <zrdb/ZrDbHostAppServices.h>
#include <zrdb/ZrDbSymbolTable.h>

#include "Blocks.h"
#include "reading/ControlReader.h"

namespace {

// Ticks of one import: 3 before reading, 72 after a successful read, 25 after conversion.
constexpr int kTicksBeforeRead = 3;
constexpr int kTicksAfterRead = 72;
constexpr int kTicksAfterConversion = 25;

ZrDocumentService* documentService()
{
    return ZrDocumentService::cast(zrrxGetService(ZrDocumentService::kServiceNumber));
}

// The reader owns the work items and through them the entities conversion
// makes, so whatever the import does not place goes with the reader.
std::unique_ptr<ControlReader> makeReader(FileKind kind, const ZrString& path)
{
    switch (kind) {
    case kStepFile: return std::make_unique<STEP_Reader>(path);
    case kIgesFile: return std::make_unique<IGES_Reader>(path);
    default: return nullptr;
    }
}

} // namespace

void placeRootReferences(ControlReader* reader, const std::vector<ShapeNode>& roots, ZrDbDatabase* db,
                         ZrDbBlockTableRecord* space)
{
    for (const ShapeNode& root : roots) {
        EntityList references;
        collectNodeReferences(reader, root, db, references);
        if (references.empty())
            continue;
        // A reference the space refuses goes with outer.
        if (std::unique_ptr<ZrDbBlockReference> outer = makeBlockReference(db, root, references))
            appendEntity(space, outer);
    }
}

namespace {

void handOverActiveViewport(ZrDbDatabase* db)
{
    ZrDbViewportTable* table = nullptr;
    if (db->getSymbolTable(table, ZrDb::kForRead) != Nimb::eOk)
        return;
    ZrDbObjectPtr<ZrDbObject> closeTable(table);
    ZrDbObjectId activeId;
    if (table->getIdAt(L"*Active", activeId) != Nimb::eOk)
        return;
    ZrDbViewportTableRecord* active = nullptr;
    if (zrdbOpenObject(active, activeId, ZrDb::kForWrite) != Nimb::eOk)
        return;
    ZrDbObjectPtr<ZrDbObject> closeActive(active);
    if (ZrDocumentService* service = documentService())
        service->takeActiveViewport(active);
}

} // namespace

void tick(ProgressMeterInfo* progress, int n)
{
    for (int i = 0; i < n; ++i) {
        if (progress->step == 0.0)
            continue;
        progress->accumulated += 1.0;
        while (progress->accumulated > progress->step) {
            if (progress->callback)
                progress->callback();
            progress->accumulated -= progress->step;
        }
    }
}

int importModel(const ZrString& path, ZrDbDatabase** database, ProgressMeterInfo* progress, FileKind kind,
                bool importMode)
{
    const bool metric = zrdbHostApplicationServices()->measurementDefault() != 0;
    ZrDbDatabasePtr held;
    if (importMode)
        held = ZrDbDatabasePtr(*database);
    else
        held = zrdbHostApplicationServices()->createDatabase(true, metric);
    if (!held)
        return -1;
    ZrDocumentService* service = documentService();
    const ZrDbObjectId spaceId = service ? service->manager()->receivingSpaceId(held.get()) : held->modelSpaceId();
    ZrDbObjectPtr<ZrDbBlockTableRecord> space(spaceId, ZrDb::kForWrite);
    if (!space)
        return -1;

    std::unique_ptr<ControlReader> reader = makeReader(kind, path);
    if (reader) {
        if (progress) {
            progress->step = 1.0;
            tick(progress, kTicksBeforeRead);
        }
        const std::size_t itemCount = reader->read();
        const std::vector<ShapeNode> roots = reader->rootNodes();
        if (itemCount != 0) {
            if (progress)
                tick(progress, kTicksAfterRead);
            reader->prepareWorkers();
            reader->runWorkers();
            if (progress)
                tick(progress, kTicksAfterConversion);
            placeRootReferences(reader.get(), roots, held.get(), space.get());
            handOverActiveViewport(held.get());
        }
        reader.reset();
    }
    space.close();
    *database = held.detach();
    return 0;
}
