// frmAbout "О программе": the program's title, logo and a short description.
#pragma once

#include <QDialog>

namespace ui {

class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    explicit AboutWindow(QWidget* owner);

    // Six lines, each ended by CR LF; lines 1 to 5 end with a space before the break.
    static QString description();
};

} // namespace ui
