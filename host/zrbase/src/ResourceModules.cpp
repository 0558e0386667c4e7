// Windows-style module and string-resource calls over dlopen.
#include "zrbase/zrwin.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "zrbase/ZrString.h"

namespace {

using StringTable = const ZrResourceString* (*)(int* count);

std::vector<std::string> splitPath(const char* list)
{
    std::vector<std::string> folders;
    if (!list)
        return folders;
    std::string all(list);
    std::size_t start = 0;
    while (start <= all.size()) {
        std::size_t end = all.find(':', start);
        if (end == std::string::npos)
            end = all.size();
        if (end > start)
            folders.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

std::string programFolder()
{
    std::vector<char> buffer(4096);
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0)
        return {};
    std::string path(buffer.data(), static_cast<std::size_t>(length));
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool endsWith(const std::string& text, const char* suffix)
{
    std::size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

std::vector<std::string> searchFolders()
{
    std::vector<std::string> folders = splitPath(std::getenv("NIMB_LIBRARY_PATH"));
    folders.push_back(programFolder());
    for (std::string& folder : splitPath(std::getenv("PATH")))
        folders.push_back(folder);
    return folders;
}

} // namespace

extern "C" HMODULE LoadLibraryW(const wchar_t* fileName)
{
    if (!fileName || !*fileName)
        return nullptr;
    std::string name = ZrString(fileName).utf8();
    if (name.find('/') != std::string::npos)
        return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!endsWith(name, ".so"))
        name += ".so";
    for (const std::string& folder : searchFolders()) {
        const std::string candidate = folder + "/" + name;
        if (access(candidate.c_str(), R_OK) != 0)
            continue;
        if (void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL))
            return handle;
    }
    return nullptr;
}

extern "C" int FreeLibrary(HMODULE module) { return module && dlclose(module) == 0 ? 1 : 0; }

extern "C" int LoadStringW(HINSTANCE module, unsigned int id, wchar_t* buffer, int bufferMax)
{
    if (!module || !buffer || bufferMax < 1)
        return 0;
    auto table = reinterpret_cast<StringTable>(dlsym(module, "zrResourceStrings"));
    if (!table)
        return 0;
    int count = 0;
    const ZrResourceString* strings = table(&count);
    for (int i = 0; i < count; ++i) {
        if (strings[i].id != id || !strings[i].text)
            continue;
        std::size_t length = std::wcslen(strings[i].text);
        if (length == 0)
            return 0;
        std::size_t copied = std::min(length, static_cast<std::size_t>(bufferMax - 1));
        std::wmemcpy(buffer, strings[i].text, copied);
        buffer[copied] = L'\0';
        return static_cast<int>(copied);
    }
    return 0;
}
