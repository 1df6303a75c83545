// Shows along a pane's vertical scroll bar where the marks of the whole text lie, each layer in
// its colour (mark_style.h): exact marks across the groove, near ones on its inner half only. A
// click on a mark painted there leads to it; a click elsewhere, however near, pages as always,
// and one on the handle drags it, marks or not. The strip has a row for each pixel of the groove,
// worked out while the event loop is idle (IdleBacklog), so that its cost grows with the
// groove's height; the scroll bar is Qt's own, of its own size, and the strip lies over its
// groove, see-through over the handle.
#pragma once

#include "mark_layer.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QScrollBar;

namespace ui {

class IdleBacklog;
class TextPane;

class MarkStrip : public QWidget
{
    Q_OBJECT

public:
    MarkStrip(TextPane* pane, MarkLayers layers);

    // For each row of the groove, a bit for each layer with a mark there, as last worked out.
    const std::vector<std::uint8_t>& rows() const { return rows_; }
    bool isWorkedOut() const;
    // Works out every row now, as the event loop would while idle.
    void workOut();
    // The characters [from, to) of the pane that a row stands for.
    std::pair<int, int> rowRange(int row) const;

signals:
    // A place with marks was clicked: the row's characters.
    void placeChosen(int from, int to);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void followGroove();
    void restart();
    int positionOfLine(int line) const;
    int lineCount() const;
    QRect handleRect() const;
    // Where a layer's mark in `row` is painted, and whether any is painted within `slack` of a
    // point.
    QRect paintedRect(const MarkLayer& layer, int row) const;
    bool isPaintedAt(int row, QPointF point, qreal slack) const;

    TextPane* pane_;
    QScrollBar* bar_;
    MarkLayers layers_;
    IdleBacklog* backlog_;
    std::vector<std::uint8_t> rows_;
    std::vector<std::uint8_t> working_;
};

} // namespace ui
