#include "paragraph_cuts.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace ui {

namespace {

constexpr int ContinuesProperty = QTextFormat::UserProperty + 1;

// Deleting this close to the limit may cross it: a word goes at once.
constexpr int TidyingMargin = 256;

// The blocks of the paragraph that `first` starts: their count, their text's length with the
// spaces at the cuts, and the longest block's.
struct ParagraphExtent
{
    int blocks = 0;
    int length = -1;
    int longestBlock = 0;
};

ParagraphExtent Extent(const QTextBlock& first)
{
    ParagraphExtent extent;
    for (QTextBlock block = first; block.isValid() && (block == first || ContinuesParagraph(block));
         block = block.next()) {
        ++extent.blocks;
        extent.length += block.length();
        extent.longestBlock = std::max(extent.longestBlock, block.length() - 1);
    }
    return extent;
}

QTextBlock ParagraphStart(QTextBlock block)
{
    while (ContinuesParagraph(block))
        block = block.previous();
    return block;
}

// Where a block's text is cut: after a space about every CutBlockLength characters, never at
// its last character, so that no block is left empty.
std::vector<int> CutsOf(const QString& text)
{
    std::vector<int> cuts;
    const auto size = static_cast<int>(text.size());
    for (int start = 0; size - start > CutBlockLength;) {
        int cut = static_cast<int>(text.lastIndexOf(u' ', start + CutBlockLength));
        if (cut <= start)
            cut = static_cast<int>(text.indexOf(u' ', start + CutBlockLength));
        if (cut < 0 || cut >= size - 1)
            break;
        cuts.push_back(cut);
        start = cut + 1;
    }
    return cuts;
}

// Whether it found a space to cut after.
bool CutBlock(QTextCursor& editing, const QTextBlock& block)
{
    QTextBlockFormat continuing = block.blockFormat();
    continuing.setProperty(ContinuesProperty, true);
    const int position = block.position();
    const std::vector<int> cuts = CutsOf(block.text());
    // The separator is put in after the space and the space taken out, so that a cursor on
    // either side of the space stays on that side of the cut; taken out as a selection, as
    // deleteChar() would have Qt find every character boundary of the block.
    for (const int cut : cuts) {
        editing.setPosition(position + cut + 1);
        editing.insertBlock(continuing);
        editing.setPosition(position + cut);
        editing.setPosition(position + cut + 1, QTextCursor::KeepAnchor);
        editing.removeSelectedText();
    }
    return !cuts.empty();
}

// Whether it cut or joined.
bool TidyParagraph(QTextCursor& editing, const QTextBlock& first)
{
    const ParagraphExtent extent = Extent(first);
    if (extent.length <= UncutParagraphLength) {
        // Each cut back to its space; the block before it keeps its format, and a cursor on
        // either side of the cut stays on that side of the space.
        std::vector<int> separators;
        for (QTextBlock block = first.next(); block.isValid() && ContinuesParagraph(block);
             block = block.next())
            separators.push_back(block.position() - 1);
        for (const int separator : separators) {
            editing.setPosition(separator + 1);
            editing.insertText(QStringLiteral(" "));
            editing.setPosition(separator);
            editing.setPosition(separator + 1, QTextCursor::KeepAnchor);
            editing.removeSelectedText();
        }
        return !separators.empty();
    }
    if (extent.longestBlock <= UncutParagraphLength)
        return false;
    std::vector<int> longBlocks;
    for (QTextBlock block = first; block.isValid() && (block == first || ContinuesParagraph(block));
         block = block.next()) {
        if (block.length() - 1 > UncutParagraphLength)
            longBlocks.push_back(block.position());
    }
    const QTextDocument* document = editing.document();
    bool cut = false;
    for (const int start : longBlocks)
        cut = CutBlock(editing, document->findBlock(start)) || cut;
    return cut;
}

} // namespace

bool CarriesContinuation(const QTextBlock& block)
{
    return block.isValid() && block.blockFormat().boolProperty(ContinuesProperty);
}

bool ContinuesParagraph(const QTextBlock& block)
{
    return CarriesContinuation(block) && block.position() > 0;
}

void SetContinuesParagraph(QTextCursor& cursor, bool continues)
{
    QTextBlockFormat format = cursor.blockFormat();
    if (continues)
        format.setProperty(ContinuesProperty, true);
    else
        format.clearProperty(ContinuesProperty);
    cursor.setBlockFormat(format);
}

QString PlainSlice(const QTextDocument* document, int from, int to, QStringView lineBreak)
{
    QString text;
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        const int start = block.position();
        if (start > from) {
            if (ContinuesParagraph(block))
                text += u' ';
            else
                text += lineBreak;
        }
        const int begin = std::max(from, start);
        const int end = std::min(to, start + block.length() - 1);
        if (end > begin)
            text += QStringView(block.text()).mid(begin - start, end - begin);
    }
    return text;
}

void WidenToParagraphs(QTextCursor& cursor)
{
    const QTextDocument* document = cursor.document();
    const QTextBlock first = ParagraphStart(document->findBlock(cursor.selectionStart()));
    QTextBlock last = document->findBlock(cursor.selectionEnd());
    if (cursor.hasSelection() && last.position() == cursor.selectionEnd())
        last = last.previous(); // the selection takes the separator after `last`
    while (ContinuesParagraph(last.next()))
        last = last.next();
    const int start = first.position();
    const int end =
        last.next().isValid() ? last.next().position() : last.position() + last.length() - 1;
    if (start == cursor.selectionStart() && end == cursor.selectionEnd())
        return;
    const bool forward = cursor.anchor() <= cursor.position();
    cursor.setPosition(forward ? start : end);
    cursor.setPosition(forward ? end : start, QTextCursor::KeepAnchor);
}

bool MayNeedTidying(const QTextCursor& cursor, QStringView inserted)
{
    const QTextDocument* document = cursor.document();
    const int end = document->characterCount() - 1;
    const int selected = cursor.selectionEnd() - cursor.selectionStart();
    const auto added = static_cast<int>(inserted.size());
    // A block without a space has nowhere to be cut: typing in it keeps Qt's own steps.
    const auto canBeCut = [inserted](const QTextBlock& block) {
        return inserted.contains(u' ') || QStringView(block.text()).chopped(1).contains(u' ');
    };
    // The paragraphs on either side of the selection, or of the cursor, which a deleted line
    // break joins.
    const QTextBlock first =
        ParagraphStart(document->findBlock(std::max(0, cursor.selectionStart() - 1)));
    const QTextBlock last =
        ParagraphStart(document->findBlock(std::min(end, cursor.selectionEnd() + 1)));
    const ParagraphExtent before = Extent(first);
    const ParagraphExtent after = first == last ? before : Extent(last);
    // What comes is known; what goes may be more than the selection (a word deleted).
    if (first != last && before.length + 1 + after.length + added > UncutParagraphLength)
        return true;
    for (const auto& [start, extent] : {std::pair(first, before), std::pair(last, after)}) {
        if (extent.blocks == 1 && extent.length + added > UncutParagraphLength && canBeCut(start))
            return true;
        if (extent.blocks > 1 && extent.length - selected - TidyingMargin <= UncutParagraphLength)
            return true;
    }
    const QTextBlock typedInto = document->findBlock(cursor.selectionStart());
    return typedInto.length() - 1 + added > UncutParagraphLength && canBeCut(typedInto);
}

bool TidyParagraphs(QTextDocument* document, int from, int to)
{
    QTextCursor editing(document);
    const int end = document->characterCount() - 1;
    const QTextBlock last = document->findBlock(std::clamp(to, 0, end));
    // The paragraphs to tidy, by where they start: a cut or a join keeps every position.
    std::vector<int> starts;
    bool pastLast = false;
    for (QTextBlock block = ParagraphStart(document->findBlock(std::clamp(from, 0, end)));
         block.isValid(); block = block.next()) {
        const bool continues = ContinuesParagraph(block);
        if (pastLast && !continues)
            break;
        pastLast = pastLast || block == last;
        if (continues)
            continue;
        if (block.length() - 1 > UncutParagraphLength || ContinuesParagraph(block.next()))
            starts.push_back(block.position());
    }
    bool tidied = false;
    for (const int start : starts)
        tidied = TidyParagraph(editing, document->findBlock(start)) || tidied;
    return tidied;
}

ParagraphCuts::ParagraphCuts(QTextDocument* document) : QObject(document), document_(document)
{
    blockCount_ = document->blockCount();
    update(0, document->characterCount());
    connect(document, &QTextDocument::contentsChange, this,
            [this](int from, int, int added) { update(from, added); });
}

int ParagraphCuts::before(int blockNumber) const
{
    return static_cast<int>(std::ranges::upper_bound(cuts_, blockNumber) - cuts_.begin());
}

void ParagraphCuts::update(int from, int added)
{
    // The change lies within [from, from + added] of the document as it is now; the blocks
    // outside it are the same as before, those after it renumbered.
    const int end = document_->characterCount() - 1;
    const int first = document_->findBlock(std::clamp(from, 0, end)).blockNumber();
    const int last = document_->findBlock(std::clamp(from + added, 0, end)).blockNumber();
    const int shift = document_->blockCount() - blockCount_;
    blockCount_ = document_->blockCount();
    // A change the count of blocks cannot account for has every block read again.
    const bool whole = last - shift < first - 1;
    const int scanFrom = whole ? 0 : first;
    const int scanTo = whole ? blockCount_ - 1 : last;
    std::vector<int> kept;
    kept.reserve(cuts_.size());
    for (const int cut : cuts_) {
        if (cut < scanFrom)
            kept.push_back(cut);
    }
    int number = scanFrom;
    for (QTextBlock block = document_->findBlockByNumber(scanFrom);
         block.isValid() && number <= scanTo; block = block.next(), ++number) {
        if (ContinuesParagraph(block))
            kept.push_back(number);
    }
    for (const int cut : cuts_) {
        if (!whole && cut > last - shift)
            kept.push_back(cut + shift);
    }
    cuts_ = std::move(kept);
}

} // namespace ui
