// The resource module's welcome template as a plain dialog, and the DPI figures.
#include <windows.h>

#include <string>

#include "framework/Afx.h"
#include "resources/ResourceIds.h"
#include "support/QuorTest.h"
#include "support/WindowScript.h"
#include "ui/Dpi.h"

namespace {

HMODULE LoadResourceModule() {
    static HMODULE module = ::LoadLibraryW(L"NimbQuorInstallerRes.dll");
    AfxSetResourceHandle(module);
    return module;
}

} // namespace

QUOR_TEST(WelcomeTemplateFromTheResourceModule) {
    REQUIRE(LoadResourceModule() != nullptr);
    CDialog dialog(IDD_WELCOME_PAGE);
    REQUIRE(dialog.Create(IDD_WELCOME_PAGE));
    for (int id : {IDC_AGREEMENT_CHECK, IDC_SECOND_SHADE_BUTTON, IDC_INSTALL_BUTTON, IDC_BROWSE_BUTTON, IDC_PATH_EDIT,
                   IDC_LICENCE_LINK, IDC_PRIVACY_LINK, IDC_TEXT_LABEL, IDC_PATH_CAPTION, IDCANCEL}) {
        CHECK(dialog.GetDlgItem(id) != nullptr);
    }
    dialog.ShowWindow(SW_SHOW);
    PumpMessages(300);
    SaveWindowScreenshot(L"welcome-template-" + std::to_wstring(TestDpi()), dialog.m_hWnd);
}

QUOR_TEST(LengthsAndFontsScaleWithTheScreen) {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    CHECK_EQ(dpi, TestDpi());
    struct Case {
        int dpi;
        int margin, tipMargin, icon, textOffset, buttonFont;
    };
    const Case cases[] = {{96, 10, 40, 16, 30, 17}, {120, 13, 50, 20, 38, 21}, {144, 15, 60, 24, 45, 26}};
    for (const Case& c : cases) {
        if (c.dpi != dpi) continue;
        CHECK_EQ(ScaleByDpi(10), c.margin);
        CHECK_EQ(ScaleByDpi(40), c.tipMargin);
        CHECK_EQ(ScaleByDpi(16), c.icon);
        CHECK_EQ(ScaleByDpi(30), c.textOffset);
        HFONT font = CreateRegularFont(17);
        LOGFONTW described{};
        ::GetObjectW(font, sizeof(described), &described);
        CHECK_EQ(static_cast<int>(described.lfHeight), c.buttonFont);
        ::DeleteObject(font);
    }
}
