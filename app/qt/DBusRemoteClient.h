#pragma once

#include <optional>

namespace sorvella {

// "--quick-save", "--edit-and-save" and "--status" [--instance <pid>] send
// their command to a running instance over the session bus and end, before
// any window is made. The exit code: 0 done, 1 the command failed (its
// message on standard error) or the line was wrong, 2 no instance runs (or
// there is no session bus). Nothing when the arguments hold none of these
// options. `argc` and `argv` are main's.
std::optional<int> runRemoteCommand(int& argc, char** argv);

} // namespace sorvella
