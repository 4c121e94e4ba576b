#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The per-question list of the running exam (`msflex`): a table of texts,
// row 0 an empty header and row i question number i of the exam. Other
// windows read it by row and column number, so the layout is fixed:
enum QuestionListColumn : int {
    colQuestCode = 0,   // question code
    colTypeCode = 1,    // question type 1 to 4
    colUserAnswer = 2,  // the user's answer as checked; " " until then
    colRightAnswer = 3, // the comparison text the answer check recorded
    colCorrect = 4,     // "1" right, "0" otherwise, "" unchecked
    colNoAnswer = 5,    // "1" no answer given, "0" otherwise, "" unchecked
    colMarked = 6,      // "1" marked (simulated exam and pretest)
    colChoiceOrder = 7, // choice-order variant "0" to "3", added last by the builder
};

// A cell read as a number: leading blanks skipped, the leading integer
// taken (stopping at the first other character), 0 when there is none.
int leadingInteger(const QString& text);

class QuestionList {
public:
    // A fresh list: the header row only, seven columns.
    QuestionList();

    // Back to the fresh state.
    void clear();

    int rows() const { return int(m_rows.size()); }
    int cols() const { return m_cols; }
    // Number of questions in the exam (rows less the header).
    int questionCount() const { return rows() - 1; }

    // Cell text; row and column must lie inside the table (std::out_of_range
    // otherwise).
    QString text(int row, int col) const;
    void setText(int row, int col, const QString& value);
    // The cell as a number: leading blanks skipped, the leading integer
    // taken, 0 when there is none.
    int number(int row, int col) const;

    // Appends a row from tab-separated texts, filling the columns from 0;
    // columns beyond the given texts stay empty.
    void addItem(const QString& tabSeparated);
    // Appends a question as the builders do: code, type, " ", "".
    void addQuestion(int questCode, int typeCode);
    // Appends one empty column to every row.
    void addColumn();

    // Question code and choice-order variant of an exam row (1-based).
    int questionCode(int row) const { return number(row, colQuestCode); }
    // The variant in the last column; -1 when the list has no variant column yet.
    int choiceOrder(int row) const;

    // The question codes of rows 1 to the last joined by ",", "" when empty.
    QString GetExamQuestionCodes() const;
    // True when some row holds the code in column 0.
    bool IsQuestionInExam(int questCode) const;

private:
    void checkCell(int row, int col) const;

    std::vector<QStringList> m_rows;
    int m_cols = 0;
};
