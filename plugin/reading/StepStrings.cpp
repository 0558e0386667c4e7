// STEP files whose string literals hold raw bytes of a code page.
#include "reading/StepStrings.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <Resource_Unicode.hxx>
#include <STEPCAFControl_Reader.hxx>
#include <TCollection_ExtendedString.hxx>

#include "reading/AnsiText.h"
#include "reading/ExchangeHooks.h"

namespace {

bool hasHighBytes(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

void appendEscaped(std::string& out, std::string_view run, Resource_FormatType format)
{
    TCollection_ExtendedString decoded;
    Resource_Unicode::ConvertFormatToUnicode(format, std::string(run).c_str(), decoded);
    if (decoded.Length() == 0)
        return;
    static const char kHex[] = "0123456789ABCDEF";
    out += "\\X2\\";
    for (int i = 1; i <= decoded.Length(); ++i) {
        const unsigned int unit = decoded.Value(i);
        for (int shift = 12; shift >= 0; shift -= 4)
            out += kHex[(unit >> shift) & 0xF];
    }
    out += "\\X0\\";
}

// The literal's content (between its quotes, doubled quotes kept) rewritten.
void appendRewritten(std::string& out, std::string_view content, Resource_FormatType format)
{
    splitAnsiRuns(
        content, format, [&](char c) { out += c; },
        [&](std::string_view run) { appendEscaped(out, run, format); });
}

} // namespace

bool escapeNonUtf8Strings(std::string_view file, Resource_FormatType format, std::string& out)
{
    out.clear();
    if (format == Resource_FormatType_UTF8 || !hasHighBytes(file))
        return false;
    std::size_t copied = 0; // file[0, copied) is in out, once out is in use
    bool rewritten = false;
    const std::size_t n = file.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = file[i];
        if (c == '/' && i + 1 < n && file[i + 1] == '*') { // a comment
            const std::size_t end = file.find("*/", i + 2);
            i = end == std::string_view::npos ? n : end + 2;
            continue;
        }
        if (c != '\'') {
            ++i;
            continue;
        }
        // A literal: up to the quote that is not doubled.
        const std::size_t start = i + 1;
        std::size_t j = start;
        while (j < n) {
            if (file[j] == '\'') {
                if (j + 1 < n && file[j + 1] == '\'') {
                    j += 2;
                    continue;
                }
                break;
            }
            ++j;
        }
        const std::string_view content = file.substr(start, j - start);
        if (hasHighBytes(content) && !isUtf8(content)) {
            if (!rewritten)
                out.reserve(n + n / 8);
            rewritten = true;
            out.append(file.substr(copied, start - copied));
            appendRewritten(out, content, format);
            copied = j;
        }
        i = j + 1;
    }
    if (!rewritten)
        return false;
    out.append(file.substr(copied));
    return true;
}

std::string kernelPath(const ZrString& path)
{
    const std::string utf8 = path.utf8();
    if (utf8.empty() || utf8[0] == '/')
        return utf8;
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(utf8, error);
    return error ? utf8 : full.string();
}

namespace {

// The bytes of a file; empty when it cannot be read.
std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    std::string bytes(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    if (size <= 0 || !in.seekg(0).read(bytes.data(), size))
        return {};
    return bytes;
}

} // namespace

IFSelect_ReturnStatus readExchangeFile(STEPCAFControl_Reader& exchange, const ZrString& path)
{
    const std::string file = kernelPath(path);
    const Resource_FormatType format = ansiFormat();
    if (format == Resource_FormatType_UTF8)
        return exchange.ReadFile(file.c_str());
    std::string escaped;
    if (!escapeNonUtf8Strings(fileBytes(file), format, escaped))
        return exchange.ReadFile(file.c_str());
    std::istringstream stream(escaped);
    std::string().swap(escaped); // no second copy while the kernel reads
    return exchange.ChangeReader().ReadStream(file.c_str(), stream);
}

void afterTransfer(STEPCAFControl_Reader&, const Handle(TDocStd_Document)&) {}
