#include "line_break_conversion.h"

#include <algorithm>

namespace ui {

QString ToToolkitLineBreaks(QString text)
{
    // In place when the text is not shared. A line separator becomes a paragraph break too, as
    // the pane's plain text gives both as CR LF: every line break of a pane is then a
    // paragraph's end, and a position in the pane is one in its plain text, CR LF aside.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

// Counted first, so that a text without a line break is handed back as it is, and another is
// written once.
QString WithSystemLineBreaks(const QString& text)
{
    const auto isBreak = [](QChar c) { return IsDocumentLineBreak(c) || c == QLatin1Char('\n'); };
    const auto breaks = std::count_if(text.cbegin(), text.cend(), isBreak);
    if (breaks == 0)
        return text;
    QString converted(text.size() + breaks, Qt::Uninitialized);
    QChar* out = converted.data();
    for (const QChar c : text) {
        if (isBreak(c)) {
            *out++ = QLatin1Char('\r');
            *out++ = QLatin1Char('\n');
        } else {
            *out++ = c;
        }
    }
    return converted;
}

QString WithLineFeeds(QString text)
{
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

} // namespace ui
