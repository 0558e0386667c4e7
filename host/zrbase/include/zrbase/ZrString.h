#pragma once
// The host's string: a sequence of wide characters (one Unicode code point per
// wchar_t on this platform). Positions and lengths count characters.
#include <cstddef>
#include <string>

class ZrString {
public:
    // Narrow-text encodings the narrow constructor understands.
    enum Encoding {
        kUtf8 = 0, // encoding 0: the platform's narrow encoding, UTF-8 here
    };

    ZrString() = default;
    ZrString(const ZrString& other) = default;
    ZrString(ZrString&& other) noexcept = default;
    ZrString& operator=(const ZrString& other) = default;
    ZrString& operator=(ZrString&& other) noexcept = default;
    ZrString(const wchar_t* text);
    ZrString(const std::wstring& text) : m_text(text) {}
    // Decodes narrow text. Invalid UTF-8 sequences become U+FFFD each.
    ZrString(const char* narrow, int encoding);

    int length() const { return static_cast<int>(m_text.size()); }
    bool isEmpty() const { return m_text.empty(); }
    const wchar_t* constPtr() const { return m_text.c_str(); }
    operator const wchar_t*() const { return m_text.c_str(); }
    const std::wstring& wide() const { return m_text; }
    std::string utf8() const;

    wchar_t operator[](int index) const { return m_text[static_cast<std::size_t>(index)]; }

    // Position of the last character that is any of chars, or -1.
    int findLastOneOf(const wchar_t* chars) const;
    // Position of the first occurrence of text at or after start, or -1.
    int find(const wchar_t* text, int start = 0) const;
    // count characters from start; clipped to the string.
    ZrString substr(int start, int count) const;
    // The last count characters: the whole string when count is at least the
    // length, the empty string when count is 0 or less.
    ZrString substrRev(int count) const;

    // Ordinal comparison: negative, 0 or positive.
    int compare(const wchar_t* other) const;
    // Comparison after upper-casing each character of both sides; 0 when
    // equal without regard to case, otherwise the sign of the first difference.
    int compareNoCase(const wchar_t* other) const;

    ZrString& append(const wchar_t* text);
    ZrString& append(wchar_t ch);
    // Replaces every non-overlapping occurrence of oldText, scanning left to
    // right; text inserted is not scanned again. Returns the number replaced.
    // An empty oldText replaces nothing.
    int replace(const wchar_t* oldText, const wchar_t* newText);
    int replace(wchar_t oldChar, wchar_t newChar);
    // Replaces the content with printf-style formatting of the arguments
    // (the C library's wide conversions: %d, %s takes narrow text, %ls wide).
    ZrString& format(const wchar_t* pattern, ...);
    // This string followed by other, as a new string.
    ZrString concat(const wchar_t* other) const;

    ZrString& operator+=(const wchar_t* text) { return append(text); }
    friend ZrString operator+(const ZrString& a, const wchar_t* b) { return a.concat(b); }
    friend bool operator==(const ZrString& a, const ZrString& b) { return a.m_text == b.m_text; }
    friend bool operator!=(const ZrString& a, const ZrString& b) { return a.m_text != b.m_text; }
    friend bool operator<(const ZrString& a, const ZrString& b) { return a.m_text < b.m_text; }

private:
    std::wstring m_text;
};

// Orders strings without regard to case (compareNoCase), for sets and maps of names.
struct ZrStringLessNoCase {
    bool operator()(const ZrString& a, const ZrString& b) const { return a.compareNoCase(b) < 0; }
};
