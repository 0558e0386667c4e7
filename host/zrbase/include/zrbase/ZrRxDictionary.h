#pragma once
// Named objects shared across the process, and the system registry that holds
// the host's services.
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ZrRxObject.h"

// A thread-safe map from names (compared exactly) to objects. The dictionary
// holds one reference to each object it stores.
class ZrRxDictionary : public ZrRxObject {
public:
    ZRRX_DECLARE_MEMBERS(ZrRxDictionary);
    ZrRxDictionary() = default;
    ~ZrRxDictionary() override;

    // The object under key, or null. The dictionary keeps its reference.
    ZrRxObject* at(const wchar_t* key) const;
    // Stores object (taking over the caller's reference) and returns the
    // object it replaces, whose reference passes to the caller, or null.
    ZrRxObject* atPut(const wchar_t* key, ZrRxObject* object);
    // Takes the object out; its reference passes to the caller. Null when absent.
    ZrRxObject* remove(const wchar_t* key);
    std::vector<std::wstring> keys() const;

private:
    mutable std::mutex m_mutex;
    std::map<std::wstring, ZrRxObject*> m_entries;
};

// The host's system registry. The host stores its services here under
// "DynamicLinker", "ACRX_REGISTERED_COMMANDS" and "ZrRxThreadPoolService".
ZrRxDictionary* zrrxSysRegistry();

// Numbered services (document service 3, modeler service 4, ...). Null for a
// number nobody registered. The registry holds one reference per service.
ZrRxObject* zrrxGetService(int serviceNumber);
// Registers (or, with null, removes) a service; the caller's reference passes
// to the registry, a replaced service is released.
void zrrxRegisterService(int serviceNumber, ZrRxObject* service);
