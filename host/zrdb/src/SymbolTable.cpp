#include "zrdb/ZrDbSymbolTable.h"

#include <cwchar>

#include "zrdb/ZrDbBlockReference.h"
#include "zrdb/ZrDbDatabase.h"
#include "zrdb/ZrDbRefusals.h"

ZRRX_DEFINE_MEMBERS(ZrDbSymbolTableRecord, ZrDbObject, nullptr)
ZRRX_DEFINE_MEMBERS(ZrDbSymbolTable, ZrDbObject, nullptr)
ZRRX_DEFINE_MEMBERS(ZrDbBlockTableRecord, ZrDbSymbolTableRecord,
                    [] { return static_cast<ZrRxObject*>(new ZrDbBlockTableRecord); })
ZRRX_DEFINE_MEMBERS(ZrDbLayerTableRecord, ZrDbSymbolTableRecord,
                    [] { return static_cast<ZrRxObject*>(new ZrDbLayerTableRecord); })
ZRRX_DEFINE_MEMBERS(ZrDbViewportTableRecord, ZrDbSymbolTableRecord,
                    [] { return static_cast<ZrRxObject*>(new ZrDbViewportTableRecord); })
ZRRX_DEFINE_MEMBERS(ZrDbBlockTable, ZrDbSymbolTable, nullptr)
ZRRX_DEFINE_MEMBERS(ZrDbLayerTable, ZrDbSymbolTable, nullptr)
ZRRX_DEFINE_MEMBERS(ZrDbViewportTable, ZrDbSymbolTable, nullptr)

namespace {
constexpr std::size_t kMaxSymbolNameLength = 255;
constexpr const wchar_t* kForbiddenNameCharacters = L"<>/\\\":;?*|,=`";

// The object behind an id, without opening it; for the database's own checks.
template <class T>
T* peek(ZrDbObjectId id)
{
    return id.isValid() ? T::cast(id.stub()->object) : nullptr;
}
} // namespace

bool zrdbIsValidSymbolName(const wchar_t* name)
{
    if (!name || !*name)
        return false;
    const std::size_t length = std::wcslen(name);
    return length <= kMaxSymbolNameLength && std::wcspbrk(name, kForbiddenNameCharacters) == nullptr;
}

// Records

Nimb::ErrorStatus ZrDbSymbolTableRecord::getName(ZrString& name) const
{
    if (!assertReadEnabled("getName"))
        return Nimb::eNotOpenForRead;
    name = m_name;
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbSymbolTableRecord::getName(const wchar_t*& name) const
{
    name = nullptr;
    if (!assertReadEnabled("getName"))
        return Nimb::eNotOpenForRead;
    name = m_name.constPtr();
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbSymbolTableRecord::setName(const wchar_t* name)
{
    if (!assertWriteEnabled("setName"))
        return Nimb::eNotOpenForWrite;
    if (!name)
        return Nimb::eNullObjectPointer;
    if (isNewObject()) {
        m_name = name;
        return Nimb::eOk;
    }
    if (!zrdbIsValidSymbolName(name))
        return Nimb::eInvalidSymbolTableName;
    if (auto* table = peek<ZrDbSymbolTable>(ownerId())) {
        const ZrDbObjectId existing = table->findName(name, false);
        if (!existing.isNull() && existing != objectId())
            return Nimb::eDuplicateRecordName;
        table->forgetNames();
    }
    m_name = name;
    return Nimb::eOk;
}

// Tables

void ZrDbSymbolTable::indexNewRecords() const
{
    for (; m_indexed < m_records.size(); ++m_indexed)
        if (auto* record = peek<ZrDbSymbolTableRecord>(m_records[m_indexed]))
            m_byName.emplace(record->nameText(), m_indexed);
}

// The first record in table order of that name; erased ones too if asked.
ZrDbObjectId ZrDbSymbolTable::findName(const wchar_t* name, bool getErased) const
{
    indexNewRecords();
    std::size_t first = m_records.size();
    const auto [from, to] = m_byName.equal_range(ZrString(name));
    for (auto entry = from; entry != to; ++entry) {
        auto* record = peek<ZrDbSymbolTableRecord>(m_records[entry->second]);
        if (record && (getErased || !record->isErased()) && entry->second < first)
            first = entry->second;
    }
    return first < m_records.size() ? m_records[first] : ZrDbObjectId();
}

Nimb::ErrorStatus ZrDbSymbolTable::getIdAt(const wchar_t* name, ZrDbObjectId& id, bool getErased) const
{
    id = ZrDbObjectId();
    if (!assertReadEnabled("getIdAt"))
        return Nimb::eNotOpenForRead;
    id = findName(name ? name : L"", getErased);
    return id.isNull() ? Nimb::eKeyNotFound : Nimb::eOk;
}

bool ZrDbSymbolTable::has(const wchar_t* name) const
{
    ZrDbObjectId id;
    return getIdAt(name, id) == Nimb::eOk;
}

Nimb::ErrorStatus ZrDbSymbolTable::checkAddable(const ZrDbSymbolTableRecord* record) const
{
    if (!assertWriteEnabled("add"))
        return Nimb::eNotOpenForWrite;
    if (!record)
        return Nimb::eNullObjectPointer;
    if (isNewObject())
        return Nimb::eNotInDatabase;
    if (!record->isNewObject())
        return Nimb::eAlreadyInDb;
    if (!record->isKindOf(recordClass()))
        return Nimb::eWrongObjectType;
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbSymbolTable::insert(ZrDbObjectId& id, ZrDbSymbolTableRecord* record)
{
    Nimb::ErrorStatus status = database()->addZrDbObject(id, record, objectId());
    if (status == Nimb::eOk)
        m_records.push_back(id);
    return status;
}

Nimb::ErrorStatus ZrDbSymbolTable::add(ZrDbObjectId& id, ZrDbSymbolTableRecord* record)
{
    id = ZrDbObjectId();
    if (Nimb::ErrorStatus status = checkAddable(record))
        return status;
    const wchar_t* name = record->nameText().constPtr();
    if (!zrdbIsValidSymbolName(name))
        return Nimb::eInvalidSymbolTableName;
    if (!findName(name, false).isNull())
        return Nimb::eDuplicateRecordName;
    return insert(id, record);
}

Nimb::ErrorStatus ZrDbSymbolTable::add(ZrDbSymbolTableRecord* record)
{
    ZrDbObjectId id;
    return add(id, record);
}

Nimb::ErrorStatus ZrDbSymbolTable::addBuiltIn(ZrDbObjectId& id, ZrDbSymbolTableRecord* record)
{
    id = ZrDbObjectId();
    if (Nimb::ErrorStatus status = checkAddable(record))
        return status;
    return insert(id, record);
}

Nimb::ErrorStatus ZrDbSymbolTable::newIterator(ZrDbSymbolTableIterator*& iterator, bool atBeginning,
                                               bool skipErased) const
{
    iterator = nullptr;
    if (!assertReadEnabled("newIterator"))
        return Nimb::eNotOpenForRead;
    iterator = new ZrDbSymbolTableIterator(m_records, atBeginning, skipErased);
    return Nimb::eOk;
}

// Iterator

ZrDbSymbolTableIterator::ZrDbSymbolTableIterator(std::vector<ZrDbObjectId> records, bool atBeginning,
                                                 bool skipErased)
    : m_records(std::move(records))
{
    start(atBeginning, skipErased);
}

void ZrDbSymbolTableIterator::start(bool atBeginning, bool skipErased)
{
    m_position = atBeginning ? 0 : static_cast<long>(m_records.size()) - 1;
    if (skipErased)
        skipErasedRecords(atBeginning);
}

bool ZrDbSymbolTableIterator::done() const
{
    return m_position < 0 || m_position >= static_cast<long>(m_records.size());
}

void ZrDbSymbolTableIterator::step(bool forward, bool skipErased)
{
    if (done())
        return;
    m_position += forward ? 1 : -1;
    if (skipErased)
        skipErasedRecords(forward);
}

void ZrDbSymbolTableIterator::skipErasedRecords(bool forward)
{
    while (!done()) {
        const ZrDbObjectId id = m_records[static_cast<std::size_t>(m_position)];
        if (id.isValid() && !id.isErased())
            return;
        m_position += forward ? 1 : -1;
    }
}

Nimb::ErrorStatus ZrDbSymbolTableIterator::getRecordId(ZrDbObjectId& id) const
{
    if (done()) {
        id = ZrDbObjectId();
        return Nimb::eInvalidIndex;
    }
    id = m_records[static_cast<std::size_t>(m_position)];
    return Nimb::eOk;
}

// Blocks

namespace {
// True when block holds, at any depth, a reference to target.
bool blockReaches(ZrDbObjectId block, ZrDbObjectId target, int depth = 0)
{
    if (block == target)
        return true;
    auto* record = peek<ZrDbBlockTableRecord>(block);
    if (!record || depth > 1000)
        return false;
    for (ZrDbObjectId entityId : record->entityIds())
        if (auto* reference = peek<ZrDbBlockReference>(entityId))
            if (blockReaches(reference->blockTableRecord(), target, depth + 1))
                return true;
    return false;
}
} // namespace

Nimb::ErrorStatus ZrDbBlockTableRecord::appendZrDbEntity(ZrDbObjectId& id, ZrDbEntity* entity)
{
    id = ZrDbObjectId();
    if (!assertWriteEnabled("appendZrDbEntity"))
        return Nimb::eNotOpenForWrite;
    if (!entity)
        return Nimb::eNullObjectPointer;
    if (isNewObject())
        return Nimb::eNotInDatabase;
    if (!entity->isNewObject())
        return Nimb::eAlreadyInDb;
    // A block must not hold itself, directly or through other blocks.
    if (auto* reference = ZrDbBlockReference::cast(entity))
        if (blockReaches(reference->blockTableRecord(), objectId()))
            return Nimb::eInvalidInput;
    if (zrdbRefuses(ZrDbRefusable::kAppendEntity))
        return Nimb::eOutOfMemory;
    Nimb::ErrorStatus status = database()->addZrDbObject(id, entity, objectId());
    if (status == Nimb::eOk)
        m_entities.push_back(id);
    return status;
}

Nimb::ErrorStatus ZrDbBlockTableRecord::appendZrDbEntity(ZrDbEntity* entity)
{
    ZrDbObjectId id;
    return appendZrDbEntity(id, entity);
}

std::vector<ZrDbObjectId> ZrDbBlockTableRecord::entityIds() const { return m_entities; }

bool ZrDbBlockTableRecord::isLayout() const
{
    return nameText().compareNoCase(L"*Model_Space") == 0 || nameText().compareNoCase(L"*Paper_Space") == 0;
}

// Viewports

double ZrDbViewportTableRecord::centerX() const { return assertReadEnabled("centerX") ? m_centerX : 0.0; }
double ZrDbViewportTableRecord::centerY() const { return assertReadEnabled("centerY") ? m_centerY : 0.0; }
double ZrDbViewportTableRecord::height() const { return assertReadEnabled("height") ? m_height : 0.0; }
double ZrDbViewportTableRecord::width() const { return assertReadEnabled("width") ? m_width : 0.0; }

Nimb::ErrorStatus ZrDbViewportTableRecord::setView(double centerX, double centerY, double width, double height)
{
    if (!assertWriteEnabled("setView"))
        return Nimb::eNotOpenForWrite;
    if (!(width > 0.0) || !(height > 0.0))
        return Nimb::eInvalidInput;
    m_centerX = centerX;
    m_centerY = centerY;
    m_width = width;
    m_height = height;
    return Nimb::eOk;
}
