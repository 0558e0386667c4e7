#include "AfxWnd.h"

namespace {

const wchar_t kObjectProperty[] = L"QuorAfxObject";

// Window being created by CWnd::CreateBound on this thread, and the hook that binds it.
thread_local CWnd* t_windowToBind = nullptr;
thread_local HHOOK t_creationHook = nullptr;

LRESULT CALLBACK BindOnCreate(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && t_windowToBind) {
        CWnd* target = t_windowToBind;
        t_windowToBind = nullptr;
        target->SubclassWindow(reinterpret_cast<HWND>(wp));
    }
    return ::CallNextHookEx(t_creationHook, code, wp, lp);
}

// Installs the creation hook for the lifetime of the guard.
class CreationHookGuard {
public:
    explicit CreationHookGuard(CWnd* target) : m_previousTarget(t_windowToBind), m_previousHook(t_creationHook) {
        t_windowToBind = target;
        t_creationHook = ::SetWindowsHookExW(WH_CBT, BindOnCreate, nullptr, ::GetCurrentThreadId());
    }
    ~CreationHookGuard() {
        if (t_creationHook) ::UnhookWindowsHookEx(t_creationHook);
        t_creationHook = m_previousHook;
        t_windowToBind = m_previousTarget;
    }
    CreationHookGuard(const CreationHookGuard&) = delete;
    CreationHookGuard& operator=(const CreationHookGuard&) = delete;

private:
    CWnd* m_previousTarget;
    HHOOK m_previousHook;
};

bool IsCtlColorMessage(UINT msg) { return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC; }

} // namespace

CWnd::~CWnd() {
    if (m_hWnd) UnsubclassWindow();
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    return hwnd ? static_cast<CWnd*>(::GetPropW(hwnd, kObjectProperty)) : nullptr;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!hwnd || m_hWnd || FromHandlePermanent(hwnd)) return FALSE;
    m_hWnd = hwnd;
    ::SetPropW(hwnd, kObjectProperty, this);
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    HWND hwnd = m_hWnd;
    if (hwnd && ::IsWindow(hwnd) && m_pfnSuper) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    Detach();
    return hwnd;
}

void CWnd::Detach() {
    if (m_hWnd && ::IsWindow(m_hWnd)) ::RemovePropW(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
}

HWND CWnd::CreateBound(const std::function<HWND()>& create) {
    CreationHookGuard hook(this);
    HWND hwnd = create();
    if (!hwnd && m_hWnd) Detach();
    return hwnd;
}

BOOL CWnd::WalkPreTranslateTree(MSG* msg) {
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (!wnd) return ::DefWindowProcW(hwnd, msg, wp, lp);
    if (msg != WM_NCDESTROY) return wnd->WindowProc(msg, wp, lp);
    const LRESULT result = wnd->WindowProc(msg, wp, lp);
    wnd->UnsubclassWindow();
    wnd->PostNcDestroy(); // may delete the object
    return result;
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, msg, wp, lp);
    return ::DefWindowProcW(m_hWnd, msg, wp, lp);
}

bool CWnd::ReflectToChild(HWND child, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    CWnd* wnd = (child && child != m_hWnd) ? FromHandlePermanent(child) : nullptr;
    return wnd && wnd->OnChildNotify(msg, wp, lp, result);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (msg == WM_COMMAND) {
        if (ReflectToChild(reinterpret_cast<HWND>(lp), msg, wp, lp, &result)) return result;
        if (OnCommand(wp, lp)) return 0;
    } else if (msg == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (item->CtlType != ODT_MENU && ReflectToChild(item->hwndItem, msg, wp, lp, &result)) return result;
    } else if (IsCtlColorMessage(msg)) {
        if (ReflectToChild(reinterpret_cast<HWND>(lp), msg, wp, lp, &result)) return result;
        return reinterpret_cast<LRESULT>(
            OnCtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), msg - WM_CTLCOLORMSGBOX));
    }
    return DefWindowProc(msg, wp, lp);
}

BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

HBRUSH CWnd::OnCtlColor(HDC dc, HWND control, UINT ctlColorType) {
    const UINT msg = WM_CTLCOLORMSGBOX + ctlColorType;
    return reinterpret_cast<HBRUSH>(
        DefWindowProc(msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
}

void CWnd::ScreenToClient(LPRECT rect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::ClientToScreen(LPRECT rect) const {
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
    ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    const DWORD style = GetStyle();
    const DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(changed));
    if (swpFlags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) {
    const DWORD style = GetExStyle();
    const DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(changed));
    if (swpFlags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

void CWnd::CenterWindow(HWND alternateOwner) {
    HWND centreOn = alternateOwner;
    if (!centreOn) centreOn = (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    CRect area;
    if (centreOn && ::IsWindowVisible(centreOn) && !::IsIconic(centreOn)) {
        ::GetWindowRect(centreOn, &area);
    } else {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    CRect own;
    GetWindowRect(&own);
    int x = area.left + (area.Width() - own.Width()) / 2;
    int y = area.top + (area.Height() - own.Height()) / 2;
    if (GetStyle() & WS_CHILD) {
        POINT origin{x, y};
        ::ScreenToClient(::GetParent(m_hWnd), &origin);
        x = origin.x;
        y = origin.y;
    }
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}
