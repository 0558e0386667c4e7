// String resources of the keyword module.
#include <zrbase/zrwin.h>

namespace {
const ZrResourceString kStrings[] = {
    {74000, L"importstep"},
    {74001, L"importiges"},
};
}

extern "C" __attribute__((visibility("default"))) const ZrResourceString* zrResourceStrings(int* count)
{
    *count = static_cast<int>(sizeof kStrings / sizeof kStrings[0]);
    return kStrings;
}
