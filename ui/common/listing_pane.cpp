#include "listing_pane.h"

#include "application_palette.h"
#include "line_breaking.h"
#include "text_pane.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>

namespace ui {

namespace {

// As a text pane's document leaves room around its text.
constexpr qreal DocumentMargin = 4;

} // namespace

ListingPane::ListingPane(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setCursor(Qt::IBeamCursor);
    verticalScrollBar()->setSingleStep(1);
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
    layouts_.clear();
    anchor_ = position_ = 0;
    verticalScrollBar()->setValue(0);
    updateScrollRange();
    viewport()->update();
}

QString ListingPane::plainText() const
{
    QString text = text_;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

int ListingPane::topLine() const
{
    return verticalScrollBar()->value();
}

qreal ListingPane::margin() const
{
    return DocumentMargin;
}

QTextLayout& ListingPane::lineLayout(int line) const
{
    std::unique_ptr<QTextLayout>& layout = layouts_[line];
    if (!layout) {
        const int start = starts_[static_cast<std::size_t>(line)];
        const int end = line + 1 < lineCount() ? starts_[static_cast<std::size_t>(line) + 1] - 1
                                               : static_cast<int>(text_.size());
        const QString text = text_.mid(start, end - start);
        layout = std::make_unique<QTextLayout>(text, font(), viewport());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout->setTextOption(option);
        BreakLines(*layout, text, viewport()->width() - 2 * margin(), margin(), work_);
        ++linesLaidOut_;
    }
    return *layout;
}

// Scrolled by lines, as a plain-text view is: the range ends where the last lines fill the view.
void ListingPane::updateScrollRange()
{
    const qreal visible = viewport()->height() - 2 * margin();
    qreal height = 0;
    int line = lineCount();
    while (line > 0) {
        const qreal next = lineLayout(line - 1).boundingRect().height();
        if (height + next > visible)
            break;
        height += next;
        --line;
    }
    const int fitting = qMax(1, lineCount() - line);
    verticalScrollBar()->setRange(0, lineCount() - fitting);
    verticalScrollBar()->setPageStep(fitting);
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

    std::map<int, std::unique_ptr<QTextLayout>> kept;
    qreal y = margin();
    for (int line = topLine(); line < lineCount() && y < viewport()->height(); ++line) {
        QTextLayout& layout = lineLayout(line);
        const int start = starts_[static_cast<std::size_t>(line)];
        QList<QTextLayout::FormatRange> selections;
        if (last > first && last > start && first <= start + layout.text().size()) {
            selection.start = qMax(0, first - start);
            selection.length =
                qMin(last - start, static_cast<int>(layout.text().size()) + 1) - selection.start;
            selections << selection;
        }
        layout.draw(&painter, QPointF(0, y), selections);
        y += layout.boundingRect().height();
        kept[line] = std::move(layouts_[line]);
    }
    // Only the lines in view keep their layouts.
    layouts_ = std::move(kept);
}

void ListingPane::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    layouts_.clear();
    updateScrollRange();
}

void ListingPane::scrollContentsBy(int, int)
{
    viewport()->update();
}

int ListingPane::positionAt(QPoint point) const
{
    qreal y = margin();
    for (int line = topLine(); line < lineCount(); ++line) {
        const QTextLayout& layout = lineLayout(line);
        const qreal height = layout.boundingRect().height();
        if (point.y() < y + height || line + 1 == lineCount()) {
            const int start = starts_[static_cast<std::size_t>(line)];
            for (int i = 0; i < layout.lineCount(); ++i) {
                const QTextLine row = layout.lineAt(i);
                if (point.y() < y + row.rect().bottom() || i + 1 == layout.lineCount())
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
}

void ListingPane::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    position_ = positionAt(event->position().toPoint());
    viewport()->update();
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
    QAbstractScrollArea::keyPressEvent(event);
}

QString ListingPane::selectedText() const
{
    const int first = qMin(anchor_, position_);
    return text_.mid(first, qMax(anchor_, position_) - first);
}

void ListingPane::selectAll()
{
    anchor_ = 0;
    position_ = static_cast<int>(text_.size());
    viewport()->update();
}

void ListingPane::copy() const
{
    if (anchor_ != position_)
        QApplication::clipboard()->setText(selectedText());
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
        layouts_.clear();
        updateScrollRange();
    }
}

} // namespace ui
