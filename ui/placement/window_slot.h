// A window that exists at most once: made on first demand, kept while it lives, forgotten when
// it destroys itself.
#pragma once

#include "window_setup.h"

#include <QPointer>
#include <QWidget>

namespace ui {

template <typename Window> class WindowSlot
{
public:
    template <typename Factory> Window* ensure(Factory&& make)
    {
        if (!window_)
            window_ = make();
        return window_;
    }

    // Makes the window visible with the state it has, in front of the others.
    template <typename Factory> Window* show(Factory&& make)
    {
        Window* window = ensure(make);
        ShowInFront(window);
        return window;
    }

    Window* get() const { return window_; }

private:
    QPointer<Window> window_;
};

} // namespace ui
