#pragma once
// Exchange-kernel faces turned into face entries of the builder record.
#include <Geom_Surface.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Trsf.hxx>

#include "assembly/Colours.h"
#include "geometry/BrepRecord.h"
#include "geometry/ConversionContext.h"

// Appends to faceList the entry of face: its surface as a host surface
// placed by faceTrsf (the item's placement with the face's location), its
// direction, colour and loops (whose edges and vertices go to record, shared
// through the context's maps; shapeTrsf is the item's placement alone).
// A face whose surface kind the host has no form for (Bezier, offset and
// others), whose wires do not chain, or whose surface cannot be built is
// left out. Kernel geometry is never changed: it may be shared with other
// threads.
void convertFace(ConversionContext& context, const TopoDS_Face& face, const Handle(Geom_Surface)& surface,
                 const gp_Trsf& faceTrsf, const gp_Trsf& shapeTrsf, const ShapeColour& faceColour,
                 BrepBuilderInitialData& record, Shell& faceList);
