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

inline std::u16string ToU16(const QString& text)
{
    return text.toStdU16String();
}

} // namespace ui
