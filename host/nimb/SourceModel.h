#pragma once
// A file read a second time, by the host's own kernel, for comparing what an
// import made with what the file holds.
#include <string>
#include <vector>

#include <zrbase/ZrGePoint3d.h>

// One shape of the file that an import turns into one body: a solid (or a
// closed shell) or an open sheet (a shell that does not close, a loose face).
struct SourceBody {
    bool closed = false;
    bool valid = true;
    double volume = 0.0; // closed bodies only
    double area = 0.0;
    ZrGePoint3d centroid;
    double size = 0.0; // diagonal of the body's box
};

struct SourceModel {
    std::vector<SourceBody> bodies;
    // Empty when the file was read; otherwise why not.
    std::string failure;
};

SourceModel readSourceModel(const std::string& path);
