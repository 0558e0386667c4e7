#include <Bnd_Box.hxx>
#include <Extrema_GenLocateExtPS.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <Extrema_POnSurf.hxx>
#include <GeomAdaptor_Surface.hxx>
#include <Standard_Failure.hxx>

#include <algorithm>
#include <cmath>

#include "GeKernel.h"
#include "GeSplineChecks.h"
#include "zrbase/ZrGeNurbSurface.h"

namespace {

// A periodic direction repeats: bring param into [lower, upper].
double wrapped(double param, double lower, double upper, bool periodic)
{
    if (!periodic || upper <= lower || (param >= lower && param <= upper))
        return param;
    double offset = std::fmod(param - lower, upper - lower);
    if (offset < 0.0)
        offset += upper - lower;
    return lower + offset;
}

// The nearest point of the patch: the best of a sample grid, about two
// samples per control point each way, polished by a local search from there;
// when that ends farther than reach, the kernel's global search.
gp_Pnt2d nearestParams(const Handle(Geom_BSplineSurface)& surface, const gp_Pnt& point, double reach)
{
    const GeomAdaptor_Surface adaptor(surface);
    double u0 = 0.0, u1 = 0.0, v0 = 0.0, v1 = 0.0;
    surface->Bounds(u0, u1, v0, v1);
    const int samplesU = std::min(std::max(2 * surface->NbUPoles() + 1, 9), 81);
    const int samplesV = std::min(std::max(2 * surface->NbVPoles() + 1, 9), 81);
    double bestU = u0, bestV = v0;
    double best = adaptor.Value(u0, v0).SquareDistance(point);
    for (int i = 0; i < samplesU; ++i) {
        const double u = u0 + (u1 - u0) * i / (samplesU - 1);
        for (int j = 0; j < samplesV; ++j) {
            const double v = v0 + (v1 - v0) * j / (samplesV - 1);
            const double distance = adaptor.Value(u, v).SquareDistance(point);
            if (distance < best) {
                best = distance;
                bestU = u;
                bestV = v;
            }
        }
    }
    Extrema_GenLocateExtPS search(adaptor);
    search.Perform(point, bestU, bestV, true);
    if (search.IsDone() && search.SquareDistance() < best) {
        best = search.SquareDistance();
        search.Point().Parameter(bestU, bestV);
    }
    // Points of the surface itself need no global search.
    Bnd_Box box;
    for (int i = 1; i <= surface->NbUPoles(); i += std::max(1, surface->NbUPoles() - 1))
        for (int j = 1; j <= surface->NbVPoles(); j += std::max(1, surface->NbVPoles() - 1))
            box.Add(surface->Pole(i, j));
    const double size = box.IsVoid() ? 0.0 : std::sqrt(box.SquareExtent());
    reach = std::max(reach, 1e-7 * size);
    if (best > reach * reach) {
        GeomAPI_ProjectPointOnSurf global(point, surface);
        if (global.IsDone() && global.NbPoints() > 0 && global.LowerDistance() * global.LowerDistance() < best)
            global.LowerDistanceParameters(bestU, bestV);
    }
    return gp_Pnt2d(bestU, bestV);
}

} // namespace

ZrGeNurbSurface::ZrGeNurbSurface() = default;

ZrGeNurbSurface::ZrGeNurbSurface(int degreeInU, int degreeInV, int propsInU, int propsInV, int numControlPointsInU,
                                 int numControlPointsInV, const ZrGePoint3dArray& controlPoints,
                                 const ZrGeDoubleArray& weights, const ZrGeKnotVector& uKnots,
                                 const ZrGeKnotVector& vKnots, const ZrGeTol& tol)
    : m_degreeU(degreeInU), m_degreeV(degreeInV), m_countU(numControlPointsInU), m_countV(numControlPointsInV),
      m_points(controlPoints), m_weights(weights), m_uKnots(uKnots), m_vKnots(vKnots),
      m_periodicU((propsInU & kPeriodic) != 0), m_periodicV((propsInV & kPeriodic) != 0)
{
    m_uKnots.setTolerance(std::max(m_uKnots.tolerance(), tol.equalPoint()));
    m_vKnots.setTolerance(std::max(m_vKnots.tolerance(), tol.equalPoint()));
    validate();
}

void ZrGeNurbSurface::validate()
{
    m_kernel.reset();
    const int maxDegree = Geom_BSplineSurface::MaxDegree();
    const bool looksValid = GeSplineChecks::directionFits(m_degreeU, m_countU, m_uKnots, maxDegree) &&
                            GeSplineChecks::directionFits(m_degreeV, m_countV, m_vKnots, maxDegree) &&
                            m_points.length() == m_countU * m_countV &&
                            GeSplineChecks::weightsFit(m_weights, m_points.length());
    if (looksValid)
        if (auto kernel = GeKernel::buildSpline(*this))
            m_kernel = std::make_shared<const ZrGeKernelData>(kernel);
    m_valid = m_kernel != nullptr;
    if (m_valid)
        return;
    m_degreeU = m_degreeV = m_countU = m_countV = 0;
    m_points.removeAll();
    m_weights.removeAll();
    m_uKnots = ZrGeKnotVector(m_uKnots.tolerance());
    m_vKnots = ZrGeKnotVector(m_vKnots.tolerance());
    m_periodicU = m_periodicV = false;
}

double ZrGeNurbSurface::weightAt(int indexU, int indexV) const
{
    return m_weights.isEmpty() ? 1.0 : m_weights[indexU * m_countV + indexV];
}

void ZrGeNurbSurface::getEnvelope(ZrGeInterval& rangeU, ZrGeInterval& rangeV) const
{
    if (!m_valid) {
        rangeU.set(0.0, 0.0);
        rangeV.set(0.0, 0.0);
        return;
    }
    rangeU.set(m_uKnots[m_degreeU], m_uKnots[m_countU]);
    rangeV.set(m_vKnots[m_degreeV], m_vKnots[m_countV]);
}

ZrGePoint3d ZrGeNurbSurface::evalPoint(const ZrGePoint2d& param) const
{
    const auto kernel = GeKernel::spline(*this);
    if (kernel.IsNull())
        return ZrGePoint3d::kOrigin;
    ZrGeInterval rangeU, rangeV;
    getEnvelope(rangeU, rangeV);
    const double u = wrapped(param.x, rangeU.lowerBound(), rangeU.upperBound(), m_periodicU);
    const double v = wrapped(param.y, rangeV.lowerBound(), rangeV.upperBound(), m_periodicV);
    return GeKernel::toZr(kernel->Value(u, v));
}

ZrGeVector3d ZrGeNurbSurface::normalAt(const ZrGePoint2d& param) const
{
    const auto kernel = GeKernel::spline(*this);
    if (kernel.IsNull())
        return ZrGeVector3d();
    gp_Pnt point;
    gp_Vec du, dv;
    kernel->D1(param.x, param.y, point, du, dv);
    const gp_Vec normal = du.Crossed(dv);
    const double length = normal.Magnitude();
    return length > 0.0 ? GeKernel::toZr(normal / length) : ZrGeVector3d();
}

ZrGePoint2d ZrGeNurbSurface::paramOf(const ZrGePoint3d& point, const ZrGeTol& tol) const
{
    const auto kernel = GeKernel::spline(*this);
    if (kernel.IsNull())
        return ZrGePoint2d();
    try {
        return GeKernel::toZr(nearestParams(kernel, GeKernel::toGp(point), tol.equalPoint()));
    } catch (const Standard_Failure&) {
        ZrGeInterval rangeU, rangeV;
        getEnvelope(rangeU, rangeV);
        return ZrGePoint2d(rangeU.lowerBound(), rangeV.lowerBound());
    }
}
