#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT, SIGTERM, SIGHUP, SIGQUIT and SIGPIPE turned into a Qt signal, so
// that the program can stop the listing tool's process group before it ends:
// the tool runs in a group of its own, which the terminal's Ctrl+C, Ctrl+\ or
// hang-up does not reach. A write that SIGPIPE interrupts fails with EPIPE.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override; // restores what the signals did before

    // The signal received, or 0.
    [[nodiscard]] static int received();
    // Ends the process by the signal received, as if it had not been caught.
    [[noreturn]] static void endByReceivedSignal();

signals:
    void terminationRequested();

private:
    QSocketNotifier *m_notifier;
};
