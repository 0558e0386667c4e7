#pragma once
// Colours of drawing objects.
#include <cstdint>

// A colour in four bytes, in memory order blue, green, red, method. The
// method byte says how the colour is given:
//   0xC0 by layer, 0xC1 by block, 0xC2 by red/green/blue, 0xC3 by colour
//   index (1 to 255, kept in the blue and green bytes), 0xC8 no colour.
// A default-made value is "by red/green/blue" black.
class ZrCmEntityColor {
public:
    enum ColorMethod : std::uint8_t {
        kByLayer = 0xC0,
        kByBlock = 0xC1,
        kByColor = 0xC2,
        kByIndex = 0xC3,
        kNone = 0xC8,
    };

    ZrCmEntityColor() = default;
    ZrCmEntityColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) { setRGB(red, green, blue); }
    static ZrCmEntityColor fromValue(std::uint32_t value);
    // The "no colour" value: all colour bytes 0, method kNone.
    static ZrCmEntityColor noColor();

    ColorMethod colorMethod() const { return static_cast<ColorMethod>(m_value >> 24); }
    std::uint32_t value() const { return m_value; }

    // Each of these makes the colour "by red/green/blue".
    void setRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    void setRed(std::uint8_t red);
    void setGreen(std::uint8_t green);
    void setBlue(std::uint8_t blue);
    std::uint8_t red() const { return static_cast<std::uint8_t>(m_value >> 16); }
    std::uint8_t green() const { return static_cast<std::uint8_t>(m_value >> 8); }
    std::uint8_t blue() const { return static_cast<std::uint8_t>(m_value); }

    // Index 0 means "by block", 256 "by layer", 1 to 255 a palette colour.
    // Other values are refused (false).
    bool setColorIndex(std::uint16_t index);
    // 0 by block, 256 by layer, the index for an index colour, and for
    // the other methods the palette colour nearest to the red/green/blue value.
    std::uint16_t colorIndex() const;

    friend bool operator==(ZrCmEntityColor a, ZrCmEntityColor b) { return a.m_value == b.m_value; }
    friend bool operator!=(ZrCmEntityColor a, ZrCmEntityColor b) { return a.m_value != b.m_value; }

private:
    void setMethodAndBytes(ColorMethod method, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    std::uint32_t m_value = static_cast<std::uint32_t>(kByColor) << 24;
};
static_assert(sizeof(ZrCmEntityColor) == 4, "an entity colour is four bytes");

// The colour an entity is given. A default-made colour is "by layer".
class ZrCmColor {
public:
    ZrCmColor() { m_color.setColorIndex(256); }
    void setRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) { m_color.setRGB(red, green, blue); }
    bool setColorIndex(std::uint16_t index) { return m_color.setColorIndex(index); }
    std::uint16_t colorIndex() const { return m_color.colorIndex(); }
    ZrCmEntityColor::ColorMethod colorMethod() const { return m_color.colorMethod(); }
    std::uint8_t red() const { return m_color.red(); }
    std::uint8_t green() const { return m_color.green(); }
    std::uint8_t blue() const { return m_color.blue(); }
    const ZrCmEntityColor& entityColor() const { return m_color; }
    void setEntityColor(const ZrCmEntityColor& color) { m_color = color; }

private:
    ZrCmEntityColor m_color;
};

// Red, green and blue of palette colour index (1 to 255).
void zrcmPaletteColor(int index, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue);
