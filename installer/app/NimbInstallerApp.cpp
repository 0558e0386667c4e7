#include "NimbInstallerApp.h"

#include <commctrl.h>

#include "EnvironmentChecks.h"
#include "FinishDlg.h"
#include "InstallRules.h"
#include "InstallerTexts.h"
#include "UniqueHandle.h"
#include "WelcomeDlg.h"
#include "framework/AfxResources.h"
#include "resources/ResourceIds.h"
#include "ui/TipDialog.h"

HMODULE g_hResourceModule = nullptr;
HINSTANCE g_hPreviousResource = nullptr;

namespace {

const wchar_t kResourceModuleName[] = L"NimbQuorInstallerRes.dll";
const wchar_t kHostProcessName[] = L"nimb.exe";
constexpr DWORD kRestartManagerSupportRestart = 1;

// Tip results of the host-running form.
constexpr int kTipNotShown = -1;
constexpr int kTipCancelled = 0;
constexpr int kTipForceClosed = 1;

// Without the module there are no templates for the skinned tips: the system
// message box says which file is missing.
void ReportMissingResourceModule() {
    const CString path = InstallerFolder() + L"\\" + kResourceModuleName;
    const CString text = FillPlaceholder(InstallerText(IDS_PAYLOAD_MISSING), path);
    ::MessageBoxW(nullptr, text, InstallerText(IDS_TIP_TITLE), MB_OK | MB_ICONERROR);
}

} // namespace

CNimbInstallerApp::CNimbInstallerApp() { m_dwRestartManagerSupportFlags = kRestartManagerSupportRestart; }

CNimbInstallerApp::~CNimbInstallerApp() = default;

bool CNimbInstallerApp::LoadResourceModule() {
    g_hPreviousResource = AfxGetResourceHandle();
    g_hResourceModule = ::LoadLibraryW(kResourceModuleName);
    if (!g_hResourceModule) return false;
    AfxSetResourceHandle(g_hResourceModule);
    return true;
}

void CNimbInstallerApp::CreateMainBackground() {
    m_pMainBkDlg = std::make_unique<CZrPngMainBKDlg>();
    m_pMainBkDlg->Create(IDD_MAIN_BACKGROUND, nullptr);
    m_pMainBkDlg->ShowWindow(SW_HIDE); // the welcome page shows it
    m_pMainWnd = m_pMainBkDlg.get();
}

void CNimbInstallerApp::ReleaseMainBackground() {
    if (m_pMainWnd == m_pMainBkDlg.get()) m_pMainWnd = nullptr;
    m_pMainBkDlg.reset();
}

BOOL CNimbInstallerApp::InitInstance() {
    AfxInitRichEdit2();
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    CWinApp::InitInstance();
    if (!LoadResourceModule()) {
        ReportMissingResourceModule();
        return FALSE;
    }
    AfxEnableControlContainer();
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &m_gdiplusStartupInput, nullptr);
    CreateMainBackground();
    const CShellManager shellManager;

    HANDLE instanceMutex = nullptr;
    const bool passed = PassesEnvironmentChecks(instanceMutex);
    const UniqueHandle heldMutex(instanceMutex);
    if (!passed) return FALSE;

    FindHostInstallLocation();
    if (g_bHostInstalled == 1) {
        ReadLastPath();
        ShowInstallPages();
    } else {
        ShowTipMessage(kTipNotice, InstallerText(IDS_HOST_NOT_INSTALLED));
    }
    return FALSE;
}

bool CNimbInstallerApp::PassesEnvironmentChecks(HANDLE& instanceMutex) {
    if (!IsRunAsAdmin()) {
        ShowTipMessage(kTipNotice, InstallerText(IDS_NOT_ADMIN));
        return false;
    }
    instanceMutex = ::CreateMutexW(nullptr, TRUE, InstallerText(IDS_MUTEX_NAME));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ShowTipMessage(kTipQuestion, InstallerText(IDS_ALREADY_RUNNING));
        return false;
    }
    const OsVerdict os = CheckOperatingSystem();
    if (!os.accepted) {
        ShowTipMessage(os.tipType, InstallerText(IDS_OS_TOO_OLD));
        return false;
    }
    return WaitUntilHostClosed();
}

bool CNimbInstallerApp::WaitUntilHostClosed() {
    while (FindProcessByName(kHostProcessName) != 0) {
        const int pressed = ShowRetryTipMessage(InstallerText(IDS_HOST_RUNNING));
        // A tip that cannot be shown would otherwise be asked for again and again, without end.
        if (pressed == kTipCancelled || pressed == kTipNotShown) return false;
        // Once every copy is gone the search is not repeated: the installer goes on.
        if (pressed == kTipForceClosed && TerminateProcessesByName(kHostProcessName)) return true;
    }
    return true;
}

void CNimbInstallerApp::ShowInstallPages() {
    CNimbWelcomeDlg welcome(m_pMainBkDlg.get());
    welcome.LinkBackground(m_pMainBkDlg.get());
    m_pMainBkDlg->ShowPng(welcome.m_nBkPngId);
    if (welcome.DoModal() != IDC_INSTALL_BUTTON) return;

    CNimbFinishDlg finish(m_pMainBkDlg.get());
    finish.LinkBackground(m_pMainBkDlg.get());
    m_pMainBkDlg->ShowPng(finish.m_nBkPngId);
    finish.DoModal();
}

int CNimbInstallerApp::ExitInstance() {
    // The background holds a GDI+ image: it goes before GDI+ does.
    ReleaseMainBackground();
    if (g_hResourceModule) ::FreeLibrary(g_hResourceModule);
    g_hResourceModule = nullptr;
    if (m_gdiplusToken) Gdiplus::GdiplusShutdown(m_gdiplusToken);
    m_gdiplusToken = 0;
    AfxSetResourceHandle(g_hPreviousResource);
    return CWinApp::ExitInstance();
}
