#include "zrbase/ZrString.h"

#include <clocale>
#include <cstdarg>
#include <cwchar>
#include <cwctype>
#include <locale.h>
#include <vector>

namespace {

// Case mapping must not depend on the process locale, which the host leaves
// as "C": use a private UTF-8 locale for it.
locale_t unicodeLocale()
{
    static locale_t locale = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        return l ? l : newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
    }();
    return locale;
}

wchar_t upper(wchar_t c)
{
    if (c < 0x80)
        return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
    return static_cast<wchar_t>(towupper_l(static_cast<wint_t>(c), unicodeLocale()));
}

constexpr wchar_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i]; advances i.
wchar_t decodeUtf8(const unsigned char* text, std::size_t& i)
{
    unsigned char lead = text[i++];
    if (lead < 0x80)
        return lead;
    int extra;
    unsigned int code;
    if ((lead & 0xE0) == 0xC0) { extra = 1; code = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { extra = 2; code = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { extra = 3; code = lead & 0x07; }
    else return kReplacement;
    for (int k = 0; k < extra; ++k) {
        if ((text[i] & 0xC0) != 0x80)
            return kReplacement;
        code = (code << 6) | (text[i++] & 0x3F);
    }
    static const unsigned int minimum[] = {0, 0x80, 0x800, 0x10000};
    if (code < minimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return kReplacement;
    return static_cast<wchar_t>(code);
}

void encodeUtf8(unsigned int code, std::string& out)
{
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = kReplacement;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

ZrString::ZrString(const wchar_t* text) : m_text(text ? text : L"") {}

ZrString::ZrString(const char* narrow, int /*encoding*/)
{
    if (!narrow)
        return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(narrow);
    for (std::size_t i = 0; bytes[i];)
        m_text += decodeUtf8(bytes, i);
}

std::string ZrString::utf8() const
{
    std::string out;
    out.reserve(m_text.size());
    for (wchar_t c : m_text)
        encodeUtf8(static_cast<unsigned int>(c), out);
    return out;
}

int ZrString::findLastOneOf(const wchar_t* chars) const
{
    if (!chars || !*chars)
        return -1;
    std::size_t at = m_text.find_last_of(chars);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int ZrString::find(const wchar_t* text, int start) const
{
    if (!text || start < 0)
        return -1;
    std::size_t at = m_text.find(text, static_cast<std::size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

ZrString ZrString::substr(int start, int count) const
{
    if (start < 0)
        start = 0;
    if (start >= length() || count <= 0)
        return ZrString();
    return ZrString(m_text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count)));
}

ZrString ZrString::substrRev(int count) const
{
    if (count <= 0)
        return ZrString();
    if (count >= length())
        return *this;
    return ZrString(m_text.substr(m_text.size() - static_cast<std::size_t>(count)));
}

int ZrString::compare(const wchar_t* other) const
{
    return m_text.compare(other ? other : L"");
}

int ZrString::compareNoCase(const wchar_t* other) const
{
    if (!other)
        other = L"";
    const wchar_t* a = m_text.c_str();
    for (;; ++a, ++other) {
        wchar_t ua = upper(*a), ub = upper(*other);
        if (ua != ub)
            return ua < ub ? -1 : 1;
        if (!*a)
            return 0;
    }
}

ZrString& ZrString::append(const wchar_t* text)
{
    if (text)
        m_text += text;
    return *this;
}

ZrString& ZrString::append(wchar_t ch)
{
    m_text += ch;
    return *this;
}

int ZrString::replace(const wchar_t* oldText, const wchar_t* newText)
{
    if (!oldText || !*oldText)
        return 0;
    const std::wstring from(oldText), to(newText ? newText : L"");
    int count = 0;
    for (std::size_t at = m_text.find(from); at != std::wstring::npos; at = m_text.find(from, at + to.size())) {
        m_text.replace(at, from.size(), to);
        ++count;
    }
    return count;
}

int ZrString::replace(wchar_t oldChar, wchar_t newChar)
{
    int count = 0;
    for (wchar_t& c : m_text)
        if (c == oldChar) {
            c = newChar;
            ++count;
        }
    return count;
}

ZrString& ZrString::format(const wchar_t* pattern, ...)
{
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list args;
        va_start(args, pattern);
        int written = std::vswprintf(buffer.data(), buffer.size(), pattern, args);
        va_end(args);
        if (written >= 0 && static_cast<std::size_t>(written) < buffer.size()) {
            m_text.assign(buffer.data(), static_cast<std::size_t>(written));
            return *this;
        }
        // vswprintf reports overflow and encoding errors alike with -1; give
        // up at a size no sane format reaches.
        if (buffer.size() >= (1u << 24)) {
            m_text.clear();
            return *this;
        }
        buffer.resize(buffer.size() * 4);
    }
}

ZrString ZrString::concat(const wchar_t* other) const
{
    ZrString result(*this);
    result.append(other);
    return result;
}
