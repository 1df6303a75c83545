#include "analysis.h"

namespace analysis {

bool IsRemovedPunctuation(char16_t c)
{
    switch (c) {
    case u',':
    case u'.':
    case u'/':
    case u'-':
    case u'=':
    case u')':
    case u'(':
    case u'+':
    case u'^':
    case u'#':
    case u'%':
    case u'@':
    case u'"':
    case u'!':
    case u'?':
    case u'*':
        return true;
    default:
        return false;
    }
}

std::u16string PrepareText(std::u16string_view text)
{
    std::u16string prepared(text.size(), u'\0');
    std::size_t length = 0;
    for (const char16_t c : text) {
        prepared[length] = c;
        length += IsRemovedPunctuation(c) ? 0 : 1;
    }
    prepared.resize(length);
    return prepared;
}

} // namespace analysis
