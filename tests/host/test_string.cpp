#include <gtest/gtest.h>

#include <zrbase/ZrString.h>

TEST(ZrString, NarrowTextIsUtf8)
{
    const ZrString path("parts/Bauteil_\xC3\xBC\xE4\xB8\xAD.stp", ZrString::kUtf8);
    EXPECT_EQ(path.length(), 20);
    EXPECT_EQ(path[14], L'\u00FC');
    EXPECT_EQ(path[15], L'\u4E2D');
    EXPECT_EQ(path.utf8(), "parts/Bauteil_\xC3\xBC\xE4\xB8\xAD.stp");
    // A broken sequence becomes one replacement character, not a crash.
    EXPECT_EQ(ZrString("a\xC3(b", ZrString::kUtf8).wide(), std::wstring(L"a\uFFFD(b"));
}

TEST(ZrString, FindLastOneOfAndSubstrRev)
{
    const ZrString path(L"dir.v2/a.b.step");
    EXPECT_EQ(path.findLastOneOf(L"."), 10);
    EXPECT_EQ(path.findLastOneOf(L"/."), 10);
    EXPECT_EQ(path.findLastOneOf(L"#"), -1);
    EXPECT_EQ(path.substrRev(5).wide(), L".step");
    EXPECT_EQ(path.substrRev(0).wide(), L"");
    EXPECT_EQ(path.substrRev(-3).wide(), L"");
    EXPECT_EQ(path.substrRev(100), path);
}

TEST(ZrString, CompareNoCase)
{
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        int sign;
    } cases[] = {
        {L"Part", L"PART", 0},    {L".STP", L".stp", 0},    {L"\u00FCber", L"\u00DCBER", 0},
        {L"part2", L"PART", 1},   {L"", L"", 0},            {L"a", L"B", -1},
        {L"Stra\u00DFe", L"STRASSE", 1}, // no expansion of sharp s: characters compare one by one
    };
    for (const Case& c : cases) {
        const int result = ZrString(c.a).compareNoCase(c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << ZrString(c.a).utf8() << " vs " << ZrString(c.b).utf8();
    }
}

TEST(ZrString, ReplaceEveryOccurrence)
{
    ZrString name(L"a::b:c");
    EXPECT_EQ(name.replace(L":", L"_"), 3);
    EXPECT_EQ(name.wide(), L"a__b_c");
    // Inserted text is not scanned again.
    ZrString grow(L"aa");
    EXPECT_EQ(grow.replace(L"a", L"aa"), 2);
    EXPECT_EQ(grow.wide(), L"aaaa");
    ZrString same(L"x");
    EXPECT_EQ(same.replace(L"", L"y"), 0);
    EXPECT_EQ(same.replace(L'x', L'z'), 1);
    EXPECT_EQ(same.wide(), L"z");
}

TEST(ZrString, FormatAppendConcat)
{
    ZrString number;
    number.format(L"%d", 42);
    EXPECT_EQ(number.wide(), L"42");
    ZrString longText;
    longText.format(L"%ls-%d", std::wstring(5000, L'x').c_str(), 7);
    EXPECT_EQ(longText.length(), 5002);
    ZrString base(L"Bolt");
    EXPECT_EQ(base.concat(L"_2").wide(), L"Bolt_2");
    EXPECT_EQ(base.wide(), L"Bolt");
    base.append(L"3").append(L'!');
    EXPECT_EQ(base.wide(), L"Bolt3!");
}
