#include "document_statistics.h"

#include "ui/kit/strings.h"
#include "ui/text/line_break_conversion.h"
#include "ui/text/paragraph_cuts.h"

#include <QTextBlock>
#include <QTextDocument>

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

// Replaces `count` known paragraphs from `first` on by the document's blocks `first` to `last`.
void DocumentStatistics::replaceBlocks(int first, int count, int last)
{
    const auto blocks = static_cast<std::size_t>(last) - static_cast<std::size_t>(first) + 1;
    std::vector<QString> texts;
    texts.reserve(blocks);
    // Whether each block continues its paragraph after a space, where a long one was cut.
    const auto continues = std::make_unique<bool[]>(blocks);
    QTextBlock block = document_->findBlockByNumber(first);
    for (int number = first; number <= last && block.isValid(); ++number, block = block.next()) {
        continues[texts.size()] = ContinuesParagraph(block);
        texts.push_back(WithSystemLineBreaks(block.text())); // Shift+Enter's breaks as CR LF
    }
    std::vector<std::u16string_view> views;
    views.reserve(texts.size());
    for (const QString& text : texts)
        views.push_back(ToU16View(text));
    live_.replace(static_cast<std::size_t>(first), static_cast<std::size_t>(count), views,
                  std::span<const bool>(continues.get(), texts.size()));
}

} // namespace ui
