#include "figures_row.h"

#include "ui/common/twips.h"

#include <QLabel>

#include <algorithm>

namespace ui {

namespace {

// The designed gaps: between the characters and the slash, and between the slash and the words.
constexpr int CharactersGap = 4;
constexpr int WordsGap = 3;

} // namespace

void LayOutFiguresRow(QLabel* characters, QLabel* slash, QLabel* words, int left, int right)
{
    const int designedCharacters = TwipsToPixels(3720);
    const int designedSlash = TwipsToPixels(4080);
    const int designedWords = TwipsToPixels(4200);
    const int designedWordsWidth = TwipsToPixels(375);

    const int wordsWidth = std::max(designedWordsWidth, words->sizeHint().width());
    // The words grow to the right up to the frame; beyond it the slash and the words move left.
    const int shift = std::max(0, designedWords + wordsWidth - right);
    const int slashX = designedSlash - shift;
    const int wordsX = std::max(designedWords - shift, slashX + slash->width() + WordsGap);
    // The characters grow to the left of the slash.
    const int charactersX =
        std::max(left, std::min(designedCharacters,
                                slashX - CharactersGap - characters->sizeHint().width()));

    characters->move(charactersX, characters->y());
    slash->move(slashX, slash->y());
    words->setGeometry(wordsX, words->y(), wordsWidth, words->height());
}

} // namespace ui
