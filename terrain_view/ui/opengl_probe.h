#pragma once

#include <QString>

namespace qarn {

// Why the 3D view cannot draw here (a platform without OpenGL, no driver for
// OpenGL 3.3 core), in words for the user; empty when it can. Makes and drops
// a context of its own, so call it on the GUI thread.
QString openGlProblem();

} // namespace qarn
