// Keeping a window out of the desktop's taskbar.
#pragma once

class QWidget;

namespace ui {

// Asks the desktop to leave a window out of its taskbar from its first show on. X11 desktops are
// asked through the window's state (_NET_WM_STATE_SKIP_TASKBAR); elsewhere no window can ask
// that, and the desktop decides alone.
void KeepOutOfTaskbar(QWidget* window);

} // namespace ui
