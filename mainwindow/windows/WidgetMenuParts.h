#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <functional>

// The drawn menu's painted parts: what each looks like and which pointer
// events it reports; what a row does is the menu's.

// One top picture of the menu: its caption, the hand pointer, and the
// pull-down it opens when the pointer comes over it.
class WidgetMenuPicture : public QWidget {
public:
    // `key`: the letter of the caption that opens it with Alt, underlined.
    WidgetMenuPicture(const QString& caption, QChar key, QWidget* parent);
    QString caption() const { return m_caption; }
    void setColours(const QColor& normal, const QColor& selected);
    // Shown as chosen while its pull-down is open or the keyboard is on it.
    void setChosen(bool chosen);
    bool chosen() const { return m_chosen; }
    std::function<void()> onHover;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_caption;
    QString m_shownCaption; // with "&" before its key letter
    QColor m_normal, m_selected;
    bool m_chosen = false;
};

// A row of a pull-down or of the second-level list: its caption in the menu
// colour, the selected colour and an underline while hovered, grey and inert
// while disabled.
class WidgetMenuRow : public QWidget {
public:
    // Room on the left of the text.
    static constexpr int kTextIndent = 14;
    WidgetMenuRow(int index, QWidget* parent);
    int index() const { return m_index; }
    QString text() const { return m_text; }
    void setText(const QString& text);
    void setColours(const QColor& normal, const QColor& selected);
    void setHovered(bool hovered);
    bool hovered() const { return m_hovered; }
    // The text's colour now.
    QColor foreColour() const;
    // Room kept free on the right for the row's icon.
    void setIconRoom(int pixels);
    std::function<void(int)> onHover;
    std::function<void(int)> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int m_index;
    QString m_text;
    QColor m_normal, m_selected;
    bool m_hovered = false;
    int m_iconRoom = 0;
};

// A pull-down or the second-level list: its rows over a background painted
// from the menu's picture (top strip, middle strip repeated, bottom strip).
class WidgetMenuList : public QWidget {
public:
    WidgetMenuList(const QPixmap& picture, QWidget* parent);
    // Whether the picture can paint the look (else a flat panel).
    bool hasPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // The pointer on the list is the menu's, never the window's below it.
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPixmap m_picture;
};
