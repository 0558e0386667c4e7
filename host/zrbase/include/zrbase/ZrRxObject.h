#pragma once
// Runtime classes and reference counting of host objects.
#include <atomic>
#include <exception>
#include <string>

#include "ZrErrorStatus.h"

class ZrRxObject;

// Describes one runtime class: its name, its parent and how to make an instance.
class ZrRxClass {
public:
    using Constructor = ZrRxObject* (*)();

    ZrRxClass(const wchar_t* name, const ZrRxClass* parent, Constructor constructor);
    ZrRxClass(const ZrRxClass&) = delete;
    ZrRxClass& operator=(const ZrRxClass&) = delete;

    const wchar_t* name() const { return m_name; }
    const ZrRxClass* myParent() const { return m_parent; }
    bool isDerivedFrom(const ZrRxClass* other) const;
    // A new instance made with the class's constructor, or null for an
    // abstract class. The caller owns the new object.
    ZrRxObject* create() const;

private:
    const wchar_t* m_name;
    const ZrRxClass* m_parent;
    Constructor m_constructor;
};

namespace ZrRx {
enum Ordering { kLessThan = -1, kEqual = 0, kGreaterThan = 1, kNotOrderable = 2 };
}

// Declares the runtime-class members of a class derived from ZrRxObject.
#define ZRRX_DECLARE_MEMBERS(CLASS)                        \
    static const ZrRxClass* desc();                        \
    static CLASS* cast(const ZrRxObject* object);          \
    const ZrRxClass* isA() const override

// Defines them. CONSTRUCTOR is a function returning a new instance, or
// nullptr for an abstract class.
#define ZRRX_DEFINE_MEMBERS(CLASS, PARENT, CONSTRUCTOR)                           \
    const ZrRxClass* CLASS::desc()                                                \
    {                                                                             \
        static const ZrRxClass theClass(L## #CLASS, PARENT::desc(), CONSTRUCTOR); \
        return &theClass;                                                         \
    }                                                                             \
    CLASS* CLASS::cast(const ZrRxObject* object)                                  \
    {                                                                             \
        return object && object->isKindOf(desc())                                 \
                   ? static_cast<CLASS*>(const_cast<ZrRxObject*>(object))         \
                   : nullptr;                                                     \
    }                                                                             \
    const ZrRxClass* CLASS::isA() const { return desc(); }

// Base of every host object and of plug-in objects the host drives.
//
// Reference counting: a new object carries one reference, its creator's.
// zrrxAddRef adds one, zrrxRelease drops one and deletes the object when none
// is left. Objects that live on the stack or inside another object are never
// released; their owner simply destroys them.
class ZrRxObject {
public:
    ZrRxObject() = default;
    // A copy is a new object: it starts with its own single reference.
    ZrRxObject(const ZrRxObject&) : m_references(1) {}
    ZrRxObject& operator=(const ZrRxObject&) { return *this; }
    virtual ~ZrRxObject() = default;

    static const ZrRxClass* desc();
    static ZrRxObject* cast(const ZrRxObject* object) { return const_cast<ZrRxObject*>(object); }

    // The six inherited operations.
    virtual const ZrRxClass* isA() const;
    // A new object of the same class with this one's content (through
    // copyFrom), or null when the class cannot be created or copied.
    virtual ZrRxObject* clone() const;
    virtual Nimb::ErrorStatus copyFrom(const ZrRxObject* other);
    // Identity unless a class knows better.
    virtual bool isEqualTo(const ZrRxObject* other) const;
    virtual ZrRx::Ordering comparedTo(const ZrRxObject* other) const;
    // Hook for queryX: an object may answer for a class it is not derived
    // from by handing out a related object. Null by default.
    virtual ZrRxObject* subQueryX(const ZrRxClass* wanted) const;

    bool isKindOf(const ZrRxClass* wanted) const;
    // This object when it is of the wanted class, else what subQueryX gives.
    ZrRxObject* queryX(const ZrRxClass* wanted) const;

    int referenceCount() const { return m_references.load(); }

private:
    friend void zrrxAddRef(ZrRxObject*);
    friend void zrrxRelease(ZrRxObject*);
    std::atomic<int> m_references{1};
};

void zrrxAddRef(ZrRxObject* object);
void zrrxRelease(ZrRxObject* object);

// Holds one reference and drops it when it goes.
class ZrRxObjectPtr {
public:
    ZrRxObjectPtr() = default;
    // Takes over a reference the caller already holds.
    explicit ZrRxObjectPtr(ZrRxObject* adopted) : m_object(adopted) {}
    ZrRxObjectPtr(const ZrRxObjectPtr& other);
    ZrRxObjectPtr(ZrRxObjectPtr&& other) noexcept : m_object(other.m_object) { other.m_object = nullptr; }
    ZrRxObjectPtr& operator=(ZrRxObjectPtr other) noexcept;
    ~ZrRxObjectPtr();

    ZrRxObject* get() const { return m_object; }
    ZrRxObject* operator->() const { return m_object; }
    bool isNull() const { return m_object == nullptr; }
    explicit operator bool() const { return m_object != nullptr; }
    // Hands the reference to the caller.
    ZrRxObject* detach();

private:
    ZrRxObject* m_object = nullptr;
};

// Thrown when an object is not of the class an operation needs.
class ZrError_NotThatKindOfClass : public std::exception {
public:
    ZrError_NotThatKindOfClass(const ZrRxClass* actual, const ZrRxClass* wanted);
    const char* what() const noexcept override { return m_message.c_str(); }
    const ZrRxClass* actualClass() const { return m_actual; }
    const ZrRxClass* wantedClass() const { return m_wanted; }

private:
    const ZrRxClass* m_actual;
    const ZrRxClass* m_wanted;
    std::string m_message;
};
