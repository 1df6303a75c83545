#include "document_statistics.h"

#include "ui/kit/strings.h"
#include "ui/text/line_break_conversion.h"
#include "ui/text/paragraph_cuts.h"

#include <QTextBlock>
#include <QTextDocument>

#include <deque>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace ui {

DocumentStatistics::DocumentStatistics(QTextDocument* document, QObject* parent)
    : QObject(parent), document_(document)
{
    replaceBlocks(0, 1, document->blockCount() - 1);
    connect(document, &QTextDocument::contentsChange, this, &DocumentStatistics::update);
}

void DocumentStatistics::update(int from, int /*removed*/, int added)
{
    // The change lies within [from, from + added] of the document as it is now; the blocks
    // outside it are the same as before, so the count of blocks tells how many it replaced.
    const QTextDocument* document = document_;
    const int end = document->characterCount() - 1;
    const int first = document->findBlock(qBound(0, from, end)).blockNumber();
    const int last = document->findBlock(qBound(0, from + added, end)).blockNumber();
    const auto known = static_cast<int>(live_.paragraphCount());
    const int replaced = last - first + 1 - (document->blockCount() - known);
    if (first < 0 || last < first || replaced < 0 || first + replaced > known)
        replaceBlocks(0, known, document->blockCount() - 1);
    else
        replaceBlocks(first, replaced, last);
}

namespace {

// A block's own text is looked up from the document's top, half a microsecond a block: a change of
// this many blocks or more reads them from one copy of the whole text instead.
constexpr std::size_t ReadWholeFrom = 4096;

bool HoldsLineBreaks(QStringView text)
{
    return text.contains(QChar::LineSeparator) || text.contains(u'\n');
}

} // namespace

// Replaces `count` known paragraphs from `first` on by the document's blocks `first` to `last`.
void DocumentStatistics::replaceBlocks(int first, int count, int last)
{
    const auto blocks = static_cast<std::size_t>(last) - static_cast<std::size_t>(first) + 1;
    const bool readWhole = blocks >= ReadWholeFrom;
    const QString whole = readWhole ? document_->toRawText() : QString();
    std::deque<QString> held; // a block's own text, or one with Shift+Enter's breaks as CR LF
    std::vector<std::u16string_view> views;
    views.reserve(blocks);
    // Whether each block continues its paragraph after a space, where a long one was cut.
    const auto continues = std::make_unique<bool[]>(blocks);
    QTextBlock block = document_->findBlockByNumber(first);
    int position = block.isValid() ? block.position() : 0;
    for (int number = first; number <= last && block.isValid(); ++number, block = block.next()) {
        continues[views.size()] = ContinuesParagraph(block);
        const QStringView text =
            readWhole ? QStringView(whole).mid(position, block.length() - 1) : QStringView();
        position += block.length();
        if (!readWhole || HoldsLineBreaks(text)) {
            held.push_back(WithSystemLineBreaks(readWhole ? text.toString() : block.text()));
            views.push_back(ToU16View(held.back()));
        } else {
            views.emplace_back(text.utf16(), static_cast<std::size_t>(text.size()));
        }
    }
    live_.replace(static_cast<std::size_t>(first), static_cast<std::size_t>(count), views,
                  std::span<const bool>(continues.get(), views.size()));
}

} // namespace ui
