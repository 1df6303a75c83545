// The text panes' document layout. A paste lays out only the paragraphs in view at once, so that
// megabytes paste without delay; the rest are laid out a slice at a time while the event loop
// is idle. Whenever a paragraph's line count becomes known the scroll range follows, so the end
// of the text is always reachable, and once the backlog is done the range is exactly that of
// the text laid out in full.
#pragma once

#include "idle_backlog.h"
#include "line_breaking.h"

#include <QPlainTextDocumentLayout>
#include <QTextLayout>

namespace ui {

class PaneDocumentLayout : public QPlainTextDocumentLayout
{
    Q_OBJECT

public:
    explicit PaneDocumentLayout(QTextDocument* document);

    const LineBreakWork& work() const { return work_; }

    // Whether every paragraph is laid out, and so the document's line count is exact.
    bool isComplete() const { return !backlog_.isPending(); }
    // Lays out what is left at once.
    void complete();
    // Every paragraph's layout was dropped (a new width): lay them out again.
    void relayoutAll();

    // While the view handles a key within an edit block, which keeps this layout from hearing
    // of the change until it ends: a block whose lines no longer cover its text is laid out
    // again before the view reads it.
    void setWithinEdit(bool within) { withinEdit_ = within; }

    QRectF blockBoundingRect(const QTextBlock& block) const override;
    void documentChanged(int from, int removed, int added) override;

private:
    // The width of the lines.
    qreal lineWidth() const;
    // Lays out one paragraph; tells the view when the document's line count changed.
    void layoutBlock(const QTextBlock& block);
    // Whether a short paragraph out of view takes one line, counted as such without a layout of
    // its own.
    bool countedInOneLine(const QTextBlock& block);
    // Lays out the paragraphs from `from` on that are not, until the deadline.
    std::optional<int> layOutFrom(int from, const QDeadlineTimer& deadline);

    int blockCount_ = 1;
    LineBreakWork work_;
    QTextLayout shared_; // for the paragraphs out of view
    // The user state of a paragraph counted as one line at the present width; a new width
    // takes the next number, past any other state.
    int oneLineCounted_ = 2;
    IdleBacklog backlog_; // from the first paragraph that may not be laid out yet
    bool reporting_ = true;
    bool withinEdit_ = false;
};

} // namespace ui
