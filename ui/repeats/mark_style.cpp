#include "mark_style.h"

namespace ui {

QTextCharFormat MarkFormat(MarkSource source, analysis::RepeatKind kind)
{
    const bool first = source == MarkSource::First;
    const bool exact = kind == analysis::RepeatKind::Exact;
    QTextCharFormat format;
    if (first)
        format.setBackground(exact ? QColor(255, 232, 140) : QColor(255, 214, 186));
    else
        format.setBackground(exact ? QColor(182, 226, 255) : QColor(206, 214, 255));
    format.setForeground(QColor(0, 0, 0));
    format.setUnderlineStyle(exact ? QTextCharFormat::SingleUnderline
                                   : QTextCharFormat::WaveUnderline);
    format.setUnderlineColor(first ? QColor(150, 50, 0) : QColor(0, 60, 150));
    return format;
}

QString MarkAttributes(MarkSource source, analysis::RepeatKind kind)
{
    const QTextCharFormat format = MarkFormat(source, kind);
    const auto rgb = [](const QColor& colour) {
        return QStringLiteral("rgb(%1,%2,%3)")
            .arg(colour.red())
            .arg(colour.green())
            .arg(colour.blue());
    };
    return QStringLiteral("background-color:%1;color:%2;text-underline-type:single;"
                          "text-underline-style:%3;invalid:spelling;")
        .arg(rgb(format.background().color()), rgb(format.foreground().color()),
             kind == analysis::RepeatKind::Exact ? QStringLiteral("solid")
                                                 : QStringLiteral("wave"));
}

QColor StripColour(MarkSource source, analysis::RepeatKind kind)
{
    const bool exact = kind == analysis::RepeatKind::Exact;
    if (source == MarkSource::First)
        return exact ? QColor(200, 110, 0) : QColor(210, 80, 60);
    return exact ? QColor(0, 110, 200) : QColor(90, 80, 210);
}

} // namespace ui
