// Random edits of a text pane, each as a writer makes it with the keyboard and the clipboard at a
// random place: text typed, Enter and Shift+Enter, Backspace or Delete, a selection typed over,
// deleted or cut, paragraphs pasted, an undo, a redo. The texts are the analysis tests' generated
// ones: words, punctuation, spaces of every kind and line breaks.
#pragma once

#include "support/text_generator.h"
#include "ui/kit/strings.h"
#include "ui/text/text_pane.h"
#include "widgets.h"

namespace uitest {

class RandomEdits
{
public:
    explicit RandomEdits(unsigned seed) : texts_(seed) {}

    // The edits' random numbers and texts, for the caller's own choices.
    testsupport::TextGenerator& texts() { return texts_; }

    // Makes one edit in `pane`, which it gives the focus; says which, for a failure message.
    QString editOnce(ui::TextPane* pane)
    {
        pane->setFocus();
        switch (texts_.number(0, 10)) {
        case 0:
        case 1:
            moveCursor(pane, QTextCursor::MoveAnchor);
            TypeText(pane, text(6));
            return QStringLiteral("typed");
        case 2:
            QTest::keyClick(pane, Qt::Key_Return);
            return QStringLiteral("Enter");
        case 3:
            QTest::keyClick(pane, Qt::Key_Return, Qt::ShiftModifier);
            return QStringLiteral("Shift+Enter");
        case 4:
            QTest::keyClick(pane, texts_.number(0, 1) == 0 ? Qt::Key_Backspace : Qt::Key_Delete);
            return QStringLiteral("Backspace or Delete");
        case 5:
            select(pane);
            TypeText(pane, texts_.number(0, 1) == 0 ? text(3) : QStringLiteral("\n"));
            return QStringLiteral("a selection typed over");
        case 6:
            select(pane);
            QTest::keyClick(pane, Qt::Key_Delete);
            return QStringLiteral("a selection deleted");
        case 7:
            select(pane);
            QTest::keyClick(pane, Qt::Key_X, Qt::ControlModifier);
            return QStringLiteral("a selection cut");
        case 8:
            moveCursor(pane, QTextCursor::MoveAnchor);
            Paste(pane, text(300));
            return QStringLiteral("pasted");
        case 9:
            QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
            return QStringLiteral("undone");
        default:
            QTest::keyClick(pane, Qt::Key_Y, Qt::ControlModifier);
            return QStringLiteral("redone");
        }
    }

private:
    QString text(int longest) { return ui::ToQString(texts_.text(texts_.number(1, longest))); }

    void moveCursor(ui::TextPane* pane, QTextCursor::MoveMode mode)
    {
        QTextCursor cursor = pane->textCursor();
        cursor.setPosition(texts_.number(0, pane->document()->characterCount() - 1), mode);
        pane->setTextCursor(cursor);
    }

    void select(ui::TextPane* pane)
    {
        moveCursor(pane, QTextCursor::MoveAnchor);
        moveCursor(pane, QTextCursor::KeepAnchor);
    }

    testsupport::TextGenerator texts_;
};

} // namespace uitest
