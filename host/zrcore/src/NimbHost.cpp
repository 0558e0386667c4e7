#include "zrcore/NimbHost.h"

#include <unistd.h>

#include <iostream>
#include <stdexcept>

#include <zrbase/ZrCodePage.h>
#include <zrbase/ZrRxDictionary.h>
#include <zrbase/ZrRxDynamicLinker.h>
#include <zrbase/ZrRxThreadPoolService.h>
#include <zrbase/ZrString.h>
#include <zrdb/ZrDbBody.h>
#include <zrdb/ZrDbEntity.h>
#include <zrdb/ZrDbHostAppServices.h>
#include <zrdb/ZrDbSymbolTable.h>

#include "zrcore/CQsSystem.h"
#include "zrcore/NimbFileChecks.h"
#include "zrcore/ZrDocumentService.h"
#include "zrcore/ZrEdCommandStack.h"
#include "zrcore/zredvars.h"

ZRRX_DEFINE_MEMBERS(ZrDocumentService, ZrRxObject, nullptr)

namespace {

NimbHost* g_host = nullptr;

const wchar_t* const kLinkerKey = L"DynamicLinker";
const wchar_t* const kCommandsKey = L"ACRX_REGISTERED_COMMANDS";
const wchar_t* const kPoolKey = L"ZrRxThreadPoolService";

// Room left around the drawing when a view is fitted to it.
constexpr double kViewMargin = 1.05;

using ImportFileExport = int (*)(const char* path, ZrDbDatabase** database);

class HostCommandNames : public CQsCommandNameService {
public:
    explicit HostCommandNames(const NimbHost& host) : m_host(host) {}
    bool isHostCommand(const wchar_t* name) const override
    {
        for (const std::wstring& own : m_host.options().hostCommands)
            if (ZrString(own).compareNoCase(name) == 0)
                return true;
        return false;
    }

private:
    const NimbHost& m_host;
};

class HostImportActions : public CQsImportActionService {
public:
    explicit HostImportActions(NimbHost& host) : m_host(host) {}
    bool runAction(int actionCode) override { return m_host.runImportAction(actionCode); }

private:
    NimbHost& m_host;
};

class HostSystem : public CQsSystem {
public:
    explicit HostSystem(NimbHost& host) : m_names(host), m_actions(host) {}
    CQsCommandNameService* commandNameService() override { return &m_names; }
    CQsImportActionService* importActionService() override { return &m_actions; }

private:
    HostCommandNames m_names;
    HostImportActions m_actions;
};

class HostDocuments : public ZrDocumentManager {
public:
    explicit HostDocuments(NimbHost& host) : m_host(host) {}
    ZrDbObjectId receivingSpaceId(ZrDbDatabase* db) const override
    {
        return db ? db->modelSpaceId() : ZrDbObjectId();
    }
    Nimb::ErrorStatus openDatabaseAsDocument(ZrDbDatabase* db, const wchar_t* name, int mode, int flags,
                                             bool readOnly, int /*history*/) override
    {
        return m_host.openDocument(db, name ? name : L"", mode, flags, readOnly);
    }

private:
    NimbHost& m_host;
};

class HostDocumentService : public ZrDocumentService {
public:
    explicit HostDocumentService(NimbHost& host) : m_documents(host) {}
    ZrDocumentManager* manager() override { return &m_documents; }

    // Fits the view to model space, looking straight down, keeping the
    // viewport's proportions.
    Nimb::ErrorStatus takeActiveViewport(ZrDbViewportTableRecord* viewport) override
    {
        if (!viewport)
            return Nimb::eNullObjectPointer;
        if (!viewport->isWriteEnabled())
            return Nimb::eNotOpenForWrite;
        ZrDbExtents extents;
        if (!zrdbModelSpaceExtents(viewport->database(), extents))
            return Nimb::eOk;
        const double aspect = viewport->width() / viewport->height();
        const double dx = extents.maxPoint().x - extents.minPoint().x;
        const double dy = extents.maxPoint().y - extents.minPoint().y;
        double height = std::max(dy, dx / aspect) * kViewMargin;
        if (!(height > 0.0))
            height = 1.0;
        return viewport->setView((extents.minPoint().x + extents.maxPoint().x) / 2,
                                 (extents.minPoint().y + extents.maxPoint().y) / 2, height * aspect, height);
    }

private:
    HostDocuments m_documents;
};

} // namespace

struct NimbHost::Services {
    explicit Services(NimbHost& host) : system(host) {}
    HostSystem system;
    ZrRxDynamicLinker* linker = nullptr;        // held by the registry
    ZrEdCommandStack* commands = nullptr;       // held by the registry
};

NimbHost::NimbHost(NimbHostOptions options) : m_options(std::move(options)), m_services(new Services(*this))
{
    if (g_host)
        throw std::logic_error("a host is already running in this process");
    g_host = this;

    ZrRxDictionary* registry = zrrxSysRegistry();
    m_services->linker = new ZrRxDynamicLinker;
    zrrxRelease(registry->atPut(kLinkerKey, m_services->linker));
    m_services->commands = new ZrEdCommandStack;
    zrrxRelease(registry->atPut(kCommandsKey, m_services->commands));
    if (m_options.threadPool)
        zrrxRelease(registry->atPut(kPoolKey, new ZrRxThreadPoolService(m_options.threads)));
    zrrxRegisterService(ZrDocumentService::kServiceNumber, new HostDocumentService(*this));
    zrrxRegisterService(ZrDbModelerService::kServiceNumber, new ZrDbModelerService);

    zrSetAnsiCodePage(m_options.codePage);
    zrdbHostApplicationServices()->setMeasurementDefault(m_options.measurement);
    m_variables = {{L"CMDACTIVE", 0}, {L"MEASUREINIT", m_options.measurement}};

    ZrDbDatabasePtr drawing = zrdbHostApplicationServices()->createDatabase(true, m_options.measurement != 0);
    openDocument(drawing.get(), L"Drawing1.dwg", 0, 1, false);
}

NimbHost::~NimbHost()
{
    if (m_plugin)
        unloadPlugin();
    m_documents.clear();
    zrrxRegisterService(ZrDocumentService::kServiceNumber, nullptr);
    zrrxRegisterService(ZrDbModelerService::kServiceNumber, nullptr);
    ZrRxDictionary* registry = zrrxSysRegistry();
    for (const wchar_t* key : {kPoolKey, kCommandsKey, kLinkerKey})
        zrrxRelease(registry->remove(key));
    zrSetAnsiCodePage(0);
    g_host = nullptr;
}

NimbHost* NimbHost::current() { return g_host; }

void NimbHost::message(const std::string& text) const
{
    if (m_messages)
        m_messages(text);
    else
        std::cerr << "nimb: " << text << '\n';
}

Nimb::ErrorStatus NimbHost::loadPlugin(const std::wstring& path, std::string& error)
{
    if (m_plugin) {
        error = "a plug-in is already loaded";
        return Nimb::eDuplicateKey;
    }
    return m_services->linker->loadModule(path, m_plugin, error);
}

Nimb::ErrorStatus NimbHost::unloadPlugin()
{
    if (!m_plugin)
        return Nimb::eModuleNotFound;
    Nimb::ErrorStatus status = m_services->linker->unloadModule(m_plugin);
    m_plugin = nullptr;
    return status;
}

void* NimbHost::pluginSymbol(const char* name) const { return m_services->linker->moduleSymbol(m_plugin, name); }

ZrEdCommandStack* NimbHost::commandStack() const { return m_services->commands; }

Nimb::ErrorStatus NimbHost::runCommand(const std::wstring& name, std::string& error)
{
    const ZrEdCommand* command = m_services->commands->lookupCmd(name.c_str());
    if (!command) {
        error = "unknown command: " + ZrString(name).utf8();
        return Nimb::eKeyNotFound;
    }
    short active = 0;
    getVariable(L"CMDACTIVE", active);
    if ((command->flags & ZrEd::kModal) && (active & 0x01)) {
        error = "another command is active";
        return Nimb::eBusy;
    }
    NimbVariableBits running(*this, L"CMDACTIVE", (command->flags & ZrEd::kTransparent) ? 0x02 : 0x01);
    try {
        command->function();
    } catch (const std::exception& e) {
        error = "command " + ZrString(name).utf8() + " failed: " + e.what();
        return Nimb::eCommandFailed;
    } catch (...) {
        error = "command " + ZrString(name).utf8() + " failed";
        return Nimb::eCommandFailed;
    }
    return Nimb::eOk;
}

Nimb::ErrorStatus NimbHost::openDocument(ZrDbDatabase* db, const std::wstring& name, int mode, int flags,
                                         bool readOnly)
{
    if (!db)
        return Nimb::eNullObjectPointer;
    NimbDocument document{name, ZrDbDatabasePtr(db), flags, readOnly};
    if (mode == 1 && !m_documents.empty()) {
        m_documents[m_current] = std::move(document);
        return Nimb::eOk;
    }
    m_documents.push_back(std::move(document));
    if ((flags & 0x01) || m_documents.size() == 1)
        m_current = m_documents.size() - 1;
    return Nimb::eOk;
}

bool NimbHost::runImportAction(int actionCode)
{
    if (actionCode != CQs::kImportStep && actionCode != CQs::kImportIges) {
        message("unknown action " + std::to_string(actionCode));
        return false;
    }
    const std::wstring path = m_filePrompt ? m_filePrompt(actionCode) : std::wstring();
    if (path.empty())
        return false;
    const std::string file = ZrString(path).utf8();
    const std::string problem = nimbWhyNotImportable(file);
    if (!problem.empty()) {
        message(nimbCannotOpen(file, problem));
        return false;
    }
    auto import = reinterpret_cast<ImportFileExport>(pluginSymbol("nimbImportFile"));
    if (!import) {
        message("no loaded plug-in imports files");
        return false;
    }
    NimbVariableBits busy(*this, L"CMDACTIVE", 0x20);
    ZrDbDatabase* drawing = currentDatabase();
    const int referencesBefore = drawing->referenceCount();
    ZrDbDatabase* handedBack = drawing;
    import(ZrString(path).utf8().c_str(), &handedBack);
    // The import hands back a reference to the drawing it worked on; the
    // document keeps its own.
    if (handedBack == drawing) {
        while (drawing->referenceCount() > referencesBefore)
            releaseDb(drawing);
    } else {
        message("the import handed back another database than the drawing");
    }
    return true;
}

bool NimbHost::getVariable(const std::wstring& name, short& value) const
{
    for (const auto& variable : m_variables)
        if (ZrString(variable.first).compareNoCase(name.c_str()) == 0) {
            value = variable.second;
            return true;
        }
    return false;
}

void NimbHost::setVariable(const std::wstring& name, short value)
{
    for (auto& variable : m_variables)
        if (ZrString(variable.first).compareNoCase(name.c_str()) == 0) {
            variable.second = value;
            return;
        }
    m_variables.emplace_back(name, value);
}

NimbVariableBits::NimbVariableBits(NimbHost& host, const wchar_t* name, short bits) : m_host(host), m_name(name)
{
    m_host.getVariable(m_name, m_previous);
    m_host.setVariable(m_name, static_cast<short>(m_previous | bits));
}

NimbVariableBits::~NimbVariableBits() { m_host.setVariable(m_name, m_previous); }

CQsSystem* NimbHost::systemObject() { return m_options.systemObject ? &m_services->system : nullptr; }

CQsSystem* CQsSystem::instance() { return g_host ? g_host->systemObject() : nullptr; }

int zredGetVar(const wchar_t* name, resbuf* result)
{
    short value = 0;
    if (!result || !name || !g_host || !g_host->getVariable(name, value))
        return ZR_RTERROR;
    result->rbnext = nullptr;
    result->restype = ZR_RTSHORT;
    result->resval.rint = value;
    return ZR_RTNORM;
}
