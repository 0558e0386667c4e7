#pragma once
// Colours of shapes, read from the XCAF document and turned into host colours.
#include <Standard_Handle.hxx>
#include <TopoDS_Shape.hxx>
#include <XCAFDoc_ColorTool.hxx>
#include <XCAFDoc_ColorType.hxx>

#include <zrbase/ZrMutex.h>
#include <zrdb/ZrCmColor.h>

#include <cstdint>

struct ShapeColour {
    bool hasColour = false;  // found for the shape, or inherited
    ZrCmEntityColor colour;  // red/green/blue black unless found
};

// Held around every colour query: the colour tool and its document are not
// safe to use from several workers at once. Released on every path out of
// the query, a kernel fault inside it included.
extern ZrMutex colourLock;

// The colour of shape for the given colour type, or, when it has none, the
// parent's (an empty parent record passes nothing on). A white colour
// becomes colour index 0; any other is stored as red, green and blue. The
// colour tool handle is released before returning. out may be the parent.
ShapeColour& colourOf(ShapeColour& out, Handle(XCAFDoc_ColorTool) colourTool, const ShapeColour& parent,
                      const TopoDS_Shape& shape, XCAFDoc_ColorType type);

// A test hook: called inside every colour query, on the thread that asks,
// while colourLock is held. Null (none) unless a test sets one.
using ColourQueryProbe = void (*)();
void setColourQueryProbe(ColourQueryProbe probe);

// A linear colour component (0 to 1) as an 8-bit sRGB value, truncated.
std::uint8_t srgbComponent(double linear);
