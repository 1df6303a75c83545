#include "pane_marks.h"

#include "repeat_follower.h"
#include "ui/common/text_pane.h"

#include <QEvent>
#include <QScrollBar>
#include <QTextDocument>

namespace ui {

PaneMarks::PaneMarks(TextPane* pane, const RepeatFollower* follower, analysis::TextSide side)
    : QObject(pane), pane_(pane), viewport_(pane->viewport()), follower_(follower), side_(side)
{
    // Whatever moves the view or the text is followed once the event loop comes round, however
    // many such changes came first.
    soon_.setSingleShot(true);
    soon_.setInterval(0);
    connect(&soon_, &QTimer::timeout, this, &PaneMarks::refresh);
    const auto later = [this] { soon_.start(); };
    connect(follower, &RepeatFollower::marksChanged, this, later);
    connect(pane->verticalScrollBar(), &QScrollBar::valueChanged, this, later);
    connect(pane->document(), &QTextDocument::contentsChanged, this, later);
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

void PaneMarks::refresh()
{
    QList<QTextEdit::ExtraSelection> selections;
    if (follower_->isActive()) {
        const auto [from, to] = pane_->visibleRange();
        const QTextCharFormat format = markFormat();
        for (const PaneRange& range : follower_->marks(side_, from, to)) {
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
    // The viewport's own pointer, as the pane may be part-destroyed when its viewport's last
    // events come.
    if (watched == viewport_ && event->type() == QEvent::Resize)
        soon_.start();
    return QObject::eventFilter(watched, event);
}

} // namespace ui
