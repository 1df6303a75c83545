// Article-like texts for the benchmarks: Russian-like words, punctuation, paragraphs, and a new
// text of which a quarter is copied from the source in passages.
#pragma once

#include <random>
#include <string>
#include <string_view>

namespace bench {

class ArticleGenerator
{
public:
    explicit ArticleGenerator(unsigned seed) : random_(seed) {}

    // About `codeUnits` UTF-16 code units of prose.
    std::u16string article(std::size_t codeUnits)
    {
        std::u16string text;
        text.reserve(codeUnits + 64);
        int wordsInSentence = 0;
        int sentencesInParagraph = 0;
        bool capital = true;
        while (text.size() < codeUnits) {
            std::u16string word = this->word();
            if (capital)
                word[0] = static_cast<char16_t>(word[0] - 0x20); // а..я to А..Я
            capital = false;
            text += word;
            ++wordsInSentence;
            const int roll = number(0, 99);
            if (wordsInSentence > 6 && roll < 12) {
                text += u'.';
                capital = true;
                wordsInSentence = 0;
                if (++sentencesInParagraph > 4 && roll < 4) {
                    text += u"\r\n";
                    sentencesInParagraph = 0;
                    continue;
                }
            } else if (roll < 20) {
                text += u',';
            } else if (roll < 22) {
                text += u" -";
            } else if (roll < 23) {
                text += u" \u2014";
            }
            text += u' ';
        }
        return text;
    }

    // A text as long as `source` whose every fourth passage is copied from it.
    std::u16string rewrite(const std::u16string& source)
    {
        std::u16string text;
        text.reserve(source.size() + 1024);
        while (text.size() < source.size()) {
            const auto passage = static_cast<std::size_t>(number(200, 800));
            if (number(0, 3) == 0) {
                const auto start =
                    static_cast<std::size_t>(number(0, static_cast<int>(source.size() - 1)));
                text += source.substr(start, passage);
                text += u' ';
            } else {
                text += article(passage);
            }
        }
        return text;
    }

    // A text as long as `source` of passages in turn at random: new prose, copied from
    // `source`, copied from it with every word's last vowel changed (the same words in other
    // endings), and copied from `second`.
    std::u16string rewriteOfTwo(const std::u16string& source, const std::u16string& second)
    {
        static const std::u16string_view vowels = u"аеиоуыэюя";
        std::u16string text;
        text.reserve(source.size() + 1024);
        while (text.size() < source.size()) {
            const auto passage = static_cast<std::size_t>(number(200, 800));
            const int kind = number(0, 3);
            if (kind == 0) {
                text += article(passage);
                continue;
            }
            const std::u16string& from = kind == 3 ? second : source;
            std::u16string copied = from.substr(
                static_cast<std::size_t>(number(0, static_cast<int>(from.size() - 1))), passage);
            if (kind == 2) {
                for (std::size_t i = 0; i + 1 < copied.size(); ++i) {
                    const bool wordEnds =
                        copied[i + 1] == u' ' || copied[i + 1] == u',' || copied[i + 1] == u'.';
                    if (wordEnds && vowels.find(copied[i]) != std::u16string_view::npos)
                        copied[i] = vowels[(vowels.find(copied[i]) + 1) % vowels.size()];
                }
            }
            text += copied;
            text += u' ';
        }
        return text;
    }

    // One paragraph of prose: the same words and punctuation, never a line break.
    std::u16string paragraph(std::size_t codeUnits)
    {
        const std::u16string text = article(codeUnits);
        std::u16string joined;
        joined.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                joined += u' ';
                ++i;
            } else {
                joined += text[i];
            }
        }
        return joined;
    }

    // Characters drawn from `alphabet` alone: with no space among them, a text that offers no
    // word boundary at all (base64, a link list, punctuation only).
    std::u16string drawnFrom(std::u16string_view alphabet, std::size_t codeUnits)
    {
        std::u16string text(codeUnits, u'\0');
        for (char16_t& c : text)
            c = alphabet[static_cast<std::size_t>(
                number(0, static_cast<int>(alphabet.size()) - 1))];
        return text;
    }

    // CJK ideographs without spaces: a boundary between any two of them.
    std::u16string ideographs(std::size_t codeUnits)
    {
        std::u16string text(codeUnits, u'\0');
        for (char16_t& c : text)
            c = static_cast<char16_t>(number(0x4E00, 0x9FA5));
        return text;
    }

    // Any characters of the first plane, as a binary file read as text gives them: every script,
    // controls, unassigned code points and marks, most of which no font draws.
    std::u16string anyCharacters(std::size_t codeUnits)
    {
        std::u16string text(codeUnits, u'\0');
        for (char16_t& c : text) {
            do
                c = static_cast<char16_t>(number(0x20, 0xFFFD));
            while (c >= 0xD800 && c <= 0xDFFF);
        }
        return text;
    }

private:
    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::u16string word()
    {
        static const char16_t consonants[] = u"бвгджзклмнпрстфхцчшщ";
        static const char16_t vowels[] = u"аеиоуыэюя";
        std::u16string result;
        const int syllables = number(1, 4);
        for (int i = 0; i < syllables; ++i) {
            result += consonants[number(0, 19)];
            result += vowels[number(0, 8)];
        }
        if (number(0, 2) == 0)
            result += consonants[number(0, 19)];
        return result;
    }

    std::mt19937 random_;
};

} // namespace bench
