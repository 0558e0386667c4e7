// Entry point of the resource-only module NimbQuorInstallerRes.dll.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
