// A recorder for window events: binds every event of the windows it watches and writes one
// line per event fired, "name:Event", in firing order.
#pragma once

#include "ui/Window.h"

#include <memory>
#include <string>
#include <vector>

class EventLog
{
public:
    void watch(UI::Window* window, const std::string& label)
    {
        const std::pair<UI::Event UI::Window::*, const char*> events[] = {
            {&UI::Window::MouseDown, "MouseDown"},   {&UI::Window::MouseUp, "MouseUp"},
            {&UI::Window::MouseMove, "MouseMove"},   {&UI::Window::GotFocus, "GotFocus"},
            {&UI::Window::LostFocus, "LostFocus"},   {&UI::Window::MouseEnter, "MouseEnter"},
            {&UI::Window::MouseLeave, "MouseLeave"}, {&UI::Window::Move, "Move"},
            {&UI::Window::KeyDown, "KeyDown"},       {&UI::Window::KeyUp, "KeyUp"},
            {&UI::Window::Shown, "Shown"},           {&UI::Window::Hidden, "Hidden"},
        };
        for (const auto& [event, name] : events)
            (window->*event).subscribe(std::make_unique<Recorder>(this, label + ":" + name));
    }

    std::vector<std::string> lines;
    // The arguments of the last event recorded, for checks of positions and windows.
    int lastX = 0;
    int lastY = 0;
    UI::Window* lastWindow = nullptr;
    UI::Window* lastOther = nullptr;

private:
    class Recorder : public UI::SubscriberInterface
    {
    public:
        Recorder(EventLog* log, std::string line) : m_log(log), m_line(std::move(line)) {}
        bool invoke(const UI::EventArgs& args) override
        {
            m_log->lines.push_back(m_line);
            m_log->lastWindow = nullptr;
            m_log->lastOther = nullptr;
            if (auto* window = dynamic_cast<const UI::WindowEventArgs*>(&args))
                m_log->lastWindow = window->window;
            if (auto* change = dynamic_cast<const UI::WindowChangeEventArgs*>(&args))
                m_log->lastOther = change->other;
            if (auto* mouse = dynamic_cast<const UI::MouseEventArgs*>(&args)) {
                m_log->lastX = mouse->x;
                m_log->lastY = mouse->y;
            }
            return false;
        }

    private:
        EventLog* m_log;
        std::string m_line;
    };
};
