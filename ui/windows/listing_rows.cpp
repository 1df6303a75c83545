#include "listing_rows.h"

#include "ui/text/line_break_conversion.h"
#include "ui/text/line_breaking.h"

#include <QTextLayout>

#include <algorithm>
#include <numeric>

namespace ui {

ListingRows::ListingRows(QObject* parent)
    : QObject(parent), backlog_([this](int from, const QDeadlineTimer& deadline) {
          return countFrom(from, deadline);
      })
{
    setText(QString());
}

ListingRows::~ListingRows() = default;

void ListingRows::setText(QString text)
{
    text_ = ToToolkitLineBreaks(std::move(text));
    starts_.assign(1, 0);
    for (qsizetype i = text_.indexOf(QLatin1Char('\n')); i != -1;
         i = text_.indexOf(QLatin1Char('\n'), i + 1))
        starts_.push_back(static_cast<int>(i + 1));
    setEntries({}, 0, {});
    forgetRows();
}

int ListingRows::lineAt(int position) const
{
    return static_cast<int>(std::ranges::upper_bound(starts_, position) - starts_.begin()) - 1;
}

QString ListingRows::lineText(int line) const
{
    const int start = lineStart(line);
    const int end =
        line + 1 < lineCount() ? lineStart(line + 1) - 1 : static_cast<int>(text_.size());
    return text_.mid(start, end - start);
}

void ListingRows::setLayout(const QFont& font, qreal width, const QPaintDevice* device)
{
    font_ = font;
    width_ = width;
    device_ = device;
    forgetRows();
}

std::unique_ptr<QTextLayout> ListingRows::layOut(int line) const
{
    const QString text = lineText(line);
    auto layout = std::make_unique<QTextLayout>(text, font_, device_);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    LineBreakWork work;
    BreakLines(*layout, text, width_, Margin, work);
    setRows(line, layout->lineCount());
    return layout;
}

int ListingRows::rowsOf(int line) const
{
    return std::max(1, rows_[static_cast<std::size_t>(line)]);
}

void ListingRows::setRows(int line, int rows) const
{
    const int counted = rowsOf(line);
    rows_[static_cast<std::size_t>(line)] = rows;
    if (rowsOf(line) != counted) {
        firstRowsKnown_ = false;
        changed_ = true;
    }
}

int ListingRows::firstRowOf(int line) const
{
    if (!firstRowsKnown_) {
        firstRows_.resize(rows_.size() + 1);
        firstRows_[0] = 0;
        std::transform_inclusive_scan(rows_.begin(), rows_.end(), firstRows_.begin() + 1,
                                      std::plus<>(), [](int rows) { return std::max(1, rows); });
        firstRowsKnown_ = true;
    }
    return firstRows_[static_cast<std::size_t>(line)];
}

int ListingRows::lineOfRow(int row) const
{
    firstRowOf(0);
    const auto after = std::upper_bound(firstRows_.begin(), firstRows_.end() - 1, row);
    return static_cast<int>(after - firstRows_.begin()) - 1;
}

bool ListingRows::takeRowsChange()
{
    const bool changed = changed_;
    changed_ = false;
    return changed;
}

void ListingRows::forgetRows()
{
    rows_.assign(starts_.size(), 0);
    firstRowsKnown_ = false;
    backlog_.scheduleFrom(0);
}

std::optional<int> ListingRows::countFrom(int from, const QDeadlineTimer& deadline)
{
    int line = from;
    for (; line < lineCount() && !deadline.hasExpired(); ++line) {
        if (rows_[static_cast<std::size_t>(line)] == 0)
            layOut(line);
    }
    if (takeRowsChange())
        emit rowsChanged();
    return line < lineCount() ? std::optional(line) : std::nullopt;
}

void ListingRows::setEntries(std::vector<int> lines, int end, std::function<bool(int)> done)
{
    entryLines_ = std::move(lines);
    entriesEnd_ = end;
    done_ = std::move(done);
}

int ListingRows::entryEnd(int entry) const
{
    return entry + 1 < entryCount() ? entryLine(entry + 1) : entriesEnd_;
}

int ListingRows::entryOfLine(int line) const
{
    if (entryLines_.empty() || line < entryLines_.front() || line >= entriesEnd_)
        return -1;
    return static_cast<int>(std::ranges::upper_bound(entryLines_, line) - entryLines_.begin()) - 1;
}

QString ListingRows::entryText(int entry) const
{
    const int start = lineStart(entryLine(entry));
    const int end = lineStart(entryEnd(entry));
    return text_.mid(start, end - 1 - start);
}

} // namespace ui
