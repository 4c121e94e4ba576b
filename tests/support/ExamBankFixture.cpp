#include "tests/support/ExamBankFixture.h"

#include "foundation/ConnectionString.h"
#include "foundation/Schema.h"
#include "foundation/SharedState.h"
#include "platform/db/Transaction.h"

#include <QDir>
#include <algorithm>
#include <random>
#include <vector>

namespace {

QVariant orNull(const std::optional<int>& value)
{
    return value ? QVariant(*value) : QVariant();
}

} // namespace

ExamBankFixture::ExamBankFixture() : m_conn(db::Connection::create(path()))
{
    // A throw-away file: no need to wait for the disk on every insert.
    m_conn.execScript(QStringLiteral("PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY"));
    schema::createExamDatabase(m_conn);
}

QString ExamBankFixture::path() const
{
    return QDir(m_dir.path()).filePath(QStringLiteral("bank.qzr"));
}

QString ExamBankFixture::connectionString() const
{
    return ::connectionString(path(), QString::fromLatin1(kDatabasePassword));
}

ExamBankFixture& ExamBankFixture::category(int code, const Directives& d, bool selected)
{
    m_conn.exec(QStringLiteral("INSERT INTO Qe_Category (Qc_catcode, Qc_cat_desc, Qc_Selected, Qc_Perc_Of_Questions, "
                               "Qc_mChoice, qc_essay, qc_fill, qc_interact) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                {code, QStringLiteral("Category %1").arg(code), selected ? 1 : 0, orNull(d.count), orNull(d.mChoice),
                 orNull(d.essay), orNull(d.fill), orNull(d.interact)});
    return *this;
}

ExamBankFixture& ExamBankFixture::chapter(int code, int catCode, bool selected)
{
    m_conn.exec(QStringLiteral("INSERT INTO Qe_Chapters (Qc_ChapterCode, Qc_catcode, Qc_Chapter_Desc, Qc_Selected) "
                               "VALUES (?, ?, ?, ?)"),
                {code, catCode, QStringLiteral("Chapter %1").arg(code), selected ? 1 : 0});
    return *this;
}

ExamBankFixture& ExamBankFixture::question(int code, int catCode, std::optional<int> type, int chapterCode)
{
    return questions(code, 1, catCode, type, chapterCode);
}

ExamBankFixture& ExamBankFixture::questions(int firstCode, int count, int catCode, std::optional<int> type,
                                            int chapterCode)
{
    db::Savepoint save(m_conn);
    db::Statement insert = m_conn.prepare(QStringLiteral(
        "INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode, "
        "Qq_Quest_Desc, Qq_Difficulty) VALUES (?, ?, ?, ?, 0, ?, 1)"));
    for (int code = firstCode; code < firstCode + count; ++code)
        insert.exec({code, catCode, chapterCode, orNull(type), QStringLiteral("Question %1").arg(code)});
    save.release();
    return *this;
}

ExamBankFixture& ExamBankFixture::choice(int questCode, int seq, const QString& text, bool right)
{
    m_conn.exec(QStringLiteral("INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) "
                               "VALUES (?, ?, ?, ?)"),
                {questCode, seq, text, right ? 1 : 0});
    return *this;
}

ExamBankFixture& ExamBankFixture::progress(int userCode, int questCode, Verdict verdict, int pass)
{
    m_conn.exec(QStringLiteral("INSERT INTO Qe_Progress (userid, QuestionID, Correct, Wrong, NoAns, pass) "
                               "VALUES (?, ?, ?, ?, ?, ?)"),
                {userCode, questCode, verdict == Verdict::Right ? 1 : 0, verdict == Verdict::Wrong ? 1 : 0,
                 verdict == Verdict::NoAnswer ? 1 : 0, pass});
    return *this;
}

void ExamBankFixture::generate(const Shape& shape)
{
    db::Transaction transaction(m_conn);
    const int perCategoryCount = shape.perCategoryCount;
    const Directives directives{perCategoryCount, perCategoryCount, perCategoryCount, perCategoryCount,
                                perCategoryCount};
    for (int cat = 1; cat <= shape.categories; ++cat) {
        category(cat, directives, true);
        chapter(1000000 + cat, cat, true);
    }
    const int perCategory = (shape.questions + shape.categories - 1) / shape.categories;
    db::Statement insert = m_conn.prepare(QStringLiteral(
        "INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_InteractiveCode, "
        "Qq_Quest_Desc, Qq_Difficulty) VALUES (?, ?, ?, ?, 0, ?, 1)"));
    for (int code = 1; code <= shape.questions; ++code) {
        const int cat = (code - 1) / perCategory + 1;
        const int chapterCode = code % 3 == 0 ? 1000000 + cat : 0;
        insert.exec({code, cat, chapterCode, (code - 1) % 4 + 1, QStringLiteral("Question %1").arg(code)});
    }
    std::vector<int> codes(size_t(shape.questions));
    for (int i = 0; i < shape.questions; ++i)
        codes[size_t(i)] = i + 1;
    std::mt19937 engine(shape.seed);
    std::shuffle(codes.begin(), codes.end(), engine);
    const size_t rows = std::min(codes.size(), size_t(std::max(0, shape.progressRows)));
    for (size_t i = 0; i < rows; ++i) {
        const Verdict verdict = i % 3 == 0 ? Verdict::Wrong : Verdict::Right;
        progress(shape.userCode, codes[i], verdict, 0);
        progress(shape.userCode + 1, codes[rows - 1 - i], Verdict::Wrong, 0);
        progress(shape.userCode, codes[rows - 1 - i], Verdict::Wrong, 1);
    }
    transaction.commit();
}
