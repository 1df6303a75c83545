#include "pane_marks.h"

#include "repeat_follower.h"
#include "ui/text/text_pane.h"

#include <QEvent>
#include <QTextDocument>

namespace ui {

PaneMarks::PaneMarks(TextPane* pane, const RepeatFollower* follower, analysis::TextSide side)
    : QObject(pane), pane_(pane), viewport_(pane->viewport()), follower_(follower), side_(side)
{
    connect(follower, &RepeatFollower::marksChanged, this, &PaneMarks::markStale);
    connect(pane->document(), &QTextDocument::contentsChanged, this, &PaneMarks::markStale);
    viewport_->installEventFilter(this);
}

QTextCharFormat PaneMarks::markFormat()
{
    QTextCharFormat format;
    format.setBackground(QColor(255, 232, 140));
    format.setForeground(QColor(0, 0, 0));
    format.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    format.setUnderlineColor(QColor(150, 50, 0));
    return format;
}

void PaneMarks::markStale()
{
    stale_ = true;
    viewport_->update();
}

void PaneMarks::refresh()
{
    const std::pair<int, int> inView = pane_->visibleRange();
    if (!stale_ && inView == marked_)
        return;
    stale_ = false;
    marked_ = inView;
    QList<QTextEdit::ExtraSelection> selections;
    if (follower_->isActive()) {
        const QTextCharFormat format = markFormat();
        for (const PaneRange& range : follower_->marks(side_, inView.first, inView.second)) {
            QTextCursor cursor(pane_->document());
            cursor.setPosition(range.start);
            cursor.setPosition(range.end, QTextCursor::KeepAnchor);
            selections.append({cursor, format});
        }
    }
    if (selections.isEmpty() && pane_->extraSelections().isEmpty())
        return;
    pane_->setExtraSelections(selections);
}

bool PaneMarks::eventFilter(QObject* watched, QEvent* event)
{
    // Before the pane paints, so that this paint shows the marks. The viewport's own pointer, as
    // the pane may be part-destroyed when its viewport's last events come.
    if (watched == viewport_ && event->type() == QEvent::Paint)
        refresh();
    return QObject::eventFilter(watched, event);
}

} // namespace ui
