#include "app/RemoteRequest.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
#include <utility>

namespace sorvella {
namespace {

constexpr std::string_view kInstance = "--instance";
constexpr std::array<std::pair<std::string_view, RemoteRequest::Command>, 3> kCommands{{
    {"--quick-save", RemoteRequest::Command::QuickSave},
    {"--edit-and-save", RemoteRequest::Command::EditAndSave},
    {"--status", RemoteRequest::Command::Status},
}};

const RemoteRequest::Command* commandOf(std::string_view argument)
{
    const auto* found =
        std::ranges::find(kCommands, argument, [](const auto& entry) { return entry.first; });
    return found == kCommands.end() ? nullptr : &found->second;
}

bool isRemoteOption(std::string_view argument)
{
    return argument == kInstance || commandOf(argument) != nullptr;
}

// A process id: plain digits, above zero, within 32 bits.
std::optional<std::int32_t> processId(std::string_view text)
{
    std::int32_t pid = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || pid <= 0) {
        return std::nullopt;
    }
    return pid;
}

} // namespace

std::optional<RemoteRequest> remoteRequest(std::span<const std::string> arguments)
{
    if (std::ranges::none_of(arguments, [](const std::string& a) { return isRemoteOption(a); })) {
        return std::nullopt;
    }
    RemoteRequest request;
    bool commandGiven = false;
    const auto refuse = [&request](std::string error) {
        if (request.error.empty()) {
            request.error = std::move(error);
        }
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == kInstance) {
            const std::optional<std::int32_t> pid =
                i + 1 < arguments.size() ? processId(arguments[++i]) : std::nullopt;
            if (!pid || request.instance) {
                refuse("--instance needs one process id");
            }
            request.instance = pid;
        } else if (const RemoteRequest::Command* command = commandOf(argument)) {
            if (commandGiven) {
                refuse("Only one of --quick-save, --edit-and-save and --status at a time");
            }
            request.command = *command;
            commandGiven = true;
        } else {
            refuse("Invalid Parameter: '" + argument + "'");
        }
    }
    if (!commandGiven) {
        refuse("--instance needs --quick-save, --edit-and-save or --status");
    }
    return request;
}

} // namespace sorvella
