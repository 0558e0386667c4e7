// Shape colours from the XCAF document to host colours.
#include <gtest/gtest.h>

#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>

#include "Fixtures.h"
#include "assembly/Colours.h"

namespace {

ShapeColour rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    ShapeColour colour;
    colour.hasColour = true;
    colour.colour.setRGB(r, g, b);
    return colour;
}

ShapeColour indexZero()
{
    ShapeColour colour;
    colour.hasColour = true;
    colour.colour.setColorIndex(0);
    return colour;
}

TEST(Colours, SrgbEncodingTruncates)
{
    struct Case {
        double linear;
        int encoded;
    } cases[] = {
        {1.0, 254}, // 1.055 - 0.055 lies just below 1
        {0.5, 187},
        {0.002, 6}, // the linear part of the curve
        {0.0031308, 10},
        {0.0, 0},
        {0.214, 127},
    };
    for (const Case& c : cases)
        EXPECT_EQ(srgbComponent(c.linear), c.encoded) << c.linear;
}

// A box part whose faces carry surface colours: face 1 red, face 2 white,
// face 3 linear (0.5, 0.002, 0), face 4 none.
class ColouredBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        const TDF_Label part = model.addPart(box, "box");
        TopExp::MapShapes(box, TopAbs_FACE, faces);
        const Quantity_Color colours[] = {Quantity_Color(1, 0, 0, Quantity_TOC_RGB),
                                          Quantity_Color(1, 1, 1, Quantity_TOC_RGB),
                                          Quantity_Color(0.5, 0.002, 0, Quantity_TOC_RGB)};
        for (int i = 0; i < 3; ++i) {
            model.shapes->AddSubShape(part, faces(i + 1));
            model.setColour(faces(i + 1), colours[i], XCAFDoc_ColorSurf);
        }
    }

    fixtures::Model model;
    TopoDS_Shape box = fixtures::box(1, 2, 3);
    TopTools_IndexedMapOfShape faces;
};

TEST_F(ColouredBox, OwnColourOrTheParentsOrNone)
{
    struct Case {
        const char* what;
        int face;
        XCAFDoc_ColorType type;
        ShapeColour parent;
        ShapeColour expected;
    } cases[] = {
        {"red", 1, XCAFDoc_ColorSurf, {}, rgb(254, 0, 0)},
        {"own colour before the parent's", 1, XCAFDoc_ColorSurf, rgb(0, 0, 9), rgb(254, 0, 0)},
        {"white is colour index 0", 2, XCAFDoc_ColorSurf, {}, indexZero()},
        {"components encoded one by one", 3, XCAFDoc_ColorSurf, {}, rgb(187, 6, 0)},
        {"inherited", 4, XCAFDoc_ColorSurf, rgb(1, 2, 3), rgb(1, 2, 3)},
        {"white parent passes index 0 on", 4, XCAFDoc_ColorSurf, indexZero(), indexZero()},
        {"nothing anywhere", 4, XCAFDoc_ColorSurf, {}, {}},
        {"other colour type", 1, XCAFDoc_ColorCurv, {}, {}},
    };
    for (const Case& c : cases) {
        ShapeColour out = rgb(7, 7, 7);
        colourOf(out, model.colours, c.parent, faces(c.face), c.type);
        EXPECT_EQ(out.hasColour, c.expected.hasColour) << c.what;
        EXPECT_EQ(out.colour, c.expected.colour) << c.what << ": " << std::hex << out.colour.value();
    }
    EXPECT_EQ(ShapeColour().colour.value(), 0xC2000000u);
}

TEST_F(ColouredBox, ReleasesTheToolAndMayWriteOverItsParent)
{
    const auto references = model.colours->GetRefCount();
    ShapeColour colour = rgb(1, 2, 3);
    colourOf(colour, model.colours, colour, faces(4), XCAFDoc_ColorSurf);
    EXPECT_EQ(colour.colour, rgb(1, 2, 3).colour);
    colourOf(colour, model.colours, colour, faces(1), XCAFDoc_ColorSurf);
    EXPECT_EQ(colour.colour, rgb(254, 0, 0).colour);
    EXPECT_EQ(model.colours->GetRefCount(), references);

    // Without a colour tool only the parent counts.
    colourOf(colour, Handle(XCAFDoc_ColorTool)(), rgb(4, 5, 6), faces(1), XCAFDoc_ColorSurf);
    EXPECT_EQ(colour.colour, rgb(4, 5, 6).colour);
}

} // namespace
