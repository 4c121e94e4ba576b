#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The marked questions of the running exam (`flexMarked`), in the order of
// marking: row 0 the header, then one row per marked question number with
// column 0 the number (hidden), column 1 the number shown under
// "Question No" and column 2 the question code under "QID ". The list lives
// as long as the exam window; nothing stores it.
class MarkedList {
public:
    MarkedList();

    // Back to the header row only.
    void InitMarkedGrid();

    // The question on screen, from the counter "n of N" and its code; the
    // mark is keyed by the number, so marking a question twice keeps one row.
    void MarkQuestion(const QString& counterText, int questCode);
    // Takes the question of the counter off the list (its first row).
    void UnmarkQuestion(const QString& counterText);

    // Rows, the header included.
    int rows() const { return int(m_rows.size()); }
    bool hasMarks() const { return rows() > 1; }
    // A cell; "" outside the table.
    QString text(int row, int col) const;
    // The question number of a data row (column 1); 0 when the row holds no
    // number or is not a data row.
    int questionNumber(int row) const;

    // The header texts and the column widths, in the window's length units.
    static QStringList headers();
    static std::vector<int> columnWidths();

private:
    std::vector<QStringList> m_rows;
};
