// Loaded into the real program by the desktop pass (QT_QPA_GENERIC_PLUGINS=palimoprobe): on each
// request it reports what only the program knows of its windows, the focus and the place each
// caption needs, for the pass to hold against what the X server and the window manager show.
//
// The pass writes PALIMO_PROBE_DIR/request; the probe answers with PALIMO_PROBE_DIR/report.json.
#include "support/caption_place.h"
#include "ui/kit/slider_parts.h"
#include "ui/repeats/mark_style.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGenericPlugin>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace {

QJsonArray ToJson(const QRect& rect)
{
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

// Whether `widget` is the surface that a scroll area (not a pane's text) moves in its view.
bool IsScrolledSurface(const QWidget* widget)
{
    const QWidget* viewport = widget->parentWidget();
    const auto* area =
        viewport ? qobject_cast<const QScrollArea*>(viewport->parentWidget()) : nullptr;
    return area && area->viewport() == viewport;
}

// The part of `control` that its ancestors let show, in window coordinates: all of them, or
// only those of the design (up to the surface a scroll area moves, whose view the window's
// size decides).
QRect VisiblePart(const QWidget* control, bool designOnly = false)
{
    const QWidget* window = control->window();
    QRect visible(control->mapTo(window, QPoint(0, 0)), control->size());
    for (const QWidget* w = control; w != window && !(designOnly && IsScrolledSurface(w));
         w = w->parentWidget())
        visible &= QRect(w->mapTo(window, QPoint(0, 0)), w->size());
    return visible;
}

// Where the keyboard's focus is to be seen, in window coordinates: a pane's cursor, or the
// control.
QRect FocusPlace(const QWidget* focus)
{
    if (const auto* pane = qobject_cast<const QPlainTextEdit*>(focus)) {
        const QRect cursor = pane->cursorRect();
        return {pane->viewport()->mapTo(focus->window(), cursor.topLeft()), cursor.size()};
    }
    return {focus->mapTo(focus->window(), QPoint(0, 0)), focus->size()};
}

// The tint of the first source's exact marks, which the rules give; the near repeats' and the
// second source's come later and on their own.
QColor ExactTint()
{
    return ui::MarkFormat(ui::MarkSource::First, analysis::RepeatKind::Exact).background().color();
}

QJsonObject Report()
{
    QJsonArray windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->objectName().isEmpty())
            continue;
        QJsonArray captions;
        for (QWidget* control : window->findChildren<QWidget*>()) {
            // Controls of the windows it owns belong to those windows.
            if (!control->isVisible() || control->window() != window)
                continue;
            const QRect local = uitest::CaptionPlace(control);
            const QRect visible = VisiblePart(control, true);
            if (local.isNull() || !visible.intersects(window->rect()))
                continue;
            const QRect place = local.translated(control->mapTo(window, QPoint(0, 0)));
            captions.append(QJsonObject{{"name", control->objectName()},
                                        {"text", uitest::CaptionText(control)},
                                        {"place", ToJson(place)},
                                        {"visible", ToJson(visible & window->rect())},
                                        {"inView", VisiblePart(control).contains(place)}});
        }
        windows.append(QJsonObject{
            {"name", window->objectName()},
            {"title", window->windowTitle()},
            {"id", QString::number(window->winId())},
            {"geometry", ToJson(window->geometry())},
            {"frame", ToJson(window->frameGeometry())},
            {"scale", window->windowHandle() ? window->windowHandle()->devicePixelRatio() : 1.0},
            {"captions", captions}});
    }
    // Each text pane: whether its last line lies in its view, and in the part of the window on
    // view; where its scroll bar's thumb is, on the screen.
    QJsonArray panes;
    for (QWidget* widget : QApplication::allWidgets()) {
        const auto* pane = qobject_cast<const QPlainTextEdit*>(widget);
        if (!pane || !pane->isVisible() || pane->objectName().isEmpty())
            continue;
        QTextCursor end(pane->document());
        end.movePosition(QTextCursor::End);
        const QRect last = pane->cursorRect(end);
        const QRect lastInWindow(pane->viewport()->mapTo(pane->window(), last.topLeft()),
                                 last.size());
        const QScrollBar* bar = pane->verticalScrollBar();
        const QRect thumb = ui::SliderPart(bar, QStyle::SC_ScrollBarSlider);
        const QRect visible = VisiblePart(pane->viewport());
        // The first source's exact marks, told from the others by their tint.
        QList<QTextEdit::ExtraSelection> exactMarks = pane->extraSelections();
        exactMarks.removeIf([](const QTextEdit::ExtraSelection& mark) {
            return mark.format.background().color() != ExactTint();
        });
        int marked = 0;
        QJsonArray marks;
        for (const QTextEdit::ExtraSelection& mark : exactMarks) {
            marked += mark.cursor.selectionEnd() - mark.cursor.selectionStart();
            marks.append(QJsonArray{mark.cursor.selectionStart(), mark.cursor.selectionEnd()});
        }
        // The characters shown, from the line at the top of the view to the line at its bottom.
        QTextCursor top = pane->cursorForPosition(QPoint(0, 0));
        top.movePosition(QTextCursor::StartOfLine);
        const QRect view = pane->viewport()->rect();
        QTextCursor bottom = pane->cursorForPosition(view.bottomRight());
        bottom.movePosition(QTextCursor::EndOfLine);
        // Characters in view under a mark that show its tint: drawn, and not selected.
        const QTextCursor selected = pane->textCursor();
        int markedToBeSeen = 0;
        for (const QTextEdit::ExtraSelection& mark : exactMarks) {
            for (int i = std::max(mark.cursor.selectionStart(), top.position());
                 i < std::min(mark.cursor.selectionEnd(), bottom.position()); ++i) {
                markedToBeSeen += !pane->document()->characterAt(i).isSpace() &&
                                  (i < selected.selectionStart() || i >= selected.selectionEnd());
            }
        }
        panes.append(QJsonObject{
            {"name", pane->objectName()},
            {"window", pane->window()->objectName()},
            {"characters", pane->document()->characterCount()},
            {"selection",
             QJsonArray{pane->textCursor().selectionStart(), pane->textCursor().selectionEnd()}},
            {"marked", marked},
            {"marks", marks},
            {"markedToBeSeen", markedToBeSeen},
            {"inView", QJsonArray{top.position(), bottom.position()}},
            {"plain", pane->document()->toRawText().replace(QChar::ParagraphSeparator,
                                                            QStringLiteral("\r\n"))},
            {"endInPane", pane->viewport()->rect().contains(last)},
            {"endShown", visible.contains(lastInWindow)},
            {"view", ToJson(QRect(pane->window()->mapToGlobal(visible.topLeft()), visible.size()))},
            {"thumb", ToJson(QRect(bar->mapToGlobal(thumb.topLeft()), thumb.size()))}});
    }
    // A listing, as assistive technology reads it: its current entry is the text's cursor.
    QJsonArray listings;
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* area = qobject_cast<QAbstractScrollArea*>(widget);
        if (!area || qobject_cast<QPlainTextEdit*>(widget) || !area->isVisible() ||
            area->objectName().isEmpty())
            continue;
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(area);
        QAccessibleTextInterface* text = read ? read->textInterface() : nullptr;
        if (!text)
            continue;
        const QRect view = VisiblePart(area->viewport());
        listings.append(QJsonObject{
            {"name", area->objectName()},
            {"window", area->window()->objectName()},
            {"cursor", text->cursorPosition()},
            {"characters", text->characterCount()},
            {"view", ToJson(QRect(area->window()->mapToGlobal(view.topLeft()), view.size()))}});
    }
    const QWidget* focus = QApplication::focusWidget();
    return {{"focus", focus ? focus->objectName() : QString()},
            {"exactTint", ExactTint().name()},
            {"exactStripColour",
             ui::StripColour(ui::MarkSource::First, analysis::RepeatKind::Exact).name()},
            {"panes", panes},
            {"listings", listings},
            {"focusInView", focus && VisiblePart(focus).contains(FocusPlace(focus))},
            {"active",
             QApplication::activeWindow() ? QApplication::activeWindow()->objectName() : QString()},
            {"windows", windows}};
}

// Scrolls the window where a pane's scroll bar lies out of its view, as a writer would before
// taking hold of it.
void RevealScrollBar(const QString& pane)
{
    for (QWidget* widget : QApplication::allWidgets()) {
        const auto* text = qobject_cast<const QPlainTextEdit*>(widget);
        if (!text || text->objectName() != pane || !text->isVisible())
            continue;
        for (QWidget* ancestor = widget->parentWidget(); ancestor;
             ancestor = ancestor->parentWidget()) {
            if (auto* area = qobject_cast<QScrollArea*>(ancestor))
                area->ensureWidgetVisible(text->verticalScrollBar(), 0, 0);
        }
    }
}

class Probe : public QObject
{
public:
    explicit Probe(const QString& directory) : directory_(directory)
    {
        connect(&poll_, &QTimer::timeout, this, &Probe::answer);
        poll_.start(20);
    }

private:
    // A request may hand the program a text for its clipboard, which real keys then paste.
    void answer()
    {
        QFile request(directory_.filePath(QStringLiteral("request")));
        if (!request.open(QIODevice::ReadOnly))
            return;
        const QByteArray asked = request.readAll();
        request.close();
        request.remove();
        const QByteArray clipboard = "clipboard\n";
        const QByteArray reveal = "reveal\n";
        if (asked.startsWith(clipboard))
            QApplication::clipboard()->setText(QString::fromUtf8(asked.mid(clipboard.size())));
        else if (asked.startsWith(reveal))
            RevealScrollBar(QString::fromUtf8(asked.mid(reveal.size())));
        QFile report(directory_.filePath(QStringLiteral("report.part")));
        if (report.open(QIODevice::WriteOnly)) {
            report.write(QJsonDocument(Report()).toJson());
            report.close();
            report.rename(directory_.filePath(QStringLiteral("report.json")));
        }
    }

    QDir directory_;
    QTimer poll_;
};

} // namespace

class ProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "probe.json")

public:
    QObject* create(const QString& key, const QString&) override
    {
        const QString directory = qEnvironmentVariable("PALIMO_PROBE_DIR");
        if (key != QLatin1String("palimoprobe") || directory.isEmpty())
            return nullptr;
        return new Probe(directory);
    }
};

#include "probe.moc"
