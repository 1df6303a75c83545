// The analysis works on std::u16string; Qt's QString holds the same UTF-16 code units.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace ui {

inline QString ToQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

// A view of the string's own code units, valid while the string lives unchanged.
inline std::u16string_view ToU16View(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

} // namespace ui
