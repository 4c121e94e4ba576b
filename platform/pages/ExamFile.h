#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Files of an exam's folder are strangers' files: a name may lead to a FIFO
// (whose open waits for a writer for ever), a socket, a device, a folder or a
// sparse file of gigabytes. Every such file is read here and only here: the
// path is resolved (symbolic links followed), the real path opened without
// following a link again and without blocking, and the open file checked
// before a byte is read: it must be a regular file no larger than the bound
// of its kind. Anything else is refused like a missing file, with a text
// that names the file.
namespace exam_file {

enum class Kind {
    Page,     // an HTML page, a script or a style sheet
    Picture,  // a picture (and the head its size is read from)
    Document, // a document a link opens with the desktop's viewer
    Written,  // a page the program wrote for itself
};

// The largest file of a kind that is read, in bytes.
qint64 sizeBound(Kind kind);

struct Read {
    QByteArray bytes;
    QString realPath; // the file read
    QString refusal;  // why nothing was read; "" when read
    explicit operator bool() const { return refusal.isEmpty(); }
};

// The file's bytes; headBytes >= 0 reads at most that many from its start
// (the whole file is still checked against the bound of its kind).
Read read(const QString& path, Kind kind, qint64 headBytes = -1);

// True when the path names a regular file within the bound of its kind (the
// file is opened and checked as read() does, nothing is read).
bool isReadable(const QString& path, Kind kind, QString* refusal = nullptr);

} // namespace exam_file
