// Process-wide visual settings of the framework: the image scale for high-DPI
// screens and the regular UI font.
#pragma once

#include <windows.h>

// Screen's horizontal logical DPI divided by 96; factors strictly between 1.0
// and 1.1 count as 1.0.
double AfxGetImageScale();
// Same rule for a given DPI, so the arithmetic can be checked without a screen.
double AfxImageScaleForDpi(int dpi);

// The regular UI font: the system menu font with its weight and italic kept;
// for Western character sets the face is the first installed of "Segoe UI",
// "Tahoma" and "MS Sans Serif".
LOGFONTW AfxGetRegularFont();
