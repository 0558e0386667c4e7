// Helpers for tests that run under Wine with the harness of run-under-wine.sh.
#pragma once

#include <string>

// Value of an environment variable, or "" when unset.
std::wstring EnvironmentValue(const wchar_t* name);
// A Linux path as Wine sees it through drive Z:.
std::wstring WindowsPathOf(const std::wstring& unixPath);
// A fresh, empty folder under the prefix's temporary folder.
std::wstring MakeScratchFolder(const wchar_t* name);
// Whole contents of a text file as UTF-8, or "" when it cannot be read.
std::string ReadFileText(const std::wstring& path);
