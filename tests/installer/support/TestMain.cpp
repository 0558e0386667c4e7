// Entry point of the Windows test programs.
#include <windows.h>
#include <gdiplus.h>

#include "QuorTest.h"

int main(int argc, char** argv) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    const int result = quortest::RunAll(argc, argv);
    Gdiplus::GdiplusShutdown(token);
    return result;
}
