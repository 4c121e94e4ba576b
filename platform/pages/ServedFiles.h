#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <vector>

// What the program's scheme serves, and to whom. Three kinds of folder:
// - the program folder: its static pages, scripts, style sheets and pictures;
//   its "Data" folder, which holds every exam, is left out;
// - the folder of the exam in use (one at a time): its pictures and its HTML
//   files, which are strangers' files and are served only through the
//   sanitizer (scripts and style sheets of an exam are never served);
// - private folders and files: pages a window wrote for itself (the question
//   sheet, the explanation, long written pages), served only to a load the
//   program itself started, never to a page.
// Every file is found by its real path (symbolic links resolved), which must
// lie inside the folder it was asked through. Databases, the settings, the
// log and any other kind of file are never served.
class ServedFiles {
public:
    void setProgramFolder(const QString& folder);
    // The exam in use from now on; the exam before it is served no more.
    void setExamFolder(const QString& folder);
    QString examFolder() const { return m_exam.canonical; }
    void addPrivateFolder(const QString& folder);
    void addPrivateFile(const QString& path);

    enum class Origin { Program, Exam, Private };
    struct Found {
        QString path; // the real file; "" when refused
        Origin origin = Origin::Program;
        explicit operator bool() const { return !path.isEmpty(); }
    };
    // The file a page address asks for, found without regard to case.
    // programLoad: the load was started by the program (no page asked).
    Found find(const QUrl& address, bool programLoad) const;
    // The real file for an address, as the program itself would load it.
    QString fileFor(const QUrl& address) const { return find(address, true).path; }

    // The bytes of a file found, read as every file of an exam's folder is
    // (platform/pages/ExamFile): a regular file within the bound of its kind,
    // else nothing and the refusal that names it.
    static QByteArray read(const Found& found, QString* refusal = nullptr);

    // The content type of a served file, by its suffix.
    static QByteArray contentType(const QString& path);
    static bool isServedKind(const QString& path);

private:
    struct Folder {
        QString given;     // absolute, as pages address it, ending in "/"
        QString canonical; // where it really is, ending in "/"
        bool empty() const { return canonical.isEmpty(); }
    };
    static Folder folderOf(const QString& folder);
    // The real file below the folder that the asked path names, or "".
    static QString realFileBelow(const Folder& folder, const QString& asked);
    bool insideProgramData(const QString& real) const;

    Folder m_program;
    Folder m_exam;
    std::vector<Folder> m_private;
    QStringList m_privateFiles; // real paths
};

// The files the program's scheme serves, for the whole program.
ServedFiles& servedPageFiles();

// The head every page gets before any of its own text: a content-security
// policy that lets a page load its own files and inline scripts and nothing
// else (no connections, no network, no plug-ins, no workers, no form posts),
// no link prefetching, and no picture drawn larger than the page.
QString pagePolicyHead();
// The HTML with that head put first: after a byte-order mark, and after a
// doctype only when nothing but HTML white space stands before it, so that no
// byte of the file can push the policy out of the head.
QByteArray withPagePolicy(const QByteArray& html);
