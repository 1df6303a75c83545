// A few thousand seeded random user events on the real windows, checking after each that the
// program's rules still hold, and ending with "Выход": the process must exit with status 0.
// Usage: monkey_test [SEED [EVENTS]]
#include "support/marks_in_view.h"
#include "support/random_edits.h"
#include "support/scrolling.h"
#include "support/text_generator.h"
#include "support/widgets.h"
#include "ui/kit/strings.h"
#include "ui/main/main_window.h"
#include "ui/repeats/repeat_follower.h"
#include "ui/text/text_pane.h"
#include "ui/windows/about_window.h"
#include "ui/windows/help_window.h"
#include "ui/windows/listing_pane.h"
#include "ui/windows/options_window.h"
#include "ui/windows/result_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

using uitest::Find;

class Monkey
{
public:
    Monkey(ui::MainWindow& window, unsigned seed) : window_(window), edits_(seed) {}

    void step(int index)
    {
        const int action = texts().number(0, 19);
        switch (action) {
        case 0:
        case 1:
        case 2:
        case 13:
            edits_.editOnce(randomPane());
            break;
        case 3: {
            // Now and then texts far longer than the panes show, so that the views move.
            const int longest = texts().number(0, 2) == 0 ? 700 : 80;
            const std::u16string source = texts().text(texts().number(0, longest));
            window_.sourcePane()->replacePlainText(ui::ToQString(source));
            window_.newTextPane()->replacePlainText(
                ui::ToQString(texts().mixed(source, texts().number(0, longest))));
            compare(index);
            break;
        }
        case 4:
            if (const char* button =
                    pick({"Command2", "Command3", "Command4", "Command5", "Command6"});
                QByteArray(button) == "Command4")
                compare(index);
            else
                uitest::Click(&window_, button);
            break;
        case 5:
            QTest::mouseClick(Find<QCheckBox>(&window_, "Check1"), Qt::LeftButton);
            break;
        case 6:
            uitest::Tick(&window_, pick({"Timer1", "Timer2", "Timer3"}), texts().number(1, 3));
            break;
        case 7:
            uitest::MovePointer(Find(&window_, pick({"Check1", "Frame2"})), QPoint(2, 2));
            break;
        case 8:
            window_.sourcePane()->setFocus();
            break;
        case 9:
        case 10:
            useOptions();
            break;
        case 11:
            closeSomeWindow();
            break;
        case 12:
            if (QWidget* about = window_.aboutWindow())
                QTest::keyClick(about, pick({Qt::Key_Escape, Qt::Key_Return}));
            else if (QWidget* result = window_.resultWindow())
                QTest::keyClick(result, Qt::Key_Escape);
            break;
        case 14:
            if (texts().number(0, 2) == 0)
                scrollToTheEnd(randomPane(), index);
            else
                moveTheView(randomPane());
            break;
        case 15:
            clickTheListing();
            break;
        case 16:
            QTest::keyClick(pick({window_.newTextPane(), window_.sourcePane()}), Qt::Key_F3,
                            pick({Qt::NoModifier, Qt::ShiftModifier}));
            break;
        case 17:
            typeInsideAMark();
            break;
        default:
            uitest::Tick(&window_, "Timer3");
            break;
        }
        if (index % 7 == 0)
            uitest::DiscardClosedWindows();
        check(index);
    }

private:
    testsupport::TextGenerator& texts() { return edits_.texts(); }

    template <typename T> T pick(std::initializer_list<T> items)
    {
        return items.begin()[texts().number(0, static_cast<int>(items.size()) - 1)];
    }

    ui::TextPane* randomPane()
    {
        return pick({window_.newTextPane(), window_.newTextPane(), window_.sourcePane(),
                     window_.auxiliaryPane()});
    }

    // Stops the run with what went wrong at an event, if anything did.
    static void failIf(int index, const QString& wrong)
    {
        if (wrong.isEmpty())
            return;
        std::fprintf(stderr, "event %d: %s\n", index, qPrintable(wrong));
        std::exit(1);
    }

    // A compare shows the percentage of the panes' texts as they stand, however they were edited
    // since the last one.
    void compare(int index)
    {
        uitest::Click(&window_, "Command4");
        analysis::ComparisonResult expected;
        const auto shingles = [](const ui::TextPane* pane) {
            return reference::ExtractShingles(
                reference::PrepareText(ui::ToU16View(pane->plainText())));
        };
        const ui::ResultWindow* result = window_.resultWindow();
        if (!reference::CompareShingleLists(shingles(window_.newTextPane()),
                                            shingles(window_.sourcePane()), expected) ||
            !result)
            return;
        const QString shown = Find<QLabel>(result, "Label2")->text();
        if (!shown.startsWith(ui::ToQString(analysis::FormatSignedNumber(expected.Percentage)) +
                              QStringLiteral(" %.")))
            failIf(index, QStringLiteral("a compare shows %1 for texts of %2 %")
                              .arg(shown)
                              .arg(expected.Percentage));
    }

    // Every way of scrolling to the end of a pane in view shows its last line.
    static void scrollToTheEnd(ui::TextPane* pane, int index)
    {
        if (!pane->isVisible())
            return;
        const QStringList missed =
            uitest::WaysThatMissTheEnd(pane, [pane] { return uitest::EndInView(*pane); });
        if (!missed.isEmpty())
            failIf(index, QStringLiteral("the end of %1 is out of view after %2")
                              .arg(pane->objectName(), missed.join(QLatin1String(", "))));
    }

    // The view moved by a road a reader takes: keys, the scroll bar's parts or the wheel.
    void moveTheView(ui::TextPane* pane)
    {
        if (!pane->isVisible())
            return;
        pane->setFocus();
        QScrollBar* bar = pane->verticalScrollBar();
        switch (texts().number(0, 5)) {
        case 0:
            QTest::keyClick(pane, pick({Qt::Key_Home, Qt::Key_End}), Qt::ControlModifier);
            break;
        case 1:
            QTest::keyClick(pane, pick({Qt::Key_PageUp, Qt::Key_PageDown}));
            break;
        case 2:
            for (int i = texts().number(1, 12); i > 0; --i)
                QTest::keyClick(pane, pick({Qt::Key_Up, Qt::Key_Down}));
            break;
        case 3:
            QTest::mouseClick(
                bar, Qt::LeftButton, {},
                uitest::SliderPart(bar,
                                   pick({QStyle::SC_ScrollBarAddPage, QStyle::SC_ScrollBarSubPage,
                                         QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine}))
                    .center());
            break;
        case 4: {
            const QPoint grip = uitest::SliderPart(bar, QStyle::SC_ScrollBarSlider).center();
            const QPoint to(grip.x(), texts().number(0, bar->height()));
            QTest::mousePress(bar, Qt::LeftButton, {}, grip);
            QTest::mouseMove(bar, to);
            QTest::mouseRelease(bar, Qt::LeftButton, {}, to);
            break;
        }
        default:
            for (int i = texts().number(1, 6); i > 0; --i)
                uitest::WheelNotch(pane, texts().number(0, 1) == 0);
            break;
        }
    }

    // A click, a double click, Up, Down or Enter in the listing, where one is shown.
    void clickTheListing()
    {
        ui::ResultWindow* result = window_.resultWindow();
        if (!result)
            return;
        auto* listing = Find<ui::ListingPane>(result, "RichTextBox1");
        if (!listing->isVisible() || listing->lineCount() < 2)
            return;
        const QRect line = listing->lineRect(listing->topLine() + texts().number(0, 1));
        switch (texts().number(0, 3)) {
        case 0:
            QTest::mouseClick(listing->viewport(), Qt::LeftButton, {}, line.center());
            break;
        case 1:
            QTest::mouseDClick(listing->viewport(), Qt::LeftButton, {}, line.center());
            break;
        default:
            QTest::keyClick(listing, pick({Qt::Key_Up, Qt::Key_Down, Qt::Key_Return}));
            break;
        }
    }

    // The writer rewords where a mark stands: the cursor goes into one, and keys follow.
    void typeInsideAMark()
    {
        ui::TextPane* pane = pick({window_.newTextPane(), window_.sourcePane()});
        pane->setFocus();
        QTest::keyClick(pane, Qt::Key_F3);
        QTextCursor cursor = pane->textCursor();
        cursor.setPosition((cursor.selectionStart() + cursor.selectionEnd()) / 2);
        pane->setTextCursor(cursor);
        uitest::TypeText(pane, ui::ToQString(texts().text(texts().number(1, 3))));
    }

    void useOptions()
    {
        ui::OptionsWindow* options = window_.optionsWindow();
        if (!options || !options->isVisible()) {
            uitest::Click(&window_, "Command6");
            return;
        }
        switch (texts().number(0, 4)) {
        case 0:
        case 1: {
            auto* slider = Find<QSlider>(options, pick({"Slider1", "Slider2"}));
            QTest::mouseClick(slider, Qt::LeftButton, {},
                              QPoint(texts().number(0, slider->width() - 1), slider->height() / 3));
            break;
        }
        case 2:
            QTest::mouseClick(Find<QRadioButton>(options, pick({"Option1", "Option2", "Option3"})),
                              Qt::LeftButton);
            break;
        case 3:
            uitest::Click(options, "Command1");
            break;
        default:
            options->close();
            break;
        }
    }

    void closeSomeWindow()
    {
        if (QWidget* help = window_.helpWindow())
            uitest::Click(help, "Command1");
        else if (QWidget* about = window_.aboutWindow())
            uitest::Click(about, "cmdOK");
        else if (QWidget* result = window_.resultWindow())
            result->close();
    }

    void check(int index)
    {
        const auto fail = [index](const char* what) { failIf(index, QString::fromUtf8(what)); };
        if (window_.findChildren<ui::ResultWindow*>().size() > 1 ||
            window_.findChildren<ui::OptionsWindow*>().size() > 1 ||
            window_.findChildren<ui::HelpWindow*>().size() > 1 ||
            window_.findChildren<ui::AboutWindow*>().size() > 1)
            fail("a window exists twice");

        const QString caption = window_.caption();
        if (caption != QStringLiteral("Palimo Suite...") &&
            caption != window_.newTextPane()->leadingPlainText(60))
            fail("the caption does not mirror the new text");

        uitest::Tick(&window_, "Timer3");
        const QString text = window_.newTextPane()->plainText();
        const auto statistics = analysis::ComputeTextStatistics(ui::ToU16View(text));
        if (Find<QLabel>(&window_, "Label5")->text() !=
            QString::number(statistics.CharactersWithoutSpaces))
            fail("the character count is not the text's");
        // Beside the auxiliary pane the first source pane is as wide as it, else as wide as the
        // new text's pane.
        const bool auxiliaryShown = window_.auxiliaryPane()->isVisibleTo(&window_);
        const ui::TextPane* asWideAs =
            auxiliaryShown ? window_.auxiliaryPane() : window_.newTextPane();
        if (window_.sourcePane()->width() != asWideAs->width())
            fail("the upper panes are out of step");

        // Once brought up to date, the panes mark in their views where the texts share a
        // shingle, and the listing's entries stand as a compare of the texts would count them.
        if (index % 5 != 0)
            return;
        auto* follower = window_.findChild<ui::RepeatFollower*>("RepeatsOfSource");
        follower->settle();
        if (!follower->isActive())
            return;
        failIf(index, uitest::MarksInViewAgainstTheRules(window_));
        // The near repeats, folded to the end, are where the rules put them too.
        if (index % 25 == 0) {
            follower->finishNearRepeats();
            failIf(index, uitest::NearMarksInViewAgainstTheRules(window_));
        }
        if (const ui::ResultWindow* result = window_.resultWindow())
            failIf(index,
                   uitest::ListingAgainstTheRules(
                       uitest::ListedEntries(*Find<ui::ListingPane>(result, "RichTextBox1"),
                                             *follower, window_),
                       window_.newTextPane()->plainText(), window_.sourcePane()->plainText()));
    }

    ui::MainWindow& window_;
    uitest::RandomEdits edits_;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const unsigned seed =
        argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)) : 20261207u;
    const int events = argc > 2 ? std::atoi(argv[2]) : 3000;

    ui::MainWindow window;
    window.show();

    // The message box of a too-short comparison is answered as a user would.
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    answerer.start(1);

    QTimer::singleShot(0, &window, [&] {
        Monkey monkey(window, seed);
        for (int i = 0; i < events; ++i)
            monkey.step(i);
        std::printf("monkey: %d events with seed %u, then Выход\n", events, seed);
        QTest::mouseClick(Find<QAbstractButton>(&window, "Command1"), Qt::LeftButton);
    });
    return QApplication::exec();
}
