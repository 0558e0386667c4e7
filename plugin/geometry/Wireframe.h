#pragma once
// Free geometry: loose edges as curve entities, loose vertices as points.
#include <TopoDS_Shape.hxx>
#include <gp_Trsf.hxx>

#include "assembly/Colours.h"
#include "geometry/BrepAssembly.h"
#include "geometry/ConversionContext.h"

// One line, arc, circle, ellipse or spline per edge of shape, in its curve
// colour or else the shape's (its general colour, or else its curve colour);
// edges with no host form are left out.
void convertFreeEdges(ConversionContext& context, const TopoDS_Shape& shape, const gp_Trsf& itemTrsf,
                      const ShapeColour& shapeColour, EntityList& entities);

// One point per vertex of shape; points take no colour.
void convertFreeVertices(const TopoDS_Shape& shape, const gp_Trsf& itemTrsf, EntityList& entities);
