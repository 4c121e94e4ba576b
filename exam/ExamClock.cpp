#include "exam/ExamClock.h"

#include <utility>

QString firstClockCaption(int hours, int minutes)
{
    return QString::number(hours) + QLatin1Char(':') + QString::number(minutes - 1) + QStringLiteral(":00");
}

QString twoDigits(int value)
{
    const QString digits = QStringLiteral("%1").arg(qAbs(value), 2, 10, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

ClockTick countDownTick(double& seconds, int& quizMinutes)
{
    ClockTick result;
    seconds -= 1;
    result.caption = twoDigits(quizMinutes - 1) + QLatin1Char(':') + twoDigits(int(seconds));
    if (seconds == 0) {
        quizMinutes -= 1;
        seconds = 60.0;
    }
    // Below zero too: a limit of 0 or less must not run for ever.
    if (quizMinutes <= 0) {
        quizMinutes = 0;
        seconds = 0;
        result.timeOver = true;
        result.caption = QStringLiteral("00:00");
    }
    return result;
}

ClockTick countUpTick(double& seconds, int& minutes)
{
    ClockTick result;
    seconds += 1;
    if (seconds == 60) {
        minutes += 1;
        seconds = 0;
    }
    result.caption = twoDigits(minutes) + QLatin1Char(':') + twoDigits(int(seconds));
    return result;
}

TimerTickSource::TimerTickSource()
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &TickSource::tick);
}

void TimerTickSource::setEnabled(bool enabled)
{
    if (enabled == m_timer.isActive())
        return;
    if (enabled)
        m_timer.start();
    else
        m_timer.stop();
}

bool ManualTickSource::fire()
{
    if (!m_enabled)
        return false;
    emit tick();
    return true;
}

namespace {

TickSourceFactory& factorySlot()
{
    static TickSourceFactory factory;
    return factory;
}

} // namespace

void setTickSourceFactory(TickSourceFactory factory)
{
    factorySlot() = std::move(factory);
}

std::unique_ptr<TickSource> makeTickSource()
{
    if (const TickSourceFactory& factory = factorySlot())
        return factory();
    return std::make_unique<TimerTickSource>();
}

ClockHold::ClockHold(TickSource& clock, std::function<bool()> mayResume)
    : m_clock(clock), m_mayResume(std::move(mayResume)), m_wasRunning(clock.isEnabled())
{
    m_clock.setEnabled(false);
}

ClockHold::~ClockHold()
{
    if (m_wasRunning && (!m_mayResume || m_mayResume()))
        m_clock.setEnabled(true);
}
