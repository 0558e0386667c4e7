#include <cmath>

#include "zrbase/ZrGePoint2d.h"

const ZrGePoint2d ZrGePoint2d::kOrigin(0.0, 0.0);

double ZrGePoint2d::distanceTo(const ZrGePoint2d& other) const { return (*this - other).length(); }

bool ZrGePoint2d::isEqualTo(const ZrGePoint2d& other, const ZrGeTol& tol) const
{
    return distanceTo(other) <= tol.equalPoint();
}

ZrGePoint2d ZrGePoint2d::operator+(const ZrGeVector2d& v) const { return {x + v.x, y + v.y}; }
ZrGePoint2d ZrGePoint2d::operator-(const ZrGeVector2d& v) const { return {x - v.x, y - v.y}; }
ZrGeVector2d ZrGePoint2d::operator-(const ZrGePoint2d& o) const { return {x - o.x, y - o.y}; }

double ZrGeVector2d::length() const { return std::hypot(x, y); }
