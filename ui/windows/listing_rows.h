// The rows of the result window's listing, apart from the widget that paints them: its lines,
// how many rows each wraps into at the width it is shown at, and its entries, each a run of
// lines. The rows of a line are known once it is laid out; the lines out of view are laid out
// while the event loop is idle, and until then each counts as one row, so that the last row is
// always reachable and the count becomes exact.
#pragma once

#include "ui/text/idle_backlog.h"

#include <QFont>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPaintDevice;
class QTextLayout;

namespace ui {

class ListingRows : public QObject
{
    Q_OBJECT

public:
    // As a text pane's document leaves room around its text.
    static constexpr qreal Margin = 4;

    explicit ListingRows(QObject* parent = nullptr);
    ~ListingRows() override;

    // CR, LF and CR LF each end a line. A text handed over whole becomes the listing's own, with
    // no copy; lines and positions count in int, so it is shorter than 2^31 characters.
    void setText(QString text);
    // The text as the listing holds it, every line break as LF: what positions count in.
    const QString& text() const { return text_; }
    int lineCount() const { return static_cast<int>(starts_.size()); }
    // Where a line begins, and the line a position lies on.
    int lineStart(int line) const { return starts_[static_cast<std::size_t>(line)]; }
    int lineAt(int position) const;
    QString lineText(int line) const;

    // Lines laid out in `font` within `width` (the margins left out of it), on `device`: every
    // line's rows are counted again.
    void setLayout(const QFont& font, qreal width, const QPaintDevice* device);
    // A line laid out as it is shown, each row below the one before from the top; its rows are
    // counted from it.
    std::unique_ptr<QTextLayout> layOut(int line) const;

    // The rows of a line, one until it is laid out; the first row of a line; all rows.
    int rowsOf(int line) const;
    int firstRowOf(int line) const;
    int rowCount() const { return firstRowOf(lineCount()); }
    // The line a row belongs to.
    int lineOfRow(int row) const;
    // Whether every line's rows are counted.
    bool isCounted() const { return !backlog_.isPending(); }
    // Whether lines laid out since this was last asked wrapped into other numbers of rows than
    // they were counted as, so that the scroll range is to follow.
    bool takeRowsChange();

    // The entries, each a run of lines: entry e takes lines [lines[e], lines[e + 1]), the last
    // one up to line `end`; `done` tells which entries are done.
    void setEntries(std::vector<int> lines, int end, std::function<bool(int)> done);
    int entryCount() const { return static_cast<int>(entryLines_.size()); }
    int entryLine(int entry) const { return entryLines_[static_cast<std::size_t>(entry)]; }
    // The line after an entry's last one.
    int entryEnd(int entry) const;
    // The entry a line belongs to, or -1.
    int entryOfLine(int line) const;
    // An entry's text, its lines joined by LF.
    QString entryText(int entry) const;
    bool isEntryDone(int entry) const { return done_ && done_(entry); }

signals:
    // A line was found to wrap into another number of rows than it was counted as.
    void rowsChanged();

private:
    void setRows(int line, int rows) const;
    void forgetRows();
    std::optional<int> countFrom(int from, const QDeadlineTimer& deadline);

    QString text_;            // line breaks as LF
    std::vector<int> starts_; // where each line starts in text_
    QFont font_;
    qreal width_ = 0;
    const QPaintDevice* device_ = nullptr;
    // The rows each line wraps into once laid out, 0 before; and the first row of each line,
    // counting a line not yet laid out as one row, kept until a count changes.
    mutable std::vector<int> rows_;
    mutable std::vector<int> firstRows_;
    mutable bool firstRowsKnown_ = false;
    mutable bool changed_ = false;
    IdleBacklog backlog_;
    std::vector<int> entryLines_;
    int entriesEnd_ = 0;
    std::function<bool(int)> done_;
};

} // namespace ui
