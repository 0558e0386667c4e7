#include "zrbase/ZrRxObject.h"

#include "zrbase/ZrString.h"

ZrRxClass::ZrRxClass(const wchar_t* name, const ZrRxClass* parent, Constructor constructor)
    : m_name(name), m_parent(parent), m_constructor(constructor)
{
}

bool ZrRxClass::isDerivedFrom(const ZrRxClass* other) const
{
    for (const ZrRxClass* c = this; c; c = c->m_parent)
        if (c == other)
            return true;
    return false;
}

ZrRxObject* ZrRxClass::create() const { return m_constructor ? m_constructor() : nullptr; }

const ZrRxClass* ZrRxObject::desc()
{
    static const ZrRxClass theClass(L"ZrRxObject", nullptr, nullptr);
    return &theClass;
}

const ZrRxClass* ZrRxObject::isA() const { return desc(); }

ZrRxObject* ZrRxObject::clone() const
{
    ZrRxObject* copy = isA()->create();
    if (copy && copy->copyFrom(this) != Nimb::eOk) {
        delete copy;
        copy = nullptr;
    }
    return copy;
}

Nimb::ErrorStatus ZrRxObject::copyFrom(const ZrRxObject*) { return Nimb::eNotApplicable; }
bool ZrRxObject::isEqualTo(const ZrRxObject* other) const { return this == other; }

ZrRx::Ordering ZrRxObject::comparedTo(const ZrRxObject* other) const
{
    return this == other ? ZrRx::kEqual : ZrRx::kNotOrderable;
}

ZrRxObject* ZrRxObject::subQueryX(const ZrRxClass*) const { return nullptr; }

bool ZrRxObject::isKindOf(const ZrRxClass* wanted) const { return isA()->isDerivedFrom(wanted); }

ZrRxObject* ZrRxObject::queryX(const ZrRxClass* wanted) const
{
    if (isKindOf(wanted))
        return const_cast<ZrRxObject*>(this);
    return subQueryX(wanted);
}

void zrrxAddRef(ZrRxObject* object)
{
    if (object)
        object->m_references.fetch_add(1, std::memory_order_relaxed);
}

void zrrxRelease(ZrRxObject* object)
{
    if (object && object->m_references.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete object;
}

ZrRxObjectPtr::ZrRxObjectPtr(const ZrRxObjectPtr& other) : m_object(other.m_object) { zrrxAddRef(m_object); }

ZrRxObjectPtr& ZrRxObjectPtr::operator=(ZrRxObjectPtr other) noexcept
{
    std::swap(m_object, other.m_object);
    return *this;
}

ZrRxObjectPtr::~ZrRxObjectPtr() { zrrxRelease(m_object); }

ZrRxObject* ZrRxObjectPtr::detach()
{
    ZrRxObject* object = m_object;
    m_object = nullptr;
    return object;
}

namespace {
std::string className(const ZrRxClass* c) { return c ? ZrString(c->name()).utf8() : std::string("(none)"); }
}

ZrError_NotThatKindOfClass::ZrError_NotThatKindOfClass(const ZrRxClass* actual, const ZrRxClass* wanted)
    : m_actual(actual), m_wanted(wanted),
      m_message("object of class " + className(actual) + " is not a " + className(wanted))
{
}
