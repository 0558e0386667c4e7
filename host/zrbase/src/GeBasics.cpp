#include <cmath>

#include "zrbase/ZrGePoint3d.h"
#include "zrbase/ZrGeTol.h"

ZrGeTol ZrGeContext::gTol(1e-10, 1e-12);

const ZrGePoint3d ZrGePoint3d::kOrigin(0.0, 0.0, 0.0);
const ZrGeVector3d ZrGeVector3d::kXAxis(1.0, 0.0, 0.0);
const ZrGeVector3d ZrGeVector3d::kYAxis(0.0, 1.0, 0.0);
const ZrGeVector3d ZrGeVector3d::kZAxis(0.0, 0.0, 1.0);

double ZrGePoint3d::distanceTo(const ZrGePoint3d& other) const { return (*this - other).length(); }

bool ZrGePoint3d::isEqualTo(const ZrGePoint3d& other, const ZrGeTol& tol) const
{
    return distanceTo(other) <= tol.equalPoint();
}

ZrGePoint3d ZrGePoint3d::operator+(const ZrGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
ZrGePoint3d ZrGePoint3d::operator-(const ZrGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
ZrGeVector3d ZrGePoint3d::operator-(const ZrGePoint3d& o) const { return {x - o.x, y - o.y, z - o.z}; }

double ZrGeVector3d::length() const { return std::sqrt(x * x + y * y + z * z); }

ZrGeVector3d ZrGeVector3d::crossProduct(const ZrGeVector3d& v) const
{
    return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
}

bool ZrGeVector3d::isZeroLength(const ZrGeTol& tol) const { return length() <= tol.equalPoint(); }

ZrGeVector3d ZrGeVector3d::normal(const ZrGeTol& tol) const
{
    ZrGeVector3d result(*this);
    return result.normalize(tol);
}

ZrGeVector3d& ZrGeVector3d::normalize(const ZrGeTol& tol)
{
    const double l = length();
    if (l > tol.equalPoint()) {
        x /= l;
        y /= l;
        z /= l;
    }
    return *this;
}

bool ZrGeVector3d::isCodirectionalTo(const ZrGeVector3d& v, const ZrGeTol& tol) const
{
    if (isZeroLength(tol) || v.isZeroLength(tol))
        return isZeroLength(tol) && v.isZeroLength(tol);
    return angleTo(v) <= tol.equalVector();
}

double ZrGeVector3d::angleTo(const ZrGeVector3d& v) const
{
    // atan2 of |a x b| and a.b keeps precision for nearly parallel vectors.
    return std::atan2(crossProduct(v).length(), dotProduct(v));
}

ZrGeVector3d ZrGeVector3d::perpVector() const
{
    const double ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
    if (ax == 0.0 && ay == 0.0 && az == 0.0)
        return kXAxis;
    ZrGeVector3d axis = kZAxis;
    if (ax <= ay && ax <= az)
        axis = kXAxis;
    else if (ay <= az)
        axis = kYAxis;
    return axis.crossProduct(*this).normal(ZrGeTol(0.0, 0.0));
}
