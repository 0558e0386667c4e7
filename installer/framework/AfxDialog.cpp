#include "AfxDialog.h"

#include "AfxResources.h"

namespace {

INT_PTR CALLBACK PassToDialogManager(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

bool IsInputMessage(UINT msg) {
    return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST);
}

} // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (!control.m_hWnd) control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd);
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    HWND control = dx->m_pDlgWnd->GetDlgItem(id);
    if (dx->m_bSaveAndValidate) {
        value = CString::FromWindowText(control);
    } else {
        ::SetWindowTextW(control, value);
    }
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        HWND hwnd = m_hWnd;
        UnsubclassWindow();
        ::DestroyWindow(hwnd);
    }
}

HWND CDialog::CreateFromTemplate(UINT templateId, HWND parent) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const auto* dialogTemplate = loaded ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
    if (!dialogTemplate) return nullptr;
    return CreateBound([&] {
        return ::CreateDialogIndirectParamW(module, dialogTemplate, parent, PassToDialogManager, 0);
    });
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    return CreateFromTemplate(templateId, parent ? parent->m_hWnd : nullptr) != nullptr;
}

INT_PTR CDialog::DoModal() {
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    m_bEnded = false;
    m_nModalResult = -1;
    if (!CreateFromTemplate(m_nIDTemplate, parent)) return -1;
    const bool disabledParent = parent && ::IsWindowEnabled(parent);
    if (disabledParent) ::EnableWindow(parent, FALSE);
    RunModalLoop();
    if (disabledParent) ::EnableWindow(parent, TRUE);
    if (parent && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(parent);
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::RunModalLoop() {
    m_bInModalLoop = true;
    if (!m_bEnded && !IsWindowVisible()) ShowWindow(SW_SHOWNORMAL);
    MSG msg;
    // A dialog destroyed without EndDialog (by itself or with its owner)
    // ends the loop too: no message would ever come to end it otherwise.
    while (!m_bEnded && m_hWnd) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0) break;
        if (!WalkPreTranslateTree(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    m_bInModalLoop = false;
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_bEnded = true;
    if (!m_hWnd) return;
    if (m_bInModalLoop) {
        PostMessage(WM_NULL); // wake the modal loop
    } else {
        ShowWindow(SW_HIDE); // a modeless dialog stays until destroyed
    }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (!IsInputMessage(msg->message)) return FALSE;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) return OnInitDialog();
    return CWnd::WindowProc(msg, wp, lp);
}

BOOL CDialog::OnCommand(WPARAM wp, LPARAM) {
    if (HIWORD(wp) != BN_CLICKED) return FALSE;
    switch (LOWORD(wp)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}
