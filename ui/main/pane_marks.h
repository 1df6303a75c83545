// Shows in a text pane where its text repeats the other pane's: the runs that the follower marks,
// drawn as a light tint with a dark underline over the lines in view, so that a mark shows on
// each of the panes' backgrounds and not by its hue alone. The marks are the pane's extra
// selections: no format of the document changes, nothing goes on the undo stack, and copying
// takes none of them.
#pragma once

#include "analysis/repeat_tracker.h"

#include <QObject>
#include <QTextCharFormat>
#include <QTimer>

namespace ui {

class RepeatFollower;
class TextPane;

class PaneMarks : public QObject
{
public:
    PaneMarks(TextPane* pane, const RepeatFollower* follower, analysis::TextSide side);

    // What a mark looks like.
    static QTextCharFormat markFormat();

    // Marks the runs in view now.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TextPane* pane_;
    QWidget* viewport_;
    const RepeatFollower* follower_;
    analysis::TextSide side_;
    QTimer soon_;
};

} // namespace ui
