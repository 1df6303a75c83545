// Form3 "Справка": what the program does, in a read-only pane.
#pragma once

#include <QWidget>

namespace ui {

class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* owner);

    // The help text, one paragraph per line.
    static QString helpText();
};

} // namespace ui
