#include "results/windows/WidgetAnalysisBars.h"

#include "results/ExamResult.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

SegmentBar::SegmentBar(int fullLength, int height, QWidget* parent)
    : QWidget(parent), m_full(fullLength), m_height(height)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setMouseTracking(true);
}

void SegmentBar::setLengths(double correct, double wrong)
{
    m_correct = std::clamp(correct, 0.0, double(m_full));
    m_wrong = std::clamp(wrong, 0.0, double(m_full) - m_correct);
    update();
}

void SegmentBar::setMarker(double fraction)
{
    m_marker = fraction;
    update();
}

int SegmentBar::fullPixels() const
{
    return m_full / kLengthUnitsPerPixel;
}

int SegmentBar::correctEnd() const
{
    return std::min(fullPixels(), int(std::lround(m_correct / kLengthUnitsPerPixel)));
}

int SegmentBar::wrongEnd() const
{
    return std::min(fullPixels(), int(std::lround((m_correct + m_wrong) / kLengthUnitsPerPixel)));
}

SegmentBar::Segment SegmentBar::segmentAt(const QPoint& point) const
{
    if (point.x() < correctEnd())
        return Correct;
    if (point.x() < wrongEnd())
        return Wrong;
    return Full;
}

QPoint SegmentBar::pointIn(Segment segment) const
{
    const int y = m_height / 2;
    switch (segment) {
    case Correct:
        return QPoint(correctEnd() / 2, y);
    case Wrong:
        return QPoint((correctEnd() + wrongEnd()) / 2, y);
    case Full:
        break;
    }
    return QPoint(std::min(fullPixels() - 1, (wrongEnd() + fullPixels()) / 2), y);
}

QColor SegmentBar::trackColor() const
{
    return m_track.isValid() ? m_track : palette().color(QPalette::Base);
}

QSize SegmentBar::sizeHint() const
{
    return QSize(fullPixels(), m_height);
}

void SegmentBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect bar(0, 0, fullPixels(), m_height);
    painter.fillRect(bar, trackColor());
    const int a = correctEnd();
    const int b = wrongEnd();
    if (a > 0)
        painter.fillRect(QRect(0, 0, a, m_height), correctColor());
    if (b > a)
        painter.fillRect(QRect(a, 0, b - a, m_height), wrongColor());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    if (m_marker >= 0) {
        const int x = std::min(fullPixels() - 1, int(std::lround(m_marker * fullPixels())));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawLine(x, 0, x, m_height - 1);
    }
}

void SegmentBar::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void SegmentBar::mouseReleaseEvent(QMouseEvent* event)
{
    // A click is a press and a release of the left button over the bar.
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit segmentClicked(segmentAt(event->position().toPoint()));
}

void SegmentBar::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit hovered();
}
