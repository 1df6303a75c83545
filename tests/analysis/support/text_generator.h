// Seeded random texts made of the characters the analysis treats specially: a small vocabulary,
// removed and kept punctuation, runs of spaces, tabs, CR LF, no-break spaces, Cyrillic and
// surrogate pairs: for the analysis tests, and for the window tests' random edits.
#pragma once

#include <random>
#include <string>

namespace testsupport {

class TextGenerator
{
public:
    explicit TextGenerator(unsigned seed) : random_(seed) {}

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // About `pieces` words and separators.
    std::u16string text(int pieces)
    {
        // Some fold alike: other cases and forms of one word, "ё" and "е".
        static const std::u16string words[] = {
            u"a",     u"b",      u"кот", u"Кот",        u"мир",      u"GPS",    u"x",
            u"y",     u"z",      u"-",   u"слово",      u"да",       u"(",      u"$",
            u"–",     u"\u2026", u"\t",  u"\U0001F600", u"_",        u"\xD800", u"ab",
            u"слова", u"котом",  u"ёж",  u"еж",         u"checkers", u"Checked"};
        static const std::u16string separators[] = {
            u" ",   u" ",    u" ",      u" ", u"  ", u"   ", u", ", u". ",
            u" - ", u"\r\n", u"\u00A0", u"!", u"?",  u"\"",  u"; ", u""};
        std::u16string result;
        for (int i = 0; i < pieces; ++i) {
            result += pick(words);
            result += pick(separators);
        }
        return result;
    }

    // A text of its own with passages of `source` copied in.
    std::u16string mixed(const std::u16string& source, int pieces)
    {
        std::u16string result = text(pieces / 2);
        if (!source.empty()) {
            const auto start =
                static_cast<std::size_t>(number(0, static_cast<int>(source.size()) - 1));
            result += source.substr(start, static_cast<std::size_t>(number(0, 200)));
        }
        result += text(pieces / 2);
        return result;
    }

private:
    template <std::size_t N> const std::u16string& pick(const std::u16string (&items)[N])
    {
        return items[static_cast<std::size_t>(number(0, static_cast<int>(N) - 1))];
    }

    std::mt19937 random_;
};

} // namespace testsupport
