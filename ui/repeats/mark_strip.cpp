#include "mark_strip.h"

#include "repeat_follower.h"
#include "ui/kit/slider_parts.h"
#include "ui/text/idle_backlog.h"
#include "ui/text/text_pane.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>

namespace ui {

namespace {

// Rows a mark is painted over, from its own row down (up, at the groove's end).
constexpr int PaintedRows = 2;

} // namespace

MarkStrip::MarkStrip(TextPane* pane, MarkLayers layers)
    : QWidget(pane->verticalScrollBar()), pane_(pane), bar_(pane->verticalScrollBar()),
      layers_(std::move(layers))
{
    setObjectName(QStringLiteral("MarkStrip"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    backlog_ = new IdleBacklog(
        [this](int from, const QDeadlineTimer& deadline) -> std::optional<int> {
            const int rows = static_cast<int>(working_.size());
            for (int row = from; row < rows; ++row) {
                if (deadline.hasExpired())
                    return row;
                const auto [start, end] = rowRange(row);
                std::uint8_t bits = 0;
                for (std::size_t i = 0; i < layers_.size(); ++i) {
                    const MarkLayer& layer = layers_[i];
                    if (layer.follower->isShowing() &&
                        layer.follower->isMarkedWithin(layer.side, start, std::max(end, start + 1),
                                                       layer.kind))
                        bits |= static_cast<std::uint8_t>(1u << i);
                }
                working_[static_cast<std::size_t>(row)] = bits;
            }
            rows_ = working_;
            update();
            return std::nullopt;
        },
        this);
    for (const MarkLayer& layer : layers_)
        connect(layer.follower, &RepeatFollower::marksChanged, this, &MarkStrip::restart);
    connect(bar_, &QScrollBar::rangeChanged, this, &MarkStrip::restart);
    connect(bar_, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    bar_->installEventFilter(this);
    followGroove();
}

bool MarkStrip::isWorkedOut() const
{
    return !backlog_->isPending();
}

void MarkStrip::workOut()
{
    backlog_->finish();
}

void MarkStrip::restart()
{
    working_.assign(static_cast<std::size_t>(std::max(0, height())), 0);
    backlog_->scheduleFrom(0);
}

void MarkStrip::followGroove()
{
    const QRect groove = SliderPart(bar_, QStyle::SC_ScrollBarGroove);
    if (groove != geometry()) {
        setGeometry(groove);
        rows_.assign(static_cast<std::size_t>(std::max(0, groove.height())), 0);
        restart();
    }
}

QRect MarkStrip::handleRect() const
{
    return SliderPart(bar_, QStyle::SC_ScrollBarSlider).translated(-pos());
}

// The bar counts lines, the last page's among them; the strip puts the text's lines along the
// groove evenly.
int MarkStrip::lineCount() const
{
    return std::max(1, bar_->maximum() + bar_->pageStep());
}

int MarkStrip::positionOfLine(int line) const
{
    const QTextDocument* document = pane_->document();
    if (line <= 0)
        return 0;
    const QTextBlock block = document->findBlockByLineNumber(line);
    if (!block.isValid())
        return document->characterCount() - 1;
    const int within = line - block.firstLineNumber();
    const QTextLayout* layout = block.layout();
    if (layout && within > 0 && within < layout->lineCount())
        return block.position() + layout->lineAt(within).textStart();
    return block.position();
}

std::pair<int, int> MarkStrip::rowRange(int row) const
{
    const qint64 rows = std::max(1, height());
    const qint64 lines = lineCount();
    return {positionOfLine(static_cast<int>(row * lines / rows)),
            positionOfLine(static_cast<int>((row + 1) * lines / rows))};
}

bool MarkStrip::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != bar_)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::StyleChange:
        followGroove();
        break;
    case QEvent::MouseButtonPress: {
        const auto* press = static_cast<QMouseEvent*>(event);
        const QPointF at = press->position() - pos();
        if (press->button() != Qt::LeftButton || !rect().contains(at.toPoint()) ||
            handleRect().contains(at.toPoint()))
            break;
        // Only where a mark is painted: the groove around it pages as ever, however close. At a
        // scale above 1, a press and the painting each round to device pixels their own way,
        // and may disagree by one. The row painted last, over the others, first.
        const qreal slack = devicePixelRatioF() > 1 ? 1 / devicePixelRatioF() : 0;
        const int last =
            std::min(qFloor(at.y() + slack) + PaintedRows - 1, static_cast<int>(rows_.size()) - 1);
        for (int row = last; row >= 0 && row > at.y() - slack - PaintedRows; --row) {
            if (isPaintedAt(row, at, slack)) {
                const auto [from, to] = rowRange(row);
                emit placeChosen(from, to);
                return true;
            }
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// The last rows' marks are painted from higher up, as tall as the others, within the groove.
QRect MarkStrip::paintedRect(const MarkLayer& layer, int row) const
{
    const int left = layer.kind == analysis::RepeatKind::Exact ? 2 : width() / 2;
    return {left, std::min(row, std::max(0, height() - PaintedRows)), width() - 2 - left,
            PaintedRows};
}

bool MarkStrip::isPaintedAt(int row, QPointF point, qreal slack) const
{
    const std::uint8_t bits = rows_[static_cast<std::size_t>(row)];
    for (std::size_t i = 0; i < layers_.size(); ++i) {
        if ((bits & (1u << i)) == 0)
            continue;
        const QRectF painted =
            QRectF(paintedRect(layers_[i], row)).adjusted(-slack, -slack, slack, slack);
        if (point.x() >= painted.left() && point.x() < painted.right() &&
            point.y() >= painted.top() && point.y() < painted.bottom())
            return true;
    }
    return false;
}

// The marks of the part in view are painted over the handle too, where they would otherwise be
// missing from the whole text's picture, but see-through there, so that the handle still shows.
void MarkStrip::paintEvent(QPaintEvent*)
{
    constexpr qreal OverTheHandle = 0.5;
    QPainter painter(this);
    const QRect handle = handleRect();
    // Rows [from, to), painted where the clip lets them.
    const auto paintRows = [&](const QRegion& clip, qreal opacity, int from, int to) {
        painter.setClipRegion(clip);
        painter.setOpacity(opacity);
        for (int row = std::max(from, 0); row < std::min(to, static_cast<int>(rows_.size()));
             ++row) {
            const std::uint8_t bits = rows_[static_cast<std::size_t>(row)];
            for (std::size_t i = 0; i < layers_.size(); ++i) {
                if ((bits & (1u << i)) != 0) {
                    const MarkLayer& layer = layers_[i];
                    painter.fillRect(paintedRect(layer, row),
                                     StripColour(layer.source, layer.kind));
                }
            }
        }
    };
    paintRows(QRegion(rect()).subtracted(handle), 1, 0, height());
    // Only the rows painted within the handle: a mark is painted from its row down, or up from
    // the groove's end.
    paintRows(QRegion(handle), OverTheHandle, handle.top() - PaintedRows + 1,
              handle.bottom() + PaintedRows);
}

} // namespace ui
