#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace sorvella {

// Where a running instance answers on the session bus. The first instance
// owns kRemoteService; every instance owns its own name with its process id,
// so that each stays reachable when several run.
inline constexpr const char* kRemoteService = "org.sorvella.Recorder";
inline constexpr const char* kRemoteInterface = "org.sorvella.Recorder";
inline constexpr const char* kRemoteObject = "/Recorder";
inline constexpr const char* kRemoteError = "org.sorvella.Recorder.Error.Failed";

inline QString remoteServiceOf(std::int64_t pid)
{
    return QString("%1.pid%2").arg(kRemoteService).arg(pid);
}

// The fields of Status, in the order the command line prints them.
inline QStringList remoteStatusFields()
{
    return {"state", "mode", "heldSeconds", "loopTime", "target", "dropouts"};
}

} // namespace sorvella
