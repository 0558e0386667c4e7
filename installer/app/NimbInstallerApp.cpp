// The installer program. Its start-up sequence is built on the checks in
// EnvironmentChecks and the texts in InstallerTexts.
#include <windows.h>

#include "app/InstallerTexts.h"
#include "framework/Afx.h"

class CNimbInstallerApp : public CWinApp {
public:
    BOOL InitInstance() override {
        InstallerText(3221);
        return FALSE;
    }
};

CNimbInstallerApp theApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) { return AfxWinMain(instance); }
