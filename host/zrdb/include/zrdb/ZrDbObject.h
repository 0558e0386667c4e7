#pragma once
// Objects of a drawing database and how they are opened and closed.
//
// An object in a database is reached through its id and must be opened to be
// used: any number of times for read, or once for write, never both at once.
// Every open is matched by one close. Reading an object that is not open for
// read or write, changing one not open for write, and closing one not open
// are errors the database records (reportedErrors) and refuses.
//
// A new object that is not yet in a database belongs to whoever made it and
// may be used freely; close on it does nothing. Adding it to a database
// (symbol table add, appendZrDbEntity) passes it to the database, open for
// write; from then on the database deletes it.
#include <string>

#include <zrbase/ZrHeap.h>
#include <zrbase/ZrRxObject.h>

#include "ZrDbObjectId.h"

namespace ZrDb {
enum OpenMode { kForRead = 0, kForWrite = 1 };
}

class ZrDbObject : public ZrRxObject, public ZrHeapOperators {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbObject);
    ~ZrDbObject() override;

    ZrDbObjectId objectId() const;
    ZrDbObjectId ownerId() const { return m_owner; }
    ZrDbDatabase* database() const;
    bool isNewObject() const { return m_stub == nullptr; }
    bool isErased() const { return m_erased; }
    bool isReadEnabled() const;
    bool isWriteEnabled() const;
    bool isOpen() const { return m_readers > 0 || m_writer; }

    // Marks the object erased (or brings it back). Needs write.
    Nimb::ErrorStatus erase(bool erasing = true);
    Nimb::ErrorStatus close();
    // From read (the only reader) to write.
    Nimb::ErrorStatus upgradeOpen();

    // Host-internal: links the object to its database entry.
    void attachToDatabase(ZrDbStub* stub, ZrDbObjectId owner);
    Nimb::ErrorStatus openAs(ZrDb::OpenMode mode, bool openErased);

protected:
    ZrDbObject() = default;
    // Guards for accessors and modifiers of derived classes. A violation is
    // reported to the database with the operation's name.
    bool assertReadEnabled(const char* operation) const;
    bool assertWriteEnabled(const char* operation) const;
    // value, after checking the object is open for read (see assertReadEnabled).
    template <class T>
    T readable(const char* operation, T value) const
    {
        assertReadEnabled(operation);
        return value;
    }

private:
    void report(const std::string& problem) const;

    ZrDbStub* m_stub = nullptr;
    ZrDbObjectId m_owner;
    int m_readers = 0;
    bool m_writer = false;
    bool m_erased = false;
};

// Opens the object of id. On success obj points to it; it must be closed.
//   eNullObjectId       the id is null
//   ePermanentlyErased  the object no longer exists
//   eWasErased          the object is erased and openErased is false
//   eWasOpenForWrite    it is open for write (any second open fails)
//   eWasOpenForRead     write asked while it is open for read
//   eAtMaxReaders       read asked while it is open for read 256 times
Nimb::ErrorStatus zrdbOpenObject(ZrDbObject*& obj, ZrDbObjectId id, ZrDb::OpenMode mode, bool openErased = false);

// The same with a class check: eNotThatKindOfClass when the object is not a T.
template <class T>
Nimb::ErrorStatus zrdbOpenObject(T*& obj, ZrDbObjectId id, ZrDb::OpenMode mode, bool openErased = false)
{
    obj = nullptr;
    const ZrRxClass* objectClass = id.objectClass();
    if (objectClass && !objectClass->isDerivedFrom(T::desc()))
        return Nimb::eNotThatKindOfClass;
    ZrDbObject* opened = nullptr;
    Nimb::ErrorStatus status = zrdbOpenObject(opened, id, mode, openErased);
    if (status == Nimb::eOk)
        obj = static_cast<T*>(opened);
    return status;
}
