#include "word_folding.h"

#include <libstemmer.h>

#include <string>

namespace analysis {

namespace {

bool IsCyrillic(char16_t c)
{
    return c >= 0x0400 && c <= 0x04FF;
}

bool IsLatinLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= 0x00DF && c <= 0x00FF && c != 0x00F7);
}

// Lower case for the Latin and Cyrillic letters, "ё" read as "е".
char16_t Folded(char16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7))
        return static_cast<char16_t>(c + 0x20);
    if (c == 0x0401 || c == 0x0451) // Ё, ё
        return 0x0435;
    if (c >= 0x0410 && c <= 0x042F)
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x0400 && c <= 0x040F)
        return static_cast<char16_t>(c + 0x50);
    return c;
}

// UTF-8 as the stemmer takes it; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The stemmer's UTF-8, which it builds from what it was given.
std::u16string FromUtf8(const unsigned char* text, int size)
{
    std::u16string out;
    for (int i = 0; i < size;) {
        char32_t c = text[i];
        int follow = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        c &= follow == 0 ? 0x7F : follow == 1 ? 0x1F : follow == 2 ? 0x0F : 0x07;
        for (++i; follow > 0 && i < size; --follow, ++i)
            c = (c << 6) | (text[i] & 0x3F);
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

constexpr std::size_t InitialSlots = 1024;

} // namespace

struct WordFolding::Stemmers
{
    sb_stemmer* russian = sb_stemmer_new("russian", "UTF_8");
    sb_stemmer* english = sb_stemmer_new("english", "UTF_8");

    Stemmers() = default;
    Stemmers(const Stemmers&) = delete;
    Stemmers& operator=(const Stemmers&) = delete;
    ~Stemmers()
    {
        sb_stemmer_delete(russian);
        sb_stemmer_delete(english);
    }

    std::u16string stem(sb_stemmer* stemmer, std::u16string_view word) const
    {
        const std::string utf8 = ToUtf8(word);
        const sb_symbol* stemmed =
            sb_stemmer_stem(stemmer, reinterpret_cast<const sb_symbol*>(utf8.data()),
                            static_cast<int>(utf8.size()));
        // Out of memory, the stemmer gives nothing: the word stays as it is.
        if (!stemmed)
            return std::u16string(word);
        return FromUtf8(stemmed, sb_stemmer_length(stemmer));
    }
};

WordFolding::WordFolding()
    : stemmers_(std::make_unique<Stemmers>()), key_(detail::RandomHashKey()),
      spellings_(InitialSlots)
{
}

WordFolding::~WordFolding() = default;

std::u16string WordFolding::fold(std::u16string_view word)
{
    std::u16string folded(word);
    bool cyrillic = false;
    bool latin = false;
    for (char16_t& c : folded) {
        c = Folded(c);
        cyrillic |= IsCyrillic(c);
        latin |= IsLatinLetter(c);
    }
    if (cyrillic && stemmers_->russian)
        return stemmers_->stem(stemmers_->russian, folded);
    if (latin && stemmers_->english)
        return stemmers_->stem(stemmers_->english, folded);
    return folded;
}

std::uint64_t WordFolding::foldedId(std::u16string_view word)
{
    const std::uint64_t spelling = detail::SipHash(key_, word);
    if (const std::uint64_t* known = spellings_.find(spelling))
        return *known;
    const std::uint64_t id = detail::SipHash(key_, fold(word));
    spellings_.insert(spelling, id);
    return id;
}

} // namespace analysis
