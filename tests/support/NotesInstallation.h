#pragma once

#include "platform/db/Connection.h"
#include "tests/support/ExamDbFixture.h"

#include <QDate>
#include <QString>

class TempHome;

// An installation for the notes browser: the system database with the
// administrator and three users, two attached exam databases (the second in
// a folder and a file whose names hold "-") and a third attached exam whose
// file is missing. Each exam has its categories, chapters and questions;
// notes are added per case.
//
// Exam One (EX1): category 1 "Routing" with chapters 10 "Static" and 11
// "Dynamic", category 2 "Switching" without chapters; questions 101 (category
// 1, chapter 0), 102 (chapter 10), 103 (chapter 11) and 201 (category 2).
// Net-Plus (EX2): category 1 "Cabling" with chapter 10 "Copper"; questions
// 101 (chapter 0) and 102 (chapter 10): the same codes as Exam One's.
class NotesInstallation {
public:
    explicit NotesInstallation(const TempHome& home);

    int admin = 0;
    int alice = 0;
    int bob = 0;
    int carol = 0;
    QString onePath;
    QString twoPath;
    QString missingPath;

    db::Connection& one() { return m_one; }
    db::Connection& two() { return m_two; }

    // Adds a note; returns its Qn_NoteID.
    qint64 note(db::Connection& exam, int user, int questCode, const QString& text,
                const QDate& day = QDate(2024, 3, 1));

    // The shared state of a login to Exam One (or to the exam given).
    void logInAs(const QString& login, int userCode);
    void logInAs(const QString& login, int userCode, const QString& examPath, const QString& examCode,
                 const QString& examName);

private:
    ExamDbFixture m_install;
    db::Connection m_one;
    db::Connection m_two;
};
