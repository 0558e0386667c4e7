#include "zrbr/ZrBrepBuilder.h"

#include <Geom2d_BSplineCurve.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>

#include <atomic>
#include <chrono>
#include <cmath>

#include <zrbase/GeExInterface.h>
#include <zrbase/ZrGeNurbCurve2d.h>

#include "BodyDescription.h"
#include "zrbr/ZrModelerGeometry.h"

AcisBrepBuilderTD::AcisBrepBuilderTD(BrepType type) : m_body(new Body(type)) {}
AcisBrepBuilderTD::~AcisBrepBuilderTD() = default;
BrepType AcisBrepBuilderTD::brepType() const { return m_body->type; }

namespace {

using Body = AcisBrepBuilderTD::Body;

template <typename T>
bool named(const std::vector<T>& list, int id)
{
    return id >= 0 && static_cast<std::size_t>(id) < list.size();
}

template <typename T>
int appended(std::vector<T>& list, T&& element)
{
    list.push_back(std::move(element));
    return static_cast<int>(list.size()) - 1;
}

// Below this length an edge with one vertex is a degenerate edge.
bool hasNoLength(const ZrGeCurve3d& curve, const ZrGeInterval& range)
{
    return GeExInterface::get().curveSize(curve) <= Precision::Confusion() && range.isBounded();
}

// The host parameter curve as a kernel spline over the kernel surface's
// parameters and the kernel edge's parameter (host parameter + shift).
Handle(Geom2d_BSplineCurve) kernelParameterCurve(const ZrGeCurve2d& curve, const GeKernel::Surface& surface,
                                                 double shift)
{
    std::unique_ptr<ZrGeNurbCurve2d> converted;
    const ZrGeNurbCurve2d* nurbs = nullptr;
    if (curve.isKindOf(ZrGe::kNurbCurve2d)) {
        nurbs = static_cast<const ZrGeNurbCurve2d*>(&curve);
    } else {
        converted.reset(GeExInterface::get().convertToNurbCurve(curve, ZrGeContext::gTol, true));
        nurbs = converted.get();
    }
    if (!nurbs)
        return nullptr;
    const Handle(Geom2d_BSplineCurve) kept = GeKernel::spline(*nurbs);
    if (kept.IsNull())
        return nullptr;
    Handle(Geom2d_BSplineCurve) result = Handle(Geom2d_BSplineCurve)::DownCast(kept->Copy());
    for (int i = 1; i <= result->NbPoles(); ++i) {
        const gp_Pnt2d pole = result->Pole(i);
        result->SetPole(i, surface.toKernel(ZrGePoint2d(pole.X(), pole.Y())));
    }
    if (shift != 0.0) {
        TColStd_Array1OfReal knots(1, result->NbKnots());
        result->Knots(knots);
        for (int i = knots.Lower(); i <= knots.Upper(); ++i)
            knots(i) += shift;
        result->SetKnots(knots);
    }
    return result;
}

} // namespace

namespace {

std::atomic<long long> buildNanoseconds{0};

// Adds the time from its making to its end to the process's build time.
class BuildClock {
public:
    BuildClock() : m_start(std::chrono::steady_clock::now()) {}
    ~BuildClock()
    {
        buildNanoseconds += std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() -
                                                                                  m_start)
                                .count();
    }
    BuildClock(const BuildClock&) = delete;
    BuildClock& operator=(const BuildClock&) = delete;

private:
    std::chrono::steady_clock::time_point m_start;
};

} // namespace

double zrbrBuildSeconds() { return static_cast<double>(buildNanoseconds.load()) * 1e-9; }

ZrBrepBuilder::ZrBrepBuilder() = default;
ZrBrepBuilder::~ZrBrepBuilder() = default;

Nimb::ErrorStatus ZrBrepBuilder::set(AcisBrepBuilderTD* engine)
{
    if (!engine)
        return Nimb::eNullObjectPointer;
    m_engine.reset(engine);
    m_finished = false;
    return Nimb::eOk;
}

ZrBrepBuilder::Id ZrBrepBuilder::addVertex(const ZrGePoint3d& point)
{
    if (!m_engine || m_finished)
        return -1;
    return appended(m_engine->body().vertices, Body::Vertex{GeKernel::toGp(point)});
}

ZrBrepBuilder::Id ZrBrepBuilder::addEdge(const ZrGeCurve3d& curve, Id startVertex, Id endVertex)
{
    if (!m_engine || m_finished)
        return -1;
    Body& body = m_engine->body();
    if (!named(body.vertices, startVertex) || !named(body.vertices, endVertex))
        return -1;
    ZrGeInterval range;
    curve.getInterval(range);
    if (!range.isBounded() || range.upperBound() < range.lowerBound())
        return -1;
    Body::Edge edge;
    edge.startVertex = startVertex;
    edge.endVertex = endVertex;
    if (startVertex == endVertex && hasNoLength(curve, range)) {
        edge.degenerate = true;
        return appended(body.edges, std::move(edge));
    }
    try {
        const GeKernel::Curve kernel = GeKernel::curve(curve);
        if (kernel.curve.IsNull() || !(range.upperBound() > range.lowerBound()))
            return -1;
        // The engine keeps a copy: host objects may share their kernel form.
        edge.curve = Handle(Geom_Curve)::DownCast(kernel.curve->Copy());
        edge.first = range.lowerBound() + kernel.shift;
        edge.last = range.upperBound() + kernel.shift;
    } catch (const Standard_Failure&) {
        return -1;
    }
    return appended(body.edges, std::move(edge));
}

ZrBrepBuilder::Id ZrBrepBuilder::addComplex()
{
    if (!m_engine || m_finished)
        return -1;
    return appended(m_engine->body().complexes, Body::Complex());
}

ZrBrepBuilder::Id ZrBrepBuilder::addShell(Id complex)
{
    if (!m_engine || m_finished || !named(m_engine->body().complexes, complex))
        return -1;
    Body& body = m_engine->body();
    const int shell = appended(body.shells, Body::Shell());
    body.complexes[complex].shells.push_back(shell);
    return shell;
}

ZrBrepBuilder::Id ZrBrepBuilder::addFace(Id shell, const ZrGeSurface& surface, bool reversed)
{
    if (!m_engine || m_finished || !named(m_engine->body().shells, shell) || !surface.isValid())
        return -1;
    Body::Face face;
    try {
        face.surface = GeKernel::surface(surface);
        if (face.surface.surface.IsNull())
            return -1;
        face.surface.surface = Handle(Geom_Surface)::DownCast(face.surface.surface->Copy());
    } catch (const Standard_Failure&) {
        return -1;
    }
    face.reversed = reversed;
    Body& body = m_engine->body();
    const int id = appended(body.faces, std::move(face));
    body.shells[shell].faces.push_back(id);
    return id;
}

Nimb::ErrorStatus ZrBrepBuilder::setFaceColor(Id face, std::uint32_t colour)
{
    if (!m_engine || m_finished)
        return Nimb::eNotApplicable;
    if (!named(m_engine->body().faces, face))
        return Nimb::eInvalidIndex;
    Body::Face& entry = m_engine->body().faces[face];
    entry.hasColour = true;
    entry.colour = colour;
    return Nimb::eOk;
}

ZrBrepBuilder::Id ZrBrepBuilder::addLoop(Id face)
{
    if (!m_engine || m_finished || !named(m_engine->body().faces, face))
        return -1;
    Body& body = m_engine->body();
    Body::Loop loop;
    loop.face = face;
    const int id = appended(body.loops, std::move(loop));
    body.faces[face].loops.push_back(id);
    return id;
}

Nimb::ErrorStatus ZrBrepBuilder::addCoedge(Id loop, Id edge, bool reversed, const ZrGeCurve2d* parameterCurve)
{
    if (!m_engine || m_finished)
        return Nimb::eNotApplicable;
    Body& body = m_engine->body();
    if (!named(body.loops, loop) || !named(body.edges, edge))
        return Nimb::eInvalidIndex;
    Body::Coedge coedge;
    coedge.edge = edge;
    coedge.reversed = reversed;
    const Body::Edge& used = body.edges[edge];
    if (parameterCurve && !used.degenerate) {
        try {
            // The host curve's parameter is the kernel edge's less the shift.
            ZrGeInterval range;
            parameterCurve->getInterval(range);
            const double shift = used.first - range.lowerBound();
            const Body::Face& face = body.faces[body.loops[loop].face];
            if (std::fabs(used.last - shift - range.upperBound()) <= Precision::PConfusion())
                coedge.parameterCurve = kernelParameterCurve(*parameterCurve, face.surface, shift);
        } catch (const Standard_Failure&) {
            coedge.parameterCurve.Nullify(); // the modeler computes one
        }
    }
    body.loops[loop].coedges.push_back(std::move(coedge));
    return Nimb::eOk;
}

ZrRxObjectPtr ZrBrepBuilder::finish()
{
    if (!m_engine) {
        m_refusal = "no engine";
        return ZrRxObjectPtr();
    }
    if (m_finished) {
        m_refusal = "finished already";
        return ZrRxObjectPtr();
    }
    m_finished = true;
    const BuildClock clock;
    BodyBuildOptions options;
    options.validate = m_validate;
    options.heal = m_heal;
    options.gapCap = gapCap;
    return ZrRxObjectPtr(buildModelerGeometry(m_engine->body(), options, m_refusal));
}
