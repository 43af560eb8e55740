// The generator table: entries sorted by name (ordinal CMavString order), found by a binary search whose steps are
// powers of two, so that every lookup probes at most log2(n) + 1 entries and needs no bounds juggling: probes
// beyond the last entry simply count as "greater than the name".
#include "generators/generators.h"

#include <cstddef>

namespace {

struct GdxImageEntry {
    CMavString name;
    MavGdxImageFcn fn = nullptr;
};

// An array of singly allocated entries; the array grows as the base library's arrays do (8, then doubling).
class CGdxImageTable {
public:
    CGdxImageTable() = default;
    CGdxImageTable(const CGdxImageTable&) = delete;
    CGdxImageTable& operator=(const CGdxImageTable&) = delete;
    ~CGdxImageTable() { clear(); }

    std::uint32_t count() const { return m_count; }
    std::uint32_t capacity() const { return m_capacity; }
    const GdxImageEntry* at(std::uint32_t i) const { return i < m_count ? m_entries[i] : nullptr; }

    // Search with a power-of-two step. s starts at the highest power of two not above n and the first probe is
    // s - 1; each later probe moves up or down by the halved step. When the step runs out, the insertion index is
    // the last probe if that entry was greater than the name, else the one after it.
    bool find(const CMavString& name, std::uint32_t& index) const
    {
        index = 0;
        if (m_count == 0)
            return false;
        std::uint64_t s = 1;
        while (s * 2 <= m_count)
            s *= 2;
        std::int64_t probe = static_cast<std::int64_t>(s) - 1;
        for (;;) {
            bool greater = true;
            if (probe >= 0 && static_cast<std::uint64_t>(probe) < m_count) {
                const CMavString& entry = m_entries[probe]->name;
                if (entry == name) {
                    index = static_cast<std::uint32_t>(probe);
                    return true;
                }
                greater = !(entry < name);
            }
            s /= 2;
            if (s == 0) {
                index = static_cast<std::uint32_t>(greater ? probe : probe + 1);
                return false;
            }
            probe += greater ? -static_cast<std::int64_t>(s) : static_cast<std::int64_t>(s);
        }
    }

    void set(const CMavString& name, MavGdxImageFcn fn)
    {
        std::uint32_t index = 0;
        if (find(name, index)) {
            m_entries[index]->fn = fn;
            return;
        }
        if (m_count == m_capacity && !grow())
            return;
        for (std::uint32_t i = m_count; i > index; --i)
            m_entries[i] = m_entries[i - 1];
        m_entries[index] = new GdxImageEntry{name, fn};
        ++m_count;
    }

    void remove(const CMavString& name)
    {
        std::uint32_t index = 0;
        if (!find(name, index))
            return;
        delete m_entries[index];
        for (std::uint32_t i = index; i + 1 < m_count; ++i)
            m_entries[i] = m_entries[i + 1];
        --m_count;
        m_entries[m_count] = nullptr;
    }

    void clear()
    {
        for (std::uint32_t i = 0; i < m_count; ++i)
            delete m_entries[i];
        delete[] m_entries;
        m_entries = nullptr;
        m_count = 0;
        m_capacity = 0;
    }

private:
    bool grow()
    {
        const std::uint32_t capacity = m_capacity == 0 ? 8u : m_capacity * 2u;
        if (capacity <= m_capacity)
            return false;  // the count cannot go beyond 32 bits
        GdxImageEntry** entries = new GdxImageEntry*[capacity]();
        for (std::uint32_t i = 0; i < m_count; ++i)
            entries[i] = m_entries[i];
        delete[] m_entries;
        m_entries = entries;
        m_capacity = capacity;
        return true;
    }

    GdxImageEntry** m_entries = nullptr;
    std::uint32_t m_count = 0;
    std::uint32_t m_capacity = 0;
};

// Lives from library load to unload; the host fills it.
CGdxImageTable g_gdxImageTable;

} // namespace

void setGdxImageFcn(const wchar_t* name, MavGdxImageFcn fn)
{
    if (!name)
        return;
    if (fn)
        g_gdxImageTable.set(CMavString(name), fn);
    else
        g_gdxImageTable.remove(CMavString(name));
}

bool mav_gdx_image(const wchar_t* name, CMavGDX* gdx, MAV::CDtaFilePointer* data, MAV::CDtaFilePointer* parameters)
{
    if (!name)
        return false;
    std::uint32_t index = 0;
    if (!g_gdxImageTable.find(CMavString(name), index))
        return false;
    return g_gdxImageTable.at(index)->fn(gdx, data, parameters);
}

namespace MAV {

std::uint32_t gdxImageCount() { return g_gdxImageTable.count(); }
std::uint32_t gdxImageCapacity() { return g_gdxImageTable.capacity(); }

CMavString gdxImageNameAt(std::uint32_t i)
{
    const GdxImageEntry* entry = g_gdxImageTable.at(i);
    return entry ? entry->name : CMavString();
}

bool gdxImageFind(const CMavString& name, std::uint32_t& index) { return g_gdxImageTable.find(name, index); }

void gdxImageClear() { g_gdxImageTable.clear(); }

} // namespace MAV
