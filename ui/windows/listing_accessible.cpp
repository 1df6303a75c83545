#include "listing_accessible.h"

#include "listing_pane.h"

#include <QAccessibleWidget>
#include <QTextBoundaryFinder>

namespace ui {

namespace {

const QString DoneEntry = QStringLiteral("исправлено");

// The unit of `boundary` that holds `offset`, as [start, end).
std::pair<int, int> Unit(const QString& text, int offset, QAccessible::TextBoundaryType boundary)
{
    const int size = static_cast<int>(text.size());
    offset = std::clamp(offset, 0, size);
    switch (boundary) {
    case QAccessible::CharBoundary:
        return {offset, std::min(offset + 1, size)};
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary: {
        const qsizetype before = offset > 0 ? text.lastIndexOf(QLatin1Char('\n'), offset - 1) : -1;
        const qsizetype after = text.indexOf(QLatin1Char('\n'), offset);
        return {static_cast<int>(before + 1), after < 0 ? size : static_cast<int>(after + 1)};
    }
    case QAccessible::WordBoundary:
    case QAccessible::SentenceBoundary: {
        QTextBoundaryFinder finder(boundary == QAccessible::WordBoundary
                                       ? QTextBoundaryFinder::Word
                                       : QTextBoundaryFinder::Sentence,
                                   text);
        finder.setPosition(offset);
        const int start =
            finder.isAtBoundary() ? offset : static_cast<int>(finder.toPreviousBoundary());
        finder.setPosition(offset);
        const qsizetype end = finder.toNextBoundary();
        return {std::max(start, 0), end < 0 ? size : static_cast<int>(end)};
    }
    case QAccessible::NoBoundary:
        break;
    }
    return {0, size};
}

class ListingAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit ListingAccessible(ListingPane* pane)
        : QAccessibleWidget(pane, QAccessible::EditableText)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return pane()->text();
        // Said of the current entry when the writer has reworded it.
        if (type == QAccessible::Description) {
            const int entry = pane()->currentEntry();
            return entry >= 0 && pane()->isEntryDone(entry) ? DoneEntry : QString();
        }
        return QAccessibleWidget::text(type);
    }

    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && selectionCount() == 1) {
            *start = pane()->selectionStart();
            *end = pane()->selectionEnd();
        }
    }
    int selectionCount() const override
    {
        return pane()->selectionStart() != pane()->selectionEnd() ? 1 : 0;
    }
    void addSelection(int start, int end) override { pane()->select(start, end); }
    void removeSelection(int index) override
    {
        if (index == 0)
            pane()->select(pane()->selectionEnd(), pane()->selectionEnd());
    }
    void setSelection(int index, int start, int end) override
    {
        if (index == 0)
            pane()->select(start, end);
    }

    // The current entry's start; where no entry is current, where the selection ends.
    int cursorPosition() const override
    {
        const ListingPane* listing = pane();
        if (listing->currentEntry() >= 0)
            return listing->text().isEmpty()
                       ? 0
                       : listing->lineStart(listing->entryLine(listing->currentEntry()));
        return listing->selectionEnd();
    }
    void setCursorPosition(int position) override { pane()->select(position, position); }

    QString text(int start, int end) const override
    {
        return pane()->text().mid(start, std::max(0, end - start));
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                             int* end) const override
    {
        const auto [unitStart, unitEnd] = Unit(pane()->text(), offset, boundary);
        Q_UNUSED(unitEnd)
        if (unitStart == 0) {
            *start = *end = 0;
            return {};
        }
        return textAtOffset(unitStart - 1, boundary, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                         int* end) const override
    {
        std::tie(*start, *end) = Unit(pane()->text(), offset, boundary);
        return text(*start, *end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                            int* end) const override
    {
        const auto [unitStart, unitEnd] = Unit(pane()->text(), offset, boundary);
        Q_UNUSED(unitStart)
        if (unitEnd >= characterCount()) {
            *start = *end = characterCount();
            return {};
        }
        return textAtOffset(unitEnd, boundary, start, end);
    }
    int characterCount() const override { return static_cast<int>(pane()->text().size()); }

    QRect characterRect(int offset) const override
    {
        const QRect local = pane()->characterRect(offset);
        if (!local.isValid())
            return {};
        return {pane()->viewport()->mapToGlobal(local.topLeft()), local.size()};
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return pane()->positionAtPoint(pane()->viewport()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int end) override
    {
        Q_UNUSED(end)
        pane()->scrollToPosition(start);
    }
    // One run a line, so that a reader builds each line whole; an entry reworded is struck
    // through, as it is drawn.
    QString attributes(int offset, int* start, int* end) const override
    {
        const QString& all = pane()->text();
        std::tie(*start, *end) = Unit(all, offset, QAccessible::LineBoundary);
        if (*start >= *end)
            return {};
        const int entry = pane()->entryOfLine(pane()->lineAt(*start));
        return entry >= 0 && pane()->isEntryDone(entry)
                   ? QStringLiteral("text-line-through-type:single;")
                   : QString();
    }

private:
    ListingPane* pane() const { return static_cast<ListingPane*>(widget()); }
};

} // namespace

QAccessibleInterface* ListingAccessibleFactory(const QString&, QObject* object)
{
    if (auto* pane = qobject_cast<ListingPane*>(object))
        return new ListingAccessible(pane);
    return nullptr;
}

} // namespace ui
