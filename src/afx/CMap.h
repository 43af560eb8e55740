// CMap: MFC's hash map with chained buckets and a fixed bucket count (17 unless InitHashTable says otherwise).
// The block size of MFC's entry allocator is accepted and kept for the interface; entries here are allocated
// by the standard library.
#pragma once

#include <windows.h>

#include <cstddef>
#include <list>
#include <utility>
#include <vector>

// The position of an entry while iterating (GetStartPosition / GetNextAssoc); null at the end.
using POSITION = struct AfxPosition_*;

// Hash of a key: integers hash to themselves shifted by four, as MFC does, so that neighbouring ids fall into
// neighbouring buckets.
template <class ARG_KEY> inline UINT HashKey(ARG_KEY key)
{
    return static_cast<UINT>(static_cast<DWORD_PTR>(key) >> 4);
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap {
public:
    explicit CMap(int blockSize = 10) : m_nBlockSize(blockSize > 0 ? blockSize : 10) {}

    int GetBlockSize() const { return m_nBlockSize; }
    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // The number of buckets; only while the map is empty (MFC's rule), else ignored.
    void InitHashTable(UINT size)
    {
        if (m_nCount == 0 && size > 0) {
            m_nHashTableSize = size;
            m_buckets.clear();
        }
    }

    bool Lookup(ARG_KEY key, VALUE& value) const
    {
        const Entry* e = find(key);
        if (!e)
            return false;
        value = e->second;
        return true;
    }
    const VALUE* PLookup(ARG_KEY key) const
    {
        const Entry* e = find(key);
        return e ? &e->second : nullptr;
    }
    void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }
    VALUE& operator[](ARG_KEY key)
    {
        if (Entry* e = const_cast<Entry*>(find(key)))
            return e->second;
        if (m_buckets.empty())
            m_buckets.resize(m_nHashTableSize);
        auto& chain = m_buckets[HashKey<ARG_KEY>(key) % m_nHashTableSize];
        chain.emplace_front(key, VALUE());
        ++m_nCount;
        return chain.front().second;
    }
    bool RemoveKey(ARG_KEY key)
    {
        if (m_buckets.empty())
            return false;
        auto& chain = m_buckets[HashKey<ARG_KEY>(key) % m_nHashTableSize];
        for (auto it = chain.begin(); it != chain.end(); ++it) {
            if (it->first == key) {
                chain.erase(it);
                --m_nCount;
                return true;
            }
        }
        return false;
    }
    void RemoveAll()
    {
        m_buckets.clear();
        m_nCount = 0;
    }

    // Iteration in hash order: bucket by bucket, the latest entry of a bucket first. The position is the
    // ordinal of the next entry plus one.
    POSITION GetStartPosition() const { return m_nCount ? toPos(1) : nullptr; }
    void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const
    {
        std::size_t n = reinterpret_cast<std::size_t>(pos);
        std::size_t index = 0;
        pos = nullptr;
        for (const auto& chain : m_buckets) {
            for (const Entry& e : chain) {
                if (++index == n) {
                    key = e.first;
                    value = e.second;
                    if (static_cast<int>(n) < m_nCount)
                        pos = toPos(n + 1);
                    return;
                }
            }
        }
    }

private:
    using Entry = std::pair<KEY, VALUE>;
    const Entry* find(ARG_KEY key) const
    {
        if (m_buckets.empty())
            return nullptr;
        for (const Entry& e : m_buckets[HashKey<ARG_KEY>(key) % m_nHashTableSize])
            if (e.first == key)
                return &e;
        return nullptr;
    }
    static POSITION toPos(std::size_t n) { return reinterpret_cast<POSITION>(n); }

    UINT m_nHashTableSize = 17;
    int m_nBlockSize;
    int m_nCount = 0;
    std::vector<std::list<Entry>> m_buckets;
};
