// A text pane of the design. Its plain text is the characters as typed, code unit for code unit
// (a no-break space stays one), with every line break as CR LF; it takes plain text only, so
// its font size and background colour always apply to all of its text. It lays out the
// paragraphs in view at once and the rest while idle (PaneDocumentLayout), and holds a paragraph
// of megabytes as blocks cut after its spaces (ParagraphCuts), so that texts of many megabytes
// paste and type without delay and the end of the text is always within reach.
#pragma once

#include "line_breaking.h"
#include "ui/kit/colour_value.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPointF>

#include <functional>
#include <string>
#include <utility>

namespace ui {

class MissingGlyphMarker;
class PaneDocumentLayout;
class ParagraphCuts;

class TextPane : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TextPane(QWidget* parent = nullptr);

    QString plainText() const;
    // plainText() as the analysis takes it, written paragraph by paragraph, so that no other
    // copy of the whole text is made on the way, into room for at least `capacity` code units.
    std::u16string plainTextForAnalysis(std::size_t capacity = 0) const;
    // Its length, without writing it.
    std::size_t plainTextLength() const;
    // The first `count` code units of plainText(), without reading the rest.
    QString leadingPlainText(int count) const;
    // plainText() of the document's [from, to).
    QString plainText(int from, int to) const;
    // Where the document's `position` stands in plainText(), and back: within a line break's
    // CR LF, at the break.
    std::size_t plainPosition(int position) const;
    int documentPosition(std::size_t plain) const;
    // The paragraphs, each ended by a line break but the last.
    int paragraphCount() const;
    // `text`, read from the document at `from` on, with each cut of a paragraph as its space.
    QString withCutsAsSpaces(QString text, int from) const;
    // CR, LF and CR LF each become one line break. The pane starts afresh: nothing to undo.
    void replacePlainText(const QString& text);
    // Empties the pane as the writer would by selecting all and deleting: one step to undo.
    void clearUndoably();

    qreal fontSize() const;
    void setFontSize(qreal points);

    ColourValue backgroundColour() const { return backgroundColour_; }
    void setBackgroundColour(ColourValue value);

    // Counts changes of the characters (not of formatting) since the pane was made.
    quint64 textRevision() const { return textRevision_; }
    // What laying out paragraphs took since the pane was made: it grows with the text, not faster.
    LineBreakWork lineBreakWork() const;
    // The characters in view, [first, last), from the first line shown to the last: read from
    // the lines laid out, without asking where a character is drawn, which in a paragraph of
    // megabytes has Qt shape all of it.
    std::pair<int, int> visibleRange() const;
    // Whether every paragraph is laid out, so that the scroll range counts every line; those out
    // of view are laid out while the event loop is idle.
    bool isLaidOut() const;

    // What is painted over the text, as assistive technology reads it: the attributes that hold
    // at `position` ("name:value;" each) and, narrowed from what they hold, the run [start, end)
    // over which they stay the same.
    using PaintedAttributes = std::function<QString(int position, int& start, int& end)>;
    void setPaintedAttributes(PaintedAttributes attributes);
    QString paintedAttributes(int position, int& start, int& end) const;
    // Tells assistive technology that what is painted over the text changed: once, however many
    // layers of marks changed together.
    void paintedAttributesChanged();

signals:
    // The characters changed: typing, deleting, pasting, or a replacement by the program.
    void charactersChanged();
    // A paste or drop was refused, the pane left as it was: the program could not have held it.
    void insertRefused();
    void focusGained();

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void dropEvent(QDropEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyBackground();
    // Qt selects the block under a triple-click, and by blocks while the button is held: a block
    // of a cut paragraph is only part of it.
    void selectWholeParagraphs();
    // A key that edits, with the cuts and joins of paragraphs it makes needed: one step to undo.
    void editWithTidying(QKeyEvent* event);
    // After an edit block from `editedFrom` on that changed the length by `lengthChange`, whose
    // view had its top line at `top`: that view, scrolled to the cursor.
    void keepTheCursorInView(int top, int editedFrom, int lengthChange);
    // Whether the memory for inserting `text` in place of the selection of `cursor` can be had.
    bool canHold(QStringView text, const QTextCursor& cursor) const;
    // The [start, end) of the view's top line, the line holding `position` brought to the top,
    // and the last line brought to the bottom.
    std::pair<int, int> topLine() const;
    void showAtTop(int position);
    void showTheEnd();
    void layOutAPage(const QTextBlock& from, QTextBlock (QTextBlock::*step)() const) const;
    // Where a block starts in plainText().
    std::size_t plainStart(const QTextBlock& block) const;

    PaneDocumentLayout* layout_ = nullptr;
    ParagraphCuts* cuts_ = nullptr;
    MissingGlyphMarker* marker_ = nullptr;

    ColourValue backgroundColour_ = Rgb(255, 255, 255);
    quint64 textRevision_ = 0;
    PaintedAttributes painted_;
    bool paintedToTell_ = false;
    bool dropping_ = false; // a drop checked before Qt takes it
    int keptTop_ = -1;      // the place kept at the top through the last new width
    QElapsedTimer sinceDoubleClick_;
    QPointF doubleClickPoint_;
    bool selectingParagraphs_ = false; // from a triple-click until the button is let go
};

} // namespace ui
