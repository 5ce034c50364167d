#include "terminationsignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace {

// SIGPIPE too: a program whose reader went away (`| head`) ends by it, and
// the tool's group is stopped first as for the others.
constexpr std::array handled = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};
volatile std::sig_atomic_t receivedSignal = 0;
int wakeUp[2] = {-1, -1}; // written by the handler, read by the event loop
std::array<struct sigaction, handled.size()> before; // what each signal did before

extern "C" void onSignal(int signal)
{
    const int savedErrno = errno; // the code it interrupts may be about to read it
    receivedSignal = signal;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wakeUp[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (wakeUp[0] < 0) {
        if (::pipe(wakeUp) != 0)
            qFatal("cannot create a pipe for signals");
        for (const int fd : wakeUp) {
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
            ::fcntl(fd, F_SETFL, O_NONBLOCK);
        }
    }
    m_notifier = new QSocketNotifier(wakeUp[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(wakeUp[0], bytes, sizeof bytes) > 0) {
        }
        emit terminationRequested();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < handled.size(); ++i) {
        sigaction(handled[i], nullptr, &before[i]);
        // A signal ignored when the program started (as `cmd &` in a script
        // ignores SIGINT) stays ignored.
        if (before[i].sa_handler != SIG_IGN)
            sigaction(handled[i], &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals()
{
    for (size_t i = 0; i < handled.size(); ++i)
        sigaction(handled[i], &before[i], nullptr);
}

int TerminationSignals::received()
{
    return receivedSignal;
}

void TerminationSignals::endByReceivedSignal()
{
    std::signal(receivedSignal, SIG_DFL);
    std::raise(receivedSignal);
    std::_Exit(128 + receivedSignal); // in case the signal was blocked
}
