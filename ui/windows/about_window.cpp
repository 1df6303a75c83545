#include "about_window.h"

#include "ui/kit/branding.h"
#include "ui/kit/controls.h"
#include "ui/kit/design_fonts.h"
#include "ui/kit/twips.h"
#include "ui/placement/taskbar.h"
#include "ui/placement/window_setup.h"
#include "ui/text/line_break_conversion.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace ui {

QString AboutWindow::description()
{
    return QStringLiteral("Программа Palimo Suite является универсальным \r\n"
                          "инструментом, который поможет Вам упростить и ускорить \r\n"
                          "процесс написания статей. Теперь текст, по которому \r\n"
                          "пишется новая статья, будет находиться у Вас перед \r\n"
                          "глазами. Если у Вас несколько исходных статей просто \r\n"
                          "разместите их во вторую текстовую форму...\r\n");
}

AboutWindow::AboutWindow(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    SetUpSecondaryWindow(this, "frmAbout", QStringLiteral("О программе"));
    setWindowIcon(ApplicationIcon());
    setFixedSize(TwipsToPixels(5730), TwipsToPixels(3345));

    auto* okButton = MakeButton(this, "cmdOK", QStringLiteral("Окей"),
                                TwipsRect(4245, 2865, 1260, 345), LabelFont());
    // Both the default and the cancel button: Enter presses it as the default button, Esc
    // rejects the dialog, and either closes (and so destroys) the window.
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* icon = MakeControl<QLabel>(this, "picIcon", TwipsRect(120, 120, 615, 615));
    icon->setPixmap(Logo());
    icon->resize(icon->pixmap().size()); // sized to its picture

    auto* title = MakeLabel(this, "lblTitle", QStringLiteral("Palimo Suite... 1.0 "),
                            TwipsRect(1050, 240, 3885, 480));
    QPalette titlePalette = title->palette();
    titlePalette.setColor(QPalette::WindowText, Qt::white);
    title->setPalette(titlePalette);

    auto* text = MakeControl<QPlainTextEdit>(this, "Text1", TwipsRect(960, 600, 4695, 1335));
    text->setPlainText(ToToolkitLineBreaks(description()));
    text->setFont(LabelFont());
    // The designed box holds the six lines with a thin border and little margin.
    text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    text->setLineWidth(1);
    text->document()->setDocumentMargin(2);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette textPalette = text->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        textPalette.setColor(group, QPalette::Text, Qt::black);
        textPalette.setColor(group, QPalette::Base, Qt::white);
    }
    text->setPalette(textPalette);
    text->setEnabled(false);

    // Line1, a grey separator above the button.
    auto* line = MakeControl<QFrame>(
        this, "Line1",
        QRect(TwipsToPixels(120), TwipsToPixels(2640), TwipsToPixels(5684 - 120), 1));
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    QPalette linePalette = line->palette();
    linePalette.setColor(QPalette::Window, QColor(128, 128, 128));
    line->setPalette(linePalette);

    okButton->setFocus();
    PlaceOnFirstShow(this, CentredOnScreen);
    KeepOutOfTaskbar(this);
}

} // namespace ui
