// Where the windows go on the screens writers have, at the scales they use: the main window as
// large as the screen leaves room for and centred, the other windows whole on the screen and
// clear of the main window's title bar. Sizes are logical pixels, frames as openbox draws them.
#include "support/pixels.h"
#include "ui/placement/placement.h"
#include "ui/placement/window_setup.h"

#include <QTest>

namespace {

constexpr QSize MainDesign(873, 665);
constexpr int ScrollBar = 14; // Fusion's

// openbox's frame (1 + 20 + 1 device pixels high, 1 wide at the sides) in logical pixels, as Qt
// rounds it at each scale.
const QMargins Openbox1(1, 20, 1, 1);
const QMargins Openbox15(1, 13, 1, 1);
const QMargins Openbox2(1, 10, 1, 1);

} // namespace

class tst_Placement : public QObject
{
    Q_OBJECT

private slots:
    void mainWindowFitsAndIsCentred_data();
    void mainWindowFitsAndIsCentred();
    void firstPlacement_data();
    void firstPlacement();
    void centredOnScreen_data();
    void centredOnScreen();
    void centredOverOwner_data();
    void centredOverOwner();
};

void tst_Placement::mainWindowFitsAndIsCentred_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QPoint>("place"); // of the frame

    const auto row = [](const char* name, QRect available, QMargins frame, qreal scale,
                        QSize client, QPoint place) {
        QTest::newRow(name) << available << frame << scale << client << place;
    };
    // Where the design fits: the design's size, centred.
    row("1920x1080 at 1", {0, 0, 1920, 1080}, Openbox1, 1.0, MainDesign, {522, 197});
    row("1366x768 at 1", {0, 0, 1366, 768}, Openbox1, 1.0, MainDesign, {245, 41});
    row("1280x720 at 1", {0, 0, 1280, 720}, Openbox1, 1.0, MainDesign, {202, 17});
    row("1280x720 under a panel", {0, 32, 1280, 688}, Openbox1, 1.0, MainDesign, {202, 33});
    row("offscreen 1920x1080", {0, 0, 1920, 1080}, {2, 2, 2, 2}, 1.0, MainDesign, {521, 205});
    row("a screen left of the first", {-1366, 0, 1366, 768}, Openbox1, 1.0, MainDesign,
        {-1121, 41});
    // Too low: a vertical scroll bar beside the design, the window as high as the area.
    row("1920x1080 at 2", {0, 0, 960, 540}, Openbox2, 2.0, {887, 529}, {35, 0});
    row("1280x720 under a tall panel", {0, 48, 1280, 672}, Openbox1, 1.0, {887, 651}, {195, 48});
    // Too narrow: the horizontal scroll bar takes height the design then lacks too; at 1.5 the
    // height comes down to 998 device pixels, an even number.
    row("1280x1024 at 1.5", {1, 1, 851, 681}, Openbox15, 1.5, {849, 665}, {1, 2});
    row("800x600 at 1", {0, 0, 800, 600}, Openbox1, 1.0, {798, 579}, {0, 0});
}

void tst_Placement::mainWindowFitsAndIsCentred()
{
    QFETCH(QRect, available);
    QFETCH(QMargins, frame);
    QFETCH(qreal, scale);
    QFETCH(QSize, client);
    QFETCH(QPoint, place);
    QCOMPARE(ui::FitClientSize(MainDesign, frame, available, ScrollBar, scale), client);
    const QSize outer = client.grownBy(frame);
    QCOMPARE(ui::CentredPlacement(outer, available), place);
    QVERIFY2(available.contains(QRect(place, outer)),
             qPrintable(uitest::Describe(QRect(place, outer))));
}

namespace {

// The main window as placed above on each screen.
const QRect At2(35, 0, 889, 540);
const QRect At15(1, 1, 851, 681);
const QRect On1280x720(202, 17, 875, 686);
const QRect On1366x768(245, 41, 875, 686);
const QRect On1920x1080(522, 197, 875, 686);

// The result window's client size with room for the higher of its two outer heights, 2760 twips
// (184 pixels), within each frame.
constexpr QSize Result1(322, 163);
constexpr QSize Result15(322, 170);
constexpr QSize Result2(322, 173);
constexpr QSize Help(384, 482);
constexpr QSize About(382, 223);
constexpr QSize Options(421, 128);

void AddPlacementColumns()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("owner"); // the main window's frame; its client area lies within
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QPoint>("place"); // of the frame
}

void AddRow(const char* name, QRect available, QMargins frame, QRect owner, QSize client,
            QPoint place)
{
    QTest::newRow(name) << available << frame << owner << client << place;
}

// Where `placement` puts the window: where the row says, whole on the screen and clear of the
// main window's title bar.
void VerifyPlacement(ui::Placement placement)
{
    QFETCH(QRect, available);
    QFETCH(QMargins, frame);
    QFETCH(QRect, owner);
    QFETCH(QSize, client);
    QFETCH(QPoint, place);
    const ui::WindowPlace main{owner, owner.isNull() ? QRect() : owner.marginsRemoved(frame)};
    const QSize outer = client.grownBy(frame);
    const QPoint placed = placement(outer, main, available);
    QCOMPARE(placed, place);
    const QRect rect(placed, outer);
    QVERIFY2(available.contains(rect), qPrintable(uitest::Describe(rect)));
    QVERIFY2(!rect.intersects(main.titleBar()), qPrintable(uitest::Describe(rect)));
}

} // namespace

// The result window beside the main window where the screen has room, else over the top right
// of its client area, below its title bar and close box.
void tst_Placement::firstPlacement_data()
{
    AddPlacementColumns();
    AddRow("1920x1080 at 1", {0, 0, 1920, 1080}, Openbox1, On1920x1080, Result1, {1405, 197});
    AddRow("1366x768 at 1", {0, 0, 1366, 768}, Openbox1, On1366x768, Result1, {796, 61});
    AddRow("1280x720 at 1", {0, 0, 1280, 720}, Openbox1, On1280x720, Result1, {753, 37});
    AddRow("1920x1080 at 2", {0, 0, 960, 540}, Openbox2, At2, Result2, {600, 10});
    AddRow("1280x1024 at 1.5", {1, 1, 851, 681}, Openbox15, At15, Result15, {528, 14});
    AddRow("left of the main window", {0, 0, 1920, 1080}, Openbox1, {1000, 100, 875, 686}, Result1,
           {668, 100});
    AddRow("without an owner", {0, 0, 1280, 720}, Openbox1, QRect(), Result1, {478, 268});
}

void tst_Placement::firstPlacement()
{
    VerifyPlacement(ui::FirstPlacement);
}

// Help and about centred on the screen; where that would cover the main window's title bar, just
// below it, or above it where the screen has no room below.
void tst_Placement::centredOnScreen_data()
{
    AddPlacementColumns();
    AddRow("help 1920x1080 at 2", {0, 0, 960, 540}, Openbox2, At2, Help, {287, 23});
    AddRow("help 1280x1024 at 1.5", {1, 1, 851, 681}, Openbox15, At15, Help, {233, 93});
    AddRow("help 1280x720 at 1", {0, 0, 1280, 720}, Openbox1, On1280x720, Help, {447, 108});
    AddRow("about 1920x1080 at 2", {0, 0, 960, 540}, Openbox2, At2, About, {288, 153});
    AddRow("about 1366x768 at 1", {0, 0, 1366, 768}, Openbox1, On1366x768, About, {491, 262});
    AddRow("about below a title bar", {0, 0, 1280, 720}, Openbox1, {202, 250, 875, 400}, About,
           {448, 270});
    AddRow("about above a title bar", {0, 0, 1280, 720}, Openbox1, {202, 470, 875, 250}, About,
           {448, 226});
}

void tst_Placement::centredOnScreen()
{
    VerifyPlacement(ui::CentredOnScreen);
}

// Options centred over the main window, and below its title bar where it would cover it.
void tst_Placement::centredOverOwner_data()
{
    AddPlacementColumns();
    AddRow("1920x1080 at 2", {0, 0, 960, 540}, Openbox2, At2, Options, {268, 200});
    AddRow("1280x720 at 1", {0, 0, 1280, 720}, Openbox1, On1280x720, Options, {428, 285});
    AddRow("a main window at the top", {0, 0, 1280, 720}, Openbox1, {202, 0, 875, 160}, Options,
           {428, 20});
}

void tst_Placement::centredOverOwner()
{
    VerifyPlacement(ui::CentredOverOwner);
}

QTEST_APPLESS_MAIN(tst_Placement)
#include "tst_placement.moc"
