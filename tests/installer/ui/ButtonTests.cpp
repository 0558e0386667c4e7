// Image buttons and the shade button on a real page.
#include <windows.h>

#include <vector>

#include "framework/Afx.h"
#include "resources/ResourceIds.h"
#include "support/QuorTest.h"
#include "support/WindowScript.h"
#include "ui/BitmapDialogs.h"
#include "ui/ImageButtons.h"
#include "ui/ShadeButton.h"

namespace {

// The finish template with its button bound as an image button, and the
// welcome template's agreement box; records what the box reads at each click.
class CButtonPage : public CArcBitmapDialog {
public:
    explicit CButtonPage(UINT templateId) : CArcBitmapDialog(templateId, nullptr) {}
    CPngButton m_button;
    CNimbShadeButtonST m_box;
    std::vector<int> m_checkedAtClick;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        if (m_nIDTemplate == IDD_FINISH_PAGE) DDX_Control(dx, IDC_FINISH_BUTTON, m_button);
        if (m_nIDTemplate == IDD_WELCOME_PAGE) DDX_Control(dx, IDC_AGREEMENT_CHECK, m_box);
    }
    BOOL OnCommand(WPARAM wp, LPARAM lp) override {
        if (LOWORD(wp) == IDC_AGREEMENT_CHECK && HIWORD(wp) == BN_CLICKED) {
            m_checkedAtClick.push_back(m_box.GetCheck());
            return TRUE;
        }
        return CArcBitmapDialog::OnCommand(wp, lp);
    }
};

void UseResourceModule() { AfxSetResourceHandle(::LoadLibraryW(L"NimbQuorInstallerRes.dll")); }

Capture Redrawn(CPngButton& button) {
    ::RedrawWindow(::GetParent(button.m_hWnd), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages(60);
    return CaptureWindow(button.m_hWnd);
}

} // namespace

QUOR_TEST(MissingPngLeavesTheFaceUndrawn) {
    UseResourceModule();
    CButtonPage page(IDD_FINISH_PAGE);
    REQUIRE(page.Create(IDD_FINISH_PAGE, nullptr));
    page.ShowWindow(SW_SHOW);
    page.m_button.SetCaption(L"");
    page.m_button.SetPngImages(9999, 0, 0, 0);
    Capture face = Redrawn(page.m_button);
    REQUIRE(face.width > 20);
    CHECK_EQ(face.At(face.width / 2, face.height / 2), static_cast<DWORD>(0xE6E6FA)); // the page's key colour
    page.m_button.SetPngImages(IDP_FINISH_NORMAL, 0, 0, 0);
    face = Redrawn(page.m_button);
    CHECK_EQ(face.At(face.width / 2, face.height / 2), static_cast<DWORD>(0x2B5BD7)); // the artwork's blue
}

QUOR_TEST(ButtonWithOnlyANormalImageKeepsItInEveryState) {
    UseResourceModule();
    CButtonPage page(IDD_FINISH_PAGE);
    REQUIRE(page.Create(IDD_FINISH_PAGE, nullptr));
    page.ShowWindow(SW_SHOW);
    CPngButton& button = page.m_button;
    button.SetCaption(L"Finish");
    button.SetPngImages(IDP_FINISH_NORMAL, 0, 0, 0);
    button.SetTextColors(RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 255, 0));
    const Capture normal = Redrawn(button);
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    CHECK(Redrawn(button) == normal);
    button.SetState(TRUE);
    CHECK(Redrawn(button) == normal);
    button.SetState(FALSE);
    button.EnableWindow(FALSE);
    CHECK(Redrawn(button) == normal);
    button.EnableWindow(TRUE);
    // With a pressed image the pressed state does change the face.
    button.SetPngImages(IDP_FINISH_NORMAL, IDP_FINISH_PRESSED, 0, 0);
    button.SetState(TRUE);
    CHECK(!(Redrawn(button) == normal));
    button.SetState(FALSE);
}

QUOR_TEST(ShadeButtonTogglesBeforeTheParentSeesTheClick) {
    UseResourceModule();
    CButtonPage page(IDD_WELCOME_PAGE);
    REQUIRE(page.Create(IDD_WELCOME_PAGE, nullptr));
    page.ShowWindow(SW_SHOW);
    CHECK_EQ(page.m_box.GetCheck(), 0);
    PostClick(page.m_box.m_hWnd);
    PumpMessages(100);
    PostClick(page.m_box.m_hWnd);
    PumpMessages(100);
    CHECK_EQ(page.m_checkedAtClick, (std::vector<int>{1, 0}));
    CHECK_EQ(page.m_box.GetCheck(), 0);
}
