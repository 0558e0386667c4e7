#include "AfxString.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

namespace {

const wchar_t kWhiteSpace[] = L" \t\r\n\v\f";

int ToIndex(size_t pos) { return pos == std::wstring::npos ? -1 : static_cast<int>(pos); }

} // namespace

CString& CString::operator=(const wchar_t* text) {
    m_str = text ? text : L"";
    return *this;
}

CString& CString::operator+=(const wchar_t* text) {
    if (text) m_str += text;
    return *this;
}

CString& CString::operator+=(wchar_t ch) {
    m_str += ch;
    return *this;
}

CString operator+(const CString& a, const wchar_t* b) {
    CString result(a);
    result += b;
    return result;
}

int CString::Find(const wchar_t* sub, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    return ToIndex(m_str.find(sub ? sub : L"", static_cast<size_t>(start)));
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    return ToIndex(m_str.find(ch, static_cast<size_t>(start)));
}

int CString::ReverseFind(wchar_t ch) const { return ToIndex(m_str.rfind(ch)); }

int CString::Replace(const wchar_t* from, const wchar_t* to) {
    const std::wstring needle = from ? from : L"";
    const std::wstring replacement = to ? to : L"";
    if (needle.empty()) return 0;
    int count = 0;
    std::wstring result;
    size_t pos = 0;
    for (size_t hit; (hit = m_str.find(needle, pos)) != std::wstring::npos; pos = hit + needle.size()) {
        result.append(m_str, pos, hit - pos).append(replacement);
        ++count;
    }
    result.append(m_str, pos, std::wstring::npos);
    m_str.swap(result);
    return count;
}

CString CString::Left(int count) const {
    if (count <= 0) return CString();
    return CString(m_str.substr(0, static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
    if (count <= 0) return CString();
    if (count >= GetLength()) return *this;
    return CString(m_str.substr(m_str.size() - static_cast<size_t>(count)));
}

CString CString::Mid(int first, int count) const {
    if (first < 0) first = 0;
    if (first >= GetLength()) return CString();
    return CString(m_str.substr(static_cast<size_t>(first), count < 0 ? std::wstring::npos : static_cast<size_t>(count)));
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

CString& CString::TrimLeft(const wchar_t* set) {
    const size_t first = m_str.find_first_not_of(set ? set : kWhiteSpace);
    m_str.erase(0, first == std::wstring::npos ? m_str.size() : first);
    return *this;
}

CString& CString::TrimRight(const wchar_t* set) {
    const size_t last = m_str.find_last_not_of(set ? set : kWhiteSpace);
    m_str.erase(last == std::wstring::npos ? 0 : last + 1);
    return *this;
}

CString& CString::TrimRight(wchar_t ch) {
    const wchar_t set[2] = {ch, 0};
    return TrimRight(set);
}

void CString::Format(const wchar_t* format, ...) {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list args;
        va_start(args, format);
        const int written = _vsnwprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        if (written >= 0 && static_cast<size_t>(written) < buffer.size()) {
            m_str.assign(buffer.data(), static_cast<size_t>(written));
            return;
        }
        buffer.resize(buffer.size() * 2);
    }
}

CString CString::FromWindowText(HWND hwnd) {
    const int length = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return CString(std::move(text));
}
