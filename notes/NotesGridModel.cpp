#include "notes/NotesGridModel.h"

void NotesGridModel::setRows(std::vector<notesbrowser::NoteRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

QString NotesGridModel::text(int row, int column) const
{
    if (row < 0 || size_t(row) >= m_rows.size())
        return QString();
    const notesbrowser::NoteRow& note = m_rows[size_t(row)];
    switch (column) {
    case colQuestCode:
        return QString::number(note.questCode);
    case colDate:
        return notesbrowser::dateText(note.date);
    case colNotes:
        return note.firstLine;
    case colNoteId:
        return QString::number(note.noteId);
    case colCategory:
        return QString::number(note.category);
    case colChapter:
        return QString::number(note.chapter);
    case colPath:
        return note.path;
    case colWholeNote:
        return note.text;
    default:
        return QString();
    }
}

int NotesGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int NotesGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columnCount_);
}

QVariant NotesGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    // The list shows a note's first line; its tip the whole note.
    if (role == Qt::ToolTipRole && index.column() == colNotes) {
        const QString whole = text(index.row(), colWholeNote);
        if (whole != text(index.row(), colNotes))
            return whole;
    }
    return {};
}

QVariant NotesGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case colQuestCode:
        return QStringLiteral("QNo");
    case colDate:
        return QStringLiteral("Date");
    case colNotes:
        return QStringLiteral("Notes");
    default:
        return QString();
    }
}
