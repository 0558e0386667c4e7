#include "InstallerRig.h"

#include <memory>

#include "QuorTest.h"
#include "WineEnvironment.h"
#include "app/FinishDlg.h"
#include "app/InstallRules.h"
#include "app/InstallerTexts.h"
#include "app/NimbInstallerApp.h"
#include "app/RegistryKey.h"
#include "app/WelcomeDlg.h"
#include "framework/AfxResources.h"
#include "resources/ResourceIds.h"
#include "ui/TipDialog.h"

namespace {

const wchar_t kHostEntry[] = L"Nimbra 2024";

std::wstring Widen(const std::string& text) {
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
    return wide;
}

template <typename Page>
Page* VisiblePageWith(int controlId) {
    return dynamic_cast<Page*>(CWnd::FromHandlePermanent(FindProcessWindowWithControl(controlId)));
}

// Paints a window and its controls at once. Pumping messages instead would
// let the running script's next step act before the picture is taken.
void PaintNow(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool IsLogged(const TipLog& log, HWND window) {
    for (const SeenTip& tip : log) {
        if (tip.window == window) return true;
    }
    return false;
}

} // namespace

ResourceModuleInUse::ResourceModuleInUse()
    : m_module(::LoadLibraryW(L"NimbQuorInstallerRes.dll")), m_previous(AfxGetResourceHandle()) {
    AfxSetResourceHandle(m_module);
}

ResourceModuleInUse::~ResourceModuleInUse() {
    AfxSetResourceHandle(m_previous);
    if (m_module) ::FreeLibrary(m_module);
}

HostInstalled::HostInstalled(const wchar_t* location) {
    DeleteAddOnKey();
    CRegistryKey entry;
    entry.Create(CString(kUninstallKeyPath) + kHostEntry, KEY_ALL_ACCESS);
    entry.SetString(L"InstallLocation", location);
}

HostInstalled::~HostInstalled() {
    ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, CString(kUninstallKeyPath) + kHostEntry, kInstallerRegistryView, 0);
    DeleteAddOnKey();
}

std::wstring RecordedLastPath() {
    CRegistryKey key;
    CString value;
    if (key.Open(kAddOnKeyPath, KEY_READ) != ERROR_SUCCESS || !key.QueryString(L"LastPath", 1000, value)) return L"";
    return value.str();
}

void DeleteAddOnKey() { ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kAddOnKeyPath, kInstallerRegistryView, 0); }

ScopedVariable::ScopedVariable(const wchar_t* name, const std::wstring& value) : m_name(name) {
    ::SetEnvironmentVariableW(name, value.empty() ? nullptr : value.c_str());
}

ScopedVariable::~ScopedVariable() { ::SetEnvironmentVariableW(m_name.c_str(), nullptr); }

PayloadRecorder::PayloadRecorder(int exitCode, int sleepMs)
    : m_record(MakeScratchFolder(L"quor-payload-runs") + L"\\runs.txt"),
      m_recordVariable(L"NIMB_QUOR_RECORD", m_record),
      m_exitCode(L"NIMB_QUOR_EXIT_CODE", std::to_wstring(exitCode)),
      m_sleep(L"NIMB_QUOR_SLEEP_MS", std::to_wstring(sleepMs)) {
    ::DeleteFileW(m_record.c_str());
}

PayloadRecorder::~PayloadRecorder() { ::DeleteFileW(m_record.c_str()); }

std::vector<std::wstring> PayloadRecorder::Runs() const {
    std::vector<std::wstring> runs;
    const std::wstring text = Widen(ReadFileText(m_record));
    size_t start = 0;
    for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        runs.push_back(text.substr(start, end - start));
    }
    return runs;
}

PayloadInPlace::PayloadInPlace(int exitCode, int sleepMs) : PayloadRecorder(exitCode, sleepMs) {
    ::CreateDirectoryW((InstallerFolder() + L"\\files").GetString(), nullptr);
    ::CopyFileW(WindowsPathOf(EnvironmentValue(L"QUOR_PAYLOAD")).c_str(), Path().c_str(), FALSE);
}

PayloadInPlace::~PayloadInPlace() { ::DeleteFileW(Path().c_str()); }

std::wstring PayloadInPlace::Path() { return PayloadPathFor(InstallerFolder()).str(); }

CArcTipDialog* VisibleTip() { return VisiblePageWith<CArcTipDialog>(IDC_TIP_MESSAGE); }

ScriptStep AnswerTip(TipLog& log, int button) {
    ScriptStep step;
    step.waitingFor = "a tip";
    step.ready = [&log] {
        const CArcTipDialog* tip = VisibleTip();
        return tip && !IsLogged(log, tip->m_hWnd);
    };
    step.act = [&log, button] {
        const CArcTipDialog* tip = VisibleTip();
        log.push_back(SeenTip{tip->m_hWnd, tip->m_strMessage.str(), tip->m_nType, tip->m_bRetry});
        PostClick(::GetDlgItem(tip->m_hWnd, button));
    };
    return step;
}

std::vector<std::wstring> TextsOf(const TipLog& log) {
    std::vector<std::wstring> texts;
    for (const SeenTip& tip : log) texts.push_back(tip.text);
    return texts;
}

std::vector<int> TypesOf(const TipLog& log) {
    std::vector<int> types;
    for (const SeenTip& tip : log) types.push_back(tip.type);
    return types;
}

std::wstring Text(int id) { return InstallerText(id).str(); }

namespace {

BOOL CALLBACK NoteFolderPicker(HWND window, LPARAM found) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    // A system dialog: one of this process that no object of ours is bound to.
    if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window) || wcscmp(className, L"#32770") != 0 ||
        CWnd::FromHandlePermanent(window)) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

} // namespace

HWND VisibleFolderPicker() {
    HWND found = nullptr;
    ::EnumWindows(NoteFolderPicker, reinterpret_cast<LPARAM>(&found));
    return found;
}

CNimbWelcomeDlg* VisibleWelcomePage() { return VisiblePageWith<CNimbWelcomeDlg>(IDC_PATH_EDIT); }

CNimbFinishDlg* VisibleFinishPage() { return VisiblePageWith<CNimbFinishDlg>(IDC_FINISH_TITLE); }

CPngButton* PageButton(HWND page, int id) {
    return dynamic_cast<CPngButton*>(CWnd::FromHandlePermanent(::GetDlgItem(page, id)));
}

ScriptStep When(const char* waitingFor, std::function<bool()> ready, std::function<void()> act) {
    return ScriptStep{std::move(ready), std::move(act), waitingFor};
}

ScriptStep After(DWORD milliseconds, std::function<void()> act) {
    auto since = std::make_shared<DWORD>(0);
    const auto ready = [since, milliseconds] {
        if (*since == 0) *since = ::GetTickCount() | 1;
        return ::GetTickCount() - *since >= milliseconds;
    };
    return ScriptStep{ready, std::move(act), "a pause"};
}

ScriptStep OnWelcomePage(std::function<void(CNimbWelcomeDlg&)> act) {
    ScriptStep step;
    step.waitingFor = "the welcome page without a tip";
    step.ready = [] { return VisibleWelcomePage() != nullptr && VisibleTip() == nullptr; };
    step.act = [act = std::move(act)] { act(*VisibleWelcomePage()); };
    return step;
}

std::vector<ScriptStep> AgreeInstallThen(std::vector<ScriptStep> then, std::function<void()> beforeInstall) {
    std::vector<ScriptStep> steps = {
        OnWelcomePage([](CNimbWelcomeDlg& page) { PostClick(page.GetDlgItem(IDC_AGREEMENT_CHECK)); }),
        When("the agreement", [] { return g_bLicenseAccepted == 1; },
             [beforeInstall] {
                 if (beforeInstall) beforeInstall();
                 PostClick(VisibleWelcomePage()->GetDlgItem(IDC_INSTALL_BUTTON));
             }),
    };
    for (ScriptStep& step : then) steps.push_back(std::move(step));
    return steps;
}

void RunInstallerInProcess(std::vector<ScriptStep> steps, const std::function<void(CNimbInstallerApp&)>& afterwards) {
    g_strInstallPath.Empty();
    g_bHostInstalled = 0;
    g_bLicenseAccepted = 0;
    CNimbInstallerApp app;
    {
        WindowScript script(std::move(steps));
        CHECK_EQ(app.InitInstance(), FALSE);
        CHECK(script.Finished());
    }
    if (afterwards) afterwards(app);
    app.ExitInstance();
}

void SaveTipScreenshot(const std::wstring& name, const CArcTipDialog& tip) {
    PaintNow(tip.m_hWnd);
    SaveSkinnedScreenshot(name + L"-" + std::to_wstring(TestDpi()), tip.m_hBkWnd, tip.m_pBkWnd->GetSurfaceDC(),
                          tip.m_hWnd, RGB(230, 230, 250));
}

void SavePageScreenshot(const std::wstring& name, HWND page) {
    auto* app = static_cast<CNimbInstallerApp*>(AfxGetApp());
    const CZrPngMainBKDlg& background = *app->m_pMainBkDlg;
    PaintNow(page);
    SaveSkinnedScreenshot(name + L"-" + std::to_wstring(TestDpi()), background.m_hWnd, background.GetSurfaceDC(), page,
                          RGB(230, 230, 250));
}
