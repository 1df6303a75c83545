// The designs' fonts, with the Windows families mapped to installed fonts of close metrics.
#pragma once

#include <QFont>
#include <QString>

namespace ui {

QFont DesignFont(const QString& family, qreal pointSize, bool bold = false, bool italic = false);
QFont LabelFont(); // MS Sans Serif 8.25 pt

} // namespace ui
