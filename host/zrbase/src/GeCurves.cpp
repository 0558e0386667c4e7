// The operations every curve shares, in space and in the plane.
#include <GCPnts_AbscissaPoint.hxx>
#include <GeomAdaptor_Curve.hxx>
#include <Standard_Failure.hxx>

#include "GeKernel.h"
#include "zrbase/ZrGeCurve2d.h"
#include "zrbase/ZrGeCurve3d.h"

namespace {

template <typename Curve, typename Point>
bool startOf(const Curve& curve, Point& point)
{
    ZrGeInterval range;
    curve.getInterval(range);
    if (!range.isBoundedBelow())
        return false;
    point = curve.evalPoint(range.lowerBound());
    return true;
}

template <typename Curve, typename Point>
bool endOf(const Curve& curve, Point& point)
{
    ZrGeInterval range;
    curve.getInterval(range);
    if (!range.isBoundedAbove())
        return false;
    point = curve.evalPoint(range.upperBound());
    return true;
}

template <typename Curve, typename Point>
bool closed(const Curve& curve, const ZrGeTol& tol)
{
    Point start, end;
    return startOf(curve, start) && endOf(curve, end) && start.isEqualTo(end, tol);
}

} // namespace

void ZrGeCurve3d::getInterval(ZrGeInterval& range, ZrGePoint3d& start, ZrGePoint3d& end) const
{
    getInterval(range);
    start = evalPoint(range.lowerBound());
    end = evalPoint(range.upperBound());
}

bool ZrGeCurve3d::isOn(const ZrGePoint3d& point, const ZrGeTol& tol) const
{
    double param = 0.0;
    return isOn(point, param, tol);
}

bool ZrGeCurve3d::isOn(const ZrGePoint3d& point, double& param, const ZrGeTol& tol) const
{
    param = paramOf(point, tol);
    return evalPoint(param).isEqualTo(point, tol);
}

ZrGePoint3d ZrGeCurve3d::closestPointTo(const ZrGePoint3d& point, const ZrGeTol& tol) const
{
    return evalPoint(paramOf(point, tol));
}

bool ZrGeCurve3d::hasStartPoint(ZrGePoint3d& point) const { return startOf(*this, point); }
bool ZrGeCurve3d::hasEndPoint(ZrGePoint3d& point) const { return endOf(*this, point); }
bool ZrGeCurve3d::isClosed(const ZrGeTol& tol) const { return closed<ZrGeCurve3d, ZrGePoint3d>(*this, tol); }
bool ZrGeCurve3d::isPeriodic(double&) const { return false; }

double ZrGeCurve3d::length(double fromParam, double toParam) const
{
    const GeKernel::Curve kernel = GeKernel::curve(*this);
    if (kernel.curve.IsNull() || fromParam == toParam)
        return 0.0;
    const double low = (fromParam < toParam ? fromParam : toParam) + kernel.shift;
    const double high = (fromParam < toParam ? toParam : fromParam) + kernel.shift;
    try {
        const double length = GCPnts_AbscissaPoint::Length(GeomAdaptor_Curve(kernel.curve), low, high, 1e-10);
        return fromParam < toParam ? length : -length;
    } catch (const Standard_Failure&) {
        return 0.0;
    }
}

bool ZrGeCurve2d::isOn(const ZrGePoint2d& point, const ZrGeTol& tol) const
{
    return evalPoint(paramOf(point, tol)).isEqualTo(point, tol);
}

bool ZrGeCurve2d::hasStartPoint(ZrGePoint2d& point) const { return startOf(*this, point); }
bool ZrGeCurve2d::hasEndPoint(ZrGePoint2d& point) const { return endOf(*this, point); }
bool ZrGeCurve2d::isClosed(const ZrGeTol& tol) const { return closed<ZrGeCurve2d, ZrGePoint2d>(*this, tol); }
