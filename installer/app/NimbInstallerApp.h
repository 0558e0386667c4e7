// The installer's application object: start-up checks, then the pages.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "framework/AfxThread.h"
#include "ui/PngBackgroundDialogs.h"

// The resource module loaded at start-up, and the resource handle before it.
extern HMODULE g_hResourceModule;
extern HINSTANCE g_hPreviousResource;

class CNimbInstallerApp : public CWinApp {
public:
    CNimbInstallerApp();
    ~CNimbInstallerApp() override;

    // Runs the checks and the pages; always FALSE, so no message loop follows.
    BOOL InitInstance() override;
    // Releases what InitInstance acquired.
    int ExitInstance() override;
    // The welcome page, then the finish page after a successful installation.
    void ShowInstallPages();

    // The layered window behind every page; also the framework's main window.
    std::unique_ptr<CZrPngMainBKDlg> m_pMainBkDlg;
    Gdiplus::GdiplusStartupInput m_gdiplusStartupInput;
    ULONG_PTR m_gdiplusToken = 0;

private:
    bool LoadResourceModule();
    void CreateMainBackground();
    bool PassesEnvironmentChecks(HANDLE& instanceMutex);
    bool WaitUntilHostClosed();
    void ReleaseMainBackground();
};
