#pragma once
// Point and curve entities.
//
// Curve entities are planar or spatial curves in world coordinates. A new
// one (default-made) has no geometry until setFromGeCurve gives it some;
// its accessors then describe exactly that curve. Angles are in radians.
//
// Planar curves (circles, arcs, ellipses) lie in the plane through their
// centre perpendicular to their normal. Their angles are measured about the
// normal, counter-clockwise seen from its tip, from the plane's X axis given
// by zrdbPlaneXAxis(normal) (the drawing-exchange "arbitrary axis"
// convention), so a writer can store them in the plane's own coordinates.
#include <memory>

#include <zrbase/ZrArray.h>
#include <zrbase/ZrGeCurve3d.h>
#include <zrbase/ZrGeKnotVector.h>

#include "ZrDbEntity.h"

class ZrGeNurbCurve3d;

// The X axis of the plane with the given normal: with N the unit normal,
// (0,1,0) x N when |N.x| and |N.y| are both below 1/64, else (0,0,1) x N,
// made unit. The plane's Y axis is N x X.
ZrGeVector3d zrdbPlaneXAxis(const ZrGeVector3d& normal);

class ZrDbPoint : public ZrDbEntity {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbPoint);
    ZrDbPoint() = default;
    explicit ZrDbPoint(const ZrGePoint3d& position) : m_position(position) {}
    ZrGePoint3d position() const;
    Nimb::ErrorStatus setPosition(const ZrGePoint3d& position);
    Nimb::ErrorStatus getGeomExtents(ZrDbExtents& extents) const override;

private:
    ZrGePoint3d m_position;
};

// Base of the curve entities.
class ZrDbCurve : public ZrDbEntity {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbCurve);

    // Takes the geometry of curve: a line segment for a line, a full
    // circular arc for a circle, a circular arc for an arc, an elliptical
    // arc for an ellipse, a NURBS curve for a spline. normal, when given,
    // must be parallel to the curve's own normal (planar curves): it picks
    // which of the two sides is the normal. tol decides closedness and
    // parallelism. eWrongObjectType for a curve of another kind (or an arc
    // that is not closed, for a circle), eInvalidInput for degenerate data,
    // eNotOpenForWrite when the entity is not open for write. The entity
    // keeps nothing of curve.
    virtual Nimb::ErrorStatus setFromGeCurve(const ZrGeCurve3d& curve, const ZrGeVector3d* normal = nullptr,
                                             const ZrGeTol& tol = ZrGeContext::gTol) = 0;
    // False for an entity that has no geometry yet.
    bool hasGeometry() const;
    ZrGePoint3d startPoint() const;
    ZrGePoint3d endPoint() const;
    bool isClosed() const;

protected:
    ZrDbCurve() = default;
    virtual ZrGePoint3d pointAtStart() const = 0;
    virtual ZrGePoint3d pointAtEnd() const = 0;
    bool m_hasGeometry = false;
};

class ZrDbLine : public ZrDbCurve {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbLine);
    ZrDbLine() = default;
    ZrDbLine(const ZrGePoint3d& start, const ZrGePoint3d& end);
    Nimb::ErrorStatus setFromGeCurve(const ZrGeCurve3d& curve, const ZrGeVector3d* normal = nullptr,
                                     const ZrGeTol& tol = ZrGeContext::gTol) override;
    Nimb::ErrorStatus getGeomExtents(ZrDbExtents& extents) const override;

private:
    ZrGePoint3d pointAtStart() const override { return m_start; }
    ZrGePoint3d pointAtEnd() const override { return m_end; }
    ZrGePoint3d m_start, m_end;
};

class ZrDbCircle : public ZrDbCurve {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbCircle);
    ZrDbCircle() = default;
    ZrGePoint3d center() const;
    double radius() const;
    ZrGeVector3d normal() const; // unit length
    Nimb::ErrorStatus setFromGeCurve(const ZrGeCurve3d& curve, const ZrGeVector3d* normal = nullptr,
                                     const ZrGeTol& tol = ZrGeContext::gTol) override;
    Nimb::ErrorStatus getGeomExtents(ZrDbExtents& extents) const override;

private:
    // Start and end: the point at angle 0 (on the plane's X axis).
    ZrGePoint3d pointAtStart() const override;
    ZrGePoint3d pointAtEnd() const override { return pointAtStart(); }
    ZrGePoint3d m_centre;
    ZrGeVector3d m_normal{0.0, 0.0, 1.0};
    double m_radius = 0.0;
};

// A circular arc from its start angle counter-clockwise to its end angle.
class ZrDbArc : public ZrDbCurve {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbArc);
    ZrDbArc() = default;
    ZrGePoint3d center() const;
    double radius() const;
    ZrGeVector3d normal() const; // unit length
    // From the plane's X axis; start in [0, 2 pi), end in (start, start + 2 pi].
    double startAngle() const;
    double endAngle() const;
    Nimb::ErrorStatus setFromGeCurve(const ZrGeCurve3d& curve, const ZrGeVector3d* normal = nullptr,
                                     const ZrGeTol& tol = ZrGeContext::gTol) override;
    Nimb::ErrorStatus getGeomExtents(ZrDbExtents& extents) const override;

private:
    ZrGePoint3d pointAtStart() const override;
    ZrGePoint3d pointAtEnd() const override;
    ZrGePoint3d m_centre;
    ZrGeVector3d m_normal{0.0, 0.0, 1.0};
    double m_radius = 0.0;
    double m_start = 0.0;
    double m_end = 0.0;
};

// An ellipse or elliptical arc:
//     P(t) = centre + cos t * majorAxis + sin t * radiusRatio * (normal x majorAxis)
// from the start parameter to the end parameter, counter-clockwise about the
// normal. majorAxis is the vector from the centre to the end of the longer
// axis (its length is the major radius); radiusRatio is minor / major, in
// (0, 1]. The parameters are eccentric angles measured from majorAxis (not
// from the plane's X axis): start in [0, 2 pi), end in (start, start + 2 pi];
// a full ellipse runs from 0 to 2 pi.
class ZrDbEllipse : public ZrDbCurve {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbEllipse);
    ZrDbEllipse() = default;
    ZrGePoint3d center() const;
    ZrGeVector3d normal() const; // unit length
    ZrGeVector3d majorAxis() const;
    ZrGeVector3d minorAxis() const; // radiusRatio * (normal x majorAxis)
    double radiusRatio() const;
    double startParam() const;
    double endParam() const;
    Nimb::ErrorStatus setFromGeCurve(const ZrGeCurve3d& curve, const ZrGeVector3d* normal = nullptr,
                                     const ZrGeTol& tol = ZrGeContext::gTol) override;
    Nimb::ErrorStatus getGeomExtents(ZrDbExtents& extents) const override;

private:
    ZrGePoint3d pointAt(double param) const;
    ZrGePoint3d pointAtStart() const override { return pointAt(m_start); }
    ZrGePoint3d pointAtEnd() const override { return pointAt(m_end); }
    ZrGePoint3d m_centre;
    ZrGeVector3d m_normal{0.0, 0.0, 1.0};
    ZrGeVector3d m_major{1.0, 0.0, 0.0};
    double m_ratio = 1.0;
    double m_start = 0.0;
    double m_end = 6.283185307179586;
};

// A NURBS curve: its degree, flat knot vector, control points and, for a
// rational curve, one weight per control point (see ZrGeNurbCurve3d for the
// definition). Fit data are not kept. The curve runs over its natural
// interval, from knot[degree] to knot[numControlPoints].
class ZrDbSpline : public ZrDbCurve {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbSpline);
    ZrDbSpline();
    ~ZrDbSpline() override;
    int degree() const;
    bool isRational() const;
    // The control points describe a closed curve written out unclamped: the
    // last degree() of them repeat the first ones.
    bool isPeriodic() const;
    int numControlPoints() const;
    ZrGePoint3d controlPointAt(int index) const;
    // 1 for every control point of a curve that is not rational.
    double weightAt(int index) const;
    int numKnots() const;
    double knotAt(int index) const;
    // Everything at once; weights is empty for a curve that is not rational.
    Nimb::ErrorStatus getNurbsData(int& degree, bool& rational, bool& closed, bool& periodic,
                                   ZrGePoint3dArray& controlPoints, ZrGeKnotVector& knots,
                                   ZrGeDoubleArray& weights) const;
    Nimb::ErrorStatus setFromGeCurve(const ZrGeCurve3d& curve, const ZrGeVector3d* normal = nullptr,
                                     const ZrGeTol& tol = ZrGeContext::gTol) override;
    Nimb::ErrorStatus getGeomExtents(ZrDbExtents& extents) const override;

private:
    ZrGePoint3d pointAtStart() const override;
    ZrGePoint3d pointAtEnd() const override;
    std::unique_ptr<ZrGeNurbCurve3d> m_curve;
};
