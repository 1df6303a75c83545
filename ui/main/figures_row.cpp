#include "figures_row.h"

#include "ui/kit/controls.h"
#include "ui/kit/twips.h"

#include <QLabel>

#include <algorithm>

namespace ui {

namespace {

constexpr QRect CharactersPlace = TwipsRect(3720, 480, 90, 195);
constexpr QRect SlashPlace = TwipsRect(4080, 480, 75, 195);
constexpr QRect WordsPlace = TwipsRect(4200, 480, 375, 255);
// The designed gaps: between the characters and the slash, and between the slash and the words.
constexpr int CharactersGap = 4;
constexpr int WordsGap = 3;
// Room kept free beside the clear button, and the frame's line, two pixels wide.
constexpr int ClearButtonGap = 3;
constexpr int FrameLine = 2;

} // namespace

FiguresRow MakeFiguresRow(QWidget* frame)
{
    FiguresRow figures;
    figures.characters = MakeAutoSizedLabel(frame, "Label5", QStringLiteral("0"), CharactersPlace,
                                            QStringLiteral("Количество символов."));
    figures.slash = MakeAutoSizedLabel(frame, "Label7", QStringLiteral("/"), SlashPlace);
    // Keeps its designed size until a long word count needs more.
    figures.words = MakeLabel(frame, "Label8", QStringLiteral("0"), WordsPlace,
                              QStringLiteral("Количество слов."));
    return figures;
}

void LayOutFiguresRow(const FiguresRow& figures, const QWidget* clearButton)
{
    // The first and the last pixel the figures may take.
    const int left = clearButton->geometry().right() + 1 + ClearButtonGap;
    const int right = figures.words->parentWidget()->width() - FrameLine - 1;

    const int wordsWidth = std::max(WordsPlace.width(), figures.words->sizeHint().width());
    // The words grow to the right up to the frame; beyond it the slash and the words move left.
    const int shift = std::max(0, WordsPlace.x() + wordsWidth - 1 - right);
    const int slashX = SlashPlace.x() - shift;
    const int wordsX = std::max(WordsPlace.x() - shift, slashX + figures.slash->width() + WordsGap);
    // The characters grow to the left of the slash.
    const int charactersX =
        std::max(left, std::min(CharactersPlace.x(),
                                slashX - CharactersGap - figures.characters->sizeHint().width()));

    figures.characters->move(charactersX, figures.characters->y());
    figures.slash->move(slashX, figures.slash->y());
    figures.words->setGeometry(wordsX, figures.words->y(), wordsWidth, figures.words->height());
}

} // namespace ui
