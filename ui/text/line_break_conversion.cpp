#include "line_break_conversion.h"

#include <algorithm>
#include <utility>

namespace ui {

QString ToToolkitLineBreaks(QString text)
{
    // A line separator becomes a paragraph break too, as the pane's plain text gives both as
    // CR LF: every line break of a pane is then a paragraph's end, and a position in the pane is
    // one in its plain text, CR LF aside. Written in place in one pass from the first break to
    // convert: QString::replace, three passes, took a quarter of a second over a million lines.
    const auto converted = [](QChar c) {
        return c == QLatin1Char('\r') || c == QChar::LineSeparator;
    };
    const auto first = std::ranges::find_if(std::as_const(text), converted);
    if (first == text.cend())
        return text;
    const qsizetype size = text.size();
    qsizetype written = first - text.cbegin();
    QChar* characters = text.data();
    for (qsizetype read = written; read < size; ++read) {
        const QChar c = characters[read];
        if (!converted(c)) {
            characters[written++] = c;
            continue;
        }
        characters[written++] = QLatin1Char('\n');
        if (c == QLatin1Char('\r') && read + 1 < size && characters[read + 1] == QLatin1Char('\n'))
            ++read;
    }
    text.truncate(written);
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
