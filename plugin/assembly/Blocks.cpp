#include "Blocks.h"

#include <memory>

#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbDatabase.h>
#include <zrdb/ZrDbObjectPtr.h>
#include <zrdb/ZrDbSymbolTable.h>

UsedBlockNames usedBlockNames;

UsedBlockNames& UsedBlockNames::operator=(std::initializer_list<ZrString> names)
{
    clear();
    m_names.insert(names.begin(), names.end());
    return *this;
}

void UsedBlockNames::clear()
{
    m_names.clear();
    m_firstNumber.clear();
    m_firstTempNumber = 1;
}

int& UsedBlockNames::firstNumberToTry(const ZrString& stem)
{
    return m_firstNumber.try_emplace(stem, 2).first->second;
}

namespace {

// Replacements applied to a node name, in this order, each to every occurrence.
const wchar_t* const kReplacements[][2] = {
    {L":", L"_"}, {L";", L"_"}, {L",", L"."}, {L"/", L"_"}, {L"?", L"_"},
    {L"\"", L"'"}, {L"\\", L"|"}, {L"*", L"."}, {L"=", L"_"}, {L"`", L"_"},
};

// What the drawing refuses in a symbol name.
const wchar_t* const kRefusedCharacters = L"<>/\\\":;?*|,=`";
constexpr int kMaxBlockNameLength = 255;
// Room kept for a numeric suffix when a fallback name is cut.
constexpr int kSuffixRoom = 8;

bool endsWithDigit(const ZrString& name)
{
    return !name.isEmpty() && name[name.length() - 1] >= L'0' && name[name.length() - 1] <= L'9';
}

ZrString uniqueAgainstUsed(const ZrString& cleaned, bool digitSuffix)
{
    if (!usedBlockNames.count(cleaned))
        return cleaned;
    int& n = usedBlockNames.firstNumberToTry(cleaned);
    for (;; ++n) {
        ZrString suffix;
        suffix.format(digitSuffix ? L"_%d" : L"%d", n);
        ZrString candidate = cleaned.concat(suffix);
        if (!usedBlockNames.count(candidate))
            return candidate;
    }
}

// Adds a block named name to the table; on success its id, with the entities
// appended and everything closed again. Entities the block takes leave the
// list (their pointers become null); those it refuses stay in it. A refused
// name is retried once with a fallback name, which then replaces name.
ZrDbObjectId addBlock(ZrDbBlockTable* table, ZrString& name, EntityList& entities)
{
    auto record = std::make_unique<ZrDbBlockTableRecord>();
    record->setName(name);
    ZrDbObjectId id;
    Nimb::ErrorStatus status = table->add(id, record.get());
    if (status == Nimb::eInvalidSymbolTableName || status == Nimb::eDuplicateRecordName) {
        const ZrString fallback = fallbackBlockName(name);
        record->setName(fallback);
        status = table->add(id, record.get());
        if (status == Nimb::eOk)
            name = fallback;
    }
    if (status != Nimb::eOk)
        return ZrDbObjectId(); // the record goes with its owner here
    const ZrDbObjectPtr<ZrDbBlockTableRecord> block(record.release()); // the database owns it now
    for (std::unique_ptr<ZrDbEntity>& entity : entities)
        appendEntity(block.get(), entity);
    return id;
}

} // namespace

ZrString uniqueBlockName(const ShapeNode& node)
{
    ZrString cleaned = node.name;
    for (const auto& replacement : kReplacements)
        cleaned.replace(replacement[0], replacement[1]);
    return uniqueAgainstUsed(cleaned, endsWithDigit(node.name));
}

ZrString fallbackBlockName(const ZrString& refused)
{
    std::wstring text = refused.wide();
    for (wchar_t& c : text)
        if (std::wstring(kRefusedCharacters).find(c) != std::wstring::npos || c < L' ')
            c = L'_';
    if (static_cast<int>(text.size()) > kMaxBlockNameLength - kSuffixRoom)
        text.resize(static_cast<std::size_t>(kMaxBlockNameLength - kSuffixRoom));
    if (text.empty()) {
        int& n = usedBlockNames.firstTempNumberToTry();
        for (;; ++n) {
            ZrString generated;
            generated.format(L"tempName%d", n);
            if (!usedBlockNames.count(generated))
                return generated;
        }
    }
    return uniqueAgainstUsed(ZrString(text), endsWithDigit(ZrString(text)));
}

std::unique_ptr<ZrDbBlockReference> makeBlockReference(ZrDbDatabase* database, const ShapeNode& node,
                                                       EntityList& entities)
{
    ZrString name = uniqueBlockName(node);
    ZrDbObjectId blockId;
    ZrDbBlockTable* table = nullptr;
    if (database && database->getSymbolTable(table, ZrDb::kForWrite) == Nimb::eOk) {
        const ZrDbObjectPtr<ZrDbBlockTable> closeTable(table);
        blockId = addBlock(table, name, entities);
    }
    // What no block took (all of them when there is no block) is deleted.
    for (std::unique_ptr<ZrDbEntity>& entity : entities)
        entity.reset();
    if (!blockId.isValid())
        return nullptr;
    usedBlockNames.insert(name);
    auto reference = std::make_unique<ZrDbBlockReference>();
    if (reference->setBlockTableRecord(blockId) != Nimb::eOk)
        return nullptr;
    entities.clear();
    // Not in a database yet, so nothing to close: whoever appends it takes it.
    return reference;
}

void collectNodeReferences(ControlReader* reader, const ShapeNode& node, ZrDbDatabase* database, EntityList& out)
{
    if (node.isShape) {
        EntityList gathered;
        for (std::size_t i = node.firstItem; i < node.lastItem; ++i)
            reader->itemEntities(i, gathered);
        if (!gathered.empty())
            out.push_back(makeBlockReference(database, node, gathered));
        return;
    }
    for (const ShapeNode& child : node.children) {
        EntityList childReferences;
        collectNodeReferences(reader, child, database, childReferences);
        if (!childReferences.empty())
            out.push_back(makeBlockReference(database, child, childReferences));
    }
}
