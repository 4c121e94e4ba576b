#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/ExamDiscovery.h"
#include "foundation/ProgramFolder.h"
#include "foundation/ReferenceSchema.h"
#include "foundation/SchemaCheck.h"
#include "foundation/SharedState.h"
#include "platform/db/Connection.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>
#include <limits>

namespace {

// The whole schema of a file, to tell whether a check changed anything.
QString schemaText(const QString& path)
{
    auto c = db::Connection::openFile(path);
    return c.query(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY name")).getString();
}

class SchemaCheck : public ::testing::Test {
protected:
    void SetUp() override { gLogin.gAppName = QStringLiteral("Ziduver Test"); }
    TempHome home;
    RecordingUiHooks ui;
    ExamDbFixture fixture{home};
};

TEST_F(SchemaCheck, CurrentDatabasePassesWithoutChangeOrMessage)
{
    const QString path = fixture.createExam(QStringLiteral("ok.qzr"));
    const QString before = schemaText(path);
    for (short messageSwitch : {1, 2}) {
        EXPECT_TRUE(CompatibleDB(path, messageSwitch));
    }
    EXPECT_EQ(schemaText(path), before);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FALSE(gDiscovery.gInvalidDbFlag);
    EXPECT_TRUE(readDebugLog().isEmpty()) << "nothing is logged without the debug flag when all goes well";
}

// Refusals: a differing number of columns is always told; a column that is
// missing (same count) only with switch 1. Both set the flag; only the count
// refusal lists the path.
TEST_F(SchemaCheck, RefusalsAndTheirMessages)
{
    struct Case {
        const char* name;
        ExamDbOptions options;
        short messageSwitch;
        bool message;
        bool listed;
    };
    ExamDbOptions extra;
    extra.extraColumns = {QStringLiteral("Qe_Category.Qc_Colour")};
    ExamDbOptions recased;
    recased.renamedColumns = {{QStringLiteral("Qe_Category.Qc_cat_desc"), QStringLiteral("qc_cat_desc")}};
    ExamDbOptions renamed;
    renamed.renamedColumns = {{QStringLiteral("Qe_Category.qc_fill"), QStringLiteral("qc_blank")}};
    ExamDbOptions fewer;
    fewer.droppedColumns = {QStringLiteral("Qe_Category.qc_interact")};
    const Case cases[] = {
        {"extra column, start-up", extra, 2, true, true},
        {"extra column, administration", extra, 1, true, true},
        {"fewer columns, start-up", fewer, 2, true, true},
        {"re-cased column, start-up", recased, 2, false, false},
        {"re-cased column, administration", recased, 1, true, false},
        {"renamed column, start-up", renamed, 2, false, false},
        {"renamed column, administration", renamed, 1, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clear();
        gDiscovery.gInvalidDbFlag = false;
        gDiscovery.gInvalidExamsList.clear();
        const QString path = fixture.createExam(QStringLiteral("x.qzr"), c.options);

        EXPECT_FALSE(CompatibleDB(path, c.messageSwitch));
        EXPECT_TRUE(gDiscovery.gInvalidDbFlag);
        EXPECT_EQ(gDiscovery.gInvalidExamsList, c.listed ? path + QLatin1Char(',') : QString());
        if (c.message) {
            ASSERT_EQ(ui.messages().size(), 1u);
            EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Non-compatible database. Cannot use: Qe_Category"));
            EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Ziduver Test"));
            EXPECT_EQ(ui.messages()[0].style, 1);
        } else {
            EXPECT_TRUE(ui.messages().empty());
        }
    }
}

// A file that cannot be read as an exam database, or a reference that cannot
// be read, is refused through the error path: logged always, no flag, no
// message, never a crash.
TEST_F(SchemaCheck, UnreadableDatabasesAndReferenceAreRefusedSilently)
{
    ExamDbOptions noImages;
    noImages.droppedTables = {QStringLiteral("Qe_Images")};
    const QString missingTable = fixture.createExam(QStringLiteral("noimages.qzr"), noImages);
    home.write(QStringLiteral("text.qzr"), "This is not a database, just a text file with the extension.\n");
    const QString textFile = home.file(QStringLiteral("text.qzr"));
    home.write(QStringLiteral("empty.qzr"), "");
    const QString emptyFile = home.file(QStringLiteral("empty.qzr"));
    const QString missingFile = home.file(QStringLiteral("nothere.qzr"));
    const QString folder = home.path();

    for (const QString& path : {missingTable, textFile, emptyFile, missingFile, folder}) {
        SCOPED_TRACE(path.toStdString());
        removeDebugLog();
        EXPECT_FALSE(CompatibleDB(path, 1));
        EXPECT_FALSE(gDiscovery.gInvalidDbFlag);
        EXPECT_TRUE(ui.messages().empty());
        EXPECT_TRUE(readDebugLog().contains(QStringLiteral(": Module Name CompatibleDB: Date/Time: ")));
        EXPECT_TRUE(readDebugLog().contains(QStringLiteral(" #") + path));
    }

    // A table that is not compared may be missing.
    ExamDbOptions noProgress;
    noProgress.droppedTables = {QStringLiteral("Qe_Progress")};
    EXPECT_TRUE(CompatibleDB(fixture.createExam(QStringLiteral("noprogress.qzr"), noProgress), 2));

    // Without the reference nothing can pass.
    const QString good = fixture.createExam(QStringLiteral("good.qzr"));
    QFile::remove(fixture.referencePath());
    removeDebugLog();
    EXPECT_FALSE(CompatibleDB(good, 1));
    EXPECT_FALSE(gDiscovery.gInvalidDbFlag);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(readDebugLog().contains(QStringLiteral(": Module Name CompatibleDB: Date/Time: ")));
}

// The check comes before the upgrade: a file it refuses, whether foreign,
// empty or an exam database of another layout, is left byte for byte as it
// was (no learning-objective table, no model-answer column, no 8 KB
// database made of an empty file).
TEST_F(SchemaCheck, RefusedFilesAreLeftByteForByte)
{
    {
        db::Connection foreign = db::Connection::create(home.file(QStringLiteral("foreign.qzr")));
        foreign.execScript(QStringLiteral("CREATE TABLE customers (id INTEGER, name TEXT);"
                                          "INSERT INTO customers VALUES (1, 'Smith')"));
    }
    home.write(QStringLiteral("empty.qzr"), "");
    home.write(QStringLiteral("text.qzr"), "plain text\n");
    ExamDbOptions legacyExtra;
    legacyExtra.layout = schema::ExamLayout::Legacy;
    legacyExtra.extraColumns = {QStringLiteral("Qe_Category.Qc_Colour")};
    ExamDbOptions legacyRenamed;
    legacyRenamed.layout = schema::ExamLayout::Legacy;
    legacyRenamed.renamedColumns = {{QStringLiteral("Qe_Exam.Qe_ProductId"), QStringLiteral("Qe_ProductID")}};
    ExamDbOptions legacyNoImages;
    legacyNoImages.layout = schema::ExamLayout::Legacy;
    legacyNoImages.droppedTables = {QStringLiteral("Qe_Images")};
    const QString files[] = {
        home.file(QStringLiteral("foreign.qzr")),
        home.file(QStringLiteral("empty.qzr")),
        home.file(QStringLiteral("text.qzr")),
        fixture.createExam(QStringLiteral("extra.qzr"), legacyExtra),
        fixture.createExam(QStringLiteral("renamed.qzr"), legacyRenamed),
        fixture.createExam(QStringLiteral("noimages.qzr"), legacyNoImages),
    };
    for (const QString& path : files) {
        for (short messageSwitch : {1, 2}) {
            SCOPED_TRACE(path.toStdString() + " switch " + std::to_string(messageSwitch));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray before = file.readAll();
            file.close();

            EXPECT_FALSE(CompatibleDB(path, messageSwitch));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), before);
            file.close();
            EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));
        }
    }
}

// An exam database holds tables only: one whose question table is a view
// (which could hold a query that never ends), or that holds a trigger, is
// refused before anything is read from it or written to it, with a message
// only where every refusal is shown.
TEST_F(SchemaCheck, ViewsAndTriggersAreRefusedUnchanged)
{
    const struct {
        const char* name;
        const char* change;
    } cases[] = {
        {"a view for a table", "ALTER TABLE Qe_QuestionsHead RENAME TO Qe_QuestionsHeadRows;"
                               "CREATE VIEW Qe_QuestionsHead AS SELECT * FROM Qe_QuestionsHeadRows"},
        {"a trigger", "CREATE TRIGGER t AFTER DELETE ON Qe_User BEGIN DELETE FROM Qe_Exam; END"},
    };
    for (const auto& c : cases) {
        for (const short messageSwitch : {short(ShowColumnCountOnly), short(ShowEveryRefusal)}) {
            SCOPED_TRACE(std::string(c.name) + ", switch " + std::to_string(messageSwitch));
            ui.clear();
            gDiscovery.gInvalidDbFlag = false;
            ExamDbOptions legacy;
            legacy.layout = schema::ExamLayout::Legacy;
            const QString path = fixture.createExam(QStringLiteral("old%1.qzr").arg(messageSwitch), legacy);
            db::Connection::openFile(path).execScript(QLatin1String(c.change));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray before = file.readAll();
            file.close();

            EXPECT_FALSE(CompatibleDB(path, messageSwitch));
            EXPECT_TRUE(gDiscovery.gInvalidDbFlag);
            if (messageSwitch == ShowEveryRefusal)
                EXPECT_EQ(ui.messageTexts(),
                          QStringList{QStringLiteral("Non-compatible database. Cannot use: ") + path
                                      + QStringLiteral("\r\nIt holds views or triggers, which an exam database "
                                                       "never holds.")});
            else
                EXPECT_TRUE(ui.messageTexts().isEmpty());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), before) << "no upgrade was written";
            file.close();
            QFile::remove(path);
        }
    }
}

TEST_F(SchemaCheck, ReferenceMissingALaterTableStillRefusesAnEarlierMismatch)
{
    ExamDbOptions referenceWithoutUsers;
    referenceWithoutUsers.droppedTables = {QStringLiteral("Qe_User")};
    fixture.rebuildReference(referenceWithoutUsers);

    ExamDbOptions extra;
    extra.extraColumns = {QStringLiteral("Qe_AnswerChoice.Qc_Weight")};
    EXPECT_FALSE(CompatibleDB(fixture.createExam(QStringLiteral("extra.qzr"), extra), 2));
    EXPECT_TRUE(gDiscovery.gInvalidDbFlag) << "Qe_AnswerChoice is compared before the reference's gap is reached";
    EXPECT_EQ(ui.messages().size(), 1u);

    gDiscovery.gInvalidDbFlag = false;
    ui.clear();
    EXPECT_FALSE(CompatibleDB(fixture.createExam(QStringLiteral("plain.qzr")), 2));
    EXPECT_FALSE(gDiscovery.gInvalidDbFlag);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(SchemaCheck, OldDatabaseIsUpgradedOnceAndThenLeftAlone)
{
    ExamDbOptions legacy;
    legacy.layout = schema::ExamLayout::Legacy;
    legacy.questionCount = 3;
    const QString path = fixture.createExam(QStringLiteral("old.qzr"), legacy);

    EXPECT_TRUE(CompatibleDB(path, 2));
    auto exam = db::Connection::openFile(path);
    EXPECT_TRUE(exam.hasTable(QStringLiteral("Qe_LOS")));
    EXPECT_EQ(exam.tableColumns(QStringLiteral("Qe_LOS")),
              db::Connection::openFile(fixture.referencePath()).tableColumns(QStringLiteral("Qe_LOS")));
    EXPECT_TRUE(exam.tableColumns(QStringLiteral("Qe_QuestionsHead")).contains(QStringLiteral("QQ_CorrectAnswer")));
    // The model answer is text: leading zeros survive.
    exam.exec(QStringLiteral("UPDATE Qe_QuestionsHead SET QQ_CorrectAnswer = ? WHERE Qq_QuestCode = 1"),
              {QStringLiteral("0042")});
    EXPECT_EQ(exam.scalar(QStringLiteral("SELECT QQ_CorrectAnswer FROM Qe_QuestionsHead WHERE Qq_QuestCode = 1")),
              QVariant(QStringLiteral("0042")));
    exam.close();

    const QString upgraded = schemaText(path);
    EXPECT_TRUE(CompatibleDB(path, 1));
    EXPECT_EQ(schemaText(path), upgraded);
    EXPECT_TRUE(readDebugLog().isEmpty()) << "the upgrade found in place is not an error";
    EXPECT_TRUE(ui.messages().empty());
}

// A file without the question indexes gets them at the check: the random
// draws read a category's codes, and the practice drill counts the ticked
// pool, from the index alone.
TEST_F(SchemaCheck, TheCheckAddsTheQuestionIndexesTheDrawsRead)
{
    const struct {
        const char* index;
        QString sql;
        db::Params params;
    } cases[] = {{"Qe_QuestionsHead_Pool", ExamBank::categoryPoolCodesSql(), {1}},
                 {"Qe_QuestionsHead_Place", ExamBank::practicePoolCountSql(), {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        ExamDbOptions legacy;
        legacy.layout = schema::ExamLayout::Legacy;
        legacy.questionCount = 3;
        const QString path = fixture.createExam(QStringLiteral("old-%1.qzr").arg(QLatin1String(c.index)), legacy);
        db::Connection::openFile(path).exec(QStringLiteral("DROP INDEX IF EXISTS ") + QLatin1String(c.index));
        const auto plan = [&] {
            return db::Connection::openFile(path).query(QStringLiteral("EXPLAIN QUERY PLAN ") + c.sql, c.params).getString();
        };
        EXPECT_FALSE(plan().contains(QLatin1String(c.index)));
        ASSERT_TRUE(CompatibleDB(path, ShowNoRefusal));
        EXPECT_TRUE(plan().contains(QStringLiteral("COVERING INDEX ") + QLatin1String(c.index))) << plan().toStdString();
    }
}

TEST_F(SchemaCheck, DebugLinesAreWrittenOnlyWithTheDebugFlag)
{
    const QString path = fixture.createExam(QStringLiteral("ok.qzr"));
    gStartup.gDebug = 1;
    EXPECT_TRUE(CompatibleDB(path, 2));
    gStartup.gDebug = 0;
    const QStringList lines = readDebugLog().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const QString date = logDate();
    const QString at = QStringLiteral(" #") + path;
    EXPECT_EQ(lines.value(0),
              "Started database compatibility checking function!(1): CompatibleDB :QmodPublic: Date/Time :" + date
                  + at);
    EXPECT_EQ(lines.value(1),
              "Started database compatibility checking function!(0): CompatibleDB :QmodPublic: Date/Time :" + date
                  + at);
    EXPECT_EQ(lines.value(2), "database opened: CompatibleDB :QmodPublic: Date/Time :" + date + at);
    EXPECT_EQ(lines.value(3),
              "databases opened for compatibility checking!: CompatibleDB :QmodPublic: Date/Time :" + date + at);
    EXPECT_EQ(lines.value(4),
              "Looping Through tables .! Check tables: CompatibleDB :QmodPublic: Date/Time :" + date
                  + " Current Table in process Qe_AnswerChoice");
    EXPECT_EQ(lines.value(5),
              "Looping Through fields.! Check tables: CompatibleDB :QmodPublic: Date/Time :" + date
                  + " Current Table in process Qe_AnswerChoice Field under processing Qc_QuestCode");
    // The upgrade comes once the database has passed.
    EXPECT_EQ(lines.value(lines.size() - 2),
              "database QQ_Correctanswer added: CompatibleDB :QmodPublic: Date/Time :" + date + at);
    EXPECT_EQ(lines.last(), "Compatible Exam Engine!: CompatibleDB:QmodPublic: Date/Time :" + date + path);
}

TEST_F(SchemaCheck, UpgradeStatementsIgnoreOnlyWhatExistsAlready)
{
    auto exam = db::Connection::openFile(fixture.createExam(QStringLiteral("ok.qzr")));
    EXPECT_FALSE(addTable(exam));
    EXPECT_FALSE(addField(exam, QStringLiteral("Qe_QuestionsHead"), QStringLiteral("QQ_CorrectAnswer")));
    EXPECT_TRUE(readDebugLog().isEmpty());

    EXPECT_FALSE(addField(exam, QStringLiteral("Qe_NoSuchTable"), QStringLiteral("QQ_CorrectAnswer")));
    const QString log = readDebugLog();
    EXPECT_TRUE(log.contains(QStringLiteral("no such table")));
    EXPECT_TRUE(log.contains(QStringLiteral(": Module Name addField: Date/Time: ")));
}

} // namespace

// A stored code, sequence number or pass beyond 32 bits is refused by name
// before anything is written; one at the edge of the range is used as
// stored: the pool holds it and the question is found by it.
TEST_F(SchemaCheck, StoredNumbersBeyondTheRangeAreRefusedByName)
{
    const qint64 limits[] = {2147483647LL, 2147483648LL, 9007199254740993LL, 4611686018427387904LL,
                             -2147483649LL, -2147483648LL, std::numeric_limits<qint64>::max()};
    const struct {
        const char* table;
        const char* column;
        const char* insert; // binds the number
    } places[] = {
        {"Qe_QuestionsHead", "Qq_QuestCode",
         "INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, Qq_Quest_Desc) "
         "VALUES (?, 1, 0, 1, 'edge')"},
        {"Qe_QuestionsHead", "Qq_CatCode", "INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode) VALUES (9, ?)"},
        {"Qe_Chapters", "Qc_catcode", "INSERT INTO Qe_Chapters (Qc_ChapterCode, Qc_catcode) VALUES (1, ?)"},
        {"Qe_AnswerChoice", "Qc_Choice_Seq", "INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq) VALUES (1, ?)"},
        {"Qe_Progress", "pass", "INSERT INTO Qe_Progress (userid, QuestionID, Correct, pass) VALUES (1, 1, 1, ?)"},
        {"Qe_Progress", "QuestionID", "INSERT INTO Qe_Progress (userid, QuestionID, pass) VALUES (1, ?, 0)"},
        {"Qe_LOS", "Qq_QuestCode", "INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat) VALUES (?, 1)"},
    };
    int file = 0;
    for (const auto& place : places) {
        for (const qint64 number : limits) {
            {
                const QVariant stored(number);
                SCOPED_TRACE(std::string(place.table) + "." + place.column + " = "
                             + stored.toString().toStdString());
                ui.clear();
                gDiscovery.gInvalidDbFlag = false;
                gDiscovery.gInvalidExamsList.clear();
                const QString path = fixture.createExam(QStringLiteral("n%1.qzr").arg(++file));
                {
                    auto exam = db::Connection::openFile(path);
                    exam.exec(QStringLiteral("INSERT INTO Qe_Category (Qc_catcode, Qc_Selected) VALUES (1, 1)"));
                    exam.exec(QString::fromLatin1(place.insert), {stored});
                }
                const bool fits = number >= -2147483648LL && number <= 2147483647LL;
                const QString before = schemaText(path);
                QString reason;
                db::Connection opened;
                EXPECT_EQ(CompatibleDB(path, ShowEveryRefusal, ReferenceSchema::load(), &opened, &reason), fits);
                EXPECT_EQ(schemaText(path), before);
                if (fits) {
                    EXPECT_TRUE(ui.messageTexts().isEmpty());
                    if (QLatin1String(place.column) == QLatin1String("Qq_QuestCode") && QLatin1String(place.table) == QLatin1String("Qe_QuestionsHead")) {
                        ExamBank bank(opened);
                        const auto pool = bank.categoryPool(1);
                        ASSERT_EQ(pool.size(), 1u);
                        EXPECT_EQ(pool.front().code, number);
                        const auto head = bank.questionHead(pool.front().code);
                        ASSERT_TRUE(head);
                        EXPECT_EQ(head->text, QStringLiteral("edge"));
                    }
                    continue;
                }
                const QString shown = QString::number(number);
                const QString words = QStringLiteral("holds %1 in column %2 of table %3, beyond the numbers the "
                                                     "program can use")
                                          .arg(shown, QLatin1String(place.column), QLatin1String(place.table));
                EXPECT_EQ(reason, words);
                EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Non-compatible database. Cannot use: ") + path
                                                         + QStringLiteral("\r\nIt ") + words + QLatin1Char('.')});
                EXPECT_TRUE(gDiscovery.gInvalidDbFlag);
                EXPECT_TRUE(gDiscovery.gInvalidExamsList.contains(path));
            }
        }
    }
}

namespace {

// Every table the program reads or writes holds plain stored values: a
// generated column (the exam description made 200 MB long on every read, a
// stored one that adds 50 MB to the file per answer), an index on an
// expression or a WHERE clause, a virtual table, and any difference from the
// reference in the written tables are refused before anything is written,
// told as a differing table is.
TEST_F(SchemaCheck, ComputedValuesAndWrittenTablesAreRefusedUnchanged)
{
    const struct {
        const char* name;
        const char* table;
        const char* change;
    } cases[] = {
        {"a generated description", "Qe_Exam",
         "DROP TABLE Qe_Exam; CREATE TABLE Qe_Exam (Qe_ExamCode TEXT, Qe_Exam_Desc TEXT AS "
         "('Linux ' || printf('%.*c', 200000000, 'x')), Qe_ValidDB INTEGER, Qe_Simulated_Time INTEGER, "
         "Qe_Simulated_PassScore INTEGER, Qe_Simulated_NoofQuest INTEGER, Qe_Adaptive_Time INTEGER, "
         "Qe_Adaptive_PassScore INTEGER, Qe_Adaptive_NoofQuest INTEGER, Qe_ProductId TEXT, Qe_Version_No TEXT, "
         "Qe_ExamComment TEXT); INSERT INTO Qe_Exam (Qe_ExamCode, Qe_ValidDB) VALUES ('EX1', 1)"},
        {"a stored generated column in a written column", "Qe_Progress",
         "DROP TABLE Qe_Progress; CREATE TABLE Qe_Progress (userid INTEGER, QuestionID INTEGER, Correct INTEGER, "
         "Wrong INTEGER, NoAns INTEGER, pass INTEGER AS (length(printf('%.*c', 50000000, 'x')) * 0) STORED)"},
        {"a stored generated column added", "Qe_Progress",
         "DROP TABLE Qe_Progress; CREATE TABLE Qe_Progress (userid INTEGER, QuestionID INTEGER, Correct INTEGER, "
         "Wrong INTEGER, NoAns INTEGER, pass INTEGER, pad TEXT AS (printf('%.*c', 50000000, 'x')) STORED)"},
        {"an extra progress column", "Qe_Progress", "ALTER TABLE Qe_Progress ADD Qp_Note TEXT"},
        {"an objective column renamed", "Qe_LOS", "ALTER TABLE Qe_LOS RENAME Qq_Status TO Qq_State"},
        {"an index on an expression", "Qe_Progress",
         "CREATE INDEX pad ON Qe_Progress (printf('%.*c', 10000000, 'x'))"},
        {"a partial index", "Qe_UserNotes",
         "CREATE INDEX busy ON Qe_UserNotes (Qn_UserCode) WHERE length(printf('%.*c', 10000000, 'x')) > 0"},
        {"a virtual table", "Qe_Images", "DROP TABLE Qe_Images; CREATE VIRTUAL TABLE Qe_Images USING fts5(Qm_Reserved)"},
    };
    for (const auto& c : cases) {
        for (const short messageSwitch : {short(ShowColumnCountOnly), short(ShowEveryRefusal)}) {
            SCOPED_TRACE(std::string(c.name) + ", switch " + std::to_string(messageSwitch));
            ui.clear();
            gDiscovery.gInvalidDbFlag = false;
            const QString path = fixture.createExam(QStringLiteral("computed.qzr"));
            db::Connection::openFile(path).execScript(QLatin1String(c.change));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray before = file.readAll();
            file.close();

            QString reason;
            EXPECT_FALSE(CompatibleDB(path, messageSwitch, ReferenceSchema::load(), nullptr, &reason));
            EXPECT_TRUE(gDiscovery.gInvalidDbFlag);
            EXPECT_TRUE(reason.startsWith(QStringLiteral("has a table %1 unlike the program's layout")
                                              .arg(QLatin1String(c.table))))
                << reason.toStdString();
            if (messageSwitch == ShowEveryRefusal) {
                EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Non-compatible database. Cannot use: ")
                                                         + QLatin1String(c.table)});
            }
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), before) << "nothing was written";
            file.close();
            QFile::remove(path);
        }
    }
}

// A reference from before the written tables were compared still serves: the
// program's own layout of them stands in, and a missing written table is
// still no reason to refuse.
TEST_F(SchemaCheck, AReferenceWithoutTheWrittenTablesUsesTheProgramsLayout)
{
    ExamDbOptions oldReference;
    oldReference.droppedTables = {QStringLiteral("Qe_Progress"), QStringLiteral("Qe_LOS")};
    fixture.rebuildReference(oldReference);
    EXPECT_TRUE(CompatibleDB(fixture.createExam(QStringLiteral("plain.qzr")), ShowEveryRefusal));
    ExamDbOptions noProgress;
    noProgress.droppedTables = {QStringLiteral("Qe_Progress")};
    EXPECT_TRUE(CompatibleDB(fixture.createExam(QStringLiteral("noprogress.qzr"), noProgress), ShowEveryRefusal));
    ExamDbOptions extra;
    extra.extraColumns = {QStringLiteral("Qe_Progress.Qp_Pad")};
    EXPECT_FALSE(CompatibleDB(fixture.createExam(QStringLiteral("extra.qzr"), extra), ShowEveryRefusal));
    EXPECT_TRUE(gDiscovery.gInvalidDbFlag);
}

} // namespace

namespace {

bool logsTableLoop(const QString& path, const ReferenceSchema& reference)
{
    QFile::remove(debugLogPath());
    gStartup.gDebug = 1;
    const bool passed = CompatibleDB(path, ShowColumnCountOnly, reference);
    gStartup.gDebug = 0;
    EXPECT_TRUE(passed);
    return readDebugLog().contains(QStringLiteral("Looping Through tables"));
}

void waitPastTheClockTick()
{
    QThread::msleep(40);
}

// A file that passed is not read again while it and the reference stay as
// they were; any change to either checks it whole again, and a change made
// in the same tick of the file clock as the pass is never missed.
TEST_F(SchemaCheck, APassHoldsOnlyForTheUnchangedFileAndReference)
{
    forgetPassedExamFiles();
    const ReferenceSchema reference = ReferenceSchema::load();
    const QString path = fixture.createExam(QStringLiteral("ok.qzr"));
    waitPastTheClockTick();
    EXPECT_TRUE(logsTableLoop(path, reference)) << "the first check reads the tables";
    EXPECT_FALSE(logsTableLoop(path, reference)) << "an unchanged file is not read again";

    db::Connection opened;
    QString reason = QStringLiteral("stale");
    EXPECT_TRUE(CompatibleDB(path, ShowNoRefusal, reference, &opened, &reason));
    EXPECT_TRUE(opened.hasTable(QStringLiteral("Qe_QuestionsHead"))) << "the connection is handed over";
    EXPECT_TRUE(reason.isEmpty());
    opened.close();

    // Another reference: the same file is checked against it.
    const QString otherReference = QDir(home.path()).filePath(QStringLiteral("other.SKL"));
    ASSERT_TRUE(QFile::copy(fixture.referencePath(), otherReference));
    db::Connection::openFile(otherReference)
        .exec(QStringLiteral("ALTER TABLE Qe_Exam ADD Qe_Extra INTEGER"));
    EXPECT_FALSE(CompatibleDB(path, ShowNoRefusal, ReferenceSchema::loadFrom(otherReference)));

    // The file changed in place, at once and after a pause: refused by name.
    for (const bool pause : {false, true}) {
        SCOPED_TRACE(pause ? "after a pause" : "at once");
        const QString changed = fixture.createExam(QStringLiteral("changed%1.qzr").arg(pause));
        {
            auto exam = db::Connection::openFile(changed);
            exam.exec(QStringLiteral("INSERT INTO Qe_Category (Qc_catcode, Qc_Selected) VALUES (5, 1)"));
        }
        if (pause)
            waitPastTheClockTick();
        EXPECT_TRUE(CompatibleDB(changed, ShowNoRefusal, reference));
        EXPECT_TRUE(CompatibleDB(changed, ShowNoRefusal, reference));
        db::Connection::openFile(changed).exec(
            QStringLiteral("UPDATE Qe_Category SET Qc_catcode = 2147483648 WHERE Qc_catcode = 5"));
        QString why;
        EXPECT_FALSE(CompatibleDB(changed, ShowNoRefusal, reference, nullptr, &why));
        EXPECT_TRUE(why.contains(QStringLiteral("2147483648"))) << why.toStdString();
    }
    gDiscovery.gInvalidDbFlag = false;
    gDiscovery.gInvalidExamsList.clear();
}

} // namespace
