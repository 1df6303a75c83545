#include "pane_document_layout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <climits>

namespace ui {

namespace {

// Qt's layout throws away what it shaped once the lines are broken, and shapes the paragraph
// whole again for each paint and each blink of the cursor. A paragraph this long takes about a
// frame or more to shape: its layout keeps what it shaped. Shorter ones, the paragraphs of any
// book, give that memory back.
constexpr int CachedFrom = 1 << 16;

// A layout of a paragraph's own stays with it until the paragraph goes, some four hundred bytes
// with its line: a million one-word lines would hold four hundred megabytes of layouts that no
// one looks at. A short paragraph out of view is laid out in one layout that all of them share,
// for its line count alone; one that takes a single line needs none of its own until it is
// drawn, and one that takes more gets its own, so that every line's start is known.
constexpr int SharedFor = 256;
// Block states, kept in the block's user state (no highlighter uses it): whether the paragraph
// has a layout of its own that this layout made; one counted in the shared layout as one line
// holds the width's number instead (PaneDocumentLayout::oneLineCounted_).
constexpr int OwnLayout = 1;

// Whether the lines of a block's layout hold its text as it stands. Within an edit block the
// layout hears of no change until the edit ends, and a key the view handles there (a keystroke
// and the cut it makes needed, one step to undo) has the view ask where the cursor is drawn.
bool LaidOutAsItStands(const QTextBlock& block)
{
    const QTextLayout* layout = block.layout();
    const int lines = layout->lineCount();
    if (lines == 0)
        return false;
    const QTextLine last = layout->lineAt(lines - 1);
    return last.textStart() + last.textLength() == block.length() - 1;
}

} // namespace

PaneDocumentLayout::PaneDocumentLayout(QTextDocument* document)
    : QPlainTextDocumentLayout(document),
      backlog_(
          [this](int from, const QDeadlineTimer& deadline) { return layOutFrom(from, deadline); })
{
}

void PaneDocumentLayout::complete()
{
    backlog_.finish();
}

void PaneDocumentLayout::relayoutAll()
{
    // A line counted at the old width may be two at the new one: the counts made at it no
    // longer hold, without a walk through every paragraph.
    ++oneLineCounted_;
    backlog_.scheduleFrom(0);
}

QRectF PaneDocumentLayout::blockBoundingRect(const QTextBlock& block) const
{
    if (block.isValid() &&
        (block.layout()->lineCount() == 0 || (withinEdit_ && !LaidOutAsItStands(block))))
        const_cast<PaneDocumentLayout*>(this)->layoutBlock(block);
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

// As the plain-text layout does it, with this layout's line breaking and the rest laid out idle.
void PaneDocumentLayout::documentChanged(int from, int removed, int added)
{
    QTextDocument* doc = document();
    const int blockCount = doc->blockCount();
    const QTextBlock first = doc->findBlock(from);
    const QTextBlock last = doc->findBlock(qMax(0, from + removed + added - 1));
    if (first == last && blockCount == blockCount_) {
        if (first.isValid() && first.length() > 0) {
            const qreal oldHeight = blockBoundingRect(first).height();
            layoutBlock(first);
            if (blockBoundingRect(first).height() == oldHeight) {
                emit updateBlock(first);
                return;
            }
        }
    } else {
        for (QTextBlock block = first; block.isValid(); block = block.next()) {
            block.clearLayout();
            if (block.userState() == oneLineCounted_)
                block.setUserState(-1);
            block.setLineCount(block.isVisible() ? 1 : 0);
            if (block == last)
                break;
        }
        blockCount_ = blockCount;
        emit documentSizeChanged(documentSize());
        backlog_.scheduleFrom(first.isValid() ? first.blockNumber() : 0);
    }
    emit update(QRectF(0., -doc->documentMargin(), 1e9, 1e9));
}

qreal PaneDocumentLayout::lineWidth() const
{
    // The width the view set; this layout never widens the frame beyond it.
    const qreal textWidth = QPlainTextDocumentLayout::frameBoundingRect(nullptr).width();
    return (textWidth > 0 ? textWidth : qreal(INT_MAX)) - 2 * document()->documentMargin();
}

void PaneDocumentLayout::layoutBlock(const QTextBlock& block)
{
    QTextDocument* doc = document();
    const int linesBefore = doc->lineCount();
    QTextLayout* layout = block.layout();
    layout->setCacheEnabled(block.length() > CachedFrom);
    layout->setTextOption(doc->defaultTextOption());
    BreakLines(*layout, block.text(), lineWidth(), doc->documentMargin(), work_);
    QTextBlock(block).setUserState(OwnLayout);
    QTextBlock(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
    if (reporting_ && doc->lineCount() != linesBefore)
        emit documentSizeChanged(documentSize());
}

// Counted as the paragraph's own layout would break it: only a paragraph with a layout of its own
// has formats (the unmerged runs of missing glyphs), and such a one is never counted here.
bool PaneDocumentLayout::countedInOneLine(const QTextBlock& block)
{
    if (block.length() - 1 > SharedFor)
        return false;
    const QTextDocument* doc = document();
    const QString text = block.text();
    shared_.setText(text);
    shared_.setFont(doc->defaultFont());
    shared_.setTextOption(doc->defaultTextOption());
    BreakLines(shared_, text, lineWidth(), doc->documentMargin(), work_);
    const bool oneLine = shared_.lineCount() == 1;
    shared_.clearLayout();
    if (!oneLine)
        return false;
    QTextBlock(block).setUserState(oneLineCounted_);
    QTextBlock(block).setLineCount(1);
    return true;
}

std::optional<int> PaneDocumentLayout::layOutFrom(int from, const QDeadlineTimer& deadline)
{
    // The view hears of the line count once, after the slice.
    reporting_ = false;
    const int linesBefore = document()->lineCount();
    QTextBlock block = document()->findBlockByNumber(from);
    for (; block.isValid() && !deadline.hasExpired(); block = block.next()) {
        if (!block.isVisible() || block.userState() == oneLineCounted_)
            continue;
        if (block.userState() == OwnLayout ? block.layout()->lineCount() == 0
                                           : !countedInOneLine(block))
            layoutBlock(block);
    }
    reporting_ = true;
    if (document()->lineCount() != linesBefore)
        emit documentSizeChanged(documentSize());
    return block.isValid() ? std::optional(block.blockNumber()) : std::nullopt;
}

} // namespace ui
