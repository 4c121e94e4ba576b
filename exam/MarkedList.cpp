#include "exam/MarkedList.h"

#include "exam/QuestionList.h"

MarkedList::MarkedList()
{
    InitMarkedGrid();
}

void MarkedList::InitMarkedGrid()
{
    m_rows.assign(1, headers());
}

void MarkedList::MarkQuestion(const QString& counterText, int questCode)
{
    UnmarkQuestion(counterText);
    const QString number = QString::number(leadingInteger(counterText));
    m_rows.push_back({number, number, QString::number(questCode)});
}

void MarkedList::UnmarkQuestion(const QString& counterText)
{
    const int number = leadingInteger(counterText);
    for (int row = 1; row < rows(); ++row) {
        if (leadingInteger(m_rows[size_t(row)].value(1)) == number) {
            m_rows.erase(m_rows.begin() + row);
            return;
        }
    }
}

QString MarkedList::text(int row, int col) const
{
    if (row < 0 || row >= rows())
        return QString();
    return m_rows[size_t(row)].value(col);
}

int MarkedList::questionNumber(int row) const
{
    if (row < 1 || row >= rows())
        return 0;
    return leadingInteger(text(row, 1));
}

QStringList MarkedList::headers()
{
    return {QString(), QStringLiteral("Question No"), QStringLiteral("QID ")};
}

std::vector<int> MarkedList::columnWidths()
{
    return {0, 2350, 1500};
}
