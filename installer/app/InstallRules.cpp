#include "InstallRules.h"

#include <shlwapi.h>

#include "resources/ResourceIds.h"

namespace {

constexpr int kMaxModulePath = 260;
const wchar_t kInvalidPathCharacters[] = L"/:*?\"<>|";

bool EndsWith(const CString& text, wchar_t ch) { return !text.IsEmpty() && text[text.GetLength() - 1] == ch; }

void CutBefore(CString& path, const wchar_t* sequence) {
    for (int at = path.Find(sequence); at >= 0; at = path.Find(sequence)) path = path.Left(at);
}

} // namespace

CString InstallerFolder() {
    wchar_t modulePath[kMaxModulePath] = {};
    ::GetModuleFileNameW(nullptr, modulePath, kMaxModulePath);
    CString folder(modulePath);
    return folder.Left(folder.ReverseFind(L'\\'));
}

CString PayloadPathFor(const CString& installerFolder) { return installerFolder + L"\\files\\nimb_quor.exe"; }

CString PayloadCommandLine(const CString& payloadPath, const CString& installPath) {
    return CString(L"\"") + payloadPath.GetString() + L"\"" + installPath.GetString();
}

bool PayloadCommandLineFits(const CString& payloadPath, const CString& installPath) {
    return PayloadCommandLine(payloadPath, installPath).GetLength() < kPayloadCommandLineCapacity;
}

CString FolderFromPicker(const CString& picked) {
    CString path = picked;
    path.Trim();
    path.TrimRight(L'.');
    path.TrimRight(L'\\');
    if (!path.IsEmpty() && path.Right(4) != L"2024") path += L'\\';
    return path;
}

void NormaliseInstallPath(CString& path) {
    while (path.Find(L"\\\\") >= 0) path.Replace(L"\\\\", L"\\");
    CutBefore(path, L"\\ ");
    CutBefore(path, L" \\");
    if (EndsWith(path, L'\\')) {
        path.TrimRight(L'\\');
        path += L'\\';
    }
}

CheckVerdict CheckInstallPathShape(const CString& path) {
    const CheckVerdict accepted{true, 0, 0};
    const CheckVerdict malformed{false, IDS_PATH_ERROR, 2};
    if (::PathIsFileSpecW(path)) return malformed;
    if (::PathIsRootW(path)) return CheckVerdict{false, IDS_PATH_IS_ROOT, 1};
    const int colon = path.Find(L':');
    const int backslash = path.Find(L'\\');
    if ((colon != 1 && backslash != 0) || (colon == 1 && backslash != 2)) return malformed;
    const int prefixLength = colon == 1 ? colon + 2 : 2;
    const CString rest = path.Right(path.GetLength() - prefixLength);
    if (wcspbrk(rest, kInvalidPathCharacters)) return CheckVerdict{false, IDS_PATH_INVALID_CHARS, 2};
    return accepted;
}

DiskSpaceVerdict JudgeDiskSpace(bool queried, ULONGLONG availableBytes) {
    if (!queried) return DiskSpaceVerdict{0, IDS_DISK_QUERY_FAILED};
    if (availableBytes >= kRequiredFreeBytes) return DiskSpaceVerdict{1, 0};
    return DiskSpaceVerdict{2, IDS_DISK_TOO_SMALL};
}

CString FillPlaceholder(const CString& text, const CString& value) {
    const int at = text.Find(L"%s");
    if (at < 0) return text;
    return text.Left(at) + value.GetString() + text.Mid(at + 2).GetString();
}
