#pragma once
// A body's tessellation as one connected mesh, the way a drawing file or a
// display shows it. The modeler tessellates face by face, each face with
// points of its own; here the points where faces meet are shared, so that a
// closed body gives a closed mesh, and every side of a triangle knows
// whether it lies on its face's boundary (an edge of the body) or inside
// the face.
#include <vector>

#include <zrbase/ZrGePoint3d.h>

struct ZrModelerMesh;

struct ZrDbBodyMesh {
    struct Triangle {
        int corners[3] = {0, 0, 0}; // indices into points, in the modeler's order
        int face = 0;               // index into the tessellation's faces
        // Side k runs from corner k to corner k + 1 (mod 3): true when no
        // other triangle of the same face has it.
        bool onBoundary[3] = {false, false, false};
    };

    std::vector<ZrGePoint3d> points;
    std::vector<Triangle> triangles;
};

// Points of the tessellation closer than a billionth of its extent become
// one point; a triangle with two corners on one point is left out.
ZrDbBodyMesh zrdbJoinBodyMesh(const ZrModelerMesh& mesh);
