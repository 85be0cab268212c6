#pragma once

#include <optional>

namespace sorvella {

// "installconfig" and "--help" do their work before any window system is
// needed, so that they run from scripts and installers without a display.
// When an argument is one of them, the arguments are parsed up to it (a bad
// one before it is told in a box when there is a display, else on standard
// error) and the exit code is returned; otherwise nothing, and the program
// starts as usual. `argc` and `argv` are main's.
std::optional<int> runWithoutWindows(int& argc, char** argv);

} // namespace sorvella
