// The result window, as a comparison's outcome fills it: its caption, result line and listing,
// its two heights with the frame really drawn, its place beside its owner, and a listing of any
// length whose end is within reach.
#include "analysis/repeat_tracker.h"
#include "support/pixels.h"
#include "support/scrolling.h"
#include "support/window_test.h"
#include "ui/kit/colour_value.h"
#include "ui/kit/strings.h"
#include "ui/kit/twips.h"
#include "ui/main/main_window.h"
#include "ui/placement/window_setup.h"
#include "ui/text/line_break_conversion.h"
#include "ui/windows/listing_pane.h"
#include "ui/windows/result_window.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

using uitest::Find;

namespace {

analysis::ComparisonResult ResultOf(const char16_t* newText, const char16_t* source)
{
    analysis::RepeatTracker tracker;
    return std::get<analysis::ComparisonResult>(tracker.compare(newText, source));
}

const char16_t* const CatSource = u"The cat sat on the warm mat all day.";

} // namespace

// Each test function has a result window of its own, made as the main window makes it.
class tst_ResultWindow : public uitest::WindowTest
{
    Q_OBJECT

private:
    QPointer<ui::ResultWindow> window_;

    bool shown(const char* name) { return Find(window_.data(), name)->isVisibleTo(window_.data()); }
    // A control is in view when it lies wholly within the client area.
    bool inView(const char* name)
    {
        QWidget* control = Find(window_.data(), name);
        return control->isVisibleTo(window_.data()) &&
               window_->rect().contains(control->geometry());
    }

private slots:
    void init()
    {
        WindowTest::init();
        window_ = new ui::ResultWindow(mainWindow());
    }

    void designTimeLayout();
    void presentsAResult_data();
    void presentsAResult();
    void laterUniqueResultKeepsTheListingTheNextWindowNot();
    void listingFollowsThePalette();
    void firstPlacementIsWholeAndNearTheOwner_data();
    void firstPlacementIsWholeAndNearTheOwner();
    void focusShowsWhereTheKeysStart();
    void longListingLaysOutOnlyWhatIsInView();
    void endOfListingIsReachable_data();
    void endOfListingIsReachable();
};

void tst_ResultWindow::designTimeLayout()
{
    QCOMPARE(window_->objectName(), QStringLiteral("Form4"));
    QVERIFY(window_->windowFlags() & Qt::Tool);
    QVERIFY(!(window_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window_->width(), ui::TwipsToPixels(4830));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    QCOMPARE(window_->windowTitle(), QString(ui::EmptyTitle)); // an empty title bar
    QCOMPARE(Find<QLabel>(window_, "Label1")->text(), QStringLiteral("Тексты совпадают на "));
    QCOMPARE(Find<QLabel>(window_, "Label2")->text(), QStringLiteral("00"));
    QCOMPARE(Find<QLabel>(window_, "Label4")->text(), QStringLiteral("Даные по Окну №1"));
    QCOMPARE(Find<QLabel>(window_, "Label5")->text(), QStringLiteral("Даные по Окну №2"));
    QCOMPARE(Find<QLabel>(window_, "Label7")->text(), QStringLiteral("00"));
    QCOMPARE(Find<QPushButton>(window_, "Command1")->text(), QStringLiteral("Окей..."));
    QVERIFY(shown("Label4"));
    QVERIFY(!shown("Label3"));
    QVERIFY(!shown("RichTextBox1"));
    QCOMPARE(Find<ui::ListingPane>(window_, "RichTextBox1")->backgroundColour(), ui::ColourWindow);
    QCOMPARE(window_->palette().color(QPalette::Window), uitest::DarkGreen());
}

void tst_ResultWindow::presentsAResult_data()
{
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("shownTo"); // the lowest control the height shows whole
    QTest::addColumn<bool>("listingShown");
    QTest::addColumn<QString>("listing");

    QTest::newRow("partlyShared") << QStringLiteral("A cat sat on the warm sofa all day.")
                                  << QStringLiteral("Текст не уникален")
                                  << QStringLiteral(" 50 %. (Длина шингла  3)") << 2760
                                  << QStringLiteral("RichTextBox1") << true
                                  << QStringLiteral("cat sat on\r\nsat on the\r\non the warm\r\n");
    QTest::newRow("unique") << QStringLiteral("Yesterday a dog slept under the old table quietly.")
                            << QStringLiteral("Текст уникален")
                            << QStringLiteral(" 0 %. (Длина шингла  3)") << 999
                            << QStringLiteral("Label2") << false << QString();
}

void tst_ResultWindow::presentsAResult()
{
    QFETCH(QString, newText);
    QFETCH(QString, caption);
    QFETCH(QString, line);
    QFETCH(int, height);
    QFETCH(QString, shownTo);
    QFETCH(bool, listingShown);
    QFETCH(QString, listing);

    window_->present(ResultOf(newText.toStdU16String().c_str(), CatSource), 3);
    QVERIFY(window_->isVisible());
    // The outer height with the frame the window system really draws, once it has framed it;
    // only a frame too thick to leave room for what the height shows makes the window higher.
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    const QMargins frame = window_->windowHandle()->frameMargins();
    // The near repeats' line sits below the lowest control the height shows, and is shown whole.
    const QRect nearLine = Find(window_.data(), "NearRepeatsLine")->geometry();
    QVERIFY(Find(window_.data(), shownTo.toLatin1().constData())->geometry().bottom() <
            nearLine.top());
    const int shownBottom = nearLine.bottom();
    QTRY_COMPARE(
        window_->windowHandle()->frameGeometry().height(),
        std::max(ui::TwipsToPixels(height), frame.top() + shownBottom + 1 + frame.bottom()));
    QCOMPARE(window_->windowTitle(), caption);
    QCOMPARE(Find<QLabel>(window_, "Label2")->text(), line);
    QCOMPARE(window_->outerHeightTwips(), height);
    QCOMPARE(shown("Label4"), listingShown);
    QCOMPARE(shown("Label3"), listingShown);
    QCOMPARE(inView("RichTextBox1"), listingShown);
    QVERIFY(inView("Command1"));
    QVERIFY(inView("Label1"));
    QVERIFY(inView("Label2"));
    // The design's second block lies below the highest height the window is given, hidden, so
    // that a screen reader does not read it nor Tab reach it.
    for (const char* name : {"Label5", "Label6", "Label7", "Label8", "RichTextBox2", "Line1"}) {
        QVERIFY2(Find(window_.data(), name)->y() >= window_->height(), name);
        QVERIFY2(Find(window_.data(), name)->isHidden(), name);
    }
    // Tab, where the platform lets the window be active (a Wayland compositor may not).
    window_->activateWindow();
    if (QTest::qWaitForWindowActive(window_)) {
        QStringList tabbed;
        Find(window_.data(), "Command1")->setFocus();
        for (int press = 0; press < 3 && window_->focusWidget(); ++press) {
            QTest::keyClick(window_->focusWidget(), Qt::Key_Tab);
            tabbed << window_->focusWidget()->objectName();
        }
        const QStringList tabOrder = listingShown
                                         ? QStringList{"RichTextBox1", "Command1", "RichTextBox1"}
                                         : QStringList{"Command1", "Command1", "Command1"};
        QCOMPARE(tabbed, tabOrder);
    }
    // The result line is read as one sentence, its lead-in with it.
    const auto read = [this](const char* name) {
        return QAccessible::queryAccessibleInterface(Find(window_.data(), name));
    };
    QCOMPARE(read("Label2")->text(QAccessible::Name),
             QStringLiteral("Тексты совпадают на ") + line.trimmed());
    QVERIFY(read("Label1")->state().invisible);
    QCOMPARE(read("RichTextBox1")->text(QAccessible::Name),
             QStringLiteral("Для уникализации исправьте следующие сочетания:"));
    if (listingShown) {
        QVERIFY(inView("Label3"));
        QCOMPARE(Find<ui::ListingPane>(window_, "RichTextBox1")->plainText(), listing);
        QCOMPARE(Find<ui::ListingPane>(window_, "RichTextBox1")->lineCount(), 4);
    }
}

// A unique result after a listing keeps the listing out of sight, its heading with it, and
// shows what a fresh window shows: nothing of them, nothing under the near repeats' line. Closed,
// the window goes; the next one is made from the design.
void tst_ResultWindow::laterUniqueResultKeepsTheListingTheNextWindowNot()
{
    const auto unique = u"Yesterday a dog slept under the old table quietly.";
    window_->present(ResultOf(u"A cat sat on the warm sofa all day.", CatSource), 3);
    window_->present(ResultOf(unique, CatSource), 3);
    QCOMPARE(window_->windowTitle(), QStringLiteral("Текст уникален"));
    QCOMPARE(Find<QLabel>(window_, "Label2")->text(), QStringLiteral(" 0 %. (Длина шингла  3)"));
    QCOMPARE(window_->outerHeightTwips(), 999);
    for (const char* name : {"Label4", "Label3", "RichTextBox1"})
        QVERIFY2(!shown(name), name);
    QVERIFY(inView("NearRepeatsLine"));
    const QWidget* nearLine = Find(window_.data(), "NearRepeatsLine");
    for (const QWidget* control : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QVERIFY2(control == nearLine || !control->isVisibleTo(window_) ||
                     !control->geometry().intersects(nearLine->geometry()),
                 qPrintable(control->objectName()));
    }
    QCOMPARE(Find<ui::ListingPane>(window_, "RichTextBox1")->plainText(),
             QStringLiteral("cat sat on\r\nsat on the\r\non the warm\r\n"));

    uitest::Click(window_, "Command1");
    uitest::DiscardClosedWindows();
    QVERIFY(!window_);
    window_ = new ui::ResultWindow(mainWindow());
    window_->present(ResultOf(unique, CatSource), 3);
    QVERIFY(!shown("Label3"));
    QVERIFY(!shown("RichTextBox1"));
}

// The listing pane is drawn in the platform's window colour of the moment: a change of the
// colour scheme while the result is shown reaches it.
void tst_ResultWindow::listingFollowsThePalette()
{
    window_->present(ResultOf(u"A cat sat on the warm sofa all day.", CatSource), 3);
    auto* listing = Find<ui::ListingPane>(window_, "RichTextBox1");
    const auto colourShown = [listing] { return uitest::ColourNearTheCorner(listing->viewport()); };
    QCOMPARE(colourShown(), QApplication::palette().color(QPalette::Active, QPalette::Base));
    const QColor face(201, 17, 99); // no platform's window colour
    QVERIFY(colourShown() != face);

    QPalette changed = QApplication::palette();
    changed.setColor(QPalette::Active, QPalette::Base, face);
    const uitest::ScopedApplicationPalette scheme(changed);
    QCOMPARE(listing->backgroundColour(), ui::ColourWindow);
    QCOMPARE(colourShown(), face);
}

void tst_ResultWindow::firstPlacementIsWholeAndNearTheOwner_data()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QTest::addColumn<QRect>("ownerPlace");
    QTest::addColumn<bool>("expanded");
    QTest::newRow("small, centred")
        << QRect(screen.center() - QPoint(150, 100), QSize(300, 200)) << true;
    QTest::newRow("right edge") << QRect(screen.right() - 300, 100, 300, 200) << true;
    QTest::newRow("bottom edge") << QRect(40, screen.bottom() - 150, 300, 150) << false;
    QTest::newRow("filling the screen") << screen << true;
    QTest::newRow("wider than the screen")
        << QRect(screen.left() - 50, screen.top(), screen.width() + 100, 300) << true;
}

void tst_ResultWindow::firstPlacementIsWholeAndNearTheOwner()
{
    QFETCH(QRect, ownerPlace);
    QFETCH(bool, expanded);
    // An owner of any size and place, which the main window's fixed size cannot stand for.
    QWidget owner;
    owner.setGeometry(ownerPlace);
    owner.show();
    auto* result = new ui::ResultWindow(&owner);
    result->present(ResultOf(expanded ? u"A cat sat on the warm sofa all day."
                                      : u"Yesterday a dog slept under the old table quietly.",
                             CatSource),
                    3);
    const QRect screen = result->screen()->availableGeometry();
    const QRect owned = owner.frameGeometry();
    const QRect titleBar(owned.topLeft(), QSize(owned.width(), owner.geometry().y() - owned.y()));
    const auto check = [&] {
        const QRect placed = result->frameGeometry();
        const QString where = uitest::Describe(placed);
        QVERIFY2(screen.contains(placed), qPrintable(where));
        QVERIFY2(!placed.intersects(titleBar), qPrintable(where));
        // Near: the room it keeps for its highest height touches or overlaps the owner, or
        // lies within a few pixels of it.
        const QRect room(placed.topLeft(), QSize(placed.width(), ui::TwipsToPixels(2760)));
        QVERIFY2(owned.adjusted(-16, -16, 16, 16).intersects(room), qPrintable(where));
    };
    check();
    // A later, longer result grows the window downwards and keeps it whole.
    result->present(ResultOf(u"A cat sat on the warm sofa all day.", CatSource), 3);
    check();
}

// Tabbed into with no entry current, the listing frames the first entry, which the arrows make
// current, and the frame goes with the focus, as the button's does: as the window shows it, not
// as a fresh paint would.
void tst_ResultWindow::focusShowsWhereTheKeysStart()
{
    window_->present(
        ResultOf(u"The cat sat on the warm mat all day and the cat sat on.", CatSource), 3);
    window_->setEntries(3, [](int) { return false; });
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_));
    auto* listing = Find<ui::ListingPane>(window_, "RichTextBox1");
    QVERIFY(listing->entryCount() > 1);
    const auto shown = [this, listing] {
        QCoreApplication::processEvents();
        const QRect area(listing->viewport()->mapTo(window_, QPoint()),
                         listing->viewport()->size());
        return window_->screen()->grabWindow(window_->winId()).toImage().copy(area);
    };
    QWidget* okButton = Find(window_.data(), "Command1");
    // The style frames focus only once the keys have moved it, as Tab does.
    QVERIFY(uitest::TabTo(okButton, 4));
    const QImage unfocused = shown();
    QVERIFY(uitest::TabTo(listing, 4));
    QCOMPARE(listing->currentEntry(), -1);
    const QRect first =
        listing->lineRect(listing->entryLine(0)) | listing->lineRect(listing->entryLine(1) - 1);
    const QImage focused = shown();
    QRect changed;
    for (int y = 0; y < focused.height(); ++y) {
        for (int x = 0; x < focused.width(); ++x) {
            if (focused.pixel(x, y) != unfocused.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY2(!changed.isEmpty() && first.contains(changed),
             qPrintable(uitest::Describe(changed) + " in " + uitest::Describe(first)));
    QVERIFY(uitest::TabTo(okButton, 4));
    QCOMPARE(shown(), unfocused);
    // "Окей..." shows the keys while it has them, and only then.
    const auto buttonShown = [this, okButton] {
        QCoreApplication::processEvents();
        return window_->screen()
            ->grabWindow(window_->winId())
            .toImage()
            .copy(QRect(okButton->pos(), okButton->size()));
    };
    const QImage buttonFocused = buttonShown();

    QVERIFY(uitest::TabTo(listing, 4));
    QVERIFY(buttonShown() != buttonFocused);
    QTest::keyClick(listing, Qt::Key_Down);
    QCOMPARE(listing->currentEntry(), 0);
}

// 100,000 entries and the closing "… (+K)" line: all of them in the pane's text, only those in
// view laid out, the closing line shown when scrolled to the end, everything copied when asked.
void tst_ResultWindow::longListingLaysOutOnlyWhatIsInView()
{
    std::u16string repeats;
    for (int i = 0; i < 1000; ++i)
        repeats += u"да нет да ";
    const analysis::ComparisonResult result = ResultOf(repeats.c_str(), repeats.c_str());
    window_->present(result, 3);
    auto* listing = Find<ui::ListingPane>(window_, "RichTextBox1");
    listing->repaint();
    QCOMPARE(listing->lineCount(), 100'002);
    QCOMPARE(
        listing->plainText(),
        ui::ToQString(result.MatchListing).replace(QStringLiteral("\r"), QStringLiteral("\r\n")));
    QVERIFY(listing->plainText().endsWith(
        QStringLiteral("\r\n\u2026 (+%1)\r\n").arg(result.MatchCount - 100'000)));
    const quint64 shown = listing->linesLaidOut();
    QVERIFY2(shown < 50, qPrintable(QString::number(shown)));

    listing->verticalScrollBar()->setValue(listing->verticalScrollBar()->maximum());
    listing->repaint();
    QVERIFY(listing->linesLaidOut() - shown < 50);
    QVERIFY(listing->topLine() > 99'990);

    listing->setFocus();
    QTest::keyClick(listing, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(listing, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(),
             ui::ToQString(result.MatchListing).replace(QLatin1Char('\r'), QLatin1Char('\n')));
}

void tst_ResultWindow::endOfListingIsReachable_data()
{
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("source");
    QStringList words;
    for (int i = 0; i < 300; ++i)
        words << QStringLiteral("слово%1").arg(i);
    const QString many = words.join(QLatin1Char(' ')) + QLatin1Char(' ');
    QStringList longWords;
    for (const char16_t letter : u"абвгдежз")
        longWords << QString(1000, QChar(letter));
    const QString tall = longWords.join(QLatin1Char(' ')) + QLatin1Char(' ');
    const QString broken = QStringLiteral("один два три\r\nчетыре пять шесть\r\nсемь восемь ");
    QTest::newRow("many entries") << many << many;
    QTest::newRow("entries taller than the view") << tall << tall;
    QTest::newRow("entries holding line breaks") << broken << broken;
    QTest::newRow("one entry") << QStringLiteral("a b c d e f") << QStringLiteral("a b c x y z");
}

// However long the listing and its entries, every way of scrolling to its end shows its last
// row; once all rows are counted the range is that of Qt's own view of the listing.
void tst_ResultWindow::endOfListingIsReachable()
{
    QFETCH(QString, newText);
    QFETCH(QString, source);
    window_->present(ResultOf(reinterpret_cast<const char16_t*>(newText.utf16()),
                              reinterpret_cast<const char16_t*>(source.utf16())),
                     3);
    auto* listing = Find<ui::ListingPane>(window_, "RichTextBox1");
    listing->setFocus();
    const auto endInView = [listing] {
        const QRect last = listing->lineRect(listing->lineCount() - 1);
        return last.isValid() && listing->viewport()->rect().contains(last);
    };
    QCOMPARE(uitest::WaysThatMissTheEnd(listing, endInView), QStringList());
    QTRY_VERIFY(listing->isLaidOut());
    QCOMPARE(uitest::RangeOf(*listing),
             uitest::QtsOwnRange(*listing, ui::ToToolkitLineBreaks(listing->plainText())));
    QCOMPARE(uitest::WaysThatMissTheEnd(listing, endInView), QStringList());
}

QTEST_MAIN(tst_ResultWindow)
#include "tst_result_window.moc"
