#include "ShadeButton.h"

#include "Dpi.h"
#include "framework/AfxResources.h"
#include "resources/ResourceIds.h"

CNimbShadeButtonST::~CNimbShadeButtonST() { DestroyIcons(); }

void CNimbShadeButtonST::SetCheck(int checked, BOOL redraw) {
    m_bChecked = checked;
    if (redraw) Invalidate(TRUE);
}

HICON CNimbShadeButtonST::LoadStateIcon(UINT id) const {
    return static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON, m_sizeIcon.cx,
                                           m_sizeIcon.cy, LR_DEFAULTCOLOR));
}

void CNimbShadeButtonST::SetIcons(UINT checkedId, UINT uncheckedId) {
    if (m_hIconChecked) ::DestroyIcon(m_hIconChecked);
    m_hIconChecked = LoadStateIcon(checkedId);
    if (uncheckedId == 0) return;
    if (m_hIconUnchecked) ::DestroyIcon(m_hIconUnchecked);
    m_hIconUnchecked = LoadStateIcon(uncheckedId);
}

void CNimbShadeButtonST::DestroyIcons() {
    if (m_hIconChecked) ::DestroyIcon(m_hIconChecked);
    if (m_hIconUnchecked) ::DestroyIcon(m_hIconUnchecked);
    m_hIconChecked = m_hIconUnchecked = nullptr;
}

void CNimbShadeButtonST::PreSubclassWindow() {
    m_sizeIcon = SIZE{ScaleByDpi(16), ScaleByDpi(16)};
    m_hIconChecked = LoadStateIcon(IDI_CHECK_TICKED);
    m_hIconUnchecked = LoadStateIcon(IDI_CHECK_UNTICKED);
    ModifyStyle(0, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
}

BOOL CNimbShadeButtonST::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        SetFocus();
        m_bChecked = !m_bChecked;
        Invalidate(TRUE);
        return FALSE; // the parent handles the click too, after the toggle
    }
    if (msg == WM_CTLCOLORBTN || msg == WM_CTLCOLORSTATIC) {
        ::SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        *result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        return TRUE;
    }
    return CButton::OnChildNotify(msg, wp, lp, result);
}

LRESULT CNimbShadeButtonST::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) return TRUE;
    if (msg == WM_DESTROY) DestroyIcons();
    return CButton::WindowProc(msg, wp, lp);
}

void CNimbShadeButtonST::DrawItem(LPDRAWITEMSTRUCT item) {
    HDC dc = item->hDC;
    ::SetBkMode(dc, TRANSPARENT);
    const RECT& rect = item->rcItem;
    const int height = rect.bottom - rect.top;
    HICON icon = m_bChecked ? m_hIconChecked : m_hIconUnchecked;
    if (icon) {
        ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, rect.left,
                     (height - m_sizeIcon.cy) / 2, 0, 0, DST_ICON);
    }
    RECT textRect = rect;
    textRect.left = ScaleByDpi(30);
    HGDIOBJ previousFont = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    const COLORREF previousColour = ::SetTextColor(dc, m_crText);
    ::DrawTextW(dc, GetWindowText(), -1, &textRect, DT_VCENTER | DT_SINGLELINE);
    ::SetTextColor(dc, previousColour);
    ::SelectObject(dc, previousFont);
}
