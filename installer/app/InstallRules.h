// Rules of an installation that need no window: where the installer and its
// payload lie, the payload's command line, how a typed or picked install
// folder is normalised and judged, and the free-space rule.
#pragma once

#include <windows.h>

#include "framework/AfxString.h"

// Folder of the installer's executable, without a trailing backslash.
CString InstallerFolder();
// The packaged setup program in the "files" subfolder of the installer folder.
CString PayloadPathFor(const CString& installerFolder);

// Units of the buffer the payload's command line is handed over in, its NUL included.
constexpr int kPayloadCommandLineCapacity = 260;
// The quoted payload path immediately followed by the install path, unquoted.
CString PayloadCommandLine(const CString& payloadPath, const CString& installPath);
// Whether that command line and its NUL fit in kPayloadCommandLineCapacity units.
bool PayloadCommandLineFits(const CString& payloadPath, const CString& installPath);

// The folder picker's choice as the path edit shows it: trimmed, and with one
// trailing backslash unless it names a "...2024" folder.
CString FolderFromPicker(const CString& picked);

// Repairs a typed install path: doubled backslashes become single ones, the
// path is cut before a backslash next to a space, and trailing backslashes
// become exactly one.
void NormaliseInstallPath(CString& path);

// Outcome of a check that may refuse: the tip to show when it does.
struct CheckVerdict {
    bool accepted;
    int textId;  // text of the refusal tip
    int tipType; // 2 notice, 1 question
};

// Whether a normalised install path has an acceptable shape: a drive letter,
// colon and backslash, or a leading backslash, not a root, and no character
// that Windows forbids in file names after that prefix.
CheckVerdict CheckInstallPathShape(const CString& path);

// The free-space rule for the install drive: 1 enough, 0 the query failed,
// 2 too little; with the text of the tip for 0 and 2.
struct DiskSpaceVerdict {
    int result;
    int textId; // 0 when nothing is to be shown
};
constexpr ULONGLONG kRequiredFreeBytes = 524288000ULL; // 500 MiB
DiskSpaceVerdict JudgeDiskSpace(bool queried, ULONGLONG availableBytes);

// A text with the first "%s" replaced by value; no other part of the text is
// interpreted, so a translated text cannot misuse formatting.
CString FillPlaceholder(const CString& text, const CString& value);
