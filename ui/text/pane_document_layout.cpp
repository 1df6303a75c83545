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

void PaneDocumentLayout::layoutBlock(const QTextBlock& block)
{
    QTextDocument* doc = document();
    const int linesBefore = doc->lineCount();
    const qreal margin = doc->documentMargin();
    // The width the view set; this layout never widens the frame beyond it.
    const qreal textWidth = QPlainTextDocumentLayout::frameBoundingRect(nullptr).width();
    const qreal width = (textWidth > 0 ? textWidth : qreal(INT_MAX)) - 2 * margin;
    QTextLayout* layout = block.layout();
    layout->setCacheEnabled(block.length() > CachedFrom);
    layout->setTextOption(doc->defaultTextOption());
    BreakLines(*layout, block.text(), width, margin, work_);
    QTextBlock(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
    if (reporting_ && doc->lineCount() != linesBefore)
        emit documentSizeChanged(documentSize());
}

std::optional<int> PaneDocumentLayout::layOutFrom(int from, const QDeadlineTimer& deadline)
{
    // The view hears of the line count once, after the slice.
    reporting_ = false;
    const int linesBefore = document()->lineCount();
    QTextBlock block = document()->findBlockByNumber(from);
    for (; block.isValid() && !deadline.hasExpired(); block = block.next()) {
        if (block.isVisible() && block.layout()->lineCount() == 0)
            layoutBlock(block);
    }
    reporting_ = true;
    if (document()->lineCount() != linesBefore)
        emit documentSizeChanged(documentSize());
    return block.isValid() ? std::optional(block.blockNumber()) : std::nullopt;
}

} // namespace ui
