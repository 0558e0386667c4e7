#include "RegistryKey.h"

#include <vector>

const wchar_t kUninstallKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kAddOnKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NQuor\\";
const wchar_t kWindowsVersionKeyPath[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";

LONG CRegistryKey::Open(const wchar_t* path, REGSAM access, REGSAM view) {
    Close();
    return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, access | view, &m_hKey);
}

LONG CRegistryKey::Create(const wchar_t* path, REGSAM access, REGSAM view) {
    Close();
    return ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access | view, nullptr,
                             &m_hKey, nullptr);
}

void CRegistryKey::Close() {
    if (m_hKey) ::RegCloseKey(m_hKey);
    m_hKey = nullptr;
}

bool CRegistryKey::QueryString(const wchar_t* name, int maxChars, CString& value) const {
    if (!m_hKey || maxChars <= 0) return false;
    // One spare unit so that data stored without a terminating NUL still ends in one.
    std::vector<wchar_t> buffer(static_cast<size_t>(maxChars) + 2, L'\0');
    DWORD bytes = static_cast<DWORD>((static_cast<size_t>(maxChars) + 1) * sizeof(wchar_t));
    if (::RegQueryValueExW(m_hKey, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
        ERROR_SUCCESS) {
        return false;
    }
    buffer[bytes / sizeof(wchar_t)] = L'\0';
    value = buffer.data();
    return true;
}

LONG CRegistryKey::SetString(const wchar_t* name, const wchar_t* value) const {
    const DWORD bytes = static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes);
}
