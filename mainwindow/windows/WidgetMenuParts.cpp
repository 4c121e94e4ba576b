#include "mainwindow/windows/WidgetMenuParts.h"

#include "mainwindow/MenuRows.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

// ---- the top pictures ----

WidgetMenuPicture::WidgetMenuPicture(const QString& caption, QChar key, QWidget* parent)
    : QWidget(parent), m_caption(caption), m_shownCaption(caption)
{
    const qsizetype at = caption.indexOf(key, 0, Qt::CaseInsensitive);
    if (at >= 0)
        m_shownCaption.insert(at, QLatin1Char('&'));
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void WidgetMenuPicture::setColours(const QColor& normal, const QColor& selected)
{
    m_normal = normal;
    m_selected = selected;
    update();
}

void WidgetMenuPicture::setChosen(bool chosen)
{
    if (m_chosen == chosen)
        return;
    m_chosen = chosen;
    update();
}

QSize WidgetMenuPicture::sizeHint() const
{
    QFont bold = font();
    bold.setBold(true);
    return {std::max(64, QFontMetrics(bold).horizontalAdvance(m_caption) + 28), kMenuRowHeight};
}

void WidgetMenuPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QFont face = font();
    face.setBold(true);
    face.setUnderline(m_chosen);
    painter.setFont(face);
    painter.setPen(m_chosen ? m_selected : m_normal);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, m_shownCaption);
}

void WidgetMenuPicture::enterEvent(QEnterEvent*)
{
    if (onHover)
        onHover();
}

void WidgetMenuPicture::mouseMoveEvent(QMouseEvent*)
{
    if (onHover)
        onHover();
}

void WidgetMenuPicture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && onHover)
        onHover();
}

// ---- the rows ----

WidgetMenuRow::WidgetMenuRow(int index, QWidget* parent) : QWidget(parent), m_index(index)
{
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void WidgetMenuRow::setText(const QString& text)
{
    m_text = text;
    update();
}

void WidgetMenuRow::setColours(const QColor& normal, const QColor& selected)
{
    m_normal = normal;
    m_selected = selected;
    update();
}

void WidgetMenuRow::setHovered(bool hovered)
{
    if (m_hovered == hovered)
        return;
    m_hovered = hovered;
    update();
}

QColor WidgetMenuRow::foreColour() const
{
    if (!isEnabled())
        return palette().color(QPalette::Disabled, QPalette::WindowText);
    return m_hovered ? m_selected : m_normal;
}

void WidgetMenuRow::setIconRoom(int pixels)
{
    m_iconRoom = pixels;
    update();
}

void WidgetMenuRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QFont face = font();
    face.setUnderline(m_hovered && isEnabled());
    painter.setFont(face);
    painter.setPen(foreColour());
    const QRect area = rect().adjusted(kTextIndent, 0, -m_iconRoom - 4, 0);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetrics(face).elidedText(m_text, Qt::ElideRight, area.width()));
}

void WidgetMenuRow::enterEvent(QEnterEvent*)
{
    if (isEnabled() && onHover)
        onHover(m_index);
}

void WidgetMenuRow::mouseMoveEvent(QMouseEvent*)
{
    if (isEnabled() && onHover)
        onHover(m_index);
}

void WidgetMenuRow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && isEnabled() && onClick)
        onClick(m_index);
}

void WidgetMenuRow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}

// ---- the lists ----

WidgetMenuList::WidgetMenuList(const QPixmap& picture, QWidget* parent) : QWidget(parent), m_picture(picture)
{
    setMouseTracking(true);
}

bool WidgetMenuList::hasPicture() const
{
    return !m_picture.isNull() && m_picture.height() >= kMenuPictureMinHeight;
}

void WidgetMenuList::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (hasPicture()) {
        // DrawMenu: each strip copied across the list's full width.
        for (const StripCopy& copy : menuStripCopies(height()))
            painter.drawPixmap(QRect(0, copy.targetY, width(), kMenuStripHeight), m_picture,
                               QRect(0, copy.sourceY, m_picture.width(), kMenuStripHeight));
        return;
    }
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void WidgetMenuList::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void WidgetMenuList::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}
