#include "listing_pane.h"

#include "listing_accessible.h"
#include "ui/kit/application_palette.h"
#include "ui/kit/contrast.h"
#include "ui/text/line_break_conversion.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTextCharFormat>
#include <QTextLayout>

#include <algorithm>
#include <numeric>

namespace ui {

namespace {

constexpr qreal DocumentMargin = ListingRows::Margin;

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
    // Lines laid out while idle may wrap into more rows than they were counted as.
    connect(&rows_, &ListingRows::rowsChanged, this, &ListingPane::updateScrollRange);
    followLayout();
    replacePlainText(QString());
    FollowApplicationPalette(this, [this] { applyBackground(); });
}

ListingPane::~ListingPane() = default;

void ListingPane::replacePlainText(QString text)
{
    rows_.setText(std::move(text));
    anchor_ = position_ = 0;
    topLine_ = 0;
    topRow_ = 0;
    currentEntry_ = -1;
    layouts_.clear();
    updateScrollRange();
    viewport()->update();
}

QString ListingPane::plainText() const
{
    return WithSystemLineBreaks(rows_.text());
}

QTextLayout& ListingPane::shownLayout(int line) const
{
    std::unique_ptr<QTextLayout>& layout = layouts_[line];
    if (!layout) {
        layout = rows_.layOut(line);
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

void ListingPane::followLayout()
{
    rows_.setLayout(font(), viewport()->width() - 2 * DocumentMargin, viewport());
    layouts_.clear();
    topLine_ = std::min(topLine_, lineCount() - 1);
    topRow_ = 0;
}

// Scrolled by rows, as a plain-text view is, and with its arithmetic: the range ends where the
// last rows fill the view.
void ListingPane::updateScrollRange()
{
    const int wanted = rows_.firstRowOf(topLine_) + topRow_;
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
    bar->setRange(0, rows_.rowCount() - fitting);
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
    const int first = qMin(qMin(anchor_, position_), static_cast<int>(text().size()));
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

    // With the keys and no entry current, a focus frame shows where they start: the first
    // entry, which the arrows make current, as a list shows its current item before any is
    // selected.
    const bool framesFirstEntry = hasFocus() && currentEntry_ < 0;
    QRectF firstEntry;

    std::map<int, std::unique_ptr<QTextLayout>> kept;
    qreal y = DocumentMargin;
    for (int line = topLine_; line < lineCount() && y < viewport()->height(); ++line) {
        QTextLayout& layout = shownLayout(line);
        const qreal skipped = skippedHeight(line, layout);
        const int start = lineStart(line);
        QList<QTextLayout::FormatRange> selections;
        if (const int entry = rows_.entryOfLine(line); entry >= 0) {
            if (framesFirstEntry && entry == 0) {
                firstEntry |=
                    QRectF(0, y, viewport()->width(), layout.boundingRect().height() - skipped);
            }
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
    if (!firstEntry.isEmpty()) {
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.rect = firstEntry.toAlignedRect();
        frame.backgroundColor = palette().color(QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
    // Only the lines in view keep their layouts.
    layouts_ = std::move(kept);
    // Lines laid out for the first time may wrap into more rows than they were counted as.
    if (rows_.takeRowsChange())
        updateScrollRange();
}

void ListingPane::resizeEvent(QResizeEvent* event)
{
    const bool newWidth = event->size().width() != event->oldSize().width();
    QAbstractScrollArea::resizeEvent(event);
    if (newWidth)
        followLayout();
    updateScrollRange();
}

void ListingPane::scrollContentsBy(int, int)
{
    const int row = verticalScrollBar()->value();
    topLine_ = rows_.lineOfRow(row);
    topRow_ = std::min(row - rows_.firstRowOf(topLine_), rows_.rowsOf(topLine_) - 1);
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
            const int start = lineStart(line);
            for (int i = line == topLine_ ? topRow_ : 0; i < layout.lineCount(); ++i) {
                const QTextLine row = layout.lineAt(i);
                if (point.y() < y - skipped + row.rect().bottom() || i + 1 == layout.lineCount())
                    return start + row.xToCursor(point.x());
            }
            return start;
        }
        y += height;
    }
    return static_cast<int>(text().size());
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
    if (const int entry = rows_.entryOfLine(lineAt(position_)); entry >= 0)
        chooseEntry(entry);
}

void ListingPane::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int entry = rows_.entryOfLine(lineAt(positionAt(event->position().toPoint())));
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
    return text().mid(first, qMax(anchor_, position_) - first);
}

void ListingPane::select(int start, int end)
{
    anchor_ = std::clamp(start, 0, static_cast<int>(text().size()));
    position_ = std::clamp(end, 0, static_cast<int>(text().size()));
    viewport()->update();
    tellSelection();
}

void ListingPane::selectAll()
{
    select(0, static_cast<int>(text().size()));
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
        verticalScrollBar()->setValue(rows_.firstRowOf(line));
}

void ListingPane::tellSelection() const
{
    QAccessibleTextSelectionEvent event(const_cast<ListingPane*>(this), selectionStart(),
                                        selectionEnd());
    event.setCursorPosition(position_);
    QAccessible::updateAccessibility(&event);
}

void ListingPane::setEntries(std::vector<int> lines, int end, std::function<bool(int)> done)
{
    rows_.setEntries(std::move(lines), end, std::move(done));
    currentEntry_ = -1;
    viewport()->update();
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
    QAccessibleTextCursorEvent event(this, lineStart(entryLine(entry)));
    QAccessible::updateAccessibility(&event);
    emit currentEntryChanged(entry);
}

void ListingPane::updateEntries()
{
    if (entryCount() > 0)
        viewport()->update();
}

// Brings an entry into view: to the top when it lies above, else its last row to the bottom.
void ListingPane::scrollToEntry(int entry)
{
    const int first = entryLine(entry);
    const int last = rows_.entryEnd(entry) - 1;
    const QRect top = lineRect(first);
    const QRect bottom = lineRect(last);
    const QRect view = viewport()->rect();
    if (top.isValid() && bottom.isValid() && view.contains(top) && view.contains(bottom))
        return;
    QScrollBar* bar = verticalScrollBar();
    if (first <= topLine_ || !bottom.isValid() || bottom.bottom() > view.bottom())
        bar->setValue(first <= topLine_
                          ? rows_.firstRowOf(first)
                          : rows_.firstRowOf(last) + rows_.rowsOf(last) - bar->pageStep());
    if (!lineRect(first).isValid())
        bar->setValue(rows_.firstRowOf(first));
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

// The current entry's colours and the focus frame follow the focus. The viewport is opaque, so
// the repaint the scroll area asks for itself does not reach it.
void ListingPane::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ListingPane::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void ListingPane::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        followLayout();
        updateScrollRange();
    }
}

} // namespace ui
