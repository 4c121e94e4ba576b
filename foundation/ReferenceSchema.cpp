#include "foundation/ReferenceSchema.h"

#include "foundation/ProgramFolder.h"
#include "foundation/Schema.h"
#include "platform/db/Connection.h"

#include <exception>
#include <optional>

ReferenceSchema ReferenceSchema::load()
{
    return loadFrom(programFile(QStringLiteral("DataSkeleton.SKL")));
}

ReferenceSchema ReferenceSchema::loadFrom(const QString& path)
{
    ReferenceSchema reference;
    db::Connection connection;
    try {
        connection = db::Connection::openFile(path);
    } catch (const std::exception& error) {
        reference.m_openError = QString::fromStdString(error.what());
        return reference;
    }
    for (const QString& table : schema::comparedTables()) {
        Table entry{table, {}, {}};
        try {
            entry.columns = connection.tableColumns(table);
        } catch (const std::exception& error) {
            // Named, so that the log of a check that stops here blames the
            // reference and not the exam database being checked.
            entry.error = path + QStringLiteral(": ") + QString::fromStdString(error.what());
        }
        reference.m_tables.push_back(std::move(entry));
    }
    std::optional<db::Connection> ownLayout;
    for (const QString& table : schema::writtenTables()) {
        Table entry{table, {}, {}};
        try {
            if (connection.hasTable(table)) {
                entry.columns = connection.tableColumns(table);
            } else {
                if (!ownLayout) {
                    ownLayout.emplace(db::Connection::create(QStringLiteral(":memory:")));
                    schema::createExamDatabase(*ownLayout);
                }
                entry.columns = ownLayout->tableColumns(table);
            }
        } catch (const std::exception& error) {
            entry.error = path + QStringLiteral(": ") + QString::fromStdString(error.what());
        }
        reference.m_writtenTables.push_back(std::move(entry));
    }
    return reference;
}

QString ReferenceSchema::problem() const
{
    if (!m_openError.isEmpty())
        return m_openError;
    for (const Table& table : m_tables)
        if (!table.error.isEmpty())
            return table.error;
    for (const Table& table : m_writtenTables)
        if (!table.error.isEmpty())
            return table.error;
    return {};
}
