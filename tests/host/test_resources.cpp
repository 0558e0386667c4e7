#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <zrbase/zrwin.h>

// The test runs with NIMB_LIBRARY_PATH naming the folder of the host's
// keyword module.
TEST(ResourceModules, LoadsByBareNameAndReadsStrings)
{
    HMODULE module = LoadLibraryW(L"nimbkwlres");
    ASSERT_NE(module, nullptr);
    wchar_t buffer[1000];
    EXPECT_EQ(LoadStringW(module, 74000, buffer, 1000), 10);
    EXPECT_EQ(std::wstring(buffer), L"importstep");
    EXPECT_EQ(LoadStringW(module, 4, buffer, 1000), 0);
    // A short buffer gets what fits, terminated.
    EXPECT_EQ(LoadStringW(module, 74001, buffer, 4), 3);
    EXPECT_EQ(std::wstring(buffer), L"imp");
    EXPECT_EQ(LoadStringW(module, 74001, buffer, 0), 0);
    EXPECT_EQ(FreeLibrary(module), 1);
}

TEST(ResourceModules, MissingModuleGivesNullAndNoStrings)
{
    EXPECT_EQ(LoadLibraryW(L"no_such_module"), nullptr);
    EXPECT_EQ(LoadLibraryW(L""), nullptr);
    wchar_t buffer[8] = L"keep";
    EXPECT_EQ(LoadStringW(nullptr, 74000, buffer, 8), 0);
    EXPECT_EQ(std::wstring(buffer), L"keep");
}
