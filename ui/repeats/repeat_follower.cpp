#include "repeat_follower.h"

#include "ui/kit/strings.h"
#include "ui/text/line_break_conversion.h"
#include "ui/text/text_pane.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace ui {

namespace {

using analysis::TextSide;

// The plain text of the part of a document where each paragraph break is CR LF.
std::u16string PlainText(const QTextDocument* document, int from, int to)
{
    QTextCursor cursor(const_cast<QTextDocument*>(document));
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    return std::u16string(ToU16View(WithSystemLineBreaks(cursor.selectedText())));
}

// Where a paragraph starts in the plain text: each break before it is two characters there.
std::size_t PlainStart(const QTextBlock& block)
{
    return static_cast<std::size_t>(block.position()) +
           static_cast<std::size_t>(block.blockNumber());
}

} // namespace

RepeatFollower::RepeatFollower(TextPane* newText, TextPane* source, QObject* parent)
    : QObject(parent), newText_(newText), source_(source)
{
    settleTimer_.setSingleShot(true);
    settleTimer_.setInterval(SettleInterval);
    connect(&settleTimer_, &QTimer::timeout, this, &RepeatFollower::settle);
    for (const TextSide side : {TextSide::NewText, TextSide::Source}) {
        connect(
            pane(side)->document(), &QTextDocument::contentsChange, this,
            [this, side](int from, int removed, int added) { mirror(side, from, removed, added); });
    }
}

const TextPane* RepeatFollower::pane(TextSide side) const
{
    return side == TextSide::NewText ? newText_ : source_;
}

analysis::ComparisonOutcome RepeatFollower::compare()
{
    // The tracker copies the texts into the room of its last compare.
    const std::u16string newText = newText_->plainTextForAnalysis();
    const std::u16string source = source_->plainTextForAnalysis();
    analysis::ComparisonOutcome outcome = tracker_.compare(newText, source);
    if (std::holds_alternative<analysis::ComparisonResult>(outcome)) {
        settleTimer_.stop();
        emit marksChanged();
    }
    return outcome;
}

void RepeatFollower::settle()
{
    settleTimer_.stop();
    if (tracker_.isSettled())
        return;
    tracker_.settle();
    emit marksChanged();
}

// An edit of a pane, told by its document in document positions, goes to the tracker in plain
// text positions. The text before `from` is as it was, and the tracker still holds what was
// removed, so both ends are found.
void RepeatFollower::mirror(TextSide side, int from, int removed, int added)
{
    if (!tracker_.isActive() || (removed == 0 && added == 0))
        return;
    const QTextDocument* document = pane(side)->document();
    const std::u16string& before = tracker_.text(side);
    const std::size_t start = plainPosition(side, from);
    std::size_t end = start;
    for (int left = removed; left > 0 && end < before.size(); --left)
        end += before.compare(end, 2, u"\r\n") == 0 ? 2 : 1;
    // The document's last position, its closing paragraph break, is no part of the text.
    const int last = document->characterCount() - 1;
    tracker_.replace(side, start, end - start,
                     PlainText(document, std::min(from, last), std::min(from + added, last)));
    settleTimer_.start();
}

std::size_t RepeatFollower::plainPosition(TextSide side, int position) const
{
    const QTextBlock block = pane(side)->document()->findBlock(position);
    return PlainStart(block) + static_cast<std::size_t>(position - block.position());
}

int RepeatFollower::panePosition(TextSide side, std::size_t plain) const
{
    const QTextDocument* document = pane(side)->document();
    int low = 0;
    int high = document->blockCount() - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (PlainStart(document->findBlockByNumber(middle)) <= plain)
            low = middle;
        else
            high = middle - 1;
    }
    const QTextBlock block = document->findBlockByNumber(low);
    // Within a paragraph's CR LF: its break.
    const auto offset = std::min(static_cast<int>(plain - PlainStart(block)), block.length() - 1);
    return block.position() + offset;
}

PaneRange RepeatFollower::paneRange(TextSide side, analysis::TextRange range) const
{
    return {panePosition(side, range.start), panePosition(side, range.end)};
}

std::vector<PaneRange> RepeatFollower::marks(TextSide side, int from, int to) const
{
    std::vector<PaneRange> ranges;
    for (const analysis::TextRange& range :
         tracker_.marks(side, plainPosition(side, from), plainPosition(side, to)))
        ranges.push_back(paneRange(side, range));
    return ranges;
}

std::optional<PaneRange> RepeatFollower::nextMark(TextSide side, int from) const
{
    std::optional<analysis::TextRange> found = tracker_.nextMark(side, plainPosition(side, from));
    if (!found)
        found = tracker_.nextMark(side, 0);
    return found ? std::optional(paneRange(side, *found)) : std::nullopt;
}

std::optional<PaneRange> RepeatFollower::previousMark(TextSide side, int from) const
{
    std::optional<analysis::TextRange> found =
        tracker_.previousMark(side, plainPosition(side, from));
    if (!found)
        found = tracker_.previousMark(side, tracker_.text(side).size());
    return found ? std::optional(paneRange(side, *found)) : std::nullopt;
}

std::optional<PaneRange> RepeatFollower::pairExtent(int entry, TextSide side) const
{
    const std::optional<analysis::TextRange> extent =
        tracker_.pairExtent(static_cast<std::size_t>(entry), side);
    return extent ? std::optional(paneRange(side, *extent)) : std::nullopt;
}

bool RepeatFollower::isPairDone(int entry) const
{
    return !tracker_.pairRepeats(static_cast<std::size_t>(entry));
}

} // namespace ui
