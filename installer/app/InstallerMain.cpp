// Entry point of NimbQuorInstaller.exe.
#include <windows.h>

#include "NimbInstallerApp.h"

CNimbInstallerApp theApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) { return AfxWinMain(instance); }
