#pragma once

#include <QColor>
#include <QWidget>

// A painted bar of the historical analysis: the full-length bar (the whole
// bank or category, in the track colour that the skin's palette gives), the
// correct part from its left edge in green and the wrong part after it in
// dark red; what they leave uncovered stands for the unanswered questions.
// Each part is a click area of its own. Lengths are in the window's length
// units, 15 to a pixel.
class SegmentBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor trackColor READ trackColor WRITE setTrackColor)
public:
    enum Segment { Correct, Wrong, Full };

    SegmentBar(int fullLength, int height, QWidget* parent = nullptr);

    void setLengths(double correct, double wrong);
    double correctLength() const { return m_correct; }
    double wrongLength() const { return m_wrong; }
    int fullLength() const { return m_full; }
    // A thin mark at that fraction of the full length; below 0 for none.
    void setMarker(double fraction);
    double marker() const { return m_marker; }

    // The part under a point of the widget.
    Segment segmentAt(const QPoint& point) const;
    // The left edge of a part from the bar's left edge, in length units.
    double segmentLeft(Segment segment) const { return segment == Wrong ? m_correct : 0; }
    // A point inside a part, for a click from code; the full bar's is past
    // both coloured parts (its left edge when they cover it all).
    QPoint pointIn(Segment segment) const;

    QColor trackColor() const;
    void setTrackColor(const QColor& color) { m_track = color; }
    static QColor correctColor() { return QColor(0, 255, 0); }
    static QColor wrongColor() { return QColor(192, 0, 0); }

    QSize sizeHint() const override;

signals:
    void segmentClicked(SegmentBar::Segment segment);
    // The pointer moved over the bar.
    void hovered();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // The pixel edges of the parts: correct [0, a), wrong [a, b), within the full bar.
    int correctEnd() const;
    int wrongEnd() const;
    int fullPixels() const;

    int m_full;
    int m_height;
    double m_correct = 0;
    double m_wrong = 0;
    double m_marker = -1;
    bool m_pressed = false;
    QColor m_track;
};
