#pragma once
// Fills a B-rep builder from a builder record.
//
// The record (BrepBuilderInitialData) is laid out by its producer; the
// builder reads it as bytes, so the layout below is the contract. Arrays are
// host arrays (ZrArray, 24 bytes); shared references are 16 bytes (the
// object, then a pointer to its int32 reference counter); colours are
// ZrCmEntityColor values (4 bytes); indices are 0-based.
//
//   record (72)   0 vertices   24 edges   48 complexes
//   complex       array of shells; a shell is an array of faces
//   vertex (40)   0 point (3 doubles)
//   edge (48)     0 curve (shared ZrGeCurve3d)  16 start vertex  20 end vertex
//                 40 has colour (byte)  44 colour
//   coedge (24)   0 edge index  4 reversed (int32, 0 or 1)
//                 8 parameter curve (shared ZrGeCurve2d, may be empty)
//   face (112)    0 surface (shared ZrGeSurface)  16 reversed (int32)
//                 24 loops (array of arrays of coedges)  64 mapper (16)
//                 80 has colour (byte)  84 colour
// Other bytes are reserved. The builder reads the geometry without taking
// references: the record keeps ownership.
//
// Every complex, shell and face of the record becomes one of the builder;
// faces without a surface, and coedges of edges the builder could not take,
// are left out.
#include <zrbase/ZrErrorStatus.h>

#include "ZrBrepBuilder.h"

struct BrepBuilderInitialData;

class ZrBrepBuilderFiller {
public:
    ZrBrepBuilderFiller() = default;

    // eNotApplicable when the builder has no engine or has finished;
    // eInvalidInput when an index of the record is out of range (what came
    // before it is kept).
    Nimb::ErrorStatus initFrom(ZrBrepBuilder& builder, const BrepBuilderInitialData& record);
};
