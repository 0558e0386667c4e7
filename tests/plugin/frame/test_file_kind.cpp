#include <gtest/gtest.h>

#include "frame/FileKind.h"

TEST(FileKind, ByTheLastExtensionWithoutRegardToCase)
{
    struct Case {
        const char* path;
        FileKind kind;
    } cases[] = {
        {"part.step", kStepFile},         {"part.stp", kStepFile},     {"part.ste", kStepFile},
        {"PART.STP", kStepFile},          {"a.b.step", kStepFile},     {"/data/x.Igs", kIgesFile},
        {"model.IGES", kIgesFile},        {"part.stpx", kNotSupported}, {"part.st", kNotSupported},
        {"noextension", kNotSupported},   {"", kNotSupported},          {"dir.stp/part", kNotSupported},
        {".stp", kStepFile},              {"part.", kNotSupported},     {"part.step.bak", kNotSupported},
        {"\xE8\x9E\xBA\xE6\xA0\x93.STEP", kStepFile},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fileKindOf(ZrString(c.path, ZrString::kUtf8)), c.kind) << c.path;
}
