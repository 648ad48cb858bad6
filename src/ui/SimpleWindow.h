// SimpleWindow: a skinned panel, its element's first state drawn over its rectangle.
#pragma once

#include "ui/Window.h"

namespace UI {

class SimpleWindow : public Window
{
public:
    SimpleWindow(Window* parent, UISystem* system, UIParams* params = nullptr);

    void createLook() override;
};

} // namespace UI
