// The program reads and writes texts with CR LF between lines, as the design's text boxes do.
// The toolkit breaks lines its own ways: a document holds paragraph separators (Enter) and line
// separators (Shift+Enter), and plain text goes in and out of it with line feeds. These are the
// conversions between the two.
#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace ui {

inline constexpr QStringView SystemLineBreak = u"\r\n";

// Whether `c` breaks a line in a document: a paragraph separator or a line separator.
constexpr bool IsDocumentLineBreak(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// CR LF, CR, LF and the line separator each as one line feed: a text as the toolkit takes it
// in.
QString ToToolkitLineBreaks(QString text);

// A document's line breaks, and line feeds, each as CR LF: a text as the program reads it.
QString WithSystemLineBreaks(const QString& text);

// A document's line breaks as line feeds: a selection as the clipboard hands it on.
QString WithLineFeeds(QString text);

// Where ascending positions of a text stand once ToToolkitLineBreaks has converted it: a CR LF
// before a position takes one character less.
std::vector<int> ToolkitPositions(QStringView text, const std::vector<std::size_t>& positions);

} // namespace ui
