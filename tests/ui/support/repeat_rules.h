// What the marks and the listing must show for the panes' texts as they stand, by the literal
// transcription of the rules: the invariant that the window tests, the monkey and the desktop pass
// hold the program to. Positions are a pane's document positions, where each line break is one
// character and the plain text has CR LF.
#pragma once

#include "support/reference.h"
#include "ui/kit/strings.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace uitest {

using DocumentRanges = QList<std::pair<int, int>>;

// The parts of `ranges` within [from, to).
inline DocumentRanges Clipped(const DocumentRanges& ranges, int from, int to)
{
    DocumentRanges clipped;
    for (const auto& [start, end] : ranges) {
        const int first = std::max(start, from);
        const int last = std::min(end, to);
        if (first < last)
            clipped.append({first, last});
    }
    return clipped;
}

// Runs of a plain text as ranges of its pane's document.
inline DocumentRanges InDocument(const QString& plain, const std::vector<analysis::TextRange>& runs)
{
    // Each CR LF before a position is one character of the document.
    const auto document = [&plain](std::size_t position) {
        const auto before = QStringView(plain).left(static_cast<qsizetype>(position));
        return static_cast<int>(static_cast<qsizetype>(position) - before.count(u"\r\n"));
    };
    DocumentRanges ranges;
    for (const analysis::TextRange& run : runs)
        ranges.append({document(run.start), document(run.end)});
    return ranges;
}

// The marks the rules give the new text's pane or the source's, within [from, to). The rules
// are a literal transcription, slow on long texts, and asked again for the same texts at every
// look at a view: the last answer is kept.
inline DocumentRanges MarksByTheRules(const QString& newText, const QString& source, bool ofNewText,
                                      int from = 0, int to = INT_MAX)
{
    struct Answer
    {
        QString newText;
        QString source;
        DocumentRanges newTextMarks;
        DocumentRanges sourceMarks;
    };
    static Answer last;
    static bool known = false;
    if (!known || last.newText != newText || last.source != source) {
        const reference::Repeats repeats =
            reference::LocateRepeats(ui::ToU16View(newText), ui::ToU16View(source), true);
        last = {newText, source, InDocument(newText, repeats.newTextMarks),
                InDocument(source, repeats.sourceMarks)};
        known = true;
    }
    return Clipped(ofNewText ? last.newTextMarks : last.sourceMarks, from, to);
}

// The near repeats the rules give the new text's pane or the other's.
inline DocumentRanges NearMarksByTheRules(const QString& newText, const QString& source,
                                          bool ofNewText)
{
    const reference::NearRepeats repeats =
        reference::LocateNearRepeats(ui::ToU16View(newText), ui::ToU16View(source));
    return InDocument(ofNewText ? newText : source,
                      ofNewText ? repeats.newTextMarks : repeats.sourceMarks);
}

// Texts of 80 short paragraphs, far longer than a pane shows: the new text repeats the source's
// paragraph 40 at its start, the source's first paragraph in its middle, and ends as the source
// ends, so that marks lie at the start, in the middle and at the end of each. As one paragraph,
// 1600 sentences of about 100K characters, which a pane holds cut into blocks, the new text
// repeats 400 sentences in its middle, across a cut.
struct LongTexts
{
    explicit LongTexts(bool oneParagraph = false)
        : newText(
              text(QStringLiteral("новый другой образ иной потом опять речь"), oneParagraph, true)),
          source(text(SourceWords, oneParagraph, false))
    {
    }

    QString newText;
    QString source;

private:
    static inline const QString SourceWords =
        QStringLiteral("исток начало фразы такой дальше снова слово");

    static QString paragraph(const QString& words, int i)
    {
        return words.split(QLatin1Char(' ')).join(QString::number(i) + QLatin1Char(' ')) +
               QString::number(i) + QLatin1Char('.');
    }
    static QString text(const QString& words, bool oneParagraph, bool isNewText)
    {
        const int count = oneParagraph ? 1600 : 80;
        const int middleRun = oneParagraph ? 400 : 1;
        QStringList paragraphs;
        for (int i = 0; i < count; ++i) {
            // Which of the source's paragraphs is copied here, if any.
            const int middle = i - count / 2;
            int copied = -1;
            if (i == 0)
                copied = isNewText ? count / 2 : 0;
            else if (middle >= 0 && middle < middleRun)
                copied = isNewText ? middle : i;
            else if (i == count - 1)
                copied = i;
            paragraphs << (copied >= 0 ? paragraph(SourceWords, copied) : paragraph(words, i));
        }
        return paragraphs.join(oneParagraph ? QStringLiteral(" ") : QStringLiteral("\r\n"));
    }
};

// What is wrong with a listing's entries for the panes' texts as they stand, or nothing.
inline QString ListingAgainstTheRules(const std::vector<reference::ListedEntry>& entries,
                                      const QString& newText, const QString& source)
{
    return QString::fromStdString(
        reference::EntriesAgainstTheRules(entries, ui::ToU16View(newText), ui::ToU16View(source)));
}

} // namespace uitest
