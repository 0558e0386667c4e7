// Pages over their layered backgrounds: following, locking, keys, GDI use.
#include <windows.h>

#include <vector>

#include "framework/Afx.h"
#include "resources/ResourceIds.h"
#include "support/QuorTest.h"
#include "support/WindowScript.h"
#include "ui/BitmapDialogs.h"
#include "ui/Dpi.h"
#include "ui/PngBackgroundDialogs.h"

namespace {

// A page built from the welcome template that records the commands it gets.
class CRecordingPage : public CArcBitmapDialog {
public:
    CRecordingPage() : CArcBitmapDialog(IDD_WELCOME_PAGE, nullptr) { m_nBkPngId = IDP_WELCOME_BACKGROUND; }
    std::vector<int> m_commands;

protected:
    BOOL OnCommand(WPARAM wp, LPARAM lp) override {
        if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) != IDOK && LOWORD(wp) != IDCANCEL) {
            m_commands.push_back(LOWORD(wp));
            return TRUE;
        }
        return CArcBitmapDialog::OnCommand(wp, lp);
    }
};

void UseResourceModule() { AfxSetResourceHandle(::LoadLibraryW(L"NimbQuorInstallerRes.dll")); }

CRect WindowRect(HWND window) {
    CRect rect;
    ::GetWindowRect(window, &rect);
    return rect;
}

} // namespace

QUOR_TEST(BackgroundFollowsTheMovedAndResizedPage) {
    UseResourceModule();
    CZrPngMainBKDlg background;
    REQUIRE(background.Create(IDD_MAIN_BACKGROUND, nullptr));
    background.ShowWindow(SW_SHOW);
    background.ShowPng(IDP_WELCOME_BACKGROUND);
    CRecordingPage page;
    page.LinkBackground(&background);
    REQUIRE(page.Create(IDD_WELCOME_PAGE, nullptr));
    page.ShowWindow(SW_SHOW);
    const int margin = ScaleByDpi(10);

    page.SetWindowPos(nullptr, 210, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CHECK_EQ(WindowRect(background).TopLeft(), CPoint(210 - margin, 140 - margin));
    page.SetWindowPos(nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    CHECK_EQ(WindowRect(background).Width(), 500 + 2 * margin);
    CHECK_EQ(WindowRect(background).Height(), 300 + 2 * margin);
    CHECK_EQ(background.m_nPngId, static_cast<UINT>(IDP_WELCOME_BACKGROUND));
    page.SetWindowPos(nullptr, 330, 260, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CHECK_EQ(WindowRect(background).TopLeft(), CPoint(330 - margin, 260 - margin));
}

QUOR_TEST(PagesIgnoreEscapeAndF1AndLockedInput) {
    UseResourceModule();
    CZrPngMainBKDlg background;
    REQUIRE(background.Create(IDD_MAIN_BACKGROUND, nullptr));
    CRecordingPage page;
    page.LinkBackground(&background);
    HWND install = nullptr;
    CRect before;
    WindowScript script({
        [&] {
            install = page.GetDlgItem(IDC_INSTALL_BUTTON);
            ::SetFocus(install);
            ::PostMessageW(install, WM_KEYDOWN, VK_ESCAPE, 0);
            ::PostMessageW(install, WM_KEYDOWN, VK_F1, 0);
            CHECK_EQ(page.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(WindowRect(page).left + 5, WindowRect(page).top + 5)),
                     static_cast<LRESULT>(HTCAPTION));
        },
        [&] {
            CHECK(page.IsModalLoopRunning());
            page.m_bLocked = true;
            CHECK_EQ(page.SendMessage(WM_NCHITTEST, 0, 0), static_cast<LRESULT>(HTNOWHERE));
            before = WindowRect(page);
            page.SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0); // would start a drag when unlocked
            CHECK_EQ(WindowRect(page), before);
            PostClick(install);
        },
        [&] {
            CHECK(page.m_commands.empty());
            page.m_bLocked = false;
            PostClick(install);
        },
        [&] { page.EndDialog(IDOK); },
    });
    CHECK_EQ(page.DoModal(), static_cast<INT_PTR>(IDOK));
    CHECK_EQ(page.m_commands, std::vector<int>{IDC_INSTALL_BUTTON});
}

QUOR_TEST(RepeatedDrawsKeepGdiUseFlat) {
    UseResourceModule();
    CZrPngMainBKDlg background;
    REQUIRE(background.Create(IDD_MAIN_BACKGROUND, nullptr));
    background.ShowPng(IDP_WELCOME_BACKGROUND);
    const DWORD before = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    std::vector<HDC> surfaces;
    for (int i = 0; i < 300; ++i) {
        background.DrawPng(IDP_TIP_PANEL, 200 + i % 7, 120 + i % 5);
        if (i % 100 == 0) surfaces.push_back(background.GetSurfaceDC());
    }
    const DWORD after = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    CHECK(after <= before + 2);
    // Wine may not count GDI objects; a surface replaced by a later draw must be gone either way.
    for (size_t i = 0; i + 1 < surfaces.size(); ++i) CHECK_EQ(::GetObjectType(surfaces[i]), static_cast<DWORD>(0));
}
