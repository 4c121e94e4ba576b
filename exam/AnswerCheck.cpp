#include "exam/AnswerCheck.h"

#include "foundation/DatabaseProblem.h"
#include "foundation/TextRules.h"

#include "exam/QuestionList.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <QStringList>
#include <exception>
#include <optional>
#include <vector>

namespace {

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// Columns 2, 3 and 5 as most types write them; column 4 is the verdict.
void record(QuestionList& msflex, int row, const QString& answer, const QString& comparison, bool right,
            const QString& answerForEmptyTest)
{
    msflex.setText(row, colUserAnswer, answer);
    msflex.setText(row, colRightAnswer, comparison);
    msflex.setText(row, colCorrect, flag(right));
    msflex.setText(row, colNoAnswer, flag(trimBlanks(answerForEmptyTest).isEmpty()));
}

// Each answer field, trimmed, must be one of the right sequence numbers (an
// empty field passes), and there must be as many fields as right choices, so
// the order is free and the choice order on screen does not matter. Fields
// are compared whole: a substring test would take "1" for a right "11".
bool judgeMultipleChoice(ExamBank& bank, QuestionList& msflex, int row, int questCode, const QString& answer,
                         CheckOutcome& outcome)
{
    QString comparison;
    QStringList rightSeqs;
    for (const ExamBank::Choice& choice : bank.choices(questCode)) {
        if (!choice.right)
            continue;
        const QString seq = QString::number(choice.seq);
        comparison += seq + QStringLiteral(", ");
        rightSeqs << seq;
    }
    const QStringList given = splitFields(answer, QLatin1Char(','));
    bool right = given.size() == splitFields(comparison, QLatin1Char(',')).size();
    if (right) {
        for (const QString& field : given) {
            const QString seq = trimBlanks(field);
            if (!seq.isEmpty() && !rightSeqs.contains(seq)) {
                right = false;
                break;
            }
        }
    }
    outcome.userAnswer = answer;
    outcome.userAnswerSet = true;
    record(msflex, row, answer, comparison, right, answer);
    return right;
}

// Every key row must name a word or phrase the essay contains; no row, no
// credit. No right-answer text is recorded.
bool judgeEssay(ExamBank& bank, QuestionList& msflex, int row, int questCode, const QString& answer)
{
    bool right = false;
    for (const QString& key : bank.fillAnswers(questCode)) {
        right = MatchFillAnswer(key, answer);
        if (!right)
            break;
    }
    record(msflex, row, answer, QString(), right, answer);
    return right;
}

// One "|"-terminated text per blank, in the order of the rows; a one-blank
// question may send its text alone. Each blank must equal, ignoring case and
// outer blanks, one "|"-separated alternative of its row. A wrong separator
// count is wrong at once.
bool judgeFillIn(ExamBank& bank, QuestionList& msflex, int row, int questCode, const QString& answer)
{
    const QString trimmed = trimBlanks(answer);
    QString comparison;
    bool right = false;
    if (!trimmed.isEmpty()) {
        const QStringList given = splitFields(answer, QLatin1Char('|'));
        // A text box holds no line break (it drops them from what is typed
        // or pasted), so none in a key can be asked for.
        const auto boxForm = [](QString key) {
            key.remove(QLatin1Char('\r'));
            key.remove(QLatin1Char('\n'));
            return key;
        };
        const std::vector<QString> blanks = bank.fillAnswers(questCode);
        const qsizetype count = qsizetype(blanks.size());
        const qsizetype separators = given.size() - 1;
        if (count >= 1 && (separators == count || (separators == 0 && count == 1))) {
            for (qsizetype i = 0; i < count; ++i) {
                const QString bar = QStringLiteral("|");
                comparison = bar + trimBlanks(boxForm(blanks[size_t(i)])).toUpper() + bar;
                right = comparison.contains(bar + trimBlanks(given[i]).toUpper() + bar);
                if (!right)
                    break;
            }
        }
    }
    record(msflex, row, trimmed, comparison, right, trimmed);
    return right;
}

// Joins texts with "," between them; none is put before the first while the
// joined text is still blank.
void appendListed(QString& joined, const QString& value)
{
    if (trimBlanks(joined).isEmpty())
        joined += value;
    else
        joined += QLatin1Char(',') + value;
}

// The page reports its items as its parser left them (a CR LF is an LF
// there), so the key is compared in that form; the stored texts are what is
// recorded. An item the page cannot place (white space only) is not part of
// the key.
bool judgeOrderedList(ExamBank& bank, QuestionList& msflex, int row, int questCode, const QString& answer)
{
    QString comparison;
    QString key;
    for (const ExamBank::InteractiveItem& item : bank.interactiveItems(questCode))
        if (!blankOnPage(item.rightItem)) {
            appendListed(comparison, item.rightItem);
            appendListed(key, pageFormText(item.rightItem));
        }
    const bool right = trimBlanks(pageFormText(answer)) == trimBlanks(key);
    record(msflex, row, answer, comparison, right, answer);
    return right;
}

// Every place counts, an empty one too; compared in the page's form.
bool judgeSelectAndPlace(ExamBank& bank, QuestionList& msflex, int row, int questCode, const QString& answer)
{
    QString comparison;
    QString key;
    for (const ExamBank::InteractiveAnswer& place : bank.interactiveAnswers(questCode)) {
        appendListed(comparison, place.rightText);
        appendListed(key, pageFormText(place.rightText));
    }
    const bool right = trimBlanks(key) == trimBlanks(pageFormText(answer));
    record(msflex, row, answer, comparison, right, answer);
    return right;
}

// Every node of the key (an item with a text) needs an entry "node#leaf#..."
// whose leaves include each of its right leaves; entries and leaves may come
// in any order and extra leaves do no harm; a node without right leaves can
// never be right. Texts compare exactly, in the page's form (the tree page
// reports texts as its parser left them). Empty entries are passed over. The
// verdict column is reset with the answer, so a check that stops at an error
// leaves no earlier verdict standing for the new answer.
bool judgeTree(ExamBank& bank, QuestionList& msflex, int row, int questCode, const QString& answer)
{
    msflex.setText(row, colUserAnswer, answer);
    msflex.setText(row, colNoAnswer, flag(trimBlanks(answer).isEmpty()));
    msflex.setText(row, colCorrect, flag(false));
    const QStringList entries = splitFields(pageFormText(answer), QLatin1Char(','));
    bool right = false;
    std::optional<std::vector<ExamBank::InteractiveAnswer>> leaves;
    for (const ExamBank::InteractiveItem& node : bank.interactiveItems(questCode)) {
        if (node.leftItem.isEmpty())
            continue;
        std::optional<QStringList> placed;
        for (const QString& entry : entries) {
            if (entry.isEmpty())
                continue;
            QStringList parts = entry.split(QLatin1Char('#'));
            if (parts.first() == pageFormText(node.leftItem)) {
                parts.removeFirst();
                placed = std::move(parts);
                break;
            }
        }
        if (!placed) {
            right = false;
            break;
        }
        if (!leaves)
            leaves = bank.interactiveAnswers(questCode);
        bool any = false;
        bool all = true;
        for (const ExamBank::InteractiveAnswer& leaf : *leaves) {
            if (leaf.nodeSeq != node.leftSeq)
                continue;
            any = true;
            if (!placed->contains(pageFormText(leaf.leftText))) {
                all = false;
                break;
            }
        }
        right = any && all;
        if (!right)
            break;
    }
    msflex.setText(row, colRightAnswer, answer);
    msflex.setText(row, colCorrect, flag(right));
    return right;
}

// Kinds 1 ordered list, 2 tree, 3 select and place, read afresh from the
// question; any other kind is not judged and leaves the row as it was.
bool judgeInteractive(ExamBank& bank, QuestionList& msflex, int row, int questCode, const QString& answer)
{
    const std::optional<ExamBank::QuestionHead> head = bank.questionHead(questCode);
    switch (head ? head->interactiveCode : 0) {
    case 1:
        return judgeOrderedList(bank, msflex, row, questCode, answer);
    case 2:
        return judgeTree(bank, msflex, row, questCode, answer);
    case 3:
        return judgeSelectAndPlace(bank, msflex, row, questCode, answer);
    default:
        return false;
    }
}

} // namespace

CheckOutcome CheckAnswer(ExamBank& bank, QuestionList& msflex, int row, const CheckInputs& inputs)
{
    CheckOutcome outcome;
    const QString& answer = inputs.pageAnswer;
    try {
        switch (inputs.questType) {
        case 1:
            outcome.right = judgeMultipleChoice(bank, msflex, row, inputs.questCode, answer, outcome);
            break;
        case 2:
            outcome.right = judgeEssay(bank, msflex, row, inputs.questCode, answer);
            break;
        case 3:
            outcome.right = judgeFillIn(bank, msflex, row, inputs.questCode, answer);
            break;
        case 4:
            outcome.right = judgeInteractive(bank, msflex, row, inputs.questCode, answer);
            break;
        default:
            break;
        }
        // A question with no answer is never right, whatever its key holds:
        // a key left empty (NULL items) would otherwise equal the empty
        // answer.
        if (inputs.questType >= 1 && inputs.questType <= 4 && trimBlanks(answer).isEmpty()) {
            outcome.right = false;
            msflex.setText(row, colCorrect, flag(false));
        }
        // The mark is kept only where the marked list is offered.
        if (inputs.mode == ExamMode::Simulated || inputs.mode == ExamMode::Test)
            msflex.setText(row, colMarked, flag(inputs.marked));
        outcome.examScore = SumCorrectMarks(bank, msflex);
    } catch (const db::DbError& error) {
        // The program's own words, naming the file: a lock held by another
        // program is something the user can act on.
        outcome.error =
            databaseProblemText(QStringLiteral("The answer could not be checked."), bank.connection().path(), error);
    } catch (const std::exception& error) {
        outcome.error = QString::fromUtf8(error.what());
    } catch (...) {
        outcome.error = QStringLiteral("Unexpected error");
    }
    return outcome;
}

int SumCorrectMarks(ExamBank& bank, const QuestionList& msflex)
{
    int total = 0;
    for (int row = 1; row < msflex.rows(); ++row)
        if (msflex.number(row, colCorrect) == 1)
            total += GetQuestionPoints(bank, msflex.number(row, colQuestCode));
    return total;
}

int GetQuestionPoints(ExamBank& bank, int questCode)
{
    int difficulty = 0;
    try {
        if (const std::optional<ExamBank::QuestionHead> head = bank.questionHead(questCode))
            difficulty = head->difficulty;
    } catch (const std::exception&) {
        difficulty = 0;
    }
    if (difficulty == 0)
        difficulty = 1;
    try {
        return bank.pointsOfDifficulty(difficulty);
    } catch (const std::exception&) {
        return 0;
    }
}

// The essay box reports line breaks as LF: a key's CR LF compares as that,
// and one at a phrase's ends (a stored row's own line end) asks for nothing.
bool MatchFillAnswer(const QString& accepted, const QString& answer)
{
    const QString text = trimBlanks(pageFormText(answer).toUpper());
    for (const QString& alternative : splitFields(pageFormText(accepted), QLatin1Char('|'))) {
        QString wanted = alternative.toUpper();
        while (wanted.endsWith(QLatin1Char('\n')) || wanted.endsWith(QLatin1Char(' ')))
            wanted.chop(1);
        while (wanted.startsWith(QLatin1Char('\n')) || wanted.startsWith(QLatin1Char(' ')))
            wanted.remove(0, 1);
        if (!wanted.isEmpty() && text.contains(wanted))
            return true;
    }
    return false;
}
