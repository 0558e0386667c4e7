// Owner-drawn push buttons whose face is a PNG chosen by state, with a
// centred caption in a state colour.
#pragma once

#include "framework/AfxControls.h"
#include "framework/AfxString.h"

// Caption, state colours, font height and hover tracking.
class CSoftBitmapButton : public CBitmapButton {
public:
    CSoftBitmapButton();

    void SetCaption(const wchar_t* text) { m_strText = text; }
    void SetFontSize(int height) { m_nFontSize = height; }
    void SetTextColor(COLORREF colour);
    // normal and disabled = a; pressed and hover = b
    void SetTextColors(COLORREF a, COLORREF b);
    // normal and disabled = a; pressed = b; hover = c
    void SetTextColors(COLORREF a, COLORREF b, COLORREF c);

    int m_bHover = 0;
    int m_nFontSize = 14;
    CString m_strText;
    COLORREF m_crNormal;
    COLORREF m_crPressed;
    COLORREF m_crHover;
    COLORREF m_crDisabled;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

class CPngButton : public CSoftBitmapButton {
public:
    CPngButton() = default;

    // PNG resource ids for normal, pressed, hover and disabled; 0 = none.
    void SetPngImages(UINT normal, UINT pressed, UINT hover, UINT disabled);

    // Set by a page after changing the images: the next draw repaints the
    // whole button once more.
    bool m_bRepaint = false;
    UINT m_nPngNormal = 0;
    UINT m_nPngPressed = 0;
    UINT m_nPngHover = 0;
    UINT m_nPngDisabled = 0;

protected:
    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT item) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ChooseFace(UINT itemState, UINT& png, COLORREF& colour) const;
    void DrawCaption(HDC dc, const RECT& rect, COLORREF colour) const;
};
