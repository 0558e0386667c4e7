#include "WineEnvironment.h"

#include <windows.h>
#include <sddl.h>

#include <vector>

std::wstring EnvironmentValue(const wchar_t* name) {
    std::vector<wchar_t> value(32768);
    const DWORD length = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    return (length > 0 && length < value.size()) ? std::wstring(value.data(), length) : std::wstring();
}

std::wstring WindowsPathOf(const std::wstring& unixPath) {
    std::wstring path = L"Z:" + unixPath;
    for (wchar_t& ch : path) {
        if (ch == L'/') ch = L'\\';
    }
    return path;
}

std::wstring MakeScratchFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + name;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string ReadFileText(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) text.append(buffer, read);
    ::CloseHandle(file);
    return text;
}

bool WriteFileText(const std::wstring& path, const std::string& text) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL wrote = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    return wrote && written == text.size();
}

SleepingProcess::SleepingProcess(const wchar_t* fileName, const wchar_t* accessList) {
    const std::wstring folder = MakeScratchFolder(L"quor-process");
    m_path = folder + L"\\" + fileName;
    ::CopyFileW(WindowsPathOf(EnvironmentValue(L"QUOR_PAYLOAD")).c_str(), m_path.c_str(), FALSE);
    ::SetEnvironmentVariableW(L"NIMB_QUOR_SLEEP_MS", L"60000");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + m_path + L"\"";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (accessList) {
        ::ConvertStringSecurityDescriptorToSecurityDescriptorW(accessList, SDDL_REVISION_1, &descriptor, nullptr);
    }
    SECURITY_ATTRIBUTES security{sizeof(security), descriptor, FALSE};
    // The handle CreateProcess returns has full access whatever the list says.
    if (::CreateProcessW(nullptr, commandLine.data(), descriptor ? &security : nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &m_info)) {
        ::WaitForInputIdle(m_info.hProcess, 2000);
    }
    if (descriptor) ::LocalFree(descriptor);
    ::SetEnvironmentVariableW(L"NIMB_QUOR_SLEEP_MS", nullptr);
}

SleepingProcess::~SleepingProcess() {
    if (!m_info.hProcess) return;
    ::TerminateProcess(m_info.hProcess, 1);
    ::WaitForSingleObject(m_info.hProcess, 5000);
    ::CloseHandle(m_info.hThread);
    ::CloseHandle(m_info.hProcess);
    ::DeleteFileW(m_path.c_str());
}

bool SleepingProcess::EndsWithin(DWORD milliseconds) const {
    return ::WaitForSingleObject(m_info.hProcess, milliseconds) == WAIT_OBJECT_0;
}
