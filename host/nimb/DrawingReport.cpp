#include "DrawingReport.h"

#include <cwctype>
#include <map>
#include <string>

#include <zrbase/ZrString.h>
#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbDatabase.h>
#include <zrdb/ZrDbObjectPtr.h>
#include <zrdb/ZrDbSymbolTable.h>

namespace {

// Deepest nesting printed; deeper levels would only come from a broken drawing.
constexpr int kMaxDepth = 64;

// "ZrDb3dSolid" -> "3dsolid".
std::string kindName(const ZrRxClass* objectClass)
{
    std::wstring name = objectClass->name();
    if (name.rfind(L"ZrDb", 0) == 0)
        name = name.substr(4);
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return ZrString(name).utf8();
}

void printBlock(ZrDbObjectId blockId, int depth, std::ostream& out)
{
    ZrDbObjectPtr<ZrDbBlockTableRecord> block(blockId, ZrDb::kForRead);
    if (!block)
        return;
    std::map<std::string, int> counts;
    std::vector<ZrDbObjectId> inner;
    for (ZrDbObjectId id : block->entityIds()) {
        if (id.isErased() || !id.objectClass())
            continue;
        if (id.objectClass()->isDerivedFrom(ZrDbBlockReference::desc())) {
            ZrDbObjectPtr<ZrDbBlockReference> reference(id, ZrDb::kForRead);
            if (reference)
                inner.push_back(reference->blockTableRecord());
        } else {
            ++counts[kindName(id.objectClass())];
        }
    }
    ZrString name;
    block->getName(name);
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << name.utf8();
    const char* separator = "  [";
    for (const auto& count : counts) {
        out << separator << count.first << ' ' << count.second;
        separator = ", ";
    }
    out << (counts.empty() ? "" : "]") << '\n';
    if (depth >= kMaxDepth)
        return;
    for (ZrDbObjectId child : inner)
        printBlock(child, depth + 1, out);
}

} // namespace

void printBlockTree(ZrDbDatabase* db, std::ostream& out)
{
    ZrDbObjectPtr<ZrDbBlockTableRecord> space(db->modelSpaceId(), ZrDb::kForRead);
    if (!space) {
        out << "(no model space)\n";
        return;
    }
    const std::vector<ZrDbObjectId> ids = space->entityIds();
    out << "model space: " << ids.size() << (ids.size() == 1 ? " entity\n" : " entities\n");
    for (ZrDbObjectId id : ids) {
        if (id.isErased() || !id.objectClass())
            continue;
        if (id.objectClass()->isDerivedFrom(ZrDbBlockReference::desc())) {
            ZrDbObjectPtr<ZrDbBlockReference> reference(id, ZrDb::kForRead);
            if (reference)
                printBlock(reference->blockTableRecord(), 1, out);
        } else {
            out << "  " << kindName(id.objectClass()) << '\n';
        }
    }
}
