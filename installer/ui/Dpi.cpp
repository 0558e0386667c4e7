#include "Dpi.h"

#include "framework/AfxGlobalData.h"

int ScaleByImageScale(int value, double scale) {
    return scale > 1.0 ? static_cast<int>(value * scale + 0.5) : value;
}

int ScaleByDpi(int value) { return ScaleByImageScale(value, AfxGetImageScale()); }

HFONT CreateRegularFont(int heightAt96Dpi) {
    LOGFONTW font = AfxGetRegularFont();
    font.lfHeight = ScaleByDpi(heightAt96Dpi);
    return ::CreateFontIndirectW(&font);
}
