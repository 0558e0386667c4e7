#pragma once
// What a picture shows of a drawing, gathered from model space in world
// coordinates: block references placed, colours resolved (by block from the
// reference, by layer from the layer), bodies as triangles with their
// edges, curves as polylines. Host-internal.
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include <zrbase/ZrGePoint3d.h>
#include <zrdb/ZrDbEntity.h>

class ZrDbDatabase;

struct ZrGsRgb {
    std::uint8_t red = 255, green = 255, blue = 255;
    friend bool operator<(ZrGsRgb a, ZrGsRgb b)
    {
        return std::make_tuple(a.red, a.green, a.blue) < std::make_tuple(b.red, b.green, b.blue);
    }
    friend bool operator==(ZrGsRgb a, ZrGsRgb b) { return !(a < b) && !(b < a); }
};

struct ZrGsTriangles {
    std::vector<ZrGePoint3d> points;
    std::vector<ZrGeVector3d> normals; // one per point, pointing out of its face
    std::vector<int> corners;          // three per triangle, counter-clockwise seen from outside
};

struct ZrGsPolyline {
    ZrGsRgb colour;
    std::vector<ZrGePoint3d> points;
};

struct ZrGsScene {
    // Faces by colour, and whether they bound closed bodies (seen from outside only).
    std::map<std::pair<ZrGsRgb, bool>, ZrGsTriangles> faces;
    std::vector<std::pair<ZrGePoint3d, ZrGePoint3d>> edges;
    std::vector<ZrGsPolyline> curves;
    std::vector<std::pair<ZrGsRgb, ZrGePoint3d>> points;
    ZrDbExtents extents;

    bool isEmpty() const { return extents.isEmpty(); }
};

// Everything in model space, block references followed to any depth.
ZrGsScene zrgsBuildScene(ZrDbDatabase* db);
