// Building a described body with the modeling kernel: vertices, edges on
// their curves, faces with their wires, shells and solids, then the
// healing every imported body gets.
#include <BRepCheck_Analyzer.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <NCollection_DataMap.hxx>
#include <Precision.hxx>
#include <ShapeBuild_ReShape.hxx>
#include <ShapeFix_Shape.hxx>
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

#include <algorithm>
#include <map>
#include <new>
#include <vector>

#include "BodyDescription.h"
#include "ModelerBody.h"

namespace {

using Body = AcisBrepBuilderTD::Body;
using ColourMap = NCollection_DataMap<TopoDS_Shape, std::uint32_t, TopTools_ShapeMapHasher>;

constexpr double kTolerance = 1e-7; // the kernel's confusion distance

class Assembler {
public:
    explicit Assembler(const Body& body) : m_body(body) {}

    // The healed body: solids and shells in a compound; null without faces.
    TopoDS_Shape build()
    {
        makeVertices();
        makeEdges();
        TopoDS_Compound result;
        m_builder.MakeCompound(result);
        bool any = false;
        for (const Body::Complex& complex : m_body.complexes) {
            const TopoDS_Shape lump = buildComplex(complex);
            if (!lump.IsNull()) {
                m_builder.Add(result, lump);
                any = true;
            }
        }
        return any ? TopoDS_Shape(result) : TopoDS_Shape();
    }

    // Face colours, by the faces of the built body.
    const ColourMap& colours() const { return m_colours; }

private:
    void makeVertices()
    {
        for (const Body::Vertex& vertex : m_body.vertices) {
            TopoDS_Vertex made;
            m_builder.MakeVertex(made, vertex.point, kTolerance);
            m_vertices.push_back(made);
        }
    }

    // A vertex reaches as far as the curve ends that meet it.
    void reach(const TopoDS_Vertex& vertex, const gp_Pnt& curveEnd)
    {
        const double gap = BRep_Tool::Pnt(vertex).Distance(curveEnd);
        if (gap > BRep_Tool::Tolerance(vertex))
            m_builder.UpdateVertex(vertex, gap * 1.001);
    }

    void makeEdges()
    {
        for (const Body::Edge& edge : m_body.edges) {
            TopoDS_Edge made;
            if (!edge.degenerate && !edge.curve.IsNull()) {
                const TopoDS_Vertex& start = m_vertices[edge.startVertex];
                const TopoDS_Vertex& end = m_vertices[edge.endVertex];
                m_builder.MakeEdge(made, edge.curve, kTolerance);
                m_builder.Add(made, start.Oriented(TopAbs_FORWARD));
                m_builder.Add(made, end.Oriented(TopAbs_REVERSED));
                m_builder.Range(made, edge.first, edge.last);
                reach(start, edge.curve->Value(edge.first));
                reach(end, edge.curve->Value(edge.last));
            }
            m_edges.push_back(made);
        }
    }

    // How far the surface point of the parameter curve strays from the
    // edge's curve; infinity when the two do not cover the same range.
    static double deviation(const Body::Edge& edge, const Geom2d_Curve& parameterCurve, const Geom_Surface& surface)
    {
        if (std::fabs(parameterCurve.FirstParameter() - edge.first) > Precision::PConfusion() ||
            std::fabs(parameterCurve.LastParameter() - edge.last) > Precision::PConfusion())
            return Precision::Infinite();
        double worst = 0.0;
        constexpr int kSamples = 8;
        for (int i = 0; i <= kSamples; ++i) {
            const double t = edge.first + (edge.last - edge.first) * i / kSamples;
            const gp_Pnt2d uv = parameterCurve.Value(t);
            worst = std::max(worst, surface.Value(uv.X(), uv.Y()).Distance(edge.curve->Value(t)));
        }
        return worst;
    }

    // A given parameter curve is kept when it follows the edge closely; the
    // healer computes the others, and always those of seams (an edge used
    // twice by the face needs one for each side).
    void attachParameterCurve(const Body::Coedge& coedge, const TopoDS_Face& face, const Geom_Surface& surface,
                              int usesInFace)
    {
        if (coedge.parameterCurve.IsNull() || usesInFace != 1)
            return;
        const Body::Edge& edge = m_body.edges[coedge.edge];
        const double gap = deviation(edge, *coedge.parameterCurve, surface);
        const double scale = edge.curve->Value(edge.first).Distance(edge.curve->Value(edge.last));
        if (gap > std::max(1e-6, 1e-6 * scale))
            return;
        m_builder.UpdateEdge(m_edges[coedge.edge], coedge.parameterCurve, face, std::max(kTolerance, gap));
    }

    TopoDS_Face buildFace(const Body::Face& face)
    {
        // The kernel face's orientation against its surface's normal.
        const bool reversed = face.reversed != face.surface.reversedNormal;
        TopoDS_Face made;
        m_builder.MakeFace(made, face.surface.surface, kTolerance);
        std::map<int, int> uses;
        for (int loop : face.loops)
            for (const Body::Coedge& coedge : m_body.loops[loop].coedges)
                ++uses[coedge.edge];
        bool bounded = false;
        for (int loopId : face.loops) {
            const std::vector<Body::Coedge>& coedges = m_body.loops[loopId].coedges;
            TopoDS_Wire wire;
            m_builder.MakeWire(wire);
            int count = 0;
            // Inside a reversed face the loop runs the other way round.
            for (std::size_t k = 0; k < coedges.size(); ++k) {
                const Body::Coedge& coedge = coedges[reversed ? coedges.size() - 1 - k : k];
                const TopoDS_Edge& edge = m_edges[coedge.edge];
                if (edge.IsNull())
                    continue; // degenerate: the healer puts it back where the surface needs it
                attachParameterCurve(coedge, made, *face.surface.surface, uses[coedge.edge]);
                m_builder.Add(wire, edge.Oriented(coedge.reversed != reversed ? TopAbs_REVERSED : TopAbs_FORWARD));
                ++count;
            }
            if (count > 0) {
                m_builder.Add(made, wire);
                bounded = true;
            }
        }
        if (!bounded)
            return TopoDS_Face(); // an unbounded surface is no face
        made.Orientation(reversed ? TopAbs_REVERSED : TopAbs_FORWARD);
        return made;
    }

    TopoDS_Shape buildComplex(const Body::Complex& complex)
    {
        TopoDS_Compound shells;
        m_builder.MakeCompound(shells);
        std::vector<std::pair<TopoDS_Face, std::uint32_t>> coloured;
        bool any = false;
        for (int shellId : complex.shells) {
            TopoDS_Shell shell;
            m_builder.MakeShell(shell);
            bool hasFace = false;
            for (int faceId : m_body.shells[shellId].faces) {
                const Body::Face& face = m_body.faces[faceId];
                const TopoDS_Face made = buildFace(face);
                if (made.IsNull())
                    continue;
                m_builder.Add(shell, made);
                hasFace = true;
                if (face.hasColour)
                    coloured.emplace_back(made, face.colour);
            }
            if (hasFace) {
                m_builder.Add(shells, shell);
                any = true;
            }
        }
        if (!any)
            return TopoDS_Shape();
        const TopoDS_Shape healed = heal(shells, coloured);
        return m_body.type == kSolidBody ? solidOf(healed) : healed;
    }

    // What the modeler does to every imported body: parameter curves,
    // degenerate edges, seams, wire order and tolerances. Face directions
    // stay as given.
    TopoDS_Shape heal(const TopoDS_Shape& shells, const std::vector<std::pair<TopoDS_Face, std::uint32_t>>& coloured)
    {
        ShapeFix_Shape fix(shells);
        fix.SetPrecision(kTolerance);
        fix.FixShellTool()->FixOrientationMode() = 0;
        fix.Perform();
        const Handle(ShapeBuild_ReShape) context = fix.Context();
        for (const auto& entry : coloured) {
            const TopoDS_Shape now = context->Value(entry.first);
            for (TopExp_Explorer faces(now, TopAbs_FACE); faces.More(); faces.Next())
                m_colours.Bind(faces.Current(), entry.second);
        }
        return fix.Shape();
    }

    // Closed shells bound one solid; open ones stay shells of the body.
    TopoDS_Shape solidOf(const TopoDS_Shape& healed)
    {
        TopoDS_Compound result;
        m_builder.MakeCompound(result);
        TopoDS_Solid solid;
        bool closedAny = false;
        for (TopExp_Explorer shells(healed, TopAbs_SHELL); shells.More(); shells.Next()) {
            TopoDS_Shell shell = TopoDS::Shell(shells.Current());
            if (!BRep_Tool::IsClosed(shell)) {
                m_builder.Add(result, shell);
                continue;
            }
            shell.Closed(true);
            if (!closedAny)
                m_builder.MakeSolid(solid);
            m_builder.Add(solid, shell);
            closedAny = true;
        }
        if (closedAny)
            m_builder.Add(result, solid);
        return result;
    }

    const Body& m_body;
    BRep_Builder m_builder;
    std::vector<TopoDS_Vertex> m_vertices;
    std::vector<TopoDS_Edge> m_edges;
    ColourMap m_colours;
};

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

ZrModelerGeometry* buildModelerGeometry(const AcisBrepBuilderTD::Body& description, bool validate)
{
    try {
        // A fault in the kernel ends this body, not the process, when the
        // host has signal handling on.
        OCC_CATCH_SIGNALS
        Assembler assembler(description);
        const TopoDS_Shape shape = assembler.build();
        if (shape.IsNull())
            return nullptr;
        std::unique_ptr<ZrModelerGeometry::Body> body = bodyOf(shape, description.type, assembler.colours());
        if (validate) {
            if (!BRepCheck_Analyzer(shape).IsValid())
                return nullptr;
            body->validity = 1;
        }
        return new ZrModelerGeometry(std::move(body));
    } catch (const Standard_Failure&) {
        return nullptr;
    }
}
