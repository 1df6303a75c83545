// Shows in a text pane where its text repeats the other pane's: the runs that the follower marks,
// drawn as a light tint with a dark underline over the lines in view, so that a mark shows on
// each of the panes' backgrounds and not by its hue alone. The marks are the pane's extra
// selections: no format of the document changes, nothing goes on the undo stack, and copying
// takes none of them.
//
// They are brought up to date as the pane is painted: whatever moves the view (keys, the scroll
// bar, the wheel, a selection made from the listing or by F3, a new size or font, paragraphs laid
// out while idle) ends in a paint, and the paint finds the lines in view other than those marked.
#pragma once

#include "analysis/repeat_tracker.h"

#include <QObject>
#include <QTextCharFormat>

#include <utility>

namespace ui {

class RepeatFollower;
class TextPane;

class PaneMarks : public QObject
{
public:
    PaneMarks(TextPane* pane, const RepeatFollower* follower, analysis::TextSide side);

    // What a mark looks like.
    static QTextCharFormat markFormat();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Marks the runs in view now.
    void refresh();
    void markStale();

    TextPane* pane_;
    QWidget* viewport_;
    const RepeatFollower* follower_;
    analysis::TextSide side_;
    // The characters in view when the marks were last made, and whether the text or the marks
    // changed since.
    std::pair<int, int> marked_;
    bool stale_ = true;
};

} // namespace ui
