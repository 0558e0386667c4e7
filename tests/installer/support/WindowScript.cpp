#include "WindowScript.h"

#include <gdiplus.h>

#include <cwchar>

#include "QuorTest.h"
#include "WineEnvironment.h"
#include "framework/AfxDialog.h"

namespace {

WindowScript* g_activeScript = nullptr;

// A 32-bit top-down DIB with a memory DC, released with the object.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_previous = ::SelectObject(m_dc, m_bitmap);
    }
    ~Canvas() {
        ::SelectObject(m_dc, m_previous);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return m_dc; }
    DWORD* bits() const { return m_bits; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    void Save(const std::wstring& name) const {
        const std::wstring folder = WindowsPathOf(EnvironmentValue(L"QUOR_SCREENSHOTS"));
        ::CreateDirectoryW(folder.c_str(), nullptr);
        // Opaque copy: the canvas' alpha byte is not meaningful after GDI drawing.
        for (int i = 0; i < m_width * m_height; ++i) m_bits[i] |= 0xFF000000u;
        Gdiplus::Bitmap image(m_width, m_height, m_width * 4, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(m_bits));
        const CLSID pngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
        image.Save((folder + L"\\" + name + L".png").c_str(), &pngEncoder, nullptr);
    }

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    DWORD* m_bits = nullptr;
};

void CopyWindowInto(HWND window, HDC target, int x, int y, int width, int height) {
    HDC source = ::GetDC(window);
    ::BitBlt(target, x, y, width, height, source, 0, 0, SRCCOPY);
    ::ReleaseDC(window, source);
}

} // namespace

WindowScript::WindowScript(std::vector<std::function<void()>> steps, UINT intervalMs) {
    for (auto& step : steps) m_steps.push_back(ScriptStep{nullptr, std::move(step), ""});
    g_activeScript = this;
    m_timer = ::SetTimer(nullptr, 0, intervalMs, &WindowScript::Tick);
}

WindowScript::WindowScript(std::vector<ScriptStep> steps, UINT intervalMs, DWORD stepTimeoutMs)
    : m_steps(std::move(steps)), m_stepTimeoutMs(stepTimeoutMs), m_waitingSince(::GetTickCount()) {
    g_activeScript = this;
    m_timer = ::SetTimer(nullptr, 0, intervalMs, &WindowScript::Tick);
}

WindowScript::~WindowScript() {
    if (m_timer) ::KillTimer(nullptr, m_timer);
    if (g_activeScript == this) g_activeScript = nullptr;
}

void CALLBACK WindowScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_activeScript) g_activeScript->RunDueStep();
}

void WindowScript::RunDueStep() {
    const bool overdue = m_stepTimeoutMs != 0 && ::GetTickCount() - m_waitingSince >= m_stepTimeoutMs;
    if (Finished()) {
        // Ticks after the last step come from a modal loop nobody is going to end.
        if (!overdue || m_stopped) return;
        quortest::Fail(__FILE__, __LINE__, "a dialog is still open after the last step");
        m_stopped = true;
        EndEveryDialog();
        return;
    }
    ScriptStep& step = m_steps[m_next];
    if (step.ready && !step.ready()) {
        if (!overdue) return;
        quortest::Fail(__FILE__, __LINE__, std::string("timed out waiting for ") + step.waitingFor);
        m_next = m_steps.size();
        m_stopped = true;
        EndEveryDialog();
        return;
    }
    ++m_next; // before acting: the action may run a nested modal loop with more ticks
    step.act();
    m_waitingSince = ::GetTickCount();
}

void PumpMessages(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
}

void PostClick(HWND window) {
    RECT client;
    ::GetClientRect(window, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    ::PostMessageW(window, WM_LBUTTONUP, 0, middle);
}

namespace {

struct DialogSearch {
    int id;
    HWND exclude;
    HWND found;
};

BOOL CALLBACK TestForControl(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    if (window == search->exclude || !::GetDlgItem(window, search->id)) return TRUE;
    search->found = window;
    return FALSE;
}

struct ProcessWindowSearch {
    int id;
    DWORD processId;
    HWND found;
};

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    return process;
}

BOOL CALLBACK TestProcessWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ProcessWindowSearch*>(data);
    if (ProcessOf(window) != search->processId || !::IsWindowVisible(window) || !::GetDlgItem(window, search->id)) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

BOOL CALLBACK EndDialogOfWindow(HWND window, LPARAM) {
    if (ProcessOf(window) != ::GetCurrentProcessId()) return TRUE; // the object pointer means nothing elsewhere
    if (auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(window))) dialog->EndDialog(IDCANCEL);
    return TRUE;
}

} // namespace

HWND FindThreadDialogWithControl(int controlId, HWND exclude) {
    DialogSearch search{controlId, exclude, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), TestForControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindProcessWindowWithControl(int controlId, DWORD processId) {
    ProcessWindowSearch search{controlId, processId ? processId : ::GetCurrentProcessId(), nullptr};
    ::EnumWindows(TestProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void EndEveryDialog() { ::EnumWindows(EndDialogOfWindow, 0); }

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start >= timeoutMs) return false;
        PumpMessages(20);
    }
    return true;
}

int TestDpi() {
    const std::wstring dpi = EnvironmentValue(L"QUOR_TEST_DPI");
    return dpi.empty() ? 96 : _wtoi(dpi.c_str());
}

Capture CaptureWindow(HWND window) {
    RECT client;
    ::GetClientRect(window, &client);
    Canvas canvas(client.right, client.bottom);
    CopyWindowInto(window, canvas.dc(), 0, 0, client.right, client.bottom);
    Capture capture;
    capture.width = client.right;
    capture.height = client.bottom;
    capture.pixels.assign(canvas.bits(), canvas.bits() + client.right * client.bottom);
    for (DWORD& pixel : capture.pixels) pixel &= 0x00FFFFFFu;
    return capture;
}

void SaveSkinnedScreenshot(const std::wstring& name, HWND background, HDC backgroundSurface, HWND page, COLORREF key) {
    RECT outer;
    RECT inner;
    ::GetWindowRect(background, &outer);
    ::GetWindowRect(page, &inner);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    Canvas canvas(width, height);
    // A desktop of two tones, so the soft shadow and the panel edges show.
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) canvas.bits()[y * width + x] = ((x / 24 + y / 24) % 2) ? 0x5F7391 : 0x6A7E9C;
    }
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(canvas.dc(), 0, 0, width, height, backgroundSurface, 0, 0, width, height, blend);
    const int pageWidth = inner.right - inner.left;
    const int pageHeight = inner.bottom - inner.top;
    Canvas pageCanvas(pageWidth, pageHeight);
    CopyWindowInto(page, pageCanvas.dc(), 0, 0, pageWidth, pageHeight);
    ::TransparentBlt(canvas.dc(), inner.left - outer.left, inner.top - outer.top, pageWidth, pageHeight,
                     pageCanvas.dc(), 0, 0, pageWidth, pageHeight, key);
    canvas.Save(name);
}

void SaveWindowScreenshot(const std::wstring& name, HWND window) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    Canvas canvas(rect.right - rect.left, rect.bottom - rect.top);
    HDC source = ::GetWindowDC(window);
    ::BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), source, 0, 0, SRCCOPY);
    ::ReleaseDC(window, source);
    canvas.Save(name);
}
