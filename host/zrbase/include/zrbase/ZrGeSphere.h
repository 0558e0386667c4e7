#pragma once
// Spheres.
#include "ZrGeSurface.h"

// With r = |radius|, Y = northAxis x refAxis:
//     P(u, v) = centre + r * (cos v * (cos u * refAxis + sin u * Y) + sin v * northAxis)
// u is the longitude, measured from refAxis and running counter-clockwise
// seen from the north pole; v is the latitude, -pi/2 at the south pole, 0 on
// the equator and pi/2 at the north pole. The constructor takes the latitude
// bounds first, then the longitude bounds; the longitude range is at most one
// turn (normalised as for arcs) and the latitude range is cut to
// [-pi/2, pi/2].
//
// Normal: away from the centre for a positive radius, toward it for a
// negative one. The axes are stored with unit length, refAxis made
// perpendicular to the north axis.
class ZrGeSphere : public ZrGeSurface {
public:
    ZrGeSphere(); // unit sphere about the origin, north +Z, whole
    ZrGeSphere(double radius, const ZrGePoint3d& centre, const ZrGeVector3d& northAxis, const ZrGeVector3d& refAxis,
               double startLatitude, double endLatitude, double startLongitude, double endLongitude);
    ZrGeSphere& set(double radius, const ZrGePoint3d& centre, const ZrGeVector3d& northAxis,
                    const ZrGeVector3d& refAxis, double startLatitude, double endLatitude, double startLongitude,
                    double endLongitude);

    ZrGe::EntityId type() const override { return ZrGe::kSphere; }
    bool isKindOf(ZrGe::EntityId kind) const override
    {
        return kind == ZrGe::kSphere || ZrGeSurface::isKindOf(kind);
    }
    ZrGeSphere* copy() const override { return new ZrGeSphere(*this); }

    double radius() const { return m_radius; }
    ZrGePoint3d center() const { return m_centre; }
    ZrGeVector3d northAxis() const { return m_north; }
    ZrGeVector3d refAxis() const { return m_ref; }
    bool isOuterNormal() const { return m_radius >= 0.0; }
    void getAnglesInU(double& startLongitude, double& endLongitude) const;
    void getAnglesInV(double& startLatitude, double& endLatitude) const;

    ZrGePoint3d evalPoint(const ZrGePoint2d& param) const override;
    ZrGeVector3d normalAt(const ZrGePoint2d& param) const override;
    ZrGePoint2d paramOf(const ZrGePoint3d& point, const ZrGeTol& tol = ZrGeContext::gTol) const override;
    void getEnvelope(ZrGeInterval& rangeU, ZrGeInterval& rangeV) const override;

private:
    double m_radius = 1.0;
    ZrGePoint3d m_centre;
    ZrGeVector3d m_north{0.0, 0.0, 1.0};
    ZrGeVector3d m_ref{1.0, 0.0, 0.0};
    double m_startLat = -1.5707963267948966;
    double m_endLat = 1.5707963267948966;
    double m_startLong = -3.141592653589793;
    double m_endLong = 3.141592653589793;
};
