// Pictures of drawings, looked at pixel by pixel: the model fits inside the
// picture, shows in its colours and with its edges. Runs on a display of
// its own (scripts/with-display.sh).
#include <gtest/gtest.h>

#include <cstdlib>

#include <Image_AlienPixMap.hxx>

#include <zrcore/NimbHost.h>
#include <zrdb/ZrDbDatabase.h>
#include <zrgs/ZrGsPicture.h>

#include "Fixtures.h"

namespace {

using OpenFile = int (*)(const char*, ZrDbDatabase**, bool, void (*)(int), void (*)());

struct Rgb {
    int r, g, b;
    friend bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
};

Rgb pixel(const Image_AlienPixMap& image, int x, int y)
{
    const Quantity_Color colour = image.PixelColor(x, y).GetRGB();
    return {static_cast<int>(colour.Red() * 255 + 0.5), static_cast<int>(colour.Green() * 255 + 0.5),
            static_cast<int>(colour.Blue() * 255 + 0.5)};
}

class Picture : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_EQ(host.loadPlugin(L"" QUOR_BIN_DIR "/zrquor.zrx", error), Nimb::eOk) << error;
        open = reinterpret_cast<OpenFile>(host.pluginSymbol("nimbOpenFile"));
    }

    NimbHost host;
    OpenFile open = nullptr;
};

} // namespace

TEST_F(Picture, TheSampleFitsAndShowsInItsColoursWithEdges)
{
    ZrDbDatabase* db = nullptr;
    ASSERT_EQ(open(QUOR_SAMPLE_DIR "/machine.step", &db, false, nullptr, nullptr), 0);
    const std::string path = fixtures::tempPath("machine.png");
    std::string error;
    ZrGsPictureOptions options;
    options.width = 640;
    options.height = 480;
    ASSERT_EQ(zrgsSavePicture(db, path, options, error), Nimb::eOk) << error;
    EXPECT_TRUE(db->openObjects().empty());
    releaseDb(db);

    Image_AlienPixMap image;
    ASSERT_TRUE(image.Load(path.c_str()));
    ASSERT_EQ(image.SizeX(), 640u);
    ASSERT_EQ(image.SizeY(), 480u);
    // Nothing is cut off: the frame shows only the background, which
    // changes from top to bottom and not across.
    const int w = 640, h = 480;
    for (int y = 0; y < h; ++y)
        for (int x : {0, 1, w - 2, w - 1})
            ASSERT_EQ(pixel(image, x, y), pixel(image, 0, y)) << x << "," << y;
    for (int x = 0; x < w; ++x)
        for (int y : {0, 1, h - 2, h - 1})
            ASSERT_EQ(pixel(image, x, y), pixel(image, 0, y)) << x << "," << y;
    // The red knob, the blue plate, the white ring and dark edges all show.
    int red = 0, blue = 0, white = 0, edge = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb p = pixel(image, x, y);
            red += p.r > 100 && p.r > p.g + 50 && p.r > p.b + 50;
            blue += p.b > 80 && p.b > p.r + 30 && p.b > p.g + 15 && p.b - p.r > 30;
            white += p.r > 170 && p.g > 170 && p.b > 170;
            edge += p.r < 35 && p.g < 35 && p.b < 35;
        }
    EXPECT_GT(red, 1500);
    EXPECT_GT(blue, 20000);
    EXPECT_GT(white, 500);
    EXPECT_GT(edge, 500);
}

TEST_F(Picture, RefusesWhatItCannotShow)
{
    ZrDbDatabasePtr empty = ZrDbDatabasePtr::adopt(new ZrDbDatabase(true, true));
    std::string error;
    EXPECT_EQ(zrgsSavePicture(empty.get(), fixtures::tempPath("empty.png"), ZrGsPictureOptions(), error),
              Nimb::eInvalidInput);
    EXPECT_EQ(error, "model space shows nothing");
    ZrGsPictureOptions huge;
    huge.width = 100000;
    EXPECT_EQ(zrgsSavePicture(empty.get(), "x.png", huge, error), Nimb::eInvalidInput);
    EXPECT_EQ(error, "a picture of 100000 x 960 pixels cannot be made");
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    EXPECT_EQ(zrgsSavePicture(empty.get(), "x.png", ZrGsPictureOptions(), error), Nimb::eInvalidInput);
    EXPECT_EQ(error, "no display to render on (DISPLAY is not set; run under xvfb-run)");
    setenv("DISPLAY", display.c_str(), 1);
}
