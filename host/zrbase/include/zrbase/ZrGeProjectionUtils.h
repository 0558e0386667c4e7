#pragma once
// Parameter curves of space curves that lie on surfaces.
#include "ZrGeCurve2d.h"
#include "ZrGeCurve3d.h"
#include "ZrGeSurface.h"

class ZrGeProjectionUtils {
public:
    enum Flags {
        // Always give a NURBS 2D curve; without it a straight parameter
        // line comes out as a ZrGeLineSeg2d.
        kNurbsResult = 4,
    };

    // Finds the parameter curve of the part of curve over range on surface,
    // that is the 2D curve c with surface(c(t)) = curve(t) for t in range:
    // the 2D curve keeps the parameterisation of the space curve, and
    // resultRange is range again. The curve must lie on the surface: the
    // result is accepted only when, along its whole length, the surface point
    // of the 2D curve is within tol's point value of the space curve.
    //
    // On success, result is a new curve owned by the caller. On failure
    // (range not bounded, curve off the surface, no projection found)
    // result is null and the answer is false.
    static bool projectCurveOnSurface(const ZrGeCurve3d& curve, const ZrGeInterval& range,
                                      const ZrGeSurface& surface, ZrGeCurve2d*& result,
                                      ZrGeInterval& resultRange, const ZrGeTol& tol, int flags = 0);
};
