// Where the windows go on the screens writers have, at the scales they use: the main window as
// large as the screen leaves room for and centred, the other windows whole on the screen and
// clear of the main window's title bar. Sizes are logical pixels, frames as openbox draws them.
#include "support/pixels.h"
#include "ui/common/placement.h"

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
    void windowsStayWholeAndClearOfTheTitleBar_data();
    void windowsStayWholeAndClearOfTheTitleBar();
};

void tst_Placement::mainWindowFitsAndIsCentred_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QPoint>("place"); // of the frame

    // Where the design fits: the design's size, centred.
    QTest::newRow("1920x1080 at 1")
        << QRect(0, 0, 1920, 1080) << Openbox1 << 1.0 << MainDesign << QPoint(522, 197);
    QTest::newRow("1366x768 at 1")
        << QRect(0, 0, 1366, 768) << Openbox1 << 1.0 << MainDesign << QPoint(245, 41);
    QTest::newRow("1280x720 at 1")
        << QRect(0, 0, 1280, 720) << Openbox1 << 1.0 << MainDesign << QPoint(202, 17);
    QTest::newRow("1280x720 under a panel")
        << QRect(0, 32, 1280, 688) << Openbox1 << 1.0 << MainDesign << QPoint(202, 33);
    QTest::newRow("offscreen 1920x1080")
        << QRect(0, 0, 1920, 1080) << QMargins(2, 2, 2, 2) << 1.0 << MainDesign << QPoint(521, 205);
    QTest::newRow("a screen left of the first")
        << QRect(-1366, 0, 1366, 768) << Openbox1 << 1.0 << MainDesign << QPoint(-1121, 41);
    // Too low: a vertical scroll bar beside the design, the window as high as the area.
    QTest::newRow("1920x1080 at 2")
        << QRect(0, 0, 960, 540) << Openbox2 << 2.0 << QSize(887, 529) << QPoint(35, 0);
    QTest::newRow("1280x720 under a tall panel")
        << QRect(0, 48, 1280, 672) << Openbox1 << 1.0 << QSize(887, 651) << QPoint(195, 48);
    // Too narrow: the horizontal scroll bar takes height the design then lacks too; at 1.5 the
    // height comes down to 998 device pixels, an even number.
    QTest::newRow("1280x1024 at 1.5")
        << QRect(1, 1, 851, 681) << Openbox15 << 1.5 << QSize(849, 665) << QPoint(1, 2);
    QTest::newRow("800x600 at 1") << QRect(0, 0, 800, 600) << Openbox1 << 1.0 << QSize(798, 579)
                                  << QPoint(0, 0);
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

void tst_Placement::windowsStayWholeAndClearOfTheTitleBar_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("owner"); // the main window's frame; its client area lies within
    QTest::addColumn<QPoint>("place");

    // The main window as placed above on each screen.
    const QRect at2(35, 0, 889, 540);
    const QRect at15(1, 1, 851, 681);
    const QRect on1280x720(202, 17, 875, 686);
    const QRect on1366x768(245, 41, 875, 686);
    const QRect on1920x1080(522, 197, 875, 686);

    const auto row = [](const char* name, const char* window, QRect available, QMargins frame,
                        QRect owner, QPoint place) {
        QTest::newRow(name) << QString::fromLatin1(window) << available << frame << owner << place;
    };
    // The result window beside the main window where the screen has room, else over the top
    // right of its client area, below its title bar and close box.
    row("result 1920x1080 at 1", "result", QRect(0, 0, 1920, 1080), Openbox1, on1920x1080,
        QPoint(1405, 197));
    row("result 1366x768 at 1", "result", QRect(0, 0, 1366, 768), Openbox1, on1366x768,
        QPoint(796, 61));
    row("result 1280x720 at 1", "result", QRect(0, 0, 1280, 720), Openbox1, on1280x720,
        QPoint(753, 37));
    row("result 1920x1080 at 2", "result", QRect(0, 0, 960, 540), Openbox2, at2, QPoint(600, 10));
    row("result 1280x1024 at 1.5", "result", QRect(1, 1, 851, 681), Openbox15, at15,
        QPoint(528, 14));
    row("result left of the main window", "result", QRect(0, 0, 1920, 1080), Openbox1,
        QRect(1000, 100, 875, 686), QPoint(668, 100));
    row("result without an owner", "result", QRect(0, 0, 1280, 720), Openbox1, QRect(),
        QPoint(478, 268));

    // Help and about centred on the screen, options over the main window.
    row("help 1920x1080 at 2", "help", QRect(0, 0, 960, 540), Openbox2, at2, QPoint(287, 23));
    row("help 1280x1024 at 1.5", "help", QRect(1, 1, 851, 681), Openbox15, at15, QPoint(233, 93));
    row("help 1280x720 at 1", "help", QRect(0, 0, 1280, 720), Openbox1, on1280x720,
        QPoint(447, 108));
    row("about 1920x1080 at 2", "about", QRect(0, 0, 960, 540), Openbox2, at2, QPoint(288, 153));
    row("about 1366x768 at 1", "about", QRect(0, 0, 1366, 768), Openbox1, on1366x768,
        QPoint(491, 262));
    row("options 1920x1080 at 2", "options", QRect(0, 0, 960, 540), Openbox2, at2,
        QPoint(268, 200));
    row("options 1280x720 at 1", "options", QRect(0, 0, 1280, 720), Openbox1, on1280x720,
        QPoint(428, 285));
    // A centred window that would cover the title bar moves below it, or above it where the
    // screen has no room below.
    row("about below a title bar", "about", QRect(0, 0, 1280, 720), Openbox1,
        QRect(202, 250, 875, 400), QPoint(448, 270));
    row("about above a title bar", "about", QRect(0, 0, 1280, 720), Openbox1,
        QRect(202, 470, 875, 250), QPoint(448, 226));
    row("options over a main window at the top", "options", QRect(0, 0, 1280, 720), Openbox1,
        QRect(202, 0, 875, 160), QPoint(428, 20));
}

void tst_Placement::windowsStayWholeAndClearOfTheTitleBar()
{
    QFETCH(QString, window);
    QFETCH(QRect, available);
    QFETCH(QMargins, frame);
    QFETCH(QRect, owner);
    QFETCH(QPoint, place);
    const ui::WindowPlace main{owner, owner.isNull() ? QRect() : owner.marginsRemoved(frame)};

    QPoint placed;
    QSize outer;
    if (window == QLatin1String("result")) {
        // Room for the highest of its two outer heights, 2760 twips.
        outer = QSize(322, 184 - frame.top() - frame.bottom()).grownBy(frame);
        placed = ui::FirstPlacement(main, outer, available);
    } else if (window == QLatin1String("options")) {
        outer = QSize(421, 128).grownBy(frame);
        placed = ui::CentredOverOwner(outer, main, available);
    } else {
        outer =
            (window == QLatin1String("help") ? QSize(384, 482) : QSize(382, 223)).grownBy(frame);
        placed = ui::CentredOnScreen(outer, main, available);
    }
    QCOMPARE(placed, place);
    const QRect rect(placed, outer);
    QVERIFY2(available.contains(rect), qPrintable(uitest::Describe(rect)));
    QVERIFY2(!rect.intersects(main.titleBar()), qPrintable(uitest::Describe(rect)));
}

QTEST_APPLESS_MAIN(tst_Placement)
#include "tst_placement.moc"
