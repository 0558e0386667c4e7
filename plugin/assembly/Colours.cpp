#include "assembly/Colours.h"

#include <Quantity_Color.hxx>
#include <Quantity_ColorRGBA.hxx>
#include <Standard_ErrorHandler.hxx>

#include <atomic>
#include <cmath>
#include <mutex>

ZrMutex colourLock;

namespace {

std::atomic<ColourQueryProbe> colourQueryProbe{nullptr};

bool isWhite(const Quantity_ColorRGBA& colour)
{
    const Quantity_Color white(1.0, 1.0, 1.0, Quantity_TOC_RGB);
    const double epsilon = Quantity_Color::Epsilon();
    return colour.GetRGB().SquareDistance(white) <= epsilon * epsilon &&
           std::fabs(colour.Alpha() - 1.0) <= epsilon;
}

ZrCmEntityColor hostColour(const Quantity_ColorRGBA& colour)
{
    ZrCmEntityColor result;
    if (isWhite(colour)) {
        result.setColorIndex(0);
        return result;
    }
    const Quantity_Color& rgb = colour.GetRGB();
    result.setRed(srgbComponent(rgb.Red()));
    result.setGreen(srgbComponent(rgb.Green()));
    result.setBlue(srgbComponent(rgb.Blue()));
    return result;
}

} // namespace

std::uint8_t srgbComponent(double linear)
{
    // The sRGB transfer function (IEC 61966-2-1).
    const double encoded = linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
    return static_cast<std::uint8_t>(static_cast<int>(encoded * 255.0));
}

ShapeColour& colourOf(ShapeColour& out, Handle(XCAFDoc_ColorTool) colourTool, const ShapeColour& parent,
                      const TopoDS_Shape& shape, XCAFDoc_ColorType type)
{
    const ShapeColour inherited = parent;
    out = ShapeColour();
    {
        // A kernel fault turns into a kernel exception at the nearest
        // handler by a jump that skips destructors on its way: the handler
        // is here, inside the locked block, so that the exception leaves
        // this frame through the guard and the lock is released.
        const std::lock_guard<ZrMutex> guard(colourLock);
        OCC_CATCH_SIGNALS
        if (const ColourQueryProbe probe = colourQueryProbe.load(std::memory_order_relaxed))
            probe();
        Quantity_ColorRGBA found;
        if (!colourTool.IsNull() && colourTool->GetColor(shape, type, found)) {
            out.hasColour = true;
            out.colour = hostColour(found);
        } else if (inherited.hasColour) {
            out.hasColour = true;
            out.colour = inherited.colour;
        }
    }
    colourTool.Nullify();
    return out;
}

void setColourQueryProbe(ColourQueryProbe probe) { colourQueryProbe.store(probe); }
