#pragma once
// The host's B-rep builder: a body described element by element (vertices,
// edges on space curves, faces on surfaces with loops of coedges, shells
// and complexes) and built into modeler geometry by finish.
//
// Use: make a ZrBrepBuilder, hand it a new AcisBrepBuilderTD with set (the
// builder owns it from then on), describe the body with the add calls or
// through ZrBrepBuilderFiller::initFrom, then call finish once.
//
// Orientation conventions:
//  - An edge runs along its curve from the curve's start point to its end
//    point; its start vertex is at the start point, its end vertex at the
//    end point (the same vertex for a closed curve).
//  - A face lies on its surface. With reversed false the face's outward
//    normal is the surface's normal (each surface class documents its
//    normal); with reversed true it is the opposite.
//  - A coedge is one use of an edge in a loop. reversed false runs the edge
//    along its curve, true against it. Running along a loop as its coedges
//    go, the face lies to the left seen from the tip of the face's outward
//    normal: the outer loop runs counter-clockwise, holes clockwise.
//  - A coedge's parameter curve, when given, is in the surface's (u, v)
//    parameters and has the same parameter as the edge's curve.
//  - An edge whose curve has no length, with the same vertex at both ends,
//    is degenerate (the pole of a sphere, the apex of a cone). Loops made
//    only of such edges describe no boundary: the builder puts degenerate
//    edges where the surface needs them.
//
// The builder builds exactly the body it is described: it never reorders,
// turns, moves, splits, merges or drops anything. It computes only what a
// description leaves to it: parameter curves a coedge does not bring,
// degenerate edges at poles, and tolerances from the actual gaps between
// vertices, curve ends and faces, up to a cap (gapCap, relative to the
// body's size). What does not fit
// (a loop that does not close in coedge order, a vertex beyond the cap from
// the end of its edge, a parameter curve that leaves its edge, an edge used
// by more than two coedges of a shell or twice in the same sense, a closed
// solid whose faces point inward) is a problem of the body: with the
// validator on, finish refuses such a body and refusalReason says why; with
// it off, the body is built as described and isValid and validityReport
// tell what is wrong.
//
// Healing (off by default) is the modeler's repair of data imported from
// other systems: it recomputes parameter curves, orders coedges, adds
// missing seams and degenerate edges and widens tolerances, so a faulty
// description may still give a sound body. Face directions stay as given.
#include <cstdint>
#include <memory>
#include <string>

#include <zrbase/ZrErrorStatus.h>
#include <zrbase/ZrGeCurve2d.h>
#include <zrbase/ZrGeCurve3d.h>
#include <zrbase/ZrGePoint3d.h>
#include <zrbase/ZrGeSurface.h>
#include <zrbase/ZrHeap.h>
#include <zrbase/ZrRxObject.h>

// What finish makes: a solid body (its closed shells bound solids; a shell
// that does not close stays an open shell of the body) or a surface body
// (faces only, never a solid).
enum BrepType : int { kSurfaceBody = 0, kSolidBody = 1 };

// The modeler's building engine for one body. Made on the heap and handed
// to ZrBrepBuilder::set, which owns it.
class AcisBrepBuilderTD : public ZrHeapOperators {
public:
    explicit AcisBrepBuilderTD(BrepType type);
    ~AcisBrepBuilderTD();
    AcisBrepBuilderTD(const AcisBrepBuilderTD&) = delete;
    AcisBrepBuilderTD& operator=(const AcisBrepBuilderTD&) = delete;

    BrepType brepType() const;

    struct Body; // the description being filled; host-internal
    Body& body() { return *m_body; }

private:
    std::unique_ptr<Body> m_body;
};

class ZrBrepBuilder {
public:
    // Ids of the elements the add calls make; -1 means the call failed.
    using Id = int;

    ZrBrepBuilder();
    ~ZrBrepBuilder();
    ZrBrepBuilder(const ZrBrepBuilder&) = delete;
    ZrBrepBuilder& operator=(const ZrBrepBuilder&) = delete;

    // Takes ownership of engine (deleting a previous one). eNullObjectPointer
    // for null.
    Nimb::ErrorStatus set(AcisBrepBuilderTD* engine);
    bool hasEngine() const { return m_engine != nullptr; }
    bool isFinished() const { return m_finished; }
    // null before set.
    AcisBrepBuilderTD* engine() const { return m_engine.get(); }

    // With the validator on, finish checks the body it built and gives
    // nothing for one that fails the check. Off by default: the body is
    // given as built and ZrModelerGeometry::isValid tells.
    void enableValidator(bool enable = true) { m_validate = enable; }
    bool isValidatorEnabled() const { return m_validate; }
    // The modeler's repair of imported data; off by default.
    void enableHealing(bool enable = true) { m_heal = enable; }
    bool isHealingEnabled() const { return m_heal; }
    // Why the last finish gave nothing; empty after a finish that built.
    const std::string& refusalReason() const { return m_refusal; }

    // The farthest a vertex may be from the curve ends that meet it, and an
    // edge from its faces, as a fraction of the body's size (the diagonal of
    // the box around its vertices and edges).
    static constexpr double gapCap = 0.01;

    // The elements, in world coordinates. Curves and surfaces are copied.
    // Every add fails (-1) without an engine, after finish, and for ids that
    // name nothing; addEdge also for a curve the modeler cannot take.
    Id addVertex(const ZrGePoint3d& point);
    Id addEdge(const ZrGeCurve3d& curve, Id startVertex, Id endVertex);
    Id addComplex();
    Id addShell(Id complex);
    Id addFace(Id shell, const ZrGeSurface& surface, bool reversed);
    // colour: a ZrCmEntityColor value (blue, green, red, method bytes).
    Nimb::ErrorStatus setFaceColor(Id face, std::uint32_t colour);
    Id addLoop(Id face);
    // parameterCurve may be null; the builder then computes one.
    Nimb::ErrorStatus addCoedge(Id loop, Id edge, bool reversed, const ZrGeCurve2d* parameterCurve = nullptr);

    // Builds the body: a ZrModelerGeometry with one reference for the
    // caller, or empty when there is no engine, finish already ran, no face
    // could be built, or the validator refused the body (refusalReason).
    ZrRxObjectPtr finish();

private:
    std::unique_ptr<AcisBrepBuilderTD> m_engine;
    bool m_validate = false;
    bool m_heal = false;
    bool m_finished = false;
    std::string m_refusal;
};

// The time the builders of this process have spent in finish, summed over
// all threads, in seconds: for the host's own timing reports.
double zrbrBuildSeconds();
