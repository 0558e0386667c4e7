#include "zrdb/ZrDbObject.h"

#include <zrbase/ZrString.h>

#include "zrdb/ZrDbDatabase.h"

const ZrDbObjectId ZrDbObjectId::kNull;

bool ZrDbObjectId::isValid() const { return m_stub && m_stub->object; }
bool ZrDbObjectId::isErased() const { return isValid() && m_stub->object->isErased(); }
ZrDbDatabase* ZrDbObjectId::database() const { return m_stub ? m_stub->database : nullptr; }
std::uint64_t ZrDbObjectId::handle() const { return m_stub ? m_stub->handle : 0; }
const ZrRxClass* ZrDbObjectId::objectClass() const { return isValid() ? m_stub->object->isA() : nullptr; }

ZRRX_DEFINE_MEMBERS(ZrDbObject, ZrRxObject, nullptr)

namespace {
constexpr int kMaxReaders = 256;
}

ZrDbObject::~ZrDbObject()
{
    // The database detaches its objects before it deletes them, so a stub
    // still set here means someone deleted an object the database owns.
    if (m_stub) {
        report("an object owned by the database was deleted");
        m_stub->object = nullptr;
    }
}

ZrDbObjectId ZrDbObject::objectId() const { return ZrDbObjectId(m_stub); }
ZrDbDatabase* ZrDbObject::database() const { return m_stub ? m_stub->database : nullptr; }
bool ZrDbObject::isReadEnabled() const { return !m_stub || m_readers > 0 || m_writer; }
bool ZrDbObject::isWriteEnabled() const { return !m_stub || m_writer; }

void ZrDbObject::attachToDatabase(ZrDbStub* stub, ZrDbObjectId owner)
{
    m_stub = stub;
    m_owner = owner;
    m_readers = 0;
    m_writer = true;
}

void ZrDbObject::report(const std::string& problem) const
{
    if (ZrDbDatabase* db = database())
        db->reportError(problem + " (" + ZrString(isA()->name()).utf8() + ", handle " +
                        std::to_string(objectId().handle()) + ")");
}

bool ZrDbObject::assertReadEnabled(const char* operation) const
{
    if (isReadEnabled())
        return true;
    report(std::string(operation) + ": object is not open");
    return false;
}

bool ZrDbObject::assertWriteEnabled(const char* operation) const
{
    if (isWriteEnabled())
        return true;
    report(std::string(operation) + ": object is not open for write");
    return false;
}

Nimb::ErrorStatus ZrDbObject::openAs(ZrDb::OpenMode mode, bool openErased)
{
    if (m_erased && !openErased)
        return Nimb::eWasErased;
    if (m_writer)
        return Nimb::eWasOpenForWrite;
    if (mode == ZrDb::kForWrite) {
        if (m_readers > 0)
            return Nimb::eWasOpenForRead;
        m_writer = true;
        return Nimb::eOk;
    }
    if (m_readers >= kMaxReaders)
        return Nimb::eAtMaxReaders;
    ++m_readers;
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbObject::close()
{
    if (!m_stub)
        return Nimb::eOk;
    if (m_writer) {
        m_writer = false;
        return Nimb::eOk;
    }
    if (m_readers > 0) {
        --m_readers;
        return Nimb::eOk;
    }
    report("close: object is not open");
    return Nimb::eWasNotOpen;
}

Nimb::ErrorStatus ZrDbObject::upgradeOpen()
{
    if (!m_stub || m_writer)
        return Nimb::eOk;
    if (m_readers != 1)
        return m_readers == 0 ? Nimb::eWasNotOpen : Nimb::eWasOpenForRead;
    m_readers = 0;
    m_writer = true;
    return Nimb::eOk;
}

Nimb::ErrorStatus ZrDbObject::erase(bool erasing)
{
    if (!m_stub)
        return Nimb::eNotInDatabase;
    if (!assertWriteEnabled("erase"))
        return Nimb::eNotOpenForWrite;
    m_erased = erasing;
    return Nimb::eOk;
}

Nimb::ErrorStatus zrdbOpenObject(ZrDbObject*& obj, ZrDbObjectId id, ZrDb::OpenMode mode, bool openErased)
{
    obj = nullptr;
    if (id.isNull())
        return Nimb::eNullObjectId;
    if (!id.isValid())
        return Nimb::ePermanentlyErased;
    ZrDbObject* object = id.stub()->object;
    Nimb::ErrorStatus status = object->openAs(mode, openErased);
    if (status == Nimb::eOk)
        obj = object;
    return status;
}
