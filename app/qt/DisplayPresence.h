#pragma once

namespace sorvella {

// Whether Qt would draw on a screen somebody sees: not with the offscreen or
// minimal platform, nor without an X11 or Wayland display. Unattended runs
// (cron, timers) have none, and nobody could answer a box there.
bool hasDisplay();

} // namespace sorvella
