#pragma once
// The host's growable array. Records handed between the host and plug-ins
// are made of these, so the layout is fixed at 24 bytes:
//
//   offset 0   pointer to the first element
//   offset 8   physical length (capacity), int32
//   offset 12  logical length (number of elements), int32
//   offset 16  grow length, int32; 8 in an array made empty
//   offset 20  padding
//
// Element storage comes from zrrxAlloc, so whichever side ends up owning an
// array may grow or free it. Elements are constructed and destroyed properly;
// element types must be movable without throwing.
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

#include "ZrHeap.h"

template <typename T>
class ZrArray {
public:
    static constexpr int kDefaultGrowLength = 8;

    ZrArray() = default;
    // An empty array with room for physicalLength elements.
    explicit ZrArray(int physicalLength, int growLength = kDefaultGrowLength) : m_grow(growLength)
    {
        if (physicalLength > 0)
            setPhysicalLength(physicalLength);
    }
    ZrArray(const ZrArray& other) : m_grow(other.m_grow) { appendAll(other); }
    ZrArray(ZrArray&& other) noexcept
        : m_data(other.m_data), m_physical(other.m_physical), m_logical(other.m_logical), m_grow(other.m_grow)
    {
        other.m_data = nullptr;
        other.m_physical = other.m_logical = 0;
    }
    ZrArray& operator=(const ZrArray& other)
    {
        if (this != &other) {
            setLogicalLength(0);
            m_grow = other.m_grow;
            appendAll(other);
        }
        return *this;
    }
    ZrArray& operator=(ZrArray&& other) noexcept
    {
        if (this != &other) {
            release();
            m_data = other.m_data;
            m_physical = other.m_physical;
            m_logical = other.m_logical;
            m_grow = other.m_grow;
            other.m_data = nullptr;
            other.m_physical = other.m_logical = 0;
        }
        return *this;
    }
    ~ZrArray() { release(); }

    int length() const { return m_logical; }
    int logicalLength() const { return m_logical; }
    int physicalLength() const { return m_physical; }
    int growLength() const { return m_grow; }
    void setGrowLength(int growLength) { m_grow = growLength > 0 ? growLength : 1; }
    bool isEmpty() const { return m_logical == 0; }

    T& operator[](int index) { return m_data[index]; }
    const T& operator[](int index) const { return m_data[index]; }
    T& at(int index) { return m_data[index]; }
    const T& at(int index) const { return m_data[index]; }
    T& first() { return m_data[0]; }
    const T& first() const { return m_data[0]; }
    T& last() { return m_data[m_logical - 1]; }
    const T& last() const { return m_data[m_logical - 1]; }
    T* asArrayPtr() { return m_data; }
    const T* asArrayPtr() const { return m_data; }
    T* begin() { return m_data; }
    T* end() { return m_data + m_logical; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_logical; }

    // Appends at the logical end and returns the new element's index. The
    // value may be an element of this array.
    int append(const T& value) { return emplace(value); }
    int append(T&& value) { return emplace(std::move(value)); }
    template <typename... Args>
    int emplace(Args&&... args)
    {
        if (m_logical == m_physical) {
            const int capacity = grownCapacity(m_logical + 1);
            T* data = allocate(capacity);
            // Build the new element first: the arguments may live in the old block.
            new (data + m_logical) T(std::forward<Args>(args)...);
            relocate(data, capacity);
        } else {
            new (m_data + m_logical) T(std::forward<Args>(args)...);
        }
        return m_logical++;
    }

    bool contains(const T& value) const { return find(value) >= 0; }
    // Index of the first element equal to value, or -1.
    int find(const T& value) const
    {
        for (int i = 0; i < m_logical; ++i)
            if (m_data[i] == value)
                return i;
        return -1;
    }

    void removeAt(int index)
    {
        for (int i = index; i + 1 < m_logical; ++i)
            m_data[i] = std::move(m_data[i + 1]);
        m_data[--m_logical].~T();
    }
    void removeLast() { m_data[--m_logical].~T(); }
    void reverse()
    {
        for (int i = 0, j = m_logical - 1; i < j; ++i, --j)
            std::swap(m_data[i], m_data[j]);
    }

    // Shrinking destroys the elements past the new end; growing adds
    // default-made elements.
    ZrArray& setLogicalLength(int length)
    {
        if (length < 0)
            length = 0;
        while (m_logical > length)
            m_data[--m_logical].~T();
        if (length > m_physical)
            setPhysicalLength(length);
        while (m_logical < length)
            new (m_data + m_logical++) T();
        return *this;
    }
    ZrArray& removeAll() { return setLogicalLength(0); }

    // Never below the logical length.
    ZrArray& setPhysicalLength(int capacity)
    {
        if (capacity < m_logical)
            capacity = m_logical;
        if (capacity != m_physical)
            relocate(allocate(capacity), capacity);
        return *this;
    }

private:
    // Growth adds the grow length, or half the current capacity when that is
    // more, so that long runs of appends stay linear.
    int grownCapacity(int needed) const
    {
        int step = m_grow > 0 ? m_grow : 1;
        if (m_physical / 2 > step)
            step = m_physical / 2;
        const int grown = m_physical + step;
        return grown > needed ? grown : needed;
    }
    static T* allocate(int capacity)
    {
        if (capacity == 0)
            return nullptr;
        void* block = zrrxAlloc(sizeof(T) * static_cast<std::size_t>(capacity));
        if (!block)
            throw std::bad_alloc();
        return static_cast<T*>(block);
    }
    // Moves the elements into data and takes it as the storage.
    void relocate(T* data, int capacity)
    {
        static_assert(std::is_nothrow_move_constructible<T>::value, "array elements must move without throwing");
        for (int i = 0; i < m_logical; ++i) {
            new (data + i) T(std::move(m_data[i]));
            m_data[i].~T();
        }
        zrrxFree(m_data);
        m_data = data;
        m_physical = capacity;
    }
    void appendAll(const ZrArray& other)
    {
        if (other.m_logical > m_physical)
            setPhysicalLength(other.m_logical);
        for (int i = 0; i < other.m_logical; ++i)
            new (m_data + m_logical++) T(other.m_data[i]);
    }
    void release()
    {
        setLogicalLength(0);
        zrrxFree(m_data);
        m_data = nullptr;
        m_physical = 0;
    }

    T* m_data = nullptr;
    std::int32_t m_physical = 0;
    std::int32_t m_logical = 0;
    std::int32_t m_grow = kDefaultGrowLength;
    std::int32_t m_padding = 0;
};

static_assert(sizeof(ZrArray<double>) == 24, "a host array is 24 bytes");

using ZrGeDoubleArray = ZrArray<double>;
using ZrGeIntArray = ZrArray<int>;
