#pragma once
#include <zrbase/ZrString.h>

#include "../assembly/FileKind.h"

// The kind of file path names, by its extension without regard to case:
// ".step", ".stp", ".ste" are STEP, ".iges", ".igs" are IGES. Only the text
// after the last dot counts.
FileKind fileKindOf(const ZrString& path);
