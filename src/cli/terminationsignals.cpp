#include "terminationsignals.h"

#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array handled = {SIGINT, SIGTERM};
volatile std::sig_atomic_t receivedSignal = 0;
int wakeUp[2] = {-1, -1}; // written by the handler, read by the event loop

extern "C" void onSignal(int signal)
{
    receivedSignal = signal;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wakeUp[1], &byte, 1);
}

void setHandler(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : handled)
        sigaction(signal, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (wakeUp[0] < 0 && ::pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0)
        qFatal("cannot create a pipe for signals");
    m_notifier = new QSocketNotifier(wakeUp[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(wakeUp[0], bytes, sizeof bytes) > 0) {
        }
        emit terminationRequested();
    });
    setHandler(onSignal);
}

TerminationSignals::~TerminationSignals()
{
    setHandler(SIG_DFL);
}

int TerminationSignals::received()
{
    return receivedSignal;
}

void TerminationSignals::endByReceivedSignal()
{
    setHandler(SIG_DFL);
    std::raise(receivedSignal);
    std::_Exit(128 + receivedSignal); // in case the signal was blocked
}
