// The install rules that need no window: payload command line, folder picker
// result, install path normalisation and shape, free space, text placeholder.
#include <windows.h>

#include <string>

#include "app/InstallRules.h"
#include "resources/ResourceIds.h"
#include "support/QuorTest.h"

QUOR_TEST(PayloadCommandLineIsTheQuotedPayloadFollowedByTheInstallPath) {
    struct Case {
        const wchar_t* folder;
        const wchar_t* installPath;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"D:\\Setup", L"C:\\Tools\\Quor\\", L"\"D:\\Setup\\files\\nimb_quor.exe\"C:\\Tools\\Quor\\"},
        {L"C:\\Users\\A B\\Quor Setup", L"C:\\Program Files\\Nimbra 2024",
         L"\"C:\\Users\\A B\\Quor Setup\\files\\nimb_quor.exe\"C:\\Program Files\\Nimbra 2024"},
        {L"\\\\server\\setup", L"", L"\"\\\\server\\setup\\files\\nimb_quor.exe\""},
    };
    for (const Case& c : cases) {
        CHECK_EQ(PayloadCommandLine(PayloadPathFor(c.folder), c.installPath).str(), std::wstring(c.expected));
    }
}

QUOR_TEST(PayloadCommandLineMustFitItsBufferWithTheNul) {
    const CString payload = PayloadPathFor(L"D:\\Setup"); // 28 characters, 30 with the quotes
    const std::wstring fits = L"C:\\" + std::wstring(259 - 30 - 3, L'a');
    CHECK_EQ(PayloadCommandLine(payload, fits.c_str()).GetLength(), 259);
    CHECK(PayloadCommandLineFits(payload, fits.c_str()));
    CHECK(!PayloadCommandLineFits(payload, (fits + L"a").c_str()));
}

QUOR_TEST(PickedFolderBecomesTheEditText) {
    struct Case {
        const wchar_t* picked;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"D:\\Apps", L"D:\\Apps\\"},
        {L"D:\\Nimbra 2024", L"D:\\Nimbra 2024"},
        {L"C:\\", L"C:\\"},
        {L"  D:\\Apps..\\\\ ", L"D:\\Apps..\\"}, // dots go before backslashes only when they end the text
        {L" D:\\Apps.. ", L"D:\\Apps\\"},
        {L"", L""},
    };
    for (const Case& c : cases) CHECK_EQ(FolderFromPicker(c.picked).str(), std::wstring(c.shown));
}

QUOR_TEST(TypedInstallPathsAreNormalisedAndJudged) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* normalised;
        int refusal; // text id, 0 when accepted
        int tipType;
    };
    const Case cases[] = {
        {L"C:\\\\Program Files\\\\Tool", L"C:\\Program Files\\Tool", 0, 0},
        {L"C:\\\\\\\\Deep", L"C:\\Deep", 0, 0},
        {L"C:\\Program Files \\Tool", L"C:\\Program Files", 0, 0},
        {L"C:\\Tools\\ Quor", L"C:\\Tools", 0, 0},
        {L"C:\\My Tool\\\\\\", L"C:\\My Tool\\", 0, 0},
        {L"\\\\server\\share", L"\\server\\share", 0, 0},
        {L"\\Tools", L"\\Tools", 0, 0},
        {L"C:\\ Tool", L"C:", IDS_PATH_ERROR, 2},
        {L"Tool", L"Tool", IDS_PATH_ERROR, 2},
        {L"", L"", IDS_PATH_ERROR, 2},
        {L"C:", L"C:", IDS_PATH_ERROR, 2},
        {L"D:Tools\\x", L"D:Tools\\x", IDS_PATH_ERROR, 2},
        {L"1:\\x:y", L"1:\\x:y", IDS_PATH_INVALID_CHARS, 2},
        {L"x\\C:\\Tools", L"x\\C:\\Tools", IDS_PATH_ERROR, 2},
        {L"C:\\", L"C:\\", IDS_PATH_IS_ROOT, 1},
        {L"\\", L"\\", IDS_PATH_IS_ROOT, 1},
        {L"C:\\a?b", L"C:\\a?b", IDS_PATH_INVALID_CHARS, 2},
        {L"C:\\Tools\\\"Quor", L"C:\\Tools\\\"Quor", IDS_PATH_INVALID_CHARS, 2},
        {L"C:\\a/b", L"C:\\a/b", IDS_PATH_INVALID_CHARS, 2},
        {L"C:\\a<b>|*", L"C:\\a<b>|*", IDS_PATH_INVALID_CHARS, 2},
        {L"\\a:b", L"\\a:b", IDS_PATH_INVALID_CHARS, 2},
    };
    for (const Case& c : cases) {
        CString path(c.typed);
        NormaliseInstallPath(path);
        CHECK_EQ(path.str(), std::wstring(c.normalised));
        const CheckVerdict verdict = CheckInstallPathShape(path);
        CHECK_EQ(verdict.accepted, c.refusal == 0);
        if (c.refusal == 0) continue;
        CHECK_EQ(verdict.textId, c.refusal);
        CHECK_EQ(verdict.tipType, c.tipType);
    }
}

QUOR_TEST(DiskSpaceRuleNeedsFiveHundredMebibytes) {
    struct Case {
        bool queried;
        ULONGLONG available;
        int result;
        int text;
    };
    const Case cases[] = {
        {true, 524288000ULL, 1, 0},
        {true, 524287999ULL, 2, IDS_DISK_TOO_SMALL},
        {true, 0, 2, IDS_DISK_TOO_SMALL},
        {true, 1ULL << 40, 1, 0},
        {false, 1ULL << 40, 0, IDS_DISK_QUERY_FAILED},
    };
    for (const Case& c : cases) {
        const DiskSpaceVerdict verdict = JudgeDiskSpace(c.queried, c.available);
        CHECK_EQ(verdict.result, c.result);
        CHECK_EQ(verdict.textId, c.text);
    }
}

QUOR_TEST(PlaceholderTakesTheValueAndNothingElseIsInterpreted) {
    CHECK_EQ(FillPlaceholder(L"File :'%s' does not exist!", L"D:\\Setup\\files\\nimb_quor.exe").str(),
             std::wstring(L"File :'D:\\Setup\\files\\nimb_quor.exe' does not exist!"));
    CHECK_EQ(FillPlaceholder(L"%d%% of %s, not %s", L"100%s").str(), std::wstring(L"%d%% of 100%s, not %s"));
    CHECK_EQ(FillPlaceholder(L"no placeholder", L"x").str(), std::wstring(L"no placeholder"));
}
