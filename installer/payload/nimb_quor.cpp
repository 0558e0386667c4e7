// Stand-in for the packaged setup program, used by the installer's tests.
// It appends its command line (UTF-8, one line) to the file named by
// NIMB_QUOR_RECORD, waits NIMB_QUOR_SLEEP_MS milliseconds and ends with the
// exit code NIMB_QUOR_EXIT_CODE (0 when unset).
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::wstring Variable(const wchar_t* name) {
    wchar_t value[1024];
    const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
    return (length > 0 && length < 1024) ? std::wstring(value, length) : std::wstring();
}

void RecordCommandLine(const std::wstring& recordFile) {
    const wchar_t* commandLine = ::GetCommandLineW();
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
    std::string line(static_cast<size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, line.data(), bytes, nullptr, nullptr);
    line += "\n";
    HANDLE file = ::CreateFileW(recordFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    const std::wstring recordFile = Variable(L"NIMB_QUOR_RECORD");
    if (!recordFile.empty()) RecordCommandLine(recordFile);
    const std::wstring sleepMs = Variable(L"NIMB_QUOR_SLEEP_MS");
    if (!sleepMs.empty()) ::Sleep(static_cast<DWORD>(wcstoul(sleepMs.c_str(), nullptr, 10)));
    const std::wstring exitCode = Variable(L"NIMB_QUOR_EXIT_CODE");
    return exitCode.empty() ? 0 : static_cast<int>(wcstol(exitCode.c_str(), nullptr, 10));
}
