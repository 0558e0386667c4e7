#pragma once
// Saving a drawing as an ASCII DXF file of the 2010 release (AC1024).
//
// Text is UTF-8, so names in any script are written as they are. Every
// object has a handle and an owner: objects of the database keep their own
// handles, and what the file needs beyond them (the other symbol tables,
// block begin and end markers, mesh vertices, dictionaries, layouts) gets
// handles from the database's handle seed on. The file holds the header,
// classes, tables (viewports, line types, layers, text and dimension styles,
// views, user coordinate systems, applications and block records), blocks,
// entities and objects (root dictionary, groups, layouts, plot styles).
//
// Each entity carries its colour the way its colour method says: 62 0 by
// block, 62 256 by layer (and for "no colour"), 62 with the palette index,
// or for a red/green/blue colour the nearest palette index with the exact
// value in 420.
//
// Lines, circles, arcs, ellipses, splines, points and block references are
// written exactly. Solids and surfaces become polyface meshes of their
// tessellation, with the points where faces meet shared, so a closed body
// gives a closed mesh; triangle sides inside a face are invisible edges. A
// mesh takes its body's colour when every face shows the same one (a face
// without a colour of its own shows the entity's); otherwise the mesh has
// the entity's colour and every face record its face's. The format allows a
// mesh at most 32767 points and 32767 faces: a bigger body becomes several
// meshes.
#include <ostream>
#include <string>

#include <zrbase/ZrErrorStatus.h>

class ZrDbDatabase;

// Writes db to out. The drawing must have no object open for write
// (eWasOpenForWrite otherwise); nothing is opened for write or changed.
// eInvalidInput, with nothing written, when the drawing holds what the file
// cannot: a name with a control character, a coordinate that is not a
// number, a reference to a block that is not there.
Nimb::ErrorStatus zrdbWriteDxf(ZrDbDatabase* db, std::ostream& out);
// The same into a file; on failure error says why.
Nimb::ErrorStatus zrdbSaveAsDxf(ZrDbDatabase* db, const std::string& path, std::string& error);
