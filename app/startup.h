// What must be in place before the application object exists.
#pragma once

namespace app {

// Timer3 ticks every millisecond for as long as the program runs. Qt's own event dispatcher
// wakes for it at a fraction of the cost of the GLib one, whose integrations (GTK's native
// dialogs) this program does not use. A choice the user made in the environment is kept.
void PreferQtEventDispatcher();

} // namespace app
