#include "AfxThread.h"

namespace {

CWinApp* g_app = nullptr;

} // namespace

CWinThread::~CWinThread() {
    if (m_hThread) ::CloseHandle(m_hThread);
    if (m_hQueueReady) ::CloseHandle(m_hQueueReady);
}

DWORD WINAPI CWinThread::ThreadEntry(void* self) {
    auto* thread = static_cast<CWinThread*>(self);
    if (!thread->AnnounceQueue()) {
        // Given up by its creator, the object belongs to the thread alone.
        delete thread;
        return 1;
    }
    int exitCode = 0;
    if (thread->InitInstance()) {
        exitCode = thread->Run();
    } else {
        exitCode = thread->ExitInstance();
    }
    if (thread->m_bAutoDelete) delete thread;
    return static_cast<DWORD>(exitCode);
}

bool CWinThread::AnnounceQueue() {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // the first call makes the queue
    QueueState starting = QueueState::Starting;
    if (!m_queueState.compare_exchange_strong(starting, QueueState::Ready)) return false;
    ::SetEvent(m_hQueueReady);
    return true;
}

BOOL CWinThread::CreateThread(int priority, UINT stackSize, DWORD createFlags, LPSECURITY_ATTRIBUTES security) {
    if (!m_hQueueReady) m_hQueueReady = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!m_hQueueReady) return FALSE;
    ::ResetEvent(m_hQueueReady);
    m_queueState = QueueState::Starting;
    m_hThread = ::CreateThread(security, stackSize, &CWinThread::ThreadEntry, this, createFlags | CREATE_SUSPENDED,
                               &m_nThreadID);
    if (!m_hThread) {
        m_queueState = QueueState::Ready;
        return FALSE;
    }
    ::SetThreadPriority(m_hThread, priority);
    if (!(createFlags & CREATE_SUSPENDED)) ::ResumeThread(m_hThread);
    return TRUE;
}

bool CWinThread::WaitForQueue() {
    if (m_queueState == QueueState::Ready) return true;
    if (::WaitForSingleObject(m_hQueueReady, m_dwQueueWaitMs) == WAIT_OBJECT_0) return true;
    // The thread may have got its queue just now; if not, it never runs anything.
    QueueState starting = QueueState::Starting;
    return !m_queueState.compare_exchange_strong(starting, QueueState::GivenUp);
}

BOOL CWinThread::PostThreadMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (!WaitForQueue()) return FALSE; // the object is the thread's now
    return ::PostThreadMessageW(m_nThreadID, msg, wp, lp);
}

bool CWinThread::DispatchThreadMessage(const MSG& msg) {
    if (msg.hwnd) return false;
    const auto handler = m_threadHandlers.find(msg.message);
    if (handler == m_threadHandlers.end()) return false;
    handler->second(msg.wParam, msg.lParam);
    return true;
}

BOOL CWinThread::PreTranslateMessage(MSG* msg) {
    if (DispatchThreadMessage(*msg)) return TRUE;
    return CWnd::WalkPreTranslateTree(msg);
}

int CWinThread::Run() {
    MSG msg;
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return ExitInstance();
}

CWinThread* AfxBeginThread(const CRuntimeClass* threadClass, int priority, UINT stackSize, DWORD createFlags,
                           LPSECURITY_ATTRIBUTES security) {
    if (!threadClass || !threadClass->m_pfnCreateObject) return nullptr;
    CWinThread* thread = threadClass->m_pfnCreateObject();
    if (!thread) return nullptr;
    if (!thread->CreateThread(priority, stackSize, createFlags, security)) {
        delete thread;
        return nullptr;
    }
    return thread;
}

CWinApp::CWinApp() {
    g_app = this;
    m_bAutoDelete = FALSE;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
    if (m_dwRestartManagerSupportFlags & 1) ::RegisterApplicationRestart(nullptr, 0);
    return TRUE;
}

CWinApp* AfxGetApp() { return g_app; }

int AfxWinMain(HINSTANCE instance) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = instance;
    app->m_nThreadID = ::GetCurrentThreadId();
    if (app->InitInstance()) return app->Run();
    return app->ExitInstance();
}
