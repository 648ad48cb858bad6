// The state machine's switch rules.
#include "app/StateManager.h"

StateManager::~StateManager()
{
    for (auto& state : m_states) {
        if (state->IsLoaded())
            state->Unload();
    }
    for (auto& state : m_states)
        state.reset();
}

State* StateManager::Find(std::u16string_view name) const
{
    for (const auto& state : m_states) {
        if (state->Name() == name)
            return state.get();
    }
    return nullptr;
}

void StateManager::AddState(std::unique_ptr<State> state)
{
    if (state && !Find(state->Name()))
        m_states.push_back(std::move(state));
}

void StateManager::ChangeState(std::u16string_view name, bool releaseOld)
{
    if (State* state = Find(name)) {
        m_pending = state;
        m_releaseOld = releaseOld;
    }
}

void StateManager::Update()
{
    // Switching to the current state is no switch: it is neither left nor entered again.
    if (m_pending == m_current)
        m_pending = nullptr;
    if (m_pending) {
        if (m_current) {
            m_current->Leave();
            if (m_releaseOld)
                m_current->Unload();
        }
        if (!m_pending->IsLoaded())
            m_pending->Load();
        m_pending->Enter();
        m_current = m_pending;
        m_pending = nullptr;
        m_releaseOld = false;
    }
    // The exit state's Update destroys this manager: nothing may touch it afterwards.
    if (m_current)
        m_current->Update();
}

void StateManager::Render(Graphics::Surface16& surface)
{
    if (!m_pending && m_current)
        m_current->Render(surface);
}
