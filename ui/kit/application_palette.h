// Controls that show the platform's colours (the system colours of the designs) follow a change
// of the application's palette. Qt 6 tells the application object and the windows of such a
// change, not the controls inside them, which keep a palette of their own.
#pragma once

#include <QObject>

#include <functional>

namespace ui {

// Calls `apply` now and after every change of the application's palette, for as long as
// `control` lives.
void FollowApplicationPalette(QObject* control, std::function<void()> apply);

} // namespace ui
