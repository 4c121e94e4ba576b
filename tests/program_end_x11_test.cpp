// The real program, ended from outside while an exam runs: the signal a
// session's end or a shut-down sends writes what End Exam writes, then the
// program quits. Driven on the private X server as a user would, with
// xdotool.
#include "exam/KeptAnswers.h"
#include "platform/db/Connection.h"
#include "tests/support/EventWaits.h"
#include "tools/mkdata/SampleInstallation.h"
#include "tests/x11_main/XvfbTestMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <optional>

namespace {

QString xdotool(const QStringList& args, int ms = 30000)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), args);
    if (!tool.waitForFinished(ms))
        tool.kill();
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

// A free local port for the engine's debugging listener.
int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

// The debugging address of the engine's question page (its address is the
// exam's folder, in the page scheme of the program), or "".
QString questionPageSocket(int port, const QString& examFolder)
{
    QNetworkAccessManager network;
    network.setProxy(QNetworkProxy::NoProxy);
    QNetworkReply* reply = network.get(QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1/json").arg(port))));
    if (!waitFor([reply] { return reply->isFinished(); }, 2000))
        return {};
    const QJsonArray pages = QJsonDocument::fromJson(reply->readAll()).array();
    reply->deleteLater();
    for (const QJsonValue& page : pages)
        if (page.toObject().value(QStringLiteral("url")).toString().endsWith(examFolder + QLatin1Char('/')))
            return page.toObject().value(QStringLiteral("webSocketDebuggerUrl")).toString();
    return {};
}

bool readFully(QTcpSocket& socket, QByteArray& into, qint64 size)
{
    while (into.size() < size) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(3000))
            return false;
        into += socket.read(size - into.size());
    }
    return true;
}

// Evaluates an expression in the page through the engine's debugging
// socket (one WebSocket message each way); the value as text, "" on failure.
QString evaluate(const QString& socketUrl, const QString& expression)
{
    const QUrl url(socketUrl);
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(url.port()));
    if (!socket.waitForConnected(3000))
        return {};
    socket.write("GET " + url.path().toUtf8()
                 + " HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
                   "Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                   "Sec-WebSocket-Version: 13\r\n\r\n");
    QByteArray head;
    while (!head.contains("\r\n\r\n")) {
        if (!socket.waitForReadyRead(3000))
            return {};
        head += socket.read(1);
        while (!head.contains("\r\n\r\n") && socket.bytesAvailable() > 0)
            head += socket.read(1);
    }
    const QByteArray message = QJsonDocument(QJsonObject{{QStringLiteral("id"), 1},
                                                         {QStringLiteral("method"), QStringLiteral("Runtime.evaluate")},
                                                         {QStringLiteral("params"),
                                                          QJsonObject{{QStringLiteral("expression"), expression},
                                                                      {QStringLiteral("returnByValue"), true}}}})
                                   .toJson(QJsonDocument::Compact);
    // A client's frame is masked; a zero mask leaves the text as it is.
    QByteArray frame("\x81", 1);
    if (message.size() < 126) {
        frame += char(0x80 | message.size());
    } else {
        frame += char(0x80 | 126);
        frame += char((message.size() >> 8) & 0xff);
        frame += char(message.size() & 0xff);
    }
    frame += QByteArray(4, '\0') + message;
    socket.write(frame);
    QByteArray header;
    if (!readFully(socket, header, 2))
        return {};
    qint64 length = header[1] & 0x7f;
    if (length >= 126) {
        QByteArray extended;
        if (!readFully(socket, extended, length == 126 ? 2 : 8))
            return {};
        length = 0;
        for (const char byte : extended)
            length = (length << 8) | quint8(byte);
    }
    QByteArray payload;
    if (!readFully(socket, payload, length))
        return {};
    const QJsonValue value = QJsonDocument::fromJson(payload)
                                 .object()
                                 .value(QStringLiteral("result"))
                                 .toObject()
                                 .value(QStringLiteral("result"))
                                 .toObject()
                                 .value(QStringLiteral("value"));
    return value.toVariant().toString();
}

// How long the program may take to end at a signal, and what a loaded
// machine adds to it.
constexpr qint64 kEndBoundMs = 2000;
constexpr qint64 kLoadAllowanceMs = 2000;

// A sample installation for the runs below: single-user unless asked,
// questions with choices only.
struct SampleHome {
    QTemporaryDir dir;
    QString home = dir.filePath(QStringLiteral("home"));
    QString examFolder;
    QString examPath;

    explicit SampleHome(bool singleUser = true)
    {
        writeSampleInstallation(home);
        examFolder = QDir(home).filePath(QStringLiteral("Data/") + QLatin1String(sample::kExamFolder));
        examPath = QDir(examFolder).filePath(QLatin1String(sample::kExamFile));
        db::Connection exam = db::Connection::openFile(examPath);
        exam.exec(QStringLiteral("DELETE FROM Qe_QuestionsHead WHERE Qq_TypeCode <> 1"));
        if (singleUser) {
            db::Connection system = db::Connection::openFile(QDir(home).filePath(QStringLiteral("Ziduver.QZR")));
            system.exec(QStringLiteral("UPDATE Bq_Ziduver_Reg_Det SET BQ_Multiuser = 0"));
        }
    }
    QString rows(const QString& sql) const
    {
        db::Connection exam = db::Connection::openFile(examPath);
        return exam.query(sql).getString(QStringLiteral(":"), QStringLiteral(" "));
    }
    QStringList keptFiles() const
    {
        return keptanswers::keptFiles(home, 2, QLatin1String(sample::kExamCode));
    }
};

// One run of the real program, driven with xdotool as a user would.
class ProgramRun {
public:
    explicit ProgramRun(const SampleHome& home) : m_home(home)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QTWEBENGINE_REMOTE_DEBUGGING"), QString::number(m_port));
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(ZIDUVER_BINARY), {QStringLiteral("--home"), home.home});
        program.waitForStarted();
    }
    ~ProgramRun()
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }

    QStringList visibleWindows() const
    {
        return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--class"),
                        QStringLiteral("^ziduver$")})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // A window that was not visible before, or "".
    QString nextWindow(int ms = 30000)
    {
        QString found;
        waitFor(
            [&] {
                for (const QString& window : visibleWindows())
                    if (!m_seen.contains(window))
                        found = window;
                return !found.isEmpty();
            },
            ms);
        m_seen << found;
        return found;
    }
    static QString sizeOf(const QString& window)
    {
        return xdotool({QStringLiteral("getwindowgeometry"), window}).section(QStringLiteral("Geometry: "), 1);
    }
    static void key(const QString& keys) { xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100"), keys}); }
    static void clickIn(const QString& window, int x, int y)
    {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(x),
                 QString::number(y), QStringLiteral("click"), QStringLiteral("1")});
    }

    // The screen-size warning (the private screen is wide) answered: the
    // login window, or "".
    QString loginWindow()
    {
        QString login = nextWindow();
        if (!login.isEmpty() && sizeOf(login) != QLatin1String("500x400")) {
            key(QStringLiteral("Return"));
            login = nextWindow();
        }
        return sizeOf(login) == QLatin1String("500x400") ? login : QString();
    }
    // Enter in the login window's exam list logs the default user in.
    QString mainWindow()
    {
        if (loginWindow().isEmpty())
            return {};
        key(QStringLiteral("Return"));
        return nextWindow();
    }
    // The exam window whose caption ends with the mode, or "".
    QString examWindow(const char* mode)
    {
        QString found;
        waitFor(
            [&] {
                for (const QString& window : visibleWindows())
                    if (xdotool({QStringLiteral("getwindowname"), window}).contains(QLatin1String(mode)))
                        found = window;
                return !found.isEmpty();
            },
            30000);
        m_seen << found;
        return found;
    }
    // The first choice of the question on screen, by the keyboard from the
    // top of the page; no Next: the end checks the answer on screen.
    bool chooseFirstAnswer(const QString& examWindow)
    {
        QString page;
        if (!waitFor(
                [&] {
                    page = questionPageSocket(m_port, m_home.examFolder);
                    return !page.isEmpty()
                        && evaluate(page, QStringLiteral("String(document.querySelectorAll('input').length > 0)"))
                        == QLatin1String("true");
                },
                30000))
            return false;
        const auto chosen = [&] {
            return evaluate(page, QStringLiteral("String(document.querySelector('input:checked') !== null)"))
                == QLatin1String("true");
        };
        for (int attempt = 0; attempt < 10 && !chosen(); ++attempt) {
            clickIn(examWindow, 300, 100);
            xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100"), QStringLiteral("Tab"),
                     QStringLiteral("space")});
            waitFor(chosen, 2000);
        }
        return chosen();
    }
    // Sends the signal: the milliseconds until the program ended with status
    // 0, or nothing when it did not within `ms` (it is then killed).
    std::optional<qint64> endWith(int signal, int ms)
    {
        if (program.state() != QProcess::Running)
            return std::nullopt;
        QElapsedTimer clock;
        clock.start();
        ::kill(pid_t(program.processId()), signal);
        if (!program.waitForFinished(ms))
            return std::nullopt;
        const qint64 took = clock.elapsed();
        if (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0)
            return std::nullopt;
        return took;
    }

    QProcess program;

private:
    const SampleHome& m_home;
    int m_port = freePort();
    QStringList m_seen;
};

} // namespace

TEST(ProgramEnd, ASignalDuringAnExamWritesItsProgressAndEndsTheProgram)
{
    if (!xServerUnavailable().isEmpty())
        GTEST_SKIP() << xServerUnavailable().toStdString();
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "xdotool is not installed (make deps)";

    // A single-user sample installation whose questions all have choices.
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("home"));
    ASSERT_NO_THROW(writeSampleInstallation(home));
    const QString examFolder = QDir(home).filePath(QStringLiteral("Data/") + QLatin1String(sample::kExamFolder));
    const QString examPath = QDir(examFolder).filePath(QLatin1String(sample::kExamFile));
    {
        db::Connection exam = db::Connection::openFile(examPath);
        exam.exec(QStringLiteral("DELETE FROM Qe_QuestionsHead WHERE Qq_TypeCode <> 1"));
        db::Connection system = db::Connection::openFile(QDir(home).filePath(QStringLiteral("Ziduver.QZR")));
        system.exec(QStringLiteral("UPDATE Bq_Ziduver_Reg_Det SET BQ_Multiuser = 0"));
    }

    const int port = freePort();
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QTWEBENGINE_REMOTE_DEBUGGING"), QString::number(port));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(ZIDUVER_BINARY), {QStringLiteral("--home"), home});
    ASSERT_TRUE(program.waitForStarted());
    const auto cleanup = qScopeGuard([&] {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    });

    // The screen-size warning (the private screen is wide) is answered;
    // Enter in the login window's exam list logs the default user in; the
    // main window follows, where Alt+E starts the pretest.
    const auto visibleWindows = [] {
        return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--class"),
                        QStringLiteral("^ziduver$")})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    };
    QStringList seen;
    const auto nextWindow = [&] {
        QString found;
        waitFor(
            [&] {
                for (const QString& window : visibleWindows())
                    if (!seen.contains(window))
                        found = window;
                return !found.isEmpty();
            },
            30000);
        seen << found;
        return found;
    };
    const auto sizeOf = [](const QString& window) {
        return xdotool({QStringLiteral("getwindowgeometry"), window}).section(QStringLiteral("Geometry: "), 1);
    };
    QString login = nextWindow();
    ASSERT_FALSE(login.isEmpty());
    if (sizeOf(login) != QLatin1String("500x400")) {
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        login = nextWindow();
        ASSERT_EQ(sizeOf(login), QStringLiteral("500x400"));
    }
    xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    ASSERT_FALSE(nextWindow().isEmpty());
    xdotool({QStringLiteral("key"), QStringLiteral("alt+e")});
    QString examWindow;
    ASSERT_TRUE(waitFor(
        [&] {
            for (const QString& window : visibleWindows())
                if (xdotool({QStringLiteral("getwindowname"), window}).contains(QLatin1String("Mode : Pretest")))
                    examWindow = window;
            return !examWindow.isEmpty();
        },
        30000));
    ASSERT_FALSE(examWindow.isEmpty());
    QString page;
    ASSERT_TRUE(waitFor(
        [&] {
            page = questionPageSocket(port, examFolder);
            return !page.isEmpty()
                && evaluate(page, QStringLiteral("String(document.querySelectorAll('input').length > 0)"))
                == QLatin1String("true");
        },
        30000));

    // The first choice of the question on screen, by the keyboard from the
    // top of the page; no Next: the end checks the answer on screen.
    const auto chosen = [&] {
        return evaluate(page, QStringLiteral("String(document.querySelector('input:checked') !== null)"))
            == QLatin1String("true");
    };
    for (int attempt = 0; attempt < 10 && !chosen(); ++attempt) {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), examWindow, QStringLiteral("300"),
                 QStringLiteral("100"), QStringLiteral("click"), QStringLiteral("1")});
        xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100"), QStringLiteral("Tab"),
                 QStringLiteral("space")});
        waitFor(chosen, 2000);
    }
    ASSERT_TRUE(chosen());
    ASSERT_EQ(program.state(), QProcess::Running);
    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    db::Connection exam = db::Connection::openFile(examPath);
    const db::ResultSet rows =
        exam.query(QStringLiteral("SELECT Correct + Wrong, NoAns, pass FROM Qe_Progress WHERE userid = 2"));
    EXPECT_EQ(rows.getString(QStringLiteral(":"), QStringLiteral(" ")).toStdString(), "1:0:0 ")
        << "the answer on screen is checked and written";
}

// A signal that asks the program to end (a session's end or a shut-down
// sends SIGTERM, a closed terminal SIGHUP, Ctrl+C SIGINT) ends it within two
// seconds in every state, after it wrote the running exam and the typed
// note; a start-up message shown before the event loop runs does not hold
// it.
TEST(ProgramEnd, EveryStateEndsAtASignalWithinTwoSecondsAndKeepsWhatWasTyped)
{
    if (!xServerUnavailable().isEmpty())
        GTEST_SKIP() << xServerUnavailable().toStdString();
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "xdotool is not installed (make deps)";

    const QString noProgress = QString();
    const struct {
        const char* name;
        int signal;
        std::function<void(SampleHome&)> prepare;
        // Drives the run into the state; false when it could not.
        std::function<bool(ProgramRun&)> reach;
        QString progress; // "right+wrong:noanswer:pass " per row of the user
        QString note;     // the user's stored note, "" for none
    } cases[] = {
        {"a start-up message: the system database is missing", SIGTERM,
         [](SampleHome& h) { QFile::remove(QDir(h.home).filePath(QStringLiteral("Ziduver.QZR"))); },
         [](ProgramRun& run) { return !run.nextWindow().isEmpty(); }, noProgress, {}},
        {"a start-up message: the screen-size warning", SIGHUP, {},
         [](ProgramRun& run) {
             const QString first = run.nextWindow();
             return !first.isEmpty() && ProgramRun::sizeOf(first) != QLatin1String("500x400");
         },
         noProgress, {}},
        {"a start-up message: exam files discarded", SIGINT,
         [](SampleHome& h) {
             QDir(h.home).mkpath(QStringLiteral("Data/Broken"));
             QFile junk(QDir(h.home).filePath(QStringLiteral("Data/Broken/Broken.qzr")));
             junk.open(QIODevice::WriteOnly);
             junk.write("not an exam database");
         },
         [](ProgramRun& run) {
             // After the screen-size warning.
             const QString first = run.nextWindow();
             if (first.isEmpty())
                 return false;
             ProgramRun::key(QStringLiteral("Return"));
             const QString next = run.nextWindow();
             return !next.isEmpty() && ProgramRun::sizeOf(next) != QLatin1String("500x400");
         },
         noProgress, {}},
        {"the login window", SIGHUP, {}, [](ProgramRun& run) { return !run.loginWindow().isEmpty(); }, noProgress, {}},
        {"the End Exam question over a pretest", SIGTERM, {},
         [](ProgramRun& run) {
             if (run.mainWindow().isEmpty())
                 return false;
             ProgramRun::key(QStringLiteral("alt+e"));
             const QString exam = run.examWindow("Mode : Pretest");
             if (exam.isEmpty() || !run.chooseFirstAnswer(exam))
                 return false;
             ProgramRun::key(QStringLiteral("alt+e"));
             return !run.nextWindow(10000).isEmpty();
         },
         QStringLiteral("1:0:0 "), {}},
        {"Add Note with typed text over a practice drill", SIGTERM, {},
         [](ProgramRun& run) {
             const QString main = run.mainWindow();
             if (main.isEmpty())
                 return false;
             // The Practice Drills picture, then the tree's top check box.
             ProgramRun::clickIn(main, 138, 229);
             ProgramRun::clickIn(main, 296, 103);
             ProgramRun::key(QStringLiteral("alt+e"));
             const QString exam = run.examWindow("Mode : Adaptive Drills");
             if (exam.isEmpty() || !run.chooseFirstAnswer(exam))
                 return false;
             // Option, its third item: Add Note.
             ProgramRun::key(QStringLiteral("alt+o"));
             for (const char* key : {"Down", "Down", "Return"})
                 ProgramRun::key(QLatin1String(key));
             if (run.nextWindow(10000).isEmpty())
                 return false;
             xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
                      QStringLiteral("typed, never saved")});
             return true;
         },
         QStringLiteral("1:0:0 "), QStringLiteral("typed, never saved")},
        {"the question sheet over a pretest", SIGTERM, {},
         [](ProgramRun& run) {
             if (run.mainWindow().isEmpty())
                 return false;
             ProgramRun::key(QStringLiteral("alt+e"));
             const QString exam = run.examWindow("Mode : Pretest");
             if (exam.isEmpty() || !run.chooseFirstAnswer(exam))
                 return false;
             // The toolbar's Print.
             ProgramRun::clickIn(exam, 30, 57);
             return !run.nextWindow(10000).isEmpty();
         },
         QStringLiteral("1:0:0 "), {}},
        {"the notes browser over the main window", SIGHUP, {},
         [](ProgramRun& run) {
             const QString main = run.mainWindow();
             if (main.isEmpty())
                 return false;
             // The Notes button under the modes.
             ProgramRun::clickIn(main, 164, 688);
             return !run.nextWindow(10000).isEmpty();
         },
         noProgress, {}},
        {"the administration window", SIGTERM,
         [](SampleHome& h) {
             db::Connection system = db::Connection::openFile(QDir(h.home).filePath(QStringLiteral("Ziduver.QZR")));
             system.exec(QStringLiteral("UPDATE Bq_Ziduver_Reg_Det SET BQ_Multiuser = 1"));
         },
         [](ProgramRun& run) {
             if (run.loginWindow().isEmpty())
                 return false;
             // The login box has the focus.
             ProgramRun::key(QStringLiteral("ctrl+a"));
             for (const QString& keys : {QStringLiteral("Admin"), QStringLiteral("\t"), QStringLiteral("ADMIN")})
                 xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), keys});
             ProgramRun::key(QStringLiteral("Return"));
             return !run.nextWindow(15000).isEmpty();
         },
         noProgress, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SampleHome home;
        if (c.prepare)
            c.prepare(home);
        ProgramRun run(home);
        ASSERT_TRUE(c.reach(run)) << "the state was not reached";
        // A program that holds on never ends here; one that ends takes well
        // under its two seconds on an idle machine, the allowance is for the
        // engine's helper processes ending while other tests run.
        const std::optional<qint64> took = run.endWith(c.signal, 10000);
        ASSERT_TRUE(took) << "the program did not end, or not with status 0";
        EXPECT_LT(*took, kEndBoundMs + kLoadAllowanceMs);
        if (!QFile::exists(home.examPath))
            continue;
        EXPECT_EQ(home.rows(QStringLiteral("SELECT Correct + Wrong, NoAns, pass FROM Qe_Progress WHERE userid = 2"))
                      .toStdString(),
                  c.progress.toStdString());
        EXPECT_EQ(home.rows(QStringLiteral("SELECT Qn_noteDesc FROM Qe_UserNotes WHERE Qn_UserCode = 2")),
                  c.note.isEmpty() ? QString() : c.note + QStringLiteral(" "));
        EXPECT_TRUE(home.keptFiles().isEmpty());
    }
}

// Another program holds the exam database through the end: the lock is
// waited for within its bound, the answer is kept beside the system
// database, and the next login to the exam writes it and says so.
TEST(ProgramEnd, AnswersThatALockHeldElsewhereStopsAreKeptAndWrittenAtTheNextLogin)
{
    if (!xServerUnavailable().isEmpty())
        GTEST_SKIP() << xServerUnavailable().toStdString();
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "xdotool is not installed (make deps)";

    const QString progress = QStringLiteral("SELECT Correct + Wrong, NoAns, pass FROM Qe_Progress WHERE userid = 2");
    SampleHome home;
    {
        ProgramRun run(home);
        ASSERT_FALSE(run.mainWindow().isEmpty());
        ProgramRun::key(QStringLiteral("alt+e"));
        const QString exam = run.examWindow("Mode : Pretest");
        ASSERT_FALSE(exam.isEmpty());
        ASSERT_TRUE(run.chooseFirstAnswer(exam));
        // Another program writing: it holds the write lock, reads go on.
        db::Connection other = db::Connection::openFile(home.examPath);
        other.exec(QStringLiteral("BEGIN IMMEDIATE"));
        const std::optional<qint64> took = run.endWith(SIGTERM, 15000);
        other.exec(QStringLiteral("ROLLBACK"));
        ASSERT_TRUE(took) << "the program did not end, or not with status 0";
        EXPECT_LT(*took, 5000 + kEndBoundMs + kLoadAllowanceMs) << "five seconds for the lock, and the end";
    }
    EXPECT_EQ(home.rows(progress), QString());
    const QStringList kept = home.keptFiles();
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(QFileInfo(kept[0]).absolutePath(), QFileInfo(home.home).absoluteFilePath());

    ProgramRun again(home);
    ASSERT_FALSE(again.mainWindow().isEmpty());
    const QString told = again.nextWindow(15000);
    ASSERT_FALSE(told.isEmpty()) << "the login says the kept answers were written";
    EXPECT_EQ(home.rows(progress), QStringLiteral("1:0:0 "));
    EXPECT_TRUE(home.keptFiles().isEmpty());
    EXPECT_TRUE(again.endWith(SIGTERM, 5000));
}

