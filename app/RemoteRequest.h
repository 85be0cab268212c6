#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace sorvella {

// A command the command line sends to a running instance instead of
// starting one.
struct RemoteRequest {
    enum class Command { QuickSave, EditAndSave, Status };

    Command command = Command::Status;
    // The process id of the instance to address; nothing for the first.
    std::optional<std::int32_t> instance;
    // Why the line cannot be sent; empty when it can.
    std::string error;
};

// The request of the process's arguments (after the program's name), or
// nothing when none of them is "--quick-save", "--edit-and-save", "--status"
// or "--instance". With one of them, every argument must belong to exactly
// one command and at most one "--instance <pid>", or the request carries an
// error.
std::optional<RemoteRequest> remoteRequest(std::span<const std::string> arguments);

} // namespace sorvella
