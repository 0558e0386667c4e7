// Texts of the installer and the values its parts share.
#pragma once

#include <windows.h>

#include "framework/AfxString.h"

// Install path proposed at start-up and edited on the welcome page.
extern CString g_strInstallPath;
// 1 once the host's uninstall entry with its folder was found.
extern int g_bHostInstalled;
// 1 while the licence agreement box is ticked.
extern int g_bLicenseAccepted;
// Module the texts are read from; loaded by the first CResourceText.
extern HMODULE g_hTextModule;

// One text of the resource module, with a built-in default for a missing
// module or string. Lives on the stack.
class CResourceText {
public:
    static constexpr int kCapacity = 1000;

    CResourceText(int id, const wchar_t* defaultText);
    // The looked-up text; always NUL-terminated.
    const wchar_t* GetText();

private:
    wchar_t m_szText[kCapacity];
    const wchar_t* m_pszDefault;
    int m_nId;
};

// Built-in default of a string id of the installer, or null for an unknown id.
const wchar_t* DefaultInstallerText(int id);
// The text of a string id, through CResourceText with its built-in default.
CString InstallerText(int id);
