// Thin wrappers of the standard controls.
#pragma once

#include "AfxWnd.h"

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }

protected:
    // Owner-drawn buttons get their WM_DRAWITEM here, reflected from the parent.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
};

// A button that shows bitmaps; here only its button behaviour is used.
class CBitmapButton : public CButton {};

class CStatic : public CWnd {};

class CEdit : public CWnd {
public:
    void SetSel(int start, int end, BOOL noScroll = FALSE) {
        SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
        if (!noScroll) SendMessage(EM_SCROLLCARET);
    }
    int LineLength(int line = -1) const { return static_cast<int>(SendMessage(EM_LINELENGTH, static_cast<WPARAM>(line))); }
};
