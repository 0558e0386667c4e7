// Fixtures for tests of the installer's pages and start-up: the machine state
// the checks read, the payload beside the test program, and the tips and pages
// the installer shows, seen through its own objects.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "WindowScript.h"

class CArcTipDialog;
class CNimbInstallerApp;
class CNimbFinishDlg;
class CNimbWelcomeDlg;
class CPngButton;

// The installer's resource module as the source of templates and images, as
// the start-up makes it, for the lifetime of the object.
class ResourceModuleInUse {
public:
    ResourceModuleInUse();
    ~ResourceModuleInUse();
    ResourceModuleInUse(const ResourceModuleInUse&) = delete;
    ResourceModuleInUse& operator=(const ResourceModuleInUse&) = delete;

private:
    HMODULE m_module;
    HINSTANCE m_previous;
};

// A host uninstall entry (and so a host install location) for the lifetime of
// the object; a LastPath left by an earlier case is removed first.
class HostInstalled {
public:
    explicit HostInstalled(const wchar_t* location = L"C:\\Program Files\\Nimbra 2024\\");
    ~HostInstalled();
    HostInstalled(const HostInstalled&) = delete;
    HostInstalled& operator=(const HostInstalled&) = delete;
};

// The installer's LastPath value, or "" when there is none.
std::wstring RecordedLastPath();
void DeleteAddOnKey();

// Sets an environment variable for the lifetime of the object.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const std::wstring& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::wstring m_name;
};

// Tells the stand-in payload (and every copy started from this process) to
// record its command lines to a fresh file, to sleep sleepMs and to exit with
// exitCode, for the lifetime of the object.
class PayloadRecorder {
public:
    explicit PayloadRecorder(int exitCode = 0, int sleepMs = 0);
    ~PayloadRecorder();
    PayloadRecorder(const PayloadRecorder&) = delete;
    PayloadRecorder& operator=(const PayloadRecorder&) = delete;

    // The command lines of the runs so far, one per run.
    std::vector<std::wstring> Runs() const;

private:
    std::wstring m_record;
    ScopedVariable m_recordVariable;
    ScopedVariable m_exitCode;
    ScopedVariable m_sleep;
};

// The stand-in payload in the "files" folder beside the running program,
// recording its runs; removed with the object.
class PayloadInPlace : public PayloadRecorder {
public:
    explicit PayloadInPlace(int exitCode = 0, int sleepMs = 0);
    ~PayloadInPlace();

    static std::wstring Path();
};

// A tip that was on screen: its window, text and type.
struct SeenTip {
    HWND window;
    std::wstring text;
    int type;
    bool retry;
};
using TipLog = std::vector<SeenTip>;

// The tip on screen in this process (any thread), or null.
CArcTipDialog* VisibleTip();
// Waits for a tip not answered before, notes it in log and clicks button (IDOK,
// IDCANCEL or the Force closed button).
ScriptStep AnswerTip(TipLog& log, int button);
// The texts of the logged tips, to compare with the expected ones.
std::vector<std::wstring> TextsOf(const TipLog& log);
std::vector<int> TypesOf(const TipLog& log);
// The installer's text of a string id.
std::wstring Text(int id);

// The system's folder picker on screen in this process, or null.
HWND VisibleFolderPicker();
// The pages on screen in this process, or null.
CNimbWelcomeDlg* VisibleWelcomePage();
CNimbFinishDlg* VisibleFinishPage();
// The image button bound to a control of a page.
CPngButton* PageButton(HWND page, int id);
// A step that acts once ready.
ScriptStep When(const char* waitingFor, std::function<bool()> ready, std::function<void()> act);
// A step that acts a while after the previous one.
ScriptStep After(DWORD milliseconds, std::function<void()> act);
// A step that waits for the welcome page, with no tip over it, and then acts on it.
ScriptStep OnWelcomePage(std::function<void(CNimbWelcomeDlg&)> act);
// Steps that tick the agreement, click Install once it holds (after
// beforeInstall, when given) and then go on with the given steps.
std::vector<ScriptStep> AgreeInstallThen(std::vector<ScriptStep> then, std::function<void()> beforeInstall = nullptr);

// Runs the installer's start-up in this process, from fresh shared state,
// while the steps answer it; then afterwards(app) before the app is released.
void RunInstallerInProcess(std::vector<ScriptStep> steps,
                           const std::function<void(CNimbInstallerApp&)>& afterwards = nullptr);
// The running installer's page over its main background, as Windows shows the
// pair, saved as NAME-DPI.png under the screenshot folder.
void SavePageScreenshot(const std::wstring& name, HWND page);
// The same for a tip over its own background.
void SaveTipScreenshot(const std::wstring& name, const CArcTipDialog& tip);
