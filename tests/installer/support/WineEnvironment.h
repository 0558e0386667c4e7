// Helpers for tests that run under Wine with the harness of run-under-wine.sh.
#pragma once

#include <windows.h>

#include <string>

// Value of an environment variable, or "" when unset.
std::wstring EnvironmentValue(const wchar_t* name);
// A Linux path as Wine sees it through drive Z:.
std::wstring WindowsPathOf(const std::wstring& unixPath);
// A fresh, empty folder under the prefix's temporary folder.
std::wstring MakeScratchFolder(const wchar_t* name);
// Whole contents of a text file as UTF-8, or "" when it cannot be read.
std::string ReadFileText(const std::wstring& path);
// Replaces a file's contents; false when it cannot be written.
bool WriteFileText(const std::wstring& path, const std::string& text);

// A copy of the stand-in payload (QUOR_PAYLOAD) started under the given file
// name; it sleeps until terminated. Terminated and removed with the object.
// With an access list (SDDL), others may open the process only as it allows.
class SleepingProcess {
public:
    explicit SleepingProcess(const wchar_t* fileName, const wchar_t* accessList = nullptr);
    ~SleepingProcess();
    SleepingProcess(const SleepingProcess&) = delete;
    SleepingProcess& operator=(const SleepingProcess&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    DWORD Id() const { return m_info.dwProcessId; }
    bool EndsWithin(DWORD milliseconds) const;

    // Everyone may wait for the process and query it, nobody may end it.
    static constexpr const wchar_t* kUnstoppable = L"D:(A;;0x101000;;;WD)";

private:
    std::wstring m_path;
    PROCESS_INFORMATION m_info{};
};
