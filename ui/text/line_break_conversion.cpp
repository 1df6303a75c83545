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

std::vector<int> ToolkitPositions(QStringView text, const std::vector<std::size_t>& positions)
{
    std::vector<int> converted;
    converted.reserve(positions.size());
    qsizetype pairs = 0;
    qsizetype i = 0;
    for (const std::size_t position : positions) {
        for (; i + 1 < static_cast<qsizetype>(position); ++i) {
            if (text[i] == QLatin1Char('\r') && text[i + 1] == QLatin1Char('\n'))
                ++pairs;
        }
        converted.push_back(static_cast<int>(static_cast<qsizetype>(position) - pairs));
    }
    return converted;
}

} // namespace ui
