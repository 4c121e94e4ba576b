#include "exam/KeptAnswers.h"

#include "exam/ExamProgress.h"
#include "exam/QuestionList.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/WholeFile.h"
#include "platform/db/Connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace keptanswers {

namespace {

const QByteArray kFirstLine = QByteArrayLiteral("Ziduver kept answers ");
const QString kTimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

QString filePrefix(int userCode, const QString& examCode)
{
    // Hexadecimal: any exam code makes a safe name, and one code is never
    // the start of another's part of the name.
    return QStringLiteral("kept-answers-u%1-e%2-")
        .arg(userCode)
        .arg(QString::fromLatin1(examCode.toUtf8().toHex()));
}

// A whole decimal number in the 32-bit range, nothing else.
std::optional<int> strictInt(const QByteArray& text)
{
    if (text.isEmpty() || text.size() > 11)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!(text[i] >= '0' && text[i] <= '9') && !(i == 0 && text[i] == '-' && text.size() > 1))
            return std::nullopt;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

Decoded refused(const QString& why)
{
    return Decoded{std::nullopt, why};
}

} // namespace

std::vector<KeptAnswer> fromQuestionList(const QuestionList& list, int reached)
{
    std::vector<KeptAnswer> answers;
    const int last = std::min(reached, list.questionCount());
    for (int i = 1; i <= last; ++i)
        if (list.text(i, colNoAnswer).trimmed() == QLatin1String("0"))
            answers.push_back({list.questionCode(i), list.number(i, colCorrect) == 1});
    return answers;
}

QByteArray encode(const KeptAnswers& kept)
{
    QByteArray bytes = kFirstLine + QByteArray::number(kFormatVersion) + '\n';
    bytes += "user " + QByteArray::number(kept.userCode) + '\n';
    bytes += "exam " + kept.examCode.toUtf8().toHex() + '\n';
    bytes += "kept " + kept.keptAt.toString(kTimeFormat).toLatin1() + '\n';
    for (const KeptAnswer& answer : kept.answers)
        bytes += "answer " + QByteArray::number(answer.questCode) + (answer.right ? " 1\n" : " 0\n");
    bytes += "end " + QByteArray::number(qsizetype(kept.answers.size())) + '\n';
    return bytes;
}

Decoded decode(const QByteArray& bytes)
{
    if (bytes.size() > kLargestFile)
        return refused(QStringLiteral("it is larger than %1 bytes").arg(kLargestFile));
    if (!bytes.endsWith('\n'))
        return refused(QStringLiteral("it is cut short"));
    const QList<QByteArray> lines = bytes.left(bytes.size() - 1).split('\n');
    if (lines.isEmpty() || !lines[0].startsWith(kFirstLine))
        return refused(QStringLiteral("it is not a file of kept answers"));
    if (lines[0] != kFirstLine + QByteArray::number(kFormatVersion))
        return refused(QStringLiteral("it is of another version (%1) than this program reads (%2)")
                           .arg(QString::fromLatin1(lines[0].mid(kFirstLine.size()).left(20)))
                           .arg(kFormatVersion));
    const auto field = [&](qsizetype index, const QByteArray& key) -> std::optional<QByteArray> {
        if (index >= lines.size() || !lines[index].startsWith(key + ' '))
            return std::nullopt;
        return lines[index].mid(key.size() + 1);
    };
    KeptAnswers kept;
    const std::optional<QByteArray> user = field(1, "user");
    const std::optional<int> userCode = user ? strictInt(*user) : std::nullopt;
    const std::optional<QByteArray> exam = field(2, "exam");
    const std::optional<QByteArray> at = field(3, "kept");
    if (!userCode || !exam || !at)
        return refused(QStringLiteral("its heading is damaged"));
    kept.userCode = *userCode;
    const QByteArray examHex = *exam;
    for (const char c : examHex)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return refused(QStringLiteral("its heading is damaged"));
    if (examHex.size() % 2 != 0)
        return refused(QStringLiteral("its heading is damaged"));
    kept.examCode = QString::fromUtf8(QByteArray::fromHex(examHex));
    kept.keptAt = QDateTime::fromString(QString::fromLatin1(*at), kTimeFormat);
    if (!kept.keptAt.isValid())
        return refused(QStringLiteral("its heading is damaged"));
    qsizetype index = 4;
    for (; index < lines.size() && lines[index].startsWith("answer "); ++index) {
        const QList<QByteArray> parts = lines[index].split(' ');
        const std::optional<int> code = parts.size() == 3 ? strictInt(parts[1]) : std::nullopt;
        if (!code || (parts[2] != "0" && parts[2] != "1"))
            return refused(QStringLiteral("its line %1 is damaged").arg(index + 1));
        kept.answers.push_back({*code, parts[2] == "1"});
    }
    const std::optional<QByteArray> end = field(index, "end");
    const std::optional<int> count = end ? strictInt(*end) : std::nullopt;
    if (!count)
        return refused(index < lines.size() ? QStringLiteral("its line %1 is damaged").arg(index + 1)
                                            : QStringLiteral("it is cut short"));
    if (*count != int(kept.answers.size()))
        return refused(QStringLiteral("it is cut short"));
    if (index + 1 != lines.size())
        return refused(QStringLiteral("its line %1 is damaged").arg(index + 2));
    return Decoded{std::move(kept), {}};
}

QString keep(const QString& folder, const KeptAnswers& kept, QString* path)
{
    const QString prefix = QDir(folder).filePath(filePrefix(kept.userCode, kept.examCode));
    const QString stamp = kept.keptAt.toString(QStringLiteral("yyyyMMddHHmmss"));
    QString target;
    for (int n = 1; n < 1000 && (target.isEmpty() || QFileInfo::exists(target)); ++n)
        target = prefix + stamp + QStringLiteral("-%1.txt").arg(n, 3, 10, QLatin1Char('0'));
    if (QFileInfo::exists(target))
        return QStringLiteral("too many files of kept answers are waiting");
    if (path)
        *path = target;
    return writeWholeFile(target, encode(kept));
}

QStringList keptFiles(const QString& folder, int userCode, const QString& examCode)
{
    QStringList files;
    const QDir dir(folder);
    // The names sort as they were kept: the stamp, then the number.
    for (const QString& name :
         dir.entryList({filePrefix(userCode, examCode) + QStringLiteral("*.txt")}, QDir::Files | QDir::System,
                       QDir::Name))
        files << dir.filePath(name);
    return files;
}

Decoded readFile(const QString& path, int userCode, const QString& examCode)
{
    // Opened without blocking and checked as opened: a regular file, not
    // too large.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refused(QStringLiteral("it cannot be opened (%1)").arg(QString::fromLocal8Bit(std::strerror(errno))));
    struct stat status { };
    QByteArray bytes;
    QString problem;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        problem = QStringLiteral("it is not a regular file");
    } else if (status.st_size > kLargestFile) {
        problem = QStringLiteral("it is larger than %1 bytes").arg(kLargestFile);
    } else {
        bytes.resize(qsizetype(status.st_size) + 1);
        qsizetype got = 0;
        for (;;) {
            const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                problem = QStringLiteral("it cannot be read (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
                break;
            }
            if (n == 0)
                break;
            got += n;
            // Grown since the size was read: refused rather than read on.
            if (got == bytes.size()) {
                problem = QStringLiteral("it changed while it was read");
                break;
            }
        }
        bytes.resize(got);
    }
    ::close(fd);
    if (!problem.isEmpty())
        return refused(problem);
    Decoded decoded = decode(bytes);
    if (decoded.kept && (decoded.kept->userCode != userCode || decoded.kept->examCode != examCode))
        return refused(QStringLiteral("it holds the answers of another user or exam than its name says"));
    return decoded;
}

QString Replay::message() const
{
    QStringList lines;
    if (answersWritten > 0 || !filesWritten.isEmpty())
        lines << QStringLiteral("%1 answer(s) of an earlier exam that could not be saved when the program ended were "
                                "written to this exam's progress now.")
                     .arg(answersWritten);
    lines += problems;
    return lines.join(QStringLiteral("\r\n\r\n"));
}

Replay replay(db::Connection& exam, const QString& folder, const UserAccount& account, const QString& examCode)
{
    const int userCode = account.userCode;
    Replay outcome;
    for (const QString& path : keptFiles(folder, userCode, examCode)) {
        const Decoded decoded = readFile(path, userCode, examCode);
        if (!decoded.kept) {
            outcome.problems << QStringLiteral("Answers kept when the program ended could not be written: the file ")
                    + QDir::toNativeSeparators(path) + QStringLiteral(" is refused, as ") + decoded.problem
                    + QStringLiteral(". The file is left as it is; remove it once you no longer need it.");
            continue;
        }
        QuestionList list;
        for (const KeptAnswer& answer : decoded.kept->answers) {
            list.addQuestion(answer.questCode, 1);
            list.setText(list.questionCount(), colCorrect, answer.right ? QStringLiteral("1") : QStringLiteral("0"));
            list.setText(list.questionCount(), colNoAnswer, QStringLiteral("0"));
        }
        const ProgressWriteResult result = UpdateProgress(exam, list, list.questionCount(), account);
        if (!result.saved) {
            QString why = QStringLiteral("Answers kept when the program ended could not be written yet.\r\nThe exam "
                                         "database ")
                + exam.path() + QStringLiteral(" could not be written.");
            if (result.failure) {
                try {
                    std::rethrow_exception(result.failure);
                } catch (const std::exception& error) {
                    why = databaseProblemText(QStringLiteral("Answers kept when the program ended could not be "
                                                             "written yet."),
                                              exam.path(), error, DatabaseUse::Writing);
                } catch (...) {
                }
            }
            outcome.problems << why + QStringLiteral("\r\nThey stay kept in ") + QDir::toNativeSeparators(path)
                    + QStringLiteral(" and are written at your next login to this exam.");
            continue;
        }
        outcome.answersWritten += int(decoded.kept->answers.size());
        outcome.filesWritten << path;
        // Written: the file goes, or it would be written again.
        if (!QFile::remove(path))
            outcome.problems << QStringLiteral("The kept answers are written, but the file ")
                    + QDir::toNativeSeparators(path)
                    + QStringLiteral(" could not be removed. Remove it, or they are written again at your next login "
                                     "to this exam.");
    }
    return outcome;
}

void replayAtLogin(QObject* owner)
{
    bool ok = false;
    const int userCode = gLogin.gUserCode.trimmed().toInt(&ok);
    const QString folder = QFileInfo(gStartup.gSysDbPath).absolutePath();
    if (!ok || keptFiles(folder, userCode, gLogin.gExamCode).isEmpty())
        return;
    Replay outcome;
    try {
        db::Connection exam = db::Connection::open(gLogin.gExamConnStr);
        outcome = replay(exam, folder, UserAccount{userCode, gStartup.gSysConnStr}, gLogin.gExamCode);
    } catch (const std::exception& error) {
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" : replayAtLogin : Date/Time :") + logDateTime());
        outcome.problems << databaseProblemText(QStringLiteral("Answers kept when the program ended could not be "
                                                               "written yet."),
                                                db::Connection::pathFromConnectionString(gLogin.gExamConnStr), error,
                                                DatabaseUse::Writing)
                + QStringLiteral("\r\nThey stay kept and are written at your next login to this exam.");
    }
    const QString message = outcome.message();
    if (!message.isEmpty())
        ShowMessage(message, gLogin.gAppName, OneButton, owner);
}

} // namespace keptanswers
