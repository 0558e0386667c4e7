#pragma once
// One whole import: from a file path to the database handed back.
#include <zrbase/ZrString.h>

#include "FileKind.h"

#include <vector>

class ControlReader;
class ZrDbBlockTableRecord;
class ZrDbDatabase;
struct ShapeNode;

// Progress of nimbOpenFile: ticks are counted and reported through callback.
struct ProgressMeterInfo {
    double step = 0.0;            // ticks per callback; the driver sets 1.0
    double accumulated = 0.0;     // ticks not yet reported
    void (*callback)() = nullptr; // may be null
};

// Counts n ticks. With step 1.0 the callback is first called on the second
// tick and then on every tick, so 100 ticks give 99 calls.
void tick(ProgressMeterInfo* progress, int n);

// Wraps the converted entities of each root into nested blocks and appends
// one reference per root that produced any to space (open for write).
void placeRootReferences(ControlReader* reader, const std::vector<ShapeNode>& roots, ZrDbDatabase* db,
                         ZrDbBlockTableRecord* space);

// Reads path and places what it holds in a database.
//   importMode true:  *database is the target; it must not be null.
//   importMode false: a new database is made.
// On 0 the database (target or new) is stored through database together
// with one reference for the caller. -1 when there is no target database or
// its model space cannot be opened; nothing is written back then.
// Exceptions of the kernel or the host leave the call; everything the call
// opened is closed, what it made is deleted and *database is left as it was.
int importModel(const ZrString& path, ZrDbDatabase** database, ProgressMeterInfo* progress, FileKind kind,
                bool importMode);
