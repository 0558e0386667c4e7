#pragma once
// The body a builder engine collects, in kernel form. Host-internal.
#include <Geom2d_BSplineCurve.hxx>
#include <Geom_Curve.hxx>
#include <gp_Pnt.hxx>

#include <cstdint>
#include <string>
#include <vector>

#include "GeKernel.h"
#include "zrbr/ZrBrepBuilder.h"

struct AcisBrepBuilderTD::Body {
    struct Vertex {
        gp_Pnt point;
    };
    // An edge runs over [first, last] of its own copy of the kernel curve.
    struct Edge {
        Handle(Geom_Curve) curve;
        double first = 0.0;
        double last = 0.0;
        int startVertex = 0;
        int endVertex = 0;
        bool degenerate = false; // no length, one vertex: a pole of its face
    };
    struct Coedge {
        int edge = 0;
        bool reversed = false;
        // In the kernel surface's parameters, with the kernel edge's parameter.
        Handle(Geom2d_BSplineCurve) parameterCurve;
    };
    struct Loop {
        int face = 0;
        std::vector<Coedge> coedges;
    };
    struct Face {
        GeKernel::Surface surface; // the kernel surface is the face's own copy
        bool reversed = false;     // against the host surface's normal
        bool hasColour = false;
        std::uint32_t colour = 0;
        std::vector<int> loops;
    };
    struct Shell {
        std::vector<int> faces;
    };
    struct Complex {
        std::vector<int> shells;
    };

    explicit Body(BrepType bodyType) : type(bodyType) {}

    BrepType type;
    std::vector<Vertex> vertices;
    std::vector<Edge> edges;
    std::vector<Loop> loops;
    std::vector<Face> faces;
    std::vector<Shell> shells;
    std::vector<Complex> complexes;
};

struct BodyBuildOptions {
    bool validate = false; // refuse a body that fails the check
    bool heal = false;     // repair it the way imported data is repaired
    // The farthest a vertex may be from the curve ends that meet it, and an
    // edge from its faces, as a fraction of the body's size; what reaches
    // farther is a problem of the body.
    double gapCap = 0.0;
};

// Builds the body as described; null, with the reason, when nothing could
// be built or the validator refused it.
class ZrModelerGeometry;
ZrModelerGeometry* buildModelerGeometry(const AcisBrepBuilderTD::Body& body, const BodyBuildOptions& options,
                                        std::string& refusal);
