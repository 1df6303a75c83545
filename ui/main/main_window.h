// Form1: the source article above, the new article below, and the commands around them.
#pragma once

#include "figures_row.h"
#include "ui/placement/window_slot.h"
#include "work_timer.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTimer;

namespace ui {

class AboutWindow;
class AuxiliaryPaneSwitch;
class DocumentStatistics;
class RepeatNavigation;
class HelpWindow;
class OptionsWindow;
class ResultWindow;
class TextPane;

class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    TextPane* newTextPane() const { return newTextPane_; }
    TextPane* sourcePane() const { return sourcePane_; }
    TextPane* auxiliaryPane() const { return auxiliaryPane_; }

    // The secondary windows while they exist, null otherwise.
    ResultWindow* resultWindow() const;
    OptionsWindow* optionsWindow() const;
    HelpWindow* helpWindow() const;
    AboutWindow* aboutWindow() const;

    // The caption as the program set it; the title bar shows it literally.
    QString caption() const { return caption_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildContent();
    void buildPanes();
    void buildServiceFrame();
    void buildStatisticsFrame();
    void buildButtonColumn();
    void buildTimers();
    void setDesignTabOrder();

    void keepCursorInView(TextPane* pane);
    void compare();
    // A paste or drop too large to hold was refused.
    void tellInsertRefused();
    void clearAll();
    void showOptions();
    void showHelp();
    void showAbout();
    void mirrorCaption();
    void setCaption(const QString& caption);
    void updateTextStatistics();
    void advanceWorkTimer();
    // Centred within the screen's available area, and no larger than it leaves room for.
    void placeOnScreen(const QMargins& frame);

    QScrollArea* scrollArea_ = nullptr;
    QWidget* content_ = nullptr;              // the design's surface
    TextPane* newTextPane_ = nullptr;         // RichTextBox1
    TextPane* sourcePane_ = nullptr;          // RichTextBox2
    TextPane* auxiliaryPane_ = nullptr;       // RichTextBox3
    QGroupBox* serviceFrame_ = nullptr;       // Frame2
    QCheckBox* auxiliaryPaneCheck_ = nullptr; // Check1
    QLineEdit* shingleLengthField_ = nullptr; // Text1
    QPushButton* compareButton_ = nullptr;    // Command4
    QPushButton* optionsButton_ = nullptr;    // Command6
    QGroupBox* statisticsFrame_ = nullptr;    // Frame1
    QLabel* secondsLabel_ = nullptr;          // Label3
    QLabel* minutesLabel_ = nullptr;          // Label4
    QLabel* hoursLabel_ = nullptr;            // Label6
    FiguresRow figures_;                      // Label5, Label7, Label8
    QPushButton* clearButton_ = nullptr;      // Command2
    QPushButton* exitButton_ = nullptr;       // Command1
    QPushButton* helpButton_ = nullptr;       // Command3
    QPushButton* aboutButton_ = nullptr;      // Command5

    AuxiliaryPaneSwitch* paneSwitch_ = nullptr;
    DocumentStatistics* newTextStatistics_ = nullptr;
    RepeatNavigation* repeats_ = nullptr;
    WorkTimer workTimer_;
    QString caption_;
    quint64 statisticsRevision_ = ~quint64{0};

    WindowSlot<ResultWindow> resultWindow_;
    WindowSlot<OptionsWindow> optionsWindow_;
    WindowSlot<HelpWindow> helpWindow_;
    WindowSlot<AboutWindow> aboutWindow_;
};

} // namespace ui
