#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

// A picture that acts as a button: it shows its picture scaled to its size,
// or, when the picture is missing, a flat panel with its caption; reports
// clicks (the mouse, or Space and Enter while it has the focus) and the
// pointer entering and leaving it.
class WidgetPicture : public QWidget {
    Q_OBJECT
public:
    WidgetPicture(const QString& objectName, const QString& caption, QWidget* parent);

    // A null pixmap leaves the flat panel.
    void setPicture(const QPixmap& picture);
    bool hasPicture() const { return !m_picture.isNull(); }
    // Whether it is its window's focus and came to it by the keyboard (its
    // ring shows).
    bool keyboardFocus() const { return window()->focusWidget() == this && m_keyboardFocus; }
    const QString& caption() const { return m_caption; }
    // The panel's colours while there is no picture.
    void setFallbackColours(const QColor& fill, const QColor& text);

signals:
    void clicked();
    void entered();
    void left();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_keyboardFocus = false; // the focus ring shows only for focus moved by the keyboard
    QString m_caption;
    QPixmap m_picture;
    QColor m_fill{0x0b, 0x6f, 0xc4};
    QColor m_text{Qt::white};
};
