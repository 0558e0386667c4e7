#pragma once
// A test hook of the host database: it refuses chosen operations as a real
// drawing may (a full drawing, a locked block), so that tests can follow the
// caller's failure paths. Nothing is refused unless a test asks.
//
//     zrdbRefuse(ZrDbRefusable::kAppendEntity, 2); // the third append fails
//     ...
//     zrdbRefuseNothing();
//
// A refused operation changes nothing and returns eOutOfMemory.
#include <zrbase/ZrErrorStatus.h>

enum class ZrDbRefusable {
    kAppendEntity,         // ZrDbBlockTableRecord::appendZrDbEntity
    kSetBlockTableRecord,  // ZrDbBlockReference::setBlockTableRecord
};

// After the next `allowed` calls of operation, which go as usual, the
// following `count` calls are refused; later ones go as usual again.
void zrdbRefuse(ZrDbRefusable operation, int allowed, int count = 1);
// Ends every refusal.
void zrdbRefuseNothing();

// Host-internal: counts one call of operation; true when it is to be refused.
bool zrdbRefuses(ZrDbRefusable operation);
