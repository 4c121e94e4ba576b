#include "foundation/DebugLog.h"
#include "foundation/ExamDiscovery.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <chrono>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <ostream>

// Readable texts in failed expectations.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

const QString kCannotProceed = QStringLiteral("No Exam Data folder. Application cannot proceed!");
const QString kNoneCompatible = QStringLiteral("No Compatible Exam Data folder. Application cannot proceed!");

ExamDbOptions exam(const QString& code, const QString& name = QStringLiteral("Exam"))
{
    ExamDbOptions options;
    options.examCode = code;
    options.examName = name;
    return options;
}

class ExamDiscovery : public ::testing::Test {
protected:
    void SetUp() override { gLogin.gAppName = QStringLiteral("Ziduver Test"); }

    QString data(const QString& relative) const { return home.file(QStringLiteral("Data/") + relative); }
    QString row(const QString& code, const QString& relative) const { return code + QLatin1Char('|') + data(relative); }

    TempHome home;
    RecordingUiHooks ui;
    ExamDbFixture fixture{home};
};

TEST_F(ExamDiscovery, RebuildsTheAttachedExamsFromTheDataFolder)
{
    fixture.createDataExam(QStringLiteral("Networks"), QStringLiteral("net.qzr"), exam(QStringLiteral("NET1")));
    fixture.createDataExam(QStringLiteral("Security"), QStringLiteral("sec.QZR"), exam(QStringLiteral("SEC1")));
    {
        // Rows from an earlier run, including one the administration window
        // attached from outside the Data folder.
        SystemDatabase system;
        system.addExam(QStringLiteral("/elsewhere/out.qzr"), QStringLiteral("OUT1"), QStringLiteral("Outside"));
        system.addExam(QStringLiteral("/old/net.qzr"), QStringLiteral("NET1"), QStringLiteral("Old name"));
    }

    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
    EXPECT_EQ(fixture.attachedExams(), (QStringList{row("NET1", "Networks/net.qzr"), row("SEC1", "Security/sec.QZR")}));
    auto system = fixture.openSystem();
    EXPECT_EQ(system.scalar(QStringLiteral("SELECT be_desc FROM Bq_Exam WHERE Be_Exam_Code = 'SEC1'")),
              QVariant("Exam"));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(ui.processEventsCalls(), 1);
    ASSERT_FALSE(ui.busyCalls().empty());
    EXPECT_TRUE(ui.busyCalls().front());
    EXPECT_FALSE(ui.busy()) << "the pointer is restored at the end";
    EXPECT_EQ(gDiscovery.gAllExamsList, QStringLiteral("net.qzr,sec.QZR,"));
}

// Only the first exam database (name order, *.qzr in any case) of each
// immediate sub-folder is tried; PAGEFILE.SYS, plain files and deeper folders
// are never looked at.
TEST_F(ExamDiscovery, TakesTheFirstDatabaseOfEachSubFolderOnly)
{
    fixture.createDataExam(QStringLiteral("one"), QStringLiteral("b.qzr"), exam(QStringLiteral("B")));
    fixture.createDataExam(QStringLiteral("one"), QStringLiteral("A.QZR"), exam(QStringLiteral("A")));
    home.write(QStringLiteral("Data/one/0-notes.txt"), "notes");
    fixture.createDataExam(QStringLiteral("pagefile.sys"), QStringLiteral("p.qzr"), exam(QStringLiteral("P")));
    fixture.createDataExam(QStringLiteral("two/inner"), QStringLiteral("deep.qzr"), exam(QStringLiteral("DEEP")));
    fixture.createDataExam(QStringLiteral("three"), QStringLiteral("c.qzr"), exam(QStringLiteral("C")));
    fixture.createExam(QStringLiteral("Data/top.qzr"), exam(QStringLiteral("TOP")));

    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
    EXPECT_EQ(fixture.attachedExams(), (QStringList{row("A", "one/A.QZR"), row("C", "three/c.qzr")}));
    // "two" holds no database of its own: it fails like an unreadable one,
    // named by its folder.
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Following Exam(s) will be discarded \rtwo/ (holds no exam database)")});
}

TEST_F(ExamDiscovery, GetExamNameMatchesTheExtensionInAnyCase)
{
    home.write(QStringLiteral("f/readme.txt"), "x");
    EXPECT_EQ(getExamName(home.file(QStringLiteral("f"))), QString());
    home.write(QStringLiteral("f/Zeta.Qzr"), "x");
    home.write(QStringLiteral("f/alpha.qzr.bak"), "x");
    QDir().mkpath(home.file(QStringLiteral("f/aaa.qzr"))); // a folder, not a file
    EXPECT_EQ(getExamName(home.file(QStringLiteral("f"))), QStringLiteral("Zeta.Qzr"));
    home.write(QStringLiteral("f/beta.qzr"), "x");
    EXPECT_EQ(getExamName(home.file(QStringLiteral("f"))), QStringLiteral("beta.qzr"));
    EXPECT_EQ(getExamName(home.file(QStringLiteral("missing"))), QString());
}

TEST_F(ExamDiscovery, DuplicateCodesKeepTheFirstInNameOrder)
{
    fixture.createDataExam(QStringLiteral("b"), QStringLiteral("second.qzr"),
                           exam(QStringLiteral("ex1"), QStringLiteral(" Copy ")));
    fixture.createDataExam(QStringLiteral("A"), QStringLiteral("first.qzr"), exam(QStringLiteral("EX1")));
    fixture.createDataExam(QStringLiteral("c"), QStringLiteral("other.qzr"), exam(QStringLiteral("EX2")));

    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
    EXPECT_EQ(fixture.attachedExams(), (QStringList{row("EX1", "A/first.qzr"), row("EX2", "c/other.qzr")}));
    EXPECT_EQ(ui.messageTexts(),
              QStringList{
                  QStringLiteral("\r\nDuplicate Exam Code found.\rFollowing Exam(s) will be discarded \rsecond.qzr")});
    EXPECT_EQ(gDiscovery.gDuplicateExamsList, QStringLiteral("ex1:Copy,"));
}

// A code is stored without blanks around it, so a second file whose code
// differs only in blanks is the duplicate it is.
TEST_F(ExamDiscovery, CodesAreStoredTrimmedAndBlanksMakeNoNewCode)
{
    fixture.createDataExam(QStringLiteral("a"), QStringLiteral("a.qzr"), exam(QStringLiteral(" EX1 ")));
    fixture.createDataExam(QStringLiteral("b"), QStringLiteral("b.qzr"), exam(QStringLiteral("EX1\t")));

    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
    EXPECT_EQ(fixture.attachedExams(), QStringList{row("EX1", "a/a.qzr")});
    EXPECT_EQ(
        ui.messageTexts(),
        QStringList{QStringLiteral("\r\nDuplicate Exam Code found.\rFollowing Exam(s) will be discarded \rb.qzr")});
    EXPECT_FALSE(ui.busy());
}

// What was attached before decides: it stays attached wherever its file
// lies, as long as the file is there and passes the check, and keeps its
// code against a newcomer, whatever the folders' name order.
TEST_F(ExamDiscovery, ExamsAttachedBeforeStayAndKeepTheirCodes)
{
    const QString real = fixture.createDataExam(QStringLiteral("z-real"), QStringLiteral("real.qzr"),
                                                exam(QStringLiteral("EX1"), QStringLiteral("Real")));
    fixture.createDataExam(QStringLiteral("a-stranger"), QStringLiteral("stranger.qzr"),
                           exam(QStringLiteral("ex1 "), QStringLiteral("Stranger")));
    const QString outside = fixture.createExam(QStringLiteral("Elsewhere/out.qzr"), exam(QStringLiteral("OUT1")));
    home.write(QStringLiteral("Elsewhere/broken.qzr"), "no longer a database");
    // Another program folder (this one was copied from it): its own exams
    // are its own discovery's.
    home.write(QStringLiteral("Other/Ziduver.QZR"), "x");
    const QString others = fixture.createExam(QStringLiteral("Other/Data/x/x.qzr"), exam(QStringLiteral("OTH")));
    {
        SystemDatabase system;
        system.addExam(home.file(QStringLiteral("Elsewhere/gone.qzr")), QStringLiteral("GONE"), QStringLiteral("G"));
        system.addExam(real, QStringLiteral("EX1"), QStringLiteral("Real"));
        system.addExam(outside, QStringLiteral("OUT1"), QStringLiteral("Exam"));
        system.addExam(home.file(QStringLiteral("Elsewhere/broken.qzr")), QStringLiteral("BRK"), QStringLiteral("B"));
        system.addExam(others, QStringLiteral("OTH"), QStringLiteral("Other's"));
    }

    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE(start);
        ui.clear();
        EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
        EXPECT_EQ(fixture.attachedExams(),
                  (QStringList{QStringLiteral("EX1|") + real, QStringLiteral("OUT1|") + outside}));
        const QString broken = start == 1 ? QStringLiteral("\rFollowing Exam(s) will be discarded \rbroken.qzr (is damaged)")
                                          : QString(); // no longer attached: not tried again
        EXPECT_EQ(ui.messageTexts(),
                  QStringList{QStringLiteral("\r\nDuplicate Exam Code found.\rFollowing Exam(s) will be discarded "
                                             "\rstranger.qzr")
                              + broken});
    }
}

TEST_F(ExamDiscovery, DatabasesPassedOverWithoutCountingAsFailures)
{
    ExamDbOptions noRow;
    noRow.withExamRow = false;
    ExamDbOptions notValid = exam(QStringLiteral("NV"));
    notValid.validDb = 0;
    fixture.createDataExam(QStringLiteral("a"), QStringLiteral("norow.qzr"), noRow);
    fixture.createDataExam(QStringLiteral("b"), QStringLiteral("notvalid.qzr"), notValid);
    fixture.createDataExam(QStringLiteral("c"), QStringLiteral("good.qzr"), exam(QStringLiteral("GOOD")));

    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
    EXPECT_EQ(fixture.attachedExams(), QStringList{row("GOOD", "c/good.qzr")});
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Error in ExamDB")});
    EXPECT_EQ(ui.messages()[0].style, 1);

    // Neither counts as a failure, so a Data folder of only such databases
    // still "succeeds", with nothing attached.
    QDir(data(QStringLiteral("c"))).removeRecursively();
    ui.clear();
    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
    EXPECT_TRUE(fixture.attachedExams().isEmpty());
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Error in ExamDB")});
}

TEST_F(ExamDiscovery, NothingToAttach)
{
    // No Data folder at all.
    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::NoExamAttached);
    EXPECT_EQ(ui.messageTexts(), QStringList{kCannotProceed});

    // A Data folder with nothing but a plain file and PAGEFILE.SYS.
    ui.clear();
    fixture.createExam(QStringLiteral("Data/loose.qzr"), exam(QStringLiteral("L")));
    fixture.createDataExam(QStringLiteral("PAGEFILE.SYS"), QStringLiteral("p.qzr"), exam(QStringLiteral("P")));
    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::NoExamAttached);
    EXPECT_EQ(ui.messageTexts(), QStringList{kCannotProceed});

    // Every database fails.
    ui.clear();
    ExamDbOptions extra = exam(QStringLiteral("X"));
    extra.extraColumns = {QStringLiteral("Qe_Exam.Qe_Colour")};
    fixture.createDataExam(QStringLiteral("bad"), QStringLiteral("bad.qzr"), extra);
    home.write(QStringLiteral("Data/text/text.qzr"), "not a database");
    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::NoExamAttached);
    EXPECT_EQ(ui.messageTexts().last(), kNoneCompatible);
    EXPECT_TRUE(fixture.attachedExams().isEmpty());
    EXPECT_FALSE(ui.busy());
}

// A reference layout that is missing, empty or foreign is what stops every
// exam database: the message and the log name it, not the exams.
TEST_F(ExamDiscovery, ABadReferenceIsNamedAsTheReason)
{
    const QString exam = fixture.createDataExam(QStringLiteral("net"), QStringLiteral("net.qzr"));
    const QString skeleton = fixture.referencePath();
    struct Case {
        const char* name;
        void (*spoil)(const QString& path);
    };
    const Case cases[] = {
        {"missing", [](const QString& path) { QFile::remove(path); }},
        {"empty",
         [](const QString& path) {
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
         }},
        {"foreign",
         [](const QString& path) {
             QFile::remove(path);
             db::Connection foreign = db::Connection::create(path);
             foreign.execScript(QStringLiteral("CREATE TABLE customers (id INTEGER, name TEXT)"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clear();
        removeDebugLog();
        c.spoil(skeleton);
        EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::NoExamAttached);
        ASSERT_EQ(ui.messageTexts().size(), 1);
        const QString message = ui.messageTexts()[0];
        EXPECT_TRUE(message.startsWith(QStringLiteral("The reference layout DataSkeleton.SKL is missing or damaged")))
            << message.toStdString();
        EXPECT_TRUE(message.contains(skeleton)) << message.toStdString();
        EXPECT_FALSE(message.contains(QStringLiteral("net.qzr")));
        const QString log = readDebugLog();
        EXPECT_TRUE(log.contains(skeleton)) << log.toStdString();
        EXPECT_FALSE(log.contains(exam)) << log.toStdString();
        fixture.rebuildReference({});
    }
    ui.clear();
    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
    EXPECT_TRUE(ui.messageTexts().isEmpty());
}

// One summary message names every discarded file with its reason, in
// groups: invalid, duplicate, then the rest.
TEST_F(ExamDiscovery, DiscardMessageNamesEveryFileWithItsReason)
{
    ExamDbOptions extra = exam(QStringLiteral("X1"));
    extra.extraColumns = {QStringLiteral("Qe_Exam.Qe_Colour")};
    ExamDbOptions recased = exam(QStringLiteral("X2"));
    recased.renamedColumns = {{QStringLiteral("Qe_Exam.Qe_ProductId"), QStringLiteral("Qe_ProductID")}};

    struct Case {
        const char* name;
        bool invalid, recasedInvalid, duplicate, other;
        QStringList messages;
    };
    const Case cases[] = {
        {"invalid, duplicate and other",
         true,
         false,
         true,
         true,
         {QStringLiteral("Invalid Exam database found.\rFollowing Exam(s) will be discarded \rinvalid.qzr (has a "
                         "table Qe_Exam unlike the program's layout)\r\r\nDuplicate Exam Code found.\rFollowing "
                         "Exam(s) will be discarded \rdup.qzr\rFollowing Exam(s) will be discarded \rtext.qzr (is "
                         "damaged)")}},
        {"two invalid",
         true,
         true,
         false,
         false,
         {QStringLiteral("Invalid Exam database found.\rFollowing Exam(s) will be discarded \rinvalid.qzr (has a "
                         "table Qe_Exam unlike the program's layout), recased.qzr (has a table Qe_Exam unlike the "
                         "program's layout)")}},
        {"duplicate and other",
         false,
         false,
         true,
         true,
         {QStringLiteral("\r\nDuplicate Exam Code found.\rFollowing Exam(s) will be discarded \rdup.qzr\r"
                         "Following Exam(s) will be discarded \rtext.qzr (is damaged)")}},
        {"other only",
         false,
         false,
         false,
         true,
         {QStringLiteral("Following Exam(s) will be discarded \rtext.qzr (is damaged)")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(data({})).removeRecursively();
        ui.clear();
        fixture.createDataExam(QStringLiteral("a-good"), QStringLiteral("good.qzr"), exam(QStringLiteral("G")));
        if (c.invalid)
            fixture.createDataExam(QStringLiteral("b-invalid"), QStringLiteral("invalid.qzr"), extra);
        if (c.recasedInvalid)
            fixture.createDataExam(QStringLiteral("c-recased"), QStringLiteral("recased.qzr"), recased);
        if (c.duplicate)
            fixture.createDataExam(QStringLiteral("d-dup"), QStringLiteral("dup.qzr"), exam(QStringLiteral("g")));
        if (c.other)
            home.write(QStringLiteral("Data/e-text/text.qzr"), "plain text, not a database");

        EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
        EXPECT_EQ(ui.messageTexts(), c.messages);
        EXPECT_EQ(fixture.attachedExams(), QStringList{row("G", "a-good/good.qzr")});
    }
}

// Five folders whose layout differs from the reference in the number of a
// table's columns: one message at start-up names all five, each with why.
TEST_F(ExamDiscovery, FiveBadFoldersMakeOneMessage)
{
    fixture.createDataExam(QStringLiteral("good"), QStringLiteral("good.qzr"), exam(QStringLiteral("G")));
    QStringList named;
    for (int i = 1; i <= 5; ++i) {
        ExamDbOptions bad = exam(QStringLiteral("B%1").arg(i));
        bad.extraColumns = {QStringLiteral("Qe_Exam.Qe_Extra")};
        fixture.createDataExam(QStringLiteral("bad%1").arg(i), QStringLiteral("bad%1.qzr").arg(i), bad);
        named << QStringLiteral("bad%1.qzr (has a table Qe_Exam unlike the program's layout)").arg(i);
    }
    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
    EXPECT_EQ(ui.messageTexts(),
              QStringList{QStringLiteral("Invalid Exam database found.\rFollowing Exam(s) will be discarded \r")
                          + named.join(QStringLiteral(", "))});
    EXPECT_EQ(fixture.attachedExams(), QStringList{row("G", "good/good.qzr")});
}

// Exam databases are strangers' files: one whose exam table is a view over a
// query that never ends, or one holding a trigger, is discarded with its
// reason at once, and the other exams are attached.
TEST_F(ExamDiscovery, ViewsAndTriggersAreRefusedWithinTheBound)
{
    db::setStatementTimeLimit(std::chrono::milliseconds(500));
    fixture.createDataExam(QStringLiteral("a-good"), QStringLiteral("good.qzr"), exam(QStringLiteral("G")));
    const QString evil =
        fixture.createDataExam(QStringLiteral("Evil"), QStringLiteral("evil.qzr"), exam(QStringLiteral("E")));
    db::Connection::openFile(evil).execScript(
        QStringLiteral("CREATE TABLE Qe_Exam_Rows AS SELECT * FROM Qe_Exam; DROP TABLE Qe_Exam; "
                       "CREATE VIEW Qe_Exam AS SELECT r.* FROM Qe_Exam_Rows r WHERE (WITH RECURSIVE c(x) AS "
                       "(SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT max(x) FROM c) > 0"));
    const QString trap =
        fixture.createDataExam(QStringLiteral("Trap"), QStringLiteral("trap.qzr"), exam(QStringLiteral("T")));
    db::Connection::openFile(trap).execScript(
        QStringLiteral("CREATE TRIGGER wipe AFTER INSERT ON Qe_Progress BEGIN DELETE FROM Qe_User; END"));
    const QByteArray trapBefore = [&] {
        QFile file(trap);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    db::setStatementTimeLimit(std::chrono::milliseconds(5000));
    EXPECT_EQ(fixture.attachedExams(), QStringList{row("G", "a-good/good.qzr")});
    EXPECT_EQ(ui.messageTexts(),
              QStringList{QStringLiteral("Invalid Exam database found.\rFollowing Exam(s) will be "
                                         "discarded \revil.qzr (holds views or triggers), "
                                         "trap.qzr (holds views or triggers)")});
    QFile file(trap);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), trapBefore) << "a refused file is never upgraded";
}

// A locked, unreadable or odd database is discarded, never a crash; a value
// with an apostrophe is stored as it is.
TEST_F(ExamDiscovery, LockedDatabaseAndApostrophes)
{
    fixture.createDataExam(QStringLiteral("it's"), QStringLiteral("o'brien.qzr"),
                           exam(QStringLiteral("O'B 1"), QStringLiteral("O'Brien's exam")));
    const QString locked =
        fixture.createDataExam(QStringLiteral("locked"), QStringLiteral("locked.qzr"), exam(QStringLiteral("LOCK")));
    auto holder = db::Connection::openFile(locked);
    holder.execScript(QStringLiteral("BEGIN EXCLUSIVE"));

    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
    holder.execScript(QStringLiteral("ROLLBACK"));
    EXPECT_EQ(fixture.attachedExams(), QStringList{row("O'B 1", "it's/o'brien.qzr")});
    auto system = fixture.openSystem();
    EXPECT_EQ(system.scalar(QStringLiteral("SELECT be_desc FROM Bq_Exam")), QVariant("O'Brien's exam"));
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral(
                                       "Following Exam(s) will be discarded \rlocked.qzr (is in use by another program)")});
}

TEST_F(ExamDiscovery, AttachingOneDatabase)
{
    const QString path = fixture.createExam(QStringLiteral("elsewhere/one.qzr"), exam(QStringLiteral("ONE")));
    EXPECT_TRUE(AttachAllDB(path));
    EXPECT_EQ(fixture.attachedExams(), QStringList{QStringLiteral("ONE|") + path});
    EXPECT_FALSE(AttachAllDB(path));
    EXPECT_TRUE(gDiscovery.gDuplicateExamFlag);
    EXPECT_EQ(fixture.attachedExams().size(), 1);

    // A system database that cannot be read marks the exam database unusable.
    gDiscovery.gDuplicateExamFlag = false;
    home.write(QStringLiteral("Ziduver.QZR"), "garbage, not a database");
    ui.clear();
    EXPECT_FALSE(AttachAllDB(fixture.createExam(QStringLiteral("elsewhere/two.qzr"), exam(QStringLiteral("TWO")))));
    EXPECT_TRUE(gDiscovery.gInvalidDbFlag);
    EXPECT_FALSE(gDiscovery.gDuplicateExamFlag);
    EXPECT_FALSE(ui.busy());
}

TEST_F(ExamDiscovery, UnreadableSystemDatabaseStopsTheRebuild)
{
    fixture.createDataExam(QStringLiteral("a"), QStringLiteral("a.qzr"), exam(QStringLiteral("A")));
    QFile::remove(fixture.systemDbPath());

    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Failed);
    EXPECT_EQ(ui.messageTexts(),
              QStringList{QStringLiteral("The system database ") + fixture.systemDbPath()
                          + QStringLiteral(" could not be found.")});
    EXPECT_TRUE(readDebugLog().contains(QStringLiteral("Could not find file '") + fixture.systemDbPath()
                                        + QStringLiteral("'.: Module Name ReadReRegCurrentDB: Date/Time: ")));
    EXPECT_FALSE(ui.busy());
}

// A write that fails half-way through the rebuild: Bq_Exam takes two rows,
// then refuses the rest. A refused statement (abort) discards its exam only,
// as a key violation does, and the rebuild goes on; a failure that ends the
// transaction (rollback, as a full disk or an I/O error may) stops the
// rebuild, leaves Bq_Exam exactly as it was and reports the error.
TEST_F(ExamDiscovery, AWriteFailingHalfWayDiscardsItsExamOrLeavesTheListAsItWas)
{
    // Every row with its rowid, in rowid order.
    const auto examTable = [this] {
        return fixture.openSystem()
            .query(QStringLiteral("SELECT rowid, Be_Exam_Code, be_desc, be_path FROM Bq_Exam ORDER BY rowid"))
            .getString(QStringLiteral("|"), QStringLiteral("\n"));
    };
    for (const char* code : {"A", "B", "C", "D"})
        fixture.createDataExam(QString::fromLatin1(code).toLower(), QString::fromLatin1(code).toLower() + ".qzr",
                               exam(QString::fromLatin1(code)));

    struct Case {
        const char* name;
        FailingWrites::Raise raise;
    };
    for (const Case& c :
         {Case{"abort", FailingWrites::Raise::Abort}, Case{"rollback", FailingWrites::Raise::Rollback}}) {
        SCOPED_TRACE(c.name);
        ui.clear();
        removeDebugLog();
        {
            SystemDatabase system;
            system.removeAllExams();
            system.addExam(QStringLiteral("/old/one.qzr"), QStringLiteral("OLD1"), QStringLiteral("Earlier"));
            system.addExam(QStringLiteral("/old/b.qzr"), QStringLiteral("B"), QStringLiteral("Earlier B"));
        }
        const QString before = examTable();
        DiscoveryResult result;
        {
            const FailingWrites seam(fixture.systemDbPath(), QStringLiteral("Bq_Exam"), 2, FailingWrites::Write::Insert,
                                     c.raise);
            result = ReadRegCurrentDB();
        }
        EXPECT_FALSE(ui.busy());
        if (c.raise == FailingWrites::Raise::Abort) {
            EXPECT_EQ(result, DiscoveryResult::Rebuilt);
            EXPECT_EQ(fixture.attachedExams(), (QStringList{row("A", "a/a.qzr"), row("B", "b/b.qzr")}));
            ASSERT_EQ(ui.messageTexts().size(), 1);
            EXPECT_TRUE(ui.messageTexts().first().endsWith(QStringLiteral("discarded \rc.qzr, d.qzr")))
                << ui.messageTexts().first().toStdString();
            continue;
        }
        EXPECT_EQ(result, DiscoveryResult::Failed);
        EXPECT_EQ(examTable(), before) << examTable().toStdString();
        EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("The system database ") + fixture.systemDbPath()
                                                 + QStringLiteral(" could not be used: ") + FailingWrites::message()
                                                 + QLatin1Char('.')})
            << ui.messageTexts().join('|').toStdString();
        EXPECT_TRUE(readDebugLog().contains(FailingWrites::message()
                                            + QStringLiteral(": Module Name ReadReRegCurrentDB: Date/Time: ")));
    }
    // The seam is gone with its object.
    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
    EXPECT_EQ(fixture.attachedExams().size(), 4);
}

// The hourglass nests, so it is on and off once per compatible database;
// with several exams none of it may be left on for the session.
TEST_F(ExamDiscovery, BusyStateIsBalancedPerDatabase)
{
    fixture.createDataExam(QStringLiteral("a"), QStringLiteral("a.qzr"), exam(QStringLiteral("A")));
    fixture.createDataExam(QStringLiteral("b"), QStringLiteral("b.qzr"), exam(QStringLiteral("B")));
    fixture.createDataExam(QStringLiteral("c"), QStringLiteral("c.qzr"), exam(QStringLiteral("C")));

    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
    EXPECT_EQ(fixture.attachedExams().size(), 3);
    EXPECT_EQ(ui.busyCalls(), (std::vector<bool>{true, false, true, false, true, false}));
    EXPECT_EQ(ui.busyDepth(), 0);
    EXPECT_EQ(ui.unbalancedBusyOffs(), 0);

    // Every way an attach ends after the compatibility check: duplicate, key
    // violation, no exam row, not valid, attached; and an incompatible one
    // that never turns it on.
    QDir(data({})).removeRecursively();
    ui.clear();
    ExamDbOptions noRow;
    noRow.withExamRow = false;
    ExamDbOptions notValid = exam(QStringLiteral("NV"));
    notValid.validDb = 0;
    ExamDbOptions incompatible = exam(QStringLiteral("X"));
    incompatible.extraColumns = {QStringLiteral("Qe_Exam.Qe_Colour")};
    fixture.createDataExam(QStringLiteral("1"), QStringLiteral("k.qzr"), exam(QStringLiteral("K")));
    fixture.createDataExam(QStringLiteral("2"), QStringLiteral("dup.qzr"), exam(QStringLiteral("k")));
    fixture.createDataExam(QStringLiteral("3"), QStringLiteral("z.qzr"), exam(QStringLiteral("Z ")));
    fixture.createDataExam(QStringLiteral("4"), QStringLiteral("key.qzr"), exam(QStringLiteral("Z ")));
    fixture.createDataExam(QStringLiteral("5"), QStringLiteral("norow.qzr"), noRow);
    fixture.createDataExam(QStringLiteral("6"), QStringLiteral("notvalid.qzr"), notValid);
    fixture.createDataExam(QStringLiteral("7"), QStringLiteral("bad.qzr"), incompatible);

    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
    EXPECT_EQ(fixture.attachedExams(), (QStringList{row("K", "1/k.qzr"), row("Z", "3/z.qzr")}));
    EXPECT_EQ(ui.busyCalls().size(), 12u) << "six compatible databases, on and off each";
    EXPECT_EQ(ui.busyDepth(), 0);
    EXPECT_EQ(ui.unbalancedBusyOffs(), 0);
}

TEST_F(ExamDiscovery, AttachingOneDatabaseBalancesTheBusyStateHoweverItEnds)
{
    struct Case {
        const char* name;
        ExamDbOptions options;
        bool systemUnreadable;
        bool attached;
    };
    ExamDbOptions noRow;
    noRow.withExamRow = false;
    ExamDbOptions notValid = exam(QStringLiteral("NV"));
    notValid.validDb = 0;
    const Case cases[] = {
        {"attached", exam(QStringLiteral("ONE")), false, true},
        {"duplicate code", exam(QStringLiteral("one")), false, false},
        {"no exam row", noRow, false, true},
        {"not valid", notValid, false, true},
        {"system database unreadable", exam(QStringLiteral("TWO")), true, false},
    };
    int made = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clear();
        if (c.systemUnreadable)
            home.write(QStringLiteral("Ziduver.QZR"), "garbage, not a database");
        const QString path = fixture.createExam(QStringLiteral("elsewhere/%1.qzr").arg(++made), c.options);
        EXPECT_EQ(AttachAllDB(path), c.attached);
        EXPECT_EQ(ui.busyCalls(), (std::vector<bool>{true, false}));
        EXPECT_EQ(ui.busyDepth(), 0);
        EXPECT_EQ(ui.unbalancedBusyOffs(), 0);
    }
}

// The recording screen itself fails a test that leaves the busy state
// unbalanced either way.
TEST(RecordingUiHooksBusy, UnbalancedSequencesFail)
{
    EXPECT_NONFATAL_FAILURE(
        {
            RecordingUiHooks ui;
            ui.setBusy(true);
            ui.setBusy(true);
            ui.setBusy(false);
        },
        "the busy state was left on");
    EXPECT_NONFATAL_FAILURE(
        {
            RecordingUiHooks ui;
            ui.setBusy(true);
            ui.setBusy(false);
            ui.setBusy(false);
        },
        "switched off while it was not on");
}

TEST_F(ExamDiscovery, DebugLinesFollowTheRebuild)
{
    fixture.createDataExam(QStringLiteral("a"), QStringLiteral("a.qzr"),
                           exam(QStringLiteral("A"), QStringLiteral(" Alpha ")));
    fixture.createDataExam(QStringLiteral("b"), QStringLiteral("b.qzr"), exam(QStringLiteral("A")));
    gStartup.gDebug = 1;
    EXPECT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt);
    gStartup.gDebug = 0;

    const QString date = logDate();
    const QString dataFolder = programFile(QStringLiteral("Data"));
    const QString a = dataFolder + QStringLiteral("/a");
    const QString b = dataFolder + QStringLiteral("/b");
    const QStringList lines = readDebugLog().split(QStringLiteral("\r\n"));
    const QStringList expectedLines{
        "Entering function to read registry: ReadRegCurrentDB: frmDBSel " + date,
        "Gathered Sub Directories of Data folder: ReadRegCurrentDB :QmodPublic: Date/Time :" + date + "  " + dataFolder,
        a + "|a.qzr: ReadRegCurrentDB :QmodPublic: Date/Time :" + date + "  " + dataFolder,
        "Reached AttachAllDB function!: AttachAllDB :QmodPublic: Date/Time :" + date + "  " + a + "/a.qzr",
        "Compatible Exam Engine!: attachAllDB:QmodPublic: Date/Time :" + date + "  " + a + "/a.qzr",
        "DB Opened!: attachAllDB:QmodPublic: Date/Time :" + date + "  " + a + "/a.qzr",
        "Exam added !: attachAllDB:QmodPublic: Date/Time :" + date + "  A:Alpha",
        "Completed!: attachAllDB:QmodPublic: Date/Time :" + date + "  " + a + "/a.qzr",
        "All Exams :a.qzr,",
        "Duplicate Exams :",
        "Invalid Exams : ",
        a + "|a.qzr attached : ReadRegCurrentDB :QmodPublic: Date/Time :" + date,
        "Duplicate Exam Found!: attachAllDB:QmodPublic: Date/Time :" + date + "  A:Exam",
        b + "|b.qzr attach failed duplicate exam : ReadRegCurrentDB :QmodPublic: Date/Time :" + date,
        "Ending readReg Successfully!: ReadRegCurrentDB :QmodPublic: Date/Time :" + date,
    };
    for (const QString& expected : expectedLines) {
        EXPECT_TRUE(lines.contains(expected)) << expected.toStdString();
    }
    EXPECT_TRUE(readDebugLog().contains("\r\nDuplicate Exam Code found.\rFollowing Exam(s) will be discarded \rb.qzr: "
                                        "ReadRegCurrentDB :QmodPublic: Date/Time :"
                                        + date));
}

} // namespace
