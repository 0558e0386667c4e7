#pragma once
// Points and vectors in model space.
#include "ZrGeTol.h"

class ZrGeVector3d;

class ZrGePoint3d {
public:
    ZrGePoint3d() = default;
    ZrGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

    double distanceTo(const ZrGePoint3d& other) const;
    // True when the distance is at most the tolerance's point value.
    bool isEqualTo(const ZrGePoint3d& other, const ZrGeTol& tol = ZrGeContext::gTol) const;

    ZrGePoint3d operator+(const ZrGeVector3d& v) const;
    ZrGePoint3d operator-(const ZrGeVector3d& v) const;
    ZrGeVector3d operator-(const ZrGePoint3d& other) const;
    bool operator==(const ZrGePoint3d& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const ZrGePoint3d& o) const { return !(*this == o); }

    static const ZrGePoint3d kOrigin;
    double x = 0.0, y = 0.0, z = 0.0;
};

class ZrGeVector3d {
public:
    ZrGeVector3d() = default;
    ZrGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

    double length() const;
    double dotProduct(const ZrGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    ZrGeVector3d crossProduct(const ZrGeVector3d& v) const;
    // This vector scaled to length 1. A vector not longer than the point
    // tolerance has no direction and is returned unchanged.
    ZrGeVector3d normal(const ZrGeTol& tol = ZrGeContext::gTol) const;
    ZrGeVector3d& normalize(const ZrGeTol& tol = ZrGeContext::gTol);
    bool isZeroLength(const ZrGeTol& tol = ZrGeContext::gTol) const;
    // True when both have length 0 under the tolerance's point value, or
    // when the angle between them is at most its vector value.
    bool isCodirectionalTo(const ZrGeVector3d& v, const ZrGeTol& tol = ZrGeContext::gTol) const;
    // The angle to v in radians, 0 to pi.
    double angleTo(const ZrGeVector3d& v) const;
    // A unit vector perpendicular to this one, made from the world axis
    // least aligned with it (X, then Y, then Z on a tie). The same input
    // always gives the same answer. A zero vector gives the X axis.
    ZrGeVector3d perpVector() const;

    ZrGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
    ZrGeVector3d operator+(const ZrGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    ZrGeVector3d operator-(const ZrGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    ZrGeVector3d operator-() const { return {-x, -y, -z}; }
    bool operator==(const ZrGeVector3d& o) const { return x == o.x && y == o.y && z == o.z; }

    static const ZrGeVector3d kXAxis, kYAxis, kZAxis;
    double x = 0.0, y = 0.0, z = 0.0;
};

inline ZrGeVector3d operator*(double s, const ZrGeVector3d& v) { return v * s; }

template <typename T>
class ZrArray;
using ZrGePoint3dArray = ZrArray<ZrGePoint3d>;
