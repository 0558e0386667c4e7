#pragma once
// Points and vectors in a plane, used for surface parameters and parameter curves.
#include "ZrArray.h"
#include "ZrGeTol.h"

class ZrGeVector2d;

class ZrGePoint2d {
public:
    ZrGePoint2d() = default;
    ZrGePoint2d(double xx, double yy) : x(xx), y(yy) {}

    double distanceTo(const ZrGePoint2d& other) const;
    // True when the distance is at most the tolerance's point value.
    bool isEqualTo(const ZrGePoint2d& other, const ZrGeTol& tol = ZrGeContext::gTol) const;

    ZrGePoint2d operator+(const ZrGeVector2d& v) const;
    ZrGePoint2d operator-(const ZrGeVector2d& v) const;
    ZrGeVector2d operator-(const ZrGePoint2d& other) const;
    bool operator==(const ZrGePoint2d& o) const { return x == o.x && y == o.y; }
    bool operator!=(const ZrGePoint2d& o) const { return !(*this == o); }

    static const ZrGePoint2d kOrigin;
    double x = 0.0, y = 0.0;
};

class ZrGeVector2d {
public:
    ZrGeVector2d() = default;
    ZrGeVector2d(double xx, double yy) : x(xx), y(yy) {}

    double length() const;
    double dotProduct(const ZrGeVector2d& v) const { return x * v.x + y * v.y; }
    ZrGeVector2d operator*(double s) const { return {x * s, y * s}; }
    ZrGeVector2d operator+(const ZrGeVector2d& v) const { return {x + v.x, y + v.y}; }
    ZrGeVector2d operator-(const ZrGeVector2d& v) const { return {x - v.x, y - v.y}; }
    bool operator==(const ZrGeVector2d& o) const { return x == o.x && y == o.y; }

    double x = 0.0, y = 0.0;
};

using ZrGePoint2dArray = ZrArray<ZrGePoint2d>;
