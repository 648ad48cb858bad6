// StateManager: owns the registered states and switches between them by name, always at the
// start of a frame, never in the middle of a state's own code.
#pragma once

#include "app/State.h"

#include <memory>
#include <string_view>
#include <vector>

class StateManager
{
public:
    StateManager() = default;
    // Unloads every loaded state, then destroys the states, both in registration order.
    ~StateManager();
    StateManager(const StateManager&) = delete;
    StateManager& operator=(const StateManager&) = delete;

    // Takes ownership; a state whose name is already registered is dropped.
    void AddState(std::unique_ptr<State> state);
    // Requests a switch for the next Update. Unknown names are ignored; the last request wins.
    void ChangeState(std::u16string_view name, bool releaseOld);
    // Applies a pending switch, then updates the current state.
    void Update();
    // Renders the current state unless a switch is pending.
    void Render(Graphics::Surface16& surface);

    State* Current() const { return m_current; }
    State* Pending() const { return m_pending; }
    State* Find(std::u16string_view name) const;
    // The registered states in registration order; null past the end.
    State* StateAt(size_t index) const
    {
        return index < m_states.size() ? m_states[index].get() : nullptr;
    }

private:
    std::vector<std::unique_ptr<State>> m_states;
    State* m_current = nullptr;
    State* m_pending = nullptr;
    bool m_releaseOld = false;
};
