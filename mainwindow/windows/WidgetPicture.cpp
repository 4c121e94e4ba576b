#include "mainwindow/windows/WidgetPicture.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

WidgetPicture::WidgetPicture(const QString& objectName, const QString& caption, QWidget* parent)
    : QWidget(parent), m_caption(caption)
{
    setObjectName(objectName);
    setAccessibleName(caption);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void WidgetPicture::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    update();
}

void WidgetPicture::setFallbackColours(const QColor& fill, const QColor& text)
{
    m_fill = fill;
    m_text = text;
    update();
}

void WidgetPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (!m_picture.isNull()) {
        painter.drawPixmap(rect(), m_picture);
    } else {
        QPainterPath panel;
        panel.addRoundedRect(area, 6, 6);
        painter.fillPath(panel, m_fill);
        painter.setPen(m_text);
        QFont font = painter.font();
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(rect().adjusted(6, 2, -6, -2), Qt::AlignCenter | Qt::TextWordWrap, m_caption);
    }
    if (hasFocus() && m_keyboardFocus) {
        // Dots over a light line: seen on a dark picture as on a light one.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(255, 255, 255, 220), 2));
        painter.drawRoundedRect(area.adjusted(2, 2, -2, -2), 5, 5);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
        painter.drawRoundedRect(area.adjusted(2, 2, -2, -2), 5, 5);
    }
}

void WidgetPicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}

void WidgetPicture::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

void WidgetPicture::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    emit entered();
}

void WidgetPicture::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    emit left();
}

void WidgetPicture::focusInEvent(QFocusEvent* event)
{
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QWidget::focusInEvent(event);
}

void WidgetPicture::focusOutEvent(QFocusEvent* event)
{
    m_keyboardFocus = false;
    QWidget::focusOutEvent(event);
}
