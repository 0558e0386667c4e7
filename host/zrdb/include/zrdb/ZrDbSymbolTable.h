#pragma once
// Symbol tables and their records: blocks, layers, viewports.
#include <cstddef>
#include <map>
#include <utility>
#include <vector>

#include <zrbase/ZrString.h>

#include "ZrDbObject.h"

class ZrDbEntity;
class ZrDbSymbolTableIterator;

// Symbol names follow the rules of the drawing format. A name is valid when
// it is not empty, has at most 255 characters and holds none of
//   < > / \ " : ; ? * | , = `
// Names are unique in their table without regard to case (erased records do
// not count). Names the database makes itself ("*Model_Space", "*Active")
// are exempt.
bool zrdbIsValidSymbolName(const wchar_t* name);

class ZrDbSymbolTableRecord : public ZrDbObject {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbSymbolTableRecord);
    Nimb::ErrorStatus getName(ZrString& name) const;
    Nimb::ErrorStatus getName(const wchar_t*& name) const;
    // Any text may be set on a new record; add checks it. A record already in
    // a table can only take a valid name that no other record of it has.
    Nimb::ErrorStatus setName(const wchar_t* name);
    const ZrString& nameText() const { return m_name; } // host-internal, no open check

    void setNameUnchecked(const wchar_t* name) { m_name = name; } // host-internal

protected:
    ZrDbSymbolTableRecord() = default;

private:
    ZrString m_name;
};

class ZrDbSymbolTable : public ZrDbObject {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbSymbolTable);

    // eKeyNotFound when no (non-erased, unless getErased) record has the name.
    Nimb::ErrorStatus getIdAt(const wchar_t* name, ZrDbObjectId& id, bool getErased = false) const;
    bool has(const wchar_t* name) const;
    // Adds a new record to the table and the database; the record stays open
    // for write and must be closed. The table must be open for write.
    //   eAlreadyInDb             the record is in a database already
    //   eWrongObjectType         the record does not belong in this table
    //   eInvalidSymbolTableName  the name breaks the naming rules
    //   eDuplicateRecordName     a record of that name exists (any case)
    Nimb::ErrorStatus add(ZrDbObjectId& id, ZrDbSymbolTableRecord* record);
    Nimb::ErrorStatus add(ZrDbSymbolTableRecord* record);
    // An iterator over the records in the order they were added. It works on
    // a snapshot of the table taken now and stays usable after the table is
    // closed. The caller deletes it.
    Nimb::ErrorStatus newIterator(ZrDbSymbolTableIterator*& iterator, bool atBeginning = true,
                                  bool skipErased = true) const;

    // Host-internal: adds a record the database makes itself, without name checks.
    Nimb::ErrorStatus addBuiltIn(ZrDbObjectId& id, ZrDbSymbolTableRecord* record);
    const std::vector<ZrDbObjectId>& recordIds() const { return m_records; }
    // Host-internal: the record of that name (any case), without open checks.
    ZrDbObjectId findName(const wchar_t* name, bool getErased) const;
    // Host-internal: a record of the table was renamed.
    void forgetNames() const { m_indexed = 0; m_byName.clear(); }

protected:
    ZrDbSymbolTable() = default;
    virtual const ZrRxClass* recordClass() const = 0;

private:
    Nimb::ErrorStatus checkAddable(const ZrDbSymbolTableRecord* record) const;
    Nimb::ErrorStatus insert(ZrDbObjectId& id, ZrDbSymbolTableRecord* record);
    void indexNewRecords() const;
    std::vector<ZrDbObjectId> m_records;
    // Names (any case) to positions in m_records, for the records up to
    // m_indexed: a drawing of many thousand blocks looks names up for every
    // block it adds.
    mutable std::multimap<ZrString, std::size_t, ZrStringLessNoCase> m_byName;
    mutable std::size_t m_indexed = 0;
};

class ZrDbSymbolTableIterator {
public:
    ZrDbSymbolTableIterator(std::vector<ZrDbObjectId> records, bool atBeginning, bool skipErased);
    void start(bool atBeginning = true, bool skipErased = true);
    bool done() const;
    void step(bool forward = true, bool skipErased = true);
    Nimb::ErrorStatus getRecordId(ZrDbObjectId& id) const;

private:
    void skipErasedRecords(bool forward);
    std::vector<ZrDbObjectId> m_records;
    long m_position = 0;
};

// A block: a named collection of entities. "*Model_Space" and "*Paper_Space"
// are the layouts of the drawing.
class ZrDbBlockTableRecord : public ZrDbSymbolTableRecord {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbBlockTableRecord);
    ZrDbBlockTableRecord() = default;

    // Takes a new entity into the block's database and this block. The block
    // must be in a database and open for write; the entity must be new. The
    // entity is then open for write and must be closed.
    Nimb::ErrorStatus appendZrDbEntity(ZrDbObjectId& id, ZrDbEntity* entity);
    Nimb::ErrorStatus appendZrDbEntity(ZrDbEntity* entity);
    // Ids of the entities in append order (erased ones included).
    std::vector<ZrDbObjectId> entityIds() const;
    bool isLayout() const;

private:
    std::vector<ZrDbObjectId> m_entities;
};

class ZrDbLayerTableRecord : public ZrDbSymbolTableRecord {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbLayerTableRecord);
    ZrDbLayerTableRecord() = default;
};

// A view of model space: the part of the drawing a window shows.
class ZrDbViewportTableRecord : public ZrDbSymbolTableRecord {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbViewportTableRecord);
    ZrDbViewportTableRecord() = default;

    // Centre of the view in view coordinates, and its height and width in
    // drawing units.
    double centerX() const;
    double centerY() const;
    double height() const;
    double width() const;
    Nimb::ErrorStatus setView(double centerX, double centerY, double width, double height);

private:
    double m_centerX = 0.0, m_centerY = 0.0, m_width = 16.0, m_height = 9.0;
};

class ZrDbBlockTable : public ZrDbSymbolTable {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbBlockTable);
    ZrDbBlockTable() = default;

protected:
    const ZrRxClass* recordClass() const override { return ZrDbBlockTableRecord::desc(); }
};

class ZrDbLayerTable : public ZrDbSymbolTable {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbLayerTable);
    ZrDbLayerTable() = default;

protected:
    const ZrRxClass* recordClass() const override { return ZrDbLayerTableRecord::desc(); }
};

class ZrDbViewportTable : public ZrDbSymbolTable {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbViewportTable);
    ZrDbViewportTable() = default;

protected:
    const ZrRxClass* recordClass() const override { return ZrDbViewportTableRecord::desc(); }
};
