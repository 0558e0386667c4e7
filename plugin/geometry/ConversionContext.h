#pragma once
// The working state of one work item's conversion: its colour tool and the
// look-up maps that let faces share the edges and vertices of a record.
#include <Standard_Handle.hxx>
#include <XCAFDoc_ColorTool.hxx>

#include <zrbase/ZrGeEntity.h>
#include <zrbase/ZrGePoint3d.h>

#include <map>

// Orders points coordinate by coordinate (x, then y, then z). A difference
// in x or y counts only when it is above 1e-10 both absolutely and relative
// to the larger magnitude; z decides with a margin of 1e-10.
bool pointLess(const ZrGePoint3d& a, const ZrGePoint3d& b);

// Identifies an edge by its geometry: two edges with the same kind of curve,
// the same end points and the same middle point are the same edge.
struct EdgeKey {
    ZrGe::EntityId kind = ZrGe::kCurve3d;
    ZrGePoint3d firstPoint;
    ZrGePoint3d midPoint; // the curve at the middle of its interval
    ZrGePoint3d lastPoint;
};

// By kind, then first point, middle point and last point: the first pair
// not equal under the global tolerance decides by pointLess.
bool edgeKeyLess(const EdgeKey& a, const EdgeKey& b);

struct EdgeKeyOrder {
    bool operator()(const EdgeKey& a, const EdgeKey& b) const { return edgeKeyLess(a, b); }
};

// Points equal under the global tolerance are one key.
struct VertexOrder {
    bool operator()(const ZrGePoint3d& a, const ZrGePoint3d& b) const
    {
        return !a.isEqualTo(b, ZrGeContext::gTol) && pointLess(a, b);
    }
};

// Values are indices into the edges and vertices of the record being filled.
using EdgeMap = std::map<EdgeKey, int, EdgeKeyOrder>;
using VertexMap = std::map<ZrGePoint3d, int, VertexOrder>;

struct ConversionContext {
    Handle(XCAFDoc_ColorTool) colourTool;
    EdgeMap edgeMap;
    VertexMap vertexMap;
};
