// Tip dialogs: button sets, results, one tip at a time, attachment to a page.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "framework/Afx.h"
#include "resources/ResourceIds.h"
#include "support/QuorTest.h"
#include "support/WindowScript.h"
#include "ui/Dpi.h"
#include "ui/TipDialog.h"

namespace {

void UseResourceModule() { AfxSetResourceHandle(::LoadLibraryW(L"NimbQuorInstallerRes.dll")); }

bool IsShown(HWND dialog, int id) { return ::IsWindowVisible(::GetDlgItem(dialog, id)) != FALSE; }

struct TipOutcome {
    INT_PTR modalResult;
    int result;
};

// Shows a stand-alone tip, the steps written out as the start-up does, and
// runs act(tip window, background) once it is up; then, on the next tick of
// a modal loop still running, next.
template <typename Act>
TipOutcome RunTip(int type, bool retry, Act act, std::function<void()> next = [] {}) {
    auto* background = new CZrPngTipBKDlg(nullptr);
    CArcTipDialog tip(background);
    if (retry) tip.SetRetry(TRUE);
    tip.SetMessage(type, L"Nimbra is running,please close the application and then try again.");
    background->Create(IDD_TIP_BACKGROUND, nullptr);
    background->ShowWindow(SW_SHOW);
    tip.LinkBackground(background);
    background->DrawPng(tip.m_nBkPngId, 490, 280);
    WindowScript script({[&] { act(tip.m_hWnd, background); }, next});
    const INT_PTR modal = tip.DoModal();
    background->SendMessage(WM_CLOSE);
    delete background;
    return TipOutcome{modal, tip.GetResult()};
}

std::wstring ShotName(const wchar_t* kind) { return std::wstring(L"tip-") + kind + L"-" + std::to_wstring(TestDpi()); }

} // namespace

QUOR_TEST(TipButtonSetsAndResults) {
    UseResourceModule();
    struct Case {
        const wchar_t* name;
        int type;
        bool retry;
        bool forceShown, cancelShown;
        int press; // control clicked, or 0 for a close request
        INT_PTR modal;
        int result;
    };
    const Case cases[] = {
        {L"retry", kTipRetryForm, true, true, true, IDOK, IDOK, 2},
        {L"force", kTipRetryForm, true, true, true, IDC_TIP_FORCE_CLOSE, IDOK, 1},
        {L"notice", kTipNotice, false, false, false, IDOK, IDOK, 2},
        {L"question", kTipQuestion, false, false, true, IDCANCEL, IDCANCEL, 0},
        {L"type0", kTipRetryForm, false, false, true, 0, IDCANCEL, 0},
    };
    for (const Case& c : cases) {
        const TipOutcome outcome = RunTip(c.type, c.retry, [&](HWND tip, CZrPngTipBKDlg* background) {
            CHECK(IsShown(tip, IDOK));
            CHECK_EQ(IsShown(tip, IDC_TIP_FORCE_CLOSE), c.forceShown);
            CHECK_EQ(IsShown(tip, IDCANCEL), c.cancelShown);
            CRect tipRect, backgroundRect;
            ::GetWindowRect(tip, &tipRect);
            ::GetWindowRect(background->m_hWnd, &backgroundRect);
            CHECK_EQ(backgroundRect.Width(), tipRect.Width() + 2 * ScaleByDpi(40));
            CHECK_EQ(backgroundRect.Height(), tipRect.Height() + 2 * ScaleByDpi(40));
            ::PostMessageW(tip, WM_KEYDOWN, VK_ESCAPE, 0); // swallowed: the tip stays
            PumpMessages(50);
            CHECK(::IsWindowVisible(tip));
            if (c.type != kTipRetryForm || c.retry) {
                SaveSkinnedScreenshot(ShotName(c.name), background->m_hWnd, background->GetSurfaceDC(), tip,
                                      RGB(230, 230, 250));
            }
            if (c.press) {
                PostClick(::GetDlgItem(tip, c.press));
            } else {
                ::PostMessageW(tip, WM_CLOSE, 0, 0);
            }
        });
        CHECK_EQ(outcome.modalResult, c.modal);
        CHECK_EQ(outcome.result, c.result);
    }
    CHECK_EQ(CArcTipDialog::OpenTipCount(), 0);
}

QUOR_TEST(ASecondTipClosesItself) {
    UseResourceModule();
    TipOutcome second{-5, -5};
    const TipOutcome first = RunTip(kTipNotice, false, [&](HWND tip, CZrPngTipBKDlg*) {
        CHECK_EQ(CArcTipDialog::OpenTipCount(), 1);
        auto* background = new CZrPngTipBKDlg(nullptr);
        {
            CArcTipDialog nested(background);
            nested.SetMessage(kTipNotice, L"second");
            background->Create(IDD_TIP_BACKGROUND, nullptr);
            nested.LinkBackground(background);
            second.modalResult = nested.DoModal();
            second.result = nested.GetResult();
        }
        background->SendMessage(WM_CLOSE);
        delete background;
        CHECK_EQ(CArcTipDialog::OpenTipCount(), 1);
        PostClick(::GetDlgItem(tip, IDOK));
    });
    CHECK_EQ(second.modalResult, static_cast<INT_PTR>(IDCANCEL));
    CHECK_EQ(second.result, 0);
    CHECK_EQ(first.result, 2);
    CHECK_EQ(CArcTipDialog::OpenTipCount(), 0);
}

QUOR_TEST(AMissingTemplateLeavesTheCountAlone) {
    AfxSetResourceHandle(::GetModuleHandleW(nullptr)); // no templates here
    CZrPngTipBKDlg background(nullptr);
    {
        CArcTipDialog tip(&background);
        tip.SetMessage(kTipNotice, L"unseen");
        CHECK_EQ(tip.DoModal(), static_cast<INT_PTR>(-1));
        CHECK_EQ(tip.GetResult(), -1);
    }
    CHECK_EQ(CArcTipDialog::OpenTipCount(), 0);
    UseResourceModule();
}

QUOR_TEST(AnAttachedTipLocksItsPage) {
    UseResourceModule();
    CZrPngMainBKDlg pageBackground;
    REQUIRE(pageBackground.Create(IDD_MAIN_BACKGROUND, nullptr));
    pageBackground.ShowWindow(SW_SHOW);
    CArcBitmapDialog page(IDD_FINISH_PAGE, nullptr);
    page.m_nBkPngId = IDP_FINISH_BACKGROUND;
    page.LinkBackground(&pageBackground);
    pageBackground.ShowPng(IDP_FINISH_BACKGROUND);
    LRESULT hitWhileTip = 0;
    WindowScript script({
        [&] {
            auto* background = new CZrPngTipBKDlg(nullptr);
            CArcTipDialog tip(background);
            tip.SetMessage(kTipQuestion, L"After exiting the installation program of Nimbra 2024, you will not be "
                                         L"able to continue executing this program. Are you sure to exit?");
            tip.AttachToOwner(&page, background);
            CHECK(page.m_bLocked);
            tip.DoModal();
        },
        [&] {
            hitWhileTip = page.SendMessage(WM_NCHITTEST, 0, 0);
            HWND tip = FindThreadDialogWithControl(IDC_TIP_MESSAGE);
            REQUIRE(tip != nullptr);
            ::PostMessageW(tip, WM_CLOSE, 0, 0);
        },
        [&] {
            CHECK(!page.m_bLocked);
            page.EndDialog(IDCANCEL);
        },
    });
    page.DoModal();
    CHECK_EQ(hitWhileTip, static_cast<LRESULT>(HTNOWHERE));
}

QUOR_TEST(ATipDestroyedWithoutAButtonEndsItsModalLoop) {
    UseResourceModule();
    struct Case {
        const char* name;
        bool destroyBackground; // the tip's owner, which takes the tip along
    };
    const Case cases[] = {{"the tip itself", false}, {"its background", true}};
    for (const Case& c : cases) {
        std::printf("  case: %s\n", c.name);
        bool stuck = false;
        const TipOutcome outcome = RunTip(
            kTipNotice, false,
            [&](HWND tip, CZrPngTipBKDlg* background) {
                ::DestroyWindow(c.destroyBackground ? background->m_hWnd : tip);
            },
            [&] {
                stuck = true; // the loop outlived its window
                ::PostQuitMessage(0);
            });
        CHECK(!stuck);
        CHECK_EQ(outcome.modalResult, static_cast<INT_PTR>(-1));
        CHECK_EQ(outcome.result, -1);
        MSG quit;
        ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    CHECK_EQ(CArcTipDialog::OpenTipCount(), 0);
}
