#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

// Where a target to open comes from; each source is prepared as its command
// says.
enum class LinkSource {
    // A web link of the exam database: trimmed, "[localpath]" (exact case)
    // becomes the program folder. An exam database can be attached from any
    // folder, so only http, https and mailto addresses and existing local
    // documents that are not programs or scripts open.
    WebLink,
    // The contact target of setup.xml: trimmed.
    Contact,
    // The help file named in setup.xml, below the program folder.
    Help,
    // A stored favourite: opened as it is.
    Favourite,
    // A link the user clicked in a page (a question, an explanation, a
    // scenario, help): as the page resolved it, under the web links' rules.
    PageLink,
};

// What opening a target comes to.
struct LinkDecision {
    enum Kind {
        Nothing, // an empty target: nothing opens, nothing is said
        Open,    // open `url`
        Refuse,  // say `message`
        // show the HTML document `url` in the program's own page view, its
        // pictures served from `examFolder`
        ShowPage,
    };
    Kind kind = Nothing;
    QUrl url;
    QString message;
    QString examFolder;
};

// The target as its source prepares it, before it is parsed: a web link
// with every "[localpath]" replaced and trimmed of blanks, a contact target
// trimmed, the help file's path below the program folder, a favourite as it
// is.
QString preparedTarget(const QString& target, LinkSource source, const QString& programFolder);

// The decision for a target of a source. Scheme addresses are parsed
// strictly; "www." addresses become web addresses; any other text is a local
// path ("\" read as "/", relative to the program folder), found without
// regard to case and opened as a file URL.
//
// What comes from an exam database (web links, page links) opens only when
// it is known to be safe: a web page (http, https), an e-mail address
// (mailto) with text header fields only, opened as rebuilt from them, or a
// document (HTML, PDF, plain text, a picture, by name and by content) that is
// not a program, in the program folder or the exam's folder. A symbolic link
// is judged and opened as the file it leads to. An HTML document is never
// handed to the desktop (its browser would run the page's scripts): it is
// shown in the program's own page view. Everything else is refused.
LinkDecision decideLinkTarget(const QString& target, LinkSource source, const QString& programFolder,
                              const QString& examFolder = QString());

// Opens URLs on the desktop; tests put in one that records them.
class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    // False when the desktop could not open it.
    virtual bool openUrl(const QUrl& url) = 0;
    // Shows the HTML document of a file URL in the program's own page view,
    // which serves pictures from the exam's folder and passes an exam's page
    // through the sanitizer. False when it could not be shown.
    virtual bool showPage(const QUrl& url, const QString& examFolder, QObject* owner) = 0;
};
// The opener the program installed (null before one is).
LinkOpener* installedLinkOpener();
void installLinkOpener(LinkOpener* opener);

// Opens a target of a source through the opener. A refusal, or an address the
// desktop could not open, is written to the debug log (with the procedure's
// and the window's name) and shown in the program's message box over the
// owner. The exam's folder is that of the chosen exam. True when the target
// was opened.
bool openLinkTarget(const QString& target, LinkSource source, LinkOpener& opener, const QString& procedure,
                    QObject* owner = nullptr, const QString& window = QStringLiteral("frmMain"));
