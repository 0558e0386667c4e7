// A small test runner for the Windows test programs: named cases in a table,
// checks that report file:line, a closing "N passed, N failed" line and a
// non-zero exit code when a case failed. Run a program with case names as
// arguments to run only those.
#pragma once

#include <sstream>
#include <string>

namespace quortest {

using TestFunction = void (*)();

struct Registrar {
    Registrar(const char* name, TestFunction function);
};

// Records a failed check of the running case.
void Fail(const char* file, int line, const std::string& message);
bool CurrentCaseFailed();
int RunAll(int argc, char** argv);

std::string Narrow(const std::wstring& text);

template <typename T>
std::string Describe(const T& value) {
    std::ostringstream out;
    out << value;
    return out.str();
}
inline std::string Describe(const std::wstring& value) { return "L\"" + Narrow(value) + "\""; }
inline std::string Describe(const wchar_t* value) { return value ? Describe(std::wstring(value)) : "null"; }
inline std::string Describe(wchar_t* value) { return Describe(static_cast<const wchar_t*>(value)); }

} // namespace quortest

#define QUOR_TEST(name)                                                  \
    static void name();                                                  \
    static const quortest::Registrar name##_registrar(#name, &name);     \
    static void name()

#define CHECK(condition)                                                        \
    do {                                                                        \
        if (!(condition)) quortest::Fail(__FILE__, __LINE__, "CHECK(" #condition ")"); \
    } while (0)

#define CHECK_EQ(actual, expected)                                                               \
    do {                                                                                         \
        const auto quorActual = (actual);                                                        \
        const auto quorExpected = (expected);                                                    \
        if (!(quorActual == quorExpected)) {                                                     \
            quortest::Fail(__FILE__, __LINE__,                                                   \
                           "CHECK_EQ(" #actual ", " #expected "): got " + quortest::Describe(quorActual) + \
                               ", expected " + quortest::Describe(quorExpected));               \
        }                                                                                        \
    } while (0)

// Ends the running case when a check has failed, for checks later steps depend on.
#define REQUIRE(condition)                                                      \
    do {                                                                        \
        CHECK(condition);                                                       \
        if (quortest::CurrentCaseFailed()) return;                             \
    } while (0)
