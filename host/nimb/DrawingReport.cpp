#include "DrawingReport.h"

#include <cwctype>
#include <map>
#include <string>

#include <zrbase/ZrString.h>
#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbDatabase.h>
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

// Opens the object of id for read for as long as it lives.
template <class T>
struct ReadOpen {
    explicit ReadOpen(ZrDbObjectId id) { zrdbOpenObject(object, id, ZrDb::kForRead); }
    ~ReadOpen()
    {
        if (object)
            object->close();
    }
    T* object = nullptr;
};

void printBlock(ZrDbObjectId blockId, int depth, std::ostream& out)
{
    ReadOpen<ZrDbBlockTableRecord> block(blockId);
    if (!block.object)
        return;
    std::map<std::string, int> counts;
    std::vector<ZrDbObjectId> inner;
    for (ZrDbObjectId id : block.object->entityIds()) {
        if (id.isErased() || !id.objectClass())
            continue;
        if (id.objectClass()->isDerivedFrom(ZrDbBlockReference::desc())) {
            ReadOpen<ZrDbBlockReference> reference(id);
            if (reference.object)
                inner.push_back(reference.object->blockTableRecord());
        } else {
            ++counts[kindName(id.objectClass())];
        }
    }
    ZrString name;
    block.object->getName(name);
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
    ReadOpen<ZrDbBlockTableRecord> space(db->modelSpaceId());
    if (!space.object) {
        out << "(no model space)\n";
        return;
    }
    const std::vector<ZrDbObjectId> ids = space.object->entityIds();
    out << "model space: " << ids.size() << (ids.size() == 1 ? " entity\n" : " entities\n");
    for (ZrDbObjectId id : ids) {
        if (id.isErased() || !id.objectClass())
            continue;
        if (id.objectClass()->isDerivedFrom(ZrDbBlockReference::desc())) {
            ReadOpen<ZrDbBlockReference> reference(id);
            if (reference.object)
                printBlock(reference.object->blockTableRecord(), 1, out);
        } else {
            out << "  " << kindName(id.objectClass()) << '\n';
        }
    }
}
