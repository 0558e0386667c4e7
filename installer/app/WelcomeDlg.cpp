#include "WelcomeDlg.h"

#include <ole2.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "InstallRules.h"
#include "InstallThread.h"
#include "InstallerTexts.h"
#include "framework/AfxResources.h"
#include "resources/ResourceIds.h"
#include "ui/Dpi.h"
#include "ui/TipDialog.h"
#include "ui/WindowMessages.h"

namespace {

const wchar_t kLicenceDocument[] = L"\\Corvane Software License Agreement.html";
const wchar_t kPrivacyDocument[] = L"\\Nimbra Privacy Policy.html";

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kInstallIdleText = RGB(207, 214, 238);
const COLORREF kExitText = RGB(78, 89, 105);
const COLORREF kExitPressedText = RGB(51, 51, 51);
const COLORREF kExitHoverText = RGB(89, 90, 90);
const COLORREF kLinkText = RGB(22, 93, 255);
const COLORREF kLinkUnderline = RGB(0, 0, 255);
const COLORREF kPathFrame = RGB(197, 197, 197);
constexpr int kButtonFontSize = 21;
constexpr UINT kBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_NEWDIALOGSTYLE;

// OLE for the folder picker, for the lifetime of the object.
class OleSession {
public:
    OleSession() : m_bInitialised(SUCCEEDED(::OleInitialize(nullptr))) {}
    ~OleSession() {
        if (m_bInitialised) ::OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool m_bInitialised;
};

// An item list handed out by the shell, freed with the object.
class PickedFolderItem {
public:
    explicit PickedFolderItem(PIDLIST_ABSOLUTE item) : m_item(item) {}
    ~PickedFolderItem() { ::CoTaskMemFree(m_item); }
    PickedFolderItem(const PickedFolderItem&) = delete;
    PickedFolderItem& operator=(const PickedFolderItem&) = delete;

    explicit operator bool() const { return m_item != nullptr; }
    bool GetPath(wchar_t (&path)[MAX_PATH]) const { return ::SHGetPathFromIDListW(m_item, path) != FALSE; }

private:
    PIDLIST_ABSOLUTE m_item;
};

// Starts the picker in its data folder and shows the selected folder as status text.
int CALLBACK FolderPickerCallback(HWND picker, UINT msg, LPARAM lp, LPARAM startFolder) {
    if (msg == BFFM_INITIALIZED) {
        ::SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, startFolder);
        ::SendMessageW(picker, BFFM_SETSTATUSTEXTW, 0, startFolder);
    } else if (msg == BFFM_SELCHANGED) {
        wchar_t path[MAX_PATH];
        if (::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lp), path)) {
            ::SendMessageW(picker, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
        }
    }
    return 0;
}

// A static control of the agreement sentence, with its rectangle in page coordinates.
struct SentencePiece {
    HWND window;
    int id;
    CRect rect;
};

bool IsStatic(HWND window) {
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    return _wcsicmp(className, L"Static") == 0;
}

// The visible static controls level with the box (screen rectangle), left to right.
std::vector<SentencePiece> PiecesBeside(HWND page, const CRect& box) {
    std::vector<SentencePiece> pieces;
    for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        CRect rect;
        ::GetWindowRect(child, &rect);
        const int middle = (rect.top + rect.bottom) / 2;
        const bool shown = (::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0; // the page itself is not shown yet
        if (!IsStatic(child) || !shown || middle < box.top || middle > box.bottom ||
            rect.left < box.right) {
            continue;
        }
        ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
        pieces.push_back(SentencePiece{child, ::GetDlgCtrlID(child), rect});
    }
    std::sort(pieces.begin(), pieces.end(),
              [](const SentencePiece& a, const SentencePiece& b) { return a.rect.left < b.rect.left; });
    return pieces;
}

} // namespace

CNimbWelcomeDlg::CNimbWelcomeDlg(CWnd* parent) : CArcBitmapDialog(IDD_WELCOME_PAGE, parent) {
    m_nBkPngId = IDP_WELCOME_BACKGROUND;
}

void CNimbWelcomeDlg::DoDataExchange(CDataExchange* dx) {
    CArcBitmapDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_INSTALL_BUTTON, m_btnInstall);
    DDX_Control(dx, IDC_SECOND_SHADE_BUTTON, m_btnSecondShade);
    DDX_Control(dx, IDC_BROWSE_BUTTON, m_btnBrowse);
    DDX_Text(dx, IDC_PATH_EDIT, m_strPath);
    DDX_Control(dx, IDC_PATH_EDIT, m_editPath);
    DDX_Control(dx, IDCANCEL, m_btnExit);
    DDX_Control(dx, IDC_LICENCE_LINK, m_linkLicence);
    DDX_Control(dx, IDC_PRIVACY_LINK, m_linkPrivacy);
    DDX_Control(dx, IDC_AGREEMENT_CHECK, m_checkAgreement);
    DDX_Control(dx, IDC_TEXT_LABEL, m_labelText);
}

BOOL CNimbWelcomeDlg::OnInitDialog() {
    CArcBitmapDialog::OnInitDialog();
    m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_APPLICATION_ICON));
    SetIcon(m_hIcon, FALSE);
    SetUpButtons();
    m_strPath = g_strInstallPath;
    UpdateData(FALSE);
    SetUpLabels();
    FlowAgreementSentence();
    SetUpAgreementBox();
    ::ShowWindow(m_hBkWnd, SW_SHOW);
    m_strInstallerFolder = InstallerFolder();
    return TRUE;
}

void CNimbWelcomeDlg::SetUpButtons() {
    m_btnBrowse.SetPngImages(IDP_BROWSE_NORMAL, IDP_BROWSE_PRESSED, IDP_BROWSE_HOVER, 0);

    m_btnInstall.SetCaption(InstallerText(IDS_INSTALL));
    m_btnInstall.SetFontSize(kButtonFontSize);
    if (g_bLicenseAccepted) {
        ShowInstallAgreed();
    } else {
        ShowInstallNotAgreed();
    }

    m_btnExit.SetPngImages(IDP_EXIT_NORMAL, IDP_EXIT_PRESSED, IDP_EXIT_HOVER, 0);
    m_btnExit.SetCaption(InstallerText(IDS_EXIT));
    m_btnExit.SetTextColors(kExitText, kExitPressedText, kExitHoverText);
    m_btnExit.SetFontSize(kButtonFontSize);
}

void CNimbWelcomeDlg::SetUpLabels() {
    m_labelText.SetTextColor(RGB(0, 0, 0));
    m_labelText.SetWordWrap(false);
    for (CLabelEx* link : {&m_linkLicence, &m_linkPrivacy}) {
        link->SetTextColor(kLinkText);
        link->SetLinkCursor(::LoadCursorW(nullptr, IDC_HAND));
        link->SetUnderline(TRUE, kLinkUnderline);
        link->SetWordWrap(false);
    }
}

void CNimbWelcomeDlg::FlowAgreementSentence() {
    // The sentence beside the box is made of plain texts and the two links;
    // each piece takes the size of its text, so the sentence reads as one line
    // level with the box in any font and language.
    CRect box;
    m_checkAgreement.GetWindowRect(&box);
    std::vector<SentencePiece> pieces = PiecesBeside(m_hWnd, box);
    if (pieces.empty()) return;
    ScreenToClient(&box);
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ previousFont = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    SIZE space{};
    ::GetTextExtentPoint32W(dc, L" ", 1, &space);
    // One spare row below the text for the links' underline.
    const int height = metrics.tmHeight + 1;
    const int top = box.top + box.Height() / 2 - height / 2;
    int x = pieces.front().rect.left;
    for (const SentencePiece& piece : pieces) {
        const CString text = CString::FromWindowText(piece.window);
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, text, text.GetLength(), &extent);
        // A link draws its text that far into its rectangle.
        const int lead = (piece.id == IDC_LICENCE_LINK || piece.id == IDC_PRIVACY_LINK) ? ScaleByDpi(4) : 0;
        ::MoveWindow(piece.window, x - lead, top, lead + extent.cx + 1, height, TRUE);
        x += extent.cx + space.cx;
    }
    ::SelectObject(dc, previousFont);
    ::ReleaseDC(m_hWnd, dc);
}

void CNimbWelcomeDlg::SetUpAgreementBox() {
    m_checkAgreement.SetIcons(IDI_CHECK_TICKED, IDI_CHECK_UNTICKED);
    m_checkAgreement.SetCheck(g_bLicenseAccepted, TRUE);
    // A square of the icon's size, centred where the template puts the box.
    CRect box;
    m_checkAgreement.GetWindowRect(&box);
    ScreenToClient(&box);
    const int side = ScaleByDpi(16);
    const int left = box.left + box.Width() / 2 - side / 2;
    const int top = box.top + box.Height() / 2 - side / 2;
    const CRect square(left, top, left + side, top + side);
    m_checkAgreement.MoveWindow(&square);
}

void CNimbWelcomeDlg::ShowInstallNotAgreed() {
    m_btnInstall.SetPngImages(IDP_INSTALL_DISABLED, 0, 0, 0);
    m_btnInstall.SetTextColors(kInstallIdleText, ::GetSysColor(COLOR_WINDOWFRAME));
}

void CNimbWelcomeDlg::ShowInstallAgreed() {
    m_btnInstall.SetPngImages(IDP_INSTALL_NORMAL, IDP_INSTALL_PRESSED, IDP_INSTALL_HOVER, IDP_INSTALL_DISABLED);
    m_btnInstall.SetTextColor(kWhite);
}

void CNimbWelcomeDlg::EnterInstallingState() {
    m_bInstalling = true;
    m_btnInstall.SetCaption(InstallerText(IDS_INSTALLING));
    ShowInstallNotAgreed();
    m_btnInstall.m_bRepaint = true;
    m_btnInstall.Invalidate(TRUE);
    // One worker at a time, and the install path stays as it is until it reports.
    for (CWnd* control : {static_cast<CWnd*>(&m_btnInstall), static_cast<CWnd*>(&m_btnBrowse),
                          static_cast<CWnd*>(&m_btnExit), static_cast<CWnd*>(&m_checkAgreement)}) {
        control->EnableWindow(FALSE);
    }
}

LRESULT CNimbWelcomeDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        PaintPathFrame();
        return 0;
    case WM_INSTALL_SUCCEEDED:
        EndDialog(IDC_INSTALL_BUTTON);
        return 0;
    case WM_INSTALL_FAILED:
        EndDialog(IDCANCEL);
        return 0;
    case WM_TIP_OPENED:
        m_bLocked = true;
        return 0;
    case WM_TIP_CLOSED:
        m_bLocked = false;
        return 0;
    default:
        return CArcBitmapDialog::WindowProc(msg, wp, lp);
    }
}

void CNimbWelcomeDlg::PaintPathFrame() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    CRect frame;
    m_editPath.GetWindowRect(&frame);
    ScreenToClient(&frame);
    const int margin = ScaleByDpi(2);
    frame.InflateRect(margin, 2 * margin, ScaleByDpi(25), margin); // room for the Browse button on the right
    HPEN pen = ::CreatePen(PS_SOLID, 1, kPathFrame);
    HGDIOBJ previousPen = ::SelectObject(dc, pen);
    ::RoundRect(dc, frame.left, frame.top, frame.right, frame.bottom, 8, 8);
    ::SelectObject(dc, previousPen);
    ::DeleteObject(pen);
    ::EndPaint(m_hWnd, &paint);
}

BOOL CNimbWelcomeDlg::OnCommand(WPARAM wp, LPARAM lp) {
    if (HIWORD(wp) != BN_CLICKED) return CArcBitmapDialog::OnCommand(wp, lp);
    const int id = LOWORD(wp);
    // While the payload runs, nothing may change the install path or end the page.
    if (m_bInstalling && id != IDC_LICENCE_LINK && id != IDC_PRIVACY_LINK) return TRUE;
    switch (id) {
    case IDC_AGREEMENT_CHECK:
        ToggleAgreement();
        return TRUE;
    case IDC_LICENCE_LINK:
        OpenDocument(kLicenceDocument);
        return TRUE;
    case IDC_PRIVACY_LINK:
        OpenDocument(kPrivacyDocument);
        return TRUE;
    case IDC_BROWSE_BUTTON:
        PickFolder();
        return TRUE;
    case IDC_PATH_CAPTION:
        CaretToPath();
        return TRUE;
    case IDC_INSTALL_BUTTON:
        Install();
        return TRUE;
    case IDCANCEL:
        ConfirmExit();
        return TRUE;
    default:
        return CArcBitmapDialog::OnCommand(wp, lp);
    }
}

void CNimbWelcomeDlg::ToggleAgreement() {
    if (g_bLicenseAccepted == 1) {
        g_bLicenseAccepted = 0;
        ShowInstallNotAgreed();
        m_btnInstall.m_bRepaint = true;
    } else {
        g_bLicenseAccepted = 1;
        ShowInstallAgreed();
    }
    m_btnInstall.Invalidate(TRUE);
}

void CNimbWelcomeDlg::OpenDocument(const wchar_t* fileName) const {
    const CString document = m_strInstallerFolder + fileName;
    ::ShellExecuteW(m_hWnd, L"open", document, nullptr, nullptr, SW_SHOWNORMAL);
}

void CNimbWelcomeDlg::FocusPathEdit() {
    m_editPath.ShowWindow(SW_SHOW);
    m_editPath.SetFocus();
    const int end = m_editPath.GetWindowText().GetLength();
    m_editPath.SetSel(end, end);
}

void CNimbWelcomeDlg::PickFolder() {
    UpdateData(TRUE);
    if (m_strBrowseStart.IsEmpty()) m_strBrowseStart = m_strPath;
    const CString title = InstallerText(IDS_PICK_FOLDER_TITLE);
    BROWSEINFOW browse{};
    browse.hwndOwner = m_hWnd;
    browse.lpszTitle = title;
    browse.ulFlags = kBrowseFlags;
    browse.lpfn = FolderPickerCallback;
    browse.lParam = reinterpret_cast<LPARAM>(m_strBrowseStart.GetString());
    const OleSession ole;
    const PickedFolderItem chosen(::SHBrowseForFolderW(&browse));
    wchar_t path[MAX_PATH];
    if (!chosen || !chosen.GetPath(path)) return;
    m_strBrowseStart = path;
    m_strPath = FolderFromPicker(path);
    UpdateData(FALSE);
    FocusPathEdit();
}

void CNimbWelcomeDlg::CaretToPath() {
    UpdateData(TRUE);
    m_strPath.TrimRight();
    g_strInstallPath = m_strPath;
    FocusPathEdit();
}

void CNimbWelcomeDlg::Install() {
    UpdateData(TRUE);
    if (!g_bLicenseAccepted) {
        ShowPageTip(kTipNotice, IDS_NOT_AGREED);
        return;
    }
    m_strPath.TrimRight();
    m_strPath.TrimRight(L'.');
    g_strInstallPath = m_strPath;
    if (!ValidateInstallPath()) {
        FocusPathEdit();
        return;
    }
    const CString drive = g_strInstallPath.Left(g_strInstallPath.Find(L'\\'));
    const int space = ::PathIsNetworkPathW(g_strInstallPath) ? 1 : CheckDiskSpace(drive, m_hWnd);
    if (space != 1) return;
    EnterInstallingState();
    StartWorker();
}

void CNimbWelcomeDlg::StartWorker() {
    m_pInstallThread = static_cast<CInstallThread*>(
        AfxBeginThread(RUNTIME_CLASS(CInstallThread), THREAD_PRIORITY_NORMAL, 0, 0, nullptr));
    if (m_pInstallThread &&
        m_pInstallThread->PostThreadMessage(WM_INSTALL_START, 0, reinterpret_cast<LPARAM>(m_hWnd))) {
        return;
    }
    // Without a worker nothing would ever end the installing state. A worker
    // that did not get going in time ends by itself and takes its object along.
    m_pInstallThread = nullptr;
    ShowTipMessage(kTipQuestion, InstallerText(IDS_INSTALL_FAILED), m_hWnd);
    EndDialog(IDCANCEL);
}

int CNimbWelcomeDlg::ValidateInstallPath() {
    NormaliseInstallPath(g_strInstallPath);
    // The edit shows the folder that will be used.
    if (g_strInstallPath != m_editPath.GetWindowText()) {
        m_strPath = g_strInstallPath;
        UpdateData(FALSE);
    }
    CheckVerdict verdict = CheckInstallPathShape(g_strInstallPath);
    if (verdict.accepted && !PayloadCommandLineFits(PayloadPathFor(m_strInstallerFolder), g_strInstallPath)) {
        verdict = CheckVerdict{false, IDS_PATH_ERROR, kTipNotice};
    }
    if (verdict.accepted) return 1;
    ShowPageTip(verdict.tipType, verdict.textId);
    return 0;
}

void CNimbWelcomeDlg::ConfirmExit() {
    if (ShowPageTip(kTipQuestion, IDS_CONFIRM_EXIT) == IDOK) CArcBitmapDialog::OnCancel();
}

int CNimbWelcomeDlg::ShowPageTip(int type, int textId) {
    return ShowOwnedTipMessage(this, type, InstallerText(textId));
}

int CheckDiskSpace(const CString& directory, HWND notify) {
    ULARGE_INTEGER available{};
    // An empty drive part (a path such as \Tools) lies on the current drive,
    // which the system measures when given no directory.
    const wchar_t* measured = directory.IsEmpty() ? nullptr : directory.GetString();
    const bool queried = ::GetDiskFreeSpaceExW(measured, &available, nullptr, nullptr) == 1;
    const DiskSpaceVerdict verdict = JudgeDiskSpace(queried, available.QuadPart);
    if (verdict.textId) ShowTipMessage(kTipNotice, InstallerText(verdict.textId), notify);
    return verdict.result;
}
