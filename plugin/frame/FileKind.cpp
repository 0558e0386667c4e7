#include "FileKind.h"

namespace {
// Made when the module is loaded, kept until it is unloaded.
const ZrString stepExtensions[3] = {L".step", L".stp", L".ste"};
const ZrString igesExtensions[2] = {L".iges", L".igs"};
} // namespace

FileKind fileKindOf(const ZrString& path)
{
    // A path without a dot gives p = -1 and so the whole path, which matches
    // no extension.
    const int p = path.findLastOneOf(L".");
    const ZrString extension = path.substrRev(path.length() - p);
    for (int i = 0; i < 3; ++i) {
        if (extension.compareNoCase(stepExtensions[i]) == 0)
            return kStepFile;
        if (i < 2 && extension.compareNoCase(igesExtensions[i]) == 0)
            return kIgesFile;
    }
    return kNotSupported;
}
