// Typed arrays of the base library: growth and index rules that callers rely on.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <new>
#include <utility>

#include "base/CMavObj.h"

// Untyped part of every array: length and capacity bookkeeping, and the growth rule.
class CMavArray : public CMavObj {
public:
    int len() const { return m_len; }
    bool isEmpty() const { return m_len == 0; }
    int physicalLength() const { return m_cap; }

    // The capacity an array of capacity `cap` grows to so that it holds `needed` elements: 0 becomes 8,
    // then doubling until it covers the need.
    static int grownCapacity(int cap, int needed);

protected:
    int m_len = 0;
    int m_cap = 0;
};

// Typed array indexed from 0.
//
// Index rules (operator[] and at()):
//  - 0 <= i < n: element i.
//  - negative i with -n <= i < 0 counts from the end when n >= 2; with n == 1 every negative index means 0;
//    on an empty array (or below -n) a shared default element is returned.
//  - i >= n on a writable array first extends the array to i + 1 elements (new ones default-constructed);
//    on a read-only (const) array it yields the shared default element.
// The shared default element of a writable access is reset to T() each time it is handed out, so a write through
// it never leaks into later reads.
template <class T>
class CMavArrayTempl : public CMavArray {
public:
    CMavArrayTempl() = default;
    CMavArrayTempl(std::initializer_list<T> items)
    {
        reserveExact(static_cast<int>(items.size()));
        for (const T& v : items)
            new (m_data + m_len++) T(v);
    }
    CMavArrayTempl(const CMavArrayTempl& other) { copyFrom(other); }
    CMavArrayTempl(CMavArrayTempl&& other) noexcept { take(other); }
    ~CMavArrayTempl() override { release(); }

    // Makes room for n elements in all, so that appending up to n moves nothing; the length stays.
    void reserve(int n)
    {
        if (n > 0)
            reserveFor(n);
    }

    CMavArrayTempl& operator=(const CMavArrayTempl& other)
    {
        if (this != &other) {
            CMavArrayTempl copy(other);
            swap(copy);
        }
        return *this;
    }
    CMavArrayTempl& operator=(CMavArrayTempl&& other) noexcept
    {
        if (this != &other) {
            release();
            take(other);
        }
        return *this;
    }

    void swap(CMavArrayTempl& other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_len, other.m_len);
        std::swap(m_cap, other.m_cap);
    }

    // Sets the length: new elements are default-constructed, surplus ones destroyed. Negative means 0.
    void setLogicalLength(int n)
    {
        if (n < 0)
            n = 0;
        if (n > m_len) {
            reserveFor(n);
            while (m_len < n)
                new (m_data + m_len++) T();
        } else {
            while (m_len > n)
                m_data[--m_len].~T();
        }
    }
    void setPhysicalLength(int n)
    {
        if (n > m_cap)
            reallocate(n);
    }

    int append(const T& v)
    {
        if (m_len == m_cap) {
            T copy(v); // v may live inside this array
            reserveFor(m_len + 1);
            new (m_data + m_len) T(std::move(copy));
        } else {
            new (m_data + m_len) T(v);
        }
        return m_len++;
    }
    int append(T&& v)
    {
        if (m_len == m_cap) {
            T moved(std::move(v));
            reserveFor(m_len + 1);
            new (m_data + m_len) T(std::move(moved));
        } else {
            new (m_data + m_len) T(std::move(v));
        }
        return m_len++;
    }
    // Appends all elements of another array (which may be this one).
    void append(const CMavArrayTempl& other)
    {
        CMavArrayTempl copy(other);
        reserveFor(m_len + copy.m_len);
        for (int i = 0; i < copy.m_len; ++i)
            new (m_data + m_len++) T(std::move(copy.m_data[i]));
    }

    // Inserts before index (clamped to 0..len); later elements move up in order.
    void insertAt(int index, const T& v)
    {
        if (index < 0)
            index = 0;
        if (index >= m_len) {
            append(v);
            return;
        }
        T copy(v);
        reserveFor(m_len + 1);
        new (m_data + m_len) T(std::move(m_data[m_len - 1]));
        for (int i = m_len - 1; i > index; --i)
            m_data[i] = std::move(m_data[i - 1]);
        m_data[index] = std::move(copy);
        ++m_len;
    }
    // Removes `count` elements from index; later elements move down in order. Out-of-range parts are ignored.
    void removeAt(int index, int count = 1)
    {
        if (index < 0 || index >= m_len || count <= 0)
            return;
        if (count > m_len - index)
            count = m_len - index;
        for (int i = index; i + count < m_len; ++i)
            m_data[i] = std::move(m_data[i + count]);
        for (int k = 0; k < count; ++k)
            m_data[--m_len].~T();
    }
    void removeLast()
    {
        if (m_len > 0)
            m_data[--m_len].~T();
    }
    void removeAll() { setLogicalLength(0); }

    // Index of the first element equal to v, or -1.
    int find(const T& v) const
    {
        for (int i = 0; i < m_len; ++i)
            if (m_data[i] == v)
                return i;
        return -1;
    }
    bool contains(const T& v) const { return find(v) >= 0; }

    T& operator[](int i) { return at(i); }
    const T& operator[](int i) const { return at(i); }

    T& at(int i)
    {
        if (i < 0) {
            if (m_len >= 2 && i >= -m_len)
                return m_data[m_len + i];
            if (m_len == 1)
                return m_data[0];
            return writableDefault();
        }
        if (i >= m_len)
            setLogicalLength(i + 1);
        return m_data[i];
    }
    const T& at(int i) const
    {
        if (i < 0) {
            if (m_len >= 2 && i >= -m_len)
                return m_data[m_len + i];
            if (m_len == 1)
                return m_data[0];
            return sharedDefault();
        }
        if (i >= m_len)
            return sharedDefault();
        return m_data[i];
    }

    const T& first() const { return at(0); }
    const T& last() const { return at(-1); }

    T* data() { return m_data; }
    const T* data() const { return m_data; }
    T* begin() { return m_data; }
    T* end() { return m_data + m_len; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_len; }

    bool operator==(const CMavArrayTempl& other) const
    {
        if (m_len != other.m_len)
            return false;
        for (int i = 0; i < m_len; ++i)
            if (!(m_data[i] == other.m_data[i]))
                return false;
        return true;
    }
    bool operator!=(const CMavArrayTempl& other) const { return !(*this == other); }

    // The element handed out for indices that name no element of a read-only array.
    static const T& sharedDefault()
    {
        static const T value{};
        return value;
    }

private:
    static T& writableDefault()
    {
        static T value{};
        value = T();
        return value;
    }

    void reserveFor(int needed)
    {
        if (needed > m_cap)
            reallocate(grownCapacity(m_cap, needed));
    }
    void reserveExact(int needed)
    {
        if (needed > m_cap)
            reallocate(needed);
    }
    void reallocate(int cap)
    {
        T* fresh = static_cast<T*>(::operator new(sizeof(T) * static_cast<std::size_t>(cap)));
        for (int i = 0; i < m_len; ++i) {
            new (fresh + i) T(std::move(m_data[i]));
            m_data[i].~T();
        }
        ::operator delete(m_data);
        m_data = fresh;
        m_cap = cap;
    }
    void release()
    {
        for (int i = 0; i < m_len; ++i)
            m_data[i].~T();
        ::operator delete(m_data);
        m_data = nullptr;
        m_len = m_cap = 0;
    }
    // A copy knows its length when it is made, so it takes exactly the room it needs; appending to it later
    // grows by the usual rule. Items of a display list hold several small arrays each, so this is most of the
    // memory a large list saves.
    void copyFrom(const CMavArrayTempl& other)
    {
        if (other.m_len == 0)
            return;
        reserveExact(other.m_len);
        for (int i = 0; i < other.m_len; ++i)
            new (m_data + m_len++) T(other.m_data[i]);
    }
    void take(CMavArrayTempl& other) noexcept
    {
        m_data = other.m_data;
        m_len = other.m_len;
        m_cap = other.m_cap;
        other.m_data = nullptr;
        other.m_len = other.m_cap = 0;
    }

    T* m_data = nullptr;
};
