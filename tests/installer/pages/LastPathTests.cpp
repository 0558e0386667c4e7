// Recording the install path for the next run.
#include <windows.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "app/FinishDlg.h"
#include "app/InstallThread.h"
#include "app/InstallerTexts.h"
#include "app/RegistryKey.h"
#include "app/WelcomeDlg.h"
#include "resources/ResourceIds.h"
#include "support/InstallerRig.h"
#include "support/QuorTest.h"
#include "support/WindowScript.h"
#include "ui/TipDialog.h"

namespace {

struct RawValue {
    DWORD type = 0;
    std::vector<BYTE> data;
    LONG status = ERROR_FILE_NOT_FOUND;
};

// "LastPath" as a 32-bit program reads it.
RawValue ReadRawLastPath() {
    RawValue value;
    CRegistryKey key;
    if (key.Open(kAddOnKeyPath, KEY_READ, KEY_WOW64_32KEY) != ERROR_SUCCESS) return value;
    DWORD bytes = 0;
    ::RegQueryValueExW(key.Handle(), L"LastPath", nullptr, nullptr, nullptr, &bytes);
    value.data.resize(bytes);
    value.status = ::RegQueryValueExW(key.Handle(), L"LastPath", nullptr, &value.type, value.data.data(), &bytes);
    return value;
}

std::vector<BYTE> Utf16WithNul(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
}

// Gives the add-on's key an access list for the lifetime of the object;
// afterwards the key is opened up again and removed.
class LockedAddOnKey {
public:
    explicit LockedAddOnKey(const wchar_t* sddl) {
        CRegistryKey key;
        key.Create(kAddOnKeyPath, KEY_ALL_ACCESS);
        Apply(key.Handle(), sddl);
    }
    ~LockedAddOnKey() {
        {
            CRegistryKey key; // the owner may always change the access list
            if (key.Open(kAddOnKeyPath, WRITE_DAC) == ERROR_SUCCESS) Apply(key.Handle(), L"D:(A;;KA;;;WD)");
        }
        DeleteAddOnKey();
    }
    LockedAddOnKey(const LockedAddOnKey&) = delete;
    LockedAddOnKey& operator=(const LockedAddOnKey&) = delete;

private:
    static void Apply(HKEY key, const wchar_t* sddl) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr)) {
            return;
        }
        ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        ::LocalFree(descriptor);
    }
};

} // namespace

QUOR_TEST(LastPathIsAStringWithItsNulInThe32BitView) {
    DeleteAddOnKey();
    for (const std::wstring path : {L"C:\\Tools\\Quor\\", L"D:\\Nimbra 2024 Add-ons"}) {
        WriteLastPath(path.c_str());
        const RawValue value = ReadRawLastPath();
        CHECK_EQ(value.status, ERROR_SUCCESS);
        CHECK_EQ(value.type, static_cast<DWORD>(REG_SZ));
        CHECK(value.data == Utf16WithNul(path));
    }
    CHECK(VisibleTip() == nullptr);
    DeleteAddOnKey();
}

QUOR_TEST(AnUnwritableRecordIsReportedAndTheInstallationStillSucceeds) {
    HostInstalled host;
    PayloadInPlace payload;
    const LockedAddOnKey locked(L"D:(A;;KR;;;WD)"); // everyone may read, nobody may write
    TipLog tips;
    RunInstallerInProcess(AgreeInstallThen({
        AnswerTip(tips, IDOK),
        When("the finish page", [] { return VisibleFinishPage() != nullptr; },
             [] { PostClick(VisibleFinishPage()->GetDlgItem(IDC_FINISH_BUTTON)); }),
    }));
    CHECK_EQ(TextsOf(tips), std::vector<std::wstring>{Text(IDS_REGISTRY_WRITE_FAILED)});
    CHECK_EQ(TypesOf(tips), std::vector<int>{kTipNotice});
    CHECK_EQ(payload.Runs().size(), static_cast<size_t>(1));
    CHECK_EQ(ReadRawLastPath().status, static_cast<LONG>(ERROR_FILE_NOT_FOUND));
}
