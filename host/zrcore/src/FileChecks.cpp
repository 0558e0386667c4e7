#include "zrcore/NimbFileChecks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include <zrdb/ZrDbDatabase.h>
#include <zrdb/ZrDbObjectPtr.h>
#include <zrdb/ZrDbSymbolTable.h>

namespace {

std::string systemReason(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return "no such file";
    case EACCES:
    case EPERM: return "permission denied";
    default: {
        std::string text = std::strerror(error);
        if (!text.empty())
            text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
        return text;
    }
    }
}

// The extension of the file name (after its folder), with its dot, in lower
// case; empty when the name has no dot.
std::string extensionOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return {};
    std::string extension = name.substr(dot);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

} // namespace

const std::vector<std::string>& nimbImportExtensions()
{
    static const std::vector<std::string> extensions = {".step", ".stp", ".ste", ".iges", ".igs"};
    return extensions;
}

std::string nimbWhyNotImportable(const std::string& path)
{
    struct stat status;
    if (path.empty())
        return "no such file";
    if (stat(path.c_str(), &status) != 0)
        return systemReason(errno);
    if (S_ISDIR(status.st_mode))
        return "it is a folder";
    const std::string extension = extensionOf(path);
    bool handled = false;
    for (const std::string& known : nimbImportExtensions())
        handled = handled || extension == known;
    if (!handled)
        return extension.empty() ? "no command handles files without an extension"
                                 : "no command handles " + extension + " files";
    if (!S_ISREG(status.st_mode))
        return "it is not a file";
    // Opening tells what access() does not for every user (root reads any file).
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return systemReason(errno);
    close(descriptor);
    return {};
}

std::string nimbCannotOpen(const std::string& path, const std::string& reason)
{
    return "cannot open " + path + ": " + reason;
}

std::string nimbNothingImported(const std::string& path) { return "nothing imported from " + path; }

std::size_t nimbModelSpaceSize(ZrDbDatabase* db)
{
    if (!db)
        return 0;
    const ZrDbObjectPtr<ZrDbBlockTableRecord> space(db->modelSpaceId(), ZrDb::kForRead);
    return space ? space->entityIds().size() : 0;
}
