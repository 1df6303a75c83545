// A read-only pane for a long listing, one entry a line: it lays out only the lines in view, so
// that a listing of 100,000 entries shows at once. Lines wrap as a text pane wraps them and it
// scrolls by rows, as a text pane does; what its lines, rows and entries are is ListingRows',
// and the pane paints them and takes the writer's input. The writer can select and copy the text.
#pragma once

#include "listing_rows.h"
#include "ui/kit/colour_value.h"

#include <QAbstractScrollArea>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QTextLayout;

namespace ui {

class ListingPane : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit ListingPane(QWidget* parent = nullptr);
    ~ListingPane() override;

    // CR, LF and CR LF each end a line. A text handed over whole becomes the pane's own, with
    // no copy; lines and positions count in int, so it is shorter than 2^31 characters.
    void replacePlainText(QString text);
    // Every line break as CR LF, as a text pane gives it.
    QString plainText() const;
    // The text as the pane holds it, every line break as LF: what positions count in.
    const QString& text() const { return rows_.text(); }
    int lineCount() const { return rows_.lineCount(); }
    // The line the first row in view belongs to.
    int topLine() const { return topLine_; }
    // Whether the rows of every line are counted, so that the scroll range is exact.
    bool isLaidOut() const { return rows_.isCounted(); }
    // Where line `line` is drawn from its first row in view, in the viewport's coordinates; null
    // when it starts above the view or below it.
    QRect lineRect(int line) const;

    ColourValue backgroundColour() const { return backgroundColour_; }
    void setBackgroundColour(ColourValue value);

    QString selectedText() const;
    int selectionStart() const { return std::min(anchor_, position_); }
    int selectionEnd() const { return std::max(anchor_, position_); }
    // Selects [start, end) of text().
    void select(int start, int end);
    void selectAll();
    void copy() const;
    // The text position nearest a point of the viewport, and where a position is drawn in it
    // (null out of view); brings a position into view.
    int positionAtPoint(QPoint point) const { return positionAt(point); }
    QRect characterRect(int position) const;
    void scrollToPosition(int position);
    // Where line `line` begins in the text, line breaks as LF.
    int lineStart(int line) const { return rows_.lineStart(line); }
    int lineAt(int position) const { return rows_.lineAt(position); }

    // The listing's entries, each a run of lines: entry e takes lines [lines[e], lines[e + 1]),
    // the last one up to `end`. A click, the arrows, the page keys, Home and End make an entry
    // current; a double click or Enter activate it. `done` tells which entries to draw as done.
    void setEntries(std::vector<int> lines, int end, std::function<bool(int)> done);
    int entryCount() const { return rows_.entryCount(); }
    int entryLine(int entry) const { return rows_.entryLine(entry); }
    // The entry a line belongs to, or -1.
    int entryOfLine(int line) const { return rows_.entryOfLine(line); }
    // An entry's text, its lines joined by LF.
    QString entryText(int entry) const { return rows_.entryText(entry); }
    bool isEntryDone(int entry) const { return rows_.isEntryDone(entry); }
    int currentEntry() const { return currentEntry_; }
    void setCurrentEntry(int entry);
    // Redraws the entries in view, after which of them are done changed.
    void updateEntries();

    // Lines laid out to be shown since the pane was made: the lines in view, not all of them.
    quint64 linesLaidOut() const { return linesLaidOut_; }

signals:
    void currentEntryChanged(int entry);
    void entryActivated(int entry);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QTextLayout& shownLayout(int line) const;
    // How far the rows scrolled past in the first line shown reach down it.
    qreal skippedHeight(int line, const QTextLayout& layout) const;
    // Lines laid out at the pane's font and width from now on: the view stays on its first line.
    void followLayout();
    void updateScrollRange();
    int positionAt(QPoint point) const;
    void chooseEntry(int entry);
    void scrollToEntry(int entry);
    void tellSelection() const;
    void applyBackground();

    ListingRows rows_;
    mutable std::map<int, std::unique_ptr<QTextLayout>> layouts_; // the lines in view
    mutable quint64 linesLaidOut_ = 0;
    int topLine_ = 0;
    int topRow_ = 0;
    int anchor_ = 0;
    int position_ = 0;
    int currentEntry_ = -1;
    ColourValue backgroundColour_ = Rgb(255, 255, 255);
};

} // namespace ui
