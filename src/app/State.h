// State: one screen of the game (loading, menu, game, ...), addressed by its name.
#pragma once

#include <string>

namespace Graphics {
class Surface16;
}

class State
{
public:
    virtual ~State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    // Acquires what the screen needs and sets loaded. Called on entry only when not loaded.
    virtual void Load() = 0;
    // Releases what Load acquired and clears loaded.
    virtual void Unload() = 0;
    // Called on every entry, after Load.
    virtual void Enter() = 0;
    // Called on the outgoing state at every switch.
    virtual void Leave() = 0;
    // Once per frame while current; may request a switch or quit the program.
    virtual void Update() = 0;
    // Draws the whole screen; skipped in a frame whose update requested a switch.
    virtual void Render(Graphics::Surface16& surface) = 0;

    const std::u16string& Name() const { return m_name; }
    bool IsLoaded() const { return m_loaded; }

protected:
    explicit State(std::u16string name) : m_name(std::move(name)) {}

    std::u16string m_name;
    bool m_loaded = false;
};
