#include "geometry/EdgeLoops.h"

#include <BRep_Tool.hxx>
#include <Geom2d_BSplineCurve.hxx>
#include <Geom2d_Line.hxx>
#include <Geom2d_TrimmedCurve.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt2d.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>

#include <zrbase/GeExInterface.h>
#include <zrbase/ZrGeNurbCurve2d.h>
#include <zrbase/ZrGeProjectionUtils.h>

#include <algorithm>
#include <cmath>

#include "geometry/CurveConversion.h"

namespace {

// Two consecutive uses of one edge closer than this are one use.
const ZrGeTol repeatTol(1e-5, 1e-5);

ZrGePoint3d worldPoint(gp_Pnt point, const gp_Trsf& placement)
{
    point.Transform(placement);
    return ZrGePoint3d(point.X(), point.Y(), point.Z());
}

bool isReversed(const TopoDS_Shape& shape) { return shape.Orientation() == TopAbs_REVERSED; }

// The edge as the face uses it (its orientation as explored from the face
// holds the face's and the wire's), with its curve converted; false when
// the edge has no vertices or its curve has no host form.
bool collectEdge(const TopoDS_Edge& edge, const TopoDS_Face& face, const gp_Trsf& shapeTrsf, WireEdge& use)
{
    const TopoDS_Vertex firstVertex = TopExp::FirstVertex(edge, false);
    const TopoDS_Vertex lastVertex = TopExp::LastVertex(edge, false);
    if (firstVertex.IsNull() || lastVertex.IsNull())
        return false;
    EdgeCurve edgeCurve = edgeCurveOf(edge, shapeTrsf);
    Handle(Geom_Curve)& curve = edgeCurve.curve;
    const gp_Trsf& placement = edgeCurve.placement;

    // Vertex points already carry every location below the shape.
    use.firstPoint = worldPoint(BRep_Tool::Pnt(firstVertex), shapeTrsf);
    use.lastPoint = worldPoint(BRep_Tool::Pnt(lastVertex), shapeTrsf);
    use.degenerate = curve.IsNull();
    ZrGePoint3d from = use.firstPoint, to = use.lastPoint;
    if (!use.degenerate) {
        from = worldPoint(curve->Value(edgeCurve.first), placement);
        to = worldPoint(curve->Value(edgeCurve.last), placement);
    }
    std::unique_ptr<ZrGeCurve3d> converted = convertEdgeCurve(edge, std::move(curve), from, to, placement);
    if (!converted)
        return false;
    use.curve = SharedRef<ZrGeCurve3d>(converted.release());
    use.reversed = isReversed(edge) ? 1 : 0;
    if (!use.degenerate)
        use.kernelParameterCurve =
            BRep_Tool::CurveOnSurface(edge, face, use.kernelRange.first, use.kernelRange.second);
    use.startPoint = use.reversed ? use.lastPoint : use.firstPoint;
    use.endPoint = use.reversed ? use.firstPoint : use.lastPoint;
    return true;
}

bool sameKey(const EdgeKey& a, const EdgeKey& b) { return !edgeKeyLess(a, b) && !edgeKeyLess(b, a); }

// A use that repeats the one before it: same closedness, same sense, same
// end points, and the same curve. A seam's second use runs the other way
// and is kept; so are two different closed edges through one vertex (the
// two seams of a torus).
bool repeats(const WireEdge& previous, const WireEdge& use)
{
    return previous.curve->isClosed(ZrGeContext::gTol) == use.curve->isClosed(ZrGeContext::gTol) &&
           previous.reversed == use.reversed && previous.firstPoint.isEqualTo(use.firstPoint, repeatTol) &&
           previous.lastPoint.isEqualTo(use.lastPoint, repeatTol) && sameKey(edgeKeyOf(previous), edgeKeyOf(use));
}

int findOrAddVertex(const ZrGePoint3d& point, BrepBuilderInitialData& record, VertexMap& vertexMap)
{
    const auto found = vertexMap.find(point);
    if (found != vertexMap.end())
        return found->second;
    VertexEntry vertex;
    vertex.point = point;
    const int index = record.vertices.append(vertex);
    vertexMap.emplace(point, index);
    return index;
}

// An edge without a 3D curve (a pole of a sphere, the tip of a cone)
// becomes a loop of one coedge on a single vertex. It is never shared.
void addDegenerateLoop(const WireEdge& use, BrepBuilderInitialData& record, FaceEntry& face, VertexMap& vertexMap)
{
    EdgeEntry edge;
    edge.curve = use.curve;
    edge.startVertex = edge.endVertex = findOrAddVertex(use.firstPoint, record, vertexMap);
    CoedgeEntry coedge;
    coedge.edge = record.edges.append(std::move(edge));
    coedge.direction = use.reversed;
    Loop loop;
    loop.append(std::move(coedge));
    face.loops.append(std::move(loop));
}

int findOrAddEdge(const WireEdge& use, const ShapeColour& faceColour, BrepBuilderInitialData& record,
                  EdgeMap& edgeMap, VertexMap& vertexMap)
{
    const EdgeKey key = edgeKeyOf(use);
    const auto found = edgeMap.find(key);
    if (found != edgeMap.end())
        return found->second;
    EdgeEntry edge;
    edge.curve = use.curve;
    edge.startVertex = findOrAddVertex(use.firstPoint, record, vertexMap);
    edge.endVertex = findOrAddVertex(use.lastPoint, record, vertexMap);
    if (faceColour.hasColour) {
        edge.hasColour = 1;
        edge.colour = faceColour.colour;
    }
    const int index = record.edges.append(std::move(edge));
    edgeMap.emplace(key, index);
    return index;
}

// An end of the 2D curve fits when it is the surface parameter of the 3D
// curve's end, or at least lands on that end.
bool endFits(const ZrGePoint2d& end2d, const ZrGePoint3d& end3d, const ZrGeSurface& surface, const ZrGeTol& tol)
{
    const ZrGePoint2d expected = surface.paramOf(end3d, ZrGeContext::gTol);
    return end2d.isEqualTo(expected, tol) || surface.evalPoint(end2d).isEqualTo(end3d, tol);
}

// Puts the edges in chain order. Each step takes the first unused edge that
// starts where the chain ends; when that leads to a dead end (a seam used
// twice offers two edges at the same point) the search backs up and tries
// the next one. Wires in order, and any wire the first choices chain,
// come out exactly as the plain scan would give them.
struct ChainSearch {
    const CollectedWire& wire;
    std::vector<bool> used;
    std::vector<std::size_t> order;
    std::size_t steps;

    bool extend()
    {
        if (order.size() == wire.size())
            return true;
        // Bounded: a pathological wire fails rather than searching forever.
        if (++steps > 64 * wire.size() * wire.size())
            return false;
        const ZrGePoint3d& tail = wire[order.back()].endPoint;
        for (std::size_t i = 0; i < wire.size(); ++i) {
            if (used[i] || !wire[i].startPoint.isEqualTo(tail, ZrGeContext::gTol))
                continue;
            used[i] = true;
            order.push_back(i);
            if (extend())
                return true;
            order.pop_back();
            used[i] = false;
        }
        return false;
    }
};

// A NURBS surface that closes on itself in u or in v: its two sides in
// that direction are one curve in space.
struct Closure {
    ZrGeInterval u, v; // the parameter ranges
    bool closedU = false, closedV = false;
};

bool sidesMeet(const ZrGeSurface& surface, bool inU, const ZrGeInterval& along, const ZrGeInterval& across)
{
    constexpr int kSamples = 8;
    double size = 0.0;
    std::vector<std::pair<ZrGePoint3d, ZrGePoint3d>> pairs;
    for (int i = 0; i <= kSamples; ++i) {
        const double t = across.lowerBound() + (across.upperBound() - across.lowerBound()) * i / kSamples;
        const double low = along.lowerBound(), high = along.upperBound();
        pairs.emplace_back(surface.evalPoint(inU ? ZrGePoint2d(low, t) : ZrGePoint2d(t, low)),
                           surface.evalPoint(inU ? ZrGePoint2d(high, t) : ZrGePoint2d(t, high)));
        size = std::max(size, pairs.back().first.distanceTo(pairs.front().first));
    }
    const double reach = std::max(1e-9, 1e-7 * size);
    for (const auto& pair : pairs)
        if (pair.first.distanceTo(pair.second) > reach)
            return false;
    return true;
}

Closure closureOf(const ZrGeSurface& surface)
{
    Closure closure;
    surface.getEnvelope(closure.u, closure.v);
    if (closure.u.isBounded() && closure.v.isBounded()) {
        closure.closedU = sidesMeet(surface, true, closure.u, closure.v);
        closure.closedV = sidesMeet(surface, false, closure.v, closure.u);
    }
    return closure;
}

SharedRef<ZrGeCurve2d> movedCurve(const ZrGeCurve2d& curve, const ZrGeVector2d& by)
{
    if (!curve.isKindOf(ZrGe::kNurbCurve2d))
        return SharedRef<ZrGeCurve2d>();
    const auto& spline = static_cast<const ZrGeNurbCurve2d&>(curve);
    ZrGePoint2dArray points;
    for (int i = 0; i < spline.numControlPoints(); ++i)
        points.append(spline.controlPointAt(i) + by);
    auto moved = std::make_unique<ZrGeNurbCurve2d>(spline.degree(), spline.knots(), points, spline.weights(),
                                                   spline.isPeriodicFlag());
    ZrGeInterval range(1e-12);
    spline.getInterval(range);
    if (!moved->setInterval(range))
        return SharedRef<ZrGeCurve2d>();
    return SharedRef<ZrGeCurve2d>(moved.release());
}

// Where a parameter curve runs along one side of a closed direction: the
// move that takes it to the other side; zero when it does not.
ZrGeVector2d acrossTheClosure(const ZrGeCurve2d& curve, const Closure& closure)
{
    ZrGeInterval range(1e-12);
    curve.getInterval(range);
    const auto onSide = [&](bool inU, double side, const ZrGeInterval& span) {
        const double slack = 1e-9 * std::max(1.0, span.upperBound() - span.lowerBound());
        for (double f : {0.0, 0.5, 1.0}) {
            const ZrGePoint2d p = curve.evalPoint(range.lowerBound() + f * (range.upperBound() - range.lowerBound()));
            if (std::fabs((inU ? p.x : p.y) - side) > slack)
                return false;
        }
        return true;
    };
    const double width = closure.u.upperBound() - closure.u.lowerBound();
    const double height = closure.v.upperBound() - closure.v.lowerBound();
    if (closure.closedU && onSide(true, closure.u.lowerBound(), closure.u))
        return ZrGeVector2d(width, 0.0);
    if (closure.closedU && onSide(true, closure.u.upperBound(), closure.u))
        return ZrGeVector2d(-width, 0.0);
    if (closure.closedV && onSide(false, closure.v.lowerBound(), closure.v))
        return ZrGeVector2d(0.0, height);
    if (closure.closedV && onSide(false, closure.v.upperBound(), closure.v))
        return ZrGeVector2d(0.0, -height);
    return ZrGeVector2d(0.0, 0.0);
}

// A curve along the line where a surface closes on itself (a seam, or the
// end of a surface of revolution) lies on both sides of the parameters at
// once, and the projection picks one. The face lies left of its coedges in
// the surface's parameters (its sense on the surface is the coedge's
// direction and the face's taken together): a coedge climbing in v belongs
// on the high side in u, one running on in u on the low side in v.
void placeCurvesOnClosures(FaceEntry& face)
{
    const Closure closure = closureOf(*face.surface);
    if (!closure.closedU && !closure.closedV)
        return;
    for (Loop& loop : face.loops)
        for (CoedgeEntry& coedge : loop) {
            if (!coedge.parameterCurve)
                continue;
            const ZrGeVector2d shift = acrossTheClosure(*coedge.parameterCurve, closure);
            if (shift.x == 0.0 && shift.y == 0.0)
                continue;
            ZrGePoint2d start, end;
            if (!coedge.parameterCurve->hasStartPoint(start) || !coedge.parameterCurve->hasEndPoint(end))
                continue;
            const bool alongSurface = (coedge.direction ^ face.direction) == 0;
            const ZrGeVector2d run = alongSurface ? end - start : start - end;
            // shift points to the other side: up in u (x > 0) from the low
            // side, down from the high one.
            const bool onLowSide = shift.x > 0.0 || shift.y > 0.0;
            const bool belongsHigh = shift.x != 0.0 ? run.y > 0.0 : run.x < 0.0;
            if ((shift.x != 0.0 ? run.y : run.x) == 0.0 || belongsHigh != onLowSide)
                continue;
            SharedRef<ZrGeCurve2d> moved = movedCurve(*coedge.parameterCurve, shift);
            if (moved)
                coedge.parameterCurve = moved;
        }
}

// How closely a parameter curve must follow its edge: a hundred-thousandth
// of a unit for short curves, a thousandth of the curve's size otherwise.
ZrGeTol fitTolerance(const ZrGeCurve3d& curve)
{
    const double size = GeExInterface::get().curveSize(curve);
    const double fit = size < 0.01 ? 1e-5 : size * 0.001;
    ZrGeTol tol;
    tol.setEqualPoint(fit);
    tol.setEqualVector(fit);
    return tol;
}

// The kernel curve over [first, last] as a spline with the same parameter;
// null for curves that have no such exact form.
Handle(Geom2d_BSplineCurve) splineOver(Handle(Geom2d_Curve) curve, double first, double last)
{
    while (auto trimmed = Handle(Geom2d_TrimmedCurve)::DownCast(curve))
        curve = trimmed->BasisCurve();
    const double tol = Precision::PConfusion();
    if (auto spline = Handle(Geom2d_BSplineCurve)::DownCast(curve)) {
        spline = Handle(Geom2d_BSplineCurve)::DownCast(spline->Copy());
        if (spline->IsPeriodic())
            spline->SetNotPeriodic();
        if (first < spline->FirstParameter() - tol || last > spline->LastParameter() + tol)
            return nullptr;
        if (first > spline->FirstParameter() + tol || last < spline->LastParameter() - tol)
            spline->Segment(first, last);
        return spline;
    }
    if (!curve->IsKind(STANDARD_TYPE(Geom2d_Line)))
        return nullptr;
    TColgp_Array1OfPnt2d poles(1, 2);
    poles.SetValue(1, curve->Value(first));
    poles.SetValue(2, curve->Value(last));
    TColStd_Array1OfReal knots(1, 2);
    knots.SetValue(1, first);
    knots.SetValue(2, last);
    TColStd_Array1OfInteger mults(1, 2);
    mults.Init(2);
    return new Geom2d_BSplineCurve(poles, knots, mults, 1);
}

// Whole widths of a closed parameter range that bring value into it.
double widthsInto(double value, const ZrGeInterval& range, bool closed)
{
    const double width = range.upperBound() - range.lowerBound();
    const double slack = 1e-9 * std::max(1.0, width);
    if (!closed || !(width > 0.0))
        return 0.0;
    if (value < range.lowerBound() - slack)
        return std::ceil((range.lowerBound() - slack - value) / width) * width;
    if (value > range.upperBound() + slack)
        return -std::ceil((value - range.upperBound() - slack) / width) * width;
    return 0.0;
}

bool follows(const ZrGeCurve2d& curve2d, const ZrGeCurve3d& curve, const ZrGeSurface& surface, const ZrGeTol& tol)
{
    ZrGeInterval range(1e-12);
    curve.getInterval(range);
    constexpr int kSamples = 16;
    for (int i = 0; i <= kSamples; ++i) {
        const double s = range.lowerBound() + (range.upperBound() - range.lowerBound()) * i / kSamples;
        if (!surface.evalPoint(curve2d.evalPoint(s)).isEqualTo(curve.evalPoint(s), tol))
            return false;
    }
    return true;
}

// The kernel's own parameter curve of the edge, where the host surface has
// the kernel surface's parameters (a spline face): carried over to the host
// curve's parameter, moved by whole widths into the range of a surface that
// closes on itself, and kept only when it follows the edge as closely as a
// projection must. It keeps the face's trim exactly as the file gives it.
std::unique_ptr<ZrGeCurve2d> carriedParameterCurve(const WireEdge& use, const ZrGeSurface& surface)
{
    if (use.kernelParameterCurve.IsNull())
        return nullptr;
    const double t0 = use.kernelRange.first, t1 = use.kernelRange.second;
    ZrGeInterval range(1e-12);
    use.curve->getInterval(range);
    const double s0 = range.lowerBound(), s1 = range.upperBound();
    if (!(t1 > t0) || !(s1 > s0))
        return nullptr;
    Handle(Geom2d_BSplineCurve) spline;
    try {
        spline = splineOver(use.kernelParameterCurve, t0, t1);
    } catch (const Standard_Failure&) {
        return nullptr;
    }
    if (spline.IsNull())
        return nullptr;
    const Closure closure = closureOf(surface);
    const gp_Pnt2d middle = spline->Value(0.5 * (t0 + t1));
    const ZrGeVector2d shift(widthsInto(middle.X(), closure.u, closure.closedU),
                             widthsInto(middle.Y(), closure.v, closure.closedV));
    ZrGeKnotVector knots(ZrGeKnotVector::globalKnotTolerance);
    for (int i = 1; i <= spline->NbKnots(); ++i)
        for (int m = 0; m < spline->Multiplicity(i); ++m)
            knots.append(s0 + (spline->Knot(i) - t0) * (s1 - s0) / (t1 - t0));
    ZrGePoint2dArray points;
    ZrGeDoubleArray weights;
    for (int i = 1; i <= spline->NbPoles(); ++i) {
        points.append(ZrGePoint2d(spline->Pole(i).X(), spline->Pole(i).Y()) + shift);
        if (spline->IsRational())
            weights.append(spline->Weight(i));
    }
    auto carried = std::make_unique<ZrGeNurbCurve2d>(spline->Degree(), knots, points, weights, false);
    if (!carried->isValid() || !follows(*carried, *use.curve, surface, fitTolerance(*use.curve)))
        return nullptr;
    return carried;
}

// A coedge's parameter curve ends, in loop direction.
bool loopEnds(const CoedgeEntry& coedge, ZrGePoint2d& start, ZrGePoint2d& end)
{
    if (!coedge.parameterCurve || !coedge.parameterCurve->hasStartPoint(start) ||
        !coedge.parameterCurve->hasEndPoint(end))
        return false;
    if (coedge.direction)
        std::swap(start, end);
    return true;
}

// The straight parameter curve from one point to another, in loop
// direction, over the edge curve's parameter.
std::unique_ptr<ZrGeCurve2d> straightCurve(ZrGePoint2d from, ZrGePoint2d to, int direction,
                                           const ZrGeCurve3d& curve)
{
    if (direction)
        std::swap(from, to);
    ZrGeInterval range(1e-12);
    curve.getInterval(range);
    ZrGeKnotVector knots(ZrGeKnotVector::globalKnotTolerance);
    for (double knot : {range.lowerBound(), range.lowerBound(), range.upperBound(), range.upperBound()})
        knots.append(knot);
    ZrGePoint2dArray points;
    points.append(from);
    points.append(to);
    auto line = std::make_unique<ZrGeNurbCurve2d>(1, knots, points, ZrGeDoubleArray(), false);
    return line->isValid() ? std::move(line) : nullptr;
}

// An edge that has shrunk to a point where the surface has a pole (a
// spline surface's apex) has no parameters of its own: any curve along the
// pole projects onto it. It runs straight across the pole from where the
// coedge before it ends to where the one after it starts; several such
// edges in a row share that line.
void bridgeCollapsedCoedges(const BrepBuilderInitialData& record, FaceEntry& face)
{
    for (Loop& loop : face.loops) {
        const int n = loop.length();
        std::vector<bool> collapsed(static_cast<std::size_t>(n), false);
        int count = 0;
        for (int k = 0; k < n; ++k) {
            const ZrGeCurve3d& curve = *record.edges[loop[k].edge].curve;
            collapsed[k] = GeExInterface::get().curveSize(curve) < fitTolerance(curve).equalPoint();
            count += collapsed[k] ? 1 : 0;
        }
        if (count == 0 || count == n)
            continue;
        for (int first = 0; first < n; ++first) {
            if (!collapsed[first] || collapsed[(first + n - 1) % n])
                continue;
            int run = 0;
            while (collapsed[(first + run) % n])
                ++run;
            ZrGePoint2d before, from, to, after;
            if (!loopEnds(loop[(first + n - 1) % n], before, from) || !loopEnds(loop[(first + run) % n], to, after))
                continue;
            for (int i = 0; i < run; ++i) {
                CoedgeEntry& coedge = loop[(first + i) % n];
                const ZrGeCurve3d& curve = *record.edges[coedge.edge].curve;
                std::unique_ptr<ZrGeCurve2d> bridge =
                    straightCurve(from + (to - from) * (static_cast<double>(i) / run),
                                  from + (to - from) * (static_cast<double>(i + 1) / run), coedge.direction, curve);
                if (bridge && follows(*bridge, curve, *face.surface, fitTolerance(curve)))
                    coedge.parameterCurve = SharedRef<ZrGeCurve2d>(bridge.release());
            }
        }
    }
}

} // namespace

bool collectFaceWires(const TopoDS_Face& face, const gp_Trsf& shapeTrsf, std::vector<CollectedWire>& wires)
{
    bool collected = false;
    for (TopExp_Explorer wires_(face, TopAbs_WIRE); wires_.More(); wires_.Next()) {
        CollectedWire edges;
        for (TopExp_Explorer edges_(wires_.Current(), TopAbs_EDGE); edges_.More(); edges_.Next()) {
            WireEdge use;
            if (!collectEdge(TopoDS::Edge(edges_.Current()), face, shapeTrsf, use))
                continue;
            if (!edges.empty() && repeats(edges.back(), use))
                continue;
            edges.push_back(std::move(use));
        }
        if (edges.empty() || !chainWire(edges))
            return false;
        wires.push_back(std::move(edges));
        collected = true;
    }
    return collected;
}

bool chainWire(CollectedWire& wire)
{
    const std::size_t count = wire.size();
    if (count == 0)
        return false;
    ChainSearch search{wire, std::vector<bool>(count, false), {0}, 0};
    search.used[0] = true;
    if (!search.extend()) {
        wire.clear();
        return false;
    }
    CollectedWire chained;
    chained.reserve(count);
    for (std::size_t index : search.order)
        chained.push_back(std::move(wire[index]));
    wire.swap(chained);
    return true;
}

void mapKernelParameterCurves(std::vector<CollectedWire>& wires, const ParameterMap* map)
{
    for (CollectedWire& wire : wires)
        for (WireEdge& use : wire) {
            if (use.kernelParameterCurve.IsNull())
                continue;
            Handle(Geom2d_BSplineCurve) spline;
            try {
                if (map)
                    spline = splineOver(use.kernelParameterCurve, use.kernelRange.first, use.kernelRange.second);
            } catch (const Standard_Failure&) {
                spline.Nullify();
            }
            if (!spline.IsNull())
                for (int i = 1; i <= spline->NbPoles(); ++i) {
                    const gp_Pnt2d pole = spline->Pole(i);
                    spline->SetPole(i, gp_Pnt2d(map->scaleU * pole.X() + map->offsetU,
                                                map->scaleV * pole.Y() + map->offsetV));
                }
            use.kernelParameterCurve = spline;
        }
}

EdgeKey edgeKeyOf(const WireEdge& use)
{
    EdgeKey key;
    key.kind = use.curve->type();
    key.firstPoint = use.firstPoint;
    key.lastPoint = use.lastPoint;
    ZrGeInterval range(1e-12);
    use.curve->getInterval(range);
    key.midPoint = use.curve->evalPoint((range.lowerBound() + range.upperBound()) * 0.5);
    return key;
}

void buildFaceLoops(const std::vector<CollectedWire>& wires, const ShapeColour& faceColour,
                    BrepBuilderInitialData& record, FaceEntry& face, EdgeMap& edgeMap, VertexMap& vertexMap)
{
    const bool wantsParameterCurves = face.surface && face.surface->isKindOf(ZrGe::kNurbSurface);
    for (const CollectedWire& wire : wires) {
        Loop loop;
        for (const WireEdge& use : wire) {
            if (use.degenerate) {
                addDegenerateLoop(use, record, face, vertexMap);
                continue;
            }
            CoedgeEntry coedge;
            coedge.edge = findOrAddEdge(use, faceColour, record, edgeMap, vertexMap);
            coedge.direction = use.reversed;
            if (wantsParameterCurves) {
                std::unique_ptr<ZrGeCurve2d> curve = carriedParameterCurve(use, *face.surface);
                if (!curve)
                    curve = projectParameterCurve(*use.curve, *face.surface);
                coedge.parameterCurve = SharedRef<ZrGeCurve2d>(curve.release());
            }
            loop.append(std::move(coedge));
        }
        if (!loop.isEmpty())
            face.loops.append(std::move(loop));
    }
    if (wantsParameterCurves) {
        placeCurvesOnClosures(face);
        bridgeCollapsedCoedges(record, face);
    }
}

std::unique_ptr<ZrGeCurve2d> projectParameterCurve(const ZrGeCurve3d& curve, const ZrGeSurface& surface)
{
    const ZrGeTol tol = fitTolerance(curve);
    ZrGeInterval range(1e-12), range2d(1e-12);
    curve.getInterval(range);
    const int flags = curve.isKindOf(ZrGe::kNurbCurve3d) ? ZrGeProjectionUtils::kNurbsResult : 0;
    ZrGeCurve2d* projectedRaw = nullptr;
    ZrGeProjectionUtils::projectCurveOnSurface(curve, range, surface, projectedRaw, range2d, tol, flags);
    std::unique_ptr<ZrGeCurve2d> projected(projectedRaw);
    if (!projected)
        return nullptr;

    ZrGePoint2d start2d, end2d;
    ZrGePoint3d start3d, end3d;
    if (!projected->hasStartPoint(start2d) || !projected->hasEndPoint(end2d) || !curve.hasStartPoint(start3d) ||
        !curve.hasEndPoint(end3d))
        return nullptr;
    if (!endFits(start2d, start3d, surface, tol) || !endFits(end2d, end3d, surface, tol))
        return nullptr;
    if (projected->isKindOf(ZrGe::kNurbCurve2d))
        return projected;
    return std::unique_ptr<ZrGeCurve2d>(GeExInterface::get().convertToNurbCurve(*projected, tol, true));
}
