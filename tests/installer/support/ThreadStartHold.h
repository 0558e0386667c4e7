// A module that holds up the start of the next thread of the process, as a
// machine under heavy load would: the thread waits in its attach notification,
// before its own code runs, until released or until the hold runs out.
#pragma once

#include <windows.h>

#ifdef QUOR_THREAD_START_HOLD_MODULE
#define QUOR_THREAD_START_HOLD_API extern "C" __declspec(dllexport)
#else
#define QUOR_THREAD_START_HOLD_API extern "C" __declspec(dllimport)
#endif

// The next thread to start waits up to maxHoldMs before it runs.
QUOR_THREAD_START_HOLD_API void HoldNextThreadStart(DWORD maxHoldMs);
// Lets a held thread go on at once.
QUOR_THREAD_START_HOLD_API void ReleaseHeldThread();
// Id of the thread held since the last HoldNextThreadStart, or 0.
QUOR_THREAD_START_HOLD_API DWORD HeldThreadId();
// Whether that thread has ended.
QUOR_THREAD_START_HOLD_API BOOL HeldThreadEnded();
