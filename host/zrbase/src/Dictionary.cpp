#include "zrbase/ZrRxDictionary.h"

#include <mutex>

ZRRX_DEFINE_MEMBERS(ZrRxDictionary, ZrRxObject, [] { return static_cast<ZrRxObject*>(new ZrRxDictionary); })

ZrRxDictionary::~ZrRxDictionary()
{
    for (auto& entry : m_entries)
        zrrxRelease(entry.second);
}

ZrRxObject* ZrRxDictionary::at(const wchar_t* key) const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    auto found = m_entries.find(key ? key : L"");
    return found == m_entries.end() ? nullptr : found->second;
}

ZrRxObject* ZrRxDictionary::atPut(const wchar_t* key, ZrRxObject* object)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    ZrRxObject*& slot = m_entries[key ? key : L""];
    ZrRxObject* previous = slot;
    slot = object;
    if (!object)
        m_entries.erase(key ? key : L"");
    return previous;
}

ZrRxObject* ZrRxDictionary::remove(const wchar_t* key)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    auto found = m_entries.find(key ? key : L"");
    if (found == m_entries.end())
        return nullptr;
    ZrRxObject* object = found->second;
    m_entries.erase(found);
    return object;
}

std::vector<std::wstring> ZrRxDictionary::keys() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    std::vector<std::wstring> result;
    for (const auto& entry : m_entries)
        result.push_back(entry.first);
    return result;
}

ZrRxDictionary* zrrxSysRegistry()
{
    // Never destroyed: modules may still look things up while the process ends.
    static ZrRxDictionary* registry = new ZrRxDictionary;
    return registry;
}

namespace {
ZrRxDictionary& services()
{
    static ZrRxDictionary* table = new ZrRxDictionary;
    return *table;
}
std::wstring serviceKey(int number) { return std::to_wstring(number); }
} // namespace

ZrRxObject* zrrxGetService(int serviceNumber) { return services().at(serviceKey(serviceNumber).c_str()); }

void zrrxRegisterService(int serviceNumber, ZrRxObject* service)
{
    zrrxRelease(services().atPut(serviceKey(serviceNumber).c_str(), service));
}
