// The installer's last page, shown after the payload has run.
#pragma once

#include "ui/BitmapDialogs.h"
#include "ui/ImageButtons.h"
#include "ui/Labels.h"

// Ends with 1001 from Finish, which also hides the background; starts nothing.
class CNimbFinishDlg : public CArcBitmapDialog {
public:
    explicit CNimbFinishDlg(CWnd* parent);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT ctlColorType) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void SetUpTitle();

    CNimbStatic m_title;
    CPngButton m_btnFinish;
    HICON m_hIcon = nullptr;
};
