#pragma once
// NURBS surfaces.
#include <memory>

#include "ZrArray.h"
#include "ZrGeKnotVector.h"
#include "ZrGeSurface.h"

// A tensor-product NURBS surface.
//
// Definition: degrees pu and pv, nu x nv control points, optional weights
// (none for a polynomial surface, else one positive weight per control
// point) and flat knot vectors of nu + pu + 1 and nv + pv + 1 knots, with the
// same rules as ZrGeNurbCurve3d. Control points and weights are stored row
// by row with the u index outer: the point (i, j) is at index i * nv + j,
// so v varies fastest. The surface spans its natural rectangle
// [ku[pu], ku[nu]] x [kv[pv], kv[nv]]; u and v are its two knot parameters.
//
// Property flags per direction: 0 for an open direction, kPeriodic for a
// direction written out as a closed, unclamped spline (see
// ZrGeNurbCurve3d), which then wraps around on evaluation.
//
// The tolerance given with the data merges knots closer than its point
// value (at least the knot vectors' own tolerance). Data that break the
// rules make an invalid surface (isValid false) with no points.
//
// Normal: the direction of dP/du x dP/dv.
class ZrGeNurbSurface : public ZrGeSurface {
public:
    enum Property { kPeriodic = 1 };

    ZrGeNurbSurface(); // invalid, empty surface
    ZrGeNurbSurface(int degreeInU, int degreeInV, int propsInU, int propsInV, int numControlPointsInU,
                    int numControlPointsInV, const ZrGePoint3dArray& controlPoints, const ZrGeDoubleArray& weights,
                    const ZrGeKnotVector& uKnots, const ZrGeKnotVector& vKnots,
                    const ZrGeTol& tol = ZrGeContext::gTol);

    ZrGe::EntityId type() const override { return ZrGe::kNurbSurface; }
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kNurbSurface || ZrGeSurface::isKindOf(kind);
    }
    ZrGeNurbSurface* copy() const override { return new ZrGeNurbSurface(*this); }

    bool isValid() const override { return m_valid; }
    int degreeInU() const { return m_degreeU; }
    int degreeInV() const { return m_degreeV; }
    int numControlPointsInU() const { return m_countU; }
    int numControlPointsInV() const { return m_countV; }
    ZrGePoint3d controlPointAt(int indexU, int indexV) const { return m_points[indexU * m_countV + indexV]; }
    const ZrGePoint3dArray& controlPoints() const { return m_points; }
    bool isRational() const { return !m_weights.isEmpty(); }
    double weightAt(int indexU, int indexV) const;
    const ZrGeDoubleArray& weights() const { return m_weights; }
    const ZrGeKnotVector& uKnots() const { return m_uKnots; }
    const ZrGeKnotVector& vKnots() const { return m_vKnots; }
    bool isPeriodicInU() const { return m_periodicU; }
    bool isPeriodicInV() const { return m_periodicV; }

    ZrGePoint3d evalPoint(const ZrGePoint2d& param) const override;
    ZrGeVector3d normalAt(const ZrGePoint2d& param) const override;
    ZrGePoint2d paramOf(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const override;
    void getEnvelope(ZrGeInterval& rangeU, ZrGeInterval& rangeV) const override;

private:
    void validate();

    int m_degreeU = 0;
    int m_degreeV = 0;
    int m_countU = 0;
    int m_countV = 0;
    ZrGePoint3dArray m_points;
    ZrGeDoubleArray m_weights;
    ZrGeKnotVector m_uKnots;
    ZrGeKnotVector m_vKnots;
    bool m_periodicU = false;
    bool m_periodicV = false;
    bool m_valid = false;
    std::shared_ptr<const ZrGeKernelData> m_kernel;
    friend class GeKernelAccess;
};
