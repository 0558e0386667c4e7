// Scaling of pixel lengths given at 96 DPI.
#pragma once

#include <windows.h>

// value at the screen's DPI: value x scale + 0.5, truncated, when the image
// scale is above 1.0; unchanged otherwise.
int ScaleByDpi(int value);
int ScaleByImageScale(int value, double scale);

// The regular UI font at a height given at 96 DPI; the caller deletes it.
HFONT CreateRegularFont(int heightAt96Dpi);
