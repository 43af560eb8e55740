// Temporary wrapper objects for handles that no permanent object owns (CWnd::FromHandle, CDC::FromHandle ...).
#pragma once

#include <memory>
#include <unordered_map>

// One wrapper per handle, kept until the map is cleared (at idle time of a modal loop or by AfxDeleteTempMaps).
// So that a host without idle processing cannot make it grow without bound, wrappers of handles that no longer
// exist are dropped whenever the map has doubled since the last sweep.
template <class T, class H>
class CTempHandleMap {
public:
    using Alive = bool (*)(H);
    explicit CTempHandleMap(Alive alive) : m_alive(alive) {}

    // The wrapper of h, made by make(h) (returning a new T) when there is none yet.
    template <class Make>
    T* find(H h, Make make)
    {
        auto it = m_map.find(h);
        if (it != m_map.end())
            return it->second.get();
        if (m_map.size() >= m_sweepAt)
            sweep();
        T* created = make(h);
        m_map.emplace(h, std::unique_ptr<T>(created));
        return created;
    }

    bool contains(const T* object) const
    {
        for (const auto& entry : m_map) {
            if (entry.second.get() == object)
                return true;
        }
        return false;
    }

    void erase(H h) { m_map.erase(h); }
    void clear() { m_map.clear(); m_sweepAt = kMinSweep; }
    size_t size() const { return m_map.size(); }

private:
    static constexpr size_t kMinSweep = 64;

    void sweep()
    {
        for (auto it = m_map.begin(); it != m_map.end();) {
            if (m_alive(it->first))
                ++it;
            else
                it = m_map.erase(it);
        }
        m_sweepAt = m_map.size() * 2 > kMinSweep ? m_map.size() * 2 : kMinSweep;
    }

    std::unordered_map<H, std::unique_ptr<T>> m_map;
    Alive m_alive;
    size_t m_sweepAt = kMinSweep;
};

// Deletes every temporary wrapper (windows, device contexts, GDI objects). Pointers handed out by FromHandle
// are invalid afterwards.
void AfxDeleteTempMaps();

// The parts of AfxDeleteTempMaps kept by the files that own the maps.
void afxDeleteGdiTempMaps();
void afxDeleteDcTempMap();
