// The shipped NimbQuorInstaller.exe run as its own process from a folder laid
// out as it ships, driven through its windows as a user would.
#include <windows.h>

#include <string>
#include <vector>

#include "app/InstallRules.h"
#include "app/InstallerTexts.h"
#include "app/RegistryKey.h"
#include "resources/ResourceIds.h"
#include "support/InstallerRig.h"
#include "support/QuorTest.h"
#include "support/WindowScript.h"
#include "support/WineEnvironment.h"

namespace {

const wchar_t kHostFolder[] = L"C:\\Program Files\\Nimbra 2024\\";
const wchar_t kLicenceDocument[] = L"Corvane Software License Agreement.html";
const wchar_t kPrivacyDocument[] = L"Nimbra Privacy Policy.html";

std::wstring ShippedFolder() { return WindowsPathOf(EnvironmentValue(L"QUOR_INSTALLER_DIR")); }
std::wstring ShippedResourceModule() { return ShippedFolder() + L"\\NimbQuorInstallerRes.dll"; }

// The shipped files copied into a fresh folder whose name has a space, with
// the given file as the resource module ("" for none).
class ShippedCopy {
public:
    ShippedCopy(const wchar_t* name, const std::wstring& resourceModule) : m_folder(MakeScratchFolder(name)) {
        ::CreateDirectoryW((m_folder + L"\\files").c_str(), nullptr);
        m_files = {L"NimbQuorInstaller.exe", L"files\\nimb_quor.exe"};
        for (const std::wstring& file : m_files) {
            ::CopyFileW((ShippedFolder() + L"\\" + file).c_str(), (m_folder + L"\\" + file).c_str(), FALSE);
        }
        if (resourceModule.empty()) return;
        m_files.push_back(L"NimbQuorInstallerRes.dll");
        ::CopyFileW(resourceModule.c_str(), (m_folder + L"\\NimbQuorInstallerRes.dll").c_str(), FALSE);
    }
    ~ShippedCopy() {
        for (const std::wstring& file : m_files) ::DeleteFileW((m_folder + L"\\" + file).c_str());
        ::RemoveDirectoryW((m_folder + L"\\files").c_str());
        ::RemoveDirectoryW(m_folder.c_str());
    }
    ShippedCopy(const ShippedCopy&) = delete;
    ShippedCopy& operator=(const ShippedCopy&) = delete;

    const std::wstring& Folder() const { return m_folder; }
    // A file beside the installer that goes with the copy.
    void Add(const std::wstring& name, const char* content) {
        WriteFileText(m_folder + L"\\" + name, content);
        m_files.push_back(name);
    }

private:
    std::wstring m_folder;
    std::vector<std::wstring> m_files;
};

// This process's environment with PATH replaced, as a block for CreateProcess.
std::vector<wchar_t> EnvironmentWithPath(const std::wstring& path) {
    std::vector<wchar_t> block;
    wchar_t* strings = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
        if (_wcsnicmp(entry, L"PATH=", 5) == 0) continue;
        block.insert(block.end(), entry, entry + wcslen(entry) + 1);
    }
    ::FreeEnvironmentStringsW(strings);
    const std::wstring pathEntry = L"PATH=" + path;
    block.insert(block.end(), pathEntry.c_str(), pathEntry.c_str() + pathEntry.size() + 1);
    block.push_back(L'\0');
    return block;
}

// The installer started as the user starts it, in its own folder; ended with
// the object if it is still running.
class RunningInstaller {
public:
    explicit RunningInstaller(const ShippedCopy& copy, const wchar_t* path = nullptr) {
        std::wstring commandLine = L"\"" + copy.Folder() + L"\\NimbQuorInstaller.exe\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::vector<wchar_t> environment = path ? EnvironmentWithPath(path) : std::vector<wchar_t>();
        ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, path ? CREATE_UNICODE_ENVIRONMENT : 0,
                         path ? environment.data() : nullptr, copy.Folder().c_str(), &startup, &m_info);
    }
    ~RunningInstaller() {
        if (!m_info.hProcess) return;
        if (!EndsWithin(0)) ::TerminateProcess(m_info.hProcess, 1);
        ::WaitForSingleObject(m_info.hProcess, 5000);
        ::CloseHandle(m_info.hThread);
        ::CloseHandle(m_info.hProcess);
    }
    RunningInstaller(const RunningInstaller&) = delete;
    RunningInstaller& operator=(const RunningInstaller&) = delete;

    bool EndsWithin(DWORD milliseconds) const {
        return m_info.hProcess && ::WaitForSingleObject(m_info.hProcess, milliseconds) == WAIT_OBJECT_0;
    }
    // Its visible window with the given control, waiting for it up to the time limit.
    HWND WaitForWindowWith(int controlId) const {
        HWND found = nullptr;
        WaitFor([&] { return (found = FindProcessWindowWithControl(controlId, m_info.dwProcessId)) != nullptr; });
        return found;
    }
    HWND WindowWith(int controlId) const { return FindProcessWindowWithControl(controlId, m_info.dwProcessId); }

private:
    PROCESS_INFORMATION m_info{};
};

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, &copied);
    return text;
}

void SetText(HWND window, const std::wstring& text) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK, 5000, &result);
}

// Clicks a control of a window of another process and lets it act.
void Click(HWND window, int controlId) {
    PostClick(::GetDlgItem(window, controlId));
    PumpMessages(150);
}

// Opens ".html" documents with the stand-in payload, which records how it was started.
void OpenDocumentsWith(const std::wstring& program) {
    const auto setDefault = [](const wchar_t* path, const std::wstring& value) {
        CRegistryKey key;
        key.Create(path, KEY_ALL_ACCESS, 0); // the installer under test is the 64-bit build
        key.SetString(nullptr, value.c_str());
    };
    setDefault(L"Software\\Classes\\.html", L"QuorTestDocument");
    setDefault(L"Software\\Classes\\QuorTestDocument\\shell\\open\\command", L"\"" + program + L"\" \"%1\"");
}

// The DPI awareness a window runs with, as the system reports it (0 unaware,
// 1 system, 2 per monitor); -1 when the system cannot tell.
int DpiAwarenessOf(HWND window) {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    using ContextOfWindow = void*(WINAPI*)(HWND);
    using AwarenessOfContext = int(WINAPI*)(void*);
    const auto contextOf = reinterpret_cast<ContextOfWindow>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    const auto awarenessOf = reinterpret_cast<AwarenessOfContext>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    if (!contextOf || !awarenessOf) return -1;
    void* context = contextOf(window);
    return context ? awarenessOf(context) : -1;
}
constexpr int kPerMonitorAware = 2;

} // namespace

QUOR_TEST(TheShippedInstallerRunsFromStartToEnd) {
    HostInstalled host(kHostFolder);
    ShippedCopy setup(L"Quor Setup", ShippedResourceModule());
    setup.Add(kLicenceDocument, "<html><body>Licence</body></html>");
    setup.Add(kPrivacyDocument, "<html><body>Privacy</body></html>");
    const std::wstring payload = PayloadPathFor(setup.Folder().c_str()).str();
    OpenDocumentsWith(payload);
    PayloadRecorder recorder;
    const std::wstring chosen = L"C:\\Quor Plug-ins";

    RunningInstaller first(setup);
    HWND page = first.WaitForWindowWith(IDC_PATH_EDIT);
    REQUIRE(page != nullptr);
    CHECK_EQ(TextOf(::GetDlgItem(page, IDC_PATH_EDIT)), std::wstring(kHostFolder));
    // As its manifest declares: the pages scale themselves, the system does not
    // stretch them. (Wine reports every program as per-monitor aware; the
    // manifest itself is checked with the core tests.)
    CHECK_EQ(DpiAwarenessOf(page), kPerMonitorAware);

    {
        // A second instance is turned away and leaves the first alone.
        RunningInstaller second(setup);
        HWND tip = second.WaitForWindowWith(IDC_TIP_MESSAGE);
        REQUIRE(tip != nullptr);
        CHECK(second.WindowWith(IDC_PATH_EDIT) == nullptr);
        Click(tip, IDOK);
        CHECK(second.EndsWithin(10000));
        CHECK(::IsWindowVisible(page));
    }

    // The links open the documents beside the installer.
    Click(page, IDC_LICENCE_LINK);
    Click(page, IDC_PRIVACY_LINK);
    CHECK(WaitFor([&] { return recorder.Runs().size() >= 2; }));

    SetText(::GetDlgItem(page, IDC_PATH_EDIT), chosen);
    Click(page, IDC_AGREEMENT_CHECK);
    Click(page, IDC_INSTALL_BUTTON);
    HWND finish = first.WaitForWindowWith(IDC_FINISH_TITLE);
    REQUIRE(finish != nullptr);
    Click(finish, IDC_FINISH_BUTTON);
    CHECK(first.EndsWithin(10000));

    const std::vector<std::wstring> runs = recorder.Runs();
    REQUIRE(runs.size() == 3);
    CHECK(runs[0].find(setup.Folder() + L"\\" + kLicenceDocument) != std::wstring::npos);
    CHECK(runs[1].find(setup.Folder() + L"\\" + kPrivacyDocument) != std::wstring::npos);
    CHECK_EQ(runs[2], L"\"" + payload + L"\"" + chosen);
    CHECK_EQ(RecordedLastPath(), chosen);

    // The next run proposes the folder of this installation; Exit leaves it after asking.
    RunningInstaller next(setup);
    page = next.WaitForWindowWith(IDC_PATH_EDIT);
    REQUIRE(page != nullptr);
    CHECK_EQ(TextOf(::GetDlgItem(page, IDC_PATH_EDIT)), chosen);
    Click(page, IDCANCEL);
    HWND question = next.WaitForWindowWith(IDC_TIP_MESSAGE);
    REQUIRE(question != nullptr);
    Click(question, IDOK);
    CHECK(next.EndsWithin(10000));
    CHECK_EQ(recorder.Runs().size(), static_cast<size_t>(3));
}

QUOR_TEST(AMissingResourceModuleIsNamedInASystemMessageBox) {
    ShippedCopy setup(L"Quor Setup Without Texts", L"");
    // Only the system folders: the module must not be found anywhere else either.
    RunningInstaller installer(setup, L"C:\\windows\\system32;C:\\windows");
    HWND box = installer.WaitForWindowWith(IDOK);
    REQUIRE(box != nullptr);
    const std::wstring module = setup.Folder() + L"\\NimbQuorInstallerRes.dll";
    const std::wstring expected = FillPlaceholder(DefaultInstallerText(IDS_PAYLOAD_MISSING), module.c_str()).str();
    std::wstring shown;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (TextOf(child) == expected) shown = expected;
    }
    CHECK_EQ(shown, expected);
    CHECK_EQ(TextOf(box), std::wstring(DefaultInstallerText(IDS_TIP_TITLE)));
    Click(box, IDOK);
    CHECK(installer.EndsWithin(10000));
}

QUOR_TEST(AModuleWithoutTemplatesDoesNotLeaveTheInstallerLooping) {
    // Texts but no dialog templates: not one tip can be shown.
    ShippedCopy setup(L"Quor Setup Broken Module", WindowsPathOf(EnvironmentValue(L"QUOR_TEXTS_ONLY_MODULE")));
    SleepingProcess host(L"nimb.exe");
    REQUIRE(host.Started());
    RunningInstaller installer(setup, L"C:\\windows\\system32;C:\\windows");
    CHECK(installer.EndsWithin(10000));
}
