#include "tests/support/ExamBankFixture.h"

#include "foundation/ConnectionString.h"
#include "foundation/Schema.h"
#include "foundation/SharedState.h"
#include "platform/db/Transaction.h"

#include <QDir>
#include <algorithm>
#include <random>
#include <vector>

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
    m_writer.addCategory(
        {code, QStringLiteral("Category %1").arg(code), selected, d.count, d.mChoice, d.essay, d.fill, d.interact});
    return *this;
}

ExamBankFixture& ExamBankFixture::chapter(int code, int catCode, bool selected)
{
    m_writer.addChapter({code, catCode, QStringLiteral("Chapter %1").arg(code), selected});
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
    for (int code = firstCode; code < firstCode + count; ++code)
        addQuestion(code, catCode, type, chapterCode);
    save.release();
    return *this;
}

void ExamBankFixture::addQuestion(int code, int catCode, std::optional<int> type, int chapterCode)
{
    ExamBankWriter::QuestionRow row;
    row.code = code;
    row.category = catCode;
    row.chapter = chapterCode;
    row.type = type;
    row.interactive = 0;
    row.text = QStringLiteral("Question %1").arg(code);
    row.difficulty = 1;
    m_writer.addQuestion(row);
}

ExamBankFixture& ExamBankFixture::choice(int questCode, int seq, const QString& text, bool right)
{
    m_writer.addChoice({questCode, seq, text, right});
    return *this;
}

ExamBankFixture& ExamBankFixture::shownQuestion(int code, int type, int interactiveCode, const QString& text,
                                                std::optional<QString> modelAnswer)
{
    ExamBankWriter::QuestionRow row;
    row.code = code;
    row.category = 1;
    row.chapter = 0;
    row.type = type;
    row.interactive = interactiveCode;
    row.text = text;
    row.difficulty = 1;
    row.modelAnswer = std::move(modelAnswer);
    m_writer.addQuestion(row);
    return *this;
}

ExamBankFixture& ExamBankFixture::progress(int userCode, int questCode, Verdict verdict, int pass)
{
    m_writer.addProgress({userCode, questCode, verdict == Verdict::Right ? 1 : 0, verdict == Verdict::Wrong ? 1 : 0,
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
    for (int code = 1; code <= shape.questions; ++code) {
        const int cat = (code - 1) / perCategory + 1;
        const int chapterCode = code % 3 == 0 ? 1000000 + cat : 0;
        addQuestion(code, cat, (code - 1) % 4 + 1, chapterCode);
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

ExamBankFixture& ExamBankFixture::randomPracticeBank(std::mt19937& random)
{
    const auto chance = [&](int percent) { return int(random() % 100) < percent; };
    chapter(0, 1, chance(50));
    for (int cat = 1; cat <= 4; ++cat) {
        category(cat, {}, chance(60));
        for (int ch = 1; ch <= 2; ++ch)
            chapter(cat * 10 + ch, cat, chance(50));
    }
    for (int code = 1; code <= 60; ++code) {
        const int cat = int(random() % 4) + 1;
        const int pick = int(random() % 4); // chapter 0, one of two chapters, or one that does not exist
        const int chapterCode = pick == 0 ? 0 : pick == 3 ? 99 : cat * 10 + pick;
        question(code, cat, int(random() % 4) + 1, chapterCode);
    }
    return *this;
}
