// A small test runner for the Windows test programs: named cases in a table,
// checks that report file:line, a closing "N passed, N failed" line and a
// non-zero exit code when a case failed. Run a program with case names as
// arguments to run only those.
#pragma once

#include <windows.h>

#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

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

template <typename T, typename = void>
struct IsStreamable : std::false_type {};
template <typename T>
struct IsStreamable<T, std::void_t<decltype(std::declval<std::ostream&>() << std::declval<const T&>())>>
    : std::true_type {};

inline std::string Describe(const std::wstring& value);

template <typename T>
std::string Describe(const T& value) {
    std::ostringstream out;
    if constexpr (std::is_base_of_v<POINT, T>) {
        out << "(" << value.x << ", " << value.y << ")";
    } else if constexpr (std::is_base_of_v<RECT, T>) {
        out << "(" << value.left << ", " << value.top << ", " << value.right << ", " << value.bottom << ")";
    } else if constexpr (IsStreamable<T>::value) {
        out << value;
    } else {
        out << "{";
        for (const auto& item : value) out << " " << Describe(item);
        out << " }";
    }
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
