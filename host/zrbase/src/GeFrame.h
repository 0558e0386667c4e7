#pragma once
// A right-handed orthonormal frame from an axis and a reference direction.
// Private to zrbase.
#include "zrbase/ZrGePoint3d.h"

struct GeFrame {
    ZrGeVector3d x, y, z;

    // z is the axis made unit (+Z when it has no length); x is the part of
    // ref perpendicular to z, made unit (z.perpVector() when ref is parallel
    // to z); y = z x x.
    static GeFrame fromAxis(const ZrGeVector3d& axis, const ZrGeVector3d& ref)
    {
        const ZrGeTol exact(0.0, 0.0);
        GeFrame frame;
        frame.z = axis.isZeroLength(exact) ? ZrGeVector3d::kZAxis : axis.normal(exact);
        ZrGeVector3d inPlane = ref - frame.z * ref.dotProduct(frame.z);
        // A reference within a hair of the axis gives no usable direction.
        if (inPlane.length() <= 1e-12 * (ref.length() > 1.0 ? ref.length() : 1.0))
            inPlane = frame.z.perpVector();
        frame.x = inPlane.normal(exact);
        frame.y = frame.z.crossProduct(frame.x);
        return frame;
    }

    // Coordinates of v in this frame.
    ZrGeVector3d local(const ZrGeVector3d& v) const { return {v.dotProduct(x), v.dotProduct(y), v.dotProduct(z)}; }
    ZrGeVector3d world(double a, double b, double c) const { return x * a + y * b + z * c; }
};
