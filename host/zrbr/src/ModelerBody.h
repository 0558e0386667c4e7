#pragma once
// What a ZrModelerGeometry holds. Host-internal.
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS_Shape.hxx>
#include <TopoDS_Solid.hxx>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "zrbr/ZrModelerGeometry.h"

struct ZrModelerGeometry::Body {
    BrepType type = kSolidBody;
    TopoDS_Shape shape;           // solids and shells in a compound; null when empty
    TopTools_IndexedMapOfShape faces; // the face order of the public queries
    std::vector<bool> hasColour;  // per face
    std::vector<std::uint32_t> colours;
    // What the builder found wrong in the description (the body is then
    // not valid, whatever the kernel's check says).
    std::vector<std::string> problems;
    // Solids whose outer (largest) shell must enclose a volume facing out,
    // with the complex each was built from; measured with the rest of the
    // validity, since the volume costs as much as building the body.
    struct SolidToFaceOut {
        TopoDS_Solid solid;
        std::size_t complex;
    };
    std::vector<SolidToFaceOut> solidsToFaceOut;

    // Computed on first use; the mesh is kept in the shape's faces.
    mutable std::mutex lock;
    mutable int validity = -1; // -1 unknown, 0 invalid, 1 valid
    mutable std::string report;
};
