// Names in other scripts: raw bytes of a Windows code page in STEP and IGES
// files, decoded in the host's ANSI code page; UTF-8 and the formats' own
// escapes stay as they are.
#include <gtest/gtest.h>

#include <zrbase/ZrCodePage.h>
#include <zrbase/zrwin.h>
#include <zrcore/NimbHost.h>
#include <zrdb/ZrDbBlockReference.h>
#include <zrdb/ZrDbDatabase.h>
#include <zrdb/ZrDbSymbolTable.h>

#include "Fixtures.h"

namespace {

using OpenFile = int (*)(const char*, ZrDbDatabase**, bool, void (*)(int), void (*)());

// The names, as bytes the file holds: GBK "螺栓 M8" (bolt), CP1251 "Дет1"
// (part 1), UTF-8 "螺母 M8" (nut), and in STEP's escapes "垫圈 M8"
// (washer). Written under ASCII placeholders of the same length, then put
// in place.
const std::string kGbk = "\xC2\xDD\xCB\xA8 M8";
const std::string kCp1251 = "\xC4\xE5\xF2" "1";
const std::string kUtf8 = "\xE8\x9E\xBA\xE6\xAF\x8D M8";
const std::string kEscaped = "\\X2\\57AB5708\\X0\\ M8";
const std::wstring kBolt = L"\u87BA\u6813 M8";
const std::wstring kPart = L"\u0414\u0435\u04421";
const std::wstring kNut = L"\u87BA\u6BCD M8";
const std::wstring kWasher = L"\u57AB\u5708 M8";

std::string placeholder(const std::string& bytes) { return std::string(bytes.size(), '@'); }

// Three free boxes named by the raw bytes above, in a STEP or IGES file.
// The STEP file has a fourth, named with the format's escapes.
std::string namedFile(const std::string& name, bool iges)
{
    fixtures::Model model;
    const std::string names[] = {"G" + placeholder(kGbk).substr(1), "C" + placeholder(kCp1251).substr(1),
                                 "U" + placeholder(kUtf8).substr(1)};
    for (int i = 0; i < 3; ++i)
        model.addPart(fixtures::box(1, 1, 1, gp_Pnt(3 * i, 0, 0)), names[i]);
    if (!iges)
        model.addPart(fixtures::box(1, 1, 1, gp_Pnt(9, 0, 0)), "ESCAPED");
    const std::string path = fixtures::tempPath(name);
    if (iges)
        model.writeIges(path);
    else
        model.writeStep(path);
    fixtures::replaceInFile(path, names[0], kGbk);
    fixtures::replaceInFile(path, names[1], kCp1251);
    fixtures::replaceInFile(path, names[2], kUtf8);
    if (!iges)
        fixtures::replaceInFile(path, "'ESCAPED'", "'" + kEscaped + "'");
    return path;
}

// Names of the blocks that hold the boxes, in the order of the boxes.
std::vector<std::wstring> partNames(ZrDbDatabase* db)
{
    std::vector<std::wstring> names;
    for (ZrDbObjectId outer : ZrDbBlockTableRecord::cast(db->modelSpaceId().stub()->object)->entityIds()) {
        auto* reference = ZrDbBlockReference::cast(outer.stub()->object);
        auto* block = ZrDbBlockTableRecord::cast(reference->blockTableRecord().stub()->object);
        auto* inner = ZrDbBlockReference::cast(block->entityIds().at(0).stub()->object);
        names.push_back(ZrDbBlockTableRecord::cast(inner->blockTableRecord().stub()->object)->nameText().wide());
    }
    return names;
}

std::vector<std::wstring> openedNames(unsigned int codePage, const std::string& path)
{
    NimbHostOptions options;
    options.codePage = codePage;
    NimbHost host(options);
    std::string error;
    EXPECT_EQ(host.loadPlugin(L"" QUOR_BIN_DIR "/zrquor.zrx", error), Nimb::eOk) << error;
    auto open = reinterpret_cast<OpenFile>(host.pluginSymbol("nimbOpenFile"));
    ZrDbDatabase* db = nullptr;
    EXPECT_EQ(open(path.c_str(), &db, false, nullptr, nullptr), 0);
    if (!db)
        return {};
    std::vector<std::wstring> names = partNames(db);
    EXPECT_TRUE(db->openObjects().empty());
    EXPECT_TRUE(db->reportedErrors().empty());
    releaseDb(db);
    return names;
}

} // namespace

TEST(CodePages, TheHostsCodePageComesFromItsSettingOrTheLocale)
{
    struct Case {
        const char* locale;
        unsigned int codePage;
    } cases[] = {
        {"", 1252},           {"C", 1252},           {"POSIX", 1252},       {"en_US.UTF-8", 1252},
        {"de_DE@euro", 1252}, {"ru_RU.UTF-8", 1251}, {"uk_UA", 1251},       {"zh_CN.UTF-8", 936},
        {"zh_TW.UTF-8", 950}, {"ja_JP.UTF-8", 932},  {"pl_PL", 1250},       {"el_GR", 1253},
        {"tr_TR", 1254},      {"he_IL", 1255},       {"ar_EG", 1256},       {"lt_LT", 1257},
        {"vi_VN", 1258},      {"sr_RS", 1251},       {"sr_RS@latin", 1250}, {"en_US.CP1251", 1251},
        {"C.GBK", 936},       {"zh_HK.BIG5", 950},   {"ko_KR.UTF-8", 1252},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zrCodePageOfLocale(c.locale), c.codePage) << c.locale;
    {
        NimbHostOptions options;
        options.codePage = 936;
        NimbHost host(options);
        EXPECT_EQ(GetACP(), 936u);
    }
    EXPECT_EQ(GetACP(), zrCodePageOfEnvironment());
    EXPECT_FALSE(zrIsKnownCodePage(437));
    EXPECT_TRUE(zrIsKnownCodePage(65001));
}

TEST(CodePages, StepNamesInTheHostsCodePage)
{
    const std::string path = namedFile("names.stp", false);
    // Chinese host: the GBK name decodes; the CP1251 bytes are no GBK text.
    std::vector<std::wstring> names = openedNames(936, path);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], kBolt);
    EXPECT_EQ(names[2], kNut);    // UTF-8 stays UTF-8
    EXPECT_EQ(names[3], kWasher); // and the format's escapes stay escapes
    // Russian host.
    names = openedNames(1251, path);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], L"\u0412\u042D\u041B\u0401 M8"); // GBK bytes read as CP1251
    EXPECT_EQ(names[1], kPart);
    EXPECT_EQ(names[2], kNut);
    EXPECT_EQ(names[3], kWasher);
    // Western host.
    names = openedNames(1252, path);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[1], L"\u00C4\u00E5\u00F21");
    EXPECT_EQ(names[2], kNut);
}

TEST(CodePages, IgesNamesInTheHostsCodePage)
{
    const std::string path = namedFile("names.igs", true);
    std::vector<std::wstring> names = openedNames(936, path);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], kBolt);
    EXPECT_EQ(names[2], kNut);
    names = openedNames(1251, path);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[1], kPart);
    EXPECT_EQ(names[2], kNut);
}

TEST(CodePages, RelativePathsAreReadToo)
{
    const std::string path = namedFile("relative.stp", false);
    const std::size_t slash = path.rfind('/');
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(path.substr(0, slash).c_str()), 0);
    const std::vector<std::wstring> names = openedNames(936, path.substr(slash + 1));
    ASSERT_EQ(chdir(previous), 0);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], kBolt);
}
