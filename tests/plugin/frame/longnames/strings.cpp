// Keyword module with the longest command names that fit a 1000-character buffer.
#include <string>

#include <zrbase/zrwin.h>

namespace {
const std::wstring stepName = L"s" + std::wstring(998, L'x');
const std::wstring igesName = L"i" + std::wstring(998, L'y');
const ZrResourceString strings[] = {{74000, stepName.c_str()}, {74001, igesName.c_str()}};
} // namespace

extern "C" __attribute__((visibility("default"))) const ZrResourceString* zrResourceStrings(int* count)
{
    *count = 2;
    return strings;
}
