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

// A copy of the stand-in payload (QUOR_PAYLOAD) started under the given file
// name; it sleeps until terminated. Terminated and removed with the object.
class SleepingProcess {
public:
    explicit SleepingProcess(const wchar_t* fileName);
    ~SleepingProcess();
    SleepingProcess(const SleepingProcess&) = delete;
    SleepingProcess& operator=(const SleepingProcess&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    DWORD Id() const { return m_info.dwProcessId; }
    bool EndsWithin(DWORD milliseconds) const;

private:
    std::wstring m_path;
    PROCESS_INFORMATION m_info{};
};
