#pragma once
// Geometry services beyond the classes' own operations.
#include "ZrGeCurve2d.h"
#include "ZrGeCurve3d.h"
#include "ZrGeNurbCurve2d.h"

class GeExInterface {
public:
    // The one instance; safe to use from several threads at once.
    static GeExInterface& get();

    // The size of a curve: the length of the diagonal of the smallest
    // axis-aligned box holding the curve over its interval. 0 for a curve
    // that is a single point. Tolerances that must scale with a curve use it.
    double curveSize(const ZrGeCurve3d& curve) const;

    // A new NURBS curve equal to curve, owned by the caller, or null for an
    // invalid curve. With sameParameter true the NURBS curve has the input's
    // interval and gives the same point for the same parameter; with
    // sameParameter false it is reparameterised linearly over [0, 1]. Lines
    // and NURBS curves, the 2D curves of this library, convert exactly; tol
    // bounds the error a conversion may make.
    ZrGeNurbCurve2d* convertToNurbCurve(const ZrGeCurve2d& curve, const ZrGeTol& tol, bool sameParameter) const;

private:
    GeExInterface() = default;
};
