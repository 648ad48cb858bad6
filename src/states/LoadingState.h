// LoadingState: the first screen. Its first update loads everything the game needs; its second
// registers the other screens and hands over. It shows the splash picture meanwhile.
#pragma once

#include "app/State.h"

#include <cstdint>

namespace Graphics {
class Surface16;
}

class LoadingState : public State
{
public:
    LoadingState() : State(u"LoadingState") {}

    void Load() override { m_loaded = true; }
    // Frees the loading screen's pictures.
    void Unload() override;
    void Enter() override {}
    void Leave() override {}
    void Update() override;
    void Render(Graphics::Surface16& surface) override;

private:
    void FirstPass();
    void SecondPass();

    uint8_t m_firstPass = 1;
    bool m_handedOver = false;               // the second pass has run
    Graphics::Surface16* m_splash = nullptr; // borrowed from the resources; null until loaded
};
