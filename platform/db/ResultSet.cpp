#include "platform/db/ResultSet.h"

#include "platform/db/DbError.h"

namespace db {

int findColumn(const QStringList& columns, const QString& name)
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Row::Row(ColumnNames columns, std::vector<QVariant> values) : m_columns(std::move(columns)), m_values(std::move(values))
{
}

const QVariant& Row::value(int index) const
{
    if (index < 0 || index >= int(m_values.size()))
        throw DbError(ErrorClass::Other, 0, QStringLiteral("Field index %1 out of range").arg(index));
    return m_values[size_t(index)];
}

const QVariant& Row::value(const QString& name) const
{
    const int index = findColumn(*m_columns, name);
    if (index < 0)
        throw DbError(ErrorClass::Other, 0, QStringLiteral("Item cannot be found in the collection: %1").arg(name));
    return m_values[size_t(index)];
}

ResultSet::ResultSet(QStringList columns, std::vector<std::vector<QVariant>> rows)
    : m_columns(std::make_shared<const QStringList>(std::move(columns)))
{
    m_rows.reserve(rows.size());
    for (auto& values : rows)
        m_rows.emplace_back(m_columns, std::move(values));
}

QString ResultSet::getString(const QString& columnSeparator, const QString& rowSeparator, const QString& nullText) const
{
    QString out;
    for (const Row& row : m_rows) {
        for (int i = 0; i < row.size(); ++i) {
            if (i > 0)
                out += columnSeparator;
            out += row.isNull(i) ? nullText : row.text(i);
        }
        out += rowSeparator;
    }
    return out;
}

} // namespace db
