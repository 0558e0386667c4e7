#pragma once
// Block definitions that follow the assembly tree, and their references.
#include <initializer_list>
#include <map>
#include <memory>
#include <set>

#include <zrbase/ZrString.h>
#include <zrdb/ZrDbBlockReference.h>

#include "geometry/EntityList.h"
#include "reading/ControlReader.h"

class ZrDbDatabase;

// Block names in use, compared without regard to case. Emptied at the start
// of every open or import; only the host thread uses it. Names are only ever
// added between two clears, so the first free number after a stem never goes
// down: each stem remembers where its last search ended, and naming n parts
// alike costs n steps instead of n squared.
class UsedBlockNames {
public:
    UsedBlockNames() = default;
    UsedBlockNames& operator=(std::initializer_list<ZrString> names);
    void insert(const ZrString& name) { m_names.insert(name); }
    std::size_t count(const ZrString& name) const { return m_names.count(name); }
    void clear();

    // Where the search for a free numbered name after stem starts (2 at first);
    // the caller leaves in it the number it found.
    int& firstNumberToTry(const ZrString& stem);
    // The same for "tempName<n>" (1 at first).
    int& firstTempNumberToTry() { return m_firstTempNumber; }

private:
    std::set<ZrString, ZrStringLessNoCase> m_names;
    std::map<ZrString, int, ZrStringLessNoCase> m_firstNumber;
    int m_firstTempNumber = 1;
};
extern UsedBlockNames usedBlockNames;

// The node's name cleaned of characters block names must not carry, and made
// unique against usedBlockNames ("Bolt", "Bolt2", ...; "M8", "M8_2", ...).
// The name is not added to the set here.
ZrString uniqueBlockName(const ShapeNode& node);

// A name the drawing accepts for a block whose cleaned name it refused:
// every character block names may not hold becomes "_", a name too long is
// cut, an empty one becomes "tempName<n>"; unique against usedBlockNames.
ZrString fallbackBlockName(const ZrString& refused);

// Makes a block named after node holding the entities of list, and a new
// reference to it (not in any database yet). Every entity of the list ends
// in the block or deleted: one the block refuses is deleted. On success the
// list is emptied. On failure the result is null and the list holds only
// null pointers: when the block could not be made its entities were deleted;
// when the reference could not be set to it, the block and the entities it
// took stay in the database and the reference was deleted.
std::unique_ptr<ZrDbBlockReference> makeBlockReference(ZrDbDatabase* database, const ShapeNode& node,
                                                       EntityList& entities);

// Appends to out one reference per block made for node's own items (moved
// out of the reader's items) and for each of its children; a pointer is null
// when its block could not be made.
void collectNodeReferences(ControlReader* reader, const ShapeNode& node, ZrDbDatabase* database, EntityList& out);
