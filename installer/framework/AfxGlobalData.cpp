#include "AfxGlobalData.h"

#include <cwchar>

namespace {

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool IsFontInstalled(const wchar_t* face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(screen, &query, NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

LOGFONTW SystemMenuFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        LOGFONTW fallback{};
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(fallback), &fallback);
        return fallback;
    }
    return metrics.lfMenuFont;
}

} // namespace

double AfxImageScaleForDpi(int dpi) {
    const double scale = dpi / 96.0;
    return (scale > 1.0 && scale < 1.1) ? 1.0 : scale;
}

double AfxGetImageScale() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return AfxImageScaleForDpi(dpi);
}

namespace {

LOGFONTW ChooseRegularFont() {
    LOGFONTW font = SystemMenuFont();
    const BYTE charset = font.lfCharSet;
    if (charset == ANSI_CHARSET || charset == DEFAULT_CHARSET || charset == SYMBOL_CHARSET) {
        const wchar_t* const faces[] = {L"Segoe UI", L"Tahoma"};
        const wchar_t* chosen = L"MS Sans Serif";
        for (const wchar_t* face : faces) {
            if (IsFontInstalled(face)) {
                chosen = face;
                break;
            }
        }
        wcsncpy(font.lfFaceName, chosen, LF_FACESIZE - 1);
        font.lfFaceName[LF_FACESIZE - 1] = 0;
    }
    return font;
}

} // namespace

LOGFONTW AfxGetRegularFont() {
    // Chosen once: enumerating the installed fonts is slow.
    static const LOGFONTW font = ChooseRegularFont();
    return font;
}
