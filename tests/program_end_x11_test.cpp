// The real program, ended from outside while an exam runs: the signal a
// session's end or a shut-down sends writes what End Exam writes, then the
// program quits. Driven on the private X server as a user would, with
// xdotool.
#include "platform/db/Connection.h"
#include "tests/support/EventWaits.h"
#include "tools/mkdata/SampleInstallation.h"
#include "tests/x11_main/XvfbTestMain.h"

#include <QDir>
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
