// The installation from the welcome page through the worker to the finish
// page, run in this process with the stand-in payload beside the test program.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/FinishDlg.h"
#include "app/InstallRules.h"
#include "app/InstallerTexts.h"
#include "app/NimbInstallerApp.h"
#include "app/WelcomeDlg.h"
#include "resources/ResourceIds.h"
#include "support/InstallerRig.h"
#include "support/QuorTest.h"
#include "support/WindowScript.h"
#include "support/WineEnvironment.h"
#include "ui/ImageButtons.h"
#include "ui/TipDialog.h"

namespace {

const wchar_t kHostFolder[] = L"C:\\Program Files\\Nimbra 2024\\";

CZrPngMainBKDlg& MainBackground() { return *static_cast<CNimbInstallerApp*>(AfxGetApp())->m_pMainBkDlg; }

std::wstring EditText(HWND page) { return CString::FromWindowText(::GetDlgItem(page, IDC_PATH_EDIT)).str(); }

std::wstring ExpectedCommandLine(const std::wstring& installPath) {
    return L"\"" + PayloadInPlace::Path() + L"\"" + installPath;
}

struct ButtonLook {
    UINT normal, pressed, hover, disabled;
    COLORREF text;
};

ButtonLook LookOf(HWND page, int id) {
    const CPngButton& button = *PageButton(page, id);
    return ButtonLook{button.m_nPngNormal, button.m_nPngPressed, button.m_nPngHover, button.m_nPngDisabled,
                      button.m_crNormal};
}

void CheckLook(const ButtonLook& look, const ButtonLook& expected) {
    CHECK_EQ(look.normal, expected.normal);
    CHECK_EQ(look.pressed, expected.pressed);
    CHECK_EQ(look.hover, expected.hover);
    CHECK_EQ(look.disabled, expected.disabled);
    CHECK_EQ(look.text, expected.text);
}

const ButtonLook kInstallNotAgreed{IDP_INSTALL_DISABLED, 0, 0, 0, RGB(207, 214, 238)};
const ButtonLook kInstallAgreed{IDP_INSTALL_NORMAL, IDP_INSTALL_PRESSED, IDP_INSTALL_HOVER, IDP_INSTALL_DISABLED,
                                RGB(255, 255, 255)};

} // namespace

QUOR_TEST(InstallRunsThePayloadAndTheFinishPageEndsTheRun) {
    HostInstalled host(kHostFolder);
    PayloadInPlace payload(0, 1500);
    UINT welcomeImage = 0;
    UINT finishImage = 0;
    std::wstring proposed;
    HWND page = nullptr;
    RunInstallerInProcess(
        {
            OnWelcomePage([&](CNimbWelcomeDlg& welcome) {
                page = welcome.m_hWnd;
                welcomeImage = MainBackground().m_nPngId;
                CHECK(MainBackground().IsWindowVisible());
                proposed = EditText(page);
                CheckLook(LookOf(page, IDC_INSTALL_BUTTON), kInstallNotAgreed);
                SavePageScreenshot(L"welcome-not-agreed", page);
                PostClick(::GetDlgItem(page, IDC_AGREEMENT_CHECK));
            }),
            When("the agreement", [] { return g_bLicenseAccepted == 1; },
                 [&] {
                     CheckLook(LookOf(page, IDC_INSTALL_BUTTON), kInstallAgreed);
                     SavePageScreenshot(L"welcome-agreed", page);
                     PostClick(::GetDlgItem(page, IDC_INSTALL_BUTTON));
                 }),
            When("the installing state", [&] { return VisibleWelcomePage() && VisibleWelcomePage()->IsInstalling(); },
                 [&] {
                     CHECK_EQ(PageButton(page, IDC_INSTALL_BUTTON)->m_strText.str(), Text(IDS_INSTALLING));
                     CheckLook(LookOf(page, IDC_INSTALL_BUTTON), kInstallNotAgreed);
                     SavePageScreenshot(L"welcome-installing", page);
                     // Neither a close request nor Exit ends the page while the payload runs.
                     ::PostMessageW(page, WM_CLOSE, 0, 0);
                     PostClick(::GetDlgItem(page, IDCANCEL));
                 }),
            After(200,
                  [&] {
                      CHECK(VisibleTip() == nullptr);
                      CHECK(VisibleWelcomePage() && VisibleWelcomePage()->IsInstalling());
                  }),
            When("the finish page", [] { return VisibleFinishPage() != nullptr; },
                 [&] {
                     finishImage = MainBackground().m_nPngId;
                     HWND finish = VisibleFinishPage()->m_hWnd;
                     SavePageScreenshot(L"finish", finish);
                     ::PostMessageW(::GetDlgItem(finish, IDC_FINISH_BUTTON), WM_KEYDOWN, VK_ESCAPE, 0);
                 }),
            When("the finish page after Escape", [] { return VisibleFinishPage() != nullptr; },
                 [] { PostClick(::GetDlgItem(VisibleFinishPage()->m_hWnd, IDC_FINISH_BUTTON)); }),
        },
        [](CNimbInstallerApp& app) { CHECK(!app.m_pMainBkDlg->IsWindowVisible()); });
    CHECK_EQ(proposed, std::wstring(kHostFolder));
    CHECK_EQ(welcomeImage, static_cast<UINT>(IDP_WELCOME_BACKGROUND));
    CHECK_EQ(finishImage, static_cast<UINT>(IDP_FINISH_BACKGROUND));
    CHECK_EQ(payload.Runs(), std::vector<std::wstring>{ExpectedCommandLine(kHostFolder)});
    CHECK_EQ(RecordedLastPath(), std::wstring(kHostFolder));
}

QUOR_TEST(TheNextRunProposesThePathOfTheLastInstallation) {
    HostInstalled host(kHostFolder);
    PayloadInPlace payload;
    const std::wstring typed = L"C:\\Quor Tools\\Second Run";
    RunInstallerInProcess({
        OnWelcomePage([&](CNimbWelcomeDlg& welcome) {
            ::SetDlgItemTextW(welcome.m_hWnd, IDC_PATH_EDIT, typed.c_str());
            PostClick(welcome.GetDlgItem(IDC_AGREEMENT_CHECK));
        }),
        When("the agreement", [] { return g_bLicenseAccepted == 1; },
             [] { PostClick(VisibleWelcomePage()->GetDlgItem(IDC_INSTALL_BUTTON)); }),
        // A close request ends the finish page like Finish does.
        When("the finish page", [] { return VisibleFinishPage() != nullptr; },
             [] { ::PostMessageW(VisibleFinishPage()->m_hWnd, WM_CLOSE, 0, 0); }),
    });
    CHECK_EQ(payload.Runs(), std::vector<std::wstring>{ExpectedCommandLine(typed)});
    CHECK_EQ(RecordedLastPath(), typed);

    TipLog tips;
    std::wstring proposed;
    RunInstallerInProcess({
        OnWelcomePage([&](CNimbWelcomeDlg& welcome) {
            proposed = EditText(welcome.m_hWnd);
            PostClick(welcome.GetDlgItem(IDCANCEL));
        }),
        AnswerTip(tips, IDCANCEL), // stay
        OnWelcomePage([](CNimbWelcomeDlg& welcome) { PostClick(welcome.GetDlgItem(IDCANCEL)); }),
        AnswerTip(tips, IDOK), // leave: no finish page follows
    });
    CHECK_EQ(proposed, typed);
    CHECK_EQ(TextsOf(tips), (std::vector<std::wstring>{Text(IDS_CONFIRM_EXIT), Text(IDS_CONFIRM_EXIT)}));
    CHECK_EQ(TypesOf(tips), (std::vector<int>{kTipQuestion, kTipQuestion}));
    CHECK_EQ(payload.Runs().size(), static_cast<size_t>(1));
}

QUOR_TEST(APayloadThatFailsOrCannotStartIsAFailedInstallation) {
    HostInstalled host(kHostFolder);
    struct Case {
        const char* name;
        int exitCode;
        bool executable;
        size_t runs;
    };
    const Case cases[] = {
        {"exit code 3", 3, true, 1},
        {"exit code -1", -1, true, 1},
        {"not an executable", 0, false, 0},
    };
    for (const Case& c : cases) {
        std::printf("  case: %s\n", c.name);
        PayloadInPlace payload(c.exitCode);
        if (!c.executable) REQUIRE(WriteFileText(PayloadInPlace::Path(), "not a program\r\n"));
        TipLog tips;
        // A finish page, with no step left to close it, would fail the script.
        RunInstallerInProcess(AgreeInstallThen({AnswerTip(tips, IDOK)}));
        CHECK_EQ(TextsOf(tips), std::vector<std::wstring>{Text(IDS_INSTALL_FAILED)});
        CHECK_EQ(TypesOf(tips), std::vector<int>{kTipQuestion});
        CHECK_EQ(payload.Runs().size(), c.runs);
        CHECK_EQ(RecordedLastPath(), std::wstring());
    }
}

QUOR_TEST(AMissingPayloadIsNamedAndTheRunEndsWithoutAFinishPage) {
    HostInstalled host(kHostFolder);
    ::DeleteFileW(PayloadInPlace::Path().c_str());
    TipLog tips;
    bool lockedDuringTip = false;
    RunInstallerInProcess(AgreeInstallThen({
        When("the worker's first tip", [] { return VisibleTip() != nullptr; },
             [&] { lockedDuringTip = VisibleWelcomePage()->m_bLocked; }),
        AnswerTip(tips, IDOK),
        When("the failure tip",
             [] { return VisibleTip() && VisibleTip()->m_strMessage == Text(IDS_INSTALL_FAILED).c_str(); },
             [] { SaveTipScreenshot(L"tip-install-failed", *VisibleTip()); }),
        AnswerTip(tips, IDOK),
    }));
    CHECK(lockedDuringTip);
    CHECK_EQ(TextsOf(tips), (std::vector<std::wstring>{
                                FillPlaceholder(Text(IDS_PAYLOAD_MISSING), PayloadInPlace::Path().c_str()).str(),
                                Text(IDS_INSTALL_FAILED)}));
    CHECK_EQ(TypesOf(tips), (std::vector<int>{kTipNotice, kTipQuestion}));
    CHECK_EQ(RecordedLastPath(), std::wstring());
}
