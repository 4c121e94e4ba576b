#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace db {

using ColumnNames = std::shared_ptr<const QStringList>;

// Index of a column by case-insensitive name, -1 when absent.
int findColumn(const QStringList& columns, const QString& name);

// One row of a fully read result. Fields are found by name without regard to
// case (the program's statements spell column names in several ways) or by
// index. A NULL field is an invalid QVariant.
class Row {
public:
    Row(ColumnNames columns, std::vector<QVariant> values);

    const QVariant& value(int index) const;
    const QVariant& value(const QString& name) const;
    bool isNull(const QString& name) const { return value(name).isNull(); }
    bool isNull(int index) const { return value(index).isNull(); }
    // NULL gives "" / 0 / false, as the callers join fields to "" or take Val().
    QString text(const QString& name) const { return value(name).toString(); }
    QString text(int index) const { return value(index).toString(); }
    qint64 integer(const QString& name) const { return value(name).toLongLong(); }
    qint64 integer(int index) const { return value(index).toLongLong(); }
    double real(const QString& name) const { return value(name).toDouble(); }
    bool boolean(const QString& name) const { return value(name).toLongLong() != 0; }
    int size() const { return int(m_values.size()); }

private:
    ColumnNames m_columns;
    std::vector<QVariant> m_values;
};

class ResultSet {
public:
    ResultSet() = default;
    ResultSet(QStringList columns, std::vector<std::vector<QVariant>> rows);

    const QStringList& columns() const { return *m_columns; }
    int columnCount() const { return int(m_columns->size()); }
    int columnIndex(const QString& name) const { return findColumn(*m_columns, name); }

    int recordCount() const { return int(m_rows.size()); }
    bool empty() const { return m_rows.empty(); }
    const Row& operator[](int i) const { return m_rows.at(size_t(i)); }
    const Row& first() const { return m_rows.at(0); }
    std::vector<Row>::const_iterator begin() const { return m_rows.begin(); }
    std::vector<Row>::const_iterator end() const { return m_rows.end(); }

    // The rows as text, fields and rows joined by the given separators
    // (NULL shows as nullText).
    QString getString(const QString& columnSeparator = QStringLiteral("\t"),
                      const QString& rowSeparator = QStringLiteral("\r"), const QString& nullText = QString()) const;

private:
    ColumnNames m_columns = std::make_shared<const QStringList>();
    std::vector<Row> m_rows;
};

} // namespace db
