// Registry access of the installer. The deliverable is a 32-bit program, which
// on 64-bit Windows sees the 32-bit view of the uninstall keys; the 64-bit
// build asks for that view explicitly so both builds touch the same keys.
// The Windows version values are the same in both views, so they are read
// from the program's own view.
#pragma once

#include <windows.h>

#include "framework/AfxString.h"

#ifdef _WIN64
constexpr REGSAM kInstallerRegistryView = KEY_WOW64_32KEY;
#else
constexpr REGSAM kInstallerRegistryView = 0;
#endif

extern const wchar_t kUninstallKeyPath[];       // "Software\...\Uninstall\"
extern const wchar_t kAddOnKeyPath[];           // the add-on's own uninstall key, with its trailing backslash
extern const wchar_t kWindowsVersionKeyPath[];  // "Software\Microsoft\Windows NT\CurrentVersion"

// An open registry key, closed with the object.
class CRegistryKey {
public:
    CRegistryKey() = default;
    ~CRegistryKey() { Close(); }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // Opens a key of HKEY_LOCAL_MACHINE, by default in the installer's view.
    LONG Open(const wchar_t* path, REGSAM access, REGSAM view = kInstallerRegistryView);
    LONG Create(const wchar_t* path, REGSAM access, REGSAM view = kInstallerRegistryView);
    void Close();
    bool IsOpen() const { return m_hKey != nullptr; }
    HKEY Handle() const { return m_hKey; }

    // Reads a value as text of at most maxChars characters (longer values fail).
    bool QueryString(const wchar_t* name, int maxChars, CString& value) const;
    LONG SetString(const wchar_t* name, const wchar_t* value) const;

private:
    HKEY m_hKey = nullptr;
};
