// The database layer against plain SQLite calls: writing a question bank in
// one transaction, and reading questions by key.
#include "bench/BenchRegistry.h"

#include "foundation/ExamBankWriter.h"
#include "foundation/Schema.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"
#include "tools/mkdata/ExamGenerator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <random>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kQuestions = 20000;
constexpr int kChoices = 4;
constexpr int kLookups = 50000;

const char* const kLookupSql = "SELECT * FROM Qe_QuestionsHead WHERE Qq_QuestCode = ?";

// The texts are made once, outside the timed work, as UTF-8 for the raw
// calls and as QString for the layer (which is what its callers hold).
struct Bank {
    std::vector<std::string> text, explanation, choice;
    std::vector<QString> qtext, qexplanation, qchoice;
    Bank()
    {
        for (int i = 0; i < kQuestions; ++i) {
            text.push_back("Which command shows the state of unit number " + std::to_string(i)
                           + " and its most recent log lines?");
            explanation.push_back("systemctl status prints the unit state; see chapter " + std::to_string(i % 40)
                                  + ".");
            qtext.push_back(QString::fromStdString(text.back()));
            qexplanation.push_back(QString::fromStdString(explanation.back()));
        }
        for (int c = 0; c < kChoices; ++c) {
            choice.push_back("systemctl option " + std::to_string(c + 1));
            qchoice.push_back(QString::fromStdString(choice.back()));
        }
    }
};

const Bank& bank()
{
    static const Bank instance;
    return instance;
}

QString freshExam(const QTemporaryDir& dir, const char* name)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile::remove(path);
    db::Connection connection = db::Connection::create(path);
    schema::createExamDatabase(connection);
    return path;
}

void check(int rc, sqlite3* handle, int expected = SQLITE_OK)
{
    if (rc != expected)
        throw std::runtime_error(sqlite3_errmsg(handle));
}

sqlite3* openRaw(const QString& path)
{
    sqlite3* handle = nullptr;
    check(sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr),
          handle);
    // The same settings the layer gives every connection.
    sqlite3_busy_timeout(handle, 5000);
    check(sqlite3_exec(handle, "PRAGMA synchronous=FULL; PRAGMA foreign_keys=OFF", nullptr, nullptr, nullptr), handle);
    return handle;
}

void insertWithLayer(const QString& path)
{
    const Bank& b = bank();
    db::Connection connection = db::Connection::openFile(path);
    db::Transaction transaction(connection);
    ExamBankWriter writer(connection);
    ExamBankWriter::QuestionRow head = ExamBankWriter::QuestionRow::multipleChoice(0);
    for (int i = 0; i < kQuestions; ++i) {
        const int code = i + 1;
        head.code = code;
        head.category = i % 8 + 1;
        head.chapter = i % 24 + 1;
        head.text = b.qtext[size_t(i)];
        head.explanation = b.qexplanation[size_t(i)];
        head.difficulty = i % 3 + 1;
        writer.addQuestion(head);
        for (int c = 0; c < kChoices; ++c)
            writer.addChoice({code, c + 1, b.qchoice[size_t(c)], c == i % kChoices});
    }
    transaction.commit();
}

void insertRaw(const QString& path)
{
    const Bank& b = bank();
    sqlite3* handle = openRaw(path);
    check(sqlite3_exec(handle, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), handle);
    // The same statements as the writer's, bound the same way (the model
    // answer is never bound, so it stays NULL).
    sqlite3_stmt* head = nullptr;
    sqlite3_stmt* choice = nullptr;
    check(sqlite3_prepare_v2(handle, ExamBankWriter::addQuestionSql(true).toUtf8().constData(), -1, &head, nullptr),
          handle);
    check(sqlite3_prepare_v2(handle, ExamBankWriter::addChoiceSql().toUtf8().constData(), -1, &choice, nullptr),
          handle);
    for (int i = 0; i < kQuestions; ++i) {
        const int code = i + 1;
        sqlite3_bind_int(head, 1, code);
        sqlite3_bind_int(head, 2, i % 8 + 1);
        sqlite3_bind_int(head, 3, i % 24 + 1);
        sqlite3_bind_int(head, 4, 1);
        sqlite3_bind_int(head, 5, 0);
        sqlite3_bind_text(head, 6, b.text[size_t(i)].c_str(), int(b.text[size_t(i)].size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(head, 7, b.explanation[size_t(i)].c_str(), int(b.explanation[size_t(i)].size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_int(head, 8, i % 3 + 1);
        sqlite3_bind_int(head, 9, 0);
        sqlite3_bind_int(head, 10, 0);
        check(sqlite3_step(head), handle, SQLITE_DONE);
        sqlite3_reset(head);
        for (int c = 0; c < kChoices; ++c) {
            sqlite3_bind_int(choice, 1, code);
            sqlite3_bind_int(choice, 2, c + 1);
            sqlite3_bind_text(choice, 3, b.choice[size_t(c)].c_str(), int(b.choice[size_t(c)].size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_int(choice, 4, c == i % kChoices ? 1 : 0);
            check(sqlite3_step(choice), handle, SQLITE_DONE);
            sqlite3_reset(choice);
        }
    }
    sqlite3_finalize(head);
    sqlite3_finalize(choice);
    check(sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr), handle);
    sqlite3_close_v2(handle);
}

std::vector<int> lookupKeys()
{
    std::mt19937 random(42);
    std::uniform_int_distribution<int> pick(1, kQuestions);
    std::vector<int> keys(kLookups);
    for (int& key : keys)
        key = pick(random);
    return keys;
}

// Reading a row means getting its values into the caller's hands: the raw
// side copies the texts out as the layer does (into QString).
// Reads every row of a stepped statement as the layer would (text into
// QString), folded into a number so that nothing is optimised away.
qint64 sumRows(sqlite3_stmt* stmt)
{
    qint64 sum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const int columns = sqlite3_column_count(stmt);
        for (int i = 0; i < columns; ++i) {
            if (sqlite3_column_type(stmt, i) == SQLITE_TEXT) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
                sum += QString::fromUtf8(text, sqlite3_column_bytes(stmt, i)).size();
            } else {
                sum += sqlite3_column_int64(stmt, i);
            }
        }
    }
    return sum;
}

qint64 lookupRaw(const QString& path, const std::vector<int>& keys)
{
    sqlite3* handle = openRaw(path);
    sqlite3_stmt* stmt = nullptr;
    check(sqlite3_prepare_v2(handle, kLookupSql, -1, &stmt, nullptr), handle);
    qint64 sum = 0;
    for (int key : keys) {
        sqlite3_bind_int(stmt, 1, key);
        sum += sumRows(stmt);
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_close_v2(handle);
    return sum;
}

// The same with the statement prepared for every lookup, as a caller without
// a kept statement would do.
qint64 lookupRawPreparingEach(const QString& path, const std::vector<int>& keys)
{
    sqlite3* handle = openRaw(path);
    qint64 sum = 0;
    for (int key : keys) {
        sqlite3_stmt* stmt = nullptr;
        check(sqlite3_prepare_v2(handle, kLookupSql, -1, &stmt, nullptr), handle);
        sqlite3_bind_int(stmt, 1, key);
        sum += sumRows(stmt);
        sqlite3_finalize(stmt);
    }
    sqlite3_close_v2(handle);
    return sum;
}

qint64 sumRow(const db::ResultSet& rows)
{
    qint64 sum = 0;
    for (const db::Row& row : rows)
        for (int i = 0; i < row.size(); ++i)
            sum += row.value(i).typeId() == QMetaType::QString ? row.value(i).toString().size() : row.integer(i);
    return sum;
}

qint64 lookupWithStatement(const QString& path, const std::vector<int>& keys)
{
    db::Connection connection = db::Connection::openFile(path);
    db::Statement stmt = connection.prepare(QLatin1String(kLookupSql));
    qint64 sum = 0;
    for (int key : keys)
        sum += sumRow(stmt.query({key}));
    return sum;
}

qint64 lookupWithQuery(const QString& path, const std::vector<int>& keys)
{
    db::Connection connection = db::Connection::openFile(path);
    qint64 sum = 0;
    for (int key : keys)
        sum += sumRow(connection.query(QLatin1String(kLookupSql), {key}));
    return sum;
}

// Best time of the work alone; the setup before each run is not timed.
template <typename Setup, typename Work> double bestOfWithSetup(int runs, Setup&& setup, Work&& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        setup();
        best = std::min(best, bench::bestOf(1, work));
    }
    return best;
}

} // namespace

ZIDUVER_BENCH("db layer: 20,000-question bank and lookups by key")
{
    QTemporaryDir dir;
    bank();
    const QString layerFile = freshExam(dir, "layer.qzr");
    const QString rawFile = freshExam(dir, "raw.qzr");

    // Each run writes into a freshly created, empty database (not timed).
    const double raw = bestOfWithSetup(
        5, [&] { freshExam(dir, "raw.qzr"); }, [&] { insertRaw(rawFile); });
    const double layer = bestOfWithSetup(
        5, [&] { freshExam(dir, "layer.qzr"); }, [&] { insertWithLayer(layerFile); });
    bench::report("insert 20,000 questions + 80,000 choices (1 transaction)", layer, raw, 1.5);

    const std::vector<int> keys = lookupKeys();
    qint64 rawSum = 0, rawEachSum = 0, stmtSum = 0, querySum = 0;
    const double rawLookup = bench::bestOf(5, [&] { rawSum = lookupRaw(rawFile, keys); });
    const double rawEachLookup = bench::bestOf(5, [&] { rawEachSum = lookupRawPreparingEach(rawFile, keys); });
    const double stmtLookup = bench::bestOf(5, [&] { stmtSum = lookupWithStatement(layerFile, keys); });
    const double queryLookup = bench::bestOf(5, [&] { querySum = lookupWithQuery(layerFile, keys); });
    bench::report("50,000 lookups: prepared Statement::query", stmtLookup, rawLookup, 1.5);
    bench::report("50,000 lookups: Connection::query vs raw prepare each", queryLookup, rawEachLookup, 1.5);
    bench::report("50,000 lookups: Connection::query vs raw kept statement", queryLookup, rawLookup, 1.5);
    if (rawSum != stmtSum || rawSum != querySum || rawSum != rawEachSum)
        std::printf("  MISMATCH: the lookups read different data\n");
}

ZIDUVER_BENCH("db layer: synthetic exam of 20,000 questions")
{
    QTemporaryDir dir;
    const double took = bestOfWithSetup(
        3, [&] { freshExam(dir, "synthetic.qzr"); },
        [&] {
            db::Connection exam = db::Connection::openFile(dir.filePath(QStringLiteral("synthetic.qzr")));
            generateExam(exam, kQuestions, 1);
        });
    // No floor to compare with; the target is "well under a few seconds".
    std::printf("%-58s %9.2f ms\n", "generateExam, 20,000 questions of every kind", took);
}
