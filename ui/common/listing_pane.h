// A read-only pane for a long listing, one entry a line: it keeps the text as it is and lays
// out only the lines in view, so that a listing of 100,000 entries shows at once. Lines wrap
// as a text pane wraps them; the writer can select and copy them.
#pragma once

#include "colour_value.h"
#include "line_breaking.h"

#include <QAbstractScrollArea>

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
    // The first line in view.
    int topLine() const;

    ColourValue backgroundColour() const { return backgroundColour_; }
    void setBackgroundColour(ColourValue value);

    QString selectedText() const;
    void selectAll();
    void copy() const;
    // Lines laid out since the pane was made: the lines in view, not all of them.
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
    QTextLayout& lineLayout(int line) const;
    qreal margin() const;
    void updateScrollRange();
    int positionAt(QPoint point) const;
    void applyBackground();

    QString text_;            // line breaks as LF
    std::vector<int> starts_; // where each line starts in text_
    mutable std::map<int, std::unique_ptr<QTextLayout>> layouts_;
    mutable quint64 linesLaidOut_ = 0;
    mutable LineBreakWork work_;
    int anchor_ = 0;
    int position_ = 0;
    ColourValue backgroundColour_ = Rgb(255, 255, 255);
};

} // namespace ui
