#include "zrdb/ZrDbDatabase.h"

#include "zrdb/ZrDbSymbolTable.h"

ZRRX_DEFINE_MEMBERS(ZrDbDatabase, ZrRxObject, [] { return static_cast<ZrRxObject*>(new ZrDbDatabase); })

ZrDbDatabase::ZrDbDatabase(bool buildDefault, bool metric) : m_metric(metric)
{
    m_blockTable = makeTable(new ZrDbBlockTable);
    m_layerTable = makeTable(new ZrDbLayerTable);
    m_viewportTable = makeTable(new ZrDbViewportTable);
    if (buildDefault)
        buildDefaultDrawing();
}

ZrDbDatabase::~ZrDbDatabase()
{
    m_destroying = true;
    for (auto& stub : m_stubs) {
        ZrDbObject* object = stub->object;
        if (!object)
            continue;
        stub->object = nullptr;
        object->attachToDatabase(nullptr, ZrDbObjectId());
        delete object;
    }
}

ZrDbObjectId ZrDbDatabase::makeTable(ZrDbObject* table)
{
    ZrDbObjectId id;
    addZrDbObject(id, table, ZrDbObjectId());
    table->close();
    return id;
}

namespace {
template <class Table, class Record>
ZrDbObjectId addBuiltInRecord(ZrDbDatabase& db, ZrDbObjectId tableId, const wchar_t* name)
{
    Table* table = nullptr;
    ZrDbObjectId id;
    if (zrdbOpenObject(table, tableId, ZrDb::kForWrite) != Nimb::eOk)
        return id;
    auto* record = new Record;
    record->setNameUnchecked(name);
    if (table->addBuiltIn(id, record) == Nimb::eOk)
        record->close();
    else
        delete record;
    table->close();
    (void)db;
    return id;
}
} // namespace

void ZrDbDatabase::buildDefaultDrawing()
{
    m_modelSpace = addBuiltInRecord<ZrDbBlockTable, ZrDbBlockTableRecord>(*this, m_blockTable, L"*Model_Space");
    m_paperSpace = addBuiltInRecord<ZrDbBlockTable, ZrDbBlockTableRecord>(*this, m_blockTable, L"*Paper_Space");
    addBuiltInRecord<ZrDbLayerTable, ZrDbLayerTableRecord>(*this, m_layerTable, L"0");
    addBuiltInRecord<ZrDbViewportTable, ZrDbViewportTableRecord>(*this, m_viewportTable, L"*Active");
}

Nimb::ErrorStatus ZrDbDatabase::getSymbolTable(ZrDbBlockTable*& table, ZrDb::OpenMode mode)
{
    return zrdbOpenObject(table, m_blockTable, mode);
}

Nimb::ErrorStatus ZrDbDatabase::getSymbolTable(ZrDbViewportTable*& table, ZrDb::OpenMode mode)
{
    return zrdbOpenObject(table, m_viewportTable, mode);
}

Nimb::ErrorStatus ZrDbDatabase::getSymbolTable(ZrDbLayerTable*& table, ZrDb::OpenMode mode)
{
    return zrdbOpenObject(table, m_layerTable, mode);
}

Nimb::ErrorStatus ZrDbDatabase::addZrDbObject(ZrDbObjectId& id, ZrDbObject* object, ZrDbObjectId owner)
{
    id = ZrDbObjectId();
    if (!object)
        return Nimb::eNullObjectPointer;
    if (!object->isNewObject())
        return Nimb::eAlreadyInDb;
    auto stub = std::make_unique<ZrDbStub>();
    stub->database = this;
    stub->object = object;
    stub->handle = m_nextHandle++;
    object->attachToDatabase(stub.get(), owner);
    id = ZrDbObjectId(stub.get());
    m_stubs.push_back(std::move(stub));
    return Nimb::eOk;
}

std::vector<ZrDbObjectId> ZrDbDatabase::openObjects() const
{
    std::vector<ZrDbObjectId> open;
    for (const auto& stub : m_stubs)
        if (stub->object && stub->object->isOpen())
            open.emplace_back(stub.get());
    return open;
}

void ZrDbDatabase::reportError(const std::string& problem)
{
    if (!m_destroying)
        m_errors.push_back(problem);
}

std::size_t ZrDbDatabase::objectCount() const
{
    std::size_t count = 0;
    for (const auto& stub : m_stubs)
        if (stub->object)
            ++count;
    return count;
}

void addRefDb(ZrDbDatabase* database) { zrrxAddRef(database); }
void releaseDb(ZrDbDatabase* database) { zrrxRelease(database); }

ZrDbDatabasePtr::ZrDbDatabasePtr(ZrDbDatabase* database) : m_database(database) { addRefDb(m_database); }

ZrDbDatabasePtr ZrDbDatabasePtr::adopt(ZrDbDatabase* database)
{
    ZrDbDatabasePtr ptr;
    ptr.m_database = database;
    return ptr;
}

ZrDbDatabasePtr::ZrDbDatabasePtr(const ZrDbDatabasePtr& other) : m_database(other.m_database) { addRefDb(m_database); }

ZrDbDatabasePtr::ZrDbDatabasePtr(ZrDbDatabasePtr&& other) noexcept : m_database(other.m_database)
{
    other.m_database = nullptr;
}

ZrDbDatabasePtr& ZrDbDatabasePtr::operator=(ZrDbDatabasePtr other) noexcept
{
    std::swap(m_database, other.m_database);
    return *this;
}

ZrDbDatabasePtr::~ZrDbDatabasePtr() { releaseDb(m_database); }

ZrDbDatabase* ZrDbDatabasePtr::detach()
{
    ZrDbDatabase* database = m_database;
    m_database = nullptr;
    return database;
}
