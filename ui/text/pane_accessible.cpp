#include "pane_accessible.h"

#include "text_pane.h"

#include <QAccessible>
#include <QPointer>

#include <algorithm>

namespace ui {

namespace {

// Set while Qt's own interface for a pane is made, so that the factory steps aside for it.
bool makingQtsOwn = false;

class PaneAccessible : public QAccessibleInterface, public QAccessibleTextInterface
{
public:
    PaneAccessible(TextPane* pane, QAccessibleInterface* qts)
        : pane_(pane), qts_(qts), qtsId_(QAccessible::uniqueId(qts))
    {
    }
    // Qt's interface was put in the accessibility cache when it was made; it goes with this one.
    ~PaneAccessible() override { QAccessible::deleteAccessibleInterface(qtsId_); }
    PaneAccessible(const PaneAccessible&) = delete;
    PaneAccessible& operator=(const PaneAccessible&) = delete;

    bool isValid() const override { return qts_->isValid(); }
    QObject* object() const override { return qts_->object(); }
    QWindow* window() const override { return qts_->window(); }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        return qts_->relations(match);
    }
    QAccessibleInterface* focusChild() const override { return qts_->focusChild(); }
    QAccessibleInterface* childAt(int x, int y) const override { return qts_->childAt(x, y); }
    QAccessibleInterface* parent() const override { return qts_->parent(); }
    QAccessibleInterface* child(int index) const override { return qts_->child(index); }
    int childCount() const override { return qts_->childCount(); }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return qts_->indexOfChild(child);
    }
    QString text(QAccessible::Text type) const override { return qts_->text(type); }
    void setText(QAccessible::Text type, const QString& text) override
    {
        qts_->setText(type, text);
    }
    QRect rect() const override { return qts_->rect(); }
    QAccessible::Role role() const override { return qts_->role(); }
    QAccessible::State state() const override { return qts_->state(); }
    QColor foregroundColor() const override { return qts_->foregroundColor(); }
    QColor backgroundColor() const override { return qts_->backgroundColor(); }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return qts_->interface_cast(type);
    }

    void selection(int index, int* start, int* end) const override
    {
        qtsText()->selection(index, start, end);
    }
    int selectionCount() const override { return qtsText()->selectionCount(); }
    void addSelection(int start, int end) override { qtsText()->addSelection(start, end); }
    void removeSelection(int index) override { qtsText()->removeSelection(index); }
    void setSelection(int index, int start, int end) override
    {
        qtsText()->setSelection(index, start, end);
    }
    int cursorPosition() const override { return qtsText()->cursorPosition(); }
    void setCursorPosition(int position) override { qtsText()->setCursorPosition(position); }
    QString text(int start, int end) const override
    {
        return pane_->withCutsAsSpaces(qtsText()->text(start, end), start);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                             int* end) const override
    {
        const QString text = qtsText()->textBeforeOffset(offset, boundary, start, end);
        return pane_->withCutsAsSpaces(text, *start);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                            int* end) const override
    {
        const QString text = qtsText()->textAfterOffset(offset, boundary, start, end);
        return pane_->withCutsAsSpaces(text, *start);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                         int* end) const override
    {
        const QString text = qtsText()->textAtOffset(offset, boundary, start, end);
        return pane_->withCutsAsSpaces(text, *start);
    }
    int characterCount() const override { return qtsText()->characterCount(); }
    QRect characterRect(int offset) const override { return qtsText()->characterRect(offset); }
    int offsetAtPoint(const QPoint& point) const override
    {
        return qtsText()->offsetAtPoint(point);
    }
    void scrollToSubstring(int start, int end) override
    {
        qtsText()->scrollToSubstring(start, end);
    }

    // The formats' run, cut down to where what is painted stays the same.
    QString attributes(int offset, int* start, int* end) const override
    {
        QString attributes = qtsText()->attributes(offset, start, end);
        if (!pane_ || offset < 0 || offset >= characterCount())
            return attributes;
        int paintedStart = *start;
        int paintedEnd = *end;
        attributes += pane_->paintedAttributes(offset, paintedStart, paintedEnd);
        *start = std::max(*start, paintedStart);
        *end = std::min(*end, paintedEnd);
        return attributes;
    }

private:
    QAccessibleTextInterface* qtsText() const { return qts_->textInterface(); }

    QPointer<TextPane> pane_;
    QAccessibleInterface* qts_;
    QAccessible::Id qtsId_;
};

} // namespace

QAccessibleInterface* PaneAccessibleFactory(const QString& className, QObject* object)
{
    auto* pane = qobject_cast<TextPane*>(object);
    if (makingQtsOwn || !pane || className != QLatin1String(TextPane::staticMetaObject.className()))
        return nullptr;
    makingQtsOwn = true;
    QAccessibleInterface* qts = QAccessible::queryAccessibleInterface(pane);
    makingQtsOwn = false;
    if (!qts || !qts->textInterface())
        return nullptr;
    return new PaneAccessible(pane, qts);
}

} // namespace ui
