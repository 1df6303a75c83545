#include "main_window.h"

#include "auxiliary_pane_switch.h"
#include "document_statistics.h"
#include "figures_row.h"
#include "frame_box.h"
#include "ui/kit/branding.h"
#include "ui/kit/controls.h"
#include "ui/kit/design_fonts.h"
#include "ui/kit/reading.h"
#include "ui/kit/strings.h"
#include "ui/kit/twips.h"
#include "ui/placement/placement.h"
#include "ui/placement/window_frame.h"
#include "ui/placement/window_setup.h"
#include "ui/repeats/pane_marks.h"
#include "ui/repeats/repeat_follower.h"
#include "ui/repeats/repeat_navigation.h"
#include "ui/text/text_pane.h"
#include "ui/windows/about_window.h"
#include "ui/windows/help_window.h"
#include "ui/windows/options_window.h"
#include "ui/windows/result_window.h"

#include "analysis/analysis.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

namespace ui {

namespace {

constexpr int CaptionLength = 60;
constexpr QSize DesignClientSize(TwipsToPixels(13095), TwipsToPixels(9975));
constexpr qreal SourcePaneFontSize = 18;
// The new text's pane spans the window, and so does the first source's while the auxiliary pane
// is hidden; side by side, the two upper panes share the width.
constexpr int WidePaneWidth = 12615;
constexpr int SplitPaneWidth = 6255;
const QColor DisabledText(109, 109, 109);

const QString InitialNewText = QStringLiteral(
    "Системы глобального позиционирования обеспечивают непрерывную навигацию практически в любой "
    "точке земного шара. Недостатками навигационных систем GPS служат - недоступность сигнала GPS "
    "в бетонных помещениях и в условиях сильной облачности.");
const QString InitialSourceText = QStringLiteral(
    "Недостатками навигационных систем типа GPS является их практическая неприменимость в условиях "
    "сильной облачности, а так же в местах с отсутствием прямой видимости небосвода\u2026");
const QString InitialAuxiliaryText = QStringLiteral(
    "Система GPS позволяет узнавать местоположение объекта в любой точке Земли. Высота, широта и "
    "долгота\u2026");

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& title, const QRect& place)
{
    auto* frame = MakeControl<FrameBox>(parent, name, place);
    frame->setTitle(title);
    frame->setFont(FrameFont());
    return frame;
}

QTimer* MakeTimer(QObject* parent, const char* name, int interval)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(interval);
    return timer;
}

// A pane has no caption; screen readers name it by its role.
TextPane* MakePane(QWidget* parent, const char* name, const QRect& place, const QFont& font,
                   const QString& text, const QString& role)
{
    auto* pane = MakeControl<TextPane>(parent, name, place);
    pane->setAccessibleName(role);
    pane->setFont(font);
    pane->replacePlainText(text);
    return pane;
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form1"));
    ApplyWindowLook(this);
    setFont(MainWindowFont());
    setFixedSize(DesignClientSize);
    setWindowIcon(ApplicationIcon());
    setCaption(ApplicationTitle());
    buildContent();

    buildPanes();
    buildServiceFrame();
    buildStatisticsFrame();
    buildButtonColumn();
    buildTimers();
    setDesignTabOrder();

    // The load step: the wide layout, whatever the box shows, until the first tick.
    paneSwitch_->handle(PaneSwitchEvent::Load);
    newTextPane_->setFocus();
    new FrameWatch(this, [this](const QMargins& frame) { placeOnScreen(frame); });
}

MainWindow::~MainWindow() = default;

ResultWindow* MainWindow::resultWindow() const
{
    return resultWindow_.get();
}

OptionsWindow* MainWindow::optionsWindow() const
{
    return optionsWindow_.get();
}

HelpWindow* MainWindow::helpWindow() const
{
    return helpWindow_.get();
}

AboutWindow* MainWindow::aboutWindow() const
{
    return aboutWindow_.get();
}

// The design's layout on a surface of the design's size, which scrolls where the screen cannot
// show the whole window.
void MainWindow::buildContent()
{
    content_ = new QWidget;
    content_->setFixedSize(DesignClientSize);
    content_->setAutoFillBackground(true);
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    scrollArea_->setWidget(content_);
    scrollArea_->setGeometry(rect());
}

void MainWindow::buildPanes()
{
    // Filling the panes with their sample texts is part of the design, not an edit: the caption
    // stays the design's until the writer changes the new text.
    newTextPane_ = MakePane(content_, "RichTextBox1", TwipsRect(240, 5400, WidePaneWidth, 4335),
                            NewTextPaneFont(), InitialNewText, QStringLiteral("Новая статья"));
    sourcePane_ = MakePane(content_, "RichTextBox2", TwipsRect(240, 240, SplitPaneWidth, 4215),
                           PaneFont(), InitialSourceText, QStringLiteral("Исходная статья"));
    auxiliaryPane_ = MakePane(content_, "RichTextBox3", TwipsRect(6600, 240, SplitPaneWidth, 4215),
                              PaneFont(), InitialAuxiliaryText, QStringLiteral("Второй источник"));

    // Where the window is too small for the design and scrolls, the cursor stays in view as the
    // writer moves it or presses a key in a pane: Ctrl+End and PageDown show the end of the text
    // on the screen too, and Ctrl+Home its start.
    for (TextPane* pane : {newTextPane_, sourcePane_, auxiliaryPane_}) {
        connect(pane, &QPlainTextEdit::cursorPositionChanged, this,
                [this, pane] { keepCursorInView(pane); });
        // Told once the paste or drop has been handled: a drop's source waits for its end.
        connect(pane, &TextPane::insertRefused, this, &MainWindow::tellInsertRefused,
                Qt::QueuedConnection);
        pane->installEventFilter(this);
    }
    repeats_ = new RepeatNavigation(newTextPane_, sourcePane_, auxiliaryPane_, this);
    connect(newTextPane_, &TextPane::charactersChanged, this, &MainWindow::mirrorCaption);
    newTextStatistics_ = new DocumentStatistics(newTextPane_->document(), this);
    connect(sourcePane_, &TextPane::focusGained, this,
            [this] { sourcePane_->setFontSize(SourcePaneFontSize); });
}

void MainWindow::buildServiceFrame()
{
    serviceFrame_ =
        MakeFrame(content_, "Frame2", QStringLiteral("Сервис"), TwipsRect(240, 4440, 5535, 855));

    compareButton_ = MakeButton(serviceFrame_, "Command4", QStringLiteral("Сравнить с оригиналом"),
                                TwipsRect(120, 240, 2775, 255), ButtonFont(),
                                QStringLiteral("Сравнить с текстом находящимся в первом окне."));
    connect(compareButton_, &QPushButton::clicked, this, &MainWindow::compare);

    auxiliaryPaneCheck_ =
        MakeControl<QCheckBox>(serviceFrame_, "Check1", TwipsRect(3480, 120, 1935, 255),
                               QStringLiteral("Включает второе вспомогательное окно программы."));
    auxiliaryPaneCheck_->setText(QStringLiteral("Второе окно(вспом.)"));
    auxiliaryPaneCheck_->setFont(LabelFont());
    auxiliaryPaneCheck_->setChecked(true);

    shingleLengthField_ =
        MakeControl<QLineEdit>(serviceFrame_, "Text1", TwipsRect(3480, 480, 375, 255),
                               QStringLiteral("Длина шингла(рекомендуемая длина 4-5)"));
    shingleLengthField_->setText(QStringLiteral("3"));
    shingleLengthField_->setFont(FieldFont());
    shingleLengthField_->setEnabled(false);
    // Greyed, but readable: the platform's grey text on the greyed field is too faint.
    QPalette fieldPalette = shingleLengthField_->palette();
    fieldPalette.setColor(QPalette::Disabled, QPalette::Text, DisabledText);
    shingleLengthField_->setPalette(fieldPalette);

    QLabel* lengthLabel = MakeLabel(
        serviceFrame_, "Label9", QStringLiteral("Длина шингла"), TwipsRect(3960, 480, 1335, 255),
        QStringLiteral("Длина шингла для сравнения двух тестов на совпадения."));
    lengthLabel->setBuddy(shingleLengthField_); // names the field for screen readers

    // It belongs to the window, not to the frame, but lies inside the frame's area.
    optionsButton_ =
        MakeButton(content_, "Command6", QStringLiteral("Опции"), TwipsRect(360, 4920, 2775, 240),
                   ButtonFont(), QStringLiteral("Изменить цвет окон и размер шрифта."));
    optionsButton_->raise();
    connect(optionsButton_, &QPushButton::clicked, this, &MainWindow::showOptions);
}

void MainWindow::buildStatisticsFrame()
{
    statisticsFrame_ = MakeFrame(content_, "Frame1", QStringLiteral("Статистика"),
                                 TwipsRect(6120, 4440, 4935, 855));
    statisticsFrame_->setToolTip(QStringLiteral("Основная статистика"));

    QLabel* clockCaption = MakeAutoSizedLabel(
        statisticsFrame_, "Label1", QStringLiteral("Время работы"), TwipsRect(240, 240, 1095, 195),
        QStringLiteral("Время работы программы."));
    hoursLabel_ = MakeAutoSizedLabel(statisticsFrame_, "Label6", QStringLiteral("00"),
                                     TwipsRect(480, 480, 180, 195),
                                     QStringLiteral("Время работы программы(часы)."));
    hoursLabel_->hide();
    minutesLabel_ = MakeAutoSizedLabel(statisticsFrame_, "Label4", QStringLiteral("00"),
                                       TwipsRect(840, 480, 180, 195),
                                       QStringLiteral("Время работы программы(минуты)."));
    minutesLabel_->hide();
    secondsLabel_ = MakeAutoSizedLabel(statisticsFrame_, "Label3", QStringLiteral("00"),
                                       TwipsRect(1200, 480, 180, 195),
                                       QStringLiteral("Время работы программы(секунды)."));
    QLabel* figuresCaption = MakeAutoSizedLabel(
        statisticsFrame_, "Label2", QStringLiteral("Количество символов(без \" \")/слов"),
        TwipsRect(1920, 240, 2715, 195), QStringLiteral("Текствовая статистика."));
    figures_ = MakeFiguresRow(statisticsFrame_);
    // Read as the clock's time and as each figure with what it counts.
    ReadAs(secondsLabel_, QStringLiteral("Время работы: "),
           [this] { return QString::fromStdU16String(workTimer_.spoken()); });
    LeaveOutOfReading(hoursLabel_);
    LeaveOutOfReading(minutesLabel_);
    ReadAsOne(QStringLiteral("Количество символов без пробелов: "), {figures_.characters});
    ReadAsOne(QStringLiteral("Количество слов: "), {figures_.words});
    for (QWidget* part :
         {static_cast<QWidget*>(clockCaption), static_cast<QWidget*>(figuresCaption),
          static_cast<QWidget*>(figures_.slash)})
        LeaveOutOfReading(part);

    clearButton_ = MakeButton(statisticsFrame_, "Command2", QStringLiteral("Очистить все"),
                              TwipsRect(1920, 480, 1335, 315), LabelFont(),
                              QStringLiteral("Очистить содержимое всех окон."));
    connect(clearButton_, &QPushButton::clicked, this, &MainWindow::clearAll);
}

void MainWindow::buildButtonColumn()
{
    helpButton_ = MakeButton(content_, "Command3", QStringLiteral("Help"),
                             TwipsRect(11160, 4560, 1695, 285), ButtonFont());
    exitButton_ = MakeButton(content_, "Command1", QStringLiteral("Выход"),
                             TwipsRect(11160, 4800, 1695, 285), ButtonFont());
    aboutButton_ = MakeButton(content_, "Command5", QStringLiteral("О программе"),
                              TwipsRect(11160, 5040, 1695, 285), ButtonFont());
    connect(helpButton_, &QPushButton::clicked, this, &MainWindow::showHelp);
    connect(exitButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(aboutButton_, &QPushButton::clicked, this, &MainWindow::showAbout);
}

void MainWindow::buildTimers()
{
    constexpr int ClockInterval = 1000; // ms
    QTimer* workTimer = MakeTimer(this, "Timer1", ClockInterval);
    connect(workTimer, &QTimer::timeout, this, &MainWindow::advanceWorkTimer);

    constexpr int PaneSwitchInterval = 150; // ms
    QTimer* paneTimer = MakeTimer(this, "Timer2", PaneSwitchInterval);
    paneSwitch_ = new AuxiliaryPaneSwitch(
        auxiliaryPaneCheck_, serviceFrame_, paneTimer, sourcePane_, auxiliaryPane_,
        {TwipsToPixels(WidePaneWidth), TwipsToPixels(SplitPaneWidth)});

    constexpr int FiguresInterval = 1; // ms
    QTimer* statisticsTimer = MakeTimer(this, "Timer3", FiguresInterval);
    connect(statisticsTimer, &QTimer::timeout, this, &MainWindow::updateTextStatistics);

    for (QTimer* timer : {workTimer, paneTimer, statisticsTimer})
        timer->start();
}

void MainWindow::setDesignTabOrder()
{
    const QList<QWidget*> order = {newTextPane_,   sourcePane_, auxiliaryPane_, auxiliaryPaneCheck_,
                                   exitButton_,    helpButton_, compareButton_, aboutButton_,
                                   optionsButton_, clearButton_};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        if (auto* pane = qobject_cast<TextPane*>(watched))
            keepCursorInView(pane);
    }
    return QWidget::eventFilter(watched, event);
}

// Once the pane itself has scrolled to its cursor.
void MainWindow::keepCursorInView(TextPane* pane)
{
    QMetaObject::invokeMethod(
        this,
        [this, pane = QPointer<TextPane>(pane)] {
            if (!pane || !pane->hasFocus())
                return;
            const QRect cursor = pane->cursorRect() & pane->viewport()->rect();
            const QPoint centre = pane->viewport()->mapTo(content_, cursor.center());
            scrollArea_->ensureVisible(centre.x(), centre.y(), cursor.width(),
                                       cursor.height() / 2 + 1);
        },
        Qt::QueuedConnection);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    scrollArea_->setGeometry(rect());
}

void MainWindow::placeOnScreen(const QMargins& frame)
{
    const QRect available = AvailableArea(this);
    if (available.isEmpty())
        return;
    const int scrollBar =
        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scrollArea_->verticalScrollBar());
    const qreal scale = screen() ? screen()->devicePixelRatio() : 1;
    setFixedSize(FitClientSize(DesignClientSize, frame, available, scrollBar, scale));
    MoveFrameTo(this, CentredPlacement(size().grownBy(frame), available), frame);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The program ends with its main window: every other window goes with it.
    for (QWidget* window : std::initializer_list<QWidget*>{
             resultWindow_.get(), optionsWindow_.get(), helpWindow_.get(), aboutWindow_.get()}) {
        if (window)
            window->close();
    }
    event->accept();
}

void MainWindow::compare()
{
    const int shownShingleLength =
        analysis::ReadShownShingleLength(ToU16View(shingleLengthField_->text()));
    // The same counting gives the figures, the listing, the marks and the listing's pairs.
    const analysis::ComparisonOutcome outcome = repeats_->compare();

    if (const auto* result = std::get_if<analysis::ComparisonResult>(&outcome)) {
        ResultWindow* window = resultWindow_.ensure([this] { return new ResultWindow(this); });
        window->present(*result, shownShingleLength);
        repeats_->showEntriesIn(window);
        return;
    }
    if (std::holds_alternative<analysis::TooLargeToCompare>(outcome)) {
        QMessageBox message(QMessageBox::Warning, ApplicationTitle(),
                            QStringLiteral("Не хватает памяти, чтобы сравнить эти тексты."),
                            QMessageBox::Ok, this);
        message.exec();
        return;
    }
    QMessageBox message(QMessageBox::NoIcon, ApplicationTitle(),
                        QStringLiteral("Количество слов меньше длины шингла!"), QMessageBox::Ok,
                        this);
    message.exec();
}

void MainWindow::tellInsertRefused()
{
    QMessageBox message(QMessageBox::Warning, ApplicationTitle(),
                        QStringLiteral("Не хватает памяти, чтобы вставить этот текст. "
                                       "Тексты в окнах остались как были."),
                        QMessageBox::Ok, this);
    message.exec();
}

// Each pane's undo brings back what the clearing took; the marks and the listing follow the
// clearing and its undo as they follow any edit.
void MainWindow::clearAll()
{
    newTextPane_->clearUndoably();
    sourcePane_->clearUndoably();
    auxiliaryPane_->clearUndoably();
    setCaption(ApplicationTitle());
}

void MainWindow::showOptions()
{
    const MainWindowPanes panes{newTextPane_, sourcePane_, auxiliaryPane_};
    optionsWindow_.show([this, panes] { return new OptionsWindow(this, panes); });
}

void MainWindow::showHelp()
{
    helpWindow_.show([this] { return new HelpWindow(this); });
}

void MainWindow::showAbout()
{
    aboutWindow_.show([this] { return new AboutWindow(this); });
}

void MainWindow::mirrorCaption()
{
    setCaption(newTextPane_->leadingPlainText(CaptionLength));
}

void MainWindow::setCaption(const QString& caption)
{
    if (caption == caption_ && !caption_.isNull())
        return;
    caption_ = caption;
    SetWindowCaption(this, caption);
}

void MainWindow::updateTextStatistics()
{
    // The figures depend on the text alone: an unchanged text keeps the figures it has.
    if (statisticsRevision_ == newTextPane_->textRevision())
        return;
    statisticsRevision_ = newTextPane_->textRevision();
    const analysis::TextStatistics statistics = newTextStatistics_->statistics();
    SetAutoSizedText(figures_.characters, QString::number(statistics.CharactersWithoutSpaces));
    figures_.words->setText(statistics.WordCount == 0 ? QString()
                                                      : QString::number(statistics.WordCount));
    LayOutFiguresRow(figures_, clearButton_);
}

void MainWindow::advanceWorkTimer()
{
    workTimer_.Tick();
    const WorkTimer::Captions& captions = workTimer_.captions();
    SetAutoSizedText(secondsLabel_, ToQString(captions.seconds));
    SetAutoSizedText(minutesLabel_, ToQString(captions.minutes));
    SetAutoSizedText(hoursLabel_, ToQString(captions.hours));
    minutesLabel_->setVisible(captions.minutesVisible);
    hoursLabel_->setVisible(captions.hoursVisible);
}

} // namespace ui
