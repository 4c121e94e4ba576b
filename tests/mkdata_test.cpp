#include "foundation/ExamBank.h"
#include "foundation/Schema.h"
#include "foundation/Settings.h"
#include "platform/db/Connection.h"
#include "tools/mkdata/ExamGenerator.h"
#include "tools/mkdata/SampleInstallation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

// One sample installation shared by the tests that only read it.
class SampleInstallationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        writeSampleInstallation(s_dir->path());
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    static QString home(const QString& name = QString())
    {
        return name.isEmpty() ? s_dir->path() : QDir(s_dir->path()).filePath(name);
    }
    static QString examFolder() { return home(QStringLiteral("Data/%1").arg(QLatin1String(sample::kExamFolder))); }
    static db::Connection openExam()
    {
        return db::Connection::openFile(QDir(examFolder()).filePath(QLatin1String(sample::kExamFile)));
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
};
std::unique_ptr<QTemporaryDir> SampleInstallationTest::s_dir;

QByteArray head(const QString& path, int bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

// The image format a file's first bytes show, "" when none of ours.
QString imageFormat(const QString& path)
{
    const QByteArray bytes = head(path, 8);
    if (bytes.startsWith("GIF8"))
        return QStringLiteral("gif");
    if (bytes.startsWith("\x89PNG"))
        return QStringLiteral("png");
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("jpeg");
    if (bytes.startsWith("BM"))
        return QStringLiteral("bmp");
    return QString();
}

// File names of the image markers of a text, paired as the page builders pair
// the "///" delimiters.
QStringList imageMarkers(const QString& text)
{
    QStringList files;
    const QStringList parts = text.split(QStringLiteral("///"));
    for (int i = 1; i + 1 < parts.size(); i += 2) {
        const QString& segment = parts[i];
        if (!segment.contains(QLatin1String("image")))
            continue;
        files << (segment.contains(QLatin1Char('/')) ? segment.mid(segment.lastIndexOf(QLatin1Char('/')) + 1)
                                                     : segment.mid(segment.indexOf(QLatin1Char('=')) + 1));
    }
    return files;
}

// The answer checks of the exam window, applied to the answer that a user
// who knows the right answer would give. Every question must come out right
// by its own answer rows; a failure names the question.
void expectEveryQuestionAnswerable(db::Connection& exam)
{
    const db::ResultSet questions =
        exam.query(QStringLiteral("SELECT Qq_QuestCode, Qq_TypeCode, Qq_InteractiveCode, QQ_CorrectAnswer "
                                  "FROM Qe_QuestionsHead ORDER BY Qq_QuestCode"));
    for (const db::Row& q : questions) {
        const qint64 code = q.integer(QStringLiteral("Qq_QuestCode"));
        SCOPED_TRACE(QStringLiteral("question %1").arg(code).toStdString());
        const db::Params key{code};
        switch (q.integer(QStringLiteral("Qq_TypeCode"))) {
        case 1: {
            const db::ResultSet choices = exam.query(
                QStringLiteral("SELECT Qc_Choice_Seq, Qc_RightAns FROM Qe_AnswerChoice WHERE Qc_QuestCode = ? "
                               "ORDER BY Qc_Choice_Seq"),
                key);
            ASSERT_GE(choices.recordCount(), 3);
            ASSERT_LE(choices.recordCount(), 7);
            int right = 0;
            for (int i = 0; i < choices.recordCount(); ++i) {
                EXPECT_EQ(choices[i].integer(0), i + 1) << "choice numbers run 1, 2, 3 ...";
                right += choices[i].integer(1) != 0;
            }
            EXPECT_GE(right, 1);
            break;
        }
        case 2: {
            // The model answer must satisfy the key-idea rows it is judged by.
            const QString model = q.text(QStringLiteral("QQ_CorrectAnswer")).trimmed().toUpper();
            EXPECT_FALSE(model.isEmpty());
            const db::ResultSet rows = exam.query(
                QStringLiteral("SELECT Qd_Desc_Answer FROM Qe_AnswerFill_Essay WHERE Qd_QuestCode = ? ORDER BY rowid"),
                key);
            EXPECT_GE(rows.recordCount(), 1);
            for (const db::Row& row : rows) {
                bool matched = false;
                for (const QString& alternative : row.text(0).split(QLatin1Char('|')))
                    matched = matched
                        || (!alternative.trimmed().isEmpty() && model.contains(alternative.trimmed().toUpper()));
                EXPECT_TRUE(matched) << "model answer lacks " << row.text(0).toStdString();
            }
            break;
        }
        case 3: {
            // A blank is right when "|" + answer + "|" occurs in "|" + row + "|":
            // every alternative must be free of blanks beside its bars.
            const db::ResultSet rows = exam.query(
                QStringLiteral("SELECT Qd_Desc_Answer FROM Qe_AnswerFill_Essay WHERE Qd_QuestCode = ? ORDER BY rowid"),
                key);
            EXPECT_GE(rows.recordCount(), 1);
            for (const db::Row& row : rows)
                for (const QString& alternative : row.text(0).split(QLatin1Char('|')))
                    EXPECT_TRUE(!alternative.isEmpty() && alternative == alternative.trimmed()
                                && (QLatin1Char('|') + row.text(0).trimmed().toUpper() + QLatin1Char('|'))
                                       .contains(QLatin1Char('|') + alternative.toUpper() + QLatin1Char('|')))
                        << "alternative '" << alternative.toStdString() << "'";
            break;
        }
        case 4: {
            const db::ResultSet items =
                exam.query(QStringLiteral("SELECT Qi_LeftPane_Item, Qi_LeftPane_Seq, Qi_RightPane_Item, Qi_RootText "
                                          "FROM Qe_AnswerInteractive WHERE Qi_QuestCode = ? ORDER BY rowid"),
                           key);
            const db::ResultSet right = exam.query(
                QStringLiteral("SELECT Qa_LeftText, Qa_RightTEXT, Qa_ans_node_Seq FROM Qe_InteractiveRightAnswer "
                               "WHERE Qa_QuestCode = ? ORDER BY rowid"),
                key);
            ASSERT_GE(items.recordCount(), 2);
            QStringList offered, target;
            for (const db::Row& row : items) {
                offered << row.text(0);
                target << row.text(2);
            }
            switch (q.integer(QStringLiteral("Qq_InteractiveCode"))) {
            case 1: // the right order is the right-pane column; the offer is a shuffle of it
                for (const db::Row& row : items)
                    EXPECT_TRUE(row.isNull(QStringLiteral("Qi_RootText")));
                EXPECT_FALSE(target.join(QLatin1Char(',')).contains(QLatin1String(",,")));
                EXPECT_EQ(target.join(QLatin1Char(',')).count(QLatin1Char(',')), target.size() - 1)
                    << "no ',' in items";
                EXPECT_NE(offered, target);
                {
                    QStringList a = offered, b = target;
                    a.sort();
                    b.sort();
                    EXPECT_EQ(a, b);
                }
                break;
            case 2: { // every node has right leaves, and every right leaf is offered
                std::map<qint64, QStringList> leaves;
                for (const db::Row& row : right) {
                    leaves[row.integer(2)] << row.text(0);
                    EXPECT_TRUE(target.contains(row.text(0))) << row.text(0).toStdString();
                    EXPECT_FALSE(row.text(0).contains(QLatin1Char(',')) || row.text(0).contains(QLatin1Char('#')));
                }
                int nodes = 0;
                for (const db::Row& row : items) {
                    EXPECT_FALSE(row.text(QStringLiteral("Qi_RootText")).isEmpty());
                    if (row.text(0).isEmpty())
                        continue;
                    ++nodes;
                    EXPECT_FALSE(leaves[row.integer(1)].isEmpty()) << "node " << row.text(0).toStdString();
                }
                EXPECT_GE(nodes, 2);
                break;
            }
            case 3: { // one right row per place; each right item is offered
                EXPECT_EQ(right.recordCount(), items.recordCount());
                for (const db::Row& row : right) {
                    EXPECT_TRUE(offered.contains(row.text(1))) << row.text(1).toStdString();
                    EXPECT_FALSE(row.text(1).contains(QLatin1Char(',')));
                    EXPECT_TRUE(target.contains(row.text(0))) << "place " << row.text(0).toStdString();
                }
                for (const db::Row& row : items)
                    EXPECT_TRUE(row.isNull(QStringLiteral("Qi_RootText")));
                break;
            }
            default:
                ADD_FAILURE() << "interactive code " << q.integer(QStringLiteral("Qq_InteractiveCode"));
            }
            break;
        }
        default:
            ADD_FAILURE() << "type " << q.integer(QStringLiteral("Qq_TypeCode"));
        }
    }
}

// The simulated exam's directives add up to its question count and can be
// met whatever order the draw takes: per category, the type limits (each cut
// to the questions of that type) reach the category's count.
void expectDirectivesAddUp(db::Connection& exam)
{
    const int simulated = exam.scalar(QStringLiteral("SELECT Qe_Simulated_NoofQuest FROM Qe_Exam")).toInt();
    EXPECT_GT(simulated, 0);
    int total = 0;
    const db::ResultSet categories = exam.query(QStringLiteral(
        "SELECT Qc_catcode, Qc_Perc_Of_Questions, Qc_mChoice, qc_essay, qc_fill, qc_interact FROM Qe_Category"));
    for (const db::Row& c : categories) {
        const int count = int(c.integer(1));
        total += count;
        int reachable = 0;
        for (int type = 1; type <= 4; ++type) {
            const int held = exam.scalar(QStringLiteral("SELECT count(*) FROM Qe_QuestionsHead WHERE Qq_CatCode = ? "
                                                        "AND Qq_TypeCode = ?"),
                                         {c.integer(0), type})
                                 .toInt();
            reachable += std::min(held, int(c.integer(1 + type)));
        }
        EXPECT_GE(reachable, count) << "category " << c.integer(0);
    }
    EXPECT_EQ(total, simulated);
}

TEST_F(SampleInstallationTest, EverySettingReadsBackWithTheLayoutTheReaderNeeds)
{
    const QString file = home(QStringLiteral("setup.xml"));
    const QString g = QStringLiteral("SetupInfo/GeneralSettings/");
    const QString m = QStringLiteral("SetupInfo/MainMenuSettings/");
    const QString d = QStringLiteral("SetupInfo/MainMenuSettings/EngineModeDescriptions/");
    const QString x = QStringLiteral("SetupInfo/ExamEngineSettings/QuestionTypeInstructions/");
    const QStringList keys = {g + "ActiveSkinFile",
                              g + "DPIMessage",
                              g + "OpenDatabaseErrorMsg",
                              g + "BlockRightClick",
                              g + "debug",
                              g + "IconPath",
                              g + "AppName",
                              g + "EngineType",
                              g + "EngineVersion",
                              g + "ShowAdminPref",
                              g + "DefaultFontFace",
                              g + "UpdateMessage",
                              g + "Help",
                              g + "ContactUs",
                              g + "BlockRightClickInPrint",
                              m + "Forecolor",
                              m + "MenuFontFace",
                              m + "ForecolorSelected",
                              x + "MultipleChoice",
                              x + "Essay",
                              x + "FillInTheBlank",
                              x + "OrderedList",
                              x + "Tree",
                              x + "SelectAndPlace"};
    QMap<QString, QString> value;
    for (const QString& key : keys) {
        value[key] = ReadXmlValue(file, key, true);
        EXPECT_FALSE(value[key].trimmed().isEmpty()) << key.toStdString();
        EXPECT_FALSE(value[key].contains(QLatin1Char('<'))) << key.toStdString() << ": tag cut into the value";
        EXPECT_FALSE(value[key].startsWith(QLatin1Char('\t'))) << key.toStdString();
    }
    // The mode descriptions are read without indentation trimming: they must
    // stand after exactly three tabs.
    for (const char* mode : {"Pretest", "Simulated", "Adaptive"}) {
        const QString text = ReadXmlValue(file, d + QLatin1String(mode), false);
        EXPECT_TRUE(text.startsWith(QLatin1String(mode == QLatin1String("Adaptive") ? "Practice" : mode)))
            << mode << ": " << text.toStdString();
        EXPECT_FALSE(text.contains(QLatin1Char('<')));
    }

    EXPECT_EQ(value[g + "debug"], QStringLiteral("0"));
    EXPECT_EQ(value[g + "BlockRightClick"], QStringLiteral("1"));
    EXPECT_EQ(value[g + "ShowAdminPref"], QStringLiteral("1"));
    EXPECT_EQ(value[g + "AppName"], QStringLiteral("Ziduver"));
    EXPECT_EQ(value[g + "IconPath"], QStringLiteral("\\Icons"));
    EXPECT_TRUE(value[g + "ContactUs"].startsWith(QLatin1String("mailto:")));
    EXPECT_TRUE(value[g + "DPIMessage"].contains(QLatin1String("\r\n"))) << "a multi-line value";
    for (const char* colour : {"Forecolor", "ForecolorSelected"})
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^H[0-9A-F]{8}$")).match(value[m + colour]).hasMatch()) << colour;

    // The files that the settings name are there.
    EXPECT_TRUE(QFileInfo(home(value[g + "ActiveSkinFile"])).isFile());
    EXPECT_TRUE(QFileInfo(home(value[g + "Help"])).isFile());
    const QString icons = home(value[g + "IconPath"].mid(1));
    EXPECT_EQ(head(QDir(icons).filePath(QStringLiteral("icon1.ico")), 4), QByteArray("\0\0\1\0", 4));
    EXPECT_EQ(imageFormat(QDir(icons).filePath(QStringLiteral("LoginBgSglUser.jpg"))), QStringLiteral("jpeg"));
    EXPECT_EQ(imageFormat(QDir(icons).filePath(QStringLiteral("LoginBgMultUser.jpg"))), QStringLiteral("jpeg"));
    EXPECT_TRUE(QFileInfo(home(QStringLiteral("aboutus.htm"))).isFile());
}

TEST_F(SampleInstallationTest, SystemDatabaseHoldsTheAccountsAndTheRight)
{
    db::Connection system = db::Connection::openFile(home(QStringLiteral("Ziduver.QZR")));
    // The login window upper-cases what is typed; text compares without case.
    const QString login = QStringLiteral("SELECT Qu_UserCode FROM Bq_User WHERE Qu_LoginId = ? AND Qu_Password = ?");
    EXPECT_EQ(system.query(login, {QStringLiteral("ADMIN"), QStringLiteral("ADMIN")}).recordCount(), 1);
    const QVariant student = system.scalar(login, {QStringLiteral("STUDENT"), QStringLiteral("STUDENT")});
    ASSERT_TRUE(student.isValid());
    EXPECT_TRUE(system.query(login, {QStringLiteral("STUDENT"), QStringLiteral("ADMIN")}).empty());

    EXPECT_EQ(
        system
            .scalar(QStringLiteral("SELECT Bue_HaveRight FROM Bq_User_vs_Exams WHERE Bue_User = ? AND Bue_Exam = ?"),
                    {student, QLatin1String(sample::kExamCode)})
            .toInt(),
        1);
    EXPECT_EQ(system.scalar(QStringLiteral("SELECT BQ_Multiuser FROM Bq_Ziduver_Reg_Det")).toInt(), 1);
    const db::ResultSet defaultUser = system.query(QStringLiteral("SELECT loginid, Password FROM Bq_DefaultUser"));
    ASSERT_EQ(defaultUser.recordCount(), 1);
    EXPECT_EQ(defaultUser.first().text(0), QLatin1String(sample::kUserLogin));
    EXPECT_EQ(system.scalar(QStringLiteral("SELECT count(*) FROM SysInfo")).toInt(), 0);

    // The exam keeps its copy of the user.
    db::Connection exam = openExam();
    EXPECT_EQ(exam.scalar(QStringLiteral("SELECT Qu_HaveRight FROM Qe_User WHERE Qu_UserCode = ?"), {student}).toInt(),
              1);
}

TEST_F(SampleInstallationTest, ExamMatchesTheReferenceLayout)
{
    db::Connection skeleton = db::Connection::openFile(home(QStringLiteral("DataSkeleton.SKL")));
    db::Connection exam = openExam();
    for (const QString& table : schema::comparedTables())
        EXPECT_EQ(exam.tableColumns(table), skeleton.tableColumns(table)) << table.toStdString();
    EXPECT_TRUE(exam.hasTable(QStringLiteral("Qe_LOS")));
    EXPECT_EQ(skeleton.scalar(QStringLiteral("SELECT count(*) FROM Qe_QuestionsHead")).toInt(), 0);

    const db::ResultSet row = exam.query(QStringLiteral("SELECT * FROM Qe_Exam"));
    ASSERT_EQ(row.recordCount(), 1);
    EXPECT_EQ(row.first().text(QStringLiteral("Qe_ExamCode")), QLatin1String(sample::kExamCode));
    EXPECT_EQ(row.first().text(QStringLiteral("Qe_Exam_Desc")), QLatin1String(sample::kExamDesc));
    EXPECT_EQ(row.first().integer(QStringLiteral("Qe_ValidDB")), 1);
    for (const char* column : {"Qe_Simulated_Time", "Qe_Simulated_PassScore", "Qe_Adaptive_Time",
                               "Qe_Adaptive_PassScore", "Qe_Adaptive_NoofQuest"})
        EXPECT_GT(row.first().integer(QLatin1String(column)), 0) << column;
    EXPECT_FALSE(row.first().text(QStringLiteral("Qe_ExamComment")).trimmed().isEmpty());
}

TEST_F(SampleInstallationTest, ExamHoldsEveryKindOfQuestion)
{
    db::Connection exam = openExam();
    auto count = [&](const char* where) {
        return exam.scalar(QStringLiteral("SELECT count(*) FROM Qe_QuestionsHead q WHERE ") + QLatin1String(where))
            .toInt();
    };
    EXPECT_GE(count("1"), 80);
    EXPECT_GE(exam.scalar(QStringLiteral("SELECT count(DISTINCT Qq_CatCode) FROM Qe_QuestionsHead")).toInt(), 4);
    EXPECT_GT(count("Qq_ChapterCode = 0"), 0);
    EXPECT_EQ(count("Qq_ChapterCode <> 0 AND NOT EXISTS (SELECT 1 FROM Qe_Chapters c WHERE c.Qc_ChapterCode = "
                    "q.Qq_ChapterCode AND c.Qc_catcode = q.Qq_CatCode)"),
              0);
    const char* const right =
        "(SELECT count(*) FROM Qe_AnswerChoice a WHERE a.Qc_QuestCode = q.Qq_QuestCode AND a.Qc_RightAns <> 0)";
    const char* const choices = "(SELECT count(*) FROM Qe_AnswerChoice a WHERE a.Qc_QuestCode = q.Qq_QuestCode)";
    const char* const blanks = "(SELECT count(*) FROM Qe_AnswerFill_Essay a WHERE a.Qd_QuestCode = q.Qq_QuestCode)";
    const struct {
        QString what;
        QString where;
    } kinds[] = {
        {"multiple choice, one right answer", QStringLiteral("Qq_TypeCode = 1 AND %1 = 1").arg(QLatin1String(right))},
        {"multiple choice, several right answers",
         QStringLiteral("Qq_TypeCode = 1 AND %1 >= 2").arg(QLatin1String(right))},
        {"multiple choice, 3 choices", QStringLiteral("Qq_TypeCode = 1 AND %1 = 3").arg(QLatin1String(choices))},
        {"multiple choice, 7 choices", QStringLiteral("Qq_TypeCode = 1 AND %1 = 7").arg(QLatin1String(choices))},
        {"essay with a model answer", QStringLiteral("Qq_TypeCode = 2 AND trim(QQ_CorrectAnswer) <> ''")},
        {"fill in, one blank", QStringLiteral("Qq_TypeCode = 3 AND %1 = 1").arg(QLatin1String(blanks))},
        {"fill in, two blanks", QStringLiteral("Qq_TypeCode = 3 AND %1 = 2").arg(QLatin1String(blanks))},
        {"fill in with alternatives",
         QStringLiteral("Qq_TypeCode = 3 AND EXISTS (SELECT 1 FROM Qe_AnswerFill_Essay a WHERE a.Qd_QuestCode = "
                        "q.Qq_QuestCode AND a.Qd_Desc_Answer LIKE '%|%')")},
        {"ordered list", QStringLiteral("Qq_TypeCode = 4 AND Qq_InteractiveCode = 1")},
        {"tree", QStringLiteral("Qq_TypeCode = 4 AND Qq_InteractiveCode = 2")},
        {"select and place", QStringLiteral("Qq_TypeCode = 4 AND Qq_InteractiveCode = 3")},
        {"scenario", QStringLiteral("Qq_IsScenario <> 0")},
    };
    for (const auto& kind : kinds)
        EXPECT_GT(count(kind.where.toUtf8().constData()), 0) << kind.what.toStdString();

    expectEveryQuestionAnswerable(exam);
    expectDirectivesAddUp(exam);

    // A pretest draws round(30 / categories + 1) questions from every category.
    const int categories = ExamBank(exam).categoryCount();
    const int share = int(std::nearbyint(30.0 / categories + 1));
    EXPECT_EQ(count(QStringLiteral("(SELECT count(*) FROM Qe_QuestionsHead p WHERE p.Qq_CatCode = q.Qq_CatCode) < %1")
                        .arg(share)
                        .toUtf8()
                        .constData()),
              0);

    EXPECT_EQ(count("NOT EXISTS (SELECT 1 FROM Qe_LOS l WHERE l.Qq_QuestCode = q.Qq_QuestCode)"), 0);
    EXPECT_EQ(count("NOT EXISTS (SELECT 1 FROM Qe_Points p WHERE p.Qp_pointNumber = q.Qq_Difficulty)"), 0);
    EXPECT_GT(exam.scalar(QStringLiteral("SELECT count(*) FROM Qe_UserLinks s JOIN Qe_UserLinks f ON "
                                         "s.Ql_UserCode = f.Ql_SerNo WHERE f.Ql_UserCode = 0"))
                  .toInt(),
              0)
        << "links on two levels";
    EXPECT_GT(count("Qq_Explanation LIKE '%<a href=%'"), 0);
}

TEST_F(SampleInstallationTest, ImagesAndScenarioPagesThatTheExamNamesExist)
{
    db::Connection exam = openExam();
    QSet<QString> formats;
    int markers = 0;
    const db::ResultSet texts = exam.query(QStringLiteral(
        "SELECT Qq_Quest_Desc FROM Qe_QuestionsHead UNION ALL SELECT Qq_Explanation FROM Qe_QuestionsHead "
        "UNION ALL SELECT Qc_ChoiceDesc FROM Qe_AnswerChoice"));
    for (const db::Row& row : texts) {
        EXPECT_EQ(row.text(0).count(QStringLiteral("///")) % 2, 0) << row.text(0).toStdString();
        for (const QString& file : imageMarkers(row.text(0))) {
            ++markers;
            const QString format = imageFormat(QDir(examFolder()).filePath(QStringLiteral("images/") + file));
            EXPECT_FALSE(format.isEmpty()) << file.toStdString();
            formats << format;
        }
    }
    EXPECT_GE(markers, 4);
    EXPECT_EQ(formats, (QSet<QString>{"gif", "png", "jpeg", "bmp"}));

    const db::ResultSet scenarios = exam.query(QStringLiteral(
        "SELECT q.Qq_QuestCode, s.Qs_ScenarioPath FROM Qe_QuestionsHead q LEFT JOIN Qe_ScenarioContent s "
        "ON s.Qs_ScenarioId = q.Qq_ScenarioId WHERE q.Qq_IsScenario <> 0"));
    EXPECT_GE(scenarios.recordCount(), 2);
    for (const db::Row& row : scenarios)
        EXPECT_TRUE(QFileInfo(QDir(examFolder()).filePath(QStringLiteral("Scenario/") + row.text(1))).isFile())
            << "question " << row.integer(0) << ": '" << row.text(1).toStdString() << "'";
}

TEST(MkdataTool, RefusesToOverwriteUnlessForced)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("home"));
    const QString exam = dir.filePath(QStringLiteral("synthetic.qzr"));
    const struct {
        QStringList args;
        int exitCode;
    } runs[] = {
        {{"--help"}, 0},
        {{"--home", home}, 0},
        {{"--home", home}, 1}, // an installation is there now
        {{"--home", home, "--force"}, 0},
        {{"--generate-exam", "30", "--out", exam}, 0},
        {{"--generate-exam", "30", "--out", exam}, 1}, // never over an existing file
        {{"--generate-exam", "many", "--out", dir.filePath(QStringLiteral("x.qzr"))}, 2},
        {{"--home"}, 2},
    };
    for (const auto& run : runs) {
        QProcess tool;
        tool.start(QStringLiteral(ZIDUVER_MKDATA), run.args);
        ASSERT_TRUE(tool.waitForFinished(30000));
        const QString error = QString::fromLocal8Bit(tool.readAllStandardError());
        EXPECT_EQ(tool.exitCode(), run.exitCode) << run.args.join(' ').toStdString() << ": " << error.toStdString();
        if (run.exitCode == 1) {
            EXPECT_EQ(error.trimmed().count(QLatin1Char('\n')), 0) << "one line: " << error.toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("x.qzr"))));
    db::Connection written = db::Connection::openFile(exam);
    EXPECT_EQ(written.scalar(QStringLiteral("SELECT count(*) FROM Qe_QuestionsHead")).toInt(), 30);
}

TEST(ExamGenerator, MakesTheQuestionsAskedForOfEveryKind)
{
    QTemporaryDir dir;
    db::Connection exam = db::Connection::create(dir.filePath(QStringLiteral("gen.qzr")));
    schema::createExamDatabase(exam);
    generateExam(exam, 500, 7);

    EXPECT_EQ(exam.scalar(QStringLiteral("SELECT count(*) FROM Qe_QuestionsHead")).toInt(), 500);
    EXPECT_EQ(exam.scalar(QStringLiteral("SELECT max(Qq_QuestCode) FROM Qe_QuestionsHead")).toInt(), 500);
    const db::ResultSet kinds = exam.query(
        QStringLiteral("SELECT DISTINCT Qq_TypeCode, Qq_InteractiveCode FROM Qe_QuestionsHead ORDER BY 1, 2"));
    EXPECT_EQ(kinds.getString(QStringLiteral(":"), QStringLiteral(" ")), QStringLiteral("1:0 2:0 3:0 4:1 4:2 4:3 "));
    EXPECT_EQ(exam.scalar(QStringLiteral("SELECT Qe_ValidDB FROM Qe_Exam")).toInt(), 1);
    expectEveryQuestionAnswerable(exam);
    expectDirectivesAddUp(exam);

    // A small bank still holds every kind.
    db::Connection small = db::Connection::create(dir.filePath(QStringLiteral("small.qzr")));
    schema::createExamDatabase(small);
    generateExam(small, 8, 1);
    EXPECT_EQ(small
                  .scalar(QStringLiteral("SELECT count(DISTINCT Qq_TypeCode * 10 + Qq_InteractiveCode) FROM "
                                         "Qe_QuestionsHead"))
                  .toInt(),
              6);
    expectDirectivesAddUp(small);
}

} // namespace
