// Both builds of the shipped installer carry their application manifest,
// read back from the resource section of the PE files and as the system's
// loader reads it.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/QuorTest.h"
#include "support/WineEnvironment.h"

namespace {

constexpr WORD kManifestId = 1;   // the manifest the loader reads when a process starts
constexpr WORD kManifestType = 24; // RT_MANIFEST

// The machine field of a PE file's header, or 0 when it cannot be read.
WORD MachineOf(const std::wstring& path) {
    const std::string bytes = ReadFileText(path);
    if (bytes.size() < 0x40) return 0;
    const auto headerAt = *reinterpret_cast<const LONG*>(bytes.data() + 0x3C);
    if (headerAt < 0 || bytes.size() < static_cast<size_t>(headerAt) + 6) return 0;
    if (bytes.compare(static_cast<size_t>(headerAt), 4, std::string("PE\0\0", 4)) != 0) return 0;
    return *reinterpret_cast<const WORD*>(bytes.data() + headerAt + 4);
}

// The text of the program's manifest resource, or "" when it has none.
std::string ManifestOf(const std::wstring& path) {
    HMODULE image = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!image) return std::string();
    std::string text;
    HRSRC found = ::FindResourceW(image, MAKEINTRESOURCEW(kManifestId), MAKEINTRESOURCEW(kManifestType));
    HGLOBAL loaded = found ? ::LoadResource(image, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (data) text.assign(static_cast<const char*>(data), ::SizeofResource(image, found));
    ::FreeLibrary(image);
    return text;
}

// The settings the system's loader takes from a program's manifest: it builds
// the activation context the program would start with.
struct LoaderView {
    bool parsed = false;
    ACTCTX_REQUESTED_RUN_LEVEL runLevel = ACTCTX_RUN_LEVEL_UNSPECIFIED;
    std::wstring dpiAwareness;
    std::wstring dpiAware;
};

std::wstring Setting(HANDLE context, const wchar_t* settingsNamespace, const wchar_t* name) {
    wchar_t value[256] = {};
    SIZE_T written = 0;
    if (!::QueryActCtxSettingsW(0, context, settingsNamespace, name, value, 256, &written)) return L"";
    return value;
}

LoaderView LoaderViewOf(const std::wstring& path) {
    LoaderView view;
    ACTCTXW request{};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(kManifestId);
    HANDLE context = ::CreateActCtxW(&request);
    if (context == INVALID_HANDLE_VALUE) return view;
    view.parsed = true;
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel{};
    if (::QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &runLevel, sizeof(runLevel),
                       nullptr)) {
        view.runLevel = runLevel.RunLevel;
    }
    view.dpiAwareness = Setting(context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness");
    view.dpiAware = Setting(context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware");
    ::ReleaseActCtx(context);
    return view;
}

} // namespace

QUOR_TEST(BothBuildsCarryTheApplicationManifest) {
    struct Build {
        const wchar_t* folderVariable;
        WORD machine;
        const char* architecture;
    };
    const Build builds[] = {
        {L"QUOR_INSTALLER_X86_DIR", IMAGE_FILE_MACHINE_I386, "processorArchitecture=\"x86\""},
        {L"QUOR_INSTALLER_DIR", IMAGE_FILE_MACHINE_AMD64, "processorArchitecture=\"amd64\""},
    };
    const std::vector<std::string> declared = {
        "<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>",
        "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, System</dpiAwareness>",
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>", // 7
        "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>", // 8
        "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>", // 8.1
        "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>", // 10 and 11
    };
    for (const Build& build : builds) {
        const std::wstring program = WindowsPathOf(EnvironmentValue(build.folderVariable)) + L"\\NimbQuorInstaller.exe";
        std::printf("  program: %s\n", quortest::Narrow(program).c_str());
        CHECK_EQ(MachineOf(program), build.machine);
        const std::string manifest = ManifestOf(program);
        REQUIRE(!manifest.empty());
        CHECK(manifest.find(build.architecture) != std::string::npos);
        for (const std::string& fragment : declared) {
            if (manifest.find(fragment) == std::string::npos) quortest::Fail(__FILE__, __LINE__, "missing " + fragment);
        }
        // A manifest the loader cannot read would keep the program from starting at all.
        const LoaderView loader = LoaderViewOf(program);
        CHECK(loader.parsed);
        CHECK_EQ(static_cast<int>(loader.runLevel), static_cast<int>(ACTCTX_RUN_LEVEL_REQUIRE_ADMIN));
        CHECK_EQ(loader.dpiAwareness, std::wstring(L"PerMonitorV2, System"));
        CHECK_EQ(loader.dpiAware, std::wstring(L"true"));
    }
}
