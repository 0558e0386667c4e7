#pragma once
// The host application: starts the host's services, loads the plug-in, keeps
// the open documents and runs commands. One host runs at a time in a process;
// nimb makes one, and tests make their own.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <zrbase/ZrErrorStatus.h>
#include <zrdb/ZrDbDatabase.h>

class CQsSystem;
class ZrEdCommandStack;
class ZrRxDynamicLinker;
class ZrRxThreadPoolService;
struct ZrRxModuleRecord;

struct NimbHostOptions {
    // Register a thread pool as "ZrRxThreadPoolService"; threads 0 means one
    // per processor core.
    bool threadPool = true;
    int threads = 0;
    // Offer CQsSystem::instance() at all.
    bool systemObject = true;
    // Command names the host implements itself (any case).
    std::vector<std::wstring> hostCommands;
    // Measurement of new drawings: 0 imperial, 1 metric.
    short measurement = 1;
    // The system's ANSI code page while the host runs (GetACP): a known code
    // page (ZrCodePage.h), or 0 for the one the locale implies.
    unsigned int codePage = 0;
};

struct NimbDocument {
    std::wstring name;
    ZrDbDatabasePtr database;
    int flags = 0;
    bool readOnly = false;
};

class NimbHost {
public:
    explicit NimbHost(NimbHostOptions options = {});
    ~NimbHost();
    NimbHost(const NimbHost&) = delete;
    NimbHost& operator=(const NimbHost&) = delete;

    // The running host, or null.
    static NimbHost* current();

    const NimbHostOptions& options() const { return m_options; }

    // Loads the plug-in module (one at a time). On failure error says why.
    Nimb::ErrorStatus loadPlugin(const std::wstring& path, std::string& error);
    // Sends the unload message and unloads it.
    Nimb::ErrorStatus unloadPlugin();
    ZrRxModuleRecord* plugin() const { return m_plugin; }
    // Address of an export of the plug-in, or null.
    void* pluginSymbol(const char* name) const;

    ZrEdCommandStack* commandStack() const;
    // What CQsSystem::instance() hands out while this host runs.
    CQsSystem* systemObject();
    // Runs a command by global or local name as typed on the command line.
    Nimb::ErrorStatus runCommand(const std::wstring& name, std::string& error);

    // Documents. The host starts with one empty drawing, "Drawing1.dwg".
    const std::vector<NimbDocument>& documents() const { return m_documents; }
    NimbDocument& currentDocument() { return m_documents[m_current]; }
    ZrDbDatabase* currentDatabase() { return currentDocument().database.get(); }
    Nimb::ErrorStatus openDocument(ZrDbDatabase* db, const std::wstring& name, int mode, int flags, bool readOnly);

    // Where the import actions get their file: called with the action code,
    // returns a path, or an empty string when the user cancels.
    void setFilePrompt(std::function<std::wstring(int actionCode)> prompt) { m_filePrompt = std::move(prompt); }
    // Runs an import action (codes 7 and 8) into the current drawing.
    bool runImportAction(int actionCode);
    // Where the host reports problems of its actions; standard error by default.
    void setMessageSink(std::function<void(const std::string&)> sink) { m_messages = std::move(sink); }
    void message(const std::string& text) const;

    // System variables the host keeps (short values).
    bool getVariable(const std::wstring& name, short& value) const;
    void setVariable(const std::wstring& name, short value);

private:
    struct Services;
    NimbHostOptions m_options;
    std::unique_ptr<Services> m_services;
    ZrRxModuleRecord* m_plugin = nullptr;
    std::vector<NimbDocument> m_documents;
    std::size_t m_current = 0;
    std::function<std::wstring(int)> m_filePrompt;
    std::function<void(const std::string&)> m_messages;
    std::vector<std::pair<std::wstring, short>> m_variables;
};

// Sets bits of a short system variable for as long as it lives.
class NimbVariableBits {
public:
    NimbVariableBits(NimbHost& host, const wchar_t* name, short bits);
    ~NimbVariableBits();
    NimbVariableBits(const NimbVariableBits&) = delete;
    NimbVariableBits& operator=(const NimbVariableBits&) = delete;

private:
    NimbHost& m_host;
    const wchar_t* m_name;
    short m_previous = 0;
};
