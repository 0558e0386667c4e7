#include "geometry/CurveConversion.h"

#include <BRep_Tool.hxx>
#include <Convert_HyperbolaToBSplineCurve.hxx>
#include <Convert_ParabolaToBSplineCurve.hxx>
#include <ElCLib.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_Circle.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Hyperbola.hxx>
#include <Geom_Line.hxx>
#include <Geom_Parabola.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>
#include <TopExp.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp_Ax22d.hxx>
#include <gp_Ax3.hxx>
#include <gp_Hypr2d.hxx>
#include <gp_Parab2d.hxx>

#include <zrbase/GeExInterface.h>
#include <zrbase/ZrGeCircArc3d.h>
#include <zrbase/ZrGeEllipArc3d.h>
#include <zrbase/ZrGeLineSeg3d.h>
#include <zrbase/ZrGeNurbCurve3d.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

ZrGePoint3d worldPoint(gp_Pnt point, const gp_Trsf& placement)
{
    point.Transform(placement);
    return ZrGePoint3d(point.X(), point.Y(), point.Z());
}

ZrGeVector3d worldDirection(gp_Dir direction, const gp_Trsf& placement)
{
    direction.Transform(placement);
    return ZrGeVector3d(direction.X(), direction.Y(), direction.Z());
}

std::unique_ptr<ZrGeCurve3d> segment(const ZrGePoint3d& startPoint, const ZrGePoint3d& endPoint)
{
    return std::make_unique<ZrGeLineSeg3d>(startPoint, endPoint);
}

std::unique_ptr<ZrGeCurve3d> circleArc(const Geom_Circle& circle, const ZrGePoint3d& startPoint,
                                       const ZrGePoint3d& endPoint, const gp_Trsf& placement)
{
    const gp_Ax2& position = circle.Position();
    const ZrGePoint3d centre = worldPoint(position.Location(), placement);
    ZrGeVector3d normal = worldDirection(position.Direction(), placement);
    // A mirroring placement turns the circle's sense: it runs clockwise
    // about the moved axis.
    if (placement.IsNegative())
        normal = -normal;
    const double radius = circle.Radius() * std::fabs(placement.ScaleFactor());

    const double gap = startPoint.distanceTo(endPoint);
    if (gap > 1e-10 || gap < -1e-10) {
        // The middle of the counter-clockwise arc from start to end.
        const ZrGeVector3d chord = (startPoint - endPoint).normal(ZrGeContext::gTol);
        const ZrGePoint3d middle = centre + normal.crossProduct(chord) * radius;
        auto arc = std::make_unique<ZrGeCircArc3d>();
        if (arc->set(startPoint, middle, endPoint) != Nimb::eOk)
            return nullptr; // no circle through the three points
        return arc;
    }
    const ZrGeVector3d reference = (startPoint - centre).normal(ZrGeContext::gTol);
    return std::make_unique<ZrGeCircArc3d>(centre, normal, reference, radius, 0.0, kTwoPi);
}

std::unique_ptr<ZrGeCurve3d> ellipseArc(const Geom_Ellipse& ellipse, const ZrGePoint3d& startPoint,
                                        const ZrGePoint3d& endPoint, const gp_Trsf& placement)
{
    const gp_Ax2& position = ellipse.Position();
    const double scale = std::fabs(placement.ScaleFactor());
    auto arc = std::make_unique<ZrGeEllipArc3d>(
        worldPoint(position.Location(), placement),
        worldDirection(position.XDirection(), placement).normal(ZrGeContext::gTol),
        worldDirection(position.YDirection(), placement).normal(ZrGeContext::gTol), ellipse.MajorRadius() * scale,
        ellipse.MinorRadius() * scale);
    const double startAngle = arc->paramOf(startPoint, ZrGeContext::gTol);
    double endAngle = arc->paramOf(endPoint, ZrGeContext::gTol);
    if (nearlyEqual(startAngle, endAngle, 1e-10))
        endAngle += kTwoPi;
    arc->setAngles(startAngle, endAngle);
    return arc;
}

// A periodic spline turned non-periodic keeps one period, starting at its
// first knot. When the edge runs across that point, start the period at the
// edge's start instead, so the edge stays in one piece.
void openAtEdgeStart(Geom_BSplineCurve& spline, const TopoDS_Edge& edge)
{
    if (edge.IsNull())
        return;
    double first = 0.0, last = 0.0;
    BRep_Tool::Range(edge, first, last);
    const double tol = Precision::PConfusion();
    if (first >= spline.FirstParameter() - tol && last <= spline.LastParameter() + tol)
        return;
    spline.SetOrigin(first, tol);
}

// Two distinct kernel knots closer than the host's knot tolerance are one
// knot to the host, and their multiplicities add up past what the degree
// allows.
bool hasKnotsTheHostMerges(const Geom_BSplineCurve& spline)
{
    for (int i = 2; i <= spline.NbKnots(); ++i)
        if (spline.Knot(i) - spline.Knot(i - 1) <= ZrGeKnotVector::globalKnotTolerance)
            return true;
    return false;
}

// Where such knots lie outside the edge, the piece of the spline the edge
// uses (the same curve, with the same parameters) leaves them out.
void keepEdgePieceOnly(Handle(Geom_BSplineCurve)& spline, const TopoDS_Edge& edge)
{
    if (edge.IsNull() || !hasKnotsTheHostMerges(*spline))
        return;
    double first = 0.0, last = 0.0;
    BRep_Tool::Range(edge, first, last);
    first = std::max(first, spline->FirstParameter());
    last = std::min(last, spline->LastParameter());
    if (!(last > first + Precision::PConfusion()))
        return;
    Handle(Geom_BSplineCurve) piece = Handle(Geom_BSplineCurve)::DownCast(spline->Copy());
    try {
        piece->Segment(first, last);
    } catch (const Standard_Failure&) {
        return;
    }
    if (!hasKnotsTheHostMerges(*piece))
        spline = piece;
}

std::unique_ptr<ZrGeNurbCurve3d> hostSpline(const Geom_BSplineCurve& spline, const gp_Trsf& placement)
{
    ZrGeKnotVector knots(ZrGeKnotVector::globalKnotTolerance);
    for (int i = 1; i <= spline.NbKnots(); ++i)
        for (int m = 0; m < spline.Multiplicity(i); ++m)
            knots.append(spline.Knot(i));
    ZrGePoint3dArray controlPoints;
    ZrGeDoubleArray weights;
    for (int i = 1; i <= spline.NbPoles(); ++i) {
        controlPoints.append(worldPoint(spline.Pole(i), placement));
        if (spline.IsRational())
            weights.append(spline.Weight(i));
    }
    return std::make_unique<ZrGeNurbCurve3d>(spline.Degree(), knots, controlPoints, weights, spline.IsPeriodic());
}

std::unique_ptr<ZrGeCurve3d> splineCurve(const TopoDS_Edge& edge, Handle(Geom_BSplineCurve) spline,
                                         const ZrGePoint3d& startPoint, const ZrGePoint3d& endPoint,
                                         const gp_Trsf& placement)
{
    if (spline->IsPeriodic()) {
        // Work on a copy: the kernel curve may be shared with other threads.
        spline = Handle(Geom_BSplineCurve)::DownCast(spline->Copy());
        openAtEdgeStart(*spline, edge);
        spline->SetNotPeriodic();
    }
    keepEdgePieceOnly(spline, edge);
    if (spline->Degree() == 1 && spline->NbPoles() == 2)
        return segment(startPoint, endPoint);

    std::unique_ptr<ZrGeNurbCurve3d> curve = hostSpline(*spline, placement);
    // Ends within a millionth of the curve's size count as the curve's own.
    const double size = GeExInterface::get().curveSize(*curve);
    ZrGeTol endTol;
    endTol.setEqualPoint(size * 1e-6);
    endTol.setEqualVector(size * 1e-6);
    ZrGeInterval range(1e-12);
    curve->getInterval(range);
    double lower = range.lowerBound();
    double upper = range.upperBound();
    if (!curve->startPoint().isEqualTo(startPoint, endTol))
        lower = curve->paramOf(startPoint, ZrGeContext::gTol);
    if (!curve->endPoint().isEqualTo(endPoint, endTol))
        upper = curve->paramOf(endPoint, ZrGeContext::gTol);
    if (!(upper > lower + 1e-10) || !curve->setInterval(ZrGeInterval(lower, upper, 1e-12)))
        return nullptr;
    return curve;
}

// The parameters, on conic, of the edge's two vertex points. Vertex points
// carry the edge's location while the conic does not: bring them into the
// conic's frame first.
bool vertexParameters(const TopoDS_Edge& edge, const Geom_Conic& conic, double& first, double& last)
{
    const TopoDS_Vertex firstVertex = TopExp::FirstVertex(edge, false);
    const TopoDS_Vertex lastVertex = TopExp::LastVertex(edge, false);
    if (firstVertex.IsNull() || lastVertex.IsNull())
        return false;
    TopLoc_Location location;
    double from = 0.0, to = 0.0;
    BRep_Tool::Curve(edge, location, from, to);
    const gp_Trsf toConic = location.Transformation().Inverted();
    const gp_Pnt p1 = BRep_Tool::Pnt(firstVertex).Transformed(toConic);
    const gp_Pnt p2 = BRep_Tool::Pnt(lastVertex).Transformed(toConic);
    const gp_Ax2& position = conic.Position();
    if (const auto* hyperbola = dynamic_cast<const Geom_Hyperbola*>(&conic)) {
        first = ElCLib::HyperbolaParameter(position, hyperbola->MajorRadius(), hyperbola->MinorRadius(), p1);
        last = ElCLib::HyperbolaParameter(position, hyperbola->MajorRadius(), hyperbola->MinorRadius(), p2);
    } else {
        first = ElCLib::ParabolaParameter(position, p1);
        last = ElCLib::ParabolaParameter(position, p2);
    }
    return last > first + 1e-10;
}

std::unique_ptr<ZrGeCurve3d> convertedSpline(const Convert_ConicToBSplineCurve& converter, const gp_Trsf& toWorld)
{
    ZrGePoint3dArray controlPoints;
    ZrGeDoubleArray weights;
    for (int i = 1; i <= converter.NbPoles(); ++i) {
        const gp_Pnt2d pole = converter.Pole(i);
        controlPoints.append(worldPoint(gp_Pnt(pole.X(), pole.Y(), 0.0), toWorld));
        weights.append(converter.Weight(i));
    }
    ZrGeKnotVector knots(ZrGeKnotVector::globalKnotTolerance);
    for (int i = 1; i <= converter.NbKnots(); ++i)
        for (int m = 0; m < converter.Multiplicity(i); ++m)
            knots.append(converter.Knot(i));
    return std::make_unique<ZrGeNurbCurve3d>(converter.Degree(), knots, controlPoints, weights,
                                             converter.IsPeriodic());
}

std::unique_ptr<ZrGeCurve3d> conicSpline(const TopoDS_Edge& edge, const Geom_Conic& conic, const gp_Trsf& placement)
{
    double first = 0.0, last = 0.0;
    if (!vertexParameters(edge, conic, first, last))
        return nullptr;
    // The conic's plane coordinates to world: into the conic's own frame,
    // then by the placement.
    gp_Trsf toConic;
    toConic.SetTransformation(gp_Ax3(conic.Position()), gp_Ax3());
    const gp_Trsf toWorld = placement.Multiplied(toConic);

    const gp_Ax22d plane(gp_Pnt2d(0.0, 0.0), gp_Dir2d(1.0, 0.0), gp_Dir2d(0.0, 1.0));
    if (const auto* hyperbola = dynamic_cast<const Geom_Hyperbola*>(&conic)) {
        const gp_Hypr2d planar(plane, hyperbola->MajorRadius(), hyperbola->MinorRadius());
        return convertedSpline(Convert_HyperbolaToBSplineCurve(planar, first, last), toWorld);
    }
    const gp_Parab2d planar(plane, static_cast<const Geom_Parabola&>(conic).Focal());
    return convertedSpline(Convert_ParabolaToBSplineCurve(planar, first, last), toWorld);
}

} // namespace

bool nearlyEqual(double a, double b, double tol)
{
    const double difference = std::fabs(a - b);
    if (difference <= tol)
        return true;
    if (tol >= 1e-7)
        return false;
    return difference / std::max(std::fabs(a), std::fabs(b)) <= tol;
}

std::unique_ptr<ZrGeCurve3d> convertEdgeCurve(const TopoDS_Edge& edge, Handle(Geom_Curve) curve,
                                              const ZrGePoint3d& startPoint, const ZrGePoint3d& endPoint,
                                              const gp_Trsf& placement)
{
    // A trimmed curve only bounds its basis, and the edge's points bound the
    // result anyway: convert the basis (readers wrap seam circles this way).
    while (auto trimmed = Handle(Geom_TrimmedCurve)::DownCast(curve))
        curve = trimmed->BasisCurve();
    if (curve.IsNull() || curve->IsKind(STANDARD_TYPE(Geom_Line)))
        return segment(startPoint, endPoint);
    if (auto circle = Handle(Geom_Circle)::DownCast(curve))
        return circleArc(*circle, startPoint, endPoint, placement);
    if (auto spline = Handle(Geom_BSplineCurve)::DownCast(curve))
        return splineCurve(edge, spline, startPoint, endPoint, placement);
    if (auto ellipse = Handle(Geom_Ellipse)::DownCast(curve))
        return ellipseArc(*ellipse, startPoint, endPoint, placement);
    if (curve->IsKind(STANDARD_TYPE(Geom_Hyperbola)) || curve->IsKind(STANDARD_TYPE(Geom_Parabola)))
        return conicSpline(edge, static_cast<const Geom_Conic&>(*curve), placement);
    return nullptr;
}

EdgeCurve edgeCurveOf(const TopoDS_Edge& edge, const gp_Trsf& shapeTrsf)
{
    EdgeCurve result;
    TopLoc_Location location;
    result.curve = BRep_Tool::Curve(edge, location, result.first, result.last);
    result.placement = shapeTrsf;
    if (!location.IsIdentity())
        result.placement.Multiply(location.Transformation());
    return result;
}
