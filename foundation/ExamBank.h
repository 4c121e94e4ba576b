#pragma once

#include "platform/db/ResultSet.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

namespace db {
class Connection;
}
struct FileStamp;

// A count or code read into an integer the way the program reads them: NULL
// as 0, a fraction rounded half to even.
int wholeNumber(const QVariant& value);
// Qc_RightAns read as the choice's mark: a stored number other than 0.
bool rightMark(const QVariant& value);

// An exam database (.qzr) as the program reads and changes it while it runs:
// the statements on it that more than one part of the program runs, each
// under a name. Values go in as bound parameters; reads come back as row
// structs (or, where a caller keeps a whole recordset, as the result set).
// Works on the caller's connection, so it joins the caller's transaction.
// Database errors reach the caller (db::DbError). Rows are added through
// ExamBankWriter.
class ExamBank {
public:
    explicit ExamBank(db::Connection& exam);

    db::Connection& connection() { return m_conn; }

    // ---- the exam row (Qe_Exam): its first row ----
    struct ExamIdentity {
        QVariant code;        // Qe_ExamCode, as stored
        QVariant description; // Qe_Exam_Desc, as stored, a text cut to kLongestDescription characters
        QVariant validDb;     // Qe_ValidDB, as stored
        // NULL counts as valid: only a stored 0 marks the database unusable.
        bool isValid() const { return validDb.isNull() || validDb.toLongLong() != 0; }
    };
    // A description is one line in lists and is copied into the system
    // database: a longer one from a stranger's file is cut here.
    static constexpr int kLongestDescription = 255;
    std::optional<ExamIdentity> examIdentity();

    // The simulated exam's limits (NULL reads 0).
    struct SimulatedLimits {
        int minutes = 0;
        int passScore = 0;
        int questions = 0;
    };
    std::optional<SimulatedLimits> simulatedLimits();

    // ---- categories and chapters ----
    // Every column of every category, by code; only the ticked ones when
    // selectedOnly.
    db::ResultSet categoryRows(bool selectedOnly);
    // The number of categories, which the pretest's share and total both
    // come from.
    int categoryCount();
    // Ticks every category / every chapter.
    void selectAllCategories();
    void selectAllChapters();

    // ---- questions ----
    // What the exam window shows of a question (NULL reads "" / 0).
    struct QuestionHead {
        QString text;
        int type = 0;
        int interactiveCode = 0;
        bool isScenario = false; // Qq_IsScenario <> 0
        int scenarioId = 0;
        int difficulty = 0;
        QString explanation;
        QString modelAnswer; // QQ_CorrectAnswer; "" where the layout has none
    };
    std::optional<QuestionHead> questionHead(int questCode);
    // The category of a question; 0 when its chapter code is NULL or the code
    // is unknown.
    int chapterQuestionCategory(int questCode);

    // A question of a pool, its numbers read with wholeNumber.
    struct PoolQuestion {
        int code = 0;
        int type = 0;
        int difficulty = 0;
        int category = 0;
        bool categoryIsNull = false;
    };
    // The random builders' pool of one category (the code as the category
    // row holds it), by question code.
    std::vector<PoolQuestion> categoryPool(const QVariant& categoryCode);
    // The same pool as codes only, read from the category index: each
    // row's key and its question code, by code. The codes of the file last
    // read are kept while the file stays as it was (its stamp, see
    // FileStamp), so a second exam on the same bank reads none of them.
    struct PoolCode {
        qint64 row = 0;
        int code = 0;
    };
    using PoolCodes = std::shared_ptr<const std::vector<PoolCode>>;
    PoolCodes categoryPoolCodes(const QVariant& categoryCode);
    // The program's own committed write that changed no question took the
    // file from one stamp to the other: the codes and the count kept for the
    // first stay good for the second.
    static void questionsUnchangedAcross(const FileStamp& before, const FileStamp& after);
    // Forgets the kept codes and count (tests).
    static void forgetPoolCodes();
    // The pool row of a key categoryPoolCodes gave; nullopt when it is gone.
    std::optional<PoolQuestion> poolQuestion(qint64 row);
    // The practice pool: the questions directly under a ticked category
    // (chapter 0) and those in a ticked chapter, read place by place: a place
    // is one chapter code with one stored category value, so its questions
    // come from the place index in code order. Values are as stored.
    struct PracticePlace {
        QVariant chapter;
        QVariant category; // NULL for questions without a category
    };
    // Every place of the pool that holds a question: one seek per place.
    std::vector<PracticePlace> practicePlaces();
    // A question of a place with its code as stored, to read on after it.
    struct PlaceQuestion {
        PoolQuestion question;
        QVariant storedCode;
    };
    // Up to `limit` questions of a place in code order, from the first when
    // `after` is NULL, else after that stored code.
    std::vector<PlaceQuestion> placeQuestions(const PracticePlace& place, const QVariant& after, int limit);
    // The pool's rows of the questions with a current-pass progress row of
    // the user.
    std::vector<PoolQuestion> practicePoolSeenBy(int userCode);
    // False when Qq_QuestCode is the question table's integer key, so no two
    // rows share a code; a file from elsewhere may lack that key.
    bool questionCodesCanRepeat();
    // The pool's rows whose code stands on more than one question row (a
    // read of the whole table: only for a file whose codes can repeat).
    std::vector<PoolQuestion> practicePoolRepeatedCodes();
    // The number of rows of the pool, a question counted once per ticked row
    // that admits it, from index entries alone.
    int practicePoolCount();
    // Whether the pool holds at least `count` rows, read no further than
    // that many index entries.
    bool practicePoolHolds(int count);

    // ---- answers ----
    // The answer rows of a question come back in the order they were stored
    // (rowid), the same for the page that lays them out and the check that
    // judges them.

    // A multiple-choice choice; `right` is Qc_RightAns <> 0 (NULL is not right).
    struct Choice {
        int seq = 0;
        QString text;
        bool right = false;
    };
    // Every choice of a question, by sequence number (then storage order).
    // Qc_RightAns marks a right choice when it holds a number other than 0;
    // 0 and NULL mark a wrong one.
    std::vector<Choice> choices(int questCode);
    // The first question whose choices the page cannot tell apart (two that
    // share Qc_Choice_Seq, one right and one wrong) or whose Qc_RightAns
    // holds a text instead of a number.
    struct ChoiceKeyFault {
        int questCode = 0;
        int seq = 0;
        bool markNotNumber = false; // else: a shared sequence number
    };
    std::optional<ChoiceKeyFault> choiceKeyFault();
    // The accepted texts of a fill-in question (one per blank) or the key
    // words of an essay (one per row): Qd_Desc_Answer, NULL read "".
    std::vector<QString> fillAnswers(int questCode);
    // The items of an interactive question (Qe_AnswerInteractive).
    struct InteractiveItem {
        QString leftItem;  // Qi_LeftPane_Item
        int leftSeq = 0;   // Qi_LeftPane_Seq
        QString rightItem; // Qi_RightPane_Item
        QString rootText;  // Qi_RootText
        int rightSeq = 0;  // Qi_RightPane_Seq
    };
    std::vector<InteractiveItem> interactiveItems(int questCode);
    // The right answer of an interactive question (Qe_InteractiveRightAnswer).
    struct InteractiveAnswer {
        QString leftText;  // Qa_LeftText: a leaf of a tree
        int leftSeq = 0;   // Qa_LeftPane_Seq
        QString rightText; // Qa_RightTEXT: a place or list entry
        int nodeSeq = 0;   // Qa_ans_node_Seq: the tree node the leaf belongs under
    };
    std::vector<InteractiveAnswer> interactiveAnswers(int questCode);
    // The points of a difficulty (Qe_Points), 0 without a row.
    int pointsOfDifficulty(int difficulty);
    // The scenario page of a scenario id, relative to the "Scenario" folder
    // beside the exam database; nullopt without a row.
    std::optional<QString> scenarioPath(int scenarioId);

    // ---- progress (Qe_Progress) ----
    // Which verdicts one progress row carries (a flag counts when it is 1).
    struct ProgressMarks {
        int question = 0;
        bool wrong = false;
        bool noAnswer = false;
        bool right = false;
    };
    // The user's rows of the current pass (pass 0); rows without a question
    // code are left out.
    std::vector<ProgressMarks> currentPassProgress(int userCode);

    // ---- user copies (Qe_User) ----
    bool hasUserCopy(int userCode);
    // Sets a copy's right and the fields that are given; the others keep what
    // they hold. The password is emptied: no password leaves the system
    // database, and a copy written by an older version loses its own. Rows
    // are added with ExamBankWriter::addUserCopy.
    struct UserCopyChange {
        bool haveRight = false;
        std::optional<QString> firstName{}, login{}, middleName{}, lastName{}, email{};
    };
    void updateUserCopy(int userCode, const UserCopyChange& change);

    // ---- the main window: its load, its tree and its start command ----
    // Questions in the bank; kept as the pool codes are.
    int questionCount();
    // The adaptive exam's limits (NULL reads 0).
    std::optional<SimulatedLimits> adaptiveLimits();
    // Qe_ProductId and Qe_Version_No of the exam row, as text.
    struct ProductInfo {
        QString productId;
        QString version;
    };
    std::optional<ProductInfo> productInfo();
    // Rows of Qe_LOS; 0 when the table is missing.
    int learningObjectiveCount();
    // The categories in stored order, each with its chapters in stored order
    // (a chapter belongs to the category whose code its Qc_catcode holds).
    struct TreeChapter {
        int code = 0;
        QString description;
    };
    struct TreeCategory {
        int code = 0;
        QString description;
        std::vector<TreeChapter> chapters;
    };
    std::vector<TreeCategory> categoryTree();
    // The number of questions per category and chapter code pair; chapter 0
    // holds a category's own questions. Pairs with a NULL code are left out
    // (such questions belong to no node); a NULL category with a chapter
    // code is kept with category 0, since a chapter counts its questions
    // whatever their category.
    struct PlaceCount {
        int category = 0;
        int chapter = 0;
        int questions = 0;
    };
    std::vector<PlaceCount> questionCountsByPlace();
    // The number of questions of every category row, a category without
    // questions included (as 0), by code.
    std::vector<int> questionCountsOfEveryCategory();
    // The number of category rows holding fewer than `questions` questions
    // (counted as questionCountsOfEveryCategory counts them). Reads at most
    // that many questions of each category.
    int categoriesHoldingFewer(int questions);
    // The practice pool's ticks, written in the caller's transaction.
    void setCategorySelected(int code, bool selected);
    void setChapterSelected(int code, bool selected);
    static QString questionCountsByPlaceSql();
    static QString questionCountSql();

    // ---- statement texts, for benchmarks that step them through the C API
    // as the floor of a measurement ----
    static QString categoryRowsSql(bool selectedOnly);
    static QString categoryCountSql();
    static QString categoryPoolSql(); // bound: the category code
    static QString categoryPoolCodesSql(); // bound: the category code
    static QString poolQuestionSql();      // bound: the row's key
    static QString practicePoolCountSql();
    static QString practicePoolSeenBySql(); // bound: the user code
    static QString currentPassProgressSql(); // bound: the user code

private:
    // A place's questions in code order: bound the chapter, the category
    // unless it is NULL, the code read on from when there is one, the limit.
    static QString placeQuestionsSql(bool categoryIsNull, bool readOn);

    db::Connection& m_conn;
};
