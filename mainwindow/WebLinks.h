#pragma once

#include <QString>
#include <optional>
#include <vector>

// The exam's web links and comment as the main window's menu uses them. Each
// step opens its own connection on the connection string (the exam database
// of gLogin.gExamConnStr in the program) and closes it before it returns.

// The two flags the menu reads, set once when the main window loads.
struct WebLinkFlags {
    bool links = false;   // first-level links exist
    bool comment = false; // the exam has a comment text (not only blanks)
};
// IsWebLinks. A database that cannot be read is logged and leaves both flags
// as they were given (False at load): the menu then offers no links and no
// credits.
WebLinkFlags IsWebLinks(const QString& examConnStr, WebLinkFlags flags = {});

// A link row of the menu.
struct WebLinkRow {
    QString caption;
    int serialNumber = 0;    // Ql_SerNo, what a click opens
    bool hasSubList = false; // a first-level link with a second-level list
};
// FillWebLinksMenu: the first-level links in stored order, each marked when
// it has a second-level list; as many rows as there are links. Database
// errors reach the caller (db::DbError).
std::vector<WebLinkRow> FillWebLinksMenu(const QString& examConnStr);

// The second-level list shows at most this many rows.
inline constexpr int kSubListRowLimit = 12;
// ShowWebLinksSubMenu: the first rows of the parent's second-level list.
std::vector<WebLinkRow> ShowWebLinksSubMenu(const QString& examConnStr, int parent);

// OpenWebLink's target: Ql_LinkPath of the link (NULL read ""), nullopt
// without such a link. "[localpath]" and trimming are the opener's.
std::optional<QString> webLinkTarget(const QString& examConnStr, int serialNumber);

// GetExamComment: the first exam row's comment, not trimmed; "" without a row.
QString GetExamComment(const QString& examConnStr);
