// What every window of the program sets up: its look, its caption, and where it shows.
#pragma once

#include "placement.h"

#include <QString>

class QWidget;

namespace ui {

// Dark-green background with captions in the highlighted-text colour, for a window and the
// labels, group boxes and check boxes on it.
void ApplyWindowLook(QWidget* window);

// Sets a window's caption so that the title bar shows exactly it: "[*]" stays literal, and an
// empty caption stays empty (Qt and window managers put a name into an empty title, so an empty
// caption goes out as a single zero-width space, which every title bar draws as nothing).
void SetWindowCaption(QWidget* window, const QString& caption);
inline constexpr QChar EmptyTitle = QChar(0x200B);

// A secondary window of the design: its name, caption and look; destroyed when it closes.
void SetUpSecondaryWindow(QWidget* window, const char* name, const QString& caption);

// The place on the screen of the window that owns a secondary window (nothing for a window
// without an owner), and the area of the screen it is on where a window may stand whole.
WindowPlace OwnerPlace(const QWidget* window);
QRect AvailableArea(const QWidget* window);

// How a secondary window first goes on the screen: the top-left corner of its frame, from the
// frame's size, its owner's place and the screen's available area.
using Placement = QPoint (*)(const QSize& frame, const WindowPlace& owner, const QRect& available);

// Places a secondary window by `where` when it is first shown, and again once the window manager
// has framed it; until then the owner's frame stands in for its own.
void PlaceOnFirstShow(QWidget* window, Placement where);

// Makes a window visible with the state it has, in front of the others; its focus shown from the
// start when its owner shows its own, as it does once the writer moves by the keys.
void ShowInFront(QWidget* window);

} // namespace ui
