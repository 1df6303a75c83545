// Fuzz bytes read as UTF-16 text, lone surrogates and NUL characters included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace fuzz {

inline std::u16string CodeUnits(const std::uint8_t* data, std::size_t size)
{
    std::u16string text(size / 2, u'\0');
    if (!text.empty())
        std::memcpy(text.data(), data, text.size() * sizeof(char16_t));
    return text;
}

// Any UTF-16 text, with the characters that matter most made frequent, so that words and
// matches are: a byte below 0xF0 picks one of a few letters, spaces, line breaks and punctuation
// marks; a byte from 0xF0 on takes the next two bytes as a code unit of any value (a lone
// surrogate, NUL, a character that makes shingles collide).
inline std::u16string AnyText(const std::uint8_t* data, std::size_t size)
{
    static const char16_t alphabet[] = {u'a', u'b', u'c',  u'д',  u' ',  u' ',      u' ', u'-',
                                        u',', u'.', u'\r', u'\n', u'\t', u'\u00A0', u'(', u'$'};
    std::u16string text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] < 0xF0 || size - i < 3) {
            text += alphabet[data[i] % 16];
        } else {
            text += static_cast<char16_t>(data[i + 1] | data[i + 2] << 8);
            i += 2;
        }
    }
    return text;
}

struct TwoTexts
{
    std::u16string newText;
    std::u16string source;
};

// `size` bytes read as two texts, the new text taking `where` 255ths of them.
inline TwoTexts SplitTexts(std::uint8_t where, const std::uint8_t* data, std::size_t size)
{
    const std::size_t newTextSize = size * where / 255;
    return {AnyText(data, newTextSize), AnyText(data + newTextSize, size - newTextSize)};
}

} // namespace fuzz

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            __builtin_trap();                                                                      \
    } while (false)
