// The marks and the listing of the real windows held against the rules (repeat_rules.h): what a
// pane paints in its view, read from the pane and from its pixels, and the listing's entries.
#pragma once

#include "repeat_rules.h"
#include "ui/main/main_window.h"
#include "ui/repeats/mark_style.h"
#include "ui/repeats/repeat_follower.h"
#include "ui/text/text_pane.h"
#include "ui/windows/listing_pane.h"
#include "ui/windows/result_window.h"

#include <QApplication>
#include <QTextBlock>

namespace uitest {

// The characters a pane shows: from the start of the line at the top of its view to the end of
// the line at its bottom, as Qt's own hit test finds them.
inline std::pair<int, int> CharactersInView(const QPlainTextEdit& pane)
{
    QTextCursor top = pane.cursorForPosition(QPoint(0, 0));
    top.movePosition(QTextCursor::StartOfLine);
    const QRect view = pane.viewport()->rect();
    QTextCursor bottom = pane.cursorForPosition(QPoint(view.right(), view.bottom()));
    bottom.movePosition(QTextCursor::EndOfLine);
    return {top.position(), bottom.position()};
}

// The marks of one style among a pane's extra selections, as [start, end) of its document.
inline DocumentRanges MarksOfStyle(const ui::TextPane& pane,
                                   ui::MarkSource source = ui::MarkSource::First,
                                   analysis::RepeatKind kind = analysis::RepeatKind::Exact)
{
    const QTextCharFormat style = ui::MarkFormat(source, kind);
    DocumentRanges ranges;
    for (const QTextEdit::ExtraSelection& selection : pane.extraSelections()) {
        if (selection.format == style)
            ranges.append({selection.cursor.selectionStart(), selection.cursor.selectionEnd()});
    }
    return ranges;
}

// What a pane draws in its view once the event loop has come round; the marks of its view are
// worked out as it paints.
inline QImage Painted(const ui::TextPane& pane)
{
    QCoreApplication::processEvents();
    return pane.viewport()->grab().toImage();
}

// What is wrong with the marks the new-text and source panes paint in their views, or nothing:
// they are to be those the rules give for the texts as they stand, and drawn.
inline QString MarksInViewAgainstTheRules(const ui::MainWindow& window)
{
    const QString newText = window.newTextPane()->plainText();
    const QString source = window.sourcePane()->plainText();
    const QColor tint =
        ui::MarkFormat(ui::MarkSource::First, analysis::RepeatKind::Exact).background().color();
    const auto show = [](const DocumentRanges& ranges) {
        QStringList shown;
        for (const auto& [start, end] : ranges)
            shown << QStringLiteral("[%1, %2)").arg(start).arg(end);
        return shown.join(QLatin1Char(' '));
    };
    for (const ui::TextPane* pane : {window.newTextPane(), window.sourcePane()}) {
        if (!pane->isVisible())
            continue;
        const QImage painted = Painted(*pane);
        const auto [from, to] = CharactersInView(*pane);
        const DocumentRanges marks = Clipped(MarksOfStyle(*pane), from, to);
        const DocumentRanges expected =
            MarksByTheRules(newText, source, pane == window.newTextPane(), from, to);
        if (marks != expected)
            return QStringLiteral("%1 marks %2 of the characters [%3, %4) in view, not %5")
                .arg(pane->objectName(), show(marks))
                .arg(from)
                .arg(to)
                .arg(show(expected));
        // The tint shows behind every visible character of a mark that the selection, drawn
        // over the marks, leaves out (white space ending a line has no room of its own); a line
        // cut by the view's top or bottom edge counts when at least half of it shows.
        const QTextCursor selection = pane->textCursor();
        const QRect view = pane->viewport()->rect();
        bool tintShows = false;
        for (const auto& [start, end] : Clipped(expected, 0, selection.selectionStart()) +
                                            Clipped(expected, selection.selectionEnd(), INT_MAX)) {
            for (int i = start; i < end && !tintShows; ++i) {
                QTextCursor at(pane->document());
                at.setPosition(i);
                tintShows = !pane->document()->characterAt(i).isSpace() &&
                            view.contains(view.center().x(), pane->cursorRect(at).center().y());
            }
        }
        bool tinted = false;
        for (int y = 0; y < painted.height() && !tinted; ++y) {
            for (int x = 0; x < painted.width() && !tinted; ++x)
                tinted = painted.pixelColor(x, y) == tint;
        }
        if (tintShows && !tinted)
            return QStringLiteral("%1 draws no tinted pixel for the marks %2")
                .arg(pane->objectName(), show(expected));
    }
    return {};
}

// What is wrong with the near repeats the new-text and source panes mark in their views, or
// nothing, once they are known.
inline QString NearMarksInViewAgainstTheRules(const ui::MainWindow& window)
{
    const QString newText = window.newTextPane()->plainText();
    const QString source = window.sourcePane()->plainText();
    for (const ui::TextPane* pane : {window.newTextPane(), window.sourcePane()}) {
        if (!pane->isVisible())
            continue;
        Painted(*pane); // so that the marks of its view are worked out
        const auto [from, to] = CharactersInView(*pane);
        const DocumentRanges marked = Clipped(
            MarksOfStyle(*pane, ui::MarkSource::First, analysis::RepeatKind::Near), from, to);
        const DocumentRanges expected =
            Clipped(NearMarksByTheRules(newText, source, pane == window.newTextPane()), from, to);
        if (marked != expected)
            return QStringLiteral("%1 marks %2 near repeats in [%3, %4), not %5")
                .arg(pane->objectName())
                .arg(marked.size())
                .arg(from)
                .arg(to)
                .arg(expected.size());
    }
    return {};
}

// The listing's entries, as the result window shows them and leads to them.
inline std::vector<reference::ListedEntry> ListedEntries(const ui::ListingPane& listing,
                                                         const ui::RepeatFollower& follower,
                                                         const ui::MainWindow& window)
{
    const auto plain = [](const ui::TextPane* pane, int position) {
        return static_cast<std::size_t>(position +
                                        pane->document()->findBlock(position).blockNumber());
    };
    std::vector<reference::ListedEntry> entries;
    for (int entry = 0; entry < listing.entryCount(); ++entry) {
        reference::ListedEntry listed;
        const QString text =
            listing.entryText(entry).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        listed.text = std::u16string(ui::ToU16View(text));
        listed.struckOut = listing.isEntryDone(entry);
        const auto newText = follower.pairExtent(entry, analysis::TextSide::NewText);
        const auto source = follower.pairExtent(entry, analysis::TextSide::Source);
        if (newText && source)
            listed.leadsTo =
                std::pair{analysis::TextRange{plain(window.newTextPane(), newText->start),
                                              plain(window.newTextPane(), newText->end)},
                          analysis::TextRange{plain(window.sourcePane(), source->start),
                                              plain(window.sourcePane(), source->end)}};
        entries.push_back(std::move(listed));
    }
    return entries;
}

} // namespace uitest
