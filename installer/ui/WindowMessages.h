// Window messages between the installer's pages, its worker and the background windows.
#pragma once

#include <windows.h>

// Page to background: show a PNG, or (wParam PNGBK_RESIZE) take a new size.
constexpr UINT WM_PNGBK_DRAW = WM_USER + 400;
constexpr WPARAM PNGBK_RESIZE = 0x0593;

// Between the welcome page and the install worker.
constexpr UINT WM_INSTALL_START = WM_USER + 200;
constexpr UINT WM_INSTALL_SUCCEEDED = WM_USER + 201;
constexpr UINT WM_INSTALL_FAILED = WM_USER + 202;
// A tip is shown for the page (lock it) / was closed (unlock it).
constexpr UINT WM_TIP_OPENED = WM_USER + 203;
constexpr UINT WM_TIP_CLOSED = WM_USER + 204;
