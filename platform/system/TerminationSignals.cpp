#include "platform/system/TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

namespace sorvella {
namespace {

// The one static of the program: a signal handler can reach nothing else.
// It holds the pipe's write end while a TerminationSignals exists, else -1.
std::atomic<int> signalPipe{-1};

extern "C" void onTerminationSignal(int)
{
    const int savedErrno = errno;
    const int pipe = signalPipe.load();
    if (pipe >= 0) {
        const char byte = 1;
        // A full pipe already says that a signal came; the byte may be lost.
        [[maybe_unused]] const ssize_t written = write(pipe, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

struct TerminationSignals::PreviousHandlers {
    struct sigaction term = {};
    struct sigaction interrupt = {};
};

TerminationSignals::TerminationSignals() : m_previous(std::make_unique<PreviousHandlers>())
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::system_error(errno, std::generic_category(), "termination signal pipe");
    }
    m_readEnd = ends[0];
    m_writeEnd = ends[1];
    signalPipe.store(m_writeEnd);

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, &m_previous->term);
    sigaction(SIGINT, &action, &m_previous->interrupt);
}

TerminationSignals::~TerminationSignals()
{
    sigaction(SIGTERM, &m_previous->term, nullptr);
    sigaction(SIGINT, &m_previous->interrupt, nullptr);
    signalPipe.store(-1);
    close(m_writeEnd);
    close(m_readEnd);
}

bool TerminationSignals::takeSignals()
{
    bool arrived = false;
    char bytes[64];
    ssize_t count = 0;
    while ((count = read(m_readEnd, bytes, sizeof bytes)) > 0 || (count < 0 && errno == EINTR)) {
        arrived = arrived || count > 0;
    }
    return arrived;
}

} // namespace sorvella
