#include "exam/QuestionList.h"

#include <stdexcept>

namespace {

constexpr int kStartColumns = 7;

} // namespace

int leadingInteger(const QString& text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    while (i < n && text[i].isDigit() && value < 0x7fffffffLL) {
        value = value * 10 + text[i].digitValue();
        ++i;
    }
    if (value > 0x7fffffffLL)
        value = 0x7fffffffLL;
    return int(negative ? -value : value);
}

QuestionList::QuestionList()
{
    clear();
}

void QuestionList::clear()
{
    m_cols = kStartColumns;
    m_rows.assign(1, QStringList());
    for (int c = 0; c < m_cols; ++c)
        m_rows[0].append(QString());
}

void QuestionList::checkCell(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= m_cols)
        throw std::out_of_range("Subscript out of range");
}

QString QuestionList::text(int row, int col) const
{
    checkCell(row, col);
    return m_rows[size_t(row)][col];
}

void QuestionList::setText(int row, int col, const QString& value)
{
    checkCell(row, col);
    m_rows[size_t(row)][col] = value;
}

int QuestionList::number(int row, int col) const
{
    return leadingInteger(text(row, col));
}

void QuestionList::addItem(const QString& tabSeparated)
{
    QStringList cells = tabSeparated.split(QLatin1Char('\t'));
    while (cells.size() > m_cols)
        cells.removeLast();
    while (cells.size() < m_cols)
        cells.append(QString());
    m_rows.push_back(std::move(cells));
}

void QuestionList::addQuestion(int questCode, int typeCode)
{
    QStringList cells;
    cells.reserve(m_cols);
    cells << QString::number(questCode) << QString::number(typeCode) << QStringLiteral(" ") << QString();
    while (cells.size() < m_cols)
        cells.append(QString());
    m_rows.push_back(std::move(cells));
}

void QuestionList::addColumn()
{
    ++m_cols;
    for (QStringList& row : m_rows)
        row.append(QString());
}

int QuestionList::choiceOrder(int row) const
{
    if (m_cols <= colChoiceOrder)
        return -1;
    return number(row, m_cols - 1);
}

QString QuestionList::GetExamQuestionCodes() const
{
    QStringList codes;
    for (int r = 1; r < rows(); ++r)
        codes << m_rows[size_t(r)][colQuestCode].trimmed();
    return codes.join(QLatin1Char(','));
}

bool QuestionList::IsQuestionInExam(int questCode) const
{
    for (int r = 1; r < rows(); ++r)
        if (number(r, colQuestCode) == questCode)
            return true;
    return false;
}
