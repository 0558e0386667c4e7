// NURBS curves in space and in the plane. Both share the rules below;
// the kernel evaluates and trims them.
#include <Standard_Failure.hxx>

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "GeKernel.h"
#include "GeSplineChecks.h"
#include "zrbase/ZrGeNurbCurve2d.h"
#include "zrbase/ZrGeNurbCurve3d.h"

namespace {

// The kept kernel form of a curve whose data fit, or null.
template <typename Curve>
std::shared_ptr<const ZrGeKernelData> checkedKernel(const Curve& curve, int degree, const ZrGeKnotVector& knots,
                                                    int count, const ZrGeDoubleArray& weights)
{
    if (!GeSplineChecks::directionFits(degree, count, knots, Geom_BSplineCurve::MaxDegree()) ||
        !GeSplineChecks::weightsFit(weights, count))
        return nullptr;
    auto kernel = GeKernel::buildSpline(curve);
    return kernel ? std::make_shared<const ZrGeKernelData>(kernel) : nullptr;
}

// [k[p], k[n]], or [0, 0] for an invalid curve.
template <typename Curve>
void naturalInterval(const Curve& curve, double& lower, double& upper)
{
    lower = upper = 0.0;
    if (!curve.isValid())
        return;
    lower = curve.knotAt(curve.degree());
    upper = curve.knotAt(curve.numControlPoints());
}

// Keeps the kernel form of valid spline data, or empties the data when they
// do not describe a curve. Returns whether the data were valid.
template <typename Curve, typename Points>
bool keepOrEmpty(const Curve& curve, std::shared_ptr<const ZrGeKernelData>& kernel, int& degree,
                 ZrGeKnotVector& knots, Points& points, ZrGeDoubleArray& weights, bool& periodic)
{
    kernel = checkedKernel(curve, degree, knots, points.length(), weights);
    if (kernel)
        return true;
    degree = 0;
    knots = ZrGeKnotVector(knots.tolerance());
    points.removeAll();
    weights.removeAll();
    periodic = false;
    return false;
}

template <typename Curve>
void naturalRange(const Curve& curve, ZrGeInterval& range)
{
    double lower = 0.0, upper = 0.0;
    naturalInterval(curve, lower, upper);
    range.set(lower, upper);
}

// The lower or upper bound of a curve's interval.
template <typename Curve>
double boundOf(const Curve& curve, bool upper)
{
    ZrGeInterval range;
    curve.getInterval(range);
    return upper ? range.upperBound() : range.lowerBound();
}

// A periodic curve repeats: bring param into its natural interval.
template <typename Curve>
double wrappedParam(const Curve& curve, double param)
{
    double lower = 0.0, upper = 0.0;
    naturalInterval(curve, lower, upper);
    if (!curve.isPeriodicFlag() || upper <= lower || (param >= lower && param <= upper))
        return param;
    const double period = upper - lower;
    double offset = std::fmod(param - lower, period);
    if (offset < 0.0)
        offset += period;
    return lower + offset;
}

template <typename Curve>
bool trimCurve(Curve& curve, const ZrGeInterval& range)
{
    if (!curve.isValid() || !range.isBounded())
        return false;
    double lower = 0.0, upper = 0.0;
    naturalInterval(curve, lower, upper);
    const double tol = curve.knots().tolerance();
    const double from = range.lowerBound(), to = range.upperBound();
    if (from < lower - tol || to > upper + tol || to - from <= tol)
        return false;
    if (std::fabs(from - lower) <= tol && std::fabs(to - upper) <= tol)
        return true;
    const auto kept = GeKernel::spline(curve);
    if (kept.IsNull())
        return false;
    // The kept kernel spline is shared with copies of the curve: cut a copy.
    using Kernel = typename std::remove_reference_t<decltype(kept)>::element_type;
    const Handle(Kernel) kernel = Handle(Kernel)::DownCast(kept->Copy());
    try {
        kernel->Segment(std::max(from, lower), std::min(to, upper));
    } catch (const Standard_Failure&) {
        return false;
    }
    auto trimmed = GeKernel::hostCurve(kernel);
    if (!trimmed.isValid())
        return false;
    curve = trimmed;
    return true;
}

template <typename Curve, typename Point>
double nearestParamOn(const Curve& curve, const Point& point)
{
    double lower = 0.0, upper = 0.0;
    naturalInterval(curve, lower, upper);
    const auto kernel = GeKernel::spline(curve);
    if (kernel.IsNull())
        return lower;
    return GeKernel::nearestParam(kernel, GeKernel::toGp(point), lower, upper);
}

} // namespace

double ZrGeSplineEnt3d::startParam() const { return boundOf(*this, false); }
double ZrGeSplineEnt3d::endParam() const { return boundOf(*this, true); }

ZrGePoint3d ZrGeSplineEnt3d::startPoint() const { return evalPoint(startParam()); }
ZrGePoint3d ZrGeSplineEnt3d::endPoint() const { return evalPoint(endParam()); }

double ZrGeSplineEnt2d::startParam() const { return boundOf(*this, false); }
double ZrGeSplineEnt2d::endParam() const { return boundOf(*this, true); }

ZrGePoint2d ZrGeSplineEnt2d::startPoint() const { return evalPoint(startParam()); }
ZrGePoint2d ZrGeSplineEnt2d::endPoint() const { return evalPoint(endParam()); }

ZrGeNurbCurve3d::ZrGeNurbCurve3d() = default;

ZrGeNurbCurve3d::ZrGeNurbCurve3d(int degree, const ZrGeKnotVector& knots, const ZrGePoint3dArray& controlPoints,
                                 const ZrGeDoubleArray& weights, bool isPeriodic)
    : m_degree(degree), m_knots(knots), m_points(controlPoints), m_weights(weights), m_periodic(isPeriodic)
{
    validate();
}

ZrGeNurbCurve3d::ZrGeNurbCurve3d(int degree, const ZrGeKnotVector& knots, const ZrGePoint3dArray& controlPoints,
                                 bool isPeriodic)
    : ZrGeNurbCurve3d(degree, knots, controlPoints, ZrGeDoubleArray(), isPeriodic)
{
}

void ZrGeNurbCurve3d::validate()
{
    m_valid = keepOrEmpty(*this, m_kernel, m_degree, m_knots, m_points, m_weights, m_periodic);
}

void ZrGeNurbCurve3d::getInterval(ZrGeInterval& range) const { naturalRange(*this, range); }

bool ZrGeNurbCurve3d::setInterval(const ZrGeInterval& range) { return trimCurve(*this, range); }

ZrGePoint3d ZrGeNurbCurve3d::evalPoint(double param) const
{
    const auto kernel = GeKernel::spline(*this);
    return kernel.IsNull() ? ZrGePoint3d::kOrigin : GeKernel::toZr(kernel->Value(wrappedParam(*this, param)));
}

double ZrGeNurbCurve3d::paramOf(const ZrGePoint3d& point, const ZrGeTol&) const
{
    return nearestParamOn(*this, point);
}

bool ZrGeNurbCurve3d::isPeriodic(double& period) const
{
    if (!m_periodic)
        return false;
    double lower = 0.0, upper = 0.0;
    naturalInterval(*this, lower, upper);
    period = upper - lower;
    return true;
}

ZrGeNurbCurve2d::ZrGeNurbCurve2d() = default;

ZrGeNurbCurve2d::ZrGeNurbCurve2d(int degree, const ZrGeKnotVector& knots, const ZrGePoint2dArray& controlPoints,
                                 const ZrGeDoubleArray& weights, bool isPeriodic)
    : m_degree(degree), m_knots(knots), m_points(controlPoints), m_weights(weights), m_periodic(isPeriodic)
{
    validate();
}

void ZrGeNurbCurve2d::validate()
{
    m_valid = keepOrEmpty(*this, m_kernel, m_degree, m_knots, m_points, m_weights, m_periodic);
}

void ZrGeNurbCurve2d::getInterval(ZrGeInterval& range) const { naturalRange(*this, range); }

bool ZrGeNurbCurve2d::setInterval(const ZrGeInterval& range) { return trimCurve(*this, range); }

ZrGePoint2d ZrGeNurbCurve2d::evalPoint(double param) const
{
    const auto kernel = GeKernel::spline(*this);
    return kernel.IsNull() ? ZrGePoint2d::kOrigin : GeKernel::toZr(kernel->Value(wrappedParam(*this, param)));
}

double ZrGeNurbCurve2d::paramOf(const ZrGePoint2d& point, const ZrGeTol&) const
{
    return nearestParamOn(*this, point);
}
