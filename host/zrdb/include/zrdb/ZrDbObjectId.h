#pragma once
// Identifies one object of a drawing database.
#include <cstdint>

class ZrDbDatabase;
class ZrDbObject;
class ZrRxClass;
struct ZrDbStub;

class ZrDbObjectId {
public:
    ZrDbObjectId() = default;
    explicit ZrDbObjectId(ZrDbStub* stub) : m_stub(stub) {}

    static const ZrDbObjectId kNull;

    bool isNull() const { return m_stub == nullptr; }
    // True when the id names an object that still exists, erased or not.
    bool isValid() const;
    bool isErased() const;
    ZrDbDatabase* database() const;
    // The object's handle: unique in its database, never reused.
    std::uint64_t handle() const;
    // Class of the object, or null for an invalid id. Needs no open.
    const ZrRxClass* objectClass() const;

    ZrDbStub* stub() const { return m_stub; }
    friend bool operator==(ZrDbObjectId a, ZrDbObjectId b) { return a.m_stub == b.m_stub; }
    friend bool operator!=(ZrDbObjectId a, ZrDbObjectId b) { return a.m_stub != b.m_stub; }
    friend bool operator<(ZrDbObjectId a, ZrDbObjectId b) { return a.handle() < b.handle(); }

private:
    ZrDbStub* m_stub = nullptr;
};
