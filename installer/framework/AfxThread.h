// Threads with message loops, and the application object.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <map>

#include "AfxWnd.h"

class CWinThread;

// What dynamic creation needs to make an object of a class by its description.
struct CRuntimeClass {
    const char* m_lpszClassName;
    CWinThread* (*m_pfnCreateObject)();
};

#define DECLARE_DYNCREATE(ClassName) \
public:                              \
    static const CRuntimeClass class##ClassName;

#define IMPLEMENT_DYNCREATE(ClassName) \
    const CRuntimeClass ClassName::class##ClassName = {#ClassName, []() -> CWinThread* { return new ClassName; }};

#define RUNTIME_CLASS(ClassName) (&ClassName::class##ClassName)

// A thread with its own message loop. Messages posted to the thread itself
// (PostThreadMessage) go to the handlers registered with OnThreadMessage.
class CWinThread {
public:
    using ThreadMessageHandler = std::function<void(WPARAM, LPARAM)>;

    CWinThread() = default;
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // TRUE to run the message loop afterwards, FALSE to end the thread.
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }
    // The message loop; returns the exit code of the thread.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* msg);

    BOOL CreateThread(int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0, DWORD createFlags = 0,
                      LPSECURITY_ATTRIBUTES security = nullptr);
    // Posts to the thread. A thread just made by CreateThread may not have
    // its message queue yet: this waits until it has, up to
    // m_dwQueueWaitMs. FALSE when that time passed: the thread is then given
    // up, it ends as soon as it runs and deletes its object, which must not be
    // used any more.
    BOOL PostThreadMessage(UINT msg, WPARAM wp, LPARAM lp);

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    CWnd* m_pMainWnd = nullptr;
    // Whether the thread object deletes itself when the thread ends.
    BOOL m_bAutoDelete = TRUE;
    // How long PostThreadMessage waits for the queue of a starting thread.
    DWORD m_dwQueueWaitMs = 5000;

protected:
    void OnThreadMessage(UINT msg, ThreadMessageHandler handler) { m_threadHandlers[msg] = std::move(handler); }

private:
    // Where a thread made by CreateThread is in making its message queue.
    enum class QueueState { Starting, Ready, GivenUp };

    static DWORD WINAPI ThreadEntry(void* self);
    // On the new thread: makes its queue and tells the creator; false when
    // the creator has given the thread up.
    bool AnnounceQueue();
    bool WaitForQueue();
    bool DispatchThreadMessage(const MSG& msg);

    std::map<UINT, ThreadMessageHandler> m_threadHandlers;
    std::atomic<QueueState> m_queueState{QueueState::Ready};
    HANDLE m_hQueueReady = nullptr;
};

// Creates the thread object of a dynamically creatable class and starts it;
// null when the thread cannot be started.
CWinThread* AfxBeginThread(const CRuntimeClass* threadClass, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD createFlags = 0, LPSECURITY_ATTRIBUTES security = nullptr);

// The application: one per program, run by the framework's entry point.
class CWinApp : public CWinThread {
public:
    CWinApp();
    ~CWinApp() override;

    // Registers the program for a restart by the restart manager when
    // m_dwRestartManagerSupportFlags asks for it.
    BOOL InitInstance() override;
    int ExitInstance() override { return 0; }
    void OnHelp() {}

    // Bit 1: the restart manager may restart the program after closing it.
    DWORD m_dwRestartManagerSupportFlags = 0;
    HINSTANCE m_hInstance = nullptr;
};

CWinApp* AfxGetApp();

// Entry point of the framework: InitInstance, the message loop when it
// returned TRUE, then ExitInstance.
int AfxWinMain(HINSTANCE instance);
