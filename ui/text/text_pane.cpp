#include "text_pane.h"

#include "line_break_conversion.h"
#include "missing_glyphs.h"
#include "pane_accessible.h"
#include "pane_document_layout.h"
#include "paragraph_cuts.h"
#include "paste_room.h"
#include "ui/kit/application_palette.h"
#include "ui/kit/reading.h"
#include "ui/kit/strings.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <new>
#include <utility>

namespace ui {

namespace {

// Redo puts the cursor where the last step of the edit block was, and a cut or join made after
// the edit is its last step: a character put in at `cursor` and taken out again becomes the
// last, so that redo leaves the cursor where the edit did.
void LeaveRedoAt(const QTextCursor& cursor)
{
    const int position = cursor.position();
    QTextCursor again(cursor.document());
    again.setPosition(position);
    again.insertText(QStringLiteral(" "));
    again.setPosition(position);
    again.setPosition(position + 1, QTextCursor::KeepAnchor);
    again.removeSelectedText();
}

// Whether a key may change the text: typing, deleting or cutting. Moving keeps Qt's own road,
// which an edit block around it would disturb.
bool MayEdit(const QKeyEvent* event)
{
    const QString text = event->text();
    if (!text.isEmpty() && text.front().isPrint())
        return true;
    for (const QKeySequence::StandardKey key :
         {QKeySequence::Cut, QKeySequence::Delete, QKeySequence::Backspace,
          QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
          QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine}) {
        if (event->matches(key))
            return true;
    }
    return event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
}

} // namespace

TextPane::TextPane(QWidget* parent) : QPlainTextEdit(parent)
{
    static const bool accessible = [] {
        QAccessible::installFactory(PaneAccessibleFactory);
        return true;
    }();
    Q_UNUSED(accessible)
    auto* doc = new QTextDocument(this);
    layout_ = new PaneDocumentLayout(doc);
    doc->setDocumentLayout(layout_);
    cuts_ = new ParagraphCuts(doc);
    doc->setDefaultFont(font());
    setDocument(doc);
    marker_ = new MissingGlyphMarker(doc);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab and Shift+Tab walk the window's tab order; Ctrl+Tab types a tab (keyPressEvent).
    setTabChangesFocus(true);
    FollowApplicationPalette(this, [this] { applyBackground(); });
    // The panes carry no character formats of their own (font size and colour are the widget's),
    // so every change the document reports with characters removed or added is one of text.
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed == 0 && added == 0)
            return;
        ++textRevision_;
        emit charactersChanged();
    });
}

void TextPane::setPaintedAttributes(PaintedAttributes attributes)
{
    painted_ = std::move(attributes);
    paintedAttributesChanged();
}

QString TextPane::paintedAttributes(int position, int& start, int& end) const
{
    return painted_ ? painted_(position, start, end) : QString();
}

void TextPane::paintedAttributesChanged()
{
    // Every settle of the marks comes here: without a reader, nothing is to be told.
    if (!QAccessible::isActive() || std::exchange(paintedToTell_, true))
        return;
    QTimer::singleShot(0, this, [this] {
        paintedToTell_ = false;
        TellReadersOfNewAttributes(this);
    });
}

LineBreakWork TextPane::lineBreakWork() const
{
    return layout_->work();
}

QString TextPane::plainText() const
{
    if (cuts_->count() == 0)
        return WithSystemLineBreaks(document()->toRawText());
    return plainText(0, document()->characterCount() - 1);
}

QString TextPane::plainText(int from, int to) const
{
    return PlainSlice(document(), from, to, SystemLineBreak);
}

std::size_t TextPane::plainTextLength() const
{
    // Each line break is CR LF, one character more; a cut is its space.
    return static_cast<std::size_t>(document()->characterCount() - 1 + paragraphCount() - 1);
}

int TextPane::paragraphCount() const
{
    return blockCount() - cuts_->count();
}

std::u16string TextPane::plainTextForAnalysis(std::size_t capacity) const
{
    std::u16string text;
    text.reserve(std::max(capacity, plainTextLength()));
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (ContinuesParagraph(block))
            text += u' ';
        else if (block != document()->begin())
            text.append(ToU16View(SystemLineBreak.toString()));
        const QString paragraph = block.text();
        text.append(ToU16View(WithSystemLineBreaks(paragraph)));
    }
    return text;
}

QString TextPane::leadingPlainText(int count) const
{
    QString text;
    const QTextDocument* doc = document();
    // The last position is the document's closing paragraph break, never part of the text.
    const int end = doc->characterCount() - 1;
    for (int position = 0; position < end && text.size() < count; ++position) {
        const QChar c = doc->characterAt(position);
        if (!IsDocumentLineBreak(c))
            text += c;
        else if (ContinuesParagraph(doc->findBlock(position + 1)))
            text += u' ';
        else
            text += SystemLineBreak;
    }
    text.truncate(count);
    return text;
}

std::size_t TextPane::plainStart(const QTextBlock& block) const
{
    // Each line break before the block is two characters of the plain text, each cut one.
    const int number = block.blockNumber();
    return static_cast<std::size_t>(block.position()) +
           static_cast<std::size_t>(number - cuts_->before(number));
}

std::size_t TextPane::plainPosition(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    return plainStart(block) + static_cast<std::size_t>(position - block.position());
}

int TextPane::documentPosition(std::size_t plain) const
{
    const QTextDocument* doc = document();
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (plainStart(doc->findBlockByNumber(middle)) <= plain)
            low = middle;
        else
            high = middle - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const auto offset = std::min(static_cast<int>(plain - plainStart(block)), block.length() - 1);
    return block.position() + offset;
}

QString TextPane::withCutsAsSpaces(QString text, int from) const
{
    if (cuts_->count() == 0)
        return text;
    const QTextDocument* doc = document();
    const auto to = from + static_cast<int>(text.size());
    for (QTextBlock block = doc->findBlock(from).next(); block.isValid() && block.position() <= to;
         block = block.next()) {
        const int separator = block.position() - 1;
        if (ContinuesParagraph(block) && separator >= from && separator < to)
            text[separator - from] = u' ';
    }
    return text;
}

void TextPane::replacePlainText(const QString& text)
{
    const QString converted = ToToolkitLineBreaks(text);
    if (MeasurePaste(converted).longestLine <= UncutParagraphLength) {
        setPlainText(converted);
        return;
    }
    // Cut before it is laid out, which would shape the long paragraphs whole.
    setPlainText(QString());
    QTextCursor editing(document());
    editing.beginEditBlock();
    editing.insertText(converted);
    TidyParagraphs(document(), 0, document()->characterCount() - 1);
    editing.endEditBlock();
    document()->clearUndoRedoStacks();
    setTextCursor(QTextCursor(document()));
}

void TextPane::clearUndoably()
{
    QTextCursor everything(document());
    everything.select(QTextCursor::Document);
    if (everything.hasSelection())
        everything.removeSelectedText();
}

qreal TextPane::fontSize() const
{
    return font().pointSizeF();
}

void TextPane::setFontSize(qreal points)
{
    QFont changed = font();
    changed.setPointSizeF(points);
    setFont(changed);
}

void TextPane::setBackgroundColour(ColourValue value)
{
    backgroundColour_ = value;
    applyBackground();
}

void TextPane::applyBackground()
{
    SetPaneBackground(this, backgroundColour_);
}

bool TextPane::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText();
}

bool TextPane::canHold(QStringView text, const QTextCursor& cursor) const
{
    const QTextBlock first = document()->findBlock(cursor.selectionStart());
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    const qsizetype before = cursor.selectionStart() - first.position();
    const qsizetype after = last.position() + last.length() - 1 - cursor.selectionEnd();
    return CanReserve(BytesToHold(MeasurePaste(text), before, after));
}

// The text is asked for once. A paste or drop whose owner died, hung or failed to hand it over
// brings none although it announced some: it changes nothing, the selection included. One the
// program could not hold changes nothing either, and the window is told.
void TextPane::insertFromMimeData(const QMimeData* source)
{
    QString text;
    try {
        text = ToToolkitLineBreaks(source->text());
    } catch (const std::bad_alloc&) {
        emit insertRefused();
        return;
    }
    if (text.isEmpty())
        return;
    if (!dropping_ && !canHold(text, textCursor())) {
        emit insertRefused();
        return;
    }
    QTextCursor editing = textCursor();
    editing.beginEditBlock();
    editing.removeSelectedText();
    const int start = editing.position();
    // The blocks a paste's line breaks start take the format of the block it goes into: after
    // a line break, none continues a paragraph.
    const bool carried = CarriesContinuation(editing.block()) && text.contains(u'\n');
    const bool intoACut = carried && ContinuesParagraph(editing.block());
    if (carried)
        SetContinuesParagraph(editing, false);
    editing.insertText(text);
    if (intoACut) {
        QTextCursor first(document());
        first.setPosition(start);
        SetContinuesParagraph(first, true);
    }
    if (TidyParagraphs(document(), start, editing.position()))
        LeaveRedoAt(editing);
    editing.endEditBlock();
    setTextCursor(editing);
    ensureCursorVisible();
}

void TextPane::dropEvent(QDropEvent* event)
{
    QMimeData received;
    bool refused = false;
    try {
        received.setText(event->mimeData()->text());
        // A move within the pane brings nothing new, and has Qt take the dragged text out first.
        const bool movedWithin = (event->source() == viewport() || event->source() == this) &&
                                 event->dropAction() == Qt::MoveAction;
        refused = !movedWithin &&
                  !canHold(received.text(), cursorForPosition(event->position().toPoint()));
    } catch (const std::bad_alloc&) {
        refused = true;
    }
    if (refused || received.text().isEmpty()) {
        // Ends the drag as if it had left, so that the cursor stays where the writer put it.
        QDragLeaveEvent left;
        QPlainTextEdit::dragLeaveEvent(&left);
        event->ignore();
        if (refused)
            emit insertRefused();
        return;
    }
    // As Qt hands a drop on to a widget: the same event, with the text already read.
    QDropEvent drop(event->position(), event->possibleActions(), &received, event->buttons(),
                    event->modifiers());
    drop.setDropAction(event->dropAction());
    const QScopedValueRollback checked(dropping_, true);
    QPlainTextEdit::dropEvent(&drop);
    event->setDropAction(drop.dropAction());
    event->setAccepted(drop.isAccepted());
}

QMimeData* TextPane::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    const QTextCursor selection = textCursor();
    data->setText(
        PlainSlice(document(), selection.selectionStart(), selection.selectionEnd(), u"\n"));
    return data;
}

void TextPane::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ControlModifier && !isReadOnly()) {
        textCursor().insertText(QStringLiteral("\t"));
        ensureCursorVisible();
        return;
    }
    // A read-only pane has no cursor to move; Ctrl+Home and Ctrl+End scroll it to its ends, as
    // Home and End do.
    if (isReadOnly() && (event == QKeySequence::MoveToStartOfDocument ||
                         event == QKeySequence::MoveToEndOfDocument)) {
        verticalScrollBar()->triggerAction(event == QKeySequence::MoveToStartOfDocument
                                               ? QAbstractSlider::SliderToMinimum
                                               : QAbstractSlider::SliderToMaximum);
        return;
    }
    // Shift+F10 opens the context menu at the cursor, as the Menu key does.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        const QPoint at = cursorRect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, viewport()->mapToGlobal(at));
        contextMenuEvent(&menu);
        return;
    }
    // Ctrl+Y redoes, as it does on the platform the design was drawn for, beside the toolkit's
    // own Ctrl+Shift+Z.
    if (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier && !isReadOnly()) {
        redo();
        return;
    }
    // Shift+Enter breaks the paragraph as Enter does, as a paste's line breaks do: each line
    // break of a pane ends a paragraph, and is one character of it where its plain text has
    // CR LF. Either is one step to undo: on an empty last paragraph Qt first sets its format
    // apart, a step of its own that changes nothing the writer sees.
    const bool lineSeparator = event == QKeySequence::InsertLineSeparator;
    if (lineSeparator || event == QKeySequence::InsertParagraphSeparator) {
        QKeyEvent enter(event->type(), Qt::Key_Return, Qt::NoModifier, event->text(),
                        event->isAutoRepeat(), event->count());
        QTextCursor step = textCursor();
        const int from = step.selectionStart();
        const int top = topLine().first;
        const int length = document()->characterCount();
        step.beginEditBlock();
        layout_->setWithinEdit(true);
        QPlainTextEdit::keyPressEvent(lineSeparator ? &enter : event);
        layout_->setWithinEdit(false);
        // The paragraph it starts takes the format of the one it breaks, and does not continue.
        QTextCursor broken = textCursor();
        const bool continued = ContinuesParagraph(broken.block());
        if (continued)
            SetContinuesParagraph(broken, false);
        if (TidyParagraphs(document(), from, broken.position()) || continued)
            LeaveRedoAt(broken);
        step.endEditBlock();
        keepTheCursorInView(top, from, document()->characterCount() - length);
        if (lineSeparator)
            event->setAccepted(enter.isAccepted());
        return;
    }
    // Near a limit, the keystroke and the cut or join it makes needed are one step to undo;
    // elsewhere Qt's own steps, typing merged as it merges it.
    if (!isReadOnly() && MayEdit(event) && MayNeedTidying(textCursor(), event->text())) {
        editWithTidying(event);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextPane::editWithTidying(QKeyEvent* event)
{
    QTextCursor step = textCursor();
    const int from = step.selectionStart();
    const int top = topLine().first;
    const int length = document()->characterCount();
    const int revision = document()->revision();
    const QString text = event->text();
    const bool typed = !text.isEmpty() && text.front().isPrint() &&
                       !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    step.beginEditBlock();
    // Typing and deleting a character as Qt does, without the view's reading of a layout the
    // edit block keeps from hearing of the change; any other key through Qt.
    const bool backspace = event == QKeySequence::Backspace && event->modifiers() == Qt::NoModifier;
    const bool deleted = event == QKeySequence::Delete && event->modifiers() == Qt::NoModifier;
    const bool handled = typed || backspace || deleted;
    if (typed)
        step.insertText(text);
    else if (backspace)
        step.deletePreviousChar();
    else if (deleted)
        step.deleteChar();
    else {
        layout_->setWithinEdit(true);
        QPlainTextEdit::keyPressEvent(event);
        layout_->setWithinEdit(false);
    }
    if (document()->revision() != revision) {
        const int at = handled ? step.position() : textCursor().position();
        if (TidyParagraphs(document(), std::min(from, at), std::max(from, at))) {
            QTextCursor cursor(document());
            cursor.setPosition(at);
            LeaveRedoAt(cursor);
        }
    }
    step.endEditBlock();
    if (handled)
        setTextCursor(step);
    keepTheCursorInView(top, from, document()->characterCount() - length);
    event->accept();
}

// The view keeps its top line by block number and line: an edit block that cut or joined blocks
// around it leaves the view elsewhere than Qt put it. The view goes back to the line it showed
// at its top, moved by what the edit put in or took out before it, and from there to the
// cursor, as Qt scrolls after an edit.
void TextPane::keepTheCursorInView(int top, int editedFrom, int lengthChange)
{
    showAtTop(top > editedFrom ? std::max(editedFrom, top + lengthChange) : top);
    ensureCursorVisible();
}

void TextPane::resizeEvent(QResizeEvent* event)
{
    // The plain-text view drops every paragraph's layout on a new width, then finds its top line
    // in a scroll range that counts a line a paragraph: beyond that range, its top line would
    // move down the text. The writer's place is kept instead; switched back and forth, the same
    // place, not the start of the line that holds it at the other width. A pane scrolled to its
    // end keeps its last line in view.
    const bool newWidth = event->oldSize().width() != event->size().width();
    bool atTheEnd = false;
    if (newWidth) {
        const QScrollBar* bar = verticalScrollBar();
        atTheEnd = bar->maximum() > 0 && bar->value() == bar->maximum();
        const auto [start, end] = topLine();
        if (keptTop_ < start || keptTop_ >= end)
            keptTop_ = start;
    }
    QPlainTextEdit::resizeEvent(event);
    if (newWidth) {
        layout_->relayoutAll();
        if (atTheEnd)
            showTheEnd();
        else
            showAtTop(keptTop_);
    }
}

std::pair<int, int> TextPane::topLine() const
{
    const QTextBlock block = firstVisibleBlock();
    if (!block.isValid())
        return {0, 0};
    if (block.layout()->lineCount() == 0)
        return {block.position(), block.position() + block.length()};
    const int line = std::clamp(verticalScrollBar()->value() - block.firstLineNumber(), 0,
                                block.layout()->lineCount() - 1);
    const QTextLine top = block.layout()->lineAt(line);
    return {block.position() + top.textStart(),
            block.position() + top.textStart() + std::max(top.textLength(), 1)};
}

void TextPane::showAtTop(int position)
{
    const QTextBlock top = document()->findBlock(position);
    if (!top.isValid())
        return;
    layOutAPage(top, &QTextBlock::next);
    const QTextLine line = top.layout()->lineForTextPosition(position - top.position());
    verticalScrollBar()->setValue(top.firstLineNumber() + (line.isValid() ? line.lineNumber() : 0));
}

void TextPane::showTheEnd()
{
    layOutAPage(document()->lastBlock(), &QTextBlock::previous);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

// A page of paragraphs from `from` on, going by `step`, laid out, so that the scroll range
// reaches them.
void TextPane::layOutAPage(const QTextBlock& from, QTextBlock (QTextBlock::*step)() const) const
{
    qreal height = 0;
    for (QTextBlock block = from; block.isValid() && height <= viewport()->height();
         block = (block.*step)())
        height += layout_->blockBoundingRect(block).height();
}

bool TextPane::isLaidOut() const
{
    return layout_->isComplete();
}

std::pair<int, int> TextPane::visibleRange() const
{
    const qreal height = viewport()->height();
    const QPointF offset = contentOffset();
    int first = -1;
    int last = 0;
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(offset);
        if (box.top() > height)
            break;
        const QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const qreal top = box.top() + line.y();
            if (top + line.height() < 0)
                continue;
            if (top > height)
                break;
            if (first < 0)
                first = block.position() + line.textStart();
            last = block.position() + line.textStart() + line.textLength();
        }
    }
    return {std::max(first, 0), std::max(last, first)};
}

// Drawing the cursor leaves Qt's shaping of its whole paragraph in memory, some forty bytes a
// character, until the paragraph is next drawn: for a paragraph of megabytes, hundreds. A long
// one lets it go at once, by a draw that falls outside every line.
void TextPane::paintEvent(QPaintEvent* event)
{
    QPlainTextEdit::paintEvent(event);
    constexpr int LongParagraph = 1 << 16;
    const QTextBlock block = textCursor().block();
    if (block.length() > LongParagraph && block.layout()->lineCount() > 0) {
        QImage nowhere(1, 1, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&nowhere);
        block.layout()->draw(&painter, QPointF(), {}, QRectF(0, -1e9, 1, 1));
    }
}

// A press soon after a double-click, where it was, is a triple-click, as Qt's own control tells.
void TextPane::mouseDoubleClickEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    sinceDoubleClick_.start();
    doubleClickPoint_ = event->position();
}

void TextPane::mousePressEvent(QMouseEvent* event)
{
    const bool tripleClick = event->button() == Qt::LeftButton && sinceDoubleClick_.isValid() &&
                             sinceDoubleClick_.elapsed() < QApplication::doubleClickInterval() &&
                             (event->position() - doubleClickPoint_).manhattanLength() <
                                 QApplication::startDragDistance();
    sinceDoubleClick_.invalidate();
    QPlainTextEdit::mousePressEvent(event);
    selectingParagraphs_ = tripleClick;
    if (selectingParagraphs_)
        selectWholeParagraphs();
}

void TextPane::mouseMoveEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseMoveEvent(event);
    if (selectingParagraphs_ && (event->buttons() & Qt::LeftButton))
        selectWholeParagraphs();
}

void TextPane::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        selectingParagraphs_ = false;
    QPlainTextEdit::mouseReleaseEvent(event);
}

void TextPane::selectWholeParagraphs()
{
    if (cuts_->count() == 0)
        return;
    QTextCursor cursor = textCursor();
    const int anchor = cursor.anchor();
    const int position = cursor.position();
    WidenToParagraphs(cursor);
    if (cursor.anchor() != anchor || cursor.position() != position)
        setTextCursor(cursor);
}

// Qt's own commands first, then the pane's own (its actions).
void TextPane::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    if (!actions().isEmpty()) {
        menu->addSeparator();
        menu->addActions(actions());
    }
    menu->exec(event->globalPos());
}

void TextPane::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange && marker_)
        marker_->followFont();
}

void TextPane::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    emit focusGained();
}

} // namespace ui
