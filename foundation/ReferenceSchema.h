#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The column lists of the compared tables as the reference database
// DataSkeleton.SKL holds them, read once so that a run over many exam
// databases does not reopen the reference for each. A table (or the whole
// file) that cannot be read keeps its error text instead, raised when the
// check reaches it, exactly where reading the reference itself would fail.
class ReferenceSchema {
public:
    struct Table {
        QString name;
        QStringList columns;
        QString error; // not empty: reading this table failed (names the reference file)
    };

    // Reads programFile("DataSkeleton.SKL").
    static ReferenceSchema load();
    static ReferenceSchema loadFrom(const QString& path);

    // Not empty when the reference could not be opened at all.
    const QString& openError() const { return m_openError; }
    // Why the reference cannot serve a check, naming its file: the open
    // error, else the first table that could not be read; "" when usable.
    QString problem() const;
    const std::vector<Table>& tables() const { return m_tables; }
    // The written tables (schema::writtenTables()); a reference without one
    // gives the program's own layout of it.
    const std::vector<Table>& writtenTables() const { return m_writtenTables; }

private:
    QString m_openError;
    std::vector<Table> m_tables;
    std::vector<Table> m_writtenTables;
};
