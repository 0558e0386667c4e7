// CWnd: a C++ object bound to a window handle. Messages reach the object's
// virtual WindowProc; derived classes override it and pass what they do not
// handle to the base class. Notifications of child controls (WM_COMMAND,
// WM_DRAWITEM, WM_CTLCOLOR*) are first offered to the child's OnChildNotify
// ("reflection"); a child that reports them as not consumed lets the parent
// see them too.
#pragma once

#include <windows.h>

#include <functional>

#include "AfxString.h"
#include "AfxTypes.h"

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to hwnd, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Routes the window's messages through this object.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Runs create() so that the first window it creates is bound to this
    // object from its very first message on.
    HWND CreateBound(const std::function<HWND()>& create);

    // Walks from the message's window up through its parents and owners and
    // offers the message to each bound object; TRUE when one consumed it.
    static BOOL WalkPreTranslateTree(MSG* msg);

    virtual BOOL PreTranslateMessage(MSG*) { return FALSE; }

    // Window operations.
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }
    BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::PostMessageW(m_hWnd, msg, wp, lp); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    CWnd* GetParent() const { return FromHandlePermanent(::GetParent(m_hWnd)); }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPRECT rect) const;
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
    }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
    CString GetWindowText() const { return CString::FromWindowText(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    HICON SetIcon(HICON icon, BOOL big);
    // Centres over the given window, or over the owner (the desktop when there is none).
    void CenterWindow(HWND alternateOwner = nullptr);
    BOOL DestroyWindow();

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // The handling the window would get without this object.
    LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp);

    // Called once the handle is known and before any message of the
    // subclassed window is routed here.
    virtual void PreSubclassWindow() {}
    // Command from a menu, an accelerator or a child control; TRUE when handled.
    virtual BOOL OnCommand(WPARAM wp, LPARAM lp);
    // A notification reflected from the parent; TRUE when consumed.
    virtual BOOL OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    // WM_CTLCOLOR* not consumed by the child; the default gives the system's answer.
    virtual HBRUSH OnCtlColor(HDC dc, HWND control, UINT ctlColorType);
    // After the last message of the window; the handle is already released.
    virtual void PostNcDestroy() {}

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool ReflectToChild(HWND child, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    void Detach();

    WNDPROC m_pfnSuper = nullptr;
};
