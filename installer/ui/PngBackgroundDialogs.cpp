#include "PngBackgroundDialogs.h"

#include "framework/AfxResources.h"
#include "resources/ResourceIds.h"

namespace {

using UpdateLayeredWindowFunction = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                                  DWORD);

UpdateLayeredWindowFunction LookUpUpdateLayeredWindow() {
    HMODULE user32 = ::GetModuleHandleW(L"User32.DLL");
    return user32 ? reinterpret_cast<UpdateLayeredWindowFunction>(
                        reinterpret_cast<void*>(::GetProcAddress(user32, "UpdateLayeredWindow")))
                  : nullptr;
}

// A top-down 32-bit DIB, so the surface keeps the alpha channel the layered window needs.
HBITMAP CreateAlphaSurface(HDC compatible, int cx, int cy, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return ::CreateDIBSection(compatible, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

} // namespace

CZrPngBkDlg::CZrPngBkDlg(CWnd* parent) : CZrPngBkDlg(IDD_MAIN_BACKGROUND, parent) {
    m_cx = 748;
    m_cy = 530;
}

CZrPngBkDlg::CZrPngBkDlg(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent),
      m_hIcon(static_cast<HICON>(
          ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE))) {}

CZrPngBkDlg::~CZrPngBkDlg() {
    ReleaseSurface();
    if (m_hIcon) ::DestroyIcon(m_hIcon);
}

void CZrPngBkDlg::ReleaseSurface() {
    if (m_hMemDC) {
        ::SelectObject(m_hMemDC, m_hPreviousBitmap);
        ::DeleteDC(m_hMemDC);
    }
    if (m_hSurface) ::DeleteObject(m_hSurface);
    m_hMemDC = nullptr;
    m_hSurface = nullptr;
    m_hPreviousBitmap = nullptr;
}

int CZrPngBkDlg::DrawPng(UINT id, int cx, int cy) {
    m_nPngId = id;
    if (cx <= 0 || cy <= 0) return 0;
    // Each draw makes a new surface; the previous one is released, not leaked.
    ReleaseSurface();
    HDC windowDC = ::GetDC(m_hWnd);
    void* bits = nullptr;
    m_hMemDC = ::CreateCompatibleDC(windowDC);
    m_hSurface = CreateAlphaSurface(windowDC, cx, cy, &bits);
    m_hPreviousBitmap = ::SelectObject(m_hMemDC, m_hSurface);

    CRect window;
    GetWindowRect(&window);
    POINT topLeft{window.left, window.top};

    m_pImage = std::make_unique<CPngResource>(id);
    if (m_pImage->IsLoaded() && bits) {
        Gdiplus::Bitmap surface(cx, cy, cx * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
        Gdiplus::Graphics graphics(&surface);
        graphics.DrawImage(m_pImage->Image(), 0, 0, cx, cy);
    }
    static const UpdateLayeredWindowFunction updateLayeredWindow = LookUpUpdateLayeredWindow();
    if (updateLayeredWindow) {
        SIZE size{cx, cy};
        POINT source{0, 0};
        updateLayeredWindow(m_hWnd, windowDC, &topLeft, &size, m_hMemDC, &source, 0, &m_blend, ULW_ALPHA);
    }
    ::ReleaseDC(m_hWnd, windowDC);
    return 0;
}

void CZrPngBkDlg::ShowPng(UINT id) { DrawPng(id, m_cx, m_cy); }

void CZrPngBkDlg::InitLayeredBackground() {
    m_blend = BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(GetExStyle() ^ WS_EX_LAYERED));
    SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL CZrPngBkDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    InitLayeredBackground();
    return TRUE;
}

void CZrPngBkDlg::PaintMinimisedIcon() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    CRect client;
    GetClientRect(&client);
    const int cx = ::GetSystemMetrics(SM_CXICON);
    const int cy = ::GetSystemMetrics(SM_CYICON);
    ::DrawIcon(dc, (client.Width() - cx + 1) / 2, (client.Height() - cy + 1) / 2, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
}

LRESULT CZrPngBkDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PNGBK_DRAW:
        if (wp == PNGBK_RESIZE) {
            m_cx = LOWORD(lp);
            m_cy = HIWORD(lp);
            ShowPng(m_nPngId);
        } else {
            ShowPng(static_cast<UINT>(wp));
        }
        return 0;
    case WM_PAINT:
        if (!::IsIconic(m_hWnd)) break;
        PaintMinimisedIcon();
        return 0;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_hIcon);
    default:
        break;
    }
    return CDialog::WindowProc(msg, wp, lp);
}

BOOL CZrPngTipBKDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    m_cx = 490;
    m_cy = 280;
    InitLayeredBackground();
    CenterWindow(::GetDesktopWindow());
    return TRUE;
}
