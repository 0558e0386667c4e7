// Page dialogs of the skinned window pair. A page is colour-keyed transparent,
// so only its controls show, and floats over its background window (a
// CZrPngBkDlg) a margin smaller on every side; the background follows the
// page when it moves or changes size.
#pragma once

#include "framework/AfxDialog.h"
#include "framework/AfxTypes.h"

class CZrPngBkDlg;

class CBitmapDialog : public CDialog {
public:
    CBitmapDialog(UINT templateId, CWnd* parent);

protected:
    CBrush m_brush;
};

class CArcBitmapDialog : public CBitmapDialog {
public:
    CArcBitmapDialog(UINT templateId, CWnd* parent);

    // Links the background window; called before the page is created.
    void LinkBackground(CZrPngBkDlg* background);

    BOOL PreTranslateMessage(MSG* msg) override;

    UINT m_nBkPngId = 0;
    HWND m_hBkWnd = nullptr;
    CZrPngBkDlg* m_pBkWnd = nullptr;
    // Set while a tip is shown for this page: no clicks, no dragging.
    bool m_bLocked = false;
    COLORREF m_crKey = RGB(230, 230, 250);

protected:
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT ctlColorType) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FollowWithBackground(int clientX, int clientY);
    void ResizeBackground();
};
