// Fuzz bytes read as UTF-16 code units, lone surrogates and NUL characters included.
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

// Narrow inputs to the characters that matter most, so that words and matches are frequent:
// each byte picks one of a few letters, spaces, line breaks and punctuation marks.
inline std::u16string SmallAlphabet(const std::uint8_t* data, std::size_t size)
{
    static const char16_t alphabet[] = {u'a', u'b', u'c',  u'д',  u' ',  u' ',      u' ', u'-',
                                        u',', u'.', u'\r', u'\n', u'\t', u'\u00A0', u'(', u'$'};
    std::u16string text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i)
        text += alphabet[data[i] % 16];
    return text;
}

} // namespace fuzz

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            __builtin_trap();                                                                      \
    } while (false)
