// The fixture of the window tests, as KeePassXC's GUI tests have one: before each test function
// the main window is made and shown, and after it the main window goes, and every window it
// opened with it; a test function that leaves a window behind fails. A test class derives from
// it and declares its test functions as private slots; one that needs more set-up declares an
// init() or cleanup() of its own that calls this one.
#pragma once

#include "ui/main/main_window.h"
#include "widgets.h"

#include <QLabel>
#include <QList>

#include <memory>

namespace ui {
class AboutWindow;
class HelpWindow;
class OptionsWindow;
class ResultWindow;
} // namespace ui

namespace uitest {

class WindowTest : public QObject
{
    Q_OBJECT

protected:
    ui::MainWindow* mainWindow() const { return mainWindow_.get(); }

    // The panes by their role: RichTextBox1, RichTextBox2 and RichTextBox3.
    ui::TextPane* newTextPane() const { return mainWindow_->newTextPane(); }
    ui::TextPane* sourcePane() const { return mainWindow_->sourcePane(); }
    ui::TextPane* auxiliaryPane() const { return mainWindow_->auxiliaryPane(); }
    QList<ui::TextPane*> panes() const { return {newTextPane(), sourcePane(), auxiliaryPane()}; }

    // A control of the main window by its design name.
    template <typename Control = QWidget> Control* control(const char* name) const
    {
        return Find<Control>(mainWindow(), name);
    }
    QLabel* label(const char* name) const { return control<QLabel>(name); }
    void click(const char* button) const { Click(mainWindow(), button); }
    void tick(const char* timer, int times = 1) const { Tick(mainWindow(), timer, times); }

    // The auxiliary pane shown or hidden, as the check box and Timer2's next tick leave it.
    void showAuxiliaryPane(bool shown) const;
    // A click on Command4: the result window it shows, or null where the texts are too short to
    // compare (the message box that says so answered).
    ui::ResultWindow* compare() const;
    // A click on Command6, Command3 or Command5: the window it shows.
    ui::OptionsWindow* openOptions() const;
    ui::HelpWindow* openHelp() const;
    ui::AboutWindow* openAbout() const;

protected slots:
    void init();
    void cleanup();

private:
    std::unique_ptr<ui::MainWindow> mainWindow_;
};

} // namespace uitest
