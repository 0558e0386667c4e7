// CString: the framework's UTF-16 string, a thin value type over std::wstring.
#pragma once

#include <windows.h>

#include <string>

class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_str(text ? text : L"") {}
    CString(const wchar_t* text, int length) : m_str(text, static_cast<size_t>(length)) {}
    CString(std::wstring text) : m_str(std::move(text)) {}

    operator const wchar_t*() const { return m_str.c_str(); }
    const wchar_t* GetString() const { return m_str.c_str(); }
    const std::wstring& str() const { return m_str; }

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    wchar_t GetAt(int index) const { return m_str.at(static_cast<size_t>(index)); }
    wchar_t operator[](int index) const { return GetAt(index); }

    CString& operator=(const wchar_t* text);
    CString& operator+=(const wchar_t* text);
    CString& operator+=(wchar_t ch);
    friend CString operator+(const CString& a, const wchar_t* b);
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_str == (b ? b : L""); }
    friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }

    // Index of the first occurrence at or after start, or -1.
    int Find(const wchar_t* sub, int start = 0) const;
    int Find(wchar_t ch, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    // Replaces every occurrence; returns how many were replaced.
    int Replace(const wchar_t* from, const wchar_t* to);

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first, int count = -1) const;

    // Without an argument these trim white space; otherwise every character of the set.
    CString& Trim();
    CString& TrimLeft(const wchar_t* set = nullptr);
    CString& TrimRight(const wchar_t* set = nullptr);
    CString& TrimRight(wchar_t ch);

    // printf-style formatting; the result may be of any length.
    void Format(const wchar_t* format, ...);

    // Reads the window text of hwnd.
    static CString FromWindowText(HWND hwnd);

private:
    std::wstring m_str;
};
