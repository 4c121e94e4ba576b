#include "exam/CategoryMap.h"
#include "exam/ClockRandomSource.h"
#include "exam/ExamSaveCheck.h"
#include "exam/ExamSession.h"
#include "exam/QuestionList.h"
#include "exam/QuestionSetBuilder.h"
#include "foundation/ExamBank.h"
#include "foundation/ExamParameters.h"
#include "foundation/Schema.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ScriptedRandomSource.h"

#include <chrono>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <sqlite3.h>
#include <thread>
#include <vector>

namespace {

using Directives = ExamBankFixture::Directives;
using Verdict = ExamBankFixture::Verdict;
using Codes = std::vector<int>;

constexpr int kUser = 7;

Codes codesOf(const QuestionList& list)
{
    Codes codes;
    for (int row = 1; row < list.rows(); ++row)
        codes.push_back(list.questionCode(row));
    return codes;
}

// Every built list: a variant column last, each variant 0 to 3, no code twice.
void expectWellFormed(const QuestionList& list)
{
    ASSERT_EQ(list.cols(), 8);
    std::set<int> seen;
    for (int row = 1; row < list.rows(); ++row) {
        EXPECT_TRUE(seen.insert(list.questionCode(row)).second) << "twice: " << list.questionCode(row);
        const QString variant = list.text(row, colChoiceOrder);
        EXPECT_TRUE(variant == "0" || variant == "1" || variant == "2" || variant == "3") << variant.toStdString();
    }
}

void expectEmpty(const QuestionList& list)
{
    EXPECT_EQ(list.rows(), 1);
    EXPECT_EQ(list.cols(), 7);
}

struct Built {
    QuestionSetResult result;
    QuestionList msflex;
    CategoryMap cboCategory;
};

Built buildFor(ExamMode mode, ExamBankFixture& bank, RandomSource& random, int wanted = 0)
{
    Built built;
    QuestionSetBuilder builder(bank.conn(), random);
    const db::ResultSet categories = QuestionSetBuilder::categoryRows(bank.conn(), mode);
    built.result = builder.build(mode, categories, kUser, wanted, built.msflex, built.cboCategory);
    return built;
}

// ---- simulated exam ----

struct DirectiveCase {
    const char* name;
    Directives directives;
    std::vector<std::pair<std::optional<int>, int>> pool; // {type, how many}
    bool ok;
    std::map<int, int> perType; // questions taken per type when ok
};

TEST(SimulatedExam, DirectivesLimitTheCountAndEachTypeWhateverTheDraws)
{
    const std::optional<int> null;
    const DirectiveCase cases[] = {
        {"count 5, limits 2/0/0/0, ten of type 1: runs out", {5, 2, 0, 0, 0}, {{1, 10}}, false, {}},
        {"count 3, limits 5 each: the count stops it", {3, 5, 5, 5, 5}, {{1, 10}}, true, {{1, 3}}},
        {"count 4, one of each type",
         {4, 1, 1, 1, 1},
         {{1, 3}, {2, 3}, {3, 3}, {4, 3}},
         true,
         {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        {"count above the sum of the limits", {4, 1, 1, 1, 0}, {{1, 3}, {2, 3}, {3, 3}, {4, 3}}, false, {}},
        {"a Null limit is 0", {2, null, 2, null, null}, {{1, 5}, {2, 5}}, true, {{2, 2}}},
        {"types outside 1 to 4 are never taken", {2, 9, 9, 9, 9}, {{5, 3}, {null, 2}, {1, 2}}, true, {{1, 2}}},
        {"only the usable rows count", {3, 9, 9, 9, 9}, {{5, 3}, {null, 2}, {1, 2}}, false, {}},
        {"count equal to the whole pool",
         {6, 2, 2, 2, 0},
         {{1, 2}, {2, 2}, {3, 2}, {4, 2}},
         true,
         {{1, 2}, {2, 2}, {3, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExamBankFixture bank;
        bank.category(1, c.directives);
        int code = 100;
        for (const auto& [type, count] : c.pool) {
            bank.questions(code, count, 1, type);
            code += count;
        }
        // Constant draws (the lowest, the highest and an out-of-range one) and
        // many runs of real ones must all end, with the same verdict.
        std::vector<std::unique_ptr<RandomSource>> sources;
        for (double constant : {0.0, 0.999999, 1.0})
            sources.push_back(std::make_unique<ScriptedRandomSource>(std::initializer_list<double>{}, constant));
        for (int i = 0; i < 25; ++i)
            sources.push_back(std::make_unique<ClockRandomSource>());
        for (auto& source : sources) {
            const Built built = buildFor(ExamMode::Simulated, bank, *source);
            ASSERT_EQ(built.result.ok, c.ok);
            if (!c.ok) {
                EXPECT_EQ(built.result.message, "Invalid exam directives. Cannot Proceed");
                expectEmpty(built.msflex);
                EXPECT_EQ(built.cboCategory.size(), 0);
                continue;
            }
            expectWellFormed(built.msflex);
            std::map<int, int> perType;
            for (int row = 1; row < built.msflex.rows(); ++row) {
                ++perType[built.msflex.number(row, colTypeCode)];
                EXPECT_EQ(built.cboCategory.categoryOf(built.msflex.questionCode(row)), 1);
            }
            EXPECT_EQ(perType, c.perType);
            EXPECT_EQ(built.result.drawn, built.msflex.questionCount());
        }
    }
}

TEST(SimulatedExam, EachDrawPicksAmongTheRowsNotYetVisitedInCodeOrder)
{
    ExamBankFixture bank;
    bank.category(1, {3, 3, 0, 0, 0}).questions(101, 10, 1);
    // 0.0 of ten rows: 101; 0.95 of the nine left: the last, 110; 0.5 of the
    // eight left (102..109): the fifth, 106. Then the three variants.
    ScriptedRandomSource random({0.0, 0.95, 0.5, 0.5, 0.0, 0.99});
    const Built built = buildFor(ExamMode::Simulated, bank, random);
    ASSERT_TRUE(built.result.ok) << built.result.message.toStdString();
    EXPECT_EQ(codesOf(built.msflex), (Codes{101, 110, 106}));
    EXPECT_EQ(built.msflex.text(1, colChoiceOrder), "2");
    EXPECT_EQ(built.msflex.text(2, colChoiceOrder), "0");
    EXPECT_EQ(built.msflex.text(3, colChoiceOrder), "3");
    EXPECT_EQ(random.randomizeCalls(), 2); // before the category's draws and before the variants
    EXPECT_EQ(random.draws(), 6);
}

TEST(SimulatedExam, CategoriesInCodeOrderWithNullZeroAndEmptyOnesAddingNothing)
{
    ExamBankFixture bank;
    bank.category(30, {1, 1, 0, 0, 0})
        .category(10, {2, 2, 0, 0, 0})
        .category(20, {5, 5, 5, 5, 5}) // no questions: skipped without a failure
        .category(40, {})              // Null count
        .category(50, {0, 5, 5, 5, 5})
        .category(60, {-2, 5, 5, 5, 5})
        .questions(101, 5, 10)
        .questions(301, 5, 30)
        .questions(401, 5, 40)
        .questions(501, 5, 50)
        .questions(601, 5, 60);
    ScriptedRandomSource random({}, 0.0);
    const Built built = buildFor(ExamMode::Simulated, bank, random);
    ASSERT_TRUE(built.result.ok) << built.result.message.toStdString();
    EXPECT_EQ(codesOf(built.msflex), (Codes{101, 102, 301}));
    EXPECT_EQ(built.result.drawn, 3);
    EXPECT_EQ(built.cboCategory.categoryOf(102), 10);
    EXPECT_EQ(built.cboCategory.categoryOf(301), 30);
    expectWellFormed(built.msflex);
}

TEST(SimulatedExam, DirectivesThatDrawNothingAtAllDoNotStartAnExam)
{
    ExamBankFixture bank;
    bank.category(1, {0, 5, 5, 5, 5}).category(2, {}).questions(1, 5, 1).questions(11, 5, 2);
    ScriptedRandomSource random;
    const Built built = buildFor(ExamMode::Simulated, bank, random);
    EXPECT_FALSE(built.result.ok);
    EXPECT_EQ(built.result.message, "Invalid exam directives. Cannot Proceed");
    expectEmpty(built.msflex);
}

TEST(SimulatedExam, AFailureInALaterCategoryLeavesNoPartialList)
{
    ExamBankFixture bank;
    bank.category(1, {2, 2, 0, 0, 0}).category(2, {3, 1, 0, 0, 0}).questions(1, 5, 1).questions(11, 5, 2);
    ScriptedRandomSource random;
    const Built built = buildFor(ExamMode::Simulated, bank, random);
    EXPECT_FALSE(built.result.ok);
    expectEmpty(built.msflex);
    EXPECT_EQ(built.cboCategory.size(), 0);
}

TEST(SimulatedExam, LargeCodesKeepTheirCategory)
{
    ExamBankFixture bank;
    bank.category(70000, {2, 2, 0, 0, 0}).question(40000, 70000).question(2000000000, 70000);
    ScriptedRandomSource random;
    const Built built = buildFor(ExamMode::Simulated, bank, random);
    ASSERT_TRUE(built.result.ok);
    EXPECT_EQ(codesOf(built.msflex), (Codes{40000, 2000000000}));
    EXPECT_EQ(built.cboCategory.categoryOf(40000), 70000);
    EXPECT_EQ(built.cboCategory.categoryOf(2000000000), 70000);
}

// ---- pretest ----

TEST(Pretest, ShareIsThirtyOverTheCategoriesPlusOneRoundedHalfToEven)
{
    ExamBankFixture bank;
    ScriptedRandomSource random;
    QuestionSetBuilder builder(bank.conn(), random);
    EXPECT_EQ(builder.GetCategoryCount(), 0);
    const std::map<int, int> expected = {{1, 31}, {2, 16}, {3, 11}, {4, 8},  {5, 7},  {6, 6},  {7, 5},  {8, 5},
                                         {9, 4},  {12, 4}, {13, 3}, {19, 3}, {20, 2}, {60, 2}, {61, 1}, {100, 1}};
    for (int n = 1; n <= 100; ++n) {
        bank.category(n);
        if (expected.count(n)) {
            EXPECT_EQ(builder.GetCategoryCount(), expected.at(n)) << n << " categories";
        }
    }
}

TEST(Pretest, DrawsTheShareFromEveryCategoryIgnoringDirectives)
{
    struct Case {
        int categories;
        int perCategory;
        int share;
    } cases[] = {{4, 10, 8}, {12, 5, 4}, {1, 31, 31}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.categories);
        ExamBankFixture bank;
        for (int cat = 1; cat <= c.categories; ++cat)
            bank.category(cat, {0, 0, 0, 0, 0}).questions(cat * 100, c.perCategory, cat, cat % 4 + 1);
        for (int run = 0; run < 10; ++run) {
            ClockRandomSource random;
            const Built built = buildFor(ExamMode::Test, bank, random);
            ASSERT_TRUE(built.result.ok) << built.result.message.toStdString();
            expectWellFormed(built.msflex);
            std::map<int, int> perCategory;
            for (int row = 1; row < built.msflex.rows(); ++row) {
                const int code = built.msflex.questionCode(row);
                EXPECT_EQ(built.cboCategory.categoryOf(code), code / 100);
                ++perCategory[code / 100];
            }
            EXPECT_EQ(int(perCategory.size()), c.categories);
            for (const auto& [cat, n] : perCategory)
                EXPECT_EQ(n, c.share) << "category " << cat;
        }
    }
}

// Draws from a fixed seed, reseeding as the clock would.
class SeededRandomSource : public RandomSource {
public:
    explicit SeededRandomSource(unsigned seed) : m_engine(seed) {}
    void randomize() override { m_engine.seed(unsigned(m_engine())); }
    double rnd() override { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine); }

private:
    std::mt19937 m_engine;
};

// The random draws as they were made from each category's whole pool read
// in code order: the reference the draws from the codes must match.
const char* const kReferenceCategoryPoolSql =
    "SELECT Qq_QuestCode, Qq_TypeCode, Qq_Difficulty, Qq_CatCode FROM Qe_QuestionsHead "
    "WHERE Qq_CatCode = ? ORDER BY Qq_QuestCode";

struct ReferenceDraw {
    bool ok = false;
    Codes codes;
    std::map<int, int> categoryOf;
};

ReferenceDraw referenceDraw(ExamMode mode, ExamBankFixture& bank, RandomSource& random)
{
    ReferenceDraw draw;
    const bool directives = mode == ExamMode::Simulated;
    const int share = QuestionSetBuilder::pretestShare(
        int(bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_Category")).toInt()));
    std::set<int> taken;
    for (const db::Row& category : QuestionSetBuilder::categoryRows(bank.conn(), mode)) {
        struct Row {
            int code, type, category;
        };
        std::vector<Row> pool;
        for (const db::Row& row :
             bank.conn().query(QString::fromLatin1(kReferenceCategoryPoolSql), {category.value(QStringLiteral("Qc_catcode"))}))
            if (!taken.count(wholeNumber(row.value(0))))
                pool.push_back({wholeNumber(row.value(0)), wholeNumber(row.value(1)), wholeNumber(row.value(3))});
        if (pool.empty())
            continue;
        int count = share;
        int limit[5] = {0, 1, 1, 1, 1};
        if (directives) {
            count = wholeNumber(category.value(QStringLiteral("Qc_Perc_Of_Questions")));
            limit[1] = wholeNumber(category.value(QStringLiteral("Qc_mChoice")));
            limit[2] = wholeNumber(category.value(QStringLiteral("qc_essay")));
            limit[3] = wholeNumber(category.value(QStringLiteral("qc_fill")));
            limit[4] = wholeNumber(category.value(QStringLiteral("qc_interact")));
        }
        random.randomize();
        std::vector<Row> unvisited = pool;
        while (count >= 1) {
            const int k = QuestionSetBuilder::drawIndex(random.rnd(), int(unvisited.size()));
            const Row q = unvisited[size_t(k)];
            unvisited.erase(unvisited.begin() + k);
            draw.categoryOf[q.code] = q.category;
            if (q.type >= 1 && q.type <= 4 && limit[q.type] > 0) {
                if (directives)
                    --limit[q.type];
                taken.insert(q.code);
                draw.codes.push_back(q.code);
                --count;
            }
            if (unvisited.empty() && count > 0)
                return {};
        }
    }
    draw.ok = !draw.codes.empty();
    return draw;
}

// Over random banks and fixed seeds, the simulated exam and the pretest draw
// exactly the questions, in the order, that drawing from the whole pools
// drew, and fail exactly where it failed.
TEST(RandomDraws, PickWhatTheWholePoolDrawPickedForTheSameSeed)
{
    int built = 0, failed = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        ExamBankFixture bank;
        const int categories = int(rng() % 5) + 1;
        for (int cat = 1; cat <= categories; ++cat) {
            const auto small = [&] { return std::optional<int>(int(rng() % 4)); };
            bank.category(cat, {int(rng() % 8), small(), small(), small(), small()}, true);
        }
        for (int code = 1; code <= 120; ++code) {
            const int type = int(rng() % 6); // 0 and 5 are never drawn
            bank.question(code * 7 % 241, int(rng() % (categories + 1)),
                          type == 0 && rng() % 2 ? std::nullopt : std::optional<int>(type));
        }
        for (const ExamMode mode : {ExamMode::Simulated, ExamMode::Test}) {
            SCOPED_TRACE(mode == ExamMode::Simulated ? "simulated" : "pretest");
            SeededRandomSource referenceRandom(seed);
            const ReferenceDraw expected = referenceDraw(mode, bank, referenceRandom);
            SeededRandomSource random(seed);
            const Built actual = buildFor(mode, bank, random);
            ASSERT_EQ(actual.result.ok, expected.ok) << actual.result.message.toStdString();
            if (!expected.ok) {
                ++failed;
                continue;
            }
            ++built;
            EXPECT_EQ(codesOf(actual.msflex), expected.codes);
            for (const auto& [code, category] : expected.categoryOf)
                EXPECT_EQ(actual.cboCategory.categoryOf(code), category) << code;
        }
    }
    EXPECT_GT(built, 20) << "the banks build most exams";
    EXPECT_GT(failed, 0) << "and refuse some";
}

// A code standing in two categories or twice in one, and codes stored as
// a fraction or as text (text sorts after every number), are left out and
// drawn as drawing from the whole pools did them; so is a second exam on the
// same unchanged bank, whose codes come from memory, and one after another
// program added questions to it.
TEST(RandomDraws, RepeatedOddAndKeptCodesDrawAsTheWholePoolDrew)
{
    int built = 0;
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        ExamBankFixture bank;
        // A stranger's layout: the code is no key, so it can repeat.
        bank.conn().execScript(
            QStringLiteral("ALTER TABLE Qe_QuestionsHead RENAME TO Keyed; "
                           "CREATE TABLE Qe_QuestionsHead AS SELECT * FROM Keyed WHERE 0; DROP TABLE Keyed; "
                           "CREATE INDEX Qe_QuestionsHead_Pool ON Qe_QuestionsHead (Qq_CatCode, Qq_QuestCode)"));
        for (int cat = 1; cat <= 3; ++cat) {
            const auto small = [&] { return std::optional<int>(int(rng() % 4) + 1); };
            bank.category(cat, {int(rng() % 6) + 1, small(), small(), small(), small()}, true);
        }
        const auto addQuestions = [&](int count) {
            for (int i = 0; i < count; ++i) {
                const int cat = int(rng() % 3) + 1;
                const int type = int(rng() % 4) + 1;
                const int code = int(rng() % 40) + 1;
                const QVariant stored = rng() % 9 == 0 ? QVariant(code + 0.5)
                    : rng() % 9 == 0                   ? QVariant(QStringLiteral("Q%1").arg(code))
                                                       : QVariant(code);
                bank.conn().exec(QStringLiteral("INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_TypeCode, "
                                                "Qq_ChapterCode) VALUES (?, ?, ?, 0)"),
                                 {stored, cat, type});
            }
        };
        addQuestions(70);
        const bool kept = seed % 4 == 0;
        // Codes are kept only from a file older than the file system's clock step.
        if (kept)
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
        for (int round = 0; round < (kept ? 3 : 1); ++round) {
            SCOPED_TRACE(round);
            if (round == 2) {
                addQuestions(15);
                std::this_thread::sleep_for(std::chrono::milliseconds(40));
            }
            for (const ExamMode mode : {ExamMode::Simulated, ExamMode::Test}) {
                SCOPED_TRACE(mode == ExamMode::Simulated ? "simulated" : "pretest");
                SeededRandomSource referenceRandom(seed + unsigned(round));
                const ReferenceDraw expected = referenceDraw(mode, bank, referenceRandom);
                SeededRandomSource random(seed + unsigned(round));
                const Built actual = buildFor(mode, bank, random);
                ASSERT_EQ(actual.result.ok, expected.ok) << actual.result.message.toStdString();
                built += expected.ok ? 1 : 0;
                EXPECT_EQ(codesOf(actual.msflex), expected.ok ? expected.codes : Codes{});
            }
        }
    }
    EXPECT_GT(built, 20);
}

// The codes and the bank's count kept for the draws stay good across the
// program's own write to the file, which never changes a question, and are
// read again after any other change.
TEST(RandomDraws, KeptCodesOutliveTheProgramsOwnWriteButNoOtherChange)
{
    forgetSoundExamFiles();
    ExamBank::forgetPoolCodes();
    ExamBankFixture bank;
    bank.category(1).category(2).questions(1, 40, 1).questions(41, 40, 2);
    struct Reads {
        int codes = 0;
        int count = 0;
        bool operator==(const Reads&) const = default;
    } reads;
    const auto countReads = [](unsigned, void* context, void*, void* sql) {
        const QString text = QString::fromUtf8(static_cast<const char*>(sql));
        auto* seen = static_cast<Reads*>(context);
        seen->codes += text == ExamBank::categoryPoolCodesSql() ? 1 : 0;
        seen->count += text == ExamBank::questionCountSql() ? 1 : 0;
        return 0;
    };
    sqlite3_trace_v2(bank.conn().handle(), SQLITE_TRACE_STMT, countReads, &reads);
    const auto drawReads = [&] {
        // Past the file system's clock step: codes are kept only from a file
        // older than that.
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        reads = {};
        SeededRandomSource random(3);
        const QuestionSetResult result = buildFor(ExamMode::Test, bank, random).result;
        EXPECT_TRUE(result.ok);
        const Reads taken = reads;
        EXPECT_EQ(result.bankQuestions,
                  bank.conn().scalar(QStringLiteral("SELECT count(*) FROM Qe_QuestionsHead")).toInt());
        return taken;
    };
    const auto report = [](const Reads& r) {
        return testing::Message() << r.codes << " code reads, " << r.count << " counts";
    };
    const Reads everything{2, 1}; // one read per category, one count
    const Reads nothing{0, 0};
    Reads seen = drawReads();
    EXPECT_EQ(seen, everything) << report(seen);
    seen = drawReads();
    EXPECT_EQ(seen, nothing) << "unchanged: " << report(seen);

    ASSERT_EQ(examSaveRefusal(bank.conn()), QString());
    {
        OwnExamWrite write(bank.conn());
        bank.progress(kUser, 1, Verdict::Right);
        write.done();
    }
    seen = drawReads();
    EXPECT_EQ(seen, nothing) << "after the program's own write: " << report(seen);

    bank.progress(kUser, 2, Verdict::Wrong);
    seen = drawReads();
    EXPECT_EQ(seen, everything) << "after any other write: " << report(seen);

    bank.questions(81, 5, 2);
    seen = drawReads();
    EXPECT_EQ(seen, everything) << "after questions were added: " << report(seen);
}

// A stored code the program cannot hold is refused by name, never clamped
// into another question's code.
TEST(RandomDraws, ACodeBeyondTheProgramsNumbersIsRefusedByName)
{
    for (const qint64 stored : {2147483653LL, -2147483653LL}) {
        SCOPED_TRACE(stored);
        ExamBank::forgetPoolCodes();
        ExamBankFixture bank;
        bank.category(1).questions(1, 12, 1);
        bank.conn().exec(QStringLiteral("UPDATE Qe_QuestionsHead SET Qq_QuestCode = ? WHERE Qq_QuestCode = 5"),
                         {stored});
        for (const ExamMode mode : {ExamMode::Test, ExamMode::Simulated}) {
            ScriptedRandomSource random({}, 0.5);
            const Built built = buildFor(mode, bank, random);
            EXPECT_FALSE(built.result.ok);
            EXPECT_EQ(built.result.message,
                      QStringLiteral("The questions of the exam could not be drawn.\r\nThe exam database ") + bank.path()
                          + QStringLiteral(" holds %1 in column Qq_QuestCode of table Qe_QuestionsHead, beyond the "
                                           "numbers the program can use.")
                                .arg(stored));
            expectEmpty(built.msflex);
        }
    }
}

TEST(Pretest, ACategoryShortOfUsableQuestionsFails)
{
    ExamBankFixture bank;
    for (int cat = 1; cat <= 4; ++cat)
        bank.category(cat).questions(cat * 100, 10, cat);
    bank.conn().exec(
        QStringLiteral("UPDATE Qe_QuestionsHead SET Qq_TypeCode = 5 WHERE Qq_QuestCode IN (300, 301, 302)"));
    ScriptedRandomSource random({}, 0.5);
    const Built built = buildFor(ExamMode::Test, bank, random);
    EXPECT_FALSE(built.result.ok);
    EXPECT_EQ(built.result.message, "Invalid directives. Cannot proceed");
    expectEmpty(built.msflex);
    EXPECT_EQ(built.cboCategory.size(), 0);
}

TEST(Pretest, ACategoryWithoutQuestionsCountsForTheShareButAddsNothing)
{
    ExamBankFixture bank;
    bank.category(1).category(2).category(3).questions(100, 12, 1).questions(300, 12, 3);
    ScriptedRandomSource random({}, 0.3);
    const Built built = buildFor(ExamMode::Test, bank, random);
    ASSERT_TRUE(built.result.ok);
    EXPECT_EQ(built.result.drawn, 22); // 11 from each of the two
    expectWellFormed(built.msflex);
}

// ---- practice ----

struct PracticeBank {
    PracticeBank() { bank.category(1, {}, true).category(2, {}, true).category(3, {}, true); }
    Built build(int wanted, RandomSource& random) { return buildFor(ExamMode::Practice, bank, random, wanted); }
    Built build(int wanted)
    {
        ScriptedRandomSource random;
        return build(wanted, random);
    }
    ExamBankFixture bank;
};

TEST(Practice, WrongFirstThenUnseenRotatingOverTheCategoriesInCodeOrder)
{
    PracticeBank p;
    p.bank.questions(101, 13, 1).questions(201, 11, 2);
    p.bank.progress(kUser, 101, Verdict::Wrong)
        .progress(kUser, 102, Verdict::Wrong)
        .progress(kUser, 201, Verdict::Wrong);
    p.bank.progress(kUser, 113, Verdict::Right);
    const Built built = p.build(10);
    ASSERT_TRUE(built.result.ok) << built.result.message.toStdString();
    EXPECT_EQ(codesOf(built.msflex), (Codes{101, 201, 102, 103, 202, 104, 203, 105, 204, 106}));
    EXPECT_EQ(built.result.drawn, 10);
    expectWellFormed(built.msflex);
}

TEST(Practice, RotationTakesTheFirstOfEachCategoryAndWrapsToTheFirstLeft)
{
    const struct {
        const char* name;
        std::vector<std::pair<int, int>> questions; // {code, category}
        int wanted;
        Codes expected;
    } cases[] = {
        {"A1 A2 B1", {{101, 1}, {102, 1}, {201, 2}}, 3, {101, 201, 102}},
        {"three categories",
         {{101, 1}, {102, 1}, {103, 1}, {201, 2}, {301, 3}, {302, 3}},
         6,
         {101, 201, 301, 102, 302, 103}},
        {"stops at the count", {{101, 1}, {102, 1}, {201, 2}, {301, 3}}, 2, {101, 201}},
        {"one category", {{101, 1}, {102, 1}, {103, 1}}, 5, {101, 102, 103}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PracticeBank p;
        for (const auto& [code, cat] : c.questions)
            p.bank.question(code, cat);
        const Built built = p.build(c.wanted);
        ASSERT_TRUE(built.result.ok);
        EXPECT_EQ(codesOf(built.msflex), c.expected);
    }
}

TEST(Practice, RightAnswersComeOnlyAfterUnansweredAndUnseen)
{
    PracticeBank p;
    p.bank.questions(101, 4, 1).question(201, 2);
    p.bank.progress(kUser, 101, Verdict::Right)
        .progress(kUser, 102, Verdict::NoAnswer)
        .progress(kUser, 104, Verdict::Wrong)
        .progress(kUser, 201, Verdict::Right);
    EXPECT_EQ(codesOf(p.build(10).msflex), (Codes{104, 102, 103, 101, 201}));
    EXPECT_EQ(codesOf(p.build(3).msflex), (Codes{104, 102, 103}));
}

TEST(Practice, OtherUsersAndOtherPassesDoNotCount)
{
    PracticeBank p;
    p.bank.questions(101, 4, 1);
    p.bank.progress(kUser, 104, Verdict::Wrong)
        .progress(kUser + 1, 103, Verdict::Wrong)
        .progress(kUser + 1, 101, Verdict::Right)
        .progress(kUser, 102, Verdict::Wrong, 1)
        .progress(kUser, 101, Verdict::Right, 2);
    EXPECT_EQ(codesOf(p.build(4).msflex), (Codes{104, 101, 102, 103}));
}

TEST(Practice, TicksOfCategoriesAndChaptersChooseThePool)
{
    ExamBankFixture bank;
    bank.category(1, {}, true).category(2, {}, false);
    bank.chapter(11, 1, false).chapter(21, 2, true);
    bank.question(101, 1)         // under a ticked category
        .question(102, 1, 1, 11)  // in an unticked chapter of a ticked category
        .question(201, 2)         // under an unticked category
        .question(202, 2, 1, 21)  // in a ticked chapter of an unticked category
        .question(203, 2, 1, 99); // in a chapter that does not exist
    bank.progress(kUser, 202, Verdict::Wrong);
    ScriptedRandomSource random;
    const Built built = buildFor(ExamMode::Practice, bank, random, 10);
    ASSERT_TRUE(built.result.ok);
    EXPECT_EQ(codesOf(built.msflex), (Codes{202, 101}));
    EXPECT_EQ(built.result.drawn, 2); // fewer than asked: the exam runs over these
}

TEST(Practice, AQuestionWithSeveralProgressRowsIsListedOnceAtItsFirstPriority)
{
    PracticeBank p;
    p.bank.questions(101, 3, 1);
    p.bank.progress(kUser, 101, Verdict::Wrong).progress(kUser, 101, Verdict::Wrong);
    p.bank.progress(kUser, 102, Verdict::Right).progress(kUser, 102, Verdict::Wrong);
    p.bank.progress(kUser, 103, Verdict::Right).progress(kUser, 103, Verdict::NoAnswer);
    const Built built = p.build(10);
    EXPECT_EQ(codesOf(built.msflex), (Codes{101, 102, 103}));
    expectWellFormed(built.msflex);
}

// The practice pool as eight joined selects, one per priority and kind of
// membership, sorted in SQL: the reference the builder's pool must match.
const char* const kReferencePracticeSql =
    "SELECT Qq_QuestCode, Qq_TypeCode, Qq_Difficulty, Qq_CatCode, 1 as priority "
    " FROM Qe_QuestionsHead a, qe_Category b, qe_Progress c "
    " where Qq_ChapterCode = 0 and a.qq_catcode=b.qc_Catcode and Qc_Selected=1 and "
    " a.qq_Questcode = c.QuestionID and c.userid = ?1 and c.pass = 0 And c.Wrong = 1 Union All "
    "SELECT Qq_QuestCode, Qq_TypeCode, Qq_Difficulty, Qq_CatCode, 1 as priority "
    " FROM Qe_QuestionsHead a, qe_Progress c, qe_chapters b where a.Qq_ChapterCode=b.Qc_ChapterCode and "
    " Qq_ChapterCode <> 0 and qc_selected = 1 and a.qq_Questcode = c.QuestionID and c.userid = ?1 "
    " and c.pass = 0 And c.Wrong = 1 Union All "
    "SELECT Qq_QuestCode, Qq_TypeCode, Qq_Difficulty, Qq_CatCode, 3 as priority "
    " FROM Qe_QuestionsHead a, qe_Category b, qe_Progress c "
    " where Qq_ChapterCode = 0 and a.qq_catcode=b.qc_Catcode and Qc_Selected=1 and "
    " a.qq_Questcode = c.QuestionID and c.userid = ?1 and c.pass = 0 And c.Correct = 1 Union All "
    "SELECT Qq_QuestCode, Qq_TypeCode, Qq_Difficulty, Qq_CatCode, 3 as priority "
    " FROM Qe_QuestionsHead a, qe_Progress c, qe_chapters b where a.Qq_ChapterCode=b.Qc_ChapterCode and "
    " Qq_ChapterCode <> 0 and qc_selected = 1 and a.qq_Questcode = c.QuestionID and c.userid = ?1 "
    " and c.pass = 0 And c.Correct = 1 Union All "
    "SELECT Qq_QuestCode, Qq_TypeCode, Qq_Difficulty, Qq_CatCode, 2 as priority "
    " FROM Qe_QuestionsHead a, qe_Category b, qe_Progress c "
    " where Qq_ChapterCode = 0 and a.qq_catcode=b.qc_Catcode and Qc_Selected=1 and "
    " a.qq_Questcode = c.QuestionID and c.userid = ?1 and c.pass = 0 and c.NoAns = 1 Union All "
    "SELECT Qq_QuestCode, Qq_TypeCode, Qq_Difficulty, Qq_CatCode, 2 as priority "
    " FROM Qe_QuestionsHead a, qe_Progress c, qe_chapters b where a.Qq_ChapterCode=b.Qc_ChapterCode and "
    " Qq_ChapterCode <> 0 and qc_selected = 1 and a.qq_Questcode = c.QuestionID and c.userid = ?1 "
    " and c.pass = 0 and c.NoAns = 1 Union All "
    "SELECT Qq_QuestCode, Qq_TypeCode, Qq_Difficulty, Qq_CatCode, 2 as priority "
    " FROM Qe_QuestionsHead a, qe_Category b "
    " where Qq_ChapterCode = 0 and a.qq_catcode=b.qc_Catcode and Qc_Selected=1 and "
    " a.qq_Questcode not in (select c.QuestionID from qe_Progress c where c.userid = ?1 and c.pass = 0) Union All "
    "SELECT Qq_QuestCode, Qq_TypeCode, Qq_Difficulty, Qq_CatCode, 2 as priority "
    " FROM Qe_QuestionsHead a, qe_chapters b where a.Qq_ChapterCode=b.Qc_ChapterCode and "
    " Qq_ChapterCode <> 0 and qc_selected = 1 and a.qq_Questcode not in (select c.QuestionID from qe_Progress c "
    " where c.userid = ?1 and c.pass = 0) order by priority, qq_catcode, Qq_QuestCode";

TEST(Practice, PoolMatchesTheReferenceQueryOnRandomBanks)
{
    for (unsigned seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const auto chance = [&](int percent) { return int(rng() % 100) < percent; };
        ExamBankFixture bank;
        bank.randomPracticeBank(rng);
        const Verdict verdicts[] = {Verdict::Right, Verdict::Wrong, Verdict::NoAnswer};
        for (int i = 0; i < 70; ++i) {
            const int code = int(rng() % 60) + 1;
            const int user = chance(80) ? kUser : kUser + 1;
            const int pass = chance(80) ? 0 : 1;
            bank.progress(user, code, chance(10) ? Verdict::None : verdicts[rng() % 3], pass);
        }

        std::vector<std::pair<int, int>> expected; // {code, priority}, first occurrence
        std::set<int> seen;
        for (const auto& row : bank.conn().query(QString::fromLatin1(kReferencePracticeSql), {kUser}))
            if (seen.insert(int(row.integer(0))).second)
                expected.emplace_back(int(row.integer(0)), int(row.integer(4)));

        ScriptedRandomSource random;
        QuestionSetBuilder builder(bank.conn(), random);
        std::vector<std::pair<int, int>> actual;
        for (const auto& c : builder.practicePool(kUser))
            actual.emplace_back(c.code, c.priority);
        EXPECT_EQ(actual, expected);
    }
}

// The practice set as it was built before it was streamed: the whole pool
// and the user's current-pass rows read into memory, sorted by priority,
// category (none first) and code, each code kept at its first row, and each
// priority taken by the category rotation. The reference the streamed set
// must match.
const char* const kWholePoolSql =
    "SELECT a.Qq_QuestCode, a.Qq_TypeCode, a.Qq_CatCode FROM Qe_QuestionsHead a, Qe_Category b "
    "WHERE a.Qq_ChapterCode = 0 AND a.Qq_CatCode = b.Qc_catcode AND b.Qc_Selected = 1 "
    "UNION ALL "
    "SELECT a.Qq_QuestCode, a.Qq_TypeCode, a.Qq_CatCode FROM Qe_QuestionsHead a, Qe_Chapters b "
    "WHERE a.Qq_ChapterCode = b.Qc_ChapterCode AND a.Qq_ChapterCode <> 0 AND b.Qc_Selected = 1";

struct WholePoolSet {
    std::vector<std::pair<int, int>> taken; // {code, type}
    std::vector<std::pair<int, int>> pool;  // {code, priority}
    int rows = 0;                           // of the pool, before codes are kept once
};

WholePoolSet wholePoolSet(db::Connection& conn, int userCode, int wanted)
{
    struct Verdicts {
        bool wrong = false, noAnswer = false, right = false;
    };
    const auto isOne = [](const QVariant& v) { return !v.isNull() && v.toDouble() == 1.0; };
    std::map<int, Verdicts> progress;
    for (const db::Row& row : conn.query(
             QStringLiteral("SELECT QuestionID, Wrong, NoAns, Correct FROM Qe_Progress WHERE userid = ? AND pass = 0"),
             {userCode})) {
        if (row.isNull(0))
            continue;
        Verdicts& v = progress[wholeNumber(row.value(0))];
        v.wrong = v.wrong || isOne(row.value(1));
        v.noAnswer = v.noAnswer || isOne(row.value(2));
        v.right = v.right || isOne(row.value(3));
    }
    struct Row {
        int code, type, category;
        bool categoryIsNull;
        int priority;
    };
    std::vector<Row> pool;
    WholePoolSet set;
    for (const db::Row& row : conn.query(QString::fromLatin1(kWholePoolSql))) {
        ++set.rows;
        Row r{wholeNumber(row.value(0)), wholeNumber(row.value(1)), wholeNumber(row.value(2)), row.isNull(2), 0};
        const auto it = progress.find(r.code);
        r.priority = it == progress.end() ? 2 : it->second.wrong ? 1 : it->second.noAnswer ? 2 : it->second.right ? 3 : 0;
        if (r.priority != 0)
            pool.push_back(r);
    }
    std::stable_sort(pool.begin(), pool.end(), [](const Row& x, const Row& y) {
        if (x.priority != y.priority)
            return x.priority < y.priority;
        if (x.categoryIsNull != y.categoryIsNull)
            return x.categoryIsNull;
        if (x.category != y.category)
            return x.category < y.category;
        return x.code < y.code;
    });
    std::set<int> seen;
    std::vector<Row> byPriority[4];
    for (const Row& r : pool)
        if (seen.insert(r.code).second) {
            byPriority[r.priority].push_back(r);
            set.pool.emplace_back(r.code, r.priority);
        }
    for (int priority = 1; priority <= 3 && wanted > 0; ++priority) {
        const std::vector<Row>& rows = byPriority[priority];
        struct Span {
            size_t next, end;
        };
        std::vector<Span> spans;
        for (size_t i = 0; i < rows.size(); ++i) {
            if (spans.empty() || rows[i].category != rows[spans.back().next].category)
                spans.push_back({i, i + 1});
            else
                spans.back().end = i + 1;
        }
        size_t current = 0;
        while (wanted > 0 && !spans.empty()) {
            Span& span = spans[current];
            const Row& r = rows[span.next++];
            set.taken.emplace_back(r.code, r.type);
            --wanted;
            if (span.next == span.end)
                spans.erase(spans.begin() + std::ptrdiff_t(current));
            else
                ++current;
            if (current >= spans.size())
                current = 0;
        }
    }
    return set;
}

// A bank for the comparison: categories -3 or 3, 0, 1, 2 and 5 (each ticked
// seven times in ten) with two chapters each (each ticked one time in two)
// and a chapter row keyed 0; questions directly under their category, in a
// chapter of their own or of another category, in a chapter that does not
// exist, or with no chapter, some without a category; the user's rows with
// every verdict, repeated rows, rows without a verdict or a question, and
// rows of another user and an earlier pass.
void comparisonBank(ExamBankFixture& bank, std::mt19937& rng, int questions)
{
    const auto chance = [&](int percent) { return int(rng() % 100) < percent; };
    // Without a category below 0, no category and category 0 lie side by
    // side and the rotation takes them as one.
    const int categories[] = {chance(50) ? -3 : 3, 0, 1, 2, 5};
    bank.conn().exec(QStringLiteral("BEGIN"));
    bank.chapter(0, 1, chance(50));
    for (int i = 0; i < 5; ++i) {
        bank.category(categories[i], {}, chance(70));
        for (int k = 1; k <= 2; ++k)
            bank.chapter((i + 1) * 10 + k, categories[i], chance(50));
    }
    for (int n = 0; n < questions; ++n) {
        const int code = 1 + n * 37 % (questions * 2); // stored out of code order
        const int own = int(rng() % 5);
        const int pick = int(rng() % 20);
        ExamBankWriter::QuestionRow row = ExamBankWriter::QuestionRow::multipleChoice(code);
        row.type = int(rng() % 4) + 1;
        if (!chance(5))
            row.category = categories[own];
        if (pick < 10)
            row.chapter = 0;
        else if (pick < 15)
            row.chapter = (own + 1) * 10 + int(rng() % 2) + 1;
        else if (pick < 18)
            row.chapter = int(rng() % 5 + 1) * 10 + int(rng() % 2) + 1;
        else if (pick < 19)
            row.chapter = 99;
        bank.writer().addQuestion(row);
    }
    const Verdict verdicts[] = {Verdict::Right, Verdict::Wrong, Verdict::NoAnswer, Verdict::None};
    for (int i = 0; i < questions * 2 / 3; ++i) {
        const int code = 1 + int(rng() % unsigned(questions * 2));
        const int user = chance(80) ? kUser : kUser + 1;
        bank.progress(user, code, verdicts[chance(90) ? rng() % 3 : 3], chance(85) ? 0 : 1);
    }
    bank.conn().exec(QStringLiteral(
        "INSERT INTO Qe_Progress (userid, QuestionID, Correct, Wrong, NoAns, pass) VALUES (?, NULL, 0, 1, 0, 0)"),
        {kUser});
    bank.conn().exec(QStringLiteral("COMMIT"));
}

// A file from elsewhere: without the program's indexes, or with question
// and category tables that have no keys, so that a code can stand on two
// question rows (under another category or the same one) and a category on
// two rows.
enum class Layout { Ours, NoIndexes, NoKeys };

void reshape(ExamBankFixture& bank, Layout layout, std::mt19937& rng)
{
    if (layout == Layout::NoIndexes) {
        for (const char* index : {"Qe_QuestionsHead_Place", "Qe_QuestionsHead_Pool", "Qe_QuestionsHead_Cat"})
            bank.conn().exec(QStringLiteral("DROP INDEX ") + QLatin1String(index));
        return;
    }
    if (layout != Layout::NoKeys)
        return;
    bank.conn().execScript(QStringLiteral(
        "CREATE TABLE q AS SELECT * FROM Qe_QuestionsHead; DROP TABLE Qe_QuestionsHead;"
        "ALTER TABLE q RENAME TO Qe_QuestionsHead;"
        "CREATE TABLE c AS SELECT * FROM Qe_Category; DROP TABLE Qe_Category; ALTER TABLE c RENAME TO Qe_Category;"
        "INSERT INTO Qe_Category SELECT * FROM Qe_Category WHERE Qc_catcode IN (0, 2);"));
    const int categories[] = {3, 0, 1, 2, 5};
    for (const db::Row& row : bank.conn().query(
             QStringLiteral("SELECT Qq_QuestCode, Qq_ChapterCode FROM Qe_QuestionsHead WHERE Qq_QuestCode % 5 = 0")))
        bank.conn().exec(QStringLiteral("INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, "
                                        "Qq_TypeCode) SELECT Qq_QuestCode, ?, ?, Qq_TypeCode FROM Qe_QuestionsHead "
                                        "WHERE Qq_QuestCode = ? LIMIT 1"),
                         {categories[rng() % 5], rng() % 3 == 0 ? row.value(1) : QVariant(0), row.value(0)});
    // As the compatibility check leaves such a file.
    bank.conn().exec(schema::createPracticePlaceIndexSql());
}

// Over random banks of three layouts and several sizes, the streamed
// practice set takes exactly the questions, in the order, that the set
// built from the whole pool took, its whole pool is that pool in that order,
// and the start command's count is the whole pool's row count.
TEST(Practice, StreamedSetTakesWhatTheWholePoolSetTookForEveryLayout)
{
    int nonEmpty = 0, everyPriority = 0;
    for (unsigned seed = 1; seed <= 24; ++seed) {
        std::mt19937 rng(seed);
        const Layout layout = Layout(seed % 3);
        const int questions = seed % 2 ? 60 : 400;
        SCOPED_TRACE(testing::Message() << "seed " << seed << ", layout " << int(layout) << ", " << questions);
        ExamBankFixture bank;
        comparisonBank(bank, rng, questions);
        reshape(bank, layout, rng);

        ScriptedRandomSource random;
        QuestionSetBuilder builder(bank.conn(), random);
        const WholePoolSet whole = wholePoolSet(bank.conn(), kUser, 0);
        std::vector<std::pair<int, int>> pool;
        for (const auto& c : builder.practicePool(kUser))
            pool.emplace_back(c.code, c.priority);
        EXPECT_EQ(pool, whole.pool);
        EXPECT_EQ(ExamBank(bank.conn()).practicePoolCount(), whole.rows);
        for (const int count : {whole.rows - 1, whole.rows, whole.rows + 1})
            EXPECT_EQ(ExamBank(bank.conn()).practicePoolHolds(count), count <= whole.rows) << "holds " << count;
        std::set<int> priorities;
        for (const auto& [code, priority] : whole.pool)
            priorities.insert(priority);
        everyPriority += priorities.size() == 3;

        for (const int wanted : {1, 7, 30, 100, 1000}) {
            SCOPED_TRACE(wanted);
            const WholePoolSet expected = wholePoolSet(bank.conn(), kUser, wanted);
            QuestionList msflex;
            const QuestionSetResult result = builder.FillQuestionsByProgress(kUser, wanted, msflex);
            std::vector<std::pair<int, int>> taken;
            for (int row = 1; row < msflex.rows(); ++row)
                taken.emplace_back(msflex.questionCode(row), msflex.number(row, colTypeCode));
            EXPECT_EQ(taken, expected.taken);
            EXPECT_EQ(result.ok, !expected.taken.empty());
            nonEmpty += !expected.taken.empty();
        }
    }
    EXPECT_GT(nonEmpty, 80) << "most banks give a set";
    EXPECT_GT(everyPriority, 12) << "most pools hold all three priorities";
}

TEST(Practice, NothingTickedOrNothingWantedDoesNotStartAnExam)
{
    for (int wanted : {10, 0}) {
        ExamBankFixture bank;
        bank.category(1, {}, wanted == 0).questions(101, 5, 1);
        ScriptedRandomSource random;
        const Built built = buildFor(ExamMode::Practice, bank, random, wanted);
        EXPECT_FALSE(built.result.ok);
        EXPECT_EQ(built.result.message, "No Questions selected. Cannot Proceed");
        expectEmpty(built.msflex);
        EXPECT_EQ(random.draws(), 0);
    }
}

TEST(Practice, VariantIsTheWholePartOfFourDrawsCappedToZeroToThree)
{
    PracticeBank p;
    p.bank.questions(101, 8, 1);
    ScriptedRandomSource random({0.0, 0.2499, 0.25, 0.5, 0.75, 0.999999, 1.0, -0.5});
    const Built built = p.build(8, random);
    ASSERT_TRUE(built.result.ok);
    QStringList variants;
    for (int row = 1; row < built.msflex.rows(); ++row)
        variants << built.msflex.text(row, built.msflex.cols() - 1);
    EXPECT_EQ(variants, (QStringList{"0", "0", "1", "2", "3", "3", "3", "0"}));
    EXPECT_EQ(built.msflex.choiceOrder(7), 3);
    EXPECT_EQ(random.randomizeCalls(), 1);
}

// ---- the session ----

TEST(ExamSession, CategoryRowsPerModeWord)
{
    ExamBankFixture bank;
    bank.category(3, {}, true).category(1, {}, false).category(2, {}, true);
    ExamSession session;
    session.openExamConnection(bank.connectionString());
    const struct {
        QString mode;
        Codes expected;
    } cases[] = {{QStringLiteral("PRACTICE"), {2, 3}},
                 {QStringLiteral("TEST"), {1, 2, 3}},
                 {QStringLiteral("SIMULATED"), {1, 2, 3}},
                 {QString(), {1, 2, 3}},
                 {QStringLiteral("practice"), {1, 2, 3}}};
    for (const auto& c : cases) {
        EXPECT_EQ(session.openCategoryRows(examModeFromWord(c.mode)), int(c.expected.size())) << c.mode.toStdString();
        Codes codes;
        for (const auto& row : session.CategoryRs)
            codes.push_back(int(row.integer(QStringLiteral("Qc_catcode"))));
        EXPECT_EQ(codes, c.expected) << c.mode.toStdString();
    }
}

TEST(ExamSession, StartValuesOfALoad)
{
    ExamSession session;
    const struct {
        QString mode;
        double clockSeconds;
    } cases[] = {{QStringLiteral("PRACTICE"), 0.0},
                 {QStringLiteral("TEST"), 0.0},
                 {QStringLiteral("SIMULATED"), 60.0},
                 {QStringLiteral("ADAPTIVE"), 60.0},
                 {QStringLiteral("test"), 60.0}};
    for (const auto& c : cases) {
        session.msflex.addQuestion(5, 1);
        session.cboCategory.set(5, 1);
        session.ExamAborted = session.TimeOver = session.EndDeclined = true;
        session.CurrentQuestion = session.QuestionsReached = 9;
        session.SkipActivateGuard = false;
        session.gReviewGoto = true;
        session.gUserAnswer = session.PageAnswer = QStringLiteral("A");
        session.startValues(examModeFromWord(c.mode));
        EXPECT_EQ(session.ClockSeconds, c.clockSeconds) << c.mode.toStdString();
        EXPECT_EQ(session.ClockMinutes, 0);
        EXPECT_TRUE(session.SkipActivateGuard);
        EXPECT_FALSE(session.ExamAborted || session.TimeOver || session.EndDeclined || session.gReviewGoto);
        EXPECT_EQ(session.CurrentQuestion, 1);
        EXPECT_EQ(session.QuestionsReached, 1);
        EXPECT_EQ(session.AdaptiveLevel, 1);
        EXPECT_TRUE(session.PageAnswer.isEmpty() && session.gUserAnswer.isEmpty());
        expectEmpty(session.msflex);
        EXPECT_EQ(session.cboCategory.size(), 0);
    }
    EXPECT_EQ(session.ChoiceLetters[0], QString());
    EXPECT_EQ(session.ChoiceLetters[1], "A");
    EXPECT_EQ(session.ChoiceLetters[7], "G");
}

TEST(ExamSession, TheExamRunsOverTheQuestionsDrawnAndNeverOverAFailedBuild)
{
    ExamBankFixture bank;
    bank.category(1, {3, 3, 0, 0, 0}, true).questions(101, 4, 1);
    ScriptedRandomSource random;

    ExamSession session;
    session.startValues(ExamMode::Practice);
    session.openExamConnection(bank.connectionString());
    session.openCategoryRows(ExamMode::Practice);
    session.launch.gQuizQuestionCount = 10;
    QuestionSetResult result =
        session.buildQuestionSet(ExamMode::Practice, kUser, session.launch.gQuizQuestionCount, random);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(session.questionCount(), 4);
    EXPECT_EQ(session.launch.gQuizQuestionCount, 4);
    EXPECT_EQ(session.bankQuestionCount, 4) << "the bank is counted with the set, for End Exam";
    EXPECT_FALSE(session.ExamAborted);

    // A simulated exam may draw more than the launch record says, too.
    session.startValues(ExamMode::Simulated);
    session.openCategoryRows(ExamMode::Simulated);
    session.launch.gQuizQuestionCount = 2;
    result = session.buildQuestionSet(ExamMode::Simulated, kUser, session.launch.gQuizQuestionCount, random);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(session.launch.gQuizQuestionCount, 3);

    bank.conn().exec(QStringLiteral("UPDATE Qe_Category SET Qc_Perc_Of_Questions = 5"));
    session.startValues(ExamMode::Simulated);
    session.openCategoryRows(ExamMode::Simulated);
    session.launch.gQuizQuestionCount = 5;
    result = session.buildQuestionSet(ExamMode::Simulated, kUser, session.launch.gQuizQuestionCount, random);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Invalid exam directives. Cannot Proceed");
    EXPECT_TRUE(session.ExamAborted);
    EXPECT_EQ(session.questionCount(), 0);
    EXPECT_EQ(session.launch.gQuizQuestionCount, 5);
    EXPECT_FALSE(session.bankQuestionCount);
}

TEST(ExamSession, ADatabaseErrorIsReportedAndAbortsTheExam)
{
    const struct {
        QString mode;
        const char* drop;
    } cases[] = {{QStringLiteral("PRACTICE"), "DROP TABLE Qe_Progress"},
                 {QStringLiteral("SIMULATED"), "DROP TABLE Qe_QuestionsHead"},
                 {QStringLiteral("TEST"), "DROP TABLE Qe_QuestionsHead"}};
    for (const auto& c : cases) {
        ExamBankFixture bank;
        bank.category(1, {2, 2, 0, 0, 0}, true).questions(101, 4, 1);
        ExamSession session;
        session.startValues(examModeFromWord(c.mode));
        session.openExamConnection(bank.connectionString());
        session.openCategoryRows(examModeFromWord(c.mode));
        bank.conn().exec(QString::fromLatin1(c.drop));
        ScriptedRandomSource random;
        const QuestionSetResult result = session.buildQuestionSet(examModeFromWord(c.mode), kUser, 5, random);
        EXPECT_FALSE(result.ok) << c.mode.toStdString();
        EXPECT_TRUE(result.message.contains(QStringLiteral("no such table"), Qt::CaseInsensitive))
            << result.message.toStdString();
        EXPECT_TRUE(session.ExamAborted);
        expectEmpty(session.msflex);
    }

    ExamSession closed;
    ScriptedRandomSource random;
    EXPECT_FALSE(closed.buildQuestionSet(ExamMode::Practice, kUser, 5, random).ok);
    EXPECT_TRUE(closed.ExamAborted);
}

// Another program holding the exam: every mode's draw says so in the
// program's words, never SQLite's, and the exam does not start.
TEST(ExamSession, AFileInUseIsReportedInTheProgramsWords)
{
    for (const QString& mode : {QStringLiteral("PRACTICE"), QStringLiteral("SIMULATED"), QStringLiteral("TEST")}) {
        SCOPED_TRACE(mode.toStdString());
        ExamBankFixture bank;
        bank.category(1, {2, 2, 0, 0, 0}, true).questions(101, 4, 1);
        ExamSession session;
        session.startValues(examModeFromWord(mode));
        session.openExamConnection(bank.connectionString());
        session.openCategoryRows(examModeFromWord(mode));
        session.ExamConn.setBusyTimeout(50);
        db::Connection other = db::Connection::openFile(bank.path());
        other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
        ScriptedRandomSource random;
        const QuestionSetResult result = session.buildQuestionSet(examModeFromWord(mode), kUser, 5, random);
        other.exec(QStringLiteral("ROLLBACK"));
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message,
                  QStringLiteral("The questions of the exam could not be drawn.\r\nThe exam database ") + bank.path()
                      + QStringLiteral(" is in use by another program.\r\nClose the other program "
                                       "that uses it, then try again."));
        EXPECT_TRUE(session.ExamAborted);
        expectEmpty(session.msflex);
    }
}

TEST(ExamSession, ChapterQuestionCategory)
{
    ExamBankFixture bank;
    bank.category(1).chapter(11, 1).question(101, 1).question(102, 1, 1, 11);
    ExamBankWriter::QuestionRow noChapter;
    noChapter.code = 103;
    noChapter.category = 1;
    bank.writer().addQuestion(noChapter);
    EXPECT_EQ(QuestionSetBuilder::GetChapterQuestionCategory(bank.conn(), 101), 1);
    EXPECT_EQ(QuestionSetBuilder::GetChapterQuestionCategory(bank.conn(), 102), 1);
    EXPECT_EQ(QuestionSetBuilder::GetChapterQuestionCategory(bank.conn(), 103), 0);
    EXPECT_EQ(QuestionSetBuilder::GetChapterQuestionCategory(bank.conn(), 999), 0);
}

} // namespace
