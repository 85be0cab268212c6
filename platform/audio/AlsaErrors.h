#pragma once

namespace sorvella {

// Takes ALSA's error lines off standard error. The library prints its own
// lines for every failed open (dozens a second while a missing device or
// sound server is retried); the error codes it returns alongside already
// reach the user as our RecExceptions. Main thread, before ALSA is used.
void routeAlsaErrors();

} // namespace sorvella
