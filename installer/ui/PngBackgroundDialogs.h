// Background windows: layered windows that show one PNG with its alpha channel
// behind a page (Parts of the skinned window pair, see BitmapDialogs.h).
#pragma once

#include <memory>

#include "PngResource.h"
#include "WindowMessages.h"
#include "framework/AfxDialog.h"

class CZrPngBkDlg : public CDialog {
public:
    // Template 244 at 748 x 530 pixels.
    explicit CZrPngBkDlg(CWnd* parent);
    // Any template; the size is set later.
    CZrPngBkDlg(UINT templateId, CWnd* parent);
    ~CZrPngBkDlg() override;

    // Shows PNG id at cx x cy pixels; the window takes that size. Returns 0.
    int DrawPng(UINT id, int cx, int cy);
    // DrawPng at the stored size.
    void ShowPng(UINT id);
    // The off-screen surface of the last DrawPng (premultiplied 32-bit ARGB).
    HDC GetSurfaceDC() const { return m_hMemDC; }

    HICON m_hIcon;
    int m_cx = 0;
    int m_cy = 0;
    std::unique_ptr<CPngResource> m_pImage;
    BLENDFUNCTION m_blend{};
    HDC m_hMemDC = nullptr;
    UINT m_nPngId = 0;

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void InitLayeredBackground();

private:
    void ReleaseSurface();
    void PaintMinimisedIcon();

    HBITMAP m_hSurface = nullptr;
    HGDIOBJ m_hPreviousBitmap = nullptr;
};

// Behind a tip dialog: 490 x 280 pixels, centred on the screen.
class CZrPngTipBKDlg : public CZrPngBkDlg {
public:
    explicit CZrPngTipBKDlg(CWnd* parent = nullptr) : CZrPngBkDlg(244, parent) {}

protected:
    BOOL OnInitDialog() override;
};

// Behind the welcome and finish pages; the application's main window.
class CZrPngMainBKDlg : public CZrPngBkDlg {
public:
    CZrPngMainBKDlg() : CZrPngBkDlg(nullptr) {}
};
