#pragma once
// Entities bounded by faces: solids and surfaces.
#include "ZrDbEntity.h"

class ZrDb3dSolid : public ZrDbEntity {
public:
    ZRRX_DECLARE_MEMBERS(ZrDb3dSolid);
    ZrDb3dSolid() = default;
};

class ZrDbSurface : public ZrDbEntity {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbSurface);
    ZrDbSurface() = default;
};
