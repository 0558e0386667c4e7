#include "WineEnvironment.h"

#include <windows.h>

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
