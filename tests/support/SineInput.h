#pragma once

#include <cstdlib>

namespace sorvella::test {

// Makes the test server's steady 1 kHz source ("sine", at -6.02 dBFS) the
// default input of this process alone, so no feeding client can underrun and
// no other test's input changes. Set before the device is opened.
class SineInput {
public:
    SineInput() { setenv("PULSE_SOURCE", "sine", 1); }
    ~SineInput() { unsetenv("PULSE_SOURCE"); }
    SineInput(const SineInput&) = delete;
    SineInput& operator=(const SineInput&) = delete;
};

} // namespace sorvella::test
