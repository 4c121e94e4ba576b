#include "bench/BenchRegistry.h"
#include "bench/SanitizerShare.h"
#include "exam/QuestionPage.h"
#include "foundation/ExamBank.h"
#include "platform/db/Transaction.h"
#include "tests/support/ExamBankFixture.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <functional>
#include <memory>

// The question page of each type, built from a 20,000-question bank whose
// answer tables hold rows for every question of their type (5 choices, 2
// blanks, 6 list items and 3 right answers each), beside the floor of the
// bank reads the builder makes for that page (the same ExamBank calls; the
// essay page reads nothing, so its floor is the head read it is built from).
// The target is a page under 1 ms.
namespace {

constexpr int kQuestions = 20000;
constexpr int kFirst = kQuestions + 1; // the six benchmarked questions
enum { MultipleChoice = 1, Essay = 2, FillIn = 3, Interactive = 4 };

const QString kText = QStringLiteral("Which of the following apply?\r\n<UL>\r\n\r\n<LI>the first case</LI>\r\n\r\n"
                                     "<LI>the second case</LI>\r\n\r\n</UL>\r\nChoose <b>all</b> that apply.");

void addAnswers(ExamBankWriter& writer, int code, int type)
{
    switch (type) {
    case MultipleChoice:
        for (int seq = 1; seq <= 5; ++seq)
            writer.addChoice({code, seq, QStringLiteral("Choice %1 of question %2\r\nsecond line").arg(seq).arg(code),
                              seq % 2 == 1});
        break;
    case Essay:
    case FillIn:
        writer.addFillAnswer(code, QStringLiteral("Paris|Lutetia"));
        writer.addFillAnswer(code, QStringLiteral("Rome|Roma"));
        break;
    default:
        for (int i = 1; i <= 6; ++i)
            writer.addInteractiveRow({code, QStringLiteral("Node %1").arg(i), i, QStringLiteral("Item %1").arg(i), i,
                                      QStringLiteral("Root")});
        for (int i = 1; i <= 3; ++i)
            writer.addInteractiveAnswer(
                {code, QStringLiteral("Item %1").arg(i), i, QStringLiteral("Item %1").arg(i), i});
    }
}

ExamBankFixture& bank()
{
    static std::unique_ptr<ExamBankFixture> fixture = [] {
        auto f = std::make_unique<ExamBankFixture>();
        ExamBankFixture::Shape shape;
        shape.questions = kQuestions;
        shape.progressRows = 0;
        f->generate(shape);
        db::Transaction transaction(f->conn());
        for (int code = 1; code <= kQuestions; ++code)
            addAnswers(f->writer(), code, (code - 1) % 4 + 1);
        const int kinds[][2] = {{MultipleChoice, 0}, {Essay, 0},       {FillIn, 0},
                                {Interactive, 1},    {Interactive, 2}, {Interactive, 3}};
        for (int i = 0; i < 6; ++i) {
            f->shownQuestion(kFirst + i, kinds[i][0], kinds[i][1], kText, QStringLiteral("The model answer."));
            addAnswers(f->writer(), kFirst + i, kinds[i][0]);
        }
        transaction.commit();
        f->conn().execScript(QStringLiteral("ANALYZE"));
        return f;
    }();
    return *fixture;
}

void benchPage(const char* what, int code, bool showAnswer, const QString& recorded,
               const std::function<void(ExamBank&)>& reads)
{
    ExamBank exam(bank().conn());
    PageInputs in;
    in.questCode = code;
    in.head = exam.questionHead(code).value();
    in.recordedAnswer = recorded;
    in.choiceOrder = 2;
    in.showAnswer = showAnswer;
    in.fontName = QStringLiteral("Verdana");
    in.fontSize = 12;
    in.examDbPath = bank().path();
    in.programFolder = QFileInfo(bank().path()).absolutePath();
    in.blockRightClick = true;

    const double floor = bench::bestOf(200, [&] { reads(exam); });
    qsizetype size = 0;
    const auto [ours, withoutSanitizer] = bench::bestWithAndWithoutSanitizer(200, [&] {
        const BuiltPage page = buildQuestionPage(exam, in);
        size = page.html.size() + page.leftHtm.size();
    });
    std::printf("%s: %lld characters, %.3f ms with the sanitizer, %.3f ms without (target under 1 ms: %s)\n", what,
                static_cast<long long>(size), ours, withoutSanitizer, ours < 1.0 ? "ok" : "OVER");
    bench::report(what, ours, floor, 3.0);
    bench::report("  the same page with the sanitizer (vs without it)", ours, withoutSanitizer, 3.0);
}

} // namespace

ZIDUVER_BENCH("question page: each type from a 20,000-question bank")
{
    benchPage("multiple choice, answer shown (vs its choice read)", kFirst, true, QStringLiteral("1,3,"),
              [](ExamBank& b) { b.choices(kFirst); });
    // The essay page reads nothing: its floor is the head read it is built from.
    benchPage("essay (vs its question head read)", kFirst + 1, false, QStringLiteral("An essay of some length."),
              [](ExamBank& b) { b.questionHead(kFirst + 1); });
    benchPage("fill in, answer shown (vs its blanks read)", kFirst + 2, true, QString(),
              [](ExamBank& b) { b.fillAnswers(kFirst + 2); });
    benchPage("ordered list, answer shown (vs its items read)", kFirst + 3, true, QString(),
              [](ExamBank& b) { b.interactiveItems(kFirst + 3); });
    benchPage("tree, answer shown (vs its items and answers read)", kFirst + 4, true, QString(), [](ExamBank& b) {
        b.interactiveItems(kFirst + 4);
        b.interactiveAnswers(kFirst + 4);
    });
    benchPage("select and place, answer shown (vs items and answers)", kFirst + 5, true, QString(), [](ExamBank& b) {
        b.interactiveItems(kFirst + 5);
        b.interactiveAnswers(kFirst + 5);
    });
}
