#pragma once

#include "foundation/ExamBankWriter.h"
#include "platform/db/Connection.h"

#include <QString>
#include <QTemporaryDir>
#include <optional>
#include <random>

// A question bank for the exam window's builders: an exam database in a
// temporary folder, made from the one table layout, filled with compact
// calls. A missing optional value is stored as Null.
class ExamBankFixture {
public:
    // The simulated exam's directives of a category.
    struct Directives {
        std::optional<int> count;
        std::optional<int> mChoice;
        std::optional<int> essay;
        std::optional<int> fill;
        std::optional<int> interact;
    };
    // None: a row with every flag 0.
    enum class Verdict { Right, Wrong, NoAnswer, None };

    // A generated bank: `categories` categories (codes 1..n, all ticked, each
    // asking for `perCategoryCount` questions with every type limit at that
    // count), `questions` questions spread evenly over them with types 1 to
    // 4 in turn (every fourth question of a category in a ticked chapter),
    // and `progressRows` pass-0 progress rows of `userCode` (one in three
    // wrong), plus as many rows of another user and of pass 1.
    struct Shape {
        int questions = 20000;
        int categories = 100;
        int perCategoryCount = 1;
        int progressRows = 10000;
        int userCode = 7;
        unsigned seed = 1;
    };

    ExamBankFixture();

    db::Connection& conn() { return m_conn; }
    // For rows the compact calls below do not make.
    ExamBankWriter& writer() { return m_writer; }
    QString path() const;
    QString connectionString() const;

    ExamBankFixture& category(int code, const Directives& directives = {}, bool selected = false);
    ExamBankFixture& chapter(int code, int catCode, bool selected = false);
    ExamBankFixture& question(int code, int catCode, std::optional<int> type = 1, int chapterCode = 0);
    // `count` questions with consecutive codes from `firstCode`.
    ExamBankFixture& questions(int firstCode, int count, int catCode, std::optional<int> type = 1, int chapterCode = 0);
    ExamBankFixture& choice(int questCode, int seq, const QString& text, bool right);
    // A question as the exam window shows it: its type, interactive code,
    // text and model answer (category 1, chapter 0, difficulty 1).
    ExamBankFixture& shownQuestion(int code, int type, int interactiveCode, const QString& text,
                                   std::optional<QString> modelAnswer = std::nullopt);
    ExamBankFixture& progress(int userCode, int questCode, Verdict verdict, int pass = 0);

    void generate(const Shape& shape);

    // A small bank for the practice pool, drawn from `random`: categories 1
    // to 4 (each ticked three times in five), two chapters each and a chapter
    // row keyed 0 (each ticked one time in two), and questions 1 to 60 of
    // types 1 to 4, each directly under its category, in one of its chapters
    // or in a chapter that does not exist.
    ExamBankFixture& randomPracticeBank(std::mt19937& random);

private:
    // One question row as the compact calls write it.
    void addQuestion(int code, int catCode, std::optional<int> type, int chapterCode);

    QTemporaryDir m_dir;
    db::Connection m_conn;
    ExamBankWriter m_writer{m_conn};
};
