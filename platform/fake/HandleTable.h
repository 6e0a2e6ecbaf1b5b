// The open handles of an in-memory service: raw values handed out in order,
// each naming the state of one open enumeration or key, as the service's
// handle classes (FindHandle, NativeKey, RegKey, UrlCacheFind) carry them.
// Raw values start above 0 (never a null handle) and are never reused within
// a run, so a stale handle is found missing rather than naming another
// state. Not locked: the service holds its own lock around every use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>

namespace s::platform {

template <class State> class HandleTable {
public:
    // `first` and `step` only shape the raw values (a registry key handle
    // is a multiple of 4, as on Windows).
    explicit HandleTable(std::uintptr_t first, std::uintptr_t step = 1) : m_next(first), m_step(step) {}

    std::uintptr_t open(State state)
    {
        const std::uintptr_t raw = m_next;
        m_next += m_step;
        m_states.emplace(raw, std::move(state));
        return raw;
    }
    // Null when the handle is not open.
    State* find(std::uintptr_t raw)
    {
        auto found = m_states.find(raw);
        return found == m_states.end() ? nullptr : &found->second;
    }
    // False when the handle was not open.
    bool close(std::uintptr_t raw) { return m_states.erase(raw) != 0; }
    std::size_t openCount() const { return m_states.size(); }
    void closeAll() { m_states.clear(); }

    template <class Visit> void forEach(Visit&& visit)
    {
        for (auto& [raw, state] : m_states)
            visit(state);
    }

private:
    std::map<std::uintptr_t, State> m_states;
    std::uintptr_t m_next;
    std::uintptr_t m_step;
};

}  // namespace s::platform
