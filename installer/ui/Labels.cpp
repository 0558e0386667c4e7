#include "Labels.h"

#include "Dpi.h"
#include "framework/AfxGlobalData.h"

namespace {

// Selects an object into a device context for the lifetime of the guard.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (m_previous) ::SelectObject(m_dc, m_previous);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

} // namespace

CNimbStatic::CNimbStatic() : m_lf(AfxGetRegularFont()) {}

BOOL CNimbStatic::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg != WM_CTLCOLORSTATIC) return CWnd::OnChildNotify(msg, wp, lp, result);
    ::SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
    *result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    return TRUE;
}

LRESULT CNimbStatic::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) return TRUE;
    if (msg == WM_PAINT) {
        Paint();
        return 0;
    }
    return CWnd::WindowProc(msg, wp, lp);
}

void CNimbStatic::Paint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    m_lf.lfHeight = ScaleByDpi(m_nFontSize);
    HFONT font = ::CreateFontIndirectW(&m_lf);
    {
        SelectedObject selected(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        const COLORREF previousColour = ::SetTextColor(dc, m_crText);
        CRect client;
        GetClientRect(&client);
        const UINT format = m_bCenter ? (DT_CENTER | DT_VCENTER | DT_SINGLELINE) : DT_WORDBREAK;
        ::DrawTextW(dc, m_strText, -1, &client, format);
        ::SetTextColor(dc, previousColour);
    }
    ::DeleteObject(font);
    ::EndPaint(m_hWnd, &paint);
}

void CLabelEx::SetLinkCursor(HCURSOR cursor) {
    m_hLinkCursor = cursor;
    if (m_hLinkCursor) return;
    wchar_t helper[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryW(helper, MAX_PATH);
    if (length == 0 || length + 14 >= MAX_PATH) return;
    wcscat(helper, L"\\winhlp32.exe");
    HMODULE module = ::LoadLibraryW(helper);
    if (!module) return;
    HCURSOR hand = ::LoadCursorW(module, MAKEINTRESOURCEW(106));
    if (hand) m_hLinkCursor = static_cast<HCURSOR>(::CopyImage(hand, IMAGE_CURSOR, 0, 0, 0));
    ::FreeLibrary(module);
}

void CLabelEx::PreSubclassWindow() {
    ModifyStyle(0, SS_NOTIFY);
    HWND parent = ::GetParent(m_hWnd);
    SendMessage(WM_SETFONT, parent ? ::SendMessageW(parent, WM_GETFONT, 0, 0) : 0, TRUE);
    CStatic::PreSubclassWindow();
}

LRESULT CLabelEx::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        Paint();
        return 0;
    }
    if (msg == WM_SETCURSOR) {
        if (!m_hLinkCursor) return FALSE;
        ::SetCursor(m_hLinkCursor);
        return TRUE;
    }
    return CStatic::WindowProc(msg, wp, lp);
}

void CLabelEx::Paint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    {
        SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
        const COLORREF previousColour = ::SetTextColor(dc, m_crText);
        ::SetBkMode(dc, TRANSPARENT);
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        const CString text = GetWindowText();
        CRect client;
        GetClientRect(&client);
        const int x = ScaleByDpi(4);
        const int y = client.top + (client.Height() - metrics.tmHeight) / 2;
        if (!text.IsEmpty()) {
            if (m_bWordWrap) {
                ::DrawTextW(dc, text, -1, &client, DT_WORDBREAK);
            } else {
                ::TextOutW(dc, x, y, text, text.GetLength());
            }
        }
        if (m_bUnderline) {
            SIZE extent{0, 0};
            ::GetTextExtentPoint32W(dc, text, text.GetLength(), &extent);
            HPEN pen = ::CreatePen(PS_SOLID, 1, m_crUnderline);
            {
                SelectedObject selectedPen(dc, pen);
                const int underlineY = y + metrics.tmHeight;
                ::MoveToEx(dc, x, underlineY, nullptr);
                ::LineTo(dc, x + extent.cx, underlineY);
            }
            ::DeleteObject(pen);
        }
        ::SetTextColor(dc, previousColour);
    }
    ::EndPaint(m_hWnd, &paint);
}
