#pragma once

#include <QString>

namespace db {
class Connection;
}
class ReferenceSchema;

// Message switch of CompatibleDB.
enum CompatibleMessages : short {
    ShowEveryRefusal = 1,    // the administration window: a missing column is reported too
    ShowColumnCountOnly = 2, // only a differing number of columns is reported
    ShowNoRefusal = 3,       // start-up: the caller lists every refusal, with its reason, in one message
};

// A database holding views or triggers is refused before anything else: an
// exam database holds tables only. So is one whose tables the program reads
// or writes are virtual, or hold generated or hidden columns or indexes on
// expressions. The written tables (Qe_Progress, Qe_LOS) are compared too
// when the database has them.
// Compares the compared tables of an exam database with the reference
// DataSkeleton.SKL column by column, names case-sensitively, and only when
// they match brings the database up to the current layout (the
// learning-objective table and the model-answer column, which an older
// database may lack). True when they match. A refused file is never written. A refusal sets gDiscovery.gInvalidDbFlag;
// a database or reference that cannot be read is logged and refused without the flag and without a message.
bool CompatibleDB(const QString& examDbPath, short messageSwitch);

// The same against a reference read beforehand. When openExam is given and
// the check passes, the exam database's connection is handed over there, so
// that the caller need not open the file again. When refusalReason is given,
// a refusal leaves there why, in words that follow the file's name ("is
// damaged", "holds views or triggers").
bool CompatibleDB(const QString& examDbPath, short messageSwitch, const ReferenceSchema& reference,
                  db::Connection* openExam = nullptr, QString* refusalReason = nullptr);

// A file that passed is remembered by its stamp (device, inode, size,
// modification and change time) together with the reference it passed
// against: while neither changes it passes again without being read. A
// change in any of them checks it whole again.
// Forgets every remembered pass (tests).
void forgetPassedExamFiles();

// Creates the learning-objective table; an existing one is left alone and
// any other failure is logged. Always false, which no caller reads.
bool addTable(db::Connection& connection);
// Adds a model-answer (TEXT) column to a table; as addTable.
bool addField(db::Connection& connection, const QString& table, const QString& column);
