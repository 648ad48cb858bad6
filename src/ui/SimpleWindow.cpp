// The skinned panel.
#include "ui/SimpleWindow.h"

#include "ui/WindowLook.h"

namespace UI {

SimpleWindow::SimpleWindow(Window* parent, UISystem* system, UIParams* params)
    : Window(parent, system, params)
{
    SimpleWindow::createLook();
    Window::load(params);
}

void SimpleWindow::createLook()
{
    setLook(std::make_unique<WindowLook>());
}

} // namespace UI
