#pragma once

#include "foundation/UserWrite.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QObject;
class QuestionList;
namespace db {
class Connection;
}

// Answers of an exam that could not be written to its database as the
// program ended (another program held it, the disk was full). They are kept
// in a small file beside the system database, named for the user and the
// exam, and written at that user's next login to that exam.
//
// The file is UTF-8 text, one record a line, in this order:
//   Ziduver kept answers 1
//   user <user code>
//   exam <exam code, hexadecimal UTF-8>
//   kept <yyyy-MM-ddTHH:mm:ss>
//   answer <question code> <1 right, 0 wrong>   (once per answer, as answered)
//   end <number of answers>
// It is read strictly: another first line, a line out of place, a number out
// of range, a missing end or a count that differs refuses the whole file.

struct KeptAnswer {
    int questCode = 0;
    bool right = false;
    bool operator==(const KeptAnswer&) const = default;
};

struct KeptAnswers {
    int userCode = 0;
    QString examCode;
    QDateTime keptAt;
    std::vector<KeptAnswer> answers;
};

namespace keptanswers {

constexpr int kFormatVersion = 1;
// A file larger than this is refused before it is read.
constexpr qint64 kLargestFile = 4 * 1024 * 1024;

// What End Exam would write from the exam's list: each checked question of
// rows 1 to reached, in order.
std::vector<KeptAnswer> fromQuestionList(const QuestionList& list, int reached);

QByteArray encode(const KeptAnswers& kept);
struct Decoded {
    std::optional<KeptAnswers> kept;
    QString problem; // why the bytes were refused, in words
};
Decoded decode(const QByteArray& bytes);

// Writes a new keep file into folder (never over another). Empty on
// success, else why in words; path receives the file's path.
QString keep(const QString& folder, const KeptAnswers& kept, QString* path = nullptr);
// The keep files of the user and exam in folder, oldest first.
QStringList keptFiles(const QString& folder, int userCode, const QString& examCode);
// Reads one keep file: a regular file, its size checked first, for this
// user and exam.
Decoded readFile(const QString& path, int userCode, const QString& examCode);

// The outcome of writing the kept answers at a login.
struct Replay {
    int answersWritten = 0;
    QStringList filesWritten;
    QStringList problems; // one text per file left in place, in words
    // The lines for the user; "" when there was nothing kept.
    QString message() const;
};
// Writes every kept answer of the user and exam into the exam database,
// each file in one transaction, removing the files written. A file that is
// damaged or cannot be written now is left in place and said.
Replay replay(db::Connection& exam, const QString& folder, const UserAccount& account, const QString& examCode);

// At a login to an exam: the logged-in user's kept answers of that exam are
// written, and what was done is shown in one message (nothing when nothing
// was kept).
void replayAtLogin(QObject* owner);

} // namespace keptanswers
