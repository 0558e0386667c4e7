#pragma once
// A picture of a drawing, the way a person looks at its model space: shaded,
// in an isometric view from the front right above, fitted to the model's
// extents, every entity in its colour, the edges of solids and surfaces
// drawn, curves and points on top. Rendered off-screen with OpenGL; the
// renderer needs an X display (DISPLAY), which xvfb-run provides on a
// machine without one.
#include <string>

#include <zrbase/ZrErrorStatus.h>

class ZrDbDatabase;

struct ZrGsPictureOptions {
    int width = 1280;
    int height = 960;
};

// Renders db into a PNG file at path. Nothing in the drawing is opened for
// write or changed. On failure error says why: no display, no OpenGL, an
// empty drawing, a file that cannot be written.
Nimb::ErrorStatus zrgsSavePicture(ZrDbDatabase* db, const std::string& path, const ZrGsPictureOptions& options,
                                  std::string& error);
