#pragma once
// The few Windows-style module, string-resource and code-page calls that host modules use.
//
// A resource module is a shared library "<name>.so" that exports
//   extern "C" const ZrResourceString* zrResourceStrings(int* count);
// LoadLibraryW with a bare name (no '/' in it) looks for "<name>.so", or the
// name itself when it already ends in ".so", in this order: each folder of the
// NIMB_LIBRARY_PATH environment variable (':'-separated), the folder of the
// running program, each folder of PATH. It returns null when none is found.
#include <cstdint>

typedef void* HMODULE;
typedef HMODULE HINSTANCE;

struct ZrResourceString {
    unsigned int id;
    const wchar_t* text;
};

extern "C" {
HMODULE LoadLibraryW(const wchar_t* fileName);
int FreeLibrary(HMODULE module);
// Copies string id of module into buffer (at most bufferMax - 1 characters,
// always terminated) and returns the number copied, or 0 when the module is
// null, has no such string, or bufferMax is below 1. A string longer than the
// buffer is cut.
int LoadStringW(HINSTANCE module, unsigned int id, wchar_t* buffer, int bufferMax);
// The host's ANSI code page (see ZrCodePage.h): 1252, 1251, 936, ...
unsigned int GetACP();
}
