// The welcome page's checks before an installation starts: agreement, path
// rules, free space, and the keys and commands that must not start anything.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/FinishDlg.h"
#include "app/InstallerTexts.h"
#include "app/WelcomeDlg.h"
#include "resources/ResourceIds.h"
#include "support/InstallerRig.h"
#include "support/QuorTest.h"
#include "support/WindowScript.h"
#include "support/WineEnvironment.h"
#include "ui/ImageButtons.h"
#include "ui/TipDialog.h"

namespace {

std::wstring EditText(const CNimbWelcomeDlg& page) {
    return CString::FromWindowText(page.GetDlgItem(IDC_PATH_EDIT)).str();
}

ScriptStep TypeAndInstall(const std::wstring& typed) {
    return OnWelcomePage([typed](CNimbWelcomeDlg& page) {
        ::SetDlgItemTextW(page.m_hWnd, IDC_PATH_EDIT, typed.c_str());
        PostClick(page.GetDlgItem(IDC_INSTALL_BUTTON));
    });
}

ScriptStep ClickAgreement() {
    return OnWelcomePage([](CNimbWelcomeDlg& page) { PostClick(page.GetDlgItem(IDC_AGREEMENT_CHECK)); });
}

// The colour in the middle of the Install button's left end, away from its caption.
DWORD InstallFaceColour(const CNimbWelcomeDlg& page) {
    HWND install = page.GetDlgItem(IDC_INSTALL_BUTTON);
    ::RedrawWindow(install, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const Capture face = CaptureWindow(install);
    return face.At(face.width / 10, face.height / 2);
}

// The last drive letter that names no drive here, as "X:".
std::wstring UnusedDrive() {
    for (wchar_t letter = L'Y'; letter > L'C'; --letter) {
        const std::wstring root = std::wstring(1, letter) + L":\\";
        if (::GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR) return root.substr(0, 2);
    }
    return L"";
}

std::wstring FullDrive() { return EnvironmentValue(L"QUOR_FULL_DRIVE"); }

} // namespace

QUOR_TEST(PathAndAgreementChecksRefuseWithTheirTips) {
    HostInstalled host;
    PayloadInPlace payload;
    REQUIRE(UnusedDrive().size() == 2);
    REQUIRE(FullDrive().size() == 2);
    const std::wstring tooLong = L"C:\\" + std::wstring(250, L'q');
    struct Case {
        std::wstring typed;
        int text;
        int type;
        std::wstring shown; // the edit afterwards
    };
    const std::vector<Case> cases = {
        {L"Tool", IDS_PATH_ERROR, kTipNotice, L"Tool"},
        {L"C:", IDS_PATH_ERROR, kTipNotice, L"C:"},
        {L"C:\\", IDS_PATH_IS_ROOT, kTipQuestion, L"C:\\"},
        {L"C:\\\\My Tool\\\\a?b\\\\  ", IDS_PATH_INVALID_CHARS, kTipNotice, L"C:\\My Tool\\a?b\\"},
        {L"D:Tools\\x", IDS_PATH_ERROR, kTipNotice, L"D:Tools\\x"},
        // The payload's command line would not fit its buffer.
        {tooLong, IDS_PATH_ERROR, kTipNotice, tooLong},
        // The free-space query fails on a drive that does not exist.
        {UnusedDrive() + L"\\Tools", IDS_DISK_QUERY_FAILED, kTipNotice, UnusedDrive() + L"\\Tools"},
        // A drive with no space left (the harness maps it).
        {FullDrive() + L"\\Tools", IDS_DISK_TOO_SMALL, kTipNotice, FullDrive() + L"\\Tools"},
    };

    TipLog tips;
    std::vector<std::wstring> shown;
    DWORD agreedFace = 0;
    DWORD notAgreedFace = 0;
    bool lockedByTip = false;
    std::vector<ScriptStep> steps = {
        TypeAndInstall(L"C:\\Quor"), // not agreed yet
        When("the first tip", [] { return VisibleTip() != nullptr; },
             [&] { lockedByTip = VisibleWelcomePage()->m_bLocked; }),
        AnswerTip(tips, IDOK),
        ClickAgreement(),
        When("the agreement", [] { return g_bLicenseAccepted == 1; },
             [&] {
                 agreedFace = InstallFaceColour(*VisibleWelcomePage());
                 PostClick(VisibleWelcomePage()->GetDlgItem(IDC_AGREEMENT_CHECK));
             }),
        // Unticked again: grey, and Enter in the path edit asks for the agreement.
        When("the agreement withdrawn", [] { return g_bLicenseAccepted == 0; },
             [&] {
                 const CNimbWelcomeDlg& page = *VisibleWelcomePage();
                 notAgreedFace = InstallFaceColour(page);
                 CHECK_EQ(PageButton(page.m_hWnd, IDC_INSTALL_BUTTON)->m_nPngNormal,
                          static_cast<UINT>(IDP_INSTALL_DISABLED));
                 HWND edit = page.GetDlgItem(IDC_PATH_EDIT);
                 ::SetFocus(edit);
                 ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
             }),
        AnswerTip(tips, IDOK),
        ClickAgreement(),
    };
    for (const Case& c : cases) {
        steps.push_back(TypeAndInstall(c.typed));
        steps.push_back(AnswerTip(tips, IDOK));
        steps.push_back(OnWelcomePage([&](CNimbWelcomeDlg& page) { shown.push_back(EditText(page)); }));
    }
    // The path's caption takes the typed path, trimmed, and puts the caret into the edit.
    steps.push_back(OnWelcomePage([](CNimbWelcomeDlg& page) {
        ::SetDlgItemTextW(page.m_hWnd, IDC_PATH_EDIT, L"C:\\Typed Folder \t ");
        ::SetFocus(page.GetDlgItem(IDCANCEL));
        PostClick(page.GetDlgItem(IDC_PATH_CAPTION));
    }));
    std::wstring captionPath;
    bool captionFocused = false;
    steps.push_back(When(
        "the caret in the path edit", [] { return ::GetFocus() == VisibleWelcomePage()->GetDlgItem(IDC_PATH_EDIT); },
        [&] {
            captionPath = g_strInstallPath.str();
            captionFocused = true;
        }));
    // Escape does nothing; Exit asks first.
    steps.push_back(OnWelcomePage([](CNimbWelcomeDlg& page) {
        ::PostMessageW(page.GetDlgItem(IDC_PATH_EDIT), WM_KEYDOWN, VK_ESCAPE, 0);
    }));
    steps.push_back(OnWelcomePage([](CNimbWelcomeDlg& page) {
        CHECK(!page.IsInstalling());
        PostClick(page.GetDlgItem(IDCANCEL));
    }));
    steps.push_back(AnswerTip(tips, IDOK));
    RunInstallerInProcess(std::move(steps));

    std::vector<std::wstring> texts = {Text(IDS_NOT_AGREED), Text(IDS_NOT_AGREED)};
    std::vector<int> types = {kTipNotice, kTipNotice};
    std::vector<std::wstring> expectedShown;
    for (const Case& c : cases) {
        texts.push_back(Text(c.text));
        types.push_back(c.type);
        expectedShown.push_back(c.shown);
    }
    texts.push_back(Text(IDS_CONFIRM_EXIT));
    types.push_back(kTipQuestion);
    CHECK_EQ(TextsOf(tips), texts);
    CHECK_EQ(TypesOf(tips), types);
    CHECK_EQ(shown, expectedShown);
    CHECK(lockedByTip);
    CHECK(captionFocused);
    CHECK_EQ(captionPath, std::wstring(L"C:\\Typed Folder"));
    CHECK(agreedFace != notAgreedFace);
    CHECK(payload.Runs().empty());
}

QUOR_TEST(APathWithoutADriveIsMeasuredOnTheCurrentDrive) {
    HostInstalled host;
    PayloadInPlace payload;
    RunInstallerInProcess({
        ClickAgreement(),
        When("the agreement", [] { return g_bLicenseAccepted == 1; }, [] {}),
        // Reduced to \server\share by the path rules: no drive part, so the current drive.
        TypeAndInstall(L"\\\\server\\share"),
        When("the finish page", [] { return VisibleFinishPage() != nullptr; },
             [] { PostClick(VisibleFinishPage()->GetDlgItem(IDC_FINISH_BUTTON)); }),
    });
    const std::vector<std::wstring> runs = payload.Runs();
    REQUIRE(runs.size() == 1);
    CHECK_EQ(runs[0], L"\"" + PayloadInPlace::Path() + L"\"\\server\\share");
}

QUOR_TEST(TheFolderPickerFillsThePathEdit) {
    HostInstalled host;
    ::CreateDirectoryW(L"C:\\Apps", nullptr);
    ::CreateDirectoryW(L"C:\\Nimbra 2024", nullptr);
    struct Case {
        const wchar_t* picked;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"C:\\Apps", L"C:\\Apps\\"},
        {L"C:\\Nimbra 2024", L"C:\\Nimbra 2024"}, // a "2024" folder gets no backslash
        {L"C:\\", L"C:\\"},
    };
    TipLog tips;
    std::vector<std::wstring> shown;
    std::vector<bool> editFocused;
    std::vector<ScriptStep> steps = {ClickAgreement()};
    for (const Case& c : cases) {
        steps.push_back(OnWelcomePage([](CNimbWelcomeDlg& page) { PostClick(page.GetDlgItem(IDC_BROWSE_BUTTON)); }));
        steps.push_back(When("the folder picker", [] { return VisibleFolderPicker() != nullptr; },
                             [picked = c.picked] {
                                 HWND picker = VisibleFolderPicker();
                                 ::SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(picked));
                                 PostClick(::GetDlgItem(picker, IDOK));
                             }));
        steps.push_back(When("the picker closed", [] { return VisibleFolderPicker() == nullptr; },
                             [&] {
                                 const CNimbWelcomeDlg& page = *VisibleWelcomePage();
                                 shown.push_back(EditText(page));
                                 editFocused.push_back(::GetFocus() == page.GetDlgItem(IDC_PATH_EDIT));
                             }));
    }
    // The picked root is refused by Install.
    steps.push_back(OnWelcomePage([](CNimbWelcomeDlg& page) { PostClick(page.GetDlgItem(IDC_INSTALL_BUTTON)); }));
    steps.push_back(AnswerTip(tips, IDOK));
    steps.push_back(OnWelcomePage([](CNimbWelcomeDlg& page) { PostClick(page.GetDlgItem(IDCANCEL)); }));
    steps.push_back(AnswerTip(tips, IDOK));
    RunInstallerInProcess(std::move(steps));

    std::vector<std::wstring> expected;
    for (const Case& c : cases) expected.push_back(c.shown);
    CHECK_EQ(shown, expected);
    CHECK_EQ(editFocused, (std::vector<bool>{true, true, true}));
    CHECK_EQ(TextsOf(tips), (std::vector<std::wstring>{Text(IDS_PATH_IS_ROOT), Text(IDS_CONFIRM_EXIT)}));
}
