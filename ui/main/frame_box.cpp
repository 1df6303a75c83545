#include "frame_box.h"

#include <QPainter>

namespace ui {

namespace {

constexpr int CaptionIndent = 8; // from the box's left edge to the caption's gap
constexpr int CaptionGap = 2;    // free line on either side of the caption's text

// The etched line of the design's frames: a shadow line with a light line below and right of it.
const QColor Shadow(128, 128, 128);
const QColor Light(255, 255, 255);

} // namespace

int FrameBox::frameTop() const
{
    return fontMetrics().height() / 2;
}

QRect FrameBox::captionRect() const
{
    if (title().isEmpty())
        return {};
    const QFontMetrics metrics = fontMetrics();
    return {CaptionIndent + CaptionGap, 0, metrics.horizontalAdvance(title()), metrics.height()};
}

void FrameBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int top = frameTop();
    const QRect outer(0, top, width() - 1, height() - top - 1);
    const QRect caption = captionRect();
    // The line stops at the caption's gap and goes on after it.
    const QRegion lineArea = QRegion(rect()).subtracted(
        caption.isNull() ? QRegion() : QRegion(caption.adjusted(-CaptionGap, 0, CaptionGap, 0)));
    painter.setClipRegion(lineArea);
    painter.setPen(Light);
    painter.drawRect(outer.translated(1, 1).adjusted(0, 0, -1, -1));
    painter.setPen(Shadow);
    painter.drawRect(outer.adjusted(0, 0, -1, -1));
    painter.setClipping(false);
    if (!caption.isNull()) {
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::WindowText));
        painter.drawText(caption, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title());
    }
}

} // namespace ui
