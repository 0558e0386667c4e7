#pragma once
// Host-internal: the DXF writer with its mesh size as a parameter, so that
// tests can split small bodies the way the format's limit splits big ones.
#include <cstddef>
#include <ostream>
#include <string>

#include <zrbase/ZrErrorStatus.h>

class ZrDbDatabase;

// Polyface meshes count points and faces in 16-bit group codes.
constexpr std::size_t kMaxDxfMeshCount = 32767;

// zrdbWriteDxf with meshes of at most maxMeshCount points and faces; on
// failure error says why.
Nimb::ErrorStatus zrdbWriteDxfDrawing(ZrDbDatabase* db, std::ostream& out, std::string& error,
                                      std::size_t maxMeshCount);
