// The start-up checks, run in this process: each refusal shows its tip and
// ends the run before any page.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/EnvironmentChecks.h"
#include "app/InstallerTexts.h"
#include "app/RegistryKey.h"
#include "app/UniqueHandle.h"
#include "resources/ResourceIds.h"
#include "support/InstallerRig.h"
#include "support/QuorTest.h"
#include "support/WindowScript.h"
#include "support/WineEnvironment.h"
#include "ui/TipDialog.h"

namespace {

// Windows version values replaced for the lifetime of the object; null deletes one.
class WindowsVersionAs {
public:
    WindowsVersionAs(const wchar_t* currentVersion, const wchar_t* productName) {
        m_key.Open(kWindowsVersionKeyPath, KEY_ALL_ACCESS, 0);
        Replace(L"CurrentVersion", currentVersion);
        Replace(L"ProductName", productName);
    }
    ~WindowsVersionAs() {
        for (const auto& saved : m_saved) m_key.SetString(saved.first.c_str(), saved.second.c_str());
    }
    WindowsVersionAs(const WindowsVersionAs&) = delete;
    WindowsVersionAs& operator=(const WindowsVersionAs&) = delete;

private:
    void Replace(const wchar_t* name, const wchar_t* value) {
        m_saved.emplace_back(name, ReadWindowsVersionValue(name).str());
        if (value) {
            m_key.SetString(name, value);
        } else {
            ::RegDeleteValueW(m_key.Handle(), name);
        }
    }

    CRegistryKey m_key;
    std::vector<std::pair<std::wstring, std::wstring>> m_saved;
};

// The single-instance mutex as another running installer holds it.
class AnotherInstance {
public:
    AnotherInstance() : m_mutex(::CreateMutexW(nullptr, TRUE, L"Nimbra2024")) {}
    ~AnotherInstance() { ::CloseHandle(m_mutex); }
    AnotherInstance(const AnotherInstance&) = delete;
    AnotherInstance& operator=(const AnotherInstance&) = delete;

private:
    HANDLE m_mutex;
};

// Makes a T for the lifetime of the returned pointer.
template <typename T, typename... Args>
std::function<std::shared_ptr<void>()> Arrange(Args... args) {
    return [=] { return std::shared_ptr<void>(std::make_shared<T>(args...)); };
}

// The user's limited token: the linked token of Wine's elevated one, as a primary token.
UniqueHandle LimitedToken() {
    HANDLE own = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, &own)) return nullptr;
    const UniqueHandle token(own);
    TOKEN_LINKED_TOKEN linked{};
    DWORD returned = 0;
    if (!::GetTokenInformation(token.get(), TokenLinkedToken, &linked, sizeof(linked), &returned)) return nullptr;
    const UniqueHandle linkedToken(linked.LinkedToken);
    HANDLE primary = nullptr;
    if (!::DuplicateTokenEx(linkedToken.get(), TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary,
                            &primary)) {
        return nullptr;
    }
    return UniqueHandle(primary);
}

// Runs one case of this test program in a child process with the limited
// token, its output going where ours goes; the child's exit code.
DWORD RunCaseUnelevated(const char* caseName) {
    const UniqueHandle limited = LimitedToken();
    if (!limited) return 99;
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" ";
    for (const char* c = caseName; *c; ++c) commandLine += static_cast<wchar_t>(*c);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    if (!::CreateProcessAsUserW(limited.get(), nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                nullptr, &startup, &child)) {
        return 98;
    }
    const UniqueHandle thread(child.hThread);
    const UniqueHandle process(child.hProcess);
    ::WaitForSingleObject(process.get(), 60000);
    DWORD exitCode = 97;
    ::GetExitCodeProcess(process.get(), &exitCode);
    return exitCode;
}

} // namespace

QUOR_TEST(RefusalsShowTheirTipAndEndTheRunBeforeAnyPage) {
    struct Case {
        const char* name;
        bool hostInstalled;
        std::function<std::shared_ptr<void>()> arrange;
        int text;
        int type;
    };
    const wchar_t* const unreadable = nullptr;
    const std::vector<Case> cases = {
        {"second instance", true, Arrange<AnotherInstance>(), IDS_ALREADY_RUNNING, kTipQuestion},
        {"Windows 6.0", true, Arrange<WindowsVersionAs>(L"6.0", L"Windows Vista"), IDS_OS_TOO_OLD, kTipNotice},
        {"unreadable version", true, Arrange<WindowsVersionAs>(unreadable, L"Windows 10 Pro"), IDS_OS_TOO_OLD,
         kTipNotice},
        {"server year", true, Arrange<WindowsVersionAs>(L"6.3", L"Windows Server 2008 R2 Enterprise"), IDS_OS_TOO_OLD,
         kTipQuestion},
        {"no host", false, [] { return std::shared_ptr<void>(); }, IDS_HOST_NOT_INSTALLED, kTipNotice},
    };
    for (const Case& c : cases) {
        std::printf("  case: %s\n", c.name);
        const std::unique_ptr<HostInstalled> host = c.hostInstalled ? std::make_unique<HostInstalled>() : nullptr;
        const std::shared_ptr<void> arrangement = c.arrange();
        TipLog tips;
        RunInstallerInProcess({AnswerTip(tips, IDOK)});
        CHECK_EQ(TextsOf(tips), std::vector<std::wstring>{Text(c.text)});
        CHECK_EQ(TypesOf(tips), std::vector<int>{c.type});
    }
}

QUOR_TEST(ARunningHostIsAskedForUntilCancelledOrForcedClosed) {
    SleepingProcess host(L"nimb.exe");
    REQUIRE(host.Started());
    TipLog tips;
    RunInstallerInProcess({AnswerTip(tips, IDOK), AnswerTip(tips, IDCANCEL)}); // Retry, then Cancel
    CHECK_EQ(TextsOf(tips), (std::vector<std::wstring>{Text(IDS_HOST_RUNNING), Text(IDS_HOST_RUNNING)}));
    CHECK(tips.size() == 2 && tips[0].retry && tips[1].retry);
    CHECK(!host.EndsWithin(0));

    // Force closed ends the host and the run goes on to the host search.
    tips.clear();
    RunInstallerInProcess({AnswerTip(tips, IDC_TIP_FORCE_CLOSE), AnswerTip(tips, IDOK)});
    CHECK_EQ(TextsOf(tips), (std::vector<std::wstring>{Text(IDS_HOST_RUNNING), Text(IDS_HOST_NOT_INSTALLED)}));
    CHECK(host.EndsWithin(5000));
}

QUOR_TEST(AHostThatCannotBeEndedIsAskedForAgain) {
    // Started in other letters: Windows file names ignore case.
    SleepingProcess host(L"NIMB.EXE", SleepingProcess::kUnstoppable);
    REQUIRE(host.Started());
    TipLog tips;
    RunInstallerInProcess({AnswerTip(tips, IDC_TIP_FORCE_CLOSE), AnswerTip(tips, IDCANCEL)});
    CHECK_EQ(TextsOf(tips), (std::vector<std::wstring>{Text(IDS_HOST_RUNNING), Text(IDS_HOST_RUNNING)}));
    CHECK(tips.size() == 2 && tips[0].retry && tips[1].retry);
    CHECK(!host.EndsWithin(0));
}

QUOR_TEST(AnUnelevatedUserIsRefused) {
    if (IsRunAsAdmin()) {
        CHECK_EQ(RunCaseUnelevated("AnUnelevatedUserIsRefused"), static_cast<DWORD>(0));
        return;
    }
    HostInstalled host;
    TipLog tips;
    RunInstallerInProcess({AnswerTip(tips, IDOK)});
    CHECK_EQ(TextsOf(tips), std::vector<std::wstring>{Text(IDS_NOT_ADMIN)});
    CHECK_EQ(TypesOf(tips), std::vector<int>{kTipNotice});
}
