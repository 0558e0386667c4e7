#pragma once
// Shared ownership of host geometry in the builder record's layout.
#include <cstdint>
#include <new>
#include <utility>

#include <zrbase/ZrHeap.h>

// 16 bytes: the object, then a pointer to an int32 reference counter from
// zrrxAlloc(8). A new reference starts the counter at 1, every copy raises
// it, and the last holder deletes the object and frees the counter. The host
// builder follows the same rules on the references it receives. An empty
// reference is two null pointers.
template <typename T>
class SharedRef {
public:
    SharedRef() = default;
    // Takes ownership of object (which may be null: an empty reference).
    explicit SharedRef(T* object)
    {
        if (!object)
            return;
        m_counter = static_cast<std::int32_t*>(zrrxAlloc(8));
        if (!m_counter) {
            delete object;
            throw std::bad_alloc();
        }
        *m_counter = 1;
        m_object = object;
    }
    SharedRef(const SharedRef& other) : m_object(other.m_object), m_counter(other.m_counter) { retain(); }
    SharedRef(SharedRef&& other) noexcept : m_object(other.m_object), m_counter(other.m_counter)
    {
        other.m_object = nullptr;
        other.m_counter = nullptr;
    }
    SharedRef& operator=(SharedRef other) noexcept
    {
        std::swap(m_object, other.m_object);
        std::swap(m_counter, other.m_counter);
        return *this;
    }
    ~SharedRef() { reset(); }

    void reset()
    {
        if (m_counter && __atomic_sub_fetch(m_counter, 1, __ATOMIC_ACQ_REL) == 0) {
            delete m_object;
            zrrxFree(m_counter);
        }
        m_object = nullptr;
        m_counter = nullptr;
    }

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    int useCount() const { return m_counter ? __atomic_load_n(m_counter, __ATOMIC_ACQUIRE) : 0; }

private:
    void retain()
    {
        if (m_counter)
            __atomic_add_fetch(m_counter, 1, __ATOMIC_RELAXED);
    }

    T* m_object = nullptr;
    std::int32_t* m_counter = nullptr;
};

static_assert(sizeof(SharedRef<int>) == 16, "a shared reference is 16 bytes");
