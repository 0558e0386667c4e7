#include "ImageButtons.h"

#include "Dpi.h"
#include "PngResource.h"

CSoftBitmapButton::CSoftBitmapButton()
    : m_crNormal(::GetSysColor(COLOR_WINDOWFRAME)),
      m_crPressed(m_crNormal),
      m_crHover(m_crNormal),
      m_crDisabled(m_crNormal) {}

void CSoftBitmapButton::SetTextColor(COLORREF colour) { m_crNormal = m_crPressed = m_crHover = m_crDisabled = colour; }

void CSoftBitmapButton::SetTextColors(COLORREF a, COLORREF b) {
    m_crNormal = m_crDisabled = a;
    m_crPressed = m_crHover = b;
}

void CSoftBitmapButton::SetTextColors(COLORREF a, COLORREF b, COLORREF c) {
    m_crNormal = m_crDisabled = a;
    m_crPressed = b;
    m_crHover = c;
}

LRESULT CSoftBitmapButton::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEMOVE && !m_bHover) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
        m_bHover = 1;
        Invalidate(FALSE);
    } else if (msg == WM_MOUSELEAVE) {
        m_bHover = 0;
        Invalidate(FALSE);
    }
    return CBitmapButton::WindowProc(msg, wp, lp);
}

void CPngButton::SetPngImages(UINT normal, UINT pressed, UINT hover, UINT disabled) {
    m_nPngNormal = normal;
    m_nPngPressed = pressed;
    m_nPngHover = hover;
    m_nPngDisabled = disabled;
}

void CPngButton::PreSubclassWindow() {
    ModifyStyle(0, BS_OWNERDRAW);
    CSoftBitmapButton::PreSubclassWindow();
}

LRESULT CPngButton::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) return TRUE; // the face is drawn over what is on the screen
    return CSoftBitmapButton::WindowProc(msg, wp, lp);
}

void CPngButton::ChooseFace(UINT itemState, UINT& png, COLORREF& colour) const {
    if ((itemState & ODS_SELECTED) && m_nPngPressed) {
        png = m_nPngPressed;
        colour = m_crPressed;
    } else if ((itemState & ODS_DISABLED) && m_nPngDisabled) {
        png = m_nPngDisabled;
        colour = m_crDisabled;
    } else if (m_bHover && m_nPngHover) {
        png = m_nPngHover;
        colour = m_crHover;
    } else {
        png = m_nPngNormal;
        colour = m_crNormal;
    }
}

void CPngButton::DrawCaption(HDC dc, const RECT& rect, COLORREF colour) const {
    ::SetBkMode(dc, TRANSPARENT);
    HFONT font = CreateRegularFont(m_nFontSize);
    HGDIOBJ previousFont = ::SelectObject(dc, font);
    const COLORREF previousColour = ::SetTextColor(dc, colour);
    RECT textRect = rect;
    ::DrawTextW(dc, m_strText, -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SetTextColor(dc, previousColour);
    ::SelectObject(dc, previousFont);
    ::DeleteObject(font);
}

void CPngButton::DrawItem(LPDRAWITEMSTRUCT item) {
    UINT png = 0;
    COLORREF colour = 0;
    ChooseFace(item->itemState, png, colour);
    CRect client;
    GetClientRect(&client);
    DrawPngResource(item->hDC, png, client);
    if (m_bRepaint) {
        m_bRepaint = false;
        Invalidate(TRUE);
        UpdateWindow();
    }
    DrawCaption(item->hDC, item->rcItem, colour);
}
