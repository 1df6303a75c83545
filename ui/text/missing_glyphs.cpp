#include "missing_glyphs.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QTextBlock>
#include <QTextDocument>

namespace ui {

namespace {

constexpr std::size_t CodePoints = 0x110000;

bool PlacedByQt(char32_t character)
{
    switch (QChar::category(character)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return QChar::isSpace(character) || QChar::isNonCharacter(character);
    }
}

} // namespace

MissingGlyphMarker::MissingGlyphMarker(QTextDocument* document)
    : QObject(document), document_(document), asked_(CodePoints), drawn_(CodePoints)
{
    followFont();
    // Told before the document's layout, so a paragraph is laid out once, already marked.
    connect(document, &QTextDocument::contentsChange, this,
            [this](int from, int, int added) { markChanged(from, added); });
}

void MissingGlyphMarker::followFont()
{
    const QFont font = document_->defaultFont();
    // Coverage is the families'; a size does not change it.
    const bool changed = !unmerged_.hasProperty(QTextFormat::FontStyleStrategy) ||
                         font.families() != font_.families() || font.family() != font_.family() ||
                         font.styleStrategy() != font_.styleStrategy();
    font_ = font;
    if (!changed)
        return;
    asked_.assign(CodePoints, false);
    drawn_.assign(CodePoints, false);
    // The family Qt resolved the font to, by name: a substitute found by matching would be matched
    // again for the run's script, and no installed font supports it.
    unmerged_.setFontFamilies({QFontInfo(font).family()});
    unmerged_.setFontStyleStrategy(
        QFont::StyleStrategy(font.styleStrategy() | QFont::NoFontMerging));
    for (QTextBlock block = document_->begin(); block.isValid(); block = block.next()) {
        if (!block.layout()->formats().isEmpty())
            mark(block);
    }
}

bool MissingGlyphMarker::drawn(char32_t character)
{
    if (character >= CodePoints || PlacedByQt(character))
        return true;
    if (!asked_[character]) {
        asked_[character] = true;
        drawn_[character] = QFontMetrics(font_).inFontUcs4(character);
    }
    return drawn_[character];
}

void MissingGlyphMarker::markChanged(int from, int added)
{
    // A change within one paragraph has it laid out at once, and typing it laid out again and
    // again: marking pays. Paragraphs of a change across several are laid out when they come into
    // view, some never, and asking the fonts about all their characters could cost more than it
    // saves; they are marked when typed into.
    const QTextBlock block = document_->findBlock(from);
    if (block.isValid() && block.contains(qMax(from, from + added - 1)))
        mark(block);
}

void MissingGlyphMarker::mark(const QTextBlock& block)
{
    const QList<QTextLayout::FormatRange> runs = missingRuns(block.text());
    QTextLayout* layout = block.layout();
    if (runs == layout->formats())
        return;
    layout->setFormats(runs);
    // Lays the paragraph out again now, or with the change being reported.
    document_->markContentsDirty(block.position(), block.length());
}

QList<QTextLayout::FormatRange> MissingGlyphMarker::missingRuns(const QString& text)
{
    QList<QTextLayout::FormatRange> runs;
    const auto close = [&](int start, int end) { runs.append({start, end - start, unmerged_}); };
    const auto length = static_cast<int>(text.size());
    int runStart = -1;
    for (int i = 0; i < length;) {
        const int start = i;
        char32_t character = text.at(i++).unicode();
        if (QChar::isHighSurrogate(character) && i < length && text.at(i).isLowSurrogate())
            character = QChar::surrogateToUcs4(char16_t(character), text.at(i++).unicode());
        const bool missing = !drawn(character);
        if (missing && runStart < 0)
            runStart = start;
        if (!missing && runStart >= 0) {
            close(runStart, start);
            runStart = -1;
        }
    }
    if (runStart >= 0)
        close(runStart, length);
    return runs;
}

} // namespace ui
