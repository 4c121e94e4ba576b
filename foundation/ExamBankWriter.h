#pragma once

#include "platform/db/Connection.h"

#include <QString>
#include <array>
#include <optional>

// Adds rows to an exam database: the bank (the exam row, categories,
// chapters, questions and their answers, learning objectives, points,
// scenarios, links) and the rows kept per user (progress, user copies). The
// one writer of these rows: the sample and synthetic exams, the test
// fixtures and the benchmarks all write through it. A field left out
// (nullopt) is stored as NULL. Statements are prepared on first use and kept
// while the writer lives, so bulk writes pay for preparing once; the caller
// holds the transaction. Database errors reach the caller (db::DbError).
class ExamBankWriter {
public:
    explicit ExamBankWriter(db::Connection& exam);

    struct ExamRow {
        QString code;
        QString description;
        std::optional<int> validDb{};
        std::optional<int> simulatedMinutes{}, simulatedPassScore{}, simulatedQuestions{};
        std::optional<int> adaptiveMinutes{}, adaptivePassScore{}, adaptiveQuestions{};
        std::optional<QString> productId{}, version{}, comment{};
    };
    void addExam(const ExamRow& row);
    // Sets the simulated exam's question count of every exam row.
    void setSimulatedQuestionCount(int count);

    struct CategoryRow {
        int code = 0;
        QString description;
        bool selected = false;
        // The simulated exam's directives: questions in all, then the limit
        // of each question type.
        std::optional<int> questionCount{}, multipleChoice{}, essay{}, fill{}, interactive{};
    };
    void addCategory(const CategoryRow& row);

    struct ChapterRow {
        int code = 0;
        int category = 0;
        QString description;
        bool selected = false;
    };
    void addChapter(const ChapterRow& row);

    struct QuestionRow {
        int code = 0;
        std::optional<int> category{}, chapter{}, type{}, interactive{};
        std::optional<QString> text{}, explanation{};
        std::optional<int> difficulty{}, isScenario{}, scenarioId{};
        // QQ_CorrectAnswer; a database of the older layout has no such column
        // (a model answer for one is an error).
        std::optional<QString> modelAnswer{};

        // A plain multiple-choice question: type 1, not interactive, no
        // scenario; the other fields NULL until set.
        static QuestionRow multipleChoice(int code);
    };
    void addQuestion(const QuestionRow& row);

    struct ChoiceRow {
        int question = 0;
        int seq = 0;
        QString text;
        bool right = false;
    };
    void addChoice(const ChoiceRow& row);
    // An accepted answer of a fill-in blank or a key idea of an essay.
    void addFillAnswer(int question, const QString& answer);

    // A row of an interactive question's panes.
    struct InteractiveRow {
        int question = 0;
        QString leftItem;
        int leftSeq = 0;
        QString rightItem;
        int rightSeq = 0;
        std::optional<QString> rootText{};
    };
    void addInteractiveRow(const InteractiveRow& row);
    struct InteractiveAnswerRow {
        int question = 0;
        QString leftText;
        int leftSeq = 0;
        QString rightText;
        int nodeSeq = 0;
    };
    void addInteractiveAnswer(const InteractiveAnswerRow& row);

    struct LearningObjectiveRow {
        int question = 0;
        std::optional<int> category = 0;
        std::optional<int> subCategory = 0;
        std::optional<QString> subSubCategory = QString();
        std::optional<QString> subSubSubCategory = QString();
        std::optional<int> status = 0;
    };
    void addLearningObjective(const LearningObjectiveRow& row);

    void addPoint(int number, double value);
    void addScenario(int id, const QString& path);
    struct UserLinkRow {
        int serialNumber = 0;
        int userCode = 0;
        QString caption;
        std::optional<QString> path{};
    };
    void addUserLink(const UserLinkRow& row);

    // A user's answers to one question in one pass; each flag 1 or 0.
    struct ProgressRow {
        int user = 0;
        int question = 0;
        int correct = 0;
        int wrong = 0;
        int noAnswer = 0;
        int pass = 0;
    };
    void addProgress(const ProgressRow& row);

    // The exam database's own copy of a user who has a right to it. Its
    // password is stored empty: no password leaves the system database.
    struct UserCopyRow {
        int userCode = 0;
        QString login, firstName, middleName, lastName, email;
        bool haveRight = false;
    };
    void addUserCopy(const UserCopyRow& row);

    // Statement texts, for benchmarks that step them through the C API as
    // the floor of a measurement.
    static QString addQuestionSql(bool withModelAnswer);
    static QString addChoiceSql();

private:
    enum Kind {
        Exam,
        Category,
        Chapter,
        Question,
        Choice,
        Fill,
        Interactive,
        InteractiveAnswer,
        Objective,
        Point,
        Scenario,
        UserLink,
        Progress,
        UserCopy,
        KindCount
    };
    db::Statement& statement(Kind kind, const QString& sql);
    void run(Kind kind, const QString& sql, const db::Params& params) { statement(kind, sql).exec(params); }

    db::Connection& m_conn;
    std::optional<bool> m_hasModelAnswer{};
    std::array<std::optional<db::Statement>, KindCount> m_statements;
};
