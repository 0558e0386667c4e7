#include "AfxThread.h"

namespace {

CWinApp* g_app = nullptr;

} // namespace

CWinThread::~CWinThread() {
    if (m_hThread) ::CloseHandle(m_hThread);
}

DWORD WINAPI CWinThread::ThreadEntry(void* self) {
    auto* thread = static_cast<CWinThread*>(self);
    int exitCode = 0;
    if (thread->InitInstance()) {
        exitCode = thread->Run();
    } else {
        exitCode = thread->ExitInstance();
    }
    if (thread->m_bAutoDelete) delete thread;
    return static_cast<DWORD>(exitCode);
}

BOOL CWinThread::CreateThread(int priority, UINT stackSize, DWORD createFlags, LPSECURITY_ATTRIBUTES security) {
    m_hThread = ::CreateThread(security, stackSize, &CWinThread::ThreadEntry, this, createFlags | CREATE_SUSPENDED,
                               &m_nThreadID);
    if (!m_hThread) return FALSE;
    ::SetThreadPriority(m_hThread, priority);
    if (!(createFlags & CREATE_SUSPENDED)) ::ResumeThread(m_hThread);
    return TRUE;
}

BOOL CWinThread::PostThreadMessage(UINT msg, WPARAM wp, LPARAM lp) const {
    // The queue of a new thread may not exist yet; retry briefly until it does.
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (::PostThreadMessageW(m_nThreadID, msg, wp, lp)) return TRUE;
        if (::GetLastError() != ERROR_INVALID_THREAD_ID) return FALSE;
        ::Sleep(5);
    }
    return FALSE;
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
