// The installer's own message box: a skinned modal tip over a PNG panel.
#pragma once

#include <atomic>

#include "BitmapDialogs.h"
#include "ImageButtons.h"
#include "Labels.h"
#include "PngBackgroundDialogs.h"

// Tip types given with the message.
constexpr int kTipRetryForm = 0; // with SetRetry: Cancel, Force closed and Retry
constexpr int kTipQuestion = 1;  // Cancel and OK
constexpr int kTipNotice = 2;    // OK alone

class CArcTipDialog : public CArcBitmapDialog {
public:
    // parent: the tip's background window.
    explicit CArcTipDialog(CWnd* parent);
    ~CArcTipDialog() override;

    void SetMessage(int type, const wchar_t* message);
    void SetRetry(BOOL retry) { m_bRetry = retry != FALSE; }
    // 0 Cancel, 1 Force closed, 2 OK or Retry, -1 when no button ended the tip.
    int GetResult() const { return m_nResult; }
    // Shows the tip over a page: makes its background (owned by the tip) and locks the page.
    void AttachToOwner(CArcBitmapDialog* owner, CZrPngTipBKDlg* background);

    // Tips open in this process right now.
    static int OpenTipCount() { return s_openTips.load(); }

    int m_nResult = -1;
    int m_nType = 0;
    CString m_strTitle;
    CString m_strMessage;
    CZrPngTipBKDlg* m_pBkDlg = nullptr;
    CArcBitmapDialog* m_pOwner = nullptr;
    bool m_bRetry = false;
    HWND m_hOwner = nullptr;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void SetUpControls();
    void ChooseButtons();
    void CentreOverOwner();
    CRect BackgroundRect() const;

    // Shared by the main thread and the install thread.
    static std::atomic<int> s_openTips;
    bool m_bCounted = false;

    CPngButton m_icon;
    CNimbStatic m_title;
    CNimbStatic m_message;
    CPngButton m_forceClose;
    CPngButton m_ok;
    CPngButton m_cancel;
};

// Shows a stand-alone tip and returns its modal result. With a notify window,
// that window is told (WM_TIP_OPENED, WM_TIP_CLOSED) and the tip centres on it.
int ShowTipMessage(int type, const wchar_t* text);
int ShowTipMessage(int type, const wchar_t* text, HWND notify);
// Shows the stand-alone retry form (Cancel, Force closed, Retry) and returns
// the button that ended it: 0 Cancel, 1 Force closed, 2 Retry, -1 none.
int ShowRetryTipMessage(const wchar_t* text);
// Shows a tip over a page, which stays locked meanwhile; returns the modal result.
int ShowOwnedTipMessage(CArcBitmapDialog* owner, int type, const wchar_t* text);
