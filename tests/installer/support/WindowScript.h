// Helpers for tests that drive real windows: steps run from a timer inside
// whatever modal loop is running, input posted as the user's would be, and
// screenshots saved as PNG.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// One step of a script: act once ready (at once when ready is empty).
struct ScriptStep {
    std::function<bool()> ready;
    std::function<void()> act;
    const char* waitingFor = "";
};

// Runs the steps on timer ticks of this thread, also inside nested modal
// loops; a step may itself run a modal loop. A step that is not ready within
// the time limit fails the running case, and every dialog of the process is
// ended so the case can finish; so does a dialog still open that long after
// the last step. Stops the timer when destroyed.
class WindowScript {
public:
    explicit WindowScript(std::vector<std::function<void()>> steps, UINT intervalMs = 80);
    explicit WindowScript(std::vector<ScriptStep> steps, UINT intervalMs = 40, DWORD stepTimeoutMs = 30000);
    ~WindowScript();
    WindowScript(const WindowScript&) = delete;
    WindowScript& operator=(const WindowScript&) = delete;

    bool Finished() const { return m_next >= m_steps.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void RunDueStep();

    std::vector<ScriptStep> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
    DWORD m_stepTimeoutMs = 0;
    DWORD m_waitingSince = 0;
    bool m_stopped = false;
};

// Ends every dialog of this process with IDCANCEL, whatever thread runs it.
void EndEveryDialog();

// Handles the messages waiting on this thread for about the given time.
void PumpMessages(DWORD milliseconds);
// A left click posted to the middle of a window.
void PostClick(HWND window);
// The visible dialog of this thread that has a child with the given id, other than exclude.
HWND FindThreadDialogWithControl(int controlId, HWND exclude = nullptr);
// The visible top-level window of a process (0: this one) that has a child with the given id.
HWND FindProcessWindowWithControl(int controlId, DWORD processId = 0);
// Polls condition, handling this thread's messages meanwhile; false after the time limit.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 20000);
// DPI of this run, as the harness set it.
int TestDpi();

// A window's pixels as the screen shows them, 0x00RRGGBB, row by row.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool operator==(const Capture& o) const { return width == o.width && height == o.height && pixels == o.pixels; }
};
Capture CaptureWindow(HWND window);

// Saves the pair of a layered background and its colour-keyed page, composed
// over a desktop colour as Windows would show them, under the screenshot folder.
void SaveSkinnedScreenshot(const std::wstring& name, HWND background, HDC backgroundSurface, HWND page,
                           COLORREF key);
// Saves a plain window as it is drawn.
void SaveWindowScreenshot(const std::wstring& name, HWND window);
