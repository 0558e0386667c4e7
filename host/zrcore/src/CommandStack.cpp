#include "zrcore/ZrEdCommandStack.h"

#include <cwctype>

#include <zrbase/ZrString.h>

ZRRX_DEFINE_MEMBERS(ZrEdCommandStack, ZrRxObject, nullptr)

namespace {
bool isValidCommandName(const wchar_t* name)
{
    if (!name || !*name)
        return false;
    for (const wchar_t* c = name; *c; ++c)
        if (std::iswspace(static_cast<wint_t>(*c)))
            return false;
    return true;
}

bool sameName(const std::wstring& a, const wchar_t* b) { return ZrString(a).compareNoCase(b) == 0; }
} // namespace

Nimb::ErrorStatus ZrEdCommandStack::addCommand(const wchar_t* group, const wchar_t* globalName,
                                               const wchar_t* localName, int flags, ZrRxFunctionPtr function,
                                               ZrEdUIContext* uiContext, int helpId, ZrRxResourceInstance resources,
                                               ZrEdCommand** command)
{
    if (command)
        *command = nullptr;
    if (!isValidCommandName(group) || !isValidCommandName(globalName) || !isValidCommandName(localName))
        return Nimb::eInvalidInput;
    if (!function)
        return Nimb::eNullObjectPointer;
    if (lookupGlobalCmd(globalName) || lookupLocalCmd(localName))
        return Nimb::eDuplicateKey;
    auto entry = std::make_unique<ZrEdCommand>();
    entry->group = group;
    entry->globalName = globalName;
    entry->localName = localName;
    entry->flags = flags;
    entry->function = function;
    entry->uiContext = uiContext;
    entry->helpId = helpId;
    entry->resources = resources;
    if (command)
        *command = entry.get();
    m_commands.push_back(std::move(entry));
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrEdCommandStack::removeCmd(const wchar_t* group, const wchar_t* globalName)
{
    for (auto it = m_commands.begin(); it != m_commands.end(); ++it)
        if (sameName((*it)->group, group) && sameName((*it)->globalName, globalName)) {
            m_commands.erase(it);
            return Nimb::eOk;
        }
    return Nimb::eKeyNotFound;
}

Nimb::ErrorStatus ZrEdCommandStack::removeGroup(const wchar_t* group)
{
    const std::size_t before = m_commands.size();
    for (auto it = m_commands.begin(); it != m_commands.end();)
        it = sameName((*it)->group, group) ? m_commands.erase(it) : it + 1;
    return m_commands.size() == before ? Nimb::eKeyNotFound : Nimb::eOk;
}

const ZrEdCommand* ZrEdCommandStack::lookupGlobalCmd(const wchar_t* name) const
{
    for (const auto& command : m_commands)
        if (sameName(command->globalName, name))
            return command.get();
    return nullptr;
}

const ZrEdCommand* ZrEdCommandStack::lookupLocalCmd(const wchar_t* name) const
{
    for (const auto& command : m_commands)
        if (sameName(command->localName, name))
            return command.get();
    return nullptr;
}

const ZrEdCommand* ZrEdCommandStack::lookupCmd(const wchar_t* name) const
{
    const ZrEdCommand* command = lookupGlobalCmd(name);
    return command ? command : lookupLocalCmd(name);
}

std::vector<const ZrEdCommand*> ZrEdCommandStack::commands() const
{
    std::vector<const ZrEdCommand*> all;
    for (const auto& command : m_commands)
        all.push_back(command.get());
    return all;
}
