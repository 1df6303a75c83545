// The program's title, icon and logo, shared by every window.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace ui {

QString ApplicationTitle(); // "Palimo Suite...": the main window's caption and message boxes' title
QIcon ApplicationIcon();    // 32 x 32 and 16 x 16
QPixmap Logo();             // 37 x 37

} // namespace ui
