// Registry reads of the environment checks, against values written into the
// test's own prefix.
#include <windows.h>

#include <string>
#include <vector>

#include "app/EnvironmentChecks.h"
#include "app/InstallerTexts.h"
#include "app/RegistryKey.h"
#include "support/QuorTest.h"

namespace {

struct UninstallEntry {
    const wchar_t* name;
    const wchar_t* installLocation; // null: the entry has no such value
};

// Writes the entries under the uninstall key for the duration of a test.
class UninstallEntries {
public:
    explicit UninstallEntries(std::vector<UninstallEntry> entries) : m_entries(std::move(entries)) {
        for (const UninstallEntry& entry : m_entries) {
            CRegistryKey key;
            key.Create((CString(kUninstallKeyPath) + entry.name), KEY_ALL_ACCESS);
            if (entry.installLocation) key.SetString(L"InstallLocation", entry.installLocation);
        }
    }
    ~UninstallEntries() {
        for (const UninstallEntry& entry : m_entries) {
            ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, CString(kUninstallKeyPath) + entry.name, kInstallerRegistryView, 0);
        }
    }

private:
    std::vector<UninstallEntry> m_entries;
};

void WriteLastPathValue(const wchar_t* path) {
    CRegistryKey key;
    key.Create(kAddOnKeyPath, KEY_ALL_ACCESS);
    key.SetString(L"LastPath", path);
}

void DeleteAddOnKey() { ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kAddOnKeyPath, kInstallerRegistryView, 0); }

void ResetSharedState() {
    g_strInstallPath = L"unchanged";
    g_bHostInstalled = 7;
}

} // namespace

QUOR_TEST(HostSearchTakesTheFirstMatchingEntryWithALocation) {
    struct Case {
        std::vector<UninstallEntry> entries;
        int installed;
        const wchar_t* path;
    };
    const std::vector<Case> cases = {
        {{}, 0, L"unchanged"},
        {{{L"Nimbra 2024", L"C:\\Nimbra 2024\\"}}, 1, L"C:\\Nimbra 2024\\"},
        {{{L"澜岫CAD 2024", L"D:\\LanXiu\\"}}, 1, L"D:\\LanXiu\\"},
        // Prefix at position 0 only, and case-sensitive.
        {{{L"Old Nimbra", L"C:\\Old\\"}, {L"nimbra 2024", L"C:\\lower\\"}}, 0, L"unchanged"},
        // A matching entry without InstallLocation is skipped.
        {{{L"Nimbra 2023", nullptr}, {L"Nimbra 2024", L"C:\\Second\\"}}, 1, L"C:\\Second\\"},
        // The first good entry in enumeration order wins.
        {{{L"Nimbra A", L"C:\\A\\"}, {L"Nimbra B", L"C:\\B\\"}}, 1, L"C:\\A\\"},
    };
    for (const Case& c : cases) {
        UninstallEntries entries(c.entries);
        ResetSharedState();
        FindHostInstallLocation();
        CHECK_EQ(g_bHostInstalled, c.installed);
        CHECK_EQ(g_strInstallPath.str(), std::wstring(c.path));
    }
}

QUOR_TEST(HostSearchSkipsAnInstallLocationTooLongForAPath) {
    const std::wstring tooLong = L"C:\\" + std::wstring(257, L'a');
    UninstallEntries entries({{L"Nimbra 1", tooLong.c_str()}, {L"Nimbra 2", L"C:\\Fits\\"}});
    ResetSharedState();
    FindHostInstallLocation();
    CHECK_EQ(g_strInstallPath.str(), std::wstring(L"C:\\Fits\\"));
}

QUOR_TEST(LastPathTakesPrecedenceOverTheHostFolder) {
    UninstallEntries entries(std::vector<UninstallEntry>{{L"Nimbra 2024", L"C:\\Nimbra 2024\\"}});
    ResetSharedState();
    FindHostInstallLocation();
    ReadLastPath();
    CHECK_EQ(g_strInstallPath.str(), std::wstring(L"C:\\Nimbra 2024\\"));

    WriteLastPathValue(L"E:\\Earlier Quor\\");
    FindHostInstallLocation();
    ReadLastPath();
    CHECK_EQ(g_bHostInstalled, 1);
    CHECK_EQ(g_strInstallPath.str(), std::wstring(L"E:\\Earlier Quor\\"));
    DeleteAddOnKey();
}

QUOR_TEST(KeysLandInThe32BitView) {
    WriteLastPathValue(L"F:\\Viewed\\");
    HKEY key = nullptr;
#ifdef _WIN64
    // A 64-bit program sees the 32-bit view's keys under Wow6432Node of the native view.
    const wchar_t nativePath[] = L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NQuor";
    CHECK_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, nativePath, 0, KEY_READ | KEY_WOW64_64KEY, &key), ERROR_SUCCESS);
    if (key) ::RegCloseKey(key);
    key = nullptr;
    CHECK(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NQuor", 0,
                          KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS);
    if (key) ::RegCloseKey(key);
#endif
    // The key and value as a 32-bit program addresses them.
    CHECK_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAddOnKeyPath, 0, KEY_READ | KEY_WOW64_32KEY, &key), ERROR_SUCCESS);
    if (key) ::RegCloseKey(key);
    DeleteAddOnKey();
}

QUOR_TEST(WindowsVersionValuesAreReadFromTheRegistry) {
    HKEY key = nullptr;
    REQUIRE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWindowsVersionKeyPath, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS);
    const auto setValue = [&](const wchar_t* name, const wchar_t* value) {
        ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                         static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    };
    const CString savedVersion = ReadWindowsVersionValue(L"CurrentVersion");
    const CString savedProduct = ReadWindowsVersionValue(L"ProductName");
    CHECK(!savedVersion.IsEmpty());

    setValue(L"CurrentVersion", L"6.3");
    setValue(L"ProductName", L"Windows Server 2008 R2 Enterprise");
    CHECK_EQ(ReadWindowsVersionValue(L"ProductName").str(), std::wstring(L"Windows Server 2008 R2 Enterprise"));
    OsVerdict verdict = CheckOperatingSystem();
    CHECK(!verdict.accepted);
    CHECK_EQ(verdict.tipType, 1);

    ::RegDeleteValueW(key, L"CurrentVersion");
    CHECK(ReadWindowsVersionValue(L"CurrentVersion").IsEmpty());
    verdict = CheckOperatingSystem();
    CHECK(!verdict.accepted);
    CHECK_EQ(verdict.tipType, 2);
    CHECK(ReadWindowsVersionValue(L"NoSuchValue").IsEmpty());

    setValue(L"CurrentVersion", savedVersion);
    setValue(L"ProductName", savedProduct);
    ::RegCloseKey(key);
}
