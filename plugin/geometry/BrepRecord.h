#pragma once
// The record handed to the host's B-rep builder. Its layout is the contract
// with a closed component, so every size and offset is checked below.
#include <cstddef>
#include <cstdint>

#include <zrbase/ZrArray.h>
#include <zrbase/ZrGeCurve2d.h>
#include <zrbase/ZrGeCurve3d.h>
#include <zrbase/ZrGePoint3d.h>
#include <zrbase/ZrGeSurface.h>
#include <zrbase/ZrGiMapper.h>
#include <zrbr/ZrBrepBuilder.h>
#include <zrdb/ZrCmColor.h>

#include "geometry/SharedRef.h"

struct VertexEntry {
    ZrGePoint3d point; // world coordinates
    std::uint8_t reserved24 = 0;
    std::uint64_t reserved32 = 0;
};

struct EdgeEntry {
    SharedRef<ZrGeCurve3d> curve;
    std::int32_t startVertex = 0; // indices into the record's vertices
    std::int32_t endVertex = 0;
    std::uint8_t reserved24 = 0;
    std::uint64_t reserved32 = 0;
    std::uint8_t hasColour = 0;
    ZrCmEntityColor colour = ZrCmEntityColor::noColor();
};

struct CoedgeEntry {
    std::int32_t edge = 0;      // index into the record's edges
    std::int32_t direction = 0; // 1 when the edge is used against its own direction
    SharedRef<ZrGeCurve2d> parameterCurve; // empty unless projected
};

using Loop = ZrArray<CoedgeEntry>;

struct FaceEntry {
    SharedRef<ZrGeSurface> surface;
    std::int32_t direction = 0; // 1 when the face is reversed against its surface
    ZrArray<Loop> loops;
    std::uint64_t reserved48 = 0;
    std::uint8_t reserved56 = 0;
    alignas(8) ZrGiMapper mapper;
    std::uint8_t hasColour = 0;
    ZrCmEntityColor colour = ZrCmEntityColor::noColor();
    std::uint8_t reserved88 = 0;
    std::uint64_t reserved96 = 0;
    std::int32_t reserved104 = -1;
};

using Shell = ZrArray<FaceEntry>;
using Complex = ZrArray<Shell>;

struct BrepBuilderInitialData {
    ZrArray<VertexEntry> vertices;
    ZrArray<EdgeEntry> edges;
    ZrArray<Complex> complexes;

    // Logical lengths back to 0; the geometry held is released.
    void clear();
};

static_assert(sizeof(ZrCmEntityColor) == 4, "colour");
static_assert(sizeof(VertexEntry) == 40 && offsetof(VertexEntry, point) == 0 &&
                  offsetof(VertexEntry, reserved24) == 24 && offsetof(VertexEntry, reserved32) == 32,
              "vertex entry layout");
static_assert(sizeof(EdgeEntry) == 48 && offsetof(EdgeEntry, curve) == 0 && offsetof(EdgeEntry, startVertex) == 16 &&
                  offsetof(EdgeEntry, endVertex) == 20 && offsetof(EdgeEntry, reserved24) == 24 &&
                  offsetof(EdgeEntry, reserved32) == 32 && offsetof(EdgeEntry, hasColour) == 40 &&
                  offsetof(EdgeEntry, colour) == 44,
              "edge entry layout");
static_assert(sizeof(CoedgeEntry) == 24 && offsetof(CoedgeEntry, edge) == 0 &&
                  offsetof(CoedgeEntry, direction) == 4 && offsetof(CoedgeEntry, parameterCurve) == 8,
              "coedge entry layout");
static_assert(sizeof(FaceEntry) == 112 && offsetof(FaceEntry, surface) == 0 && offsetof(FaceEntry, direction) == 16 &&
                  offsetof(FaceEntry, loops) == 24 && offsetof(FaceEntry, reserved48) == 48 &&
                  offsetof(FaceEntry, reserved56) == 56 && offsetof(FaceEntry, mapper) == 64 &&
                  offsetof(FaceEntry, hasColour) == 80 && offsetof(FaceEntry, colour) == 84 &&
                  offsetof(FaceEntry, reserved88) == 88 && offsetof(FaceEntry, reserved96) == 96 &&
                  offsetof(FaceEntry, reserved104) == 104,
              "face entry layout");
static_assert(sizeof(BrepBuilderInitialData) == 72 && offsetof(BrepBuilderInitialData, vertices) == 0 &&
                  offsetof(BrepBuilderInitialData, edges) == 24 && offsetof(BrepBuilderInitialData, complexes) == 48,
              "record layout");
