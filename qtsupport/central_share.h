#pragma once

class QMainWindow;

namespace qarn {

// Keeps a main window's central widget at least half the window's width (and
// half its height): whenever the docks beside (or above and below) it take
// more, by the user dragging a separator, docking, showing a dock or shrinking
// the window, the docks on that side are narrowed in proportion to what they
// can give up above their minimum sizes, and the central widget's minimum size
// grows to what the docks and bars take at their least, so the window cannot
// be shrunk past that. Floating docks are left alone. Set once; the watcher
// belongs to the window.
void keepCentralShare(QMainWindow* window);

} // namespace qarn
