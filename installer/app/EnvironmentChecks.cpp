#include "EnvironmentChecks.h"

#include <tlhelp32.h>

#include <cwchar>

#include "InstallerTexts.h"
#include "RegistryKey.h"
#include "UniqueHandle.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kMaxPathChars = 259;
constexpr int kVersionValueChars = 4098 / 2 - 1;

UniqueHandle OpenOwnToken() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return UniqueHandle();
    return UniqueHandle(token);
}

UniqueHandle TakeProcessSnapshot() { return AdoptHandle(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)); }

// Calls visit for each process of the snapshot until it returns false.
template <typename Visit>
void ForEachProcess(HANDLE snapshot, Visit visit) {
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
        if (!visit(entry)) return;
    }
}

bool TerminateProcessById(DWORD processId) {
    UniqueHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    return process && ::TerminateProcess(process.get(), 0);
}

double LeadingNumber(const CString& text) { return wcstod(text, nullptr); }

// Integer value of the last four of the first nineteen characters, as atoi reads it.
int ServerYear(const CString& productName) { return _wtoi(productName.Left(19).Right(4)); }

bool StartsWith(const wchar_t* name, const CString& prefix) {
    return !prefix.IsEmpty() && wcsncmp(name, prefix, static_cast<size_t>(prefix.GetLength())) == 0;
}

} // namespace

BOOL IsRunAsAdmin() {
    const DWORD major = LOBYTE(LOWORD(::GetVersion()));
    if (major < 6) return IsUserInAdminGroup();
    UniqueHandle token = OpenOwnToken();
    if (!token) return FALSE;
    DWORD elevated = 0;
    DWORD returned = 0;
    if (!::GetTokenInformation(token.get(), TokenElevation, &elevated, sizeof(elevated), &returned)) return FALSE;
    return returned == sizeof(elevated) && elevated != 0;
}

BOOL IsUserInAdminGroup() {
    UniqueHandle token = OpenOwnToken();
    if (!token) return FALSE;
    alignas(TOKEN_GROUPS) BYTE buffer[1024];
    DWORD returned = 0;
    if (!::GetTokenInformation(token.get(), TokenGroups, buffer, sizeof(buffer), &returned)) return FALSE;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                                    0, 0, 0, &administrators)) {
        return FALSE;
    }
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer);
    BOOL found = FALSE;
    for (DWORD i = 0; i < groups->GroupCount && !found; ++i) {
        found = ::EqualSid(groups->Groups[i].Sid, administrators);
    }
    ::FreeSid(administrators);
    return found;
}

CString ReadWindowsVersionValue(const wchar_t* name) {
    CRegistryKey key;
    CString value;
    if (key.Open(kWindowsVersionKeyPath, KEY_READ, 0) != ERROR_SUCCESS) return CString();
    return key.QueryString(name, kVersionValueChars, value) ? value : CString();
}

OsVerdict ApplyOperatingSystemRules(const CString& currentVersion, const CString& csdVersion,
                                    const CString& productName) {
    const OsVerdict accepted{true, 0};
    const OsVerdict rejected{false, 2};
    const double version = LeadingNumber(currentVersion);
    if (version < 6.1) return rejected;
    if (version == 6.1) return csdVersion == L"Service Pack 1" ? accepted : rejected;
    if (version != 6.3) return accepted;
    if (productName.Find(L"Windows Server 2012") >= 0) {
        return productName.Find(L"Windows Server 2012 R2") >= 0 ? accepted : rejected;
    }
    if (productName.Find(L"Windows Server") >= 0 && ServerYear(productName) < 2012) return OsVerdict{false, 1};
    return accepted;
}

OsVerdict CheckOperatingSystem() {
    return ApplyOperatingSystemRules(ReadWindowsVersionValue(L"CurrentVersion"), ReadWindowsVersionValue(L"CSDVersion"),
                                     ReadWindowsVersionValue(L"ProductName"));
}

DWORD FindProcessByName(const wchar_t* name) {
    UniqueHandle snapshot = TakeProcessSnapshot();
    if (!snapshot) return 0;
    DWORD found = 0;
    ForEachProcess(snapshot.get(), [&](const PROCESSENTRY32W& entry) {
        if (_wcsicmp(entry.szExeFile, name) == 0) found = entry.th32ProcessID;
        return found == 0;
    });
    return found;
}

bool TerminateProcessesByName(const wchar_t* name) {
    UniqueHandle snapshot = TakeProcessSnapshot();
    if (!snapshot) return false;
    bool allTerminated = true;
    ForEachProcess(snapshot.get(), [&](const PROCESSENTRY32W& entry) {
        if (_wcsicmp(entry.szExeFile, name) == 0 && !TerminateProcessById(entry.th32ProcessID)) allTerminated = false;
        return allTerminated;
    });
    return allTerminated;
}

void FindHostInstallLocation() {
    g_bHostInstalled = 0;
    CRegistryKey uninstall;
    if (uninstall.Open(kUninstallKeyPath, KEY_READ) != ERROR_SUCCESS) return;
    const CString prefixes[] = {InstallerText(IDS_HOST_PREFIX_LOCALIZED), InstallerText(IDS_HOST_PREFIX)};
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = 256;
        if (::RegEnumKeyExW(uninstall.Handle(), index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return;
        }
        if (!StartsWith(name, prefixes[0]) && !StartsWith(name, prefixes[1])) continue;
        CRegistryKey entry;
        CString location;
        if (entry.Open(CString(kUninstallKeyPath) + name, KEY_READ) != ERROR_SUCCESS) continue;
        if (!entry.QueryString(L"InstallLocation", kMaxPathChars, location)) continue;
        g_strInstallPath = location;
        g_bHostInstalled = 1;
        return;
    }
}

void ReadLastPath() {
    CRegistryKey addOn;
    CString lastPath;
    if (addOn.Open(kAddOnKeyPath, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    if (addOn.QueryString(L"LastPath", kMaxPathChars, lastPath)) g_strInstallPath = lastPath;
}
