#pragma once
// A face's boundary turned into loops of the builder record: wires are
// collected and chained first, loops built once the face's surface exists.
#include <Geom2d_Curve.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Trsf.hxx>

#include <zrbase/ZrGeCurve2d.h>
#include <zrbase/ZrGeCurve3d.h>
#include <zrbase/ZrGeSurface.h>

#include <memory>
#include <utility>
#include <vector>

#include "assembly/Colours.h"
#include "geometry/BrepRecord.h"
#include "geometry/ConversionContext.h"
#include "geometry/SharedRef.h"

// One use of an edge in a wire.
struct WireEdge {
    // 1 when the face uses the edge against its curve: its orientation as
    // explored from the face, which holds the face's and the wire's too.
    int reversed = 0;
    SharedRef<ZrGeCurve3d> curve;
    // World points of the edge's first and last vertex, the edge's own
    // orientation ignored, and the same two in loop direction.
    ZrGePoint3d firstPoint, lastPoint;
    ZrGePoint3d startPoint, endPoint;
    bool degenerate = false; // the edge has no 3D curve
    // The kernel's own parameter curve of the edge on the face, over the
    // kernel edge's range.
    Handle(Geom2d_Curve) kernelParameterCurve;
    std::pair<double, double> kernelRange{0.0, 0.0};
};

using CollectedWire = std::vector<WireEdge>;

// Converts and chains every wire of face; shapeTrsf places the face's shape
// in the world. False when the face has no wire, a wire keeps no edge or a
// wire cannot be chained; the face is then left out.
bool collectFaceWires(const TopoDS_Face& face, const gp_Trsf& shapeTrsf, std::vector<CollectedWire>& wires);

// Orders edges so that each starts where the one before ends, beginning with
// the first edge and never flipping one. Where several edges start at the
// chain's end (a seam used twice) the earliest is taken, and a later one
// only when the earliest leads to a dead end. On a gap the wire is emptied
// and the answer is false.
bool chainWire(CollectedWire& wire);

EdgeKey edgeKeyOf(const WireEdge& edge);

// How a host surface's parameters follow the kernel surface's it was made
// from: (u, v) -> (scaleU * u + offsetU, scaleV * v + offsetV).
struct ParameterMap {
    double scaleU = 1.0, offsetU = 0.0;
    double scaleV = 1.0, offsetV = 0.0;
};

// Carries the kernel parameter curves of the wires' edges into the host
// surface's parameters; without a map they are dropped, and the loops get
// projected ones.
void mapKernelParameterCurves(std::vector<CollectedWire>& wires, const ParameterMap* map);

// Adds the loops of the collected wires to face, and their edges and
// vertices to record, reusing those the maps already know. Edges without a
// 3D curve become loops of their own. On a NURBS surface every coedge gets
// its parameter curve when the host can project it.
void buildFaceLoops(const std::vector<CollectedWire>& wires, const ShapeColour& faceColour,
                    BrepBuilderInitialData& record, FaceEntry& face, EdgeMap& edgeMap, VertexMap& vertexMap);

// The parameter curve of curve on surface as a new NURBS 2D curve, or null
// when the projection fails or its ends do not meet the curve's.
std::unique_ptr<ZrGeCurve2d> projectParameterCurve(const ZrGeCurve3d& curve, const ZrGeSurface& surface);
