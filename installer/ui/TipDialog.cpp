#include "TipDialog.h"

#include "Dpi.h"
#include "app/InstallerTexts.h"
#include "resources/ResourceIds.h"

std::atomic<int> CArcTipDialog::s_openTips{0};

namespace {

constexpr int kBackgroundMargin = 40;
const COLORREF kGreyText = RGB(78, 89, 105);
const COLORREF kGreyPressed = RGB(51, 51, 51);
const COLORREF kGreyHover = RGB(89, 90, 90);

} // namespace

CArcTipDialog::CArcTipDialog(CWnd* parent) : CArcBitmapDialog(IDD_TIP_DIALOG, parent) { m_nBkPngId = IDP_TIP_PANEL; }

CArcTipDialog::~CArcTipDialog() {
    if (m_pBkDlg) {
        m_pBkDlg->SendMessage(WM_CLOSE);
        delete m_pBkDlg;
        m_pBkDlg = nullptr;
    }
    // Only a tip that was counted when it opened gives its count back.
    if (m_bCounted) --s_openTips;
    if (m_pOwner) {
        m_pOwner->m_bLocked = false;
        m_pOwner = nullptr;
    }
}

void CArcTipDialog::SetMessage(int type, const wchar_t* message) {
    m_nType = type;
    m_strMessage = message;
    m_strTitle = InstallerText(IDS_TIP_TITLE);
}

void CArcTipDialog::AttachToOwner(CArcBitmapDialog* owner, CZrPngTipBKDlg* background) {
    background->Create(IDD_TIP_BACKGROUND, owner);
    background->ShowWindow(SW_HIDE);
    m_pBkDlg = background;
    LinkBackground(background);
    background->DrawPng(m_nBkPngId, 500, 280);
    background->CenterWindow(owner->m_hBkWnd);
    m_pOwner = owner;
    m_hOwner = owner->m_hWnd;
    owner->m_bLocked = true;
}

void CArcTipDialog::DoDataExchange(CDataExchange* dx) {
    CArcBitmapDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_TIP_ICON, m_icon);
    DDX_Control(dx, IDC_TIP_TITLE, m_title);
    DDX_Control(dx, IDC_TIP_MESSAGE, m_message);
    DDX_Control(dx, IDC_TIP_FORCE_CLOSE, m_forceClose);
    DDX_Control(dx, IDOK, m_ok);
    DDX_Control(dx, IDCANCEL, m_cancel);
}

BOOL CArcTipDialog::OnInitDialog() {
    CArcBitmapDialog::OnInitDialog();
    if (s_openTips.fetch_add(1) > 0) SendMessage(WM_CLOSE); // one tip at a time
    m_bCounted = true;
    SetUpControls();
    ChooseButtons();
    if (m_hOwner) CentreOverOwner();
    SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Invalidate();
    return TRUE;
}

void CArcTipDialog::SetUpControls() {
    m_icon.SetPngImages(IDP_TIP_ICON, 0, 0, 0);
    m_title.SetText(m_strTitle);
    m_title.SetFontSizeAndColor(27, RGB(253, 169, 17));
    m_message.SetText(m_strMessage);
    m_message.SetFontSizeAndColor(18, RGB(77, 77, 77));

    m_cancel.SetPngImages(IDP_CANCEL_NORMAL, IDP_CANCEL_PRESSED, IDP_CANCEL_HOVER, 0);
    m_cancel.SetCaption(InstallerText(IDS_CANCEL));
    m_cancel.SetTextColors(kGreyText, kGreyPressed, kGreyHover);
    m_cancel.SetFontSize(17);

    m_forceClose.SetPngImages(IDP_FORCE_CLOSE_NORMAL, IDP_FORCE_CLOSE_PRESSED, IDP_FORCE_CLOSE_HOVER, 0);
    m_forceClose.SetCaption(InstallerText(IDS_FORCE_CLOSED));
    m_forceClose.SetTextColors(kGreyText, kGreyPressed, kGreyHover);
    m_forceClose.SetFontSize(17);

    m_ok.SetPngImages(IDP_OK_NORMAL, IDP_OK_PRESSED, IDP_OK_HOVER, 0);
    m_ok.SetCaption(InstallerText(IDS_OK));
    m_ok.SetTextColor(RGB(255, 255, 255));
    m_ok.SetFontSize(17);
}

void CArcTipDialog::ChooseButtons() {
    if (m_bRetry) {
        m_ok.SetCaption(InstallerText(IDS_RETRY));
    } else if (m_nType == kTipNotice) {
        m_cancel.ShowWindow(SW_HIDE);
        m_forceClose.ShowWindow(SW_HIDE);
    } else {
        m_forceClose.ShowWindow(SW_HIDE);
    }
}

CRect CArcTipDialog::BackgroundRect() const {
    CRect rect;
    GetWindowRect(&rect);
    const int margin = ScaleByDpi(kBackgroundMargin);
    rect.InflateRect(margin, margin);
    return rect;
}

void CArcTipDialog::CentreOverOwner() {
    CRect owner;
    ::GetWindowRect(m_hOwner, &owner);
    CRect own;
    GetWindowRect(&own);
    const int dx = (owner.Width() - own.Width()) / 2;
    const int dy = (owner.Height() - own.Height()) / 2;
    const CRect centred(owner.left + dx, owner.top + dy, owner.right - dx, owner.bottom - dy);
    MoveWindow(&centred, TRUE);
    if (m_pBkWnd) {
        const CRect background = BackgroundRect();
        m_pBkWnd->MoveWindow(&background, TRUE);
    }
}

BOOL CArcTipDialog::OnCommand(WPARAM wp, LPARAM lp) {
    if (HIWORD(wp) != BN_CLICKED) return CArcBitmapDialog::OnCommand(wp, lp);
    switch (LOWORD(wp)) {
    case IDC_TIP_FORCE_CLOSE:
        m_nResult = 1;
        OnOK();
        return TRUE;
    case IDOK:
        m_nResult = 2;
        OnOK();
        return TRUE;
    case IDCANCEL:
        m_nResult = 0;
        OnCancel();
        return TRUE;
    default:
        return CArcBitmapDialog::OnCommand(wp, lp);
    }
}

LRESULT CArcTipDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCHITTEST:
        return HTNOWHERE;
    case WM_MOVE:
        if (m_hBkWnd) ::ShowWindow(m_hBkWnd, SW_SHOW);
        return DefWindowProc(msg, wp, lp);
    case WM_SIZE: {
        const LRESULT result = DefWindowProc(msg, wp, lp);
        const CRect background = BackgroundRect();
        ::SendMessageW(m_hBkWnd, WM_PNGBK_DRAW, PNGBK_RESIZE, MAKELPARAM(background.Width(), background.Height()));
        return result;
    }
    default:
        return CArcBitmapDialog::WindowProc(msg, wp, lp);
    }
}

namespace {

struct TipOutcome {
    int modalResult;
    int buttonResult;
};

// The stand-alone way: the tip over its own background, centred on the screen
// or, with a notify window, over that window.
TipOutcome RunStandaloneTip(int type, const wchar_t* text, HWND notify, bool retry) {
    if (notify) ::PostMessageW(notify, WM_TIP_OPENED, 0, 0);
    auto* background = new CZrPngTipBKDlg(nullptr);
    TipOutcome outcome{-1, -1};
    {
        CArcTipDialog tip(background);
        if (retry) tip.SetRetry(TRUE);
        tip.SetMessage(type, text);
        background->Create(IDD_TIP_BACKGROUND, nullptr);
        background->ShowWindow(SW_SHOW);
        tip.LinkBackground(background);
        background->DrawPng(tip.m_nBkPngId, 490, 280);
        if (notify) tip.m_hOwner = notify;
        outcome.modalResult = static_cast<int>(tip.DoModal());
        outcome.buttonResult = tip.GetResult();
    }
    background->SendMessage(WM_CLOSE);
    delete background;
    if (notify) ::PostMessageW(notify, WM_TIP_CLOSED, 0, 0);
    return outcome;
}

} // namespace

int ShowTipMessage(int type, const wchar_t* text) { return ShowTipMessage(type, text, nullptr); }

int ShowTipMessage(int type, const wchar_t* text, HWND notify) {
    return RunStandaloneTip(type, text, notify, false).modalResult;
}

int ShowRetryTipMessage(const wchar_t* text) {
    return RunStandaloneTip(kTipRetryForm, text, nullptr, true).buttonResult;
}

int ShowOwnedTipMessage(CArcBitmapDialog* owner, int type, const wchar_t* text) {
    auto* background = new CZrPngTipBKDlg(nullptr);
    CArcTipDialog tip(background);
    tip.SetMessage(type, text);
    tip.AttachToOwner(owner, background); // the tip owns the background from here on
    return static_cast<int>(tip.DoModal());
}
