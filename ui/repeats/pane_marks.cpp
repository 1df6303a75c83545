#include "pane_marks.h"

#include "repeat_follower.h"
#include "ui/text/text_pane.h"

#include <QEvent>
#include <QTextDocument>

namespace ui {

PaneMarks::PaneMarks(TextPane* pane, MarkLayers layers)
    : QObject(pane), pane_(pane), viewport_(pane->viewport()), layers_(std::move(layers))
{
    for (const MarkLayer& layer : layers_)
        connect(layer.follower, &RepeatFollower::marksChanged, this, &PaneMarks::markStale);
    connect(pane->document(), &QTextDocument::contentsChanged, this, &PaneMarks::markStale);
    viewport_->installEventFilter(this);
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
    for (const MarkLayer& layer : layers_) {
        if (!layer.follower->isShowing())
            continue;
        const QTextCharFormat format = MarkFormat(layer.source, layer.kind);
        for (const PaneRange& range :
             layer.follower->marks(layer.side, inView.first, inView.second, layer.kind)) {
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
