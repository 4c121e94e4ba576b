#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

// The exam clock: its captions and one tick of the simulated exam's
// count-down or of the elapsed time of every other mode.

// The caption the clock shows before its first tick: hours, the minutes less
// one and ":00", without padding ("0:59:00" for an hour, "0:0:00" for the
// one minute of practice and pretest).
QString firstClockCaption(int hours, int minutes);

// A number as two digits at least ("05", "100", "-01").
QString twoDigits(int value);

struct ClockTick {
    QString caption;       // the clock label after the tick
    bool timeOver = false; // the count-down reached zero: the exam ends into review
};

// One second of the count-down. `quizMinutes` is the remaining limit and
// goes down in place; `seconds` starts at 60. Each minute shows :59 down to
// :00, so a limit of M minutes lasts exactly M x 60 ticks. A limit of 0 or
// below ends on the first tick.
ClockTick countDownTick(double& seconds, int& quizMinutes);

// One second of elapsed time: "MM:SS", minutes past 99 in three digits.
ClockTick countUpTick(double& seconds, int& minutes);

// What drives the clock: one tick a second while enabled. The program uses
// a timer; tests drive the ticks themselves.
class TickSource : public QObject {
    Q_OBJECT
public:
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;

signals:
    void tick();
};

// A tick every 1000 ms while enabled, on the thread that made it; it goes on
// ticking while a modal window of the exam is open.
class TimerTickSource : public TickSource {
    Q_OBJECT
public:
    TimerTickSource();
    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

// Ticks only when told; an order while disabled is dropped, as a stopped
// timer would never have ticked.
class ManualTickSource : public TickSource {
    Q_OBJECT
public:
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    bool isEnabled() const override { return m_enabled; }
    // One tick; false when the clock is stopped.
    bool fire();

private:
    bool m_enabled = false;
};

// Holds a running clock while the program tells the user of its own failure
// (a file in use, a full disk), as a break does: the time such a message is
// open is not the user's. The clock goes on afterwards only when it ran
// before and mayResume still allows it (no time over, no review, no break).
class ClockHold {
public:
    ClockHold(TickSource& clock, std::function<bool()> mayResume);
    ~ClockHold();
    ClockHold(const ClockHold&) = delete;
    ClockHold& operator=(const ClockHold&) = delete;

private:
    TickSource& m_clock;
    std::function<bool()> m_mayResume;
    bool m_wasRunning;
};

// Where exam windows get their tick source: a timer unless replaced (tests
// replace it; an empty factory restores the timer).
using TickSourceFactory = std::function<std::unique_ptr<TickSource>()>;
void setTickSourceFactory(TickSourceFactory factory);
std::unique_ptr<TickSource> makeTickSource();
