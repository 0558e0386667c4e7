// Resource module handling, library initialisation, file search and the shell manager.
#pragma once

#include <windows.h>

#include "AfxString.h"

// Module that dialog templates, icons and images are loaded from; the
// program's own module until changed.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);

// Loads the rich-edit 2.0 control library once for the process.
BOOL AfxInitRichEdit2();
// Allows dialogs to host OLE controls. The framework's dialogs are built by
// the system dialog manager, which needs no preparation for the standard
// controls, so this only records the request.
void AfxEnableControlContainer();
BOOL AfxIsControlContainerEnabled();

// Iterates over the files matching a path or pattern.
class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // TRUE when at least one file matches; the first one is read by FindNextFile.
    BOOL FindFile(const wchar_t* pattern = L"*.*");
    // Advances to the next match; FALSE when the current one is the last.
    BOOL FindNextFile();
    CString GetFileName() const { return CString(m_current.cFileName); }
    BOOL IsDirectory() const { return (m_current.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    void Close();

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW m_next{};
    WIN32_FIND_DATAW m_current{};
    bool m_bHasNext = false;
};

// Holds the shell's task allocator for the item lists the shell hands out.
class CShellManager {
public:
    CShellManager();
    ~CShellManager();
    CShellManager(const CShellManager&) = delete;
    CShellManager& operator=(const CShellManager&) = delete;

    // Frees an item list returned by a shell function.
    void FreeItem(void* itemList);

private:
    struct IMalloc* m_pMalloc = nullptr;
};
