// Privileges and the process search, with a stand-in process started under Wine.
#include <windows.h>

#include <string>

#include "app/EnvironmentChecks.h"
#include "support/QuorTest.h"
#include "support/WineEnvironment.h"

namespace {

// Starts a copy of the stand-in payload under the given file name; it sleeps
// until terminated. The handles are closed with the object.
class SleepingProcess {
public:
    explicit SleepingProcess(const wchar_t* fileName) {
        const std::wstring folder = MakeScratchFolder(L"quor-process");
        m_path = folder + L"\\" + fileName;
        ::CopyFileW(WindowsPathOf(EnvironmentValue(L"QUOR_PAYLOAD")).c_str(), m_path.c_str(), FALSE);
        ::SetEnvironmentVariableW(L"NIMB_QUOR_SLEEP_MS", L"60000");
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + m_path + L"\"";
        if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &m_info)) {
            ::WaitForInputIdle(m_info.hProcess, 2000);
        }
        ::SetEnvironmentVariableW(L"NIMB_QUOR_SLEEP_MS", nullptr);
    }
    ~SleepingProcess() {
        if (!m_info.hProcess) return;
        ::TerminateProcess(m_info.hProcess, 1);
        ::CloseHandle(m_info.hThread);
        ::CloseHandle(m_info.hProcess);
        ::DeleteFileW(m_path.c_str());
    }
    SleepingProcess(const SleepingProcess&) = delete;
    SleepingProcess& operator=(const SleepingProcess&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    DWORD Id() const { return m_info.dwProcessId; }
    bool EndsWithin(DWORD milliseconds) const { return ::WaitForSingleObject(m_info.hProcess, milliseconds) == WAIT_OBJECT_0; }

private:
    std::wstring m_path;
    PROCESS_INFORMATION m_info{};
};

} // namespace

QUOR_TEST(WinesDefaultUserIsAnElevatedAdministrator) {
    CHECK(IsRunAsAdmin());
    CHECK(IsUserInAdminGroup());
}

QUOR_TEST(ProcessSearchIsCaseSensitiveTerminationIsNot) {
    SleepingProcess process(L"NIMB.EXE");
    REQUIRE(process.Started());
    CHECK_EQ(FindProcessByName(L"nimb.exe"), static_cast<DWORD>(0));
    CHECK_EQ(FindProcessByName(L"NIMB.EXE"), process.Id());
    CHECK(TerminateProcessesByName(L"nimb.exe"));
    CHECK(process.EndsWithin(5000));
    CHECK_EQ(FindProcessByName(L"NIMB.EXE"), static_cast<DWORD>(0));
}

QUOR_TEST(TerminationOfNoMatchingProcessSucceeds) {
    CHECK(TerminateProcessesByName(L"no-such-program.exe"));
    CHECK_EQ(FindProcessByName(L"no-such-program.exe"), static_cast<DWORD>(0));
}
