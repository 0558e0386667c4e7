#include "FinishDlg.h"

#include "InstallerTexts.h"
#include "framework/AfxResources.h"
#include "resources/ResourceIds.h"
#include "ui/WindowMessages.h"

CNimbFinishDlg::CNimbFinishDlg(CWnd* parent) : CArcBitmapDialog(IDD_FINISH_PAGE, parent) {
    m_nBkPngId = IDP_FINISH_BACKGROUND;
}

void CNimbFinishDlg::DoDataExchange(CDataExchange* dx) {
    CArcBitmapDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_FINISH_TITLE, m_title);
    DDX_Control(dx, IDC_FINISH_BUTTON, m_btnFinish);
}

BOOL CNimbFinishDlg::OnInitDialog() {
    CArcBitmapDialog::OnInitDialog();
    ::SetForegroundWindow(m_hWnd);
    m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_APPLICATION_ICON));
    SetIcon(m_hIcon, FALSE);

    m_btnFinish.SetPngImages(IDP_FINISH_NORMAL, IDP_FINISH_PRESSED, IDP_FINISH_HOVER, 0);
    m_btnFinish.SetCaption(InstallerText(IDS_FINISH));
    m_btnFinish.SetTextColor(RGB(255, 255, 255));
    m_btnFinish.SetFontSize(21);

    ::SendMessageW(m_hBkWnd, WM_PNGBK_DRAW, IDP_FINISH_BACKGROUND, 0);
    SetUpTitle();
    ::SetWindowPos(m_hBkWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return TRUE;
}

void CNimbFinishDlg::SetUpTitle() {
    // The title is the template's text for the control, so it is translated with the module.
    m_title.SetText(m_title.GetWindowText());
    m_title.SetCenter(true);
    m_title.SetFontSizeAndColor(35, RGB(77, 77, 77));
}

BOOL CNimbFinishDlg::OnCommand(WPARAM wp, LPARAM lp) {
    if (LOWORD(wp) != IDC_FINISH_BUTTON || HIWORD(wp) != BN_CLICKED) return CArcBitmapDialog::OnCommand(wp, lp);
    EndDialog(IDC_FINISH_BUTTON);
    ::ShowWindow(m_hBkWnd, SW_HIDE);
    return TRUE;
}

HBRUSH CNimbFinishDlg::OnCtlColor(HDC dc, HWND control, UINT ctlColorType) {
    if (ctlColorType != CTLCOLOR_STATIC) return CArcBitmapDialog::OnCtlColor(dc, control, ctlColorType);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

LRESULT CNimbFinishDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_PAINT) return CArcBitmapDialog::WindowProc(msg, wp, lp);
    // The look comes from the background window and the controls.
    PAINTSTRUCT paint;
    ::BeginPaint(m_hWnd, &paint);
    ::EndPaint(m_hWnd, &paint);
    return 0;
}
