#pragma once
// Point and curve entities.
#include "ZrDbEntity.h"

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

protected:
    ZrDbCurve() = default;
};

class ZrDbLine : public ZrDbCurve {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbLine);
    ZrDbLine() = default;
};

class ZrDbCircle : public ZrDbCurve {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbCircle);
    ZrDbCircle() = default;
};

class ZrDbArc : public ZrDbCurve {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbArc);
    ZrDbArc() = default;
};

class ZrDbEllipse : public ZrDbCurve {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbEllipse);
    ZrDbEllipse() = default;
};

class ZrDbSpline : public ZrDbCurve {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbSpline);
    ZrDbSpline() = default;
};
