#pragma once
// Keeps a database object open for as long as it lives and closes it when it
// goes, so that every open has its close on every path.
#include "ZrDbObject.h"

template <class T>
class ZrDbObjectPtr {
public:
    // Opens the object of id (with the class check of zrdbOpenObject).
    ZrDbObjectPtr(ZrDbObjectId id, ZrDb::OpenMode mode, bool openErased = false)
        : m_status(zrdbOpenObject(m_object, id, mode, openErased))
    {
    }
    // Takes over an object the caller has opened (null: nothing).
    explicit ZrDbObjectPtr(T* opened) : m_object(opened), m_status(opened ? Nimb::eOk : Nimb::eNullObjectPointer) {}
    ~ZrDbObjectPtr()
    {
        if (m_object)
            m_object->close();
    }
    ZrDbObjectPtr(const ZrDbObjectPtr&) = delete;
    ZrDbObjectPtr& operator=(const ZrDbObjectPtr&) = delete;

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    // The result of the open.
    Nimb::ErrorStatus openStatus() const { return m_status; }
    // Closes now rather than when the pointer goes.
    Nimb::ErrorStatus close()
    {
        T* object = m_object;
        m_object = nullptr;
        return object ? object->close() : Nimb::eOk;
    }

private:
    T* m_object = nullptr;
    Nimb::ErrorStatus m_status;
};
