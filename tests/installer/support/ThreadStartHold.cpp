#define QUOR_THREAD_START_HOLD_MODULE
#include "ThreadStartHold.h"

namespace {

volatile LONG g_armed = 0;
HANDLE g_release = nullptr; // manual reset: set while nothing is to be held
DWORD g_maxHoldMs = 0;
volatile LONG g_heldThread = 0;
volatile LONG g_heldThreadEnded = 0;

} // namespace

void HoldNextThreadStart(DWORD maxHoldMs) {
    ::ResetEvent(g_release);
    g_maxHoldMs = maxHoldMs;
    ::InterlockedExchange(&g_heldThread, 0);
    ::InterlockedExchange(&g_heldThreadEnded, 0);
    ::InterlockedExchange(&g_armed, 1);
}

void ReleaseHeldThread() {
    ::InterlockedExchange(&g_armed, 0);
    ::SetEvent(g_release);
}

DWORD HeldThreadId() { return static_cast<DWORD>(g_heldThread); }

BOOL HeldThreadEnded() { return g_heldThreadEnded != 0; }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        g_release = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);
        break;
    case DLL_THREAD_ATTACH:
        if (::InterlockedCompareExchange(&g_armed, 0, 1) == 1) {
            ::InterlockedExchange(&g_heldThread, static_cast<LONG>(::GetCurrentThreadId()));
            // The loader lock is held meanwhile: the hold must run out by itself.
            ::WaitForSingleObject(g_release, g_maxHoldMs);
        }
        break;
    case DLL_THREAD_DETACH:
        if (static_cast<DWORD>(g_heldThread) == ::GetCurrentThreadId()) ::InterlockedExchange(&g_heldThreadEnded, 1);
        break;
    default:
        break;
    }
    return TRUE;
}
