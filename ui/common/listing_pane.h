// A read-only pane for a long listing, one entry a line: it keeps the text as it is and lays
// out only the lines in view, so that a listing of 100,000 entries shows at once. Lines wrap
// as a text pane wraps them and it scrolls by rows, as a text pane does; the rows of the lines
// out of view are counted while the event loop is idle, and until then each counts as one, so
// the last row of the listing is always reachable. The writer can select and copy the text.
#pragma once

#include "colour_value.h"

#include <QAbstractScrollArea>
#include <QTimer>

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
    int lineCount() const { return static_cast<int>(starts_.size()); }
    // The line the first row in view belongs to.
    int topLine() const { return topLine_; }
    // Whether the rows of every line are counted, so that the scroll range is exact.
    bool isLaidOut() const { return !backlog_.isActive(); }
    // Where line `line` is drawn from its first row in view, in the viewport's coordinates; null
    // when it starts above the view or below it.
    QRect lineRect(int line) const;

    ColourValue backgroundColour() const { return backgroundColour_; }
    void setBackgroundColour(ColourValue value);

    // Lines laid out to be shown since the pane was made: the lines in view, not all of them.
    quint64 linesLaidOut() const { return linesLaidOut_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString selectedText() const;
    void selectAll();
    void copy() const;
    QString lineText(int line) const;
    std::unique_ptr<QTextLayout> layOut(int line) const;
    QTextLayout& shownLayout(int line) const;
    int rowsOf(int line) const;
    // How far the rows scrolled past in the first line shown reach down it.
    qreal skippedHeight(int line, const QTextLayout& layout) const;
    void setRows(int line, int rows) const;
    int firstRowOf(int line) const;
    void forgetRows();
    void countSlice();
    void updateScrollRange();
    int positionAt(QPoint point) const;
    void applyBackground();

    QString text_;            // line breaks as LF
    std::vector<int> starts_; // where each line starts in text_
    // The rows each line wraps into once laid out, 0 before; and the first row of each line,
    // counting a line not yet laid out as one row, kept until a count changes.
    mutable std::vector<int> rows_;
    mutable std::vector<int> firstRows_;
    mutable bool firstRowsValid_ = false;
    mutable std::map<int, std::unique_ptr<QTextLayout>> layouts_;
    mutable quint64 linesLaidOut_ = 0;
    QTimer backlog_;
    int backlogFrom_ = 0;
    int topLine_ = 0;
    int topRow_ = 0;
    int anchor_ = 0;
    int position_ = 0;
    ColourValue backgroundColour_ = Rgb(255, 255, 255);
};

} // namespace ui
