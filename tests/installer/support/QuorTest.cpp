#include "QuorTest.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace quortest {
namespace {

struct Case {
    const char* name;
    TestFunction function;
};

std::vector<Case>& Cases() {
    static std::vector<Case> cases;
    return cases;
}

bool g_currentFailed = false;

bool IsSelected(const char* name, int argc, char** argv) {
    if (argc <= 1) return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) return true;
    }
    return false;
}

} // namespace

Registrar::Registrar(const char* name, TestFunction function) { Cases().push_back({name, function}); }

void Fail(const char* file, int line, const std::string& message) {
    g_currentFailed = true;
    std::fprintf(stdout, "%s:%d: failure: %s\n", file, line, message.c_str());
    std::fflush(stdout);
}

bool CurrentCaseFailed() { return g_currentFailed; }

std::string Narrow(const std::wstring& text) {
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                            nullptr, nullptr);
    std::string result(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), result.data(), bytes, nullptr,
                          nullptr);
    return result;
}

int RunAll(int argc, char** argv) {
    int passed = 0;
    int failed = 0;
    for (const Case& testCase : Cases()) {
        if (!IsSelected(testCase.name, argc, argv)) continue;
        g_currentFailed = false;
        std::fprintf(stdout, "[ RUN  ] %s\n", testCase.name);
        std::fflush(stdout);
        const DWORD started = ::GetTickCount();
        testCase.function();
        std::fprintf(stdout, "[ %s ] %s (%lu ms)\n", g_currentFailed ? "FAIL" : " OK ", testCase.name,
                     static_cast<unsigned long>(::GetTickCount() - started));
        std::fflush(stdout);
        (g_currentFailed ? failed : passed) += 1;
    }
    std::fprintf(stdout, "%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed == 0 && passed > 0 ? 0 : 1;
}

} // namespace quortest
