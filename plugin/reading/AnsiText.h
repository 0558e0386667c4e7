#pragma once
// Text in files that does not say its encoding. Many CAD systems write part
// names as raw bytes of a Windows code page (GBK on Chinese systems, CP1251
// on Russian ones) where the exchange formats want their own escapes, and
// the kernel takes every raw byte string as UTF-8. The rule here: bytes that
// are valid UTF-8 are UTF-8; other bytes are text in the host's ANSI code
// page (GetACP).
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include <Resource_FormatType.hxx>
#include <TCollection_ExtendedString.hxx>

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF). ASCII is UTF-8.
bool isUtf8(std::string_view bytes);

// The host's ANSI code page as the kernel's converters name it.
// Resource_FormatType_UTF8 for 65001 and for a code page without a table.
Resource_FormatType ansiFormat();

// Splits bytes into their ASCII bytes and runs of the code page's non-ASCII
// characters (a double-byte character's trail byte may lie in the ASCII
// range). Calls ascii(byte) and run(bytes of one run), in order.
template <class Ascii, class Run>
void splitAnsiRuns(std::string_view bytes, Resource_FormatType format, Ascii ascii, Run run);

// bytes as text: UTF-8 when they are valid UTF-8, otherwise in format.
TCollection_ExtendedString textOfBytes(std::string_view bytes, Resource_FormatType format);

// Implementation.

namespace ansi_detail {
// Length in bytes of the character that starts with byte lead (at least 0x80).
std::size_t characterLength(Resource_FormatType format, unsigned char lead);
} // namespace ansi_detail

template <class Ascii, class Run>
void splitAnsiRuns(std::string_view bytes, Resource_FormatType format, Ascii ascii, Run run)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ascii(bytes[i++]);
            continue;
        }
        const std::size_t start = i;
        while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) >= 0x80) {
            const std::size_t length = ansi_detail::characterLength(format, static_cast<unsigned char>(bytes[i]));
            i = std::min(bytes.size(), i + length);
        }
        run(bytes.substr(start, i - start));
    }
}
