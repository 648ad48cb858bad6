// Events: how windows report what happens to them. Each Event holds at most one subscriber, a
// member function bound to its object; subscribing again replaces it. Nothing bubbles.
#pragma once

#include <cstdint>
#include <memory>

namespace UI {

class Window;

// The argument family. Arguments live on the stack of the code that fires the event.
class EventArgs
{
public:
    virtual ~EventArgs() = default;
};

class WindowEventArgs : public EventArgs
{
public:
    explicit WindowEventArgs(Window* window = nullptr) : window(window) {}

    Window* window; // the window the event is about, not owned
};

class WindowChangeEventArgs : public WindowEventArgs
{
public:
    WindowChangeEventArgs(Window* window, Window* other) : WindowEventArgs(window), other(other) {}

    Window* other; // the second window of the change (may be null)
};

class MouseEventArgs : public WindowEventArgs
{
public:
    MouseEventArgs(Window* window, int32_t x, int32_t y, bool buttonDown)
        : WindowEventArgs(window), x(x), y(y), buttonDown(buttonDown)
    {}

    int32_t x; // stylus position relative to the window's absolute top-left corner
    int32_t y;
    bool buttonDown; // the stylus was held down when the arguments were built
};

class KeyboardEventArgs : public WindowEventArgs
{
public:
    KeyboardEventArgs(Window* window, uint32_t key) : WindowEventArgs(window), key(key) {}

    uint32_t key; // the platform's virtual-key code, unchanged
};

// A handler: something that can be called with event arguments.
class SubscriberInterface
{
public:
    virtual bool invoke(const EventArgs& args) = 0;
    virtual ~SubscriberInterface() = default;
};

// A member function bound to the object it is called on. The object is not owned.
template <class T>
class _memberBinder final : public SubscriberInterface
{
public:
    using Method = bool (T::*)(const EventArgs&);

    _memberBinder(Method method, T* object) : method(method), object(object) {}

    bool invoke(const EventArgs& args) override { return (object->*method)(args); }

    Method method;
    T* object;
};

class Event
{
public:
    Event() = default;
    virtual ~Event() = default;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    // Destroys the current subscriber, if any, and takes the new one; null detaches.
    void subscribe(std::unique_ptr<SubscriberInterface> subscriber)
    {
        m_subscriber = std::move(subscriber);
    }
    // Calls the subscriber and returns its result; false when nothing is attached. A handler
    // may replace or detach its own subscription: the running one lives until it returns.
    bool fire(const EventArgs& args) const
    {
        const std::shared_ptr<SubscriberInterface> running = m_subscriber;
        return running && running->invoke(args);
    }
    bool isAttached() const { return m_subscriber != nullptr; }

private:
    std::shared_ptr<SubscriberInterface> m_subscriber;
};

// Binds object->method to event, replacing whatever handler it had:
//     UI::subscribe(button->MouseUp, this, &MenuState::OnPlay);
template <class T>
void subscribe(Event& event, T* object, bool (T::*method)(const EventArgs&))
{
    event.subscribe(std::make_unique<_memberBinder<T>>(method, object));
}

} // namespace UI
