// A paragraph of more than 64K characters is held as several blocks of the document, cut after
// its spaces: Qt lays out and shapes a block whole for every change of it, and a block of
// megabytes takes a large part of a second. The block separator at a cut stands for the space
// it replaces: a block that continues its paragraph carries a property of its block format,
// which undo and redo keep with the block. The plain text, the clipboard and the repeats read a
// cut as the space it is; a paragraph of up to 64K characters is never cut, and so is laid out
// exactly as Qt lays out any paragraph.
#pragma once

#include <QObject>
#include <QString>
#include <QStringView>
#include <QTextBlock>

#include <vector>

class QTextCursor;
class QTextDocument;

namespace ui {

// A paragraph this long is laid out whole; a longer one is cut.
inline constexpr int UncutParagraphLength = 1 << 16;
// The blocks of a cut paragraph, about this long each, are laid out in a few milliseconds.
inline constexpr int CutBlockLength = 1 << 14;

// Whether the separator before `block` is a space of its paragraph rather than a line break.
bool ContinuesParagraph(const QTextBlock& block);

// Whether the block's format says so, wherever it stands. When all before a cut is deleted,
// Qt gives the first block the format of the block it joined, and a new block takes the format
// of the one it breaks off.
bool CarriesContinuation(const QTextBlock& block);

// Makes the block of `cursor` continue its paragraph, or not.
void SetContinuesParagraph(QTextCursor& cursor, bool continues);

// The text of the document's [from, to), a cut as its space and a line break as `lineBreak`.
QString PlainSlice(const QTextDocument* document, int from, int to, QStringView lineBreak);

// Widens a selection of whole blocks, as Qt makes one from a triple-click, to whole paragraphs:
// an end at a cut moves out to its paragraph's start, or past the line break that ends it.
void WidenToParagraphs(QTextCursor& cursor);

// Whether typing `inserted` in place of the selection of `cursor` may leave a
// paragraph cut where it should not be, or not cut where it should: the keystrokes that do not
// keep their undo steps as Qt merges them, since tidying makes a step of each.
bool MayNeedTidying(const QTextCursor& cursor, QStringView inserted);

// Cuts each paragraph that the document's [from, to] touches and that is longer than
// UncutParagraphLength, blocks longer than that cut again, and joins those no longer: called
// within the edit block of the edit that made it needed, so that both are one step to undo.
// Every position stays where it was, and so do the document's cursors. Whether it cut or joined.
bool TidyParagraphs(QTextDocument* document, int from, int to);

// The cuts of a document, by block number, kept as it changes: where a paragraph starts in the
// plain text depends on how many of the separators before it are line breaks.
class ParagraphCuts : public QObject
{
public:
    explicit ParagraphCuts(QTextDocument* document);

    // Cuts among the separators before the block numbered `blockNumber`, its own included.
    int before(int blockNumber) const;
    int count() const { return static_cast<int>(cuts_.size()); }

private:
    void update(int from, int added);

    QTextDocument* document_;
    std::vector<int> cuts_; // numbers of the blocks that continue their paragraph, ascending
    int blockCount_ = 1;
};

} // namespace ui
