#pragma once

#include "notes/NotesBrowser.h"

#include <QAbstractTableModel>
#include <vector>

// The notes browser's grid: one row per listed note, eight columns. The
// first three are shown ("QNo", "Date", "Notes": the note's first line); the
// others hold the note's key, the chosen node's category, chapter and exam
// path, and the whole note, for the editor and the printer.
class NotesGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        colQuestCode = 0,
        colDate = 1,
        colNotes = 2,
        colNoteId = 3,
        colCategory = 4,
        colChapter = 5,
        colPath = 6,
        colWholeNote = 7,
        columnCount_ = 8,
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<notesbrowser::NoteRow> rows);
    const std::vector<notesbrowser::NoteRow>& rows() const { return m_rows; }

    // The text of a cell, as the grid holds it.
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<notesbrowser::NoteRow> m_rows;
};
