#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <vector>

// What the program's scheme serves: only files below the folders the program
// itself showed pages from (the program folder, an exam's folder, the folder
// of a long written page), and of those only the page's own kinds of file:
// HTML, scripts, style sheets and images. A database, the settings, the log or
// any other file is never served, whichever page asks.
class ServedFiles {
public:
    // Serves the files below the folder from now on.
    void addFolder(const QString& folder);

    // The real file a page address asks for, found without regard to case
    // below a served folder, or "" when it is not to be served.
    QString fileFor(const QUrl& address) const;

    // The content type of a served file, by its suffix.
    static QByteArray contentType(const QString& path);
    static bool isServedKind(const QString& path);

private:
    struct Folder {
        QString given;     // absolute, as pages address it, ending in "/"
        QString canonical; // where it really is, ending in "/"
    };
    std::vector<Folder> m_folders;
};

// The files the program's scheme serves, for the whole program.
ServedFiles& servedPageFiles();

// The head every page gets before any of its own text: a content-security
// policy that lets a page load its own files and inline scripts and nothing
// else (no connections, no network, no plug-ins, no workers, no form posts),
// and no link prefetching.
QString pagePolicyHead();
// The HTML with that head put first (after a byte-order mark or a doctype).
QByteArray withPagePolicy(const QByteArray& html);
