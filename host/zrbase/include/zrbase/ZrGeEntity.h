#pragma once
// Base classes and kind numbers of the geometry library.
#include "ZrHeap.h"

namespace ZrGe {
// The kind of a geometry object, as type() reports it and isKindOf() tests
// it. The numbers of circular arcs (11), elliptical arcs (17), line segments
// (23), 2D NURBS curves (36), 3D NURBS curves (42) and NURBS surfaces (49)
// are part of the plug-in interface and never change.
enum EntityId {
    kEntity2d = 1,
    kEntity3d = 2,
    kCurve2d = 3,
    kCurve3d = 4,
    kSurface = 5,
    kSplineEnt2d = 6,
    kSplineEnt3d = 7,
    kCircArc3d = 11,
    kEllipArc3d = 17,
    kLineSeg3d = 23,
    kLineSeg2d = 24,
    kNurbCurve2d = 36,
    kNurbCurve3d = 42,
    kNurbSurface = 49,
    kPlane = 60,
    kCylinder = 61,
    kCone = 62,
    kSphere = 63,
    kTorus = 64,
};
} // namespace ZrGe

// The evaluator a spline object keeps once its data are checked: built once,
// never changed, shared by copies. Opaque outside the library.
class ZrGeKernelData;
class GeKernelAccess;

// Geometry objects are plain values on the host heap: made with new by
// whoever needs one, owned by whoever holds the pointer, and deleted through
// the base class. They are not reference counted.
class ZrGeEntity3d : public ZrHeapOperators {
public:
    virtual ~ZrGeEntity3d() = default;
    virtual ZrGe::EntityId type() const = 0;
    // True for the object's own kind and for every kind it derives from
    // (a NURBS curve is also a spline, a 3D curve and a 3D entity).
    virtual bool isKindOf(ZrGe::EntityId kind) const { return kind == ZrGe::kEntity3d; }
    // A new object equal to this one, owned by the caller.
    virtual ZrGeEntity3d* copy() const = 0;
};

class ZrGeEntity2d : public ZrHeapOperators {
public:
    virtual ~ZrGeEntity2d() = default;
    virtual ZrGe::EntityId type() const = 0;
    virtual bool isKindOf(ZrGe::EntityId kind) const { return kind == ZrGe::kEntity2d; }
    virtual ZrGeEntity2d* copy() const = 0;
};
