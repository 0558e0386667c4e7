// The installer's first page: the install folder, the licence agreement and
// the start of the installation.
#pragma once

#include "framework/AfxControls.h"
#include "framework/AfxString.h"
#include "ui/BitmapDialogs.h"
#include "ui/ImageButtons.h"
#include "ui/Labels.h"
#include "ui/ShadeButton.h"

class CInstallThread;

// Ends with 1018 after a successful installation, with IDCANCEL when the
// installation failed or the user left, and with IDOK from the framework's
// own OK command.
class CNimbWelcomeDlg : public CArcBitmapDialog {
public:
    explicit CNimbWelcomeDlg(CWnd* parent);

    // 1 when g_strInstallPath (normalised on the way) is acceptable; 0 after a
    // tip over the page has said why not.
    int ValidateInstallPath();
    // While the worker runs, the controls that could change the install path
    // or end the page are disabled.
    bool IsInstalling() const { return m_bInstalling; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void SetUpButtons();
    void SetUpLabels();
    void SetUpAgreementBox();
    void FlowAgreementSentence();
    void ShowInstallNotAgreed();
    void ShowInstallAgreed();
    void EnterInstallingState();
    void PaintPathFrame();
    void FocusPathEdit();

    void ToggleAgreement();
    void OpenDocument(const wchar_t* fileName) const;
    void PickFolder();
    void CaretToPath();
    void Install();
    void StartWorker();
    void ConfirmExit();
    int ShowPageTip(int type, int textId);

    CNimbShadeButtonST m_checkAgreement;
    CNimbShadeButtonST m_btnSecondShade;
    CPngButton m_btnInstall;
    CPngButton m_btnBrowse;
    CPngButton m_btnExit;
    CEdit m_editPath;
    CLabelEx m_linkLicence;
    CLabelEx m_linkPrivacy;
    CLabelEx m_labelText;
    CString m_strPath;
    CString m_strBrowseStart;
    CString m_strInstallerFolder;
    HICON m_hIcon = nullptr;
    CInstallThread* m_pInstallThread = nullptr;
    bool m_bInstalling = false;
};

// Tests the free space of directory (the current drive when it is empty): 1 at
// least 500 MiB available, 0 the query failed, 2 too little; the failures show
// a tip for the notify window.
int CheckDiskSpace(const CString& directory, HWND notify);
