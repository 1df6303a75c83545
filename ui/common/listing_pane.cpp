#include "listing_pane.h"

#include "application_palette.h"
#include "contrast.h"
#include "line_break_conversion.h"
#include "line_breaking.h"
#include "listing_accessible.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextLayout>

#include <algorithm>
#include <numeric>

namespace ui {

namespace {

// As a text pane's document leaves room around its text.
constexpr qreal DocumentMargin = 4;
// How long counting rows out of view keeps the event loop at a time.
constexpr qint64 SliceMilliseconds = 4;

} // namespace

ListingPane::ListingPane(QWidget* parent) : QAbstractScrollArea(parent)
{
    static const bool accessible = [] {
        QAccessible::installFactory(ListingAccessibleFactory);
        return true;
    }();
    Q_UNUSED(accessible)
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setCursor(Qt::IBeamCursor);
    verticalScrollBar()->setSingleStep(1);
    backlog_.setInterval(0);
    connect(&backlog_, &QTimer::timeout, this, &ListingPane::countSlice);
    replacePlainText(QString());
    FollowApplicationPalette(this, [this] { applyBackground(); });
}

ListingPane::~ListingPane() = default;

void ListingPane::replacePlainText(QString text)
{
    text_ = ToToolkitLineBreaks(std::move(text));
    starts_.assign(1, 0);
    for (qsizetype i = text_.indexOf(QLatin1Char('\n')); i != -1;
         i = text_.indexOf(QLatin1Char('\n'), i + 1))
        starts_.push_back(static_cast<int>(i + 1));
    anchor_ = position_ = 0;
    topLine_ = 0;
    entryLines_.clear();
    entryDone_ = {};
    currentEntry_ = -1;
    forgetRows();
    updateScrollRange();
    viewport()->update();
}

QString ListingPane::plainText() const
{
    return WithSystemLineBreaks(text_);
}

QString ListingPane::lineText(int line) const
{
    const int start = starts_[static_cast<std::size_t>(line)];
    const int end = line + 1 < lineCount() ? starts_[static_cast<std::size_t>(line) + 1] - 1
                                           : static_cast<int>(text_.size());
    return text_.mid(start, end - start);
}

std::unique_ptr<QTextLayout> ListingPane::layOut(int line) const
{
    const QString text = lineText(line);
    auto layout = std::make_unique<QTextLayout>(text, font(), viewport());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    LineBreakWork work;
    BreakLines(*layout, text, viewport()->width() - 2 * DocumentMargin, DocumentMargin, work);
    setRows(line, layout->lineCount());
    return layout;
}

QTextLayout& ListingPane::shownLayout(int line) const
{
    std::unique_ptr<QTextLayout>& layout = layouts_[line];
    if (!layout) {
        layout = layOut(line);
        ++linesLaidOut_;
    }
    return *layout;
}

qreal ListingPane::skippedHeight(int line, const QTextLayout& layout) const
{
    if (line != topLine_ || topRow_ == 0 || layout.lineCount() == 0)
        return 0;
    return layout.lineAt(std::min(topRow_, layout.lineCount() - 1)).y();
}

int ListingPane::rowsOf(int line) const
{
    return std::max(1, rows_[static_cast<std::size_t>(line)]);
}

void ListingPane::setRows(int line, int rows) const
{
    const int counted = rowsOf(line);
    rows_[static_cast<std::size_t>(line)] = rows;
    if (rowsOf(line) != counted)
        firstRowsValid_ = false;
}

int ListingPane::firstRowOf(int line) const
{
    if (!firstRowsValid_) {
        firstRows_.resize(rows_.size() + 1);
        firstRows_[0] = 0;
        std::transform_inclusive_scan(rows_.begin(), rows_.end(), firstRows_.begin() + 1,
                                      std::plus<>(), [](int rows) { return std::max(1, rows); });
        firstRowsValid_ = true;
    }
    return firstRows_[static_cast<std::size_t>(line)];
}

// Every line's rows are to be counted again (a new text, width or font); the view stays on its
// first line.
void ListingPane::forgetRows()
{
    rows_.assign(starts_.size(), 0);
    firstRowsValid_ = false;
    layouts_.clear();
    topLine_ = std::min(topLine_, lineCount() - 1);
    topRow_ = 0;
    backlogFrom_ = 0;
    backlog_.start();
}

void ListingPane::countSlice()
{
    QElapsedTimer clock;
    clock.start();
    int line = backlogFrom_;
    for (; line < lineCount() && clock.elapsed() < SliceMilliseconds; ++line) {
        if (rows_[static_cast<std::size_t>(line)] == 0)
            layOut(line);
    }
    backlogFrom_ = line;
    if (line == lineCount())
        backlog_.stop();
    if (!firstRowsValid_)
        updateScrollRange();
}

// Scrolled by rows, as a plain-text view is, and with its arithmetic: the range ends where the
// last rows fill the view.
void ListingPane::updateScrollRange()
{
    const int wanted = firstRowOf(topLine_) + topRow_;
    const qreal visible = viewport()->height() - DocumentMargin - 1;
    qreal height = DocumentMargin;
    int fitting = 0;
    for (int line = lineCount() - 1; line >= 0 && height <= visible; --line) {
        const QTextLayout& layout = shownLayout(line);
        for (int row = layout.lineCount() - 1; row >= 0; --row) {
            height += layout.lineAt(row).height();
            if (height > visible)
                break;
            ++fitting;
        }
    }
    fitting = std::max(1, fitting);
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, firstRowOf(lineCount()) - fitting);
    bar->setPageStep(fitting);
    bar->setValue(wanted);
}

QRect ListingPane::lineRect(int line) const
{
    if (line < topLine_ || line >= lineCount())
        return {};
    qreal y = DocumentMargin;
    for (int shown = topLine_; y < viewport()->height(); ++shown) {
        const QTextLayout& layout = shownLayout(shown);
        const qreal skipped = skippedHeight(shown, layout);
        const qreal height = layout.boundingRect().height() - skipped;
        if (shown == line)
            return QRectF(0, y, viewport()->width(), height).toAlignedRect();
        y += height;
    }
    return {};
}

void ListingPane::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const int first = qMin(qMin(anchor_, position_), static_cast<int>(text_.size()));
    const int last = qMax(anchor_, position_);
    QTextLayout::FormatRange selection;
    selection.format.setBackground(palette().brush(QPalette::Highlight));
    selection.format.setForeground(palette().brush(QPalette::HighlightedText));
    painter.setPen(palette().color(QPalette::Text));
    // Rows scrolled past stay out of the margin above the first row shown.
    if (topRow_ > 0)
        painter.setClipRect(QRectF(0, DocumentMargin, viewport()->width(), viewport()->height()));

    // The current entry as a list shows its current item, on the platform's highlight made
    // readable where it is too light for its text; an entry done greyed and struck out, and
    // struck out alone where it is current.
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const QColor currentText = palette().color(group, QPalette::HighlightedText);
    const QColor currentBackground =
        ReadableBackground(palette().color(group, QPalette::Highlight), currentText);
    QTextLayout::FormatRange whole;
    whole.start = 0;
    QTextCharFormat current;
    current.setForeground(currentText);
    QTextCharFormat done;
    done.setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
    done.setFontStrikeOut(true);

    std::map<int, std::unique_ptr<QTextLayout>> kept;
    qreal y = DocumentMargin;
    for (int line = topLine_; line < lineCount() && y < viewport()->height(); ++line) {
        QTextLayout& layout = shownLayout(line);
        const qreal skipped = skippedHeight(line, layout);
        const int start = starts_[static_cast<std::size_t>(line)];
        QList<QTextLayout::FormatRange> selections;
        if (const int entry = entryOfLine(line); entry >= 0) {
            whole.length = static_cast<int>(layout.text().size());
            const bool isDone = isEntryDone(entry);
            if (entry == currentEntry_) {
                painter.fillRect(
                    QRectF(0, y, viewport()->width(), layout.boundingRect().height() - skipped),
                    currentBackground);
                whole.format = current;
                whole.format.setFontStrikeOut(isDone);
                selections << whole;
            } else if (isDone) {
                whole.format = done;
                selections << whole;
            }
        }
        if (last > first && last > start && first <= start + layout.text().size()) {
            selection.start = qMax(0, first - start);
            selection.length =
                qMin(last - start, static_cast<int>(layout.text().size()) + 1) - selection.start;
            selections << selection;
        }
        layout.draw(&painter, QPointF(0, y - skipped), selections);
        y += layout.boundingRect().height() - skipped;
        kept[line] = std::move(layouts_[line]);
    }
    // Only the lines in view keep their layouts.
    layouts_ = std::move(kept);
    // Lines laid out for the first time may wrap into more rows than they were counted as.
    if (!firstRowsValid_)
        updateScrollRange();
}

void ListingPane::resizeEvent(QResizeEvent* event)
{
    const bool newWidth = event->size().width() != event->oldSize().width();
    QAbstractScrollArea::resizeEvent(event);
    if (newWidth)
        forgetRows();
    updateScrollRange();
}

void ListingPane::scrollContentsBy(int, int)
{
    const int row = verticalScrollBar()->value();
    firstRowOf(0);
    const auto after = std::upper_bound(firstRows_.begin(), firstRows_.end() - 1, row);
    topLine_ = static_cast<int>(after - firstRows_.begin()) - 1;
    topRow_ = std::min(row - firstRows_[static_cast<std::size_t>(topLine_)], rowsOf(topLine_) - 1);
    viewport()->update();
}

int ListingPane::positionAt(QPoint point) const
{
    qreal y = DocumentMargin;
    for (int line = topLine_; line < lineCount(); ++line) {
        const QTextLayout& layout = shownLayout(line);
        const qreal skipped = skippedHeight(line, layout);
        const qreal height = layout.boundingRect().height() - skipped;
        if (point.y() < y + height || line + 1 == lineCount()) {
            const int start = starts_[static_cast<std::size_t>(line)];
            for (int i = line == topLine_ ? topRow_ : 0; i < layout.lineCount(); ++i) {
                const QTextLine row = layout.lineAt(i);
                if (point.y() < y - skipped + row.rect().bottom() || i + 1 == layout.lineCount())
                    return start + row.xToCursor(point.x());
            }
            return start;
        }
        y += height;
    }
    return static_cast<int>(text_.size());
}

void ListingPane::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    position_ = positionAt(event->position().toPoint());
    if (!(event->modifiers() & Qt::ShiftModifier))
        anchor_ = position_;
    viewport()->update();
    tellSelection();
    if (const int entry = entryOfLine(lineAt(position_)); entry >= 0)
        chooseEntry(entry);
}

void ListingPane::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int entry = entryOfLine(lineAt(positionAt(event->position().toPoint())));
    if (entry < 0)
        return;
    setCurrentEntry(entry);
    emit entryActivated(entry);
}

void ListingPane::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    position_ = positionAt(event->position().toPoint());
    viewport()->update();
    tellSelection();
}

void ListingPane::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Copy) {
        copy();
        return;
    }
    if (event == QKeySequence::SelectAll) {
        selectAll();
        return;
    }
    // The entries as a list's items: the arrows, the page keys, Home and End move the current
    // one, and End brings the closing line into view with the last.
    if (entryCount() > 0) {
        const int last = entryCount() - 1;
        const int page = std::max(1, verticalScrollBar()->pageStep() - 1);
        const auto moved = [this, last](int step) {
            return currentEntry_ < 0 ? (step > 0 ? 0 : last)
                                     : std::clamp(currentEntry_ + step, 0, last);
        };
        if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
            chooseEntry(moved(event->key() == Qt::Key_Up ? -1 : 1));
            return;
        }
        if (event == QKeySequence::MoveToPreviousPage || event == QKeySequence::MoveToNextPage) {
            chooseEntry(moved(event == QKeySequence::MoveToPreviousPage ? -page : page));
            return;
        }
        if (event == QKeySequence::MoveToStartOfDocument || event->key() == Qt::Key_Home) {
            chooseEntry(0);
            verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
            return;
        }
        if (event == QKeySequence::MoveToEndOfDocument || event->key() == Qt::Key_End) {
            chooseEntry(last);
            verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
            return;
        }
    }
    if (currentEntry_ >= 0 && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        emit entryActivated(currentEntry_);
        return;
    }
    if (event == QKeySequence::MoveToStartOfDocument || event->key() == Qt::Key_Home) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
        return;
    }
    if (event == QKeySequence::MoveToEndOfDocument || event->key() == Qt::Key_End) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

QString ListingPane::selectedText() const
{
    const int first = qMin(anchor_, position_);
    return text_.mid(first, qMax(anchor_, position_) - first);
}

void ListingPane::select(int start, int end)
{
    anchor_ = std::clamp(start, 0, static_cast<int>(text_.size()));
    position_ = std::clamp(end, 0, static_cast<int>(text_.size()));
    viewport()->update();
    tellSelection();
}

void ListingPane::selectAll()
{
    select(0, static_cast<int>(text_.size()));
}

QRect ListingPane::characterRect(int position) const
{
    const int line = lineAt(position);
    const QRect place = lineRect(line);
    if (!place.isValid())
        return {};
    const QTextLayout& layout = shownLayout(line);
    const int offset = position - lineStart(line);
    const QTextLine row = layout.lineForTextPosition(offset);
    if (!row.isValid())
        return {};
    const qreal x = row.cursorToX(offset);
    const qreal next = row.cursorToX(offset + 1);
    const qreal top = place.top() + row.y() - skippedHeight(line, layout);
    return QRectF(x, top, std::max<qreal>(1, next - x), row.height()).toAlignedRect();
}

void ListingPane::scrollToPosition(int position)
{
    const int line = lineAt(position);
    const QRect place = lineRect(line);
    if (!place.isValid() || !viewport()->rect().contains(place))
        verticalScrollBar()->setValue(firstRowOf(line));
}

void ListingPane::tellSelection() const
{
    QAccessibleTextSelectionEvent event(const_cast<ListingPane*>(this), selectionStart(),
                                        selectionEnd());
    event.setCursorPosition(position_);
    QAccessible::updateAccessibility(&event);
}

int ListingPane::lineAt(int position) const
{
    return static_cast<int>(std::ranges::upper_bound(starts_, position) - starts_.begin()) - 1;
}

void ListingPane::setEntries(std::vector<int> lines, int end, std::function<bool(int)> done)
{
    entryLines_ = std::move(lines);
    entriesEnd_ = end;
    entryDone_ = std::move(done);
    currentEntry_ = -1;
    viewport()->update();
}

int ListingPane::entryOfLine(int line) const
{
    if (entryLines_.empty() || line < entryLines_.front() || line >= entriesEnd_)
        return -1;
    return static_cast<int>(std::ranges::upper_bound(entryLines_, line) - entryLines_.begin()) - 1;
}

void ListingPane::setCurrentEntry(int entry)
{
    if (entry != currentEntry_)
        chooseEntry(entry);
}

// Made current by the writer: chosen again, the entry is told again, so that a click on the
// current entry leads to its pair once more.
void ListingPane::chooseEntry(int entry)
{
    if (entry < 0 || entry >= entryCount())
        return;
    currentEntry_ = entry;
    scrollToEntry(entry);
    viewport()->update();
    // A screen reader follows the current entry as the cursor of the text.
    QAccessibleTextCursorEvent event(this, lineStart(entryLines_[static_cast<std::size_t>(entry)]));
    QAccessible::updateAccessibility(&event);
    emit currentEntryChanged(entry);
}

void ListingPane::updateEntries()
{
    if (!entryLines_.empty())
        viewport()->update();
}

// Brings an entry into view: to the top when it lies above, else its last row to the bottom.
void ListingPane::scrollToEntry(int entry)
{
    const int first = entryLines_[static_cast<std::size_t>(entry)];
    const int last = (entry + 1 < entryCount() ? entryLines_[static_cast<std::size_t>(entry) + 1]
                                               : entriesEnd_) -
                     1;
    const QRect top = lineRect(first);
    const QRect bottom = lineRect(last);
    const QRect view = viewport()->rect();
    if (top.isValid() && bottom.isValid() && view.contains(top) && view.contains(bottom))
        return;
    QScrollBar* bar = verticalScrollBar();
    if (first <= topLine_ || !bottom.isValid() || bottom.bottom() > view.bottom())
        bar->setValue(first <= topLine_ ? firstRowOf(first)
                                        : firstRowOf(last) + rowsOf(last) - bar->pageStep());
    if (!lineRect(first).isValid())
        bar->setValue(firstRowOf(first));
}

QString ListingPane::entryText(int entry) const
{
    const auto index = static_cast<std::size_t>(entry);
    const int start = lineStart(entryLines_[index]);
    const int end =
        lineStart(index + 1 < entryLines_.size() ? entryLines_[index + 1] : entriesEnd_);
    return text_.mid(start, end - 1 - start);
}

// The selected text, or else the current entry's.
void ListingPane::copy() const
{
    if (anchor_ != position_)
        QApplication::clipboard()->setText(selectedText());
    else if (currentEntry_ >= 0)
        QApplication::clipboard()->setText(entryText(currentEntry_));
}

void ListingPane::setBackgroundColour(ColourValue value)
{
    backgroundColour_ = value;
    applyBackground();
}

void ListingPane::applyBackground()
{
    SetPaneBackground(this, backgroundColour_);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void ListingPane::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        forgetRows();
        updateScrollRange();
    }
}

} // namespace ui
