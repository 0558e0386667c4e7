#pragma once
// Entities conversion made, each with one owner from the moment it is made
// until a database takes it.
//
// An entity lives in exactly one EntityList (a work item's, then the list a
// block is made from) until a block appends it: appendEntity hands it to the
// database and only then lets go of it. Whatever no database took is deleted
// with the list that holds it, on every path, exceptions included.
#include <memory>
#include <vector>

#include <zrdb/ZrDbEntity.h>
#include <zrdb/ZrDbObjectPtr.h>
#include <zrdb/ZrDbSymbolTable.h>

using EntityList = std::vector<std::unique_ptr<ZrDbEntity>>;

// Appends entity to block (in a database, open for write). On success the
// database owns the entity: it is closed and entity is null. On failure
// entity still owns it. A null entity is not appended (eNullObjectPointer).
template <class Entity>
Nimb::ErrorStatus appendEntity(ZrDbBlockTableRecord* block, std::unique_ptr<Entity>& entity)
{
    if (!entity)
        return Nimb::eNullObjectPointer;
    const Nimb::ErrorStatus status = block->appendZrDbEntity(entity.get());
    if (status == Nimb::eOk)
        ZrDbObjectPtr<ZrDbEntity> appended(entity.release()); // open for write from the append; closed here
    return status;
}
