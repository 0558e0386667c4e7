// Labels that draw text over the transparent page without a background of their own.
#pragma once

#include "framework/AfxControls.h"
#include "framework/AfxString.h"

// A text block whose text, height, colour and alignment are set in code.
class CNimbStatic : public CWnd {
public:
    CNimbStatic();

    void SetText(const wchar_t* text) { m_strText = text; }
    void SetFontSizeAndColor(int height, COLORREF colour) {
        m_nFontSize = height;
        m_crText = colour;
    }
    void SetCenter(bool centre) { m_bCenter = centre; }

    CString m_strText;
    int m_nFontSize = 20;
    COLORREF m_crText = RGB(77, 77, 77);
    bool m_bCenter = false;
    LOGFONTW m_lf;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    BOOL OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

private:
    void Paint();
};

// The control's window text in a colour, wrapped or on one line, optionally
// underlined and with its own cursor; clicks reach the parent as STN_CLICKED.
class CLabelEx : public CStatic {
public:
    void SetTextColor(COLORREF colour) { m_crText = colour; }
    void SetWordWrap(bool wrap) { m_bWordWrap = wrap; }
    void SetUnderline(int on, COLORREF colour) {
        m_bUnderline = on;
        m_crUnderline = colour;
    }
    // With null, the hand cursor of the system's help program is used.
    void SetLinkCursor(HCURSOR cursor);

    int m_bUnderline = 0;
    COLORREF m_crText = 0;
    COLORREF m_crUnderline = RGB(0, 0, 255);
    HCURSOR m_hLinkCursor = nullptr;
    int m_bWordWrap = 1;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Paint();
};
