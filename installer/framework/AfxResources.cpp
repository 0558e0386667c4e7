#include "AfxResources.h"

#include <shlobj.h>

namespace {

HINSTANCE g_resourceHandle = nullptr;
BOOL g_controlContainerEnabled = FALSE;

} // namespace

HINSTANCE AfxGetResourceHandle() {
    return g_resourceHandle ? g_resourceHandle : ::GetModuleHandleW(nullptr);
}

void AfxSetResourceHandle(HINSTANCE module) { g_resourceHandle = module; }

BOOL AfxInitRichEdit2() {
    static HMODULE richEdit = ::LoadLibraryW(L"riched20.dll");
    return richEdit != nullptr;
}

void AfxEnableControlContainer() { g_controlContainerEnabled = TRUE; }

BOOL AfxIsControlContainerEnabled() { return g_controlContainerEnabled; }

BOOL CFileFind::FindFile(const wchar_t* pattern) {
    Close();
    m_hFind = ::FindFirstFileW(pattern, &m_next);
    m_bHasNext = m_hFind != INVALID_HANDLE_VALUE;
    return m_bHasNext;
}

BOOL CFileFind::FindNextFile() {
    if (!m_bHasNext) return FALSE;
    m_current = m_next;
    m_bHasNext = ::FindNextFileW(m_hFind, &m_next) != FALSE;
    return m_bHasNext;
}

void CFileFind::Close() {
    if (m_hFind != INVALID_HANDLE_VALUE) ::FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_bHasNext = false;
}

CShellManager::CShellManager() {
    if (FAILED(::SHGetMalloc(&m_pMalloc))) m_pMalloc = nullptr;
}

CShellManager::~CShellManager() {
    if (m_pMalloc) m_pMalloc->Release();
}

void CShellManager::FreeItem(void* itemList) {
    if (m_pMalloc && itemList) m_pMalloc->Free(itemList);
}
