#include <BndLib_Add3dCurve.hxx>
#include <Bnd_Box.hxx>
#include <GeomAdaptor_Curve.hxx>
#include <Standard_Failure.hxx>

#include <cmath>
#include <memory>

#include "GeKernel.h"
#include "zrbase/GeExInterface.h"
#include "zrbase/ZrGeLineSeg2d.h"
#include "zrbase/ZrGeLineSeg3d.h"

namespace {

ZrGeNurbCurve2d* lineAsSpline(const ZrGeLineSeg2d& line)
{
    ZrGeInterval range;
    line.getInterval(range);
    if (!(range.upperBound() > range.lowerBound()))
        return nullptr;
    ZrGeKnotVector knots;
    for (double knot : {range.lowerBound(), range.lowerBound(), range.upperBound(), range.upperBound()})
        knots.append(knot);
    ZrGePoint2dArray points;
    points.append(line.startPoint());
    points.append(line.endPoint());
    return new ZrGeNurbCurve2d(1, knots, points, ZrGeDoubleArray(), false);
}

// The same curve over [0, 1]: every knot mapped linearly.
ZrGeNurbCurve2d* overUnitInterval(const ZrGeNurbCurve2d& spline)
{
    const double lower = spline.startParam();
    const double scale = 1.0 / (spline.endParam() - lower);
    ZrGeKnotVector knots(spline.knots().tolerance() * scale);
    for (int i = 0; i < spline.numKnots(); ++i)
        knots.append((spline.knotAt(i) - lower) * scale);
    return new ZrGeNurbCurve2d(spline.degree(), knots, spline.controlPoints(), spline.weights(),
                               spline.isPeriodicFlag());
}

} // namespace

GeExInterface& GeExInterface::get()
{
    static GeExInterface instance;
    return instance;
}

double GeExInterface::curveSize(const ZrGeCurve3d& curve) const
{
    if (curve.type() == ZrGe::kLineSeg3d)
        return static_cast<const ZrGeLineSeg3d&>(curve).length();
    const GeKernel::Curve kernel = GeKernel::curve(curve);
    ZrGeInterval range;
    curve.getInterval(range);
    if (kernel.curve.IsNull() || !range.isBounded())
        return 0.0;
    try {
        Bnd_Box box;
        const GeomAdaptor_Curve adaptor(kernel.curve, range.lowerBound() + kernel.shift,
                                        range.upperBound() + kernel.shift);
        BndLib_Add3dCurve::AddOptimal(adaptor, 0.0, box);
        return box.IsVoid() ? 0.0 : std::sqrt(box.SquareExtent());
    } catch (const Standard_Failure&) {
        return 0.0;
    }
}

ZrGeNurbCurve2d* GeExInterface::convertToNurbCurve(const ZrGeCurve2d& curve, const ZrGeTol&,
                                                    bool sameParameter) const
{
    std::unique_ptr<ZrGeNurbCurve2d> spline;
    if (curve.type() == ZrGe::kLineSeg2d)
        spline.reset(lineAsSpline(static_cast<const ZrGeLineSeg2d&>(curve)));
    else if (curve.type() == ZrGe::kNurbCurve2d && static_cast<const ZrGeNurbCurve2d&>(curve).isValid())
        spline.reset(static_cast<const ZrGeNurbCurve2d&>(curve).copy());
    if (spline && !sameParameter)
        spline.reset(overUnitInterval(*spline));
    return spline.release();
}
