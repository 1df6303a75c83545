#include "analysis.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

namespace analysis {

std::u16string FormatSignedNumber(std::int64_t value)
{
    // The magnitude in unsigned arithmetic, so that the smallest value has one too.
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    return (value < 0 ? u"-" : u" ") + digits;
}

std::u16string FormatResultLine(int percentage, int shownShingleLength)
{
    return FormatSignedNumber(percentage) + u" %." + u" " + u"(Длина шингла " +
           FormatSignedNumber(shownShingleLength) + u")";
}

int ReadShownShingleLength(std::u16string_view text)
{
    std::size_t position = 0;
    while (position < text.size() && (text[position] == u' ' || text[position] == u'\t'))
        ++position;
    bool negative = false;
    if (position < text.size() && (text[position] == u'-' || text[position] == u'+')) {
        negative = text[position] == u'-';
        ++position;
    }
    long long value = 0;
    for (; position < text.size() && text[position] >= u'0' && text[position] <= u'9'; ++position) {
        value = std::min<long long>(value * 10 + (text[position] - u'0'), INT_MAX);
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace analysis
