#pragma once
// One work item's shape turned into host entities: 3D solids and surfaces
// built through the host's B-rep builder, or wireframe and points.
#include <TopoDS_Shape.hxx>
#include <gp_Trsf.hxx>

#include "geometry/BrepRecord.h"
#include "geometry/ConversionContext.h"
#include "geometry/EntityList.h"

// Appends the entities of shape, placed by itemTrsf, to entities: one 3D
// solid per solid; failing solids one 3D solid for all shells; failing
// shells one surface for all faces; failing faces, when wantFreeGeometry,
// curves for the edges or else points for the vertices. Nothing else of a
// shape with solids is converted.
void convertShape(ConversionContext& context, const TopoDS_Shape& shape, const gp_Trsf& itemTrsf,
                  bool wantFreeGeometry, EntityList& entities);

// Hands record to the host's builder and appends the entity made from the
// result: a 3D solid for kSolidBody, a surface for kSurfaceBody. When the
// builder gives no solid body, the same faces are tried as a surface body;
// when it gives no body at all, nothing is appended. Throws
// ZrError_NotThatKindOfClass when the builder gives something other than
// modeler geometry.
void buildBody(const BrepBuilderInitialData& record, BrepType brepType, EntityList& entities);
