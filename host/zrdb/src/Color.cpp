#include "zrdb/ZrCmColor.h"

#include <cmath>
#include <limits>

ZrCmEntityColor ZrCmEntityColor::fromValue(std::uint32_t value)
{
    ZrCmEntityColor color;
    color.m_value = value;
    return color;
}

ZrCmEntityColor ZrCmEntityColor::noColor() { return fromValue(static_cast<std::uint32_t>(kNone) << 24); }

void ZrCmEntityColor::setMethodAndBytes(ColorMethod method, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    m_value = (static_cast<std::uint32_t>(method) << 24) | (static_cast<std::uint32_t>(red) << 16) |
              (static_cast<std::uint32_t>(green) << 8) | blue;
}

void ZrCmEntityColor::setRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) { setMethodAndBytes(kByColor, r, g, b); }
void ZrCmEntityColor::setRed(std::uint8_t r) { setMethodAndBytes(kByColor, r, green(), blue()); }
void ZrCmEntityColor::setGreen(std::uint8_t g) { setMethodAndBytes(kByColor, red(), g, blue()); }
void ZrCmEntityColor::setBlue(std::uint8_t b) { setMethodAndBytes(kByColor, red(), green(), b); }

bool ZrCmEntityColor::setColorIndex(std::uint16_t index)
{
    if (index == 0)
        setMethodAndBytes(kByBlock, 0, 0, 0);
    else if (index == 256)
        setMethodAndBytes(kByLayer, 0, 0, 0);
    else if (index < 256)
        setMethodAndBytes(kByIndex, 0, 0, static_cast<std::uint8_t>(index));
    else
        return false;
    return true;
}

std::uint16_t ZrCmEntityColor::colorIndex() const
{
    switch (colorMethod()) {
    case kByBlock: return 0;
    case kByLayer: return 256;
    case kByIndex: return static_cast<std::uint16_t>(m_value & 0xFFFF);
    default: break;
    }
    // Nearest palette colour by squared distance.
    int best = 7;
    long bestDistance = std::numeric_limits<long>::max();
    for (int i = 1; i < 256; ++i) {
        std::uint8_t r, g, b;
        zrcmPaletteColor(i, r, g, b);
        const long dr = r - red(), dg = g - green(), db = b - blue();
        const long distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return static_cast<std::uint16_t>(best);
}

// The palette: 1 to 9 named colours; 10 to 249 twenty-four hues in steps of
// 15 degrees, each in five brightness levels, full and half saturation
// alternating; 250 to 255 greys.
void zrcmPaletteColor(int index, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue)
{
    static const std::uint8_t named[10][3] = {{0, 0, 0},       {255, 0, 0},   {255, 255, 0},
                                              {0, 255, 0},     {0, 255, 255}, {0, 0, 255},
                                              {255, 0, 255},   {255, 255, 255}, {128, 128, 128},
                                              {192, 192, 192}};
    static const std::uint8_t greys[6] = {51, 91, 132, 173, 214, 255};
    if (index < 1 || index > 255)
        index = 7;
    if (index < 10) {
        red = named[index][0];
        green = named[index][1];
        blue = named[index][2];
        return;
    }
    if (index >= 250) {
        red = green = blue = greys[index - 250];
        return;
    }
    static const double brightness[5] = {1.0, 0.65, 0.5, 0.3, 0.15};
    const double hue = (index - 10) / 10 * 15.0;
    const double value = brightness[(index % 10) / 2];
    const double saturation = (index % 2) ? 0.5 : 1.0;
    const double h = hue / 60.0;
    const double c = value * saturation;
    const double x = c * (1.0 - std::fabs(std::fmod(h, 2.0) - 1.0));
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h)) {
    case 0: r = c; g = x; break;
    case 1: r = x; g = c; break;
    case 2: g = c; b = x; break;
    case 3: g = x; b = c; break;
    case 4: r = x; b = c; break;
    default: r = c; b = x; break;
    }
    const double m = value - c;
    red = static_cast<std::uint8_t>((r + m) * 255.0 + 0.5);
    green = static_cast<std::uint8_t>((g + m) * 255.0 + 0.5);
    blue = static_cast<std::uint8_t>((b + m) * 255.0 + 0.5);
}
