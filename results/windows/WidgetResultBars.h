#pragma once

#include <QColor>
#include <QWidget>

// The painted bars of the result window. Lengths are in the window's length
// units (15 to a pixel); the full bar, 100 %, is 8000 units. Colours not
// given come from the window's palette, which the skin sets.

// The score bar: the score's length in the pass or fail colour over the
// full-length track, the pass marker and a scale below.
class ScoreBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor trackColor READ trackColor WRITE setTrackColor)
public:
    explicit ScoreBar(QWidget* parent = nullptr);

    void setBar(int length, const QColor& color);
    int barLength() const { return m_length; }
    QColor barColor() const { return m_color; }
    // The marker's place from the bar's start.
    void setPassMarker(int position);
    int passMarker() const { return m_marker; }

    QColor trackColor() const;
    void setTrackColor(const QColor& color) { m_track = color; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_length = 0;
    int m_marker = 0;
    QColor m_color;
    QColor m_track;
};

// One category's bars: the full-length bar of the questions asked and, laid
// over it, the bar of the correct answers.
class CategoryBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor totalColor READ totalColor WRITE setTotalColor)
    Q_PROPERTY(QColor correctColor READ correctColor WRITE setCorrectColor)
public:
    explicit CategoryBar(QWidget* parent = nullptr);

    void setCorrectLength(int length);
    int correctLength() const { return m_correct; }

    QColor totalColor() const;
    void setTotalColor(const QColor& color) { m_total = color; }
    QColor correctColor() const;
    void setCorrectColor(const QColor& color) { m_correctColor = color; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_correct = 0;
    QColor m_total;
    QColor m_correctColor;
};
