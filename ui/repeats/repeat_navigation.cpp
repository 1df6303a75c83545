#include "repeat_navigation.h"

#include "pane_marks.h"
#include "repeat_follower.h"
#include "ui/text/text_pane.h"
#include "ui/windows/result_window.h"

#include <QAction>

namespace ui {

namespace {

// Selects [start, end) of a pane, from its start to its end, and brings it into view: its start
// first, so that the whole of it shows where it fits.
void SelectInPane(TextPane* pane, PaneRange range)
{
    QTextCursor cursor(pane->document());
    cursor.setPosition(range.start);
    pane->setTextCursor(cursor);
    pane->ensureCursorVisible();
    cursor.setPosition(range.end, QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
    pane->ensureCursorVisible();
}

} // namespace

RepeatNavigation::RepeatNavigation(TextPane* newText, TextPane* source, QObject* parent)
    : QObject(parent), newText_(newText), source_(source),
      follower_(new RepeatFollower(newText, source, this))
{
    for (const auto& [pane, side] : {std::pair{newText, analysis::TextSide::NewText},
                                     std::pair{source, analysis::TextSide::Source}}) {
        new PaneMarks(pane, follower_, side);
        for (const bool forward : {true, false}) {
            auto* action = new QAction(forward ? QStringLiteral("Следующее повторение")
                                               : QStringLiteral("Предыдущее повторение"),
                                       pane);
            action->setShortcut(forward ? QKeySequence(Qt::Key_F3)
                                        : QKeySequence(Qt::SHIFT | Qt::Key_F3));
            action->setShortcutContext(Qt::WidgetShortcut);
            action->setEnabled(false);
            connect(action, &QAction::triggered, this,
                    [this, pane, side, forward] { selectMark(pane, side, forward); });
            connect(follower_, &RepeatFollower::marksChanged, action,
                    [this, action] { action->setEnabled(follower_->isActive()); });
            pane->addAction(action);
        }
    }
    connect(follower_, &RepeatFollower::marksChanged, this, [this] {
        if (window_)
            window_->updateEntries();
    });
}

analysis::ComparisonOutcome RepeatNavigation::compare()
{
    return follower_->compare();
}

void RepeatNavigation::showEntriesIn(ResultWindow* window)
{
    if (window != window_) {
        window_ = window;
        connect(window, &ResultWindow::entryChosen, this,
                [this](int entry) { selectPair(entry, false); });
        connect(window, &ResultWindow::entryActivated, this,
                [this](int entry) { selectPair(entry, true); });
    }
    window->setEntries(follower_->pairCount(),
                       [this](int entry) { return follower_->isPairDone(entry); });
}

// Leaves the keyboard where it is; activated, the new-text pane takes the keyboard with the
// combination selected, ready to be retyped.
void RepeatNavigation::selectPair(int entry, bool activate)
{
    for (const auto& [pane, side] : {std::pair{newText_, analysis::TextSide::NewText},
                                     std::pair{source_, analysis::TextSide::Source}}) {
        if (const std::optional<PaneRange> extent = follower_->pairExtent(entry, side))
            SelectInPane(pane, *extent);
    }
    if (!activate)
        return;
    QWidget* mainWindow = newText_->window();
    mainWindow->activateWindow();
    mainWindow->raise();
    newText_->setFocus(Qt::OtherFocusReason);
}

void RepeatNavigation::selectMark(TextPane* pane, analysis::TextSide side, bool forward)
{
    const QTextCursor cursor = pane->textCursor();
    const std::optional<PaneRange> mark =
        forward ? follower_->nextMark(side, cursor.selectionEnd())
                : follower_->previousMark(side, cursor.selectionStart());
    if (mark)
        SelectInPane(pane, *mark);
}

} // namespace ui
