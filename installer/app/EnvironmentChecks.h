// Tests of the machine made before any page is shown.
#pragma once

#include <windows.h>

#include "framework/AfxString.h"

// Elevated (Windows 6.0 and later) or, on older systems, in Administrators.
BOOL IsRunAsAdmin();
BOOL IsUserInAdminGroup();

// A value of HKLM "Software\Microsoft\Windows NT\CurrentVersion", or "" on failure.
CString ReadWindowsVersionValue(const wchar_t* name);

// Outcome of the operating-system rules: accepted, or rejected with the tip
// type to show (2 notice, 1 question).
struct OsVerdict {
    bool accepted;
    int tipType;
};

// The rules on the three registry values "CurrentVersion", "CSDVersion" and "ProductName".
OsVerdict ApplyOperatingSystemRules(const CString& currentVersion, const CString& csdVersion,
                                    const CString& productName);
// The rules on this machine's values.
OsVerdict CheckOperatingSystem();

// Process id of the first process whose file name equals name ignoring case,
// as Windows compares file names, or 0.
DWORD FindProcessByName(const wchar_t* name);
// Terminates every process whose file name equals name ignoring case; false
// when the snapshot cannot be taken or a process cannot be terminated.
bool TerminateProcessesByName(const wchar_t* name);

// Sets g_strInstallPath and g_bHostInstalled from the host's uninstall entry.
void FindHostInstallLocation();
// Replaces g_strInstallPath with the path of an earlier installation, if recorded.
void ReadLastPath();
