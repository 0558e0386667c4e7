// What the plug-in pays before the kernel reads a STEP file: reading its
// bytes and looking for string literals that are not UTF-8, and rewriting
// them when there are any. Prints one line per file.
//
//   step_strings_bench CODEPAGE FILE...
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <zrbase/ZrCodePage.h>

#include "reading/AnsiText.h"
#include "reading/StepStrings.h"

namespace {

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: step_strings_bench CODEPAGE FILE...\n");
        return 2;
    }
    zrSetAnsiCodePage(static_cast<unsigned int>(std::strtoul(argv[1], nullptr, 10)));
    const Resource_FormatType format = ansiFormat();
    for (int i = 2; i < argc; ++i) {
        auto start = std::chrono::steady_clock::now();
        std::ifstream in(argv[i], std::ios::binary | std::ios::ate);
        std::string text(static_cast<std::size_t>(std::max<std::streamoff>(0, in.tellg())), '\0');
        in.seekg(0).read(text.data(), static_cast<std::streamsize>(text.size()));
        const double read = millisecondsSince(start);
        constexpr int kRounds = 20;
        std::string rewritten;
        bool changed = false;
        start = std::chrono::steady_clock::now();
        for (int round = 0; round < kRounds; ++round)
            changed = escapeNonUtf8Strings(text, format, rewritten);
        const double scan = millisecondsSince(start) / kRounds;
        std::printf("%s: %.2f MB, read %.2f ms, scan%s %.2f ms (%.2f ms per 2 MB)\n", argv[i],
                    static_cast<double>(text.size()) / 1e6, read, changed ? " and rewrite" : "", scan,
                    text.empty() ? 0.0 : scan * 2e6 / static_cast<double>(text.size()));
    }
    return 0;
}
