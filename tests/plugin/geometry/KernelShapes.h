#pragma once
// Kernel curves, surfaces and faces the geometry tests share.
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRep_Tool.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_BSplineSurface.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <TopoDS_Edge.hxx>

#include <zrbase/ZrArray.h>
#include <zrbase/ZrGeNurbSurface.h>

#include <cmath>
#include <memory>

#include "KernelGeometry.h"
#include "geometry/CurveConversion.h"

namespace shapes {

inline ZrGePoint3d hostPoint(const gp_Pnt& p) { return ZrGePoint3d(p.X(), p.Y(), p.Z()); }

// The edge's curve converted the way face wires do it: between the curve's
// values at the edge's ends, placed by shapeTrsf and the edge's location.
inline std::unique_ptr<ZrGeCurve3d> convertEdge(const TopoDS_Edge& edge, const gp_Trsf& shapeTrsf = gp_Trsf())
{
    TopLoc_Location location;
    double first = 0.0, last = 0.0;
    Handle(Geom_Curve) curve = BRep_Tool::Curve(edge, location, first, last);
    gp_Trsf placement = shapeTrsf;
    if (!location.IsIdentity())
        placement.Multiply(location.Transformation());
    return convertEdgeCurve(edge, curve, hostPoint(curve->Value(first).Transformed(placement)),
                            hostPoint(curve->Value(last).Transformed(placement)), placement);
}

// A closed, periodic cubic through eight points around a wavy ring; its
// parameter runs over [0, 8).
inline Handle(Geom_BSplineCurve) periodicSpline() { return fixtures::wavyRing(); }

// A clamped cubic over [0, 2] with one interior knot.
inline Handle(Geom_BSplineCurve) openSpline(bool rational = false)
{
    TColgp_Array1OfPnt poles(1, 5);
    const gp_Pnt points[] = {{0, 0, 0}, {1, 2, 0}, {2, -1, 1}, {3, 2, 0}, {4, 0, 0}};
    for (int i = 0; i < 5; ++i)
        poles.SetValue(i + 1, points[i]);
    TColStd_Array1OfReal knots(1, 3);
    knots.SetValue(1, 0.0);
    knots.SetValue(2, 1.0);
    knots.SetValue(3, 2.0);
    TColStd_Array1OfInteger mults(1, 3);
    mults.SetValue(1, 4);
    mults.SetValue(2, 1);
    mults.SetValue(3, 4);
    if (!rational)
        return new Geom_BSplineCurve(poles, knots, mults, 3);
    TColStd_Array1OfReal weights(1, 5);
    for (int i = 1; i <= 5; ++i)
        weights.SetValue(i, i == 3 ? 2.0 : 1.0);
    return new Geom_BSplineCurve(poles, weights, knots, mults, 3);
}

// A wavy bicubic patch over [0, 1] x [0, 1] spanning (0..40, 0..40).
inline Handle(Geom_BSplineSurface) wavySurface() { return fixtures::wavyPatch(); }

// The same surface in host form (the surface conversion's job, done here
// by hand for the loop tests).
inline ZrGeNurbSurface* hostSurface(const Geom_BSplineSurface& surface)
{
    ZrGePoint3dArray points;
    for (int i = 1; i <= surface.NbUPoles(); ++i)
        for (int j = 1; j <= surface.NbVPoles(); ++j)
            points.append(hostPoint(surface.Pole(i, j)));
    const auto flat = [](const TColStd_Array1OfReal& values, const TColStd_Array1OfInteger& counts) {
        ZrGeKnotVector knots(ZrGeKnotVector::globalKnotTolerance);
        for (int i = values.Lower(); i <= values.Upper(); ++i)
            for (int m = 0; m < counts(i); ++m)
                knots.append(values(i));
        return knots;
    };
    return new ZrGeNurbSurface(surface.UDegree(), surface.VDegree(), 0, 0, surface.NbUPoles(), surface.NbVPoles(),
                               points, ZrGeDoubleArray(), flat(surface.UKnots(), surface.UMultiplicities()),
                               flat(surface.VKnots(), surface.VMultiplicities()), ZrGeContext::gTol);
}

} // namespace shapes
