// Building a described body with the modeling kernel, exactly as described:
// vertices where they are given, edges on their curves between their
// vertices, faces on their surfaces bounded by their loops in the given
// order and sense, shells and solids as grouped. Only what a description
// leaves to the modeler is computed here: parameter curves the description
// does not give, the kernel's degenerate edges at the poles of surfaces,
// and tolerances from the actual gaps, up to a cap. Whatever does not fit
// is recorded as a problem of the body; nothing is reordered, turned,
// moved, split, merged or dropped.
#include <BRepGProp.hxx>
#include <BRep_Builder.hxx>
#include <Bnd_Box.hxx>
#include <BRep_Tool.hxx>
#include <GProp_GProps.hxx>
#include <Geom2d_Line.hxx>
#include <NCollection_DataMap.hxx>
#include <Precision.hxx>
#include <ShapeBuild_ReShape.hxx>
#include <IntRes2d_SequenceOfIntersectionPoint.hxx>
#include <ShapeAnalysis_Wire.hxx>
#include <ShapeExtend_WireData.hxx>
#include <ShapeFix_Shape.hxx>
#include <TColStd_SequenceOfReal.hxx>
#include <TColgp_SequenceOfPnt.hxx>
#include <TopoDS_Iterator.hxx>
#include <ShapeFix_Shell.hxx>
#include <Standard_ErrorHandler.hxx>
#include <Standard_Failure.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_ShapeMapHasher.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Vec2d.hxx>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <vector>

#include "BodyDescription.h"
#include "LoopParameters.h"
#include "ModelerBody.h"
#include "ParameterCurves.h"

namespace {

using Body = AcisBrepBuilderTD::Body;
using ColourMap = NCollection_DataMap<TopoDS_Shape, std::uint32_t, TopTools_ShapeMapHasher>;

using ParameterCurves::kTolerance;
// A jump in the parameters between two coedges smaller than this is no
// jump: no degenerate edge is put there.
constexpr double kParameterJump = 1e-5;

std::string describe(const char* kind, std::size_t index) { return std::string(kind) + ' ' + std::to_string(index); }

std::string number(double value)
{
    std::ostringstream text;
    text.precision(4);
    text << value;
    return text.str();
}

class Assembler {
public:
    Assembler(const Body& body, double relativeCap) : m_body(body), m_cap(capFor(body, relativeCap)) {}

    // The body: solids and shells in a compound; null without faces.
    TopoDS_Shape build()
    {
        makeVertices();
        makeEdges();
        TopoDS_Compound result;
        m_builder.MakeCompound(result);
        bool any = false;
        for (std::size_t c = 0; c < m_body.complexes.size(); ++c) {
            const TopoDS_Shape lump = buildComplex(c);
            if (!lump.IsNull()) {
                m_builder.Add(result, lump);
                any = true;
            }
        }
        if (!any)
            return TopoDS_Shape();
        settleTolerances();
        return result;
    }

    const ColourMap& colours() const { return m_colours; }
    ColourMap& colours() { return m_colours; }
    const std::vector<std::string>& problems() const { return m_problems; }
    std::vector<ZrModelerGeometry::Body::SolidToFaceOut> solidsToFaceOut() const { return m_solidsToFaceOut; }

private:
    // The given share of the body's size, and never below ten times the
    // kernel's confusion distance.
    static double capFor(const Body& body, double relativeCap)
    {
        Bnd_Box box;
        for (const Body::Vertex& vertex : body.vertices)
            box.Add(vertex.point);
        for (const Body::Edge& edge : body.edges)
            if (!edge.curve.IsNull())
                for (double f : {0.0, 0.5, 1.0})
                    box.Add(edge.curve->Value(edge.first + f * (edge.last - edge.first)));
        const double size = box.IsVoid() ? 0.0 : std::sqrt(box.SquareExtent());
        return std::max(kTolerance * 10.0, relativeCap * size);
    }

    void problem(const std::string& text) { m_problems.push_back(text); }

    void makeVertices()
    {
        for (const Body::Vertex& vertex : m_body.vertices) {
            TopoDS_Vertex made;
            m_builder.MakeVertex(made, vertex.point, kTolerance);
            m_vertices.push_back(made);
            m_vertexReach.push_back(kTolerance);
        }
    }

    // A vertex reaches as far as the curve ends that meet it, up to the cap.
    void reach(int vertex, const gp_Pnt& curveEnd, const char* end, std::size_t edge)
    {
        const double gap = m_body.vertices[vertex].point.Distance(curveEnd);
        if (gap > m_cap)
            problem(describe("vertex", vertex) + " is " + number(gap) + " from the " + end + " of " +
                    describe("edge", edge));
        m_vertexReach[vertex] = std::max(m_vertexReach[vertex], std::min(gap, m_cap) * 1.001);
    }

    void makeEdges()
    {
        for (std::size_t i = 0; i < m_body.edges.size(); ++i) {
            const Body::Edge& edge = m_body.edges[i];
            TopoDS_Edge made;
            if (!edge.degenerate && !edge.curve.IsNull()) {
                m_builder.MakeEdge(made, edge.curve, kTolerance);
                m_builder.Add(made, m_vertices[edge.startVertex].Oriented(TopAbs_FORWARD));
                m_builder.Add(made, m_vertices[edge.endVertex].Oriented(TopAbs_REVERSED));
                m_builder.Range(made, edge.first, edge.last);
                reach(edge.startVertex, edge.curve->Value(edge.first), "start", i);
                reach(edge.endVertex, edge.curve->Value(edge.last), "end", i);
            }
            m_edges.push_back(made);
            m_edgeReach.push_back(kTolerance);
        }
    }

    int startVertexOf(const Body::Coedge& coedge) const
    {
        const Body::Edge& edge = m_body.edges[coedge.edge];
        return coedge.reversed ? edge.endVertex : edge.startVertex;
    }
    int endVertexOf(const Body::Coedge& coedge) const
    {
        const Body::Edge& edge = m_body.edges[coedge.edge];
        return coedge.reversed ? edge.startVertex : edge.endVertex;
    }

    // Each coedge must start at the vertex where the one before it ends.
    void checkClosure(const std::vector<Body::Coedge>& coedges, std::size_t faceId, std::size_t loopNumber)
    {
        for (std::size_t k = 0; k < coedges.size(); ++k) {
            const Body::Coedge& next = coedges[(k + 1) % coedges.size()];
            if (endVertexOf(coedges[k]) != startVertexOf(next)) {
                problem(describe("loop", loopNumber) + " of " + describe("face", faceId) + " does not close: " +
                        describe("coedge", k) + " ends at " + describe("vertex", endVertexOf(coedges[k])) +
                        ", the next starts at " + describe("vertex", startVertexOf(next)));
                return;
            }
        }
    }

    static bool allDegenerate(const Body& body, const std::vector<Body::Coedge>& coedges)
    {
        for (const Body::Coedge& coedge : coedges)
            if (!body.edges[coedge.edge].degenerate)
                return false;
        return true;
    }

    // The kernel's degenerate edge from one use's end to the next use's
    // start, where the two meet at a pole of the surface: the parameters
    // jump while the point stays.
    TopoDS_Edge poleEdge(const gp_Pnt2d& from, const gp_Pnt2d& to, const TopoDS_Face& face,
                         const Geom_Surface& surface, int vertexId) const
    {
        const double jump = from.Distance(to);
        if (jump <= kParameterJump)
            return TopoDS_Edge();
        // At a pole the surface maps the whole jump to one point.
        const gp_Pnt pole = surface.Value(from.X(), from.Y());
        const double spread = kTolerance;
        for (double t : {0.25, 0.5, 0.75, 1.0}) {
            const gp_Pnt2d uv(from.X() + (to.X() - from.X()) * t, from.Y() + (to.Y() - from.Y()) * t);
            if (surface.Value(uv.X(), uv.Y()).Distance(pole) > spread)
                return TopoDS_Edge();
        }
        const TopoDS_Vertex& vertex = m_vertices[vertexId];
        const Handle(Geom2d_Line) line = new Geom2d_Line(from, gp_Dir2d(gp_Vec2d(from, to)));
        TopoDS_Edge edge;
        m_builder.MakeEdge(edge);
        m_builder.UpdateEdge(edge, line, face, kTolerance);
        m_builder.Degenerated(edge, true);
        m_builder.Add(edge, vertex.Oriented(TopAbs_FORWARD));
        m_builder.Add(edge, vertex.Oriented(TopAbs_REVERSED));
        m_builder.Range(edge, 0.0, jump);
        return edge;
    }

    // The uses of one loop in the surface's sense: in the face's own sense
    // reversed when the face is against its surface.
    std::vector<KernelUse> kernelUses(const std::vector<Body::Coedge>& coedges, bool againstSurface) const
    {
        std::vector<KernelUse> uses;
        for (std::size_t k = 0; k < coedges.size(); ++k) {
            const Body::Coedge& coedge = coedges[againstSurface ? coedges.size() - 1 - k : k];
            if (m_body.edges[coedge.edge].degenerate || m_edges[coedge.edge].IsNull())
                continue; // the kernel's own degenerate edges are put where the surface needs them
            KernelUse use;
            use.edge = coedge.edge;
            use.first = m_body.edges[coedge.edge].first;
            use.last = m_body.edges[coedge.edge].last;
            use.reversed = coedge.reversed != againstSurface;
            if (!coedge.parameterCurve.IsNull()) {
                use.curve = coedge.parameterCurve;
                use.givenCurve = true;
            }
            uses.push_back(use);
        }
        return uses;
    }

    // Parameter curves for the uses without one; a use the modeler cannot
    // find one for keeps none and the face is not valid.
    void fillParameterCurves(std::vector<KernelUse>& uses, const Handle(Geom_Surface)& surface, std::size_t faceId)
    {
        for (KernelUse& use : uses) {
            if (!use.curve.IsNull())
                continue;
            use.curve = ParameterCurves::compute(m_body.edges[use.edge], surface, m_cap * 0.01);
            if (use.curve.IsNull())
                problem("no parameter curve for " + describe("edge", use.edge) + " on " + describe("face", faceId));
        }
    }

    // How far a parameter curve takes an edge from its curve, and its ends
    // from the edge's vertices: the edge and vertices reach that far.
    void measureReach(const KernelUse& use, const Handle(Geom_Surface)& surface, std::size_t faceId)
    {
        const Body::Edge& edge = m_body.edges[use.edge];
        const double off = ParameterCurves::deviation(edge, use.curve, surface);
        if (off > m_cap) {
            const std::string what = use.givenCurve ? "the parameter curve of " : "the computed parameter curve of ";
            problem(what + describe("edge", use.edge) + " on " + describe("face", faceId) +
                    (Precision::IsInfinite(off) ? " does not cover the edge" : " leaves it by " + number(off)));
        }
        m_edgeReach[use.edge] = std::max(m_edgeReach[use.edge], std::min(off, m_cap));
        const std::pair<double, int> ends[2] = {{edge.first, edge.startVertex}, {edge.last, edge.endVertex}};
        for (const auto& end : ends) {
            const gp_Pnt2d uv = use.curve->Value(end.first);
            const double gap = surface->Value(uv.X(), uv.Y()).Distance(m_body.vertices[end.second].point);
            m_vertexReach[end.second] = std::max(m_vertexReach[end.second], std::min(gap, m_cap) * 1.001);
        }
    }

    // Attaches the parameter curves: one for an edge used once by the face,
    // two for a seam (the kernel keeps the forward use's first).
    void attachCurves(const std::vector<KernelLoop>& loops, const TopoDS_Face& face,
                      const Handle(Geom_Surface)& surface, std::size_t faceId)
    {
        std::map<int, std::vector<const KernelUse*>> byEdge;
        for (const auto& loop : loops)
            for (const KernelUse& use : loop)
                if (!use.curve.IsNull()) {
                    byEdge[use.edge].push_back(&use);
                    measureReach(use, surface, faceId);
                }
        for (const auto& entry : byEdge) {
            const std::vector<const KernelUse*>& uses = entry.second;
            const TopoDS_Edge& edge = m_edges[entry.first];
            if (uses.size() == 1) {
                m_builder.UpdateEdge(edge, uses[0]->curve, face, kTolerance);
            } else if (uses.size() == 2 && uses[0]->reversed != uses[1]->reversed) {
                const KernelUse* forward = uses[0]->reversed ? uses[1] : uses[0];
                const KernelUse* backward = uses[0]->reversed ? uses[0] : uses[1];
                m_builder.UpdateEdge(edge, forward->curve, backward->curve, face, kTolerance);
            } else {
                problem(describe("edge", entry.first) + " is used " + std::to_string(uses.size()) + " times by " +
                        describe("face", faceId) + (uses.size() == 2 ? " in the same sense" : ""));
                m_builder.UpdateEdge(edge, uses[0]->curve, face, kTolerance);
            }
        }
    }

    int kernelEndVertex(const KernelUse& use) const
    {
        const Body::Edge& edge = m_body.edges[use.edge];
        return use.reversed ? edge.startVertex : edge.endVertex;
    }

    TopoDS_Wire makeWire(const std::vector<KernelUse>& uses, const TopoDS_Face& face, const Geom_Surface& surface)
    {
        TopoDS_Wire wire;
        m_builder.MakeWire(wire);
        for (std::size_t k = 0; k < uses.size(); ++k) {
            const KernelUse& use = uses[k];
            m_builder.Add(wire, m_edges[use.edge].Oriented(use.reversed ? TopAbs_REVERSED : TopAbs_FORWARD));
            const KernelUse& next = uses[(k + 1) % uses.size()];
            if (use.curve.IsNull() || next.curve.IsNull())
                continue;
            const TopoDS_Edge pole = poleEdge(use.end(), next.start(), face, surface, kernelEndVertex(use));
            if (!pole.IsNull())
                m_builder.Add(wire, pole);
        }
        // The kernel keeps whether its edges close up, as it does for shells.
        wire.Closed(BRep_Tool::IsClosed(wire));
        return wire;
    }

    TopoDS_Face buildFace(std::size_t faceId)
    {
        const Body::Face& face = m_body.faces[faceId];
        // The kernel face against its surface's parameters.
        const bool againstSurface = face.reversed != face.surface.reversedNormal;
        const Handle(Geom_Surface)& surface = face.surface.surface;
        TopoDS_Face made;
        m_builder.MakeFace(made, surface, kTolerance);

        std::vector<KernelLoop> loops;
        for (std::size_t l = 0; l < face.loops.size(); ++l) {
            const std::vector<Body::Coedge>& coedges = m_body.loops[face.loops[l]].coedges;
            if (coedges.empty() || allDegenerate(m_body, coedges))
                continue; // a pole alone bounds nothing
            checkClosure(coedges, faceId, l);
            std::vector<KernelUse> uses = kernelUses(coedges, againstSurface);
            if (!uses.empty())
                loops.push_back(std::move(uses));
        }
        if (loops.empty())
            return TopoDS_Face(); // an unbounded surface is no face

        for (auto& uses : loops)
            fillParameterCurves(uses, surface, faceId);
        if (std::all_of(loops.begin(), loops.end(), complete))
            placeInPeriods(loops, *surface);
        attachCurves(loops, made, surface, faceId);
        for (const auto& uses : loops)
            m_builder.Add(made, makeWire(uses, made, *surface));
        made.Orientation(againstSurface ? TopAbs_REVERSED : TopAbs_FORWARD);
        return made;
    }

    static bool complete(const std::vector<KernelUse>& uses)
    {
        for (const KernelUse& use : uses)
            if (use.curve.IsNull())
                return false;
        return true;
    }

    // An edge of a shell is used at most twice, and then in opposite senses;
    // a shell whose every edge is used twice is closed.
    bool checkEdgeUses(std::size_t shellId)
    {
        std::map<int, std::vector<bool>> senses;
        for (int faceId : m_body.shells[shellId].faces) {
            if (m_madeFaces[faceId].IsNull())
                continue;
            for (int loop : m_body.faces[faceId].loops)
                for (const Body::Coedge& coedge : m_body.loops[loop].coedges)
                    if (!m_body.edges[coedge.edge].degenerate)
                        senses[coedge.edge].push_back(coedge.reversed);
        }
        bool closed = !senses.empty();
        for (const auto& entry : senses) {
            const std::vector<bool>& uses = entry.second;
            if (uses.size() == 1) {
                closed = false;
            } else if (uses.size() > 2) {
                problem(describe("edge", entry.first) + " is used by " + std::to_string(uses.size()) +
                        " coedges of " + describe("shell", shellId));
                closed = false;
            } else if (uses[0] == uses[1]) {
                problem(describe("edge", entry.first) + " is used twice in the same sense in " +
                        describe("shell", shellId));
            }
        }
        return closed;
    }

    TopoDS_Shape buildComplex(std::size_t complexId)
    {
        const Body::Complex& complex = m_body.complexes[complexId];
        TopoDS_Compound lump;
        m_builder.MakeCompound(lump);
        std::vector<TopoDS_Shell> closedShells;
        bool any = false;
        for (int shellId : complex.shells) {
            TopoDS_Shell shell;
            m_builder.MakeShell(shell);
            bool hasFace = false;
            for (int faceId : m_body.shells[shellId].faces) {
                const TopoDS_Face made = faceOf(faceId);
                if (made.IsNull())
                    continue;
                m_builder.Add(shell, made);
                hasFace = true;
            }
            if (!hasFace)
                continue;
            const bool closed = checkEdgeUses(shellId);
            shell.Closed(closed);
            if (closed && m_body.type == kSolidBody)
                closedShells.push_back(shell);
            else
                m_builder.Add(lump, shell);
            any = true;
        }
        if (!closedShells.empty())
            m_builder.Add(lump, solidOf(closedShells, complexId));
        return any ? TopoDS_Shape(lump) : TopoDS_Shape();
    }

    TopoDS_Face faceOf(int faceId)
    {
        if (m_madeFaces.empty())
            m_madeFaces.resize(m_body.faces.size());
        if (m_madeFaces[faceId].IsNull()) {
            m_madeFaces[faceId] = buildFace(static_cast<std::size_t>(faceId));
            const Body::Face& face = m_body.faces[faceId];
            if (!m_madeFaces[faceId].IsNull() && face.hasColour)
                m_colours.Bind(m_madeFaces[faceId], face.colour);
        }
        return m_madeFaces[faceId];
    }

    // The closed shells of a complex bound one solid. Whether the outer one
    // faces out is measured only when the body's validity is asked for.
    TopoDS_Solid solidOf(const std::vector<TopoDS_Shell>& shells, std::size_t complexId)
    {
        TopoDS_Solid solid;
        m_builder.MakeSolid(solid);
        for (const TopoDS_Shell& shell : shells)
            m_builder.Add(solid, shell);
        m_solidsToFaceOut.push_back({solid, complexId});
        return solid;
    }

    // Edges reach as far as their parameter curves stray from them, and
    // vertices as far as the edges and curve ends that meet them, all up to
    // the cap.
    void settleTolerances()
    {
        std::vector<double> vertexReach = m_vertexReach;
        for (std::size_t i = 0; i < m_edges.size(); ++i) {
            if (m_edges[i].IsNull())
                continue;
            const double tolerance = std::min(m_cap, std::max(kTolerance, m_edgeReach[i] * 1.05));
            m_builder.UpdateEdge(m_edges[i], tolerance);
            const Body::Edge& edge = m_body.edges[i];
            for (int vertex : {edge.startVertex, edge.endVertex})
                vertexReach[vertex] = std::max(vertexReach[vertex], tolerance);
        }
        for (std::size_t v = 0; v < m_vertices.size(); ++v)
            m_builder.UpdateVertex(m_vertices[v], std::min(m_cap, std::max(kTolerance, vertexReach[v] * 1.001)));
        for (const TopoDS_Face& face : m_madeFaces)
            if (!face.IsNull())
                reachOverCrossings(face);
    }

    // Where two coedges cross on the surface right by the vertex they share
    // (each edge reaching as far as it does from its face), the vertex
    // reaches over the crossing, up to the cap.
    void reachOverCrossings(const TopoDS_Face& face)
    {
        for (TopoDS_Iterator wires(face); wires.More(); wires.Next()) {
            ShapeAnalysis_Wire analysis(TopoDS::Wire(wires.Value()), face, kTolerance);
            const int n = analysis.NbEdges();
            for (int i = 1; n > 1 && i <= n; ++i) {
                const int j = i % n + 1;
                TopoDS_Vertex shared;
                if (!TopExp::CommonVertex(analysis.WireData()->Edge(i), analysis.WireData()->Edge(j), shared))
                    continue;
                IntRes2d_SequenceOfIntersectionPoint points2d;
                TColgp_SequenceOfPnt points3d;
                TColStd_SequenceOfReal errors;
                if (!analysis.CheckIntersectingEdges(i, j, points2d, points3d, errors))
                    continue;
                const gp_Pnt at = BRep_Tool::Pnt(shared);
                for (int k = 1; k <= points3d.Length(); ++k) {
                    const double reach = (at.Distance(points3d(k)) + errors(k)) * 1.01;
                    if (reach <= m_cap && reach > BRep_Tool::Tolerance(shared))
                        m_builder.UpdateVertex(shared, reach);
                }
            }
        }
    }

    const Body& m_body;
    const double m_cap;
    mutable BRep_Builder m_builder;
    std::vector<TopoDS_Vertex> m_vertices;
    std::vector<double> m_vertexReach;
    std::vector<TopoDS_Edge> m_edges;
    std::vector<double> m_edgeReach;
    std::vector<TopoDS_Face> m_madeFaces;
    ColourMap m_colours;
    std::vector<std::string> m_problems;
    std::vector<ZrModelerGeometry::Body::SolidToFaceOut> m_solidsToFaceOut;
};

} // namespace

namespace {

// The modeler's repair of imported data, for callers that ask for it:
// parameter curves, degenerate edges, seams, wire order and tolerances.
// Face directions stay as built. Closed shells then bound one solid.
TopoDS_Shape healed(const TopoDS_Shape& shape, BrepType type, ColourMap& colours)
{
    ShapeFix_Shape fix(shape);
    fix.SetPrecision(kTolerance);
    fix.FixShellTool()->FixOrientationMode() = 0;
    fix.Perform();
    const Handle(ShapeBuild_ReShape) context = fix.Context();
    ColourMap moved;
    for (ColourMap::Iterator it(colours); it.More(); it.Next())
        for (TopExp_Explorer faces(context->Value(it.Key()), TopAbs_FACE); faces.More(); faces.Next())
            moved.Bind(faces.Current(), it.Value());
    colours = moved;
    if (type != kSolidBody)
        return fix.Shape();
    BRep_Builder builder;
    TopoDS_Compound result;
    builder.MakeCompound(result);
    TopoDS_Solid solid;
    bool closedAny = false;
    for (TopExp_Explorer shells(fix.Shape(), TopAbs_SHELL); shells.More(); shells.Next()) {
        TopoDS_Shell shell = TopoDS::Shell(shells.Current());
        if (!BRep_Tool::IsClosed(shell)) {
            builder.Add(result, shell);
            continue;
        }
        shell.Closed(true);
        if (!closedAny)
            builder.MakeSolid(solid);
        builder.Add(solid, shell);
        closedAny = true;
    }
    if (closedAny)
        builder.Add(result, solid);
    return result;
}

std::unique_ptr<ZrModelerGeometry::Body> bodyOf(const TopoDS_Shape& shape, BrepType type, const ColourMap& colours)
{
    auto body = std::make_unique<ZrModelerGeometry::Body>();
    body->type = type;
    body->shape = shape;
    TopExp::MapShapes(shape, TopAbs_FACE, body->faces);
    for (int i = 1; i <= body->faces.Extent(); ++i) {
        const std::uint32_t* colour = colours.Seek(body->faces(i));
        body->hasColour.push_back(colour != nullptr);
        body->colours.push_back(colour ? *colour : 0u);
    }
    return body;
}

} // namespace

ZrModelerGeometry* buildModelerGeometry(const AcisBrepBuilderTD::Body& description, const BodyBuildOptions& options,
                                        std::string& refusal)
{
    refusal.clear();
    try {
        // A fault in the kernel ends this body, not the process, when the
        // host has signal handling on.
        OCC_CATCH_SIGNALS
        Assembler assembler(description, options.gapCap);
        TopoDS_Shape shape = assembler.build();
        if (shape.IsNull()) {
            refusal = "no face could be built";
            return nullptr;
        }
        if (options.heal)
            shape = healed(shape, description.type, assembler.colours());
        std::unique_ptr<ZrModelerGeometry::Body> body = bodyOf(shape, description.type, assembler.colours());
        if (!options.heal) {
            body->problems = assembler.problems();
            body->solidsToFaceOut = assembler.solidsToFaceOut();
        }
        ZrRxObjectPtr held(new ZrModelerGeometry(std::move(body)));
        auto* geometry = static_cast<ZrModelerGeometry*>(held.get());
        if (options.validate && !geometry->isValid()) {
            refusal = geometry->validityReport();
            return nullptr;
        }
        held.detach();
        return geometry;
    } catch (const Standard_Failure& failure) {
        refusal = std::string("the modeler failed: ") + failure.DynamicType()->Name();
        return nullptr;
    }
}
