// Texts: the resource module against the built-in defaults, and the buffer rules.
#include <windows.h>

#include <string>

#include "app/InstallerTexts.h"
#include "resources/ResourceIds.h"
#include "support/QuorTest.h"

namespace {

// Runs the check with g_hTextModule set to module, then restores it.
template <typename Check>
void WithTextModule(HMODULE module, Check check) {
    const HMODULE previous = g_hTextModule;
    g_hTextModule = module;
    check();
    g_hTextModule = previous;
}

} // namespace

QUOR_TEST(ResourceModuleCarriesEveryDefaultText) {
    CResourceText first(IDS_FINISH, L"Finish");
    first.GetText();
    REQUIRE(g_hTextModule != nullptr);
    int checked = 0;
    for (int id = 3200; id <= 3229; ++id) {
        const wchar_t* fallback = DefaultInstallerText(id);
        if (!fallback) continue;
        wchar_t fromModule[1000] = {};
        CHECK(::LoadStringW(g_hTextModule, static_cast<UINT>(id), fromModule, 1000) > 0);
        CHECK_EQ(std::wstring(fromModule), std::wstring(fallback));
        ++checked;
    }
    CHECK_EQ(checked, 28);
    CHECK(DefaultInstallerText(3207) == nullptr);
    CHECK(DefaultInstallerText(3210) == nullptr);
}

QUOR_TEST(MissingStringsFallBackToTheDefault) {
    CHECK_EQ(std::wstring(CResourceText(3207, L"built in").GetText()), std::wstring(L"built in"));
    CHECK_EQ(std::wstring(CResourceText(3207, nullptr).GetText()), std::wstring());
    WithTextModule(::GetModuleHandleW(nullptr), [] {
        CHECK_EQ(std::wstring(CResourceText(IDS_OK, L"OK").GetText()), std::wstring(L"OK"));
        CHECK_EQ(InstallerText(IDS_REGISTRY_WRITE_FAILED).str(),
                 std::wstring(L"Error\uFF1AUnable to Create the registry information!"));
    });
}

QUOR_TEST(LongStringsFitTheBuffer) {
    HMODULE testTexts = ::LoadLibraryW(L"quor_test_texts.dll");
    REQUIRE(testTexts != nullptr);
    WithTextModule(testTexts, [] {
        CResourceText exact(9001, L"default");
        const std::wstring exactText = exact.GetText();
        CHECK_EQ(exactText.size(), static_cast<size_t>(999));
        CHECK_EQ(exactText, std::wstring(999, L'x'));
        CResourceText tooLong(9002, L"default");
        const std::wstring cut = tooLong.GetText();
        CHECK_EQ(cut.size(), static_cast<size_t>(999));
    });
    ::FreeLibrary(testTexts);
}
