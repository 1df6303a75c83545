// What assistive technology reads of a text pane: Qt's own reading of a plain text edit, every
// road of it kept (lines, words, the caret, selections, editing), with the attributes of what
// is painted over the text, such as the repeats' marks, added to those of its formats.
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace ui {

// The interface for a TextPane, or null for any other object: for QAccessible::installFactory.
QAccessibleInterface* PaneAccessibleFactory(const QString& className, QObject* object);

} // namespace ui
