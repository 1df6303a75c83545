#include "taskbar.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace ui {

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply); // xcb allocates its replies with malloc
    return atom;
}

// Sets the state when the window is first shown: Qt has made the native window then but not
// mapped it, and adds its own states to the one it finds when it maps it. (Making the native
// window any earlier, through winId(), leaves Qt asking openbox for sizes in whole steps of
// device pixels for every window shown after it.)
class SkipTaskbarOnShow : public QObject
{
public:
    SkipTaskbarOnShow(QWidget* window, xcb_connection_t* connection)
        : QObject(window), connection_(connection)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        const xcb_atom_t skipTaskbar = Atom(connection_, "_NET_WM_STATE_SKIP_TASKBAR");
        xcb_change_property(connection_, XCB_PROP_MODE_APPEND,
                            static_cast<xcb_window_t>(static_cast<QWidget*>(watched)->winId()),
                            Atom(connection_, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
        xcb_flush(connection_);
        watched->removeEventFilter(this);
        return false;
    }

private:
    xcb_connection_t* connection_;
};

} // namespace

void KeepOutOfTaskbar(QWidget* window)
{
    // The offscreen platform answers for X11 too, without a connection.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection && QGuiApplication::platformName() == QLatin1String("xcb"))
        new SkipTaskbarOnShow(window, connection);
}

} // namespace ui
