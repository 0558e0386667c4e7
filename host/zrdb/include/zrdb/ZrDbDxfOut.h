#pragma once
// Saving a drawing as an ASCII DXF file.
//
// The file follows the 1992 release of the format (no handles, no class
// markers), which every DXF reader accepts: header with the drawing extents
// and measurement, line type, layer and viewport tables, block definitions
// and model space. Text outside printable ASCII is written as \U+XXXX.
// Colours carry the nearest palette index (62) and, for red/green/blue
// colours, the exact value (420), which newer readers prefer.
//
// Lines, circles and arcs are written exactly (planar ones in the object
// coordinates of their plane). The format has no ellipse or spline: those
// become 3D polylines within a thousandth of their size of the curve. Solids
// and surfaces become polyface meshes of their tessellation, each triangle
// in its face's colour. The drawing keeps the exact geometry.
#include <ostream>
#include <string>

#include <zrbase/ZrErrorStatus.h>

class ZrDbDatabase;

// Writes db to out. The drawing must have no object open for write
// (eWasOpenForWrite otherwise); nothing is opened or changed.
Nimb::ErrorStatus zrdbWriteDxf(ZrDbDatabase* db, std::ostream& out);
// The same into a file; on failure error says why.
Nimb::ErrorStatus zrdbSaveAsDxf(ZrDbDatabase* db, const std::string& path, std::string& error);
