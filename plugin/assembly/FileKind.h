#pragma once

// What an import reads, chosen from the file name.
enum FileKind : int {
    kNotSupported = 0,
    kStepFile = 1,
    kIgesFile = 2,
};
