// Characters that no installed font draws show as the pane font's empty box whatever is done.
// Qt learns that by asking every fallback font about each of them, again at every layout of the
// paragraph: in a megabyte of ideographs on a machine without a CJK font, a third of a second a
// keystroke. This marks their runs in the layout of a paragraph being edited, to be laid out in
// the pane's font alone, without font merging, and asks the fonts about each character once.
#pragma once

#include <QFont>
#include <QObject>
#include <QTextCharFormat>
#include <QTextLayout>

#include <vector>

class QTextBlock;
class QTextDocument;

namespace ui {

class MissingGlyphMarker : public QObject
{
public:
    explicit MissingGlyphMarker(QTextDocument* document);

    // Takes on the document's font; if its families changed, and so what is drawn, marks the
    // marked paragraphs again.
    void followFont();

private:
    // Whether some installed font draws `character` in the document's font, fallbacks included.
    // Spaces, controls, format characters and marks always count as drawn: Qt places them itself.
    bool drawn(char32_t character);
    void markChanged(int from, int added);
    void mark(const QTextBlock& block);
    QList<QTextLayout::FormatRange> missingRuns(const QString& text);

    QTextDocument* document_;
    QFont font_;
    QTextCharFormat unmerged_;
    // What was learnt, a bit per code point.
    std::vector<bool> asked_;
    std::vector<bool> drawn_;
};

} // namespace ui
