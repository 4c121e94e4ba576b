#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the signals that ask a program to end (SIGTERM from a session's end
// or a shut-down, SIGINT, SIGHUP from a closed terminal) into a Qt signal
// delivered in the event loop. The handler itself only writes the signal's
// number to a pipe, which is all a signal handler may safely do. One object
// at a time; while it lives those signals no longer end the process at once.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    // One of the signals arrived; the argument is its number.
    void requested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};
