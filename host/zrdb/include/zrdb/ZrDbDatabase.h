#pragma once
// A drawing database: the objects of one drawing, reached by id.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <zrbase/ZrHeap.h>
#include <zrbase/ZrRxObject.h>

#include "ZrDbObject.h"

class ZrDbBlockTable;
class ZrDbViewportTable;
class ZrDbLayerTable;

// Host-internal entry of one object: the database keeps it for as long as the
// database lives, so ids stay safe to ask after the object is gone.
struct ZrDbStub {
    ZrDbDatabase* database = nullptr;
    ZrDbObject* object = nullptr; // null once the object is deleted
    std::uint64_t handle = 0;
};

// Databases are counted: addRefDb takes a reference, releaseDb drops one and
// deletes the database with the last. A database is used on one thread at a
// time; the host uses it only on its main thread.
class ZrDbDatabase : public ZrRxObject, public ZrHeapOperators {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbDatabase);

    // A database with its symbol tables. With buildDefaultDrawing it also
    // holds what every drawing has: the blocks "*Model_Space" and
    // "*Paper_Space", the layer "0" and the viewport "*Active". metric picks
    // millimetres as drawing units, otherwise inches.
    explicit ZrDbDatabase(bool buildDefaultDrawing = true, bool metric = true);
    ~ZrDbDatabase() override;

    Nimb::ErrorStatus getSymbolTable(ZrDbBlockTable*& table, ZrDb::OpenMode mode);
    Nimb::ErrorStatus getSymbolTable(ZrDbViewportTable*& table, ZrDb::OpenMode mode);
    Nimb::ErrorStatus getSymbolTable(ZrDbLayerTable*& table, ZrDb::OpenMode mode);
    ZrDbObjectId blockTableId() const { return m_blockTable; }
    ZrDbObjectId viewportTableId() const { return m_viewportTable; }
    ZrDbObjectId layerTableId() const { return m_layerTable; }
    // Null in a database made without the default drawing.
    ZrDbObjectId modelSpaceId() const { return m_modelSpace; }
    ZrDbObjectId paperSpaceId() const { return m_paperSpace; }
    bool isMetric() const { return m_metric; }

    // Takes a new object into the database, open for write, owned by owner.
    Nimb::ErrorStatus addZrDbObject(ZrDbObjectId& id, ZrDbObject* object, ZrDbObjectId owner);

    // Every object that is open now.
    std::vector<ZrDbObjectId> openObjects() const;
    // Misuse the database refused (closing twice, using a closed object, ...),
    // oldest first.
    const std::vector<std::string>& reportedErrors() const { return m_errors; }
    void reportError(const std::string& problem);
    std::size_t objectCount() const;
    // The handle the next object added will get; every handle so far is below it.
    std::uint64_t handseed() const { return m_nextHandle; }

private:
    ZrDbObjectId makeTable(ZrDbObject* table);
    void buildDefaultDrawing();

    std::vector<std::unique_ptr<ZrDbStub>> m_stubs;
    std::uint64_t m_nextHandle = 1;
    bool m_metric;
    bool m_destroying = false;
    ZrDbObjectId m_blockTable, m_viewportTable, m_layerTable, m_modelSpace, m_paperSpace;
    std::vector<std::string> m_errors;
};

void addRefDb(ZrDbDatabase* database);
void releaseDb(ZrDbDatabase* database);

// Holds one reference to a database.
class ZrDbDatabasePtr {
public:
    ZrDbDatabasePtr() = default;
    // Takes a reference of its own (addRefDb).
    explicit ZrDbDatabasePtr(ZrDbDatabase* database);
    // Takes over a reference the caller holds.
    static ZrDbDatabasePtr adopt(ZrDbDatabase* database);
    ZrDbDatabasePtr(const ZrDbDatabasePtr& other);
    ZrDbDatabasePtr(ZrDbDatabasePtr&& other) noexcept;
    ZrDbDatabasePtr& operator=(ZrDbDatabasePtr other) noexcept;
    ~ZrDbDatabasePtr();

    ZrDbDatabase* get() const { return m_database; }
    ZrDbDatabase* operator->() const { return m_database; }
    explicit operator bool() const { return m_database != nullptr; }
    // Hands the reference to the caller without dropping it.
    ZrDbDatabase* detach();

private:
    ZrDbDatabase* m_database = nullptr;
};
