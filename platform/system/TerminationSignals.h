#pragma once

#include <memory>

namespace sorvella {

// SIGTERM and SIGINT turned into a readable descriptor, so that the main loop,
// not the signal handler, closes the program. The handler only writes one
// byte to a pipe. One instance at a time; it restores the previous handlers
// when it goes.
class TerminationSignals {
public:
    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Becomes readable when a signal has arrived; watch it from the event loop.
    int readDescriptor() const { return m_readEnd; }

    // Empties the pipe. True when a signal had arrived since the last call.
    bool takeSignals();

private:
    struct PreviousHandlers;
    std::unique_ptr<PreviousHandlers> m_previous;
    int m_readEnd = -1;
    int m_writeEnd = -1;
};

} // namespace sorvella
