#include "help_window.h"

#include "ui/kit/branding.h"
#include "ui/kit/colour_value.h"
#include "ui/kit/controls.h"
#include "ui/kit/design_fonts.h"
#include "ui/kit/twips.h"
#include "ui/placement/window_setup.h"
#include "ui/text/text_pane.h"

#include <QPushButton>

namespace ui {

namespace {

QString Section(int number, const QString& heading, const QStringList& paragraphs, bool last)
{
    QString text = QString::number(number) + QStringLiteral(". ") + heading + QLatin1Char('\n');
    for (const QString& paragraph : paragraphs)
        text += paragraph + QLatin1Char('\n');
    if (!last)
        text += QString(33, QLatin1Char('#')) + QLatin1Char('\n');
    return text + QLatin1Char('\n');
}

QString Item(int number, const QString& text)
{
    return QString::number(number) + QStringLiteral(")\t") + text;
}

} // namespace

QString HelpWindow::helpText()
{
    return Section(1, QStringLiteral("Привью:"),
                   {QStringLiteral(
                       "Программа Palimo Suite является универсальным инструментом, который "
                       "поможет Вам упростить и ускорить процесс написания статей. Теперь текст, "
                       "по которому пишется новая статья, будет находиться у Вас перед глазами. "
                       "Если у Вас несколько исходных статей просто разместите их во вторую "
                       "текстовую форму.")},
                   false) +
           Section(
               2, QStringLiteral("Решаемые задачи:"),
               {QStringLiteral("Данная программа решает следующие проблемы/неудобства, с "
                               "которыми я столкнулся в процессе работы копирайтером:"),
                Item(1, QStringLiteral("Материал находится всегда перед глазами.")),
                Item(2, QStringLiteral("В случае если есть несколько источников материала, "
                                       "его можно держать перед глазами и активно "
                                       "использовать, не прибегая к другим окнам.")),
                Item(3, QStringLiteral("Известно время, затраченное на написание статьи.")),
                Item(4, QStringLiteral("Известно количество символов \"без пробелов\" и "
                                       "количество слов в режиме \"он-лайн\". Нет "
                                       "необходимости открывать вкладку \"статистика\" в МС "
                                       "Ворде.")),
                Item(5, QStringLiteral("В зависимости от степени усталости глаз можно "
                                       "откорректировать размер шрифта и цвет текстовых "
                                       "окон.")),
                Item(6, QStringLiteral("Сравнивание ВСЕЙ вновь написанной статьи с оригиналом.")),
                Item(7, QStringLiteral("В случае обнаружения сходных шинглов программа "
                                       "покажет их - останется только изменить и все."))},
               false) +
           Section(3, QStringLiteral("Поддержка:"),
                   {QStringLiteral("Пользователям программы оказывается посильная поддержка в "
                                   "решении проблем возникающих в работе( в процессе работы) "
                                   "программы. Так же принимаются пожелания и предложения, "
                                   "критика.")},
                   false) +
           Section(4, QStringLiteral("Ошибки"),
                   {QStringLiteral("Автор программы будет признателен Вам за любую информацию "
                                   "об обнаруженных ошибках в программе.")},
                   true);
}

HelpWindow::HelpWindow(QWidget* owner)
    : QWidget(owner,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    SetUpSecondaryWindow(this, "Form3", QStringLiteral("Справка"));
    setWindowIcon(ApplicationIcon());
    setFixedSize(TwipsToPixels(5760), TwipsToPixels(7230));

    auto* pane = MakeControl<TextPane>(this, "RichTextBox1", TwipsRect(120, 120, 5535, 6495));
    pane->setFont(ReadOnlyPaneFont());
    pane->setBackgroundColour(Rgb(192, 192, 192));
    pane->setReadOnly(true);
    // A caret shows that the text has the keys, and moves and selects by them for copying.
    pane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // The items' "1)<tab>" were laid out for a tab stop every 720 twips.
    pane->setTabStopDistance(TwipsToPixels(720));
    pane->replacePlainText(helpText());

    auto* okButton = MakeButton(this, "Command1", QStringLiteral("Окей"),
                                TwipsRect(2400, 6840, 1095, 255), LabelFont());
    connect(okButton, &QPushButton::clicked, this, &QWidget::close);
    QWidget::setTabOrder(pane, okButton);
    PlaceOnFirstShow(this, CentredOnScreen);
}

} // namespace ui
