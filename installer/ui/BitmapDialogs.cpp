#include "BitmapDialogs.h"

#include "Dpi.h"
#include "PngBackgroundDialogs.h"

namespace {

using SetLayeredWindowAttributesFunction = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

SetLayeredWindowAttributesFunction LookUpSetLayeredWindowAttributes() {
    HMODULE user32 = ::GetModuleHandleW(L"User32.DLL");
    return user32 ? reinterpret_cast<SetLayeredWindowAttributesFunction>(
                        reinterpret_cast<void*>(::GetProcAddress(user32, "SetLayeredWindowAttributes")))
                  : nullptr;
}

// Client origin of the last move that took a background along; one for all pages.
CPoint g_lastFollowedPosition;

constexpr UINT kMoveByCaption = 0xF012;

} // namespace

CBitmapDialog::CBitmapDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {
    m_brush.CreateStockObject(HOLLOW_BRUSH);
}

CArcBitmapDialog::CArcBitmapDialog(UINT templateId, CWnd* parent) : CBitmapDialog(templateId, parent) {}

void CArcBitmapDialog::LinkBackground(CZrPngBkDlg* background) {
    m_pBkWnd = background;
    m_hBkWnd = background ? background->m_hWnd : nullptr;
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE;
    if (m_hWnd) ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
    if (m_hBkWnd) ::SetWindowPos(m_hBkWnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
}

BOOL CArcBitmapDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    ModifyStyle(WS_CAPTION, 0);
    CenterWindow();
    ::SetMenu(m_hWnd, nullptr);
    m_brush.CreateSolidBrush(m_crKey);
    ModifyStyleEx(0, WS_EX_LAYERED);
    static const SetLayeredWindowAttributesFunction setLayeredAttributes = LookUpSetLayeredWindowAttributes();
    if (setLayeredAttributes) setLayeredAttributes(m_hWnd, m_crKey, 1, LWA_COLORKEY);
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE;
    if (m_hBkWnd) ::SetWindowPos(m_hBkWnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    return TRUE;
}

HBRUSH CArcBitmapDialog::OnCtlColor(HDC dc, HWND control, UINT ctlColorType) {
    if (ctlColorType == CTLCOLOR_DLG) return m_brush;
    if (ctlColorType == CTLCOLOR_STATIC) {
        ::SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    return CBitmapDialog::OnCtlColor(dc, control, ctlColorType);
}

void CArcBitmapDialog::FollowWithBackground(int clientX, int clientY) {
    const int margin = ScaleByDpi(10);
    CRect background;
    ::GetWindowRect(m_hBkWnd, &background);
    const int dx = clientX - margin - background.left;
    const int dy = clientY - margin - background.top;
    if (background.TopLeft() == CPoint(clientX, clientY) || (dy == 3 && dx == 0)) return;
    background.OffsetRect(dx, dy);
    const CPoint position(clientX, clientY);
    if (m_pBkWnd && position != g_lastFollowedPosition) {
        m_pBkWnd->MoveWindow(&background, TRUE);
        g_lastFollowedPosition = position;
    }
}

void CArcBitmapDialog::ResizeBackground() {
    const int margin = ScaleByDpi(10);
    CRect window;
    GetWindowRect(&window);
    const int width = window.Width() + 2 * margin;
    const int height = window.Height() + 2 * margin;
    ::SendMessageW(m_hBkWnd, WM_PNGBK_DRAW, PNGBK_RESIZE, MAKELPARAM(width, height));
}

LRESULT CArcBitmapDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MOVE: {
        const LRESULT result = CBitmapDialog::WindowProc(msg, wp, lp);
        FollowWithBackground(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
        return result;
    }
    case WM_SIZE: {
        const LRESULT result = CBitmapDialog::WindowProc(msg, wp, lp);
        ResizeBackground();
        return result;
    }
    case WM_NCHITTEST: {
        if (m_bLocked) return HTNOWHERE;
        const LRESULT hit = CBitmapDialog::WindowProc(msg, wp, lp);
        return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_SYSCOMMAND: {
        const UINT command = static_cast<UINT>(wp & 0xFFF0);
        if (m_bLocked && (command == SC_MOVE || (wp & 0xFFFF) == kMoveByCaption)) return 0;
        break;
    }
    case WM_HELP:
        return TRUE;
    default:
        break;
    }
    return CBitmapDialog::WindowProc(msg, wp, lp);
}

BOOL CArcBitmapDialog::PreTranslateMessage(MSG* msg) {
    if (m_bLocked && (msg->message == WM_LBUTTONDOWN || msg->message == WM_MOUSEMOVE)) return TRUE;
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_F1 || msg->wParam == VK_ESCAPE)) return TRUE;
    return CBitmapDialog::PreTranslateMessage(msg);
}
