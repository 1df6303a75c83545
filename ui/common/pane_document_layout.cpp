#include "pane_document_layout.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <climits>

namespace ui {

namespace {

// How long the idle layout keeps the event loop at a time: a keystroke waits no longer.
constexpr qint64 SliceMilliseconds = 4;

} // namespace

PaneDocumentLayout::PaneDocumentLayout(QTextDocument* document) : QPlainTextDocumentLayout(document)
{
    backlog_.setInterval(0);
    connect(&backlog_, &QTimer::timeout, this, &PaneDocumentLayout::layOutSlice);
}

void PaneDocumentLayout::complete()
{
    if (!backlog_.isActive())
        return;
    reporting_ = false;
    const int linesBefore = document()->lineCount();
    for (QTextBlock block = document()->findBlockByNumber(backlogFrom_); block.isValid();
         block = block.next()) {
        if (block.isVisible() && block.layout()->lineCount() == 0)
            layoutBlock(block);
    }
    reporting_ = true;
    backlog_.stop();
    if (document()->lineCount() != linesBefore)
        emit documentSizeChanged(documentSize());
}

void PaneDocumentLayout::relayoutAll()
{
    scheduleFrom(0);
}

QRectF PaneDocumentLayout::blockBoundingRect(const QTextBlock& block) const
{
    if (block.isValid() && block.layout()->lineCount() == 0)
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
        scheduleFrom(first.isValid() ? first.blockNumber() : 0);
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
    layout->setTextOption(doc->defaultTextOption());
    BreakLines(*layout, block.text(), width, margin, work_);
    QTextBlock(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
    if (reporting_ && doc->lineCount() != linesBefore)
        emit documentSizeChanged(documentSize());
}

void PaneDocumentLayout::scheduleFrom(int blockNumber)
{
    backlogFrom_ = backlog_.isActive() ? qMin(backlogFrom_, blockNumber) : blockNumber;
    backlog_.start();
}

void PaneDocumentLayout::layOutSlice()
{
    QElapsedTimer clock;
    clock.start();
    reporting_ = false;
    const int linesBefore = document()->lineCount();
    QTextBlock block = document()->findBlockByNumber(backlogFrom_);
    while (block.isValid() && clock.elapsed() < SliceMilliseconds) {
        if (block.isVisible() && block.layout()->lineCount() == 0)
            layoutBlock(block);
        block = block.next();
    }
    reporting_ = true;
    if (block.isValid())
        backlogFrom_ = block.blockNumber();
    else
        backlog_.stop();
    if (document()->lineCount() != linesBefore)
        emit documentSizeChanged(documentSize());
}

} // namespace ui
