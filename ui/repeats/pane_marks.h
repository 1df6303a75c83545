// Shows in a text pane where its text repeats another pane's: the runs of each of its layers
// (mark_layer.h), drawn over the lines in view in their own style (mark_style.h). The marks are
// the pane's extra selections: no format of the document changes, nothing goes on the undo
// stack, and copying takes none of them.
//
// They are brought up to date as the pane is painted: whatever moves the view (keys, the scroll
// bar, the wheel, a selection made from the listing or by F3, a new size or font, paragraphs laid
// out while idle) ends in a paint, and the paint finds the lines in view other than those marked.
#pragma once

#include "mark_layer.h"

#include <QObject>

#include <utility>

class QWidget;

namespace ui {

class TextPane;

class PaneMarks : public QObject
{
public:
    PaneMarks(TextPane* pane, MarkLayers layers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Marks the runs in view now.
    void refresh();
    void markStale();

    TextPane* pane_;
    QWidget* viewport_;
    MarkLayers layers_;
    // The characters in view when the marks were last made, and whether the text or the marks
    // changed since.
    std::pair<int, int> marked_;
    bool stale_ = true;
};

} // namespace ui
