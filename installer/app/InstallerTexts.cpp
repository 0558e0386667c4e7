#include "InstallerTexts.h"

#include <cwchar>

#include "resources/ResourceIds.h"

CString g_strInstallPath;
int g_bHostInstalled = 0;
int g_bLicenseAccepted = 0;
HMODULE g_hTextModule = nullptr;

namespace {

struct DefaultText {
    int id;
    const wchar_t* text;
};

const DefaultText kDefaultTexts[] = {
    {IDS_FINISH, L"Finish"},
    {IDS_INSTALL, L"Install"},
    {IDS_EXIT, L"Exit"},
    {IDS_CANCEL, L"Cancel"},
    {IDS_FORCE_CLOSED, L"Force closed"},
    {IDS_OK, L"OK"},
    {IDS_RETRY, L"Retry"},
    {IDS_HOST_PREFIX_LOCALIZED, L"澜岫CAD"},
    {IDS_HOST_PREFIX, L"Nimbra"},
    {IDS_HOST_NOT_INSTALLED, L"The operating need to install Nimbra firstly."},
    {IDS_INSTALLING, L"正在安装"},
    {IDS_INSTALL_FAILED, L"安装失败"},
    {IDS_NOT_AGREED, L"Please read and accept the License Agreement and the Privacy Policy first."},
    {IDS_CONFIRM_EXIT, L"After exiting the installation program of Nimbra 2024, you will not be able to continue "
                       L"executing this program. Are you sure to exit?"},
    {IDS_ALREADY_RUNNING, L"Another instance of this setup is already running. Please wait for the other instance "
                          L"to finish and then try again."},
    {IDS_DISK_TOO_SMALL, L"There is not enough disk space."},
    {IDS_DISK_QUERY_FAILED, L"Get disk space failed.\nYou do not have sufficient security privileges to install "
                            L"software on this computer.Please contact your system administrator or log off and "
                            L"log-in again as an administrator."},
    {IDS_PAYLOAD_MISSING, L"File :'%s' does not exist!"},
    {IDS_NOT_ADMIN, L"You do not have sufficient security privileges to install software on this computer.Please "
                    L"contact your system administrator or log off and log-in again as an administrator."},
    {IDS_TIP_TITLE, L"Nimbra 2024"},
    {IDS_MUTEX_NAME, L"Nimbra2024"},
    {IDS_PATH_ERROR, L"Path input error, please input again."},
    {IDS_PATH_INVALID_CHARS, L"Invalid characters in path name.\nThe following characters are not valid in path "
                             L"names: / : * ? \" < > |"},
    {IDS_PATH_IS_ROOT, L"The software is not installed on the disk root directory, please input again."},
    {IDS_PICK_FOLDER_TITLE, L"Please  Select the installation Path."},
    {IDS_OS_TOO_OLD, L"The operating system version is too low, the software may not be installed normally.Please "
                     L"read the system requirements in the software installation program."},
    {IDS_REGISTRY_WRITE_FAILED, L"Error\uFF1AUnable to Create the registry information!"},
    {IDS_HOST_RUNNING, L"Nimbra is running,please close the application and then try again."},
};

} // namespace

CResourceText::CResourceText(int id, const wchar_t* defaultText) : m_szText{}, m_pszDefault(defaultText), m_nId(id) {
    if (!g_hTextModule) g_hTextModule = ::LoadLibraryW(L"NimbQuorInstallerRes.dll");
}

const wchar_t* CResourceText::GetText() {
    const int length = g_hTextModule
                           ? ::LoadStringW(g_hTextModule, static_cast<UINT>(m_nId), m_szText, kCapacity)
                           : 0;
    if (length == 0) {
        // The default is cut to the buffer rather than overrunning it.
        wcsncpy(m_szText, m_pszDefault ? m_pszDefault : L"", kCapacity - 1);
        m_szText[kCapacity - 1] = L'\0';
    } else if (m_szText[length - 1] != L'\0') {
        m_szText[length] = L'\0';
    }
    return m_szText;
}

const wchar_t* DefaultInstallerText(int id) {
    for (const DefaultText& entry : kDefaultTexts) {
        if (entry.id == id) return entry.text;
    }
    return nullptr;
}

CString InstallerText(int id) {
    CResourceText text(id, DefaultInstallerText(id));
    return CString(text.GetText());
}
