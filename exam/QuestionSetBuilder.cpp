#include "exam/QuestionSetBuilder.h"

#include "exam/CategoryMap.h"
#include "exam/QuestionList.h"
#include "exam/RandomSource.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/ExamBank.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// A database's failure while drawing, in the program's words.
QString drawFailureText(const db::Connection& exam, const db::DbError& error)
{
    return commandFailureText(QStringLiteral("The questions of the exam could not be drawn."),
                              DatabaseFile::exam(exam.path()), error);
}

using PoolQuestion = ExamBank::PoolQuestion;

// A category as the practice set orders them: questions without a category
// first, then by category code.
struct CategoryKey {
    bool isNull = false;
    int code = 0;
    bool operator<(const CategoryKey& other) const
    {
        return isNull != other.isNull ? isNull : code < other.code;
    }
    bool operator==(const CategoryKey& other) const { return isNull == other.isNull && code == other.code; }
};

CategoryKey keyOf(const PoolQuestion& q)
{
    return {q.categoryIsNull, q.category};
}

// The priority of each question the user has a current-pass row for: 1 any
// row wrong, else 2 any row unanswered, else 3 any row right, else 0 (no
// verdict: the question is left out).
std::unordered_map<int, int> progressPriorities(ExamBank& bank, int userCode)
{
    std::unordered_map<int, int> priorities;
    for (const ExamBank::ProgressMarks& row : bank.currentPassProgress(userCode)) {
        const int priority = row.wrong ? 1 : row.noAnswer ? 2 : row.right ? 3 : 0;
        const auto [it, added] = priorities.emplace(row.question, priority);
        if (!added && priority != 0 && (it->second == 0 || priority < it->second))
            it->second = priority;
    }
    return priorities;
}

// The questions of one place that the user has no current-pass row for, in
// code order, read in batches that grow as the set takes more of them.
class PlaceReader {
public:
    PlaceReader(ExamBank& bank, ExamBank::PracticePlace place, const std::unordered_map<int, int>& seen,
                int firstBatch)
        : m_bank(&bank), m_place(std::move(place)), m_seen(&seen), m_size(firstBatch)
    {
    }

    const PoolQuestion* head()
    {
        while (m_next == m_batch.size() && !m_done)
            fetch();
        return m_next < m_batch.size() ? &m_batch[m_next] : nullptr;
    }
    void pop() { ++m_next; }

private:
    void fetch()
    {
        std::vector<ExamBank::PlaceQuestion> rows = m_bank->placeQuestions(m_place, m_after, m_size);
        m_done = int(rows.size()) < m_size;
        if (!m_done && rows.back().storedCode.isNull()) {
            // Codes stored as NULL come first and give no place to read on
            // from: read the rest of the place at once.
            // Only the first batch can end on one.
            rows = m_bank->placeQuestions(m_place, QVariant(), -1);
            m_done = true;
        }
        if (!rows.empty())
            m_after = rows.back().storedCode;
        m_batch.clear();
        m_next = 0;
        for (const ExamBank::PlaceQuestion& row : rows)
            if (!m_seen->count(row.question.code))
                m_batch.push_back(row.question);
        m_size = std::min(m_size * 2, 1024);
    }

    ExamBank* m_bank;
    ExamBank::PracticePlace m_place;
    const std::unordered_map<int, int>* m_seen;
    QVariant m_after;
    int m_size;
    bool m_done = false;
    std::vector<PoolQuestion> m_batch;
    size_t m_next = 0;
};

// For a file whose codes can repeat: the lowest category of the pool's rows
// of each repeated code. A question stands once, under that category.
using FirstCategories = std::unordered_map<int, CategoryKey>;

// One priority's questions of one category in code order, each once: the
// questions listed from the user's progress merged with those the places
// read.
class CategoryStream {
public:
    CategoryStream(CategoryKey key, const FirstCategories& first) : m_key(key), m_first(&first) { }

    CategoryKey key() const { return m_key; }
    std::vector<PoolQuestion> listed;
    std::vector<PlaceReader> places;

    const PoolQuestion* head()
    {
        for (;;) {
            const PoolQuestion* best = m_nextListed < listed.size() ? &listed[m_nextListed] : nullptr;
            m_from = best ? kListed : kNone;
            for (size_t i = 0; i < places.size(); ++i) {
                const PoolQuestion* q = places[i].head();
                if (q && (!best || q->code < best->code)) {
                    best = q;
                    m_from = int(i);
                }
            }
            if (!best)
                return nullptr;
            const auto first = m_first->find(best->code);
            if ((m_haveLast && best->code == m_last) || (first != m_first->end() && first->second < m_key)) {
                advance();
                continue;
            }
            return best;
        }
    }
    void pop()
    {
        m_last = head()->code;
        m_haveLast = true;
        advance();
    }

private:
    static constexpr int kNone = -2;
    static constexpr int kListed = -1;
    void advance()
    {
        if (m_from == kListed)
            ++m_nextListed;
        else if (m_from >= 0)
            places[size_t(m_from)].pop();
        m_from = kNone;
    }

    CategoryKey m_key;
    const FirstCategories* m_first;
    size_t m_nextListed = 0;
    int m_from = kNone;
    bool m_haveLast = false;
    int m_last = 0;
};

// The categories of one priority side by side whose codes are equal (no
// category and category 0 when nothing lies between them): the rotation
// treats them as one, the first before the second.
struct Run {
    std::vector<CategoryStream*> parts;
    const PoolQuestion* head()
    {
        for (CategoryStream* part : parts)
            if (const PoolQuestion* q = part->head())
                return q;
        return nullptr;
    }
    void pop()
    {
        for (CategoryStream* part : parts)
            if (part->head()) {
                part->pop();
                return;
            }
    }
};

// Takes up to `wanted` questions of one priority: the first of the first
// category, the first of the next category, and so on, wrapping round to the
// first category left.
void takeByCategoryRotation(std::vector<CategoryStream>& categories, int& wanted, QuestionList& msflex)
{
    std::vector<Run> runs;
    for (CategoryStream& category : categories) {
        if (!category.head())
            continue;
        if (runs.empty() || runs.back().parts.back()->key().code != category.key().code)
            runs.emplace_back();
        runs.back().parts.push_back(&category);
    }
    size_t current = 0;
    while (wanted > 0 && !runs.empty()) {
        Run& run = runs[current];
        const PoolQuestion& q = *run.head();
        msflex.addQuestion(q.code, q.type);
        --wanted;
        run.pop();
        if (!run.head())
            runs.erase(runs.begin() + std::ptrdiff_t(current));
        else
            ++current;
        if (current >= runs.size())
            current = 0;
    }
}

// The rows of a pool not visited yet, in pool order: the k-th of them found
// and removed in a few steps each, however long the pool. A tree over the
// positions counts the rows removed; it starts all zero, so a long pool
// costs only the parts of the tree that a draw touches.
class Unvisited {
public:
    explicit Unvisited(size_t size) : m_removed(size + 1), m_left(int(size))
    {
        while (m_top * 2 <= size)
            m_top *= 2;
    }
    int size() const { return m_left; }
    // Removes the row at that position of the pool.
    void remove(size_t position)
    {
        for (size_t i = position + 1; i < m_removed.size(); i += i & (~i + 1))
            ++m_removed[i];
        --m_left;
    }
    // The position of the k-th (from 0) row not visited, which is removed.
    size_t take(int k)
    {
        size_t at = 0;
        int rest = k + 1;
        for (size_t step = m_top; step > 0; step /= 2) {
            const size_t next = at + step;
            if (next < m_removed.size() && int(step) - m_removed[next] < rest) {
                at = next;
                rest -= int(step) - m_removed[next];
            }
        }
        remove(at);
        return at;
    }

private:
    std::vector<int> m_removed; // 1-based: each node counts the removed rows of its span
    int m_left;
    size_t m_top = 1;
};

// Leaves out of a category's pool the rows whose question an earlier
// category gave already.
void removeTaken(const std::vector<ExamBank::PoolCode>& pool, const std::unordered_set<int>& taken,
                 Unvisited& unvisited)
{
    if (taken.empty())
        return;
    const auto byCode = [](const ExamBank::PoolCode& a, const ExamBank::PoolCode& b) { return a.code < b.code; };
    if (std::is_sorted(pool.begin(), pool.end(), byCode)) {
        for (const int code : taken) {
            const auto [first, last] = std::equal_range(pool.begin(), pool.end(), ExamBank::PoolCode{0, code}, byCode);
            for (auto it = first; it != last; ++it)
                unvisited.remove(size_t(it - pool.begin()));
        }
        return;
    }
    for (size_t i = 0; i < pool.size(); ++i)
        if (taken.count(pool[i].code))
            unvisited.remove(i);
}

} // namespace

// The practice pool by priority, each priority's questions per category
// streamed from the user's progress rows and the places of the pool.
class QuestionSetBuilder::PracticeStreams {
public:
    PracticeStreams(db::Connection& conn, int userCode) : m_bank(conn)
    {
        m_seen = progressPriorities(m_bank, userCode);
        if (m_bank.questionCodesCanRepeat())
            for (const PoolQuestion& q : m_bank.practicePoolRepeatedCodes()) {
                const auto [it, added] = m_first.emplace(q.code, keyOf(q));
                if (!added && keyOf(q) < it->second)
                    it->second = keyOf(q);
            }
        // Each question once, at its lowest category, as the pool's order
        // (category, then code) meets it first.
        std::vector<PoolQuestion> seen = m_bank.practicePoolSeenBy(userCode);
        std::stable_sort(seen.begin(), seen.end(), [](const PoolQuestion& x, const PoolQuestion& y) {
            return keyOf(x) == keyOf(y) ? x.code < y.code : keyOf(x) < keyOf(y);
        });
        std::unordered_set<int> listed;
        for (const PoolQuestion& q : seen) {
            const auto priority = m_seen.find(q.code);
            if (priority == m_seen.end() || priority->second == 0 || !listed.insert(q.code).second)
                continue;
            m_listed[priority->second].push_back(q);
        }
    }

    // The categories of a priority in order; the unseen questions (priority
    // 2) come from the places, read only as far as they are taken, at first
    // each place's share of the number wanted.
    std::vector<CategoryStream> categories(int priority, int wanted)
    {
        std::map<CategoryKey, CategoryStream> byKey;
        const auto stream = [&](CategoryKey key) -> CategoryStream& {
            return byKey.try_emplace(key, key, m_first).first->second;
        };
        for (const PoolQuestion& q : m_listed[priority])
            stream(keyOf(q)).listed.push_back(q);
        if (priority == 2) {
            std::vector<ExamBank::PracticePlace> places = m_bank.practicePlaces();
            const int firstBatch = std::clamp(wanted / std::max(1, int(places.size())) + 2, 2, 1024);
            for (ExamBank::PracticePlace& place : places) {
                const CategoryKey key{place.category.isNull(), wholeNumber(place.category)};
                stream(key).places.emplace_back(m_bank, std::move(place), m_seen, firstBatch);
            }
        }
        std::vector<CategoryStream> ordered;
        ordered.reserve(byKey.size());
        for (auto& [key, category] : byKey)
            ordered.push_back(std::move(category));
        return ordered;
    }

private:
    ExamBank m_bank;
    std::unordered_map<int, int> m_seen;
    FirstCategories m_first;
    std::vector<PoolQuestion> m_listed[4];
};

std::vector<QuestionSetBuilder::PracticeCandidate> QuestionSetBuilder::practicePool(int userCode)
{
    PracticeStreams streams(m_conn, userCode);
    std::vector<PracticeCandidate> pool;
    for (int priority = 1; priority <= 3; ++priority)
        for (CategoryStream& category : streams.categories(priority, 1024))
            for (const PoolQuestion* q = category.head(); q; category.pop(), q = category.head())
                pool.push_back({q->code, q->type, q->category, q->categoryIsNull, priority});
    return pool;
}

QuestionSetBuilder::QuestionSetBuilder(db::Connection& ExamConn, RandomSource& random)
    : m_conn(ExamConn), m_random(random)
{
}

db::ResultSet QuestionSetBuilder::categoryRows(db::Connection& ExamConn, ExamMode mode)
{
    return ExamBank(ExamConn).categoryRows(mode == ExamMode::Practice);
}

QuestionSetResult QuestionSetBuilder::build(ExamMode mode, const db::ResultSet& CategoryRs, int userCode, int wanted,
                                            QuestionList& msflex, CategoryMap& cboCategory)
{
    QuestionSetResult result;
    if (mode == ExamMode::Simulated)
        result = BuildExamFromDirectives(CategoryRs, msflex, cboCategory);
    else if (mode == ExamMode::Test)
        result = FillQuestionsByCategory(CategoryRs, msflex, cboCategory);
    else
        result = FillQuestionsByProgress(userCode, wanted, msflex);
    if (!result.ok)
        return result;
    // The pass's share is of the bank as it stands at Start: counted once
    // here, so that End Exam's cost follows the answers it writes.
    try {
        result.bankQuestions = ExamBank(m_conn).questionCount();
    } catch (const db::DbError& e) {
        msflex.clear();
        cboCategory.clear();
        return QuestionSetResult::failure(drawFailureText(m_conn, e));
    }
    return result;
}

QuestionSetResult QuestionSetBuilder::BuildExamFromDirectives(const db::ResultSet& CategoryRs, QuestionList& msflex,
                                                              CategoryMap& cboCategory)
{
    return drawPerCategory(Draw::Directives, CategoryRs, msflex, cboCategory);
}

QuestionSetResult QuestionSetBuilder::FillQuestionsByCategory(const db::ResultSet& CategoryRs, QuestionList& msflex,
                                                              CategoryMap& cboCategory)
{
    return drawPerCategory(Draw::Share, CategoryRs, msflex, cboCategory);
}

QuestionSetResult QuestionSetBuilder::drawPerCategory(Draw kind, const db::ResultSet& CategoryRs, QuestionList& msflex,
                                                      CategoryMap& cboCategory)
{
    const QString failureText = kind == Draw::Directives ? invalidExamDirectivesText() : invalidDirectivesText();
    const auto fail = [&](const QString& message) {
        msflex.clear();
        cboCategory.clear();
        return QuestionSetResult::failure(message);
    };
    try {
        msflex.clear();
        const int share = kind == Draw::Share ? GetCategoryCount() : 0;
        ExamBank bank(m_conn);
        std::unordered_set<int> taken;

        for (const db::Row& category : CategoryRs) {
            // The codes only: a draw fetches the one row it visits.
            const ExamBank::PoolCodes codes = bank.categoryPoolCodes(category.value(QStringLiteral("Qc_catcode")));
            const std::vector<ExamBank::PoolCode>& pool = *codes;
            Unvisited unvisited(pool.size());
            removeTaken(pool, taken, unvisited);
            // A category without questions adds nothing, whatever it asks for.
            if (unvisited.size() == 0)
                continue;

            int count = share;
            int limit[5] = {0, 1, 1, 1, 1}; // index = question type; the pretest has no type limits
            if (kind == Draw::Directives) {
                count = wholeNumber(category.value(QStringLiteral("Qc_Perc_Of_Questions")));
                limit[1] = wholeNumber(category.value(QStringLiteral("Qc_mChoice")));
                limit[2] = wholeNumber(category.value(QStringLiteral("qc_essay")));
                limit[3] = wholeNumber(category.value(QStringLiteral("qc_fill")));
                limit[4] = wholeNumber(category.value(QStringLiteral("qc_interact")));
            }

            m_random.randomize();
            // Each draw visits one row not visited before, uniformly: the same
            // outcome as redrawing until an unvisited row comes up, in at most
            // one draw per row.
            while (count >= 1) {
                const int k = drawIndex(m_random.rnd(), unvisited.size());
                const std::optional<ExamBank::PoolQuestion> drawn = bank.poolQuestion(pool[unvisited.take(k)].row);
                if (!drawn)
                    return fail(failureText);
                const ExamBank::PoolQuestion& q = *drawn;
                cboCategory.set(q.code, q.category);
                if (q.type >= 1 && q.type <= 4 && limit[q.type] > 0) {
                    if (kind == Draw::Directives)
                        --limit[q.type];
                    taken.insert(q.code);
                    msflex.addQuestion(q.code, q.type);
                    --count;
                }
                if (unvisited.size() == 0 && count > 0)
                    return fail(failureText);
            }
        }
        if (msflex.questionCount() == 0)
            return fail(failureText);
        drawChoiceOrders(msflex);
        return QuestionSetResult::success(msflex.questionCount());
    } catch (const db::DbError& e) {
        return fail(drawFailureText(m_conn, e));
    } catch (const std::exception& e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}

QuestionSetResult QuestionSetBuilder::FillQuestionsByProgress(int userCode, int wanted, QuestionList& msflex)
{
    try {
        msflex.clear();
        if (wanted > 0) {
            PracticeStreams streams(m_conn, userCode);
            for (int priority = 1; priority <= 3 && wanted > 0; ++priority) {
                std::vector<CategoryStream> categories = streams.categories(priority, wanted);
                takeByCategoryRotation(categories, wanted, msflex);
            }
        }
        if (msflex.questionCount() == 0) {
            msflex.clear();
            return QuestionSetResult::failure(noQuestionsText());
        }
        drawChoiceOrders(msflex);
        return QuestionSetResult::success(msflex.questionCount());
    } catch (const db::DbError& e) {
        msflex.clear();
        return QuestionSetResult::failure(drawFailureText(m_conn, e));
    } catch (const std::exception& e) {
        msflex.clear();
        return QuestionSetResult::failure(QString::fromLocal8Bit(e.what()));
    }
}

int QuestionSetBuilder::drawIndex(double draw, int size)
{
    const double scaled = std::floor(draw * size);
    return int(std::clamp(scaled, 0.0, double(size - 1)));
}

int QuestionSetBuilder::GetCategoryCount()
{
    return pretestShare(ExamBank(m_conn).categoryCount());
}

int QuestionSetBuilder::pretestShare(int categoryCount)
{
    return categoryCount < 1 ? 0 : int(std::nearbyint(30.0 / categoryCount + 1.0));
}

int QuestionSetBuilder::GetChapterQuestionCategory(db::Connection& ExamConn, int questCode)
{
    return ExamBank(ExamConn).chapterQuestionCategory(questCode);
}

void QuestionSetBuilder::drawChoiceOrders(QuestionList& msflex)
{
    msflex.addColumn();
    const int last = msflex.cols() - 1;
    m_random.randomize();
    for (int row = 1; row < msflex.rows(); ++row) {
        const double scaled = std::floor(m_random.rnd() * 4);
        msflex.setText(row, last, QString::number(int(std::clamp(scaled, 0.0, 3.0))));
    }
}
