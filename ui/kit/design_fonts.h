// The designs' fonts, with the Windows families mapped to installed fonts of close metrics.
#pragma once

#include <QFont>

namespace ui {

QFont MainWindowFont();   // Microsoft Sans Serif 18 pt: the main window's own
QFont LabelFont();        // MS Sans Serif 8.25 pt: captions, and the secondary windows' buttons
QFont ButtonFont();       // MS Sans Serif 9.75 pt: the main window's buttons
QFont FrameFont();        // MS Sans Serif 8.25 pt italic: the group boxes' captions
QFont FieldFont();        // Microsoft Sans Serif 8.25 pt: the shingle length field
QFont PaneFont();         // Trebuchet MS 18 pt: the main window's panes
QFont NewTextPaneFont();  // Trebuchet MS 18 pt bold: the new text's pane
QFont ReadOnlyPaneFont(); // MS Sans Serif 8.5 pt: the help text and the listing of shingles

} // namespace ui
