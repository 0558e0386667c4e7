// nimb: the stand-in host application. Loads the plug-in, runs its commands
// and its open and import exports.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <zrbase/ZrCodePage.h>
#include <zrbase/ZrString.h>
#include <zrcore/NimbFileChecks.h>
#include <zrcore/NimbHost.h>
#include <zrcore/ZrEdCommandStack.h>
#include <zrdb/ZrDbDatabase.h>
#include <zrdb/ZrDbDxfOut.h>
#include <zrgs/ZrGsPicture.h>

#include "DrawingReport.h"
#include "FileContents.h"
#include "ImportAudit.h"
#include "ImportTimings.h"

namespace {

const char* const kUsage =
    "usage: nimb [options] commands\n"
    "       nimb [options] run COMMAND [FILE]\n"
    "       nimb [options] open FILE [-o OUT] [--png PICTURE]\n"
    "       nimb [options] import FILE... [-o OUT] [--png PICTURE]\n"
    "       nimb [options] verify FILE...\n"
    "       nimb [options] contents FILE...\n"
    "options:\n"
    "  --plugin PATH         plug-in module to load (default: zrquor.zrx beside nimb)\n"
    "  --threads N           threads of the host's thread pool (default: one per core)\n"
    "  --no-pool             start the host without a thread pool\n"
    "  --host-provides NAME  the host implements command NAME itself (repeatable)\n"
    "  --codepage N          the system's ANSI code page for names in files (default: from the locale, else 1252)\n"
    "  -o OUT                save the drawing as DXF\n"
    "  --png PICTURE         save a shaded isometric picture of the drawing (needs a display: xvfb-run)\n"
    "  --tolerance FRACTION  verify: largest relative difference that passes (default 0.001)\n"
    "  --timings             open: print where the time went on standard error\n";

using OpenFileExport = int (*)(const char* path, ZrDbDatabase** database, bool asDocument, void (*setRange)(int),
                               void (*onTick)());
using ImportFileExport = int (*)(const char* path, ZrDbDatabase** database);

struct Arguments {
    std::string plugin;
    std::string output;
    std::string picture;
    NimbHostOptions host;
    std::string action;
    std::vector<std::string> operands;
    AuditOptions audit;
    bool timings = false;
};

// Thrown for a bad command line or a failed step; main prints it on one line.
struct Failure {
    std::string message;
    int exitCode;
};

// A progress bar on standard error, fed by the open export's callbacks.
struct ProgressBar {
    static int range;
    static int ticks;
    static void setRange(int total)
    {
        range = total;
        ticks = 0;
        draw();
    }
    static void onTick()
    {
        ++ticks;
        draw();
    }
    static void draw()
    {
        constexpr int kWidth = 40;
        const int done = range > 0 ? std::min(ticks, range) * kWidth / range : 0;
        std::cerr << "\r[" << std::string(static_cast<std::size_t>(done), '#')
                  << std::string(static_cast<std::size_t>(kWidth - done), ' ') << "] "
                  << (range > 0 ? std::min(ticks, range) * 100 / range : 0) << '%' << std::flush;
    }
    static void finish() { std::cerr << "\r" << std::string(48, ' ') << "\r" << std::flush; }
};
int ProgressBar::range = 0;
int ProgressBar::ticks = 0;

std::wstring wide(const std::string& text) { return ZrString(text.c_str(), ZrString::kUtf8).wide(); }
std::string narrow(const std::wstring& text) { return ZrString(text).utf8(); }

std::string programFolder()
{
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return ".";
    std::string path(buffer, static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/'));
}

int parseCount(const std::string& option, const char* text)
{
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < 1 || value > 1024)
        throw Failure{option + " needs a whole number from 1 to 1024, not '" + text + "'", 2};
    return static_cast<int>(value);
}

unsigned int parseCodePage(const std::string& option, const char* text)
{
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (!*text || *end || !zrIsKnownCodePage(static_cast<unsigned int>(value)))
        throw Failure{option + " needs one of 932, 936, 950, 1250 to 1258 and 65001, not '" + text + "'", 2};
    return static_cast<unsigned int>(value);
}

// The host's checks of a file it hands to an import (NimbFileChecks.h).
void requireImportable(const std::string& file)
{
    const std::string problem = nimbWhyNotImportable(file);
    if (!problem.empty())
        throw Failure{nimbCannotOpen(file, problem), 1};
}

// False, said on standard error, when the drawing's model space did not grow.
bool importedSomething(ZrDbDatabase* drawing, std::size_t before, const std::string& file)
{
    if (nimbModelSpaceSize(drawing) > before)
        return true;
    std::cerr << "nimb: " << nimbNothingImported(file) << '\n';
    return false;
}

double parseFraction(const std::string& option, const char* text)
{
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (!*text || *end || !(value > 0.0) || !(value < 1.0))
        throw Failure{option + " needs a number between 0 and 1, not '" + text + "'", 2};
    return value;
}

Arguments parseArguments(int argc, char** argv)
{
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc)
                throw Failure{word + " needs a value", 2};
            return argv[++i];
        };
        if (word == "--plugin")
            args.plugin = value();
        else if (word == "--threads")
            args.host.threads = parseCount(word, value());
        else if (word == "--no-pool")
            args.host.threadPool = false;
        else if (word == "--host-provides")
            args.host.hostCommands.push_back(wide(value()));
        else if (word == "--codepage")
            args.host.codePage = parseCodePage(word, value());
        else if (word == "-o")
            args.output = value();
        else if (word == "--png")
            args.picture = value();
        else if (word == "--timings")
            args.timings = true;
        else if (word == "--tolerance")
            args.audit.tolerance = parseFraction(word, value());
        else if (word == "-h" || word == "--help")
            throw Failure{"", 0};
        else if (word.size() > 1 && word[0] == '-')
            throw Failure{"unknown option " + word, 2};
        else if (args.action.empty())
            args.action = word;
        else
            args.operands.push_back(word);
    }
    if (args.action.empty())
        throw Failure{"no action given (commands, run, open, import)", 2};
    if (!args.output.empty() && args.action != "open" && args.action != "import")
        throw Failure{"-o goes with open or import", 2};
    if (!args.picture.empty() && args.action != "open" && args.action != "import")
        throw Failure{"--png goes with open or import", 2};
    if (args.plugin.empty())
        args.plugin = programFolder() + "/zrquor.zrx";
    return args;
}

void listCommands(const NimbHost& host)
{
    for (const ZrEdCommand* command : host.commandStack()->commands())
        std::cout << narrow(command->group) << '\t' << narrow(command->globalName) << '\t'
                  << narrow(command->localName) << '\n';
}

bool runCommand(NimbHost& host, const Arguments& args)
{
    if (args.operands.empty() || args.operands.size() > 2)
        throw Failure{"run takes a command name and at most one file", 2};
    const std::string file = args.operands.size() == 2 ? args.operands[1] : std::string();
    if (!file.empty())
        requireImportable(file);
    const std::size_t before = nimbModelSpaceSize(host.currentDatabase());
    host.setFilePrompt([file](int) { return wide(file); });
    std::string error;
    if (host.runCommand(wide(args.operands[0]), error) != Nimb::eOk)
        throw Failure{error, 1};
    return file.empty() || importedSomething(host.currentDatabase(), before, file);
}

template <class Export>
Export pluginExport(const NimbHost& host, const char* name)
{
    auto function = reinterpret_cast<Export>(host.pluginSymbol(name));
    if (!function)
        throw Failure{std::string("the plug-in does not export ") + name, 1};
    return function;
}

bool openFile(NimbHost& host, const Arguments& args)
{
    if (args.operands.size() != 1)
        throw Failure{"open takes one file", 2};
    requireImportable(args.operands[0]);
    auto open = pluginExport<OpenFileExport>(host, "nimbOpenFile");
    const bool showProgress = isatty(STDERR_FILENO);
    ImportTimings timings;
    ImportTimings::setNext(showProgress ? ProgressBar::onTick : nullptr);
    const bool ticks = showProgress || args.timings;
    ZrDbDatabase* db = nullptr;
    timings.start();
    const int result = open(args.operands[0].c_str(), &db, true, showProgress ? ProgressBar::setRange : nullptr,
                            ticks ? ImportTimings::onTick : nullptr);
    timings.finish();
    if (showProgress)
        ProgressBar::finish();
    if (args.timings)
        timings.print(args.operands[0], std::cerr);
    if (result != 0 || !db)
        throw Failure{"cannot open " + args.operands[0], 1};
    // The document keeps its own reference; drop the one handed back.
    releaseDb(db);
    printBlockTree(host.currentDatabase(), std::cout);
    return importedSomething(host.currentDatabase(), 0, args.operands[0]);
}

// Opens each file as a new drawing and compares what came in with the file.
// True when every body of every file came in within the tolerance.
bool verifyFiles(NimbHost& host, const Arguments& args)
{
    if (args.operands.empty())
        throw Failure{"verify takes at least one file", 2};
    auto open = pluginExport<OpenFileExport>(host, "nimbOpenFile");
    bool allWithin = true;
    for (const std::string& file : args.operands) {
        ZrDbDatabase* db = nullptr;
        if (open(file.c_str(), &db, false, nullptr, nullptr) != 0 || !db) {
            std::cout << file << ": cannot open\n";
            allWithin = false;
            continue;
        }
        const ZrDbDatabasePtr drawing = ZrDbDatabasePtr::adopt(db);
        if (auditImport(file, file, drawing.get(), args.audit, std::cout).failed())
            allWithin = false;
    }
    return allWithin;
}

// The files that cannot be imported are said on standard error; the others
// are still imported. False when any file brought nothing.
bool importFiles(NimbHost& host, const Arguments& args)
{
    if (args.operands.empty())
        throw Failure{"import takes at least one file", 2};
    auto import = pluginExport<ImportFileExport>(host, "nimbImportFile");
    ZrDbDatabase* drawing = host.currentDatabase();
    bool allImported = true;
    for (const std::string& file : args.operands) {
        const std::string problem = nimbWhyNotImportable(file);
        if (!problem.empty()) {
            std::cerr << "nimb: " << nimbCannotOpen(file, problem) << '\n';
            allImported = false;
            continue;
        }
        const std::size_t entitiesBefore = nimbModelSpaceSize(drawing);
        const int before = drawing->referenceCount();
        ZrDbDatabase* db = drawing;
        import(file.c_str(), &db);
        // The import hands back a reference to the drawing; the document keeps its own.
        while (drawing->referenceCount() > before)
            releaseDb(drawing);
        allImported = importedSomething(drawing, entitiesBefore, file) && allImported;
    }
    printBlockTree(drawing, std::cout);
    return allImported;
}

// What the host's kernel reads from each file, one line each.
void listContents(const Arguments& args)
{
    if (args.operands.empty())
        throw Failure{"contents takes at least one file", 2};
    for (const std::string& file : args.operands)
        std::cout << file << ": " << describeFileContents(file) << '\n';
}

int run(int argc, char** argv)
{
    const Arguments args = parseArguments(argc, argv);
    NimbHost host(args.host);
    std::string error;
    if (host.loadPlugin(wide(args.plugin), error) != Nimb::eOk)
        throw Failure{"cannot load plug-in: " + error, 1};
    bool succeeded = true;
    if (args.action == "commands")
        listCommands(host);
    else if (args.action == "run")
        succeeded = runCommand(host, args);
    else if (args.action == "open")
        succeeded = openFile(host, args);
    else if (args.action == "import")
        succeeded = importFiles(host, args);
    else if (args.action == "verify")
        succeeded = verifyFiles(host, args);
    else if (args.action == "contents")
        listContents(args);
    else
        throw Failure{"unknown action " + args.action, 2};
    if (!args.output.empty() && zrdbSaveAsDxf(host.currentDatabase(), args.output, error) != Nimb::eOk)
        throw Failure{"cannot save " + args.output + ": " + error, 1};
    if (!args.picture.empty() &&
        zrgsSavePicture(host.currentDatabase(), args.picture, ZrGsPictureOptions(), error) != Nimb::eOk)
        throw Failure{"cannot make " + args.picture + ": " + error, 1};
    host.unloadPlugin();
    return succeeded ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const Failure& failure) {
        if (failure.exitCode == 0) {
            std::cout << kUsage;
            return 0;
        }
        std::cerr << "nimb: " << failure.message << (failure.exitCode == 2 ? " (nimb --help shows the usage)" : "")
                  << '\n';
        return failure.exitCode;
    }
}
