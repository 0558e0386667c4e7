// The install worker: runs the packaged setup program with the install path,
// waits for it, and records the path for the next run.
#pragma once

#include <windows.h>

#include "framework/AfxString.h"
#include "framework/AfxThread.h"

// A user-interface thread started by the welcome page. It waits for
// WM_INSTALL_START (lParam: the page window), performs one installation,
// posts WM_INSTALL_SUCCEEDED or WM_INSTALL_FAILED to the page, and then
// idles in its message loop until the process ends.
class CInstallThread : public CWinThread {
    DECLARE_DYNCREATE(CInstallThread)

public:
    CInstallThread();

    BOOL InitInstance() override { return TRUE; }

private:
    void OnInstallStart(WPARAM wp, LPARAM lp);
};

// Starts the payload with g_strInstallPath and waits for it to end. 1 when it
// ran and exited with 0; 0 when it is missing, cannot be started or reported
// an error by its exit code. A missing payload is reported with a tip for the
// notify window.
int RunPayloadSetup(const CString& payloadPath, HWND notify);

// Records path as "LastPath" of the add-on's uninstall key; a tip reports a
// key or value that cannot be written.
void WriteLastPath(const CString& path);
