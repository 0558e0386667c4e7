#include "InstallThread.h"

#include <cwchar>

#include "InstallRules.h"
#include "InstallerTexts.h"
#include "RegistryKey.h"
#include "UniqueHandle.h"
#include "framework/AfxResources.h"
#include "resources/ResourceIds.h"
#include "ui/TipDialog.h"
#include "ui/WindowMessages.h"

IMPLEMENT_DYNCREATE(CInstallThread)

namespace {

bool PayloadExists(const CString& payloadPath) {
    CFileFind finder;
    return finder.FindFile(payloadPath) != FALSE;
}

// Runs commandLine and waits for the process; true only when it started and
// ended with exit code 0.
bool RunToSuccess(wchar_t* commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    const UniqueHandle thread(process.hThread);
    const UniqueHandle running(process.hProcess);
    ::WaitForSingleObject(running.get(), INFINITE);
    DWORD exitCode = 1;
    return ::GetExitCodeProcess(running.get(), &exitCode) && exitCode == 0;
}

bool StoreLastPath(const CString& path) {
    CRegistryKey key;
    if (key.Open(kAddOnKeyPath, KEY_ALL_ACCESS) != ERROR_SUCCESS &&
        key.Create(kAddOnKeyPath, KEY_READ | KEY_WRITE) != ERROR_SUCCESS) {
        return false;
    }
    return key.SetString(L"LastPath", path) == ERROR_SUCCESS;
}

} // namespace

CInstallThread::CInstallThread() {
    OnThreadMessage(WM_INSTALL_START, [this](WPARAM wp, LPARAM lp) { OnInstallStart(wp, lp); });
}

void CInstallThread::OnInstallStart(WPARAM, LPARAM lp) {
    const HWND page = reinterpret_cast<HWND>(lp);
    if (RunPayloadSetup(PayloadPathFor(InstallerFolder()), page)) {
        WriteLastPath(g_strInstallPath);
        ::PostMessageW(page, WM_INSTALL_SUCCEEDED, 0, 0);
    } else {
        ShowTipMessage(kTipQuestion, InstallerText(IDS_INSTALL_FAILED), page);
        ::PostMessageW(page, WM_INSTALL_FAILED, 0, 0);
    }
}

int RunPayloadSetup(const CString& payloadPath, HWND notify) {
    if (!PayloadExists(payloadPath)) {
        ShowTipMessage(kTipNotice, FillPlaceholder(InstallerText(IDS_PAYLOAD_MISSING), payloadPath), notify);
        return 0;
    }
    const CString commandLine = PayloadCommandLine(payloadPath, g_strInstallPath);
    // The welcome page refuses paths that would not fit; never overrun the buffer.
    if (commandLine.GetLength() >= kPayloadCommandLineCapacity) return 0;
    wchar_t buffer[kPayloadCommandLineCapacity] = {};
    wcsncpy(buffer, commandLine, kPayloadCommandLineCapacity - 1);
    return RunToSuccess(buffer) ? 1 : 0;
}

void WriteLastPath(const CString& path) {
    if (!StoreLastPath(path)) ShowTipMessage(kTipNotice, InstallerText(IDS_REGISTRY_WRITE_FAILED));
}
