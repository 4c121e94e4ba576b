#include "results/windows/WidgetResultBars.h"

#include "results/ExamResult.h"

#include <QPainter>
#include <algorithm>

namespace {

// Pixels of a length, kept inside the full bar.
int pixels(int length)
{
    return std::clamp(length, 0, kFullBarLength) / kLengthUnitsPerPixel;
}

constexpr int kFullBarPixels = kFullBarLength / kLengthUnitsPerPixel;
constexpr int kBarHeight = 18;

} // namespace

ScoreBar::ScoreBar(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ScoreBar::setBar(int length, const QColor& color)
{
    m_length = length;
    m_color = color;
    update();
}

void ScoreBar::setPassMarker(int position)
{
    m_marker = position;
    update();
}

QColor ScoreBar::trackColor() const
{
    return m_track.isValid() ? m_track : palette().color(QPalette::Base);
}

QSize ScoreBar::sizeHint() const
{
    return QSize(kFullBarPixels + 2, kBarHeight + 8 + fontMetrics().height());
}

void ScoreBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect track(0, 2, kFullBarPixels, kBarHeight);
    painter.fillRect(track, trackColor());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(track.adjusted(0, 0, -1, -1));
    if (m_length > 0)
        painter.fillRect(QRect(track.left(), track.top(), pixels(m_length), track.height()), m_color);

    // The marker stands a little above and below the bar.
    const int x = pixels(m_marker);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 2));
    painter.drawLine(x, 0, x, track.bottom() + 3);

    painter.setPen(palette().color(QPalette::WindowText));
    const int textTop = track.bottom() + 5;
    const int textHeight = fontMetrics().height();
    for (int percent : {0, 50, 100}) {
        const QString label = QString::number(percent) + QLatin1Char('%');
        const int centre = percent * kScoreBarPerPercent / kLengthUnitsPerPixel;
        const int w = fontMetrics().horizontalAdvance(label);
        const int left = std::clamp(centre - w / 2, 0, width() - w);
        painter.drawText(QRect(left, textTop, w, textHeight), Qt::AlignCenter, label);
    }
}

CategoryBar::CategoryBar(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CategoryBar::setCorrectLength(int length)
{
    m_correct = length;
    update();
}

QColor CategoryBar::totalColor() const
{
    return m_total.isValid() ? m_total : palette().color(QPalette::Midlight);
}

QColor CategoryBar::correctColor() const
{
    return m_correctColor.isValid() ? m_correctColor : palette().color(QPalette::Highlight);
}

QSize CategoryBar::sizeHint() const
{
    return QSize(kFullBarPixels, kBarHeight);
}

void CategoryBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect bar(0, 0, kFullBarPixels, kBarHeight);
    painter.fillRect(bar, totalColor());
    if (m_correct > 0)
        painter.fillRect(QRect(0, 0, pixels(m_correct), kBarHeight), correctColor());
}
