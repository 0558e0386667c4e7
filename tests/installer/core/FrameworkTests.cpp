// Logic of the framework layer that needs no window.
#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/Afx.h"
#include "support/QuorTest.h"
#include "support/WineEnvironment.h"

QUOR_TEST(StringEditingOperations) {
    struct Case {
        const wchar_t* input;
        CString (*edit)(CString);
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"  a b \t", [](CString s) { return s.Trim(); }, L"a b"},
        {L"C:\\Tool...", [](CString s) { return s.TrimRight(L'.'); }, L"C:\\Tool"},
        {L"C:\\Tool\\\\\\", [](CString s) { return s.TrimRight(L"\\"); }, L"C:\\Tool"},
        {L"....", [](CString s) { return s.TrimRight(L'.'); }, L""},
        {L"C:\\\\a\\\\\\b", [](CString s) { s.Replace(L"\\\\", L"\\"); return s; }, L"C:\\a\\\\b"},
        {L"abcdef", [](CString s) { return s.Left(2); }, L"ab"},
        {L"abcdef", [](CString s) { return s.Right(4); }, L"cdef"},
        {L"abc", [](CString s) { return s.Right(9); }, L"abc"},
        {L"abcdef", [](CString s) { return s.Mid(3); }, L"def"},
        {L"abcdef", [](CString s) { return s.Mid(1, 2); }, L"bc"},
        {L"abc", [](CString s) { return s.Mid(7); }, L""},
    };
    for (const Case& c : cases) CHECK_EQ(c.edit(CString(c.input)).str(), std::wstring(c.expected));
}

QUOR_TEST(StringSearchAndFormat) {
    const CString path(L"D:\\Setup\\NimbQuorInstaller.exe");
    CHECK_EQ(path.Find(L'\\'), 2);
    CHECK_EQ(path.ReverseFind(L'\\'), 8);
    CHECK_EQ(path.Find(L"Quor"), 13);
    CHECK_EQ(path.Find(L"quor"), -1);
    CHECK_EQ(path.Find(L'\\', 3), 8);
    CString replaced(L"aXbXc");
    CHECK_EQ(replaced.Replace(L"X", L"--"), 2);
    CHECK_EQ(replaced.str(), std::wstring(L"a--b--c"));

    CString formatted;
    formatted.Format(L"File :'%s' does not exist!", L"D:\\Setup\\files\\nimb_quor.exe");
    CHECK_EQ(formatted.str(), std::wstring(L"File :'D:\\Setup\\files\\nimb_quor.exe' does not exist!"));
    const std::wstring longText(5000, L'z');
    formatted.Format(L"<%s>", longText.c_str());
    CHECK_EQ(formatted.GetLength(), 5002);
}

QUOR_TEST(ImageScaleRule) {
    struct Case {
        int dpi;
        double scale;
    };
    const Case cases[] = {{72, 0.75}, {96, 1.0}, {100, 1.0}, {105, 1.0}, {106, 106 / 96.0}, {120, 1.25}, {144, 1.5}};
    for (const Case& c : cases) CHECK_EQ(AfxImageScaleForDpi(c.dpi), c.scale);
}

QUOR_TEST(FileFindListsEveryMatch) {
    const std::wstring folder = MakeScratchFolder(L"quor-filefind");
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.log"}) {
        HANDLE file = ::CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ::CloseHandle(file);
    }
    CFileFind finder;
    REQUIRE(finder.FindFile((folder + L"\\*.txt").c_str()));
    int found = 0;
    BOOL more = TRUE;
    while (more) {
        more = finder.FindNextFile();
        CHECK(finder.GetFileName() == L"a.txt" || finder.GetFileName() == L"b.txt");
        ++found;
    }
    CHECK_EQ(found, 2);
    CHECK(!finder.FindFile((folder + L"\\missing.exe").c_str()));
}

namespace {

// Answers each WM_USER + 1 with its parameters, through the handler table.
class CEchoThread : public CWinThread {
    DECLARE_DYNCREATE(CEchoThread)
public:
    static HANDLE s_answered;
    static LPARAM s_lastParam;
    static DWORD s_handlerThread;

    BOOL InitInstance() override {
        OnThreadMessage(WM_USER + 1, [](WPARAM, LPARAM lp) {
            s_lastParam = lp;
            s_handlerThread = ::GetCurrentThreadId();
            ::SetEvent(s_answered);
        });
        return TRUE;
    }
};
IMPLEMENT_DYNCREATE(CEchoThread)
HANDLE CEchoThread::s_answered = nullptr;
LPARAM CEchoThread::s_lastParam = 0;
DWORD CEchoThread::s_handlerThread = 0;

} // namespace

QUOR_TEST(ThreadMessagesReachTheirHandlerOnTheWorker) {
    CEchoThread::s_answered = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(CEchoThread));
    REQUIRE(thread != nullptr);
    const DWORD workerId = thread->m_nThreadID;
    CHECK(thread->PostThreadMessage(WM_USER + 1, 0, 4711));
    CHECK_EQ(::WaitForSingleObject(CEchoThread::s_answered, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    CHECK_EQ(CEchoThread::s_lastParam, static_cast<LPARAM>(4711));
    CHECK_EQ(CEchoThread::s_handlerThread, workerId);
    ::PostThreadMessageW(workerId, WM_QUIT, 0, 0);
    ::CloseHandle(CEchoThread::s_answered);
}

namespace {

struct DelayedResume {
    HANDLE thread;
    DWORD delayMs;
};

DWORD WINAPI ResumeLater(void* request) {
    const auto* resume = static_cast<const DelayedResume*>(request);
    ::Sleep(resume->delayMs);
    ::ResumeThread(resume->thread);
    return 0;
}

} // namespace

QUOR_TEST(AThreadIsWaitedForUntilItsQueueExistsAndGivenUpAfterTheBound) {
    struct Case {
        const char* name;
        DWORD startsAfterMs; // 0: only after the post has given up
        DWORD waitMs;
        bool posted;
    };
    const Case cases[] = {
        {"slow start within the wait", 1500, 5000, true},
        {"no start within the wait", 0, 300, false},
    };
    for (const Case& c : cases) {
        std::printf("  case: %s\n", c.name);
        CEchoThread::s_answered = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
        CWinThread* thread =
            AfxBeginThread(RUNTIME_CLASS(CEchoThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        REQUIRE(thread != nullptr);
        HANDLE own = nullptr;
        ::DuplicateHandle(::GetCurrentProcess(), thread->m_hThread, ::GetCurrentProcess(), &own, 0, FALSE,
                          DUPLICATE_SAME_ACCESS);
        DelayedResume resume{own, c.startsAfterMs};
        HANDLE resumer = c.startsAfterMs ? ::CreateThread(nullptr, 0, ResumeLater, &resume, 0, nullptr) : nullptr;
        const DWORD workerId = thread->m_nThreadID;
        thread->m_dwQueueWaitMs = c.waitMs;
        CHECK_EQ(thread->PostThreadMessage(WM_USER + 1, 0, 17) != FALSE, c.posted);
        if (!c.startsAfterMs) ::ResumeThread(own);
        if (c.posted) {
            CHECK_EQ(::WaitForSingleObject(CEchoThread::s_answered, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
            ::PostThreadMessageW(workerId, WM_QUIT, 0, 0);
        } else {
            // Given up: it ends without running anything, its object with it.
            CHECK_EQ(::WaitForSingleObject(own, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
            CHECK_EQ(::WaitForSingleObject(CEchoThread::s_answered, 0), static_cast<DWORD>(WAIT_TIMEOUT));
        }
        if (resumer) {
            ::WaitForSingleObject(resumer, 5000);
            ::CloseHandle(resumer);
        }
        ::WaitForSingleObject(own, 5000);
        ::CloseHandle(own);
        ::CloseHandle(CEchoThread::s_answered);
    }
}
