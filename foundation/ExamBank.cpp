#include "foundation/ExamBank.h"

#include "foundation/FileStamp.h"
#include "platform/db/Connection.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

int wholeNumber(const QVariant& value)
{
    if (value.isNull())
        return 0;
    const double d = value.toDouble();
    if (!std::isfinite(d))
        return 0;
    return int(std::clamp(std::nearbyint(d), -2147483648.0, 2147483647.0));
}

ExamBank::ExamBank(db::Connection& exam) : m_conn(exam)
{
}

// ---- statement texts ----

QString ExamBank::categoryRowsSql(bool selectedOnly)
{
    return selectedOnly ? QStringLiteral("SELECT * FROM Qe_Category WHERE Qc_Selected = 1 ORDER BY Qc_catcode")
                        : QStringLiteral("SELECT * FROM Qe_Category ORDER BY Qc_catcode");
}

QString ExamBank::categoryCountSql()
{
    return QStringLiteral("SELECT count(*) FROM Qe_Category");
}

QString ExamBank::categoryPoolSql()
{
    return QStringLiteral("SELECT Qq_QuestCode, Qq_TypeCode, Qq_Difficulty, Qq_CatCode FROM Qe_QuestionsHead "
                          "WHERE Qq_CatCode = ? ORDER BY Qq_QuestCode");
}

QString ExamBank::categoryPoolCodesSql()
{
    return QStringLiteral("SELECT rowid, Qq_QuestCode FROM Qe_QuestionsHead WHERE Qq_CatCode = ? "
                          "ORDER BY Qq_QuestCode");
}

QString ExamBank::poolQuestionSql()
{
    return QStringLiteral("SELECT Qq_QuestCode, Qq_TypeCode, Qq_Difficulty, Qq_CatCode FROM Qe_QuestionsHead "
                          "WHERE rowid = ?");
}

namespace {

// Whether a question row belongs to the practice pool: directly under a
// ticked category, or in a ticked chapter.
const char* const kInPracticePool =
    "((a.Qq_ChapterCode = 0 AND EXISTS (SELECT 1 FROM Qe_Category b "
    "WHERE b.Qc_catcode = a.Qq_CatCode AND b.Qc_Selected = 1)) "
    "OR (a.Qq_ChapterCode <> 0 AND EXISTS (SELECT 1 FROM Qe_Chapters b "
    "WHERE b.Qc_ChapterCode = a.Qq_ChapterCode AND b.Qc_Selected = 1)))";

} // namespace

namespace {

// The pool's two parts, each driven by the ticked rows so that it reads a
// range of the place index: a ticked category's chapter 0, and the ticked
// chapters.
const char* const kPoolByCategory = "SELECT 1 FROM Qe_Category b CROSS JOIN Qe_QuestionsHead a "
                                    "WHERE b.Qc_Selected = 1 AND a.Qq_ChapterCode = 0 AND a.Qq_CatCode = b.Qc_catcode";
const char* const kPoolByChapter = "SELECT 1 FROM Qe_Chapters b CROSS JOIN Qe_QuestionsHead a "
                                   "WHERE b.Qc_Selected = 1 AND a.Qq_ChapterCode = b.Qc_ChapterCode "
                                   "AND a.Qq_ChapterCode <> 0";

// The count of both parts, each read no further than `limit` rows when given.
QString poolPartsCountSql(const QString& limit)
{
    return QStringLiteral("SELECT (SELECT count(*) FROM (%1%3)) + (SELECT count(*) FROM (%2%3))")
        .arg(QLatin1String(kPoolByCategory), QLatin1String(kPoolByChapter), limit);
}

} // namespace

QString ExamBank::practicePoolCountSql()
{
    return poolPartsCountSql({});
}

QString ExamBank::placeQuestionsSql(bool categoryIsNull, bool readOn)
{
    return QStringLiteral("SELECT Qq_QuestCode, Qq_TypeCode, Qq_CatCode FROM Qe_QuestionsHead "
                          "WHERE Qq_ChapterCode = ? AND %1%2 ORDER BY Qq_QuestCode LIMIT ?")
        .arg(categoryIsNull ? QStringLiteral("Qq_CatCode IS NULL") : QStringLiteral("Qq_CatCode = ?"),
             readOn ? QStringLiteral(" AND Qq_QuestCode > ?") : QString());
}

QString ExamBank::currentPassProgressSql()
{
    return QStringLiteral("SELECT QuestionID, Wrong, NoAns, Correct FROM Qe_Progress WHERE userid = ? AND pass = 0");
}

// ---- the exam row ----

std::optional<ExamBank::ExamIdentity> ExamBank::examIdentity()
{
    const db::ResultSet rows = m_conn.query(
        QStringLiteral("SELECT Qe_ExamCode, Qe_Exam_Desc, Qe_ValidDB FROM Qe_Exam ORDER BY rowid LIMIT 1"));
    if (rows.empty())
        return std::nullopt;
    const db::Row& row = rows.first();
    QVariant description = row.value(1);
    if (description.typeId() == QMetaType::QString) {
        QString text = description.toString();
        if (text.size() > kLongestDescription) {
            int keep = kLongestDescription;
            if (text.at(keep - 1).isHighSurrogate())
                --keep;
            text.truncate(keep);
            description = text;
        }
    }
    return ExamIdentity{row.value(0), description, row.value(2)};
}

std::optional<ExamBank::SimulatedLimits> ExamBank::simulatedLimits()
{
    const db::ResultSet rows = m_conn.query(QStringLiteral(
        "SELECT Qe_Simulated_Time, Qe_Simulated_PassScore, Qe_Simulated_NoofQuest FROM Qe_Exam ORDER BY rowid"));
    if (rows.empty())
        return std::nullopt;
    const db::Row& row = rows.first();
    // Read as the numbers they are: a limit wider than 32 bits reads as the
    // largest, never as the low bits of itself.
    return SimulatedLimits{wholeNumber(row.value(0)), wholeNumber(row.value(1)), wholeNumber(row.value(2))};
}

// ---- categories and chapters ----

db::ResultSet ExamBank::categoryRows(bool selectedOnly)
{
    return m_conn.query(categoryRowsSql(selectedOnly));
}

int ExamBank::categoryCount()
{
    return m_conn.scalar(categoryCountSql()).toInt();
}

void ExamBank::selectAllCategories()
{
    m_conn.exec(QStringLiteral("UPDATE Qe_Category SET Qc_Selected = 1"));
}

void ExamBank::selectAllChapters()
{
    m_conn.exec(QStringLiteral("UPDATE Qe_Chapters SET Qc_Selected = 1"));
}

// ---- questions ----

std::optional<ExamBank::QuestionHead> ExamBank::questionHead(int questCode)
{
    // Every column, so that a layout without the model-answer column reads
    // it as "".
    const db::ResultSet rows
        = m_conn.query(QStringLiteral("SELECT * FROM Qe_QuestionsHead WHERE Qq_QuestCode = ?"), {questCode});
    if (rows.empty())
        return std::nullopt;
    const db::Row& row = rows.first();
    QuestionHead head;
    head.text = row.text(QStringLiteral("Qq_Quest_Desc"));
    head.type = wholeNumber(row.value(QStringLiteral("Qq_TypeCode")));
    head.interactiveCode = wholeNumber(row.value(QStringLiteral("Qq_InteractiveCode")));
    head.isScenario = row.boolean(QStringLiteral("Qq_IsScenario"));
    head.scenarioId = wholeNumber(row.value(QStringLiteral("Qq_ScenarioId")));
    head.difficulty = wholeNumber(row.value(QStringLiteral("Qq_Difficulty")));
    head.explanation = row.text(QStringLiteral("Qq_Explanation"));
    if (rows.columnIndex(QStringLiteral("QQ_CorrectAnswer")) >= 0)
        head.modelAnswer = row.text(QStringLiteral("QQ_CorrectAnswer"));
    return head;
}

std::vector<ExamBank::Choice> ExamBank::choices(int questCode)
{
    const db::ResultSet rows = m_conn.query(
        QStringLiteral("SELECT Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns FROM Qe_AnswerChoice WHERE Qc_QuestCode = ? "
                       "ORDER BY Qc_Choice_Seq, rowid"),
        {questCode});
    std::vector<Choice> choices;
    for (const db::Row& row : rows)
        choices.push_back({wholeNumber(row.value(0)), row.text(1), rightMark(row.value(2))});
    return choices;
}

std::optional<ExamBank::ChoiceKeyFault> ExamBank::choiceKeyFault()
{
    const db::ResultSet texts = m_conn.query(
        QStringLiteral("SELECT Qc_QuestCode, Qc_Choice_Seq FROM Qe_AnswerChoice "
                       "WHERE typeof(Qc_RightAns) IN ('text', 'blob') ORDER BY Qc_QuestCode, rowid LIMIT 1"));
    if (!texts.empty())
        return ChoiceKeyFault{wholeNumber(texts.first().value(0)), wholeNumber(texts.first().value(1)), true};
    const db::ResultSet shared = m_conn.query(QStringLiteral(
        "SELECT Qc_QuestCode, Qc_Choice_Seq FROM Qe_AnswerChoice GROUP BY Qc_QuestCode, Qc_Choice_Seq "
        "HAVING min(coalesce(Qc_RightAns, 0) <> 0) <> max(coalesce(Qc_RightAns, 0) <> 0) "
        "ORDER BY Qc_QuestCode, Qc_Choice_Seq LIMIT 1"));
    if (!shared.empty())
        return ChoiceKeyFault{wholeNumber(shared.first().value(0)), wholeNumber(shared.first().value(1)), false};
    return std::nullopt;
}

std::vector<QString> ExamBank::fillAnswers(int questCode)
{
    const db::ResultSet rows = m_conn.query(
        QStringLiteral("SELECT Qd_Desc_Answer FROM Qe_AnswerFill_Essay WHERE Qd_QuestCode = ? ORDER BY rowid"),
        {questCode});
    std::vector<QString> answers;
    for (const db::Row& row : rows)
        answers.push_back(row.text(0));
    return answers;
}

std::vector<ExamBank::InteractiveItem> ExamBank::interactiveItems(int questCode)
{
    const db::ResultSet rows
        = m_conn.query(QStringLiteral("SELECT Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item, Qi_RootText, "
                                      "Qi_RightPane_Seq FROM Qe_AnswerInteractive "
                                      "WHERE Qi_QuestCode = ? ORDER BY rowid"),
                       {questCode});
    std::vector<InteractiveItem> items;
    for (const db::Row& row : rows)
        items.push_back({row.text(0), wholeNumber(row.value(1)), row.text(2), row.text(3), wholeNumber(row.value(4))});
    return items;
}

std::vector<ExamBank::InteractiveAnswer> ExamBank::interactiveAnswers(int questCode)
{
    const db::ResultSet rows
        = m_conn.query(QStringLiteral("SELECT Qa_LeftText, Qa_LeftPane_Seq, Qa_RightTEXT, Qa_ans_node_Seq "
                                      "FROM Qe_InteractiveRightAnswer WHERE Qa_QuestCode = ? ORDER BY rowid"),
                       {questCode});
    std::vector<InteractiveAnswer> answers;
    for (const db::Row& row : rows)
        answers.push_back({row.text(0), wholeNumber(row.value(1)), row.text(2), wholeNumber(row.value(3))});
    return answers;
}

int ExamBank::pointsOfDifficulty(int difficulty)
{
    const QVariant points = m_conn.scalar(
        QStringLiteral("SELECT qp_pointValue FROM Qe_Points WHERE Qp_pointNumber = ? ORDER BY rowid"), {difficulty});
    return points.isValid() ? wholeNumber(points) : 0;
}

std::optional<QString> ExamBank::scenarioPath(int scenarioId)
{
    const db::ResultSet rows = m_conn.query(
        QStringLiteral("SELECT Qs_ScenarioPath FROM Qe_ScenarioContent WHERE Qs_ScenarioId = ? ORDER BY rowid"),
        {scenarioId});
    if (rows.empty())
        return std::nullopt;
    return rows.first().text(0);
}

int ExamBank::chapterQuestionCategory(int questCode)
{
    return m_conn
        .scalar(QStringLiteral("SELECT CASE WHEN Qq_ChapterCode IS NULL THEN 0 ELSE Qq_CatCode END "
                               "FROM Qe_QuestionsHead WHERE Qq_QuestCode = ?"),
                {questCode})
        .toInt();
}

std::vector<ExamBank::PoolQuestion> ExamBank::categoryPool(const QVariant& categoryCode)
{
    const db::ResultSet rows = m_conn.query(categoryPoolSql(), {categoryCode});
    std::vector<PoolQuestion> pool;
    pool.reserve(size_t(rows.recordCount()));
    for (const db::Row& row : rows)
        pool.push_back({wholeNumber(row.value(0)), wholeNumber(row.value(1)), wholeNumber(row.value(2)),
                        wholeNumber(row.value(3)), row.isNull(3)});
    return pool;
}

namespace {

// What was read of the questions of the one file read last: the pool codes
// per category and the count of the bank, with the file's stamp when they
// were read.
struct KeptQuestionReads {
    std::optional<FileStamp> stamp;
    std::vector<std::pair<QVariant, ExamBank::PoolCodes>> categories;
    std::optional<int> questionCount;
};

KeptQuestionReads& keptQuestionReads()
{
    static KeptQuestionReads kept;
    return kept;
}

// The reads kept for the file at this stamp: those of any other are dropped.
KeptQuestionReads& keptAt(const FileStamp& stamp)
{
    KeptQuestionReads& kept = keptQuestionReads();
    if (kept.stamp != stamp)
        kept = KeptQuestionReads{stamp, {}, std::nullopt};
    return kept;
}

// The file as it stands, when codes read from it may be kept: not in a
// transaction of this connection (its changes are not in the file yet), not
// a write-ahead-log file (whose changes leave the file itself as it was),
// and not changed within the file system's last clock step (a change in the
// same step could leave the stamp as it was).
std::optional<FileStamp> keepableStamp(db::Connection& exam)
{
    if (exam.inTransaction())
        return std::nullopt;
    std::optional<FileStamp> stamp = databaseFileStampOf(exam);
    if (!stamp || !stamp->settled())
        return std::nullopt;
    return stamp;
}

} // namespace

ExamBank::PoolCodes ExamBank::categoryPoolCodes(const QVariant& categoryCode)
{
    const KeptQuestionReads& kept = keptQuestionReads();
    const std::optional<FileStamp> before = keepableStamp(m_conn);
    if (before && kept.stamp == before) {
        for (const auto& [category, codes] : kept.categories)
            if (category == categoryCode && category.typeId() == categoryCode.typeId())
                return codes;
    }
    auto codes = std::make_shared<std::vector<PoolCode>>();
    const QString path = m_conn.path();
    m_conn.forEachRow(categoryPoolCodesSql(), {categoryCode}, [&codes, &path](const db::RowReader& row) {
        if (!row.isInteger(1)) {
            codes->push_back({row.integer(0), wholeNumber(row.value(1))});
            return;
        }
        // A code the program cannot hold as stored refuses the draw by name
        // (the compatibility check refuses such a file before any draw).
        const qint64 stored = row.integer(1);
        if (stored < std::numeric_limits<int>::min() || stored > std::numeric_limits<int>::max())
            throw std::range_error(
                QStringLiteral("The questions of the exam could not be drawn.\r\nThe exam database %1 holds %2 in "
                               "column Qq_QuestCode of table Qe_QuestionsHead, beyond the numbers the program can "
                               "use.")
                    .arg(path)
                    .arg(stored)
                    .toStdString());
        codes->push_back({row.integer(0), int(stored)});
    });
    if (before && fileStampOf(m_conn.path()) == before)
        keptAt(*before).categories.emplace_back(categoryCode, codes);
    return codes;
}

void ExamBank::questionsUnchangedAcross(const FileStamp& before, const FileStamp& after)
{
    KeptQuestionReads& kept = keptQuestionReads();
    if (kept.stamp == before)
        kept.stamp = after;
}

void ExamBank::forgetPoolCodes()
{
    keptQuestionReads() = {};
}

std::optional<ExamBank::PoolQuestion> ExamBank::poolQuestion(qint64 row)
{
    const db::ResultSet rows = m_conn.query(poolQuestionSql(), {row});
    if (rows.empty())
        return std::nullopt;
    const db::Row& found = rows.first();
    return PoolQuestion{wholeNumber(found.value(0)), wholeNumber(found.value(1)), wholeNumber(found.value(2)),
                        wholeNumber(found.value(3)), found.isNull(3)};
}

std::vector<ExamBank::PracticePlace> ExamBank::practicePlaces()
{
    std::vector<PracticePlace> places;
    for (const db::Row& row : m_conn.query(QStringLiteral(
             "SELECT DISTINCT Qc_catcode FROM Qe_Category WHERE Qc_Selected = 1 AND Qc_catcode IS NOT NULL "
             "ORDER BY Qc_catcode")))
        places.push_back({QVariant(0), row.value(0)});
    // A chapter's questions may carry any category: its stored category
    // values are walked in the index, one seek each.
    const db::ResultSet chapters = m_conn.query(
        QStringLiteral("SELECT DISTINCT Qc_ChapterCode FROM Qe_Chapters WHERE Qc_Selected = 1 AND Qc_ChapterCode <> 0 "
                       "ORDER BY Qc_ChapterCode"));
    for (const db::Row& chapter : chapters) {
        const QVariant code = chapter.value(0);
        if (m_conn
                .scalar(QStringLiteral("SELECT 1 FROM Qe_QuestionsHead WHERE Qq_ChapterCode = ? AND Qq_CatCode IS NULL "
                                       "LIMIT 1"),
                        {code})
                .isValid())
            places.push_back({code, QVariant()});
        QVariant category = m_conn.scalar(
            QStringLiteral("SELECT Qq_CatCode FROM Qe_QuestionsHead WHERE Qq_ChapterCode = ? AND Qq_CatCode IS NOT NULL "
                           "ORDER BY Qq_CatCode LIMIT 1"),
            {code});
        while (!category.isNull()) {
            places.push_back({code, category});
            category = m_conn.scalar(
                QStringLiteral("SELECT Qq_CatCode FROM Qe_QuestionsHead WHERE Qq_ChapterCode = ? AND Qq_CatCode > ? "
                               "ORDER BY Qq_CatCode LIMIT 1"),
                {code, category});
        }
    }
    return places;
}

std::vector<ExamBank::PlaceQuestion> ExamBank::placeQuestions(const PracticePlace& place, const QVariant& after,
                                                              int limit)
{
    db::Params params{place.chapter};
    if (!place.category.isNull())
        params.push_back(place.category);
    if (!after.isNull())
        params.push_back(after);
    params.push_back(limit);
    const db::ResultSet rows = m_conn.query(placeQuestionsSql(place.category.isNull(), !after.isNull()), params);
    std::vector<PlaceQuestion> questions;
    questions.reserve(size_t(rows.recordCount()));
    for (const db::Row& row : rows)
        questions.push_back(
            {{wholeNumber(row.value(0)), wholeNumber(row.value(1)), 0, wholeNumber(row.value(2)), row.isNull(2)},
             row.value(0)});
    return questions;
}

namespace {

std::vector<ExamBank::PoolQuestion> poolRows(const db::ResultSet& rows)
{
    std::vector<ExamBank::PoolQuestion> pool;
    pool.reserve(size_t(rows.recordCount()));
    for (const db::Row& row : rows)
        pool.push_back(
            {wholeNumber(row.value(0)), wholeNumber(row.value(1)), 0, wholeNumber(row.value(2)), row.isNull(2)});
    return pool;
}

} // namespace

QString ExamBank::practicePoolSeenBySql()
{
    return QStringLiteral("SELECT a.Qq_QuestCode, a.Qq_TypeCode, a.Qq_CatCode FROM Qe_QuestionsHead a "
                          "WHERE a.Qq_QuestCode IN (SELECT QuestionID FROM Qe_Progress WHERE userid = ? AND pass = 0) "
                          "AND ")
        + QLatin1String(kInPracticePool);
}

std::vector<ExamBank::PoolQuestion> ExamBank::practicePoolSeenBy(int userCode)
{
    return poolRows(m_conn.query(practicePoolSeenBySql(), {userCode}));
}

bool ExamBank::questionCodesCanRepeat()
{
    // The sole primary key declared INTEGER is the row's key itself.
    return m_conn
               .scalar(QStringLiteral("SELECT count(*) = 1 AND sum(name = 'Qq_QuestCode' COLLATE NOCASE "
                                      "AND upper(type) = 'INTEGER') = 1 "
                                      "FROM pragma_table_info('Qe_QuestionsHead') WHERE pk > 0"))
               .toLongLong()
        == 0;
}

std::vector<ExamBank::PoolQuestion> ExamBank::practicePoolRepeatedCodes()
{
    return poolRows(m_conn.query(
        QStringLiteral("SELECT a.Qq_QuestCode, a.Qq_TypeCode, a.Qq_CatCode FROM Qe_QuestionsHead a "
                       "WHERE a.Qq_QuestCode IN (SELECT Qq_QuestCode FROM Qe_QuestionsHead "
                       "GROUP BY Qq_QuestCode HAVING count(*) > 1) AND ")
        + QLatin1String(kInPracticePool)));
}

int ExamBank::practicePoolCount()
{
    return wholeNumber(m_conn.scalar(practicePoolCountSql()));
}

bool ExamBank::practicePoolHolds(int count)
{
    if (count <= 0)
        return true;
    // Each part counted up to `count`: their sum reaches it exactly when the
    // whole pool does.
    const QVariant held = m_conn.scalar(poolPartsCountSql(QStringLiteral(" LIMIT ?")), {count, count});
    return held.toLongLong() >= count;
}

// ---- progress ----

std::vector<ExamBank::ProgressMarks> ExamBank::currentPassProgress(int userCode)
{
    const auto isOne = [](const QVariant& v) { return !v.isNull() && v.toDouble() == 1.0; };
    const db::ResultSet rows = m_conn.query(currentPassProgressSql(), {userCode});
    std::vector<ProgressMarks> marks;
    marks.reserve(size_t(rows.recordCount()));
    for (const db::Row& row : rows) {
        if (row.isNull(0))
            continue;
        marks.push_back({wholeNumber(row.value(0)), isOne(row.value(1)), isOne(row.value(2)), isOne(row.value(3))});
    }
    return marks;
}

// ---- user copies ----

bool ExamBank::hasUserCopy(int userCode)
{
    return m_conn.scalar(QStringLiteral("SELECT 1 FROM Qe_User WHERE Qu_UserCode = ?"), {userCode}).isValid();
}

void ExamBank::updateUserCopy(int userCode, const UserCopyChange& change)
{
    const std::pair<const char*, const std::optional<QString>*> fields[] = {
        {"qu_first_name", &change.firstName},   {"Qu_LoginId", &change.login},
        {"qu_middle_name", &change.middleName}, {"qu_last_name", &change.lastName}, {"qu_email", &change.email}};
    QString sql = QStringLiteral("UPDATE Qe_User SET Qu_HaveRight = ?, Qu_Password = ''");
    db::Params params{change.haveRight};
    for (const auto& [column, value] : fields) {
        if (!*value)
            continue;
        sql += QStringLiteral(", ") + QLatin1String(column) + QStringLiteral(" = ?");
        params.push_back(**value);
    }
    sql += QStringLiteral(" WHERE Qu_UserCode = ?");
    params.push_back(userCode);
    m_conn.exec(sql, params);
}

// ---- the main window ----

QString ExamBank::questionCountSql()
{
    return QStringLiteral("SELECT count(Qq_QuestCode) FROM Qe_QuestionsHead");
}

QString ExamBank::questionCountsByPlaceSql()
{
    // Grouped in the order of the (category, chapter) index: one pass, no sort.
    return QStringLiteral("SELECT Qq_CatCode, Qq_ChapterCode, count(Qq_QuestCode) FROM Qe_QuestionsHead "
                          "GROUP BY Qq_CatCode, Qq_ChapterCode");
}

int ExamBank::questionCount()
{
    // Kept with the pool codes: the whole index is read once per change of
    // the file, not at every exam's Start.
    const std::optional<FileStamp> before = keepableStamp(m_conn);
    if (before) {
        const KeptQuestionReads& kept = keptQuestionReads();
        if (kept.stamp == before && kept.questionCount)
            return *kept.questionCount;
    }
    const int count = wholeNumber(m_conn.scalar(questionCountSql()));
    if (before && fileStampOf(m_conn.path()) == before)
        keptAt(*before).questionCount = count;
    return count;
}

std::optional<ExamBank::SimulatedLimits> ExamBank::adaptiveLimits()
{
    const db::ResultSet rows = m_conn.query(QStringLiteral(
        "SELECT Qe_Adaptive_Time, Qe_Adaptive_PassScore, Qe_Adaptive_NoofQuest FROM Qe_Exam ORDER BY rowid LIMIT 1"));
    if (rows.empty())
        return std::nullopt;
    const db::Row& row = rows.first();
    return SimulatedLimits{wholeNumber(row.value(0)), wholeNumber(row.value(1)), wholeNumber(row.value(2))};
}

std::optional<ExamBank::ProductInfo> ExamBank::productInfo()
{
    const db::ResultSet rows
        = m_conn.query(QStringLiteral("SELECT Qe_ProductId, Qe_Version_No FROM Qe_Exam ORDER BY rowid LIMIT 1"));
    if (rows.empty())
        return std::nullopt;
    return ProductInfo{rows.first().text(0), rows.first().text(1)};
}

int ExamBank::learningObjectiveCount()
{
    if (!m_conn.hasTable(QStringLiteral("Qe_LOS")))
        return 0;
    return wholeNumber(m_conn.scalar(QStringLiteral("SELECT count(*) FROM Qe_LOS")));
}

std::vector<ExamBank::TreeCategory> ExamBank::categoryTree()
{
    std::vector<TreeCategory> categories;
    for (const db::Row& row :
         m_conn.query(QStringLiteral("SELECT Qc_catcode, Qc_cat_desc FROM Qe_Category ORDER BY rowid")))
        categories.push_back({wholeNumber(row.value(0)), row.text(1), {}});
    const db::ResultSet chapters = m_conn.query(
        QStringLiteral("SELECT Qc_ChapterCode, Qc_catcode, Qc_Chapter_Desc FROM Qe_Chapters ORDER BY rowid"));
    for (const db::Row& row : chapters) {
        if (row.isNull(1))
            continue;
        const int owner = wholeNumber(row.value(1));
        const auto category = std::find_if(categories.begin(), categories.end(),
                                           [owner](const TreeCategory& c) { return c.code == owner; });
        if (category != categories.end())
            category->chapters.push_back({wholeNumber(row.value(0)), row.text(2)});
    }
    return categories;
}

std::vector<ExamBank::PlaceCount> ExamBank::questionCountsByPlace()
{
    std::vector<PlaceCount> counts;
    for (const db::Row& row : m_conn.query(questionCountsByPlaceSql())) {
        if (row.isNull(1))
            continue;
        const int chapter = wholeNumber(row.value(1));
        if (row.isNull(0) && chapter == 0)
            continue;
        counts.push_back({wholeNumber(row.value(0)), chapter, wholeNumber(row.value(2))});
    }
    return counts;
}

std::vector<int> ExamBank::questionCountsOfEveryCategory()
{
    std::vector<int> counts;
    for (const db::Row& row : m_conn.query(
             QStringLiteral("SELECT count(q.Qq_QuestCode) FROM Qe_Category c "
                            "LEFT JOIN Qe_QuestionsHead q ON q.Qq_CatCode = c.Qc_catcode "
                            "GROUP BY c.Qc_catcode ORDER BY c.Qc_catcode")))
        counts.push_back(wholeNumber(row.value(0)));
    return counts;
}

int ExamBank::categoriesHoldingFewer(int questions)
{
    if (questions < 1)
        return 0;
    // A category holds enough when its question at that place exists.
    return wholeNumber(m_conn.scalar(
        QStringLiteral("SELECT count(*) FROM Qe_Category c WHERE (SELECT 1 FROM Qe_QuestionsHead q "
                       "WHERE q.Qq_CatCode = c.Qc_catcode AND q.Qq_QuestCode IS NOT NULL LIMIT 1 OFFSET ?) IS NULL"),
        {questions - 1}));
}

void ExamBank::setCategorySelected(int code, bool selected)
{
    m_conn.exec(QStringLiteral("UPDATE Qe_Category SET Qc_Selected = ? WHERE Qc_catcode = ?"),
                {selected ? 1 : 0, code});
}

void ExamBank::setChapterSelected(int code, bool selected)
{
    m_conn.exec(QStringLiteral("UPDATE Qe_Chapters SET Qc_Selected = ? WHERE Qc_ChapterCode = ?"),
                {selected ? 1 : 0, code});
}

bool rightMark(const QVariant& value)
{
    return !value.isNull() && value.toDouble() != 0;
}
