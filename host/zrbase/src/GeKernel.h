#pragma once
// Bridges from the host geometry classes to the modelling kernel that does
// their numerical work. Private to zrbase: nothing of the kernel shows in
// the public headers.
#include <Geom2d_BSplineCurve.hxx>
#include <Geom2d_Curve.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_Curve.hxx>
#include <Geom_Surface.hxx>
#include <gp_Dir.hxx>
#include <gp_Pnt.hxx>
#include <gp_Pnt2d.hxx>
#include <gp_Vec.hxx>

#include <memory>
#include <utility>

#include "zrbase/ZrGeCurve3d.h"
#include "zrbase/ZrGeNurbCurve2d.h"
#include "zrbase/ZrGeNurbCurve3d.h"
#include "zrbase/ZrGeNurbSurface.h"
#include "zrbase/ZrGeSurface.h"

// The kernel form a host spline keeps (see ZrGeEntity.h).
class ZrGeKernelData {
public:
    explicit ZrGeKernelData(Handle(Standard_Transient) kernel) : object(std::move(kernel)) {}
    const Handle(Standard_Transient) object;
};

// Reads the kept kernel form of the host splines.
class GeKernelAccess {
public:
    template <typename Spline>
    static Handle(Standard_Transient) kept(const Spline& spline)
    {
        return spline.m_kernel ? spline.m_kernel->object : Handle(Standard_Transient)();
    }
};

namespace GeKernel {

inline gp_Pnt toGp(const ZrGePoint3d& p) { return gp_Pnt(p.x, p.y, p.z); }
inline gp_Pnt2d toGp(const ZrGePoint2d& p) { return gp_Pnt2d(p.x, p.y); }
inline gp_Vec toGp(const ZrGeVector3d& v) { return gp_Vec(v.x, v.y, v.z); }
inline gp_Dir toGpDir(const ZrGeVector3d& v) { return gp_Dir(v.x, v.y, v.z); }
inline ZrGePoint3d toZr(const gp_Pnt& p) { return ZrGePoint3d(p.X(), p.Y(), p.Z()); }
inline ZrGePoint2d toZr(const gp_Pnt2d& p) { return ZrGePoint2d(p.X(), p.Y()); }
inline ZrGeVector3d toZr(const gp_Vec& v) { return ZrGeVector3d(v.X(), v.Y(), v.Z()); }

// The kernel spline of a host spline, built once when its data were
// checked; null for invalid data. The kernel object is shared: read only.
inline Handle(Geom_BSplineCurve) spline(const ZrGeNurbCurve3d& curve)
{
    return Handle(Geom_BSplineCurve)::DownCast(GeKernelAccess::kept(curve));
}
inline Handle(Geom2d_BSplineCurve) spline(const ZrGeNurbCurve2d& curve)
{
    return Handle(Geom2d_BSplineCurve)::DownCast(GeKernelAccess::kept(curve));
}
inline Handle(Geom_BSplineSurface) spline(const ZrGeNurbSurface& surface)
{
    return Handle(Geom_BSplineSurface)::DownCast(GeKernelAccess::kept(surface));
}

// A new kernel spline from host data, or null when the kernel refuses them.
Handle(Geom_BSplineCurve) buildSpline(const ZrGeNurbCurve3d& curve);
Handle(Geom2d_BSplineCurve) buildSpline(const ZrGeNurbCurve2d& curve);
Handle(Geom_BSplineSurface) buildSpline(const ZrGeNurbSurface& surface);

// Host curves made from kernel splines (non-periodic ones).
ZrGeNurbCurve3d hostCurve(const Handle(Geom_BSplineCurve)& spline);
ZrGeNurbCurve2d hostCurve(const Handle(Geom2d_BSplineCurve)& spline);

// A kernel curve tracing a host curve: the host point at parameter t is the
// kernel point at t + shift.
struct Curve {
    Handle(Geom_Curve) curve;
    double shift = 0.0;
};
Curve curve(const ZrGeCurve3d& curve);

// A kernel surface holding a host surface, with the map from kernel
// parameters (u, v) to host ones: (scaleU * u + offsetU, scaleV * v + offsetV).
struct Surface {
    Handle(Geom_Surface) surface;
    double scaleU = 1.0, offsetU = 0.0;
    double scaleV = 1.0, offsetV = 0.0;

    // True when the kernel surface's normal (dP/du x dP/dv) points the other
    // way from the host surface's normal (a negative radius, a negative
    // torus tube radius).
    bool reversedNormal = false;

    ZrGePoint2d toHost(const gp_Pnt2d& p) const
    {
        return ZrGePoint2d(scaleU * p.X() + offsetU, scaleV * p.Y() + offsetV);
    }
    gp_Pnt2d toKernel(const ZrGePoint2d& p) const
    {
        return gp_Pnt2d((p.x - offsetU) / scaleU, (p.y - offsetV) / scaleV);
    }
};
Surface surface(const ZrGeSurface& surface);

// The parameter, within [first, last], of the point of the kernel curve
// nearest to point: the best of the perpendicular feet and the two ends.
double nearestParam(const Handle(Geom_Curve)& curve, const gp_Pnt& point, double first, double last);
double nearestParam(const Handle(Geom2d_Curve)& curve, const gp_Pnt2d& point, double first, double last);

// A parameter curve on a surface that closes on itself without repeating
// (a spline surface whose two sides meet) may come out of a projection
// beyond the surface's parameter range by whole widths of it: moved back
// into the range over [first, last]. Other curves come back unchanged.
Handle(Geom2d_Curve) intoClosedRange(const Handle(Geom2d_Curve)& curve, const Geom_Surface& surface, double first,
                                     double last);

} // namespace GeKernel
