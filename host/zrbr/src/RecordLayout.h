#pragma once
// The builder record as the builder reads it: its own declaration of the
// layout documented in ZrBrepBuilderFiller.h, checked byte for byte.
#include <cstddef>
#include <cstdint>

#include <zrbase/ZrArray.h>
#include <zrbase/ZrGeCurve2d.h>
#include <zrbase/ZrGeCurve3d.h>
#include <zrbase/ZrGePoint3d.h>
#include <zrbase/ZrGeSurface.h>

namespace RecordLayout {

// A shared reference: the object, then its counter (not used here).
template <typename T>
struct Shared {
    T* object;
    std::int32_t* counter;
};

struct Vertex {
    ZrGePoint3d point;
    std::uint8_t reserved24;
    std::uint64_t reserved32;
};

struct Edge {
    Shared<ZrGeCurve3d> curve;
    std::int32_t startVertex;
    std::int32_t endVertex;
    std::uint8_t reserved24;
    std::uint64_t reserved32;
    std::uint8_t hasColour;
    std::uint32_t colour;
};

struct Coedge {
    std::int32_t edge;
    std::int32_t reversed;
    Shared<ZrGeCurve2d> parameterCurve;
};

struct Mapper {
    std::uint8_t bytes[16];
};

struct Face {
    Shared<ZrGeSurface> surface;
    std::int32_t reversed;
    ZrArray<ZrArray<Coedge>> loops;
    std::uint64_t reserved48;
    std::uint8_t reserved56;
    alignas(8) Mapper mapper;
    std::uint8_t hasColour;
    std::uint32_t colour;
    std::uint8_t reserved88;
    std::uint64_t reserved96;
    std::int32_t reserved104;
};

using Shell = ZrArray<Face>;
using Complex = ZrArray<Shell>;

struct Record {
    ZrArray<Vertex> vertices;
    ZrArray<Edge> edges;
    ZrArray<Complex> complexes;
};

static_assert(sizeof(Shared<ZrGeCurve3d>) == 16, "shared reference");
static_assert(sizeof(Vertex) == 40 && offsetof(Vertex, point) == 0, "vertex layout");
static_assert(sizeof(Edge) == 48 && offsetof(Edge, curve) == 0 && offsetof(Edge, startVertex) == 16 &&
                  offsetof(Edge, endVertex) == 20 && offsetof(Edge, hasColour) == 40 && offsetof(Edge, colour) == 44,
              "edge layout");
static_assert(sizeof(Coedge) == 24 && offsetof(Coedge, edge) == 0 && offsetof(Coedge, reversed) == 4 &&
                  offsetof(Coedge, parameterCurve) == 8,
              "coedge layout");
static_assert(sizeof(Face) == 112 && offsetof(Face, surface) == 0 && offsetof(Face, reversed) == 16 &&
                  offsetof(Face, loops) == 24 && offsetof(Face, mapper) == 64 && offsetof(Face, hasColour) == 80 &&
                  offsetof(Face, colour) == 84 && offsetof(Face, reserved104) == 104,
              "face layout");
static_assert(sizeof(Record) == 72 && offsetof(Record, vertices) == 0 && offsetof(Record, edges) == 24 &&
                  offsetof(Record, complexes) == 48,
              "record layout");

} // namespace RecordLayout
