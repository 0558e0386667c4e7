// CDialog: modal and modeless dialogs built from templates of the current
// resource module (AfxGetResourceHandle), with data exchange between members
// and controls.
#pragma once

#include "AfxWnd.h"

class CDialog;

// Direction and target of one data exchange (UpdateData).
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    BOOL m_bSaveAndValidate; // TRUE: controls to members
    CDialog* m_pDlgWnd;
};

// Binds a control of the dialog template to an object (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// Exchanges the window text of a control with a string member.
void DDX_Text(CDataExchange* dx, int id, CString& value);

class CDialog : public CWnd {
public:
    CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog in its own message loop; returns the value given to
    // EndDialog, or -1 when the template cannot be loaded or created or the
    // window is destroyed without EndDialog.
    virtual INT_PTR DoModal();
    // Creates the dialog without a modal loop.
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);

    void EndDialog(int result);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    bool IsModalLoopRunning() const { return m_bInModalLoop; }

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange*) {}

    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    HWND CreateFromTemplate(UINT templateId, HWND parent);
    void RunModalLoop();

    int m_nModalResult = -1;
    bool m_bInModalLoop = false;
    bool m_bEnded = false;
};
