// The application object as the program ships it: name, desktop identity, icon, Qt's own texts
// in Russian and the event dispatcher. main() and the tests create it the same way.
#pragma once

#include <QApplication>

#include <memory>

namespace app {

// The one identity of the program on a desktop: the desktop entry's and the AppStream
// component's name, and the icon's name in the icon theme.
QString ApplicationId();

// `argc` must outlive the application object, as QApplication requires.
std::unique_ptr<QApplication> CreateApplication(int& argc, char** argv);

} // namespace app
