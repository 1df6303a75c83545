// What assistive technology reads of a listing pane: its whole text line by line, the current
// entry as the text's cursor, and its selection, through Qt's accessibility interfaces.
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace ui {

// The interface for a ListingPane, or null for any other object: for QAccessible::installFactory.
QAccessibleInterface* ListingAccessibleFactory(const QString& className, QObject* object);

} // namespace ui
