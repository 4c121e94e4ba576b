#include "mainwindow/WebLinks.h"

#include "foundation/DebugLog.h"
#include "foundation/SharedState.h"
#include "foundation/TextRules.h"
#include "foundation/WebLinksTable.h"
#include "platform/db/Connection.h"

#include <QDate>
#include <QTime>
#include <exception>

namespace {

void debugLine(const char* text)
{
    if (gStartup.gDebug == 1)
        WriteLog(QString::fromLatin1(text) + logDate() + QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
}

} // namespace

WebLinkFlags IsWebLinks(const QString& examConnStr, WebLinkFlags flags)
{
    debugLine("Entered Web Links: Module: IsWebLinks: frmMain Date/Time :");
    try {
        db::Connection exam = db::Connection::open(examConnStr);
        WebLinksTable table(exam);
        const bool links = table.hasLinks(0);
        debugLine("Db Opened: Module: IsWebLinks: frmMain Date/Time :");
        if (links)
            flags.links = true;
        if (const std::optional<QString> comment = table.examComment())
            flags.comment = !trimBlanks(*comment).isEmpty();
    } catch (const std::exception& error) {
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" : IsWebLinks : frmMain ") + logDate());
    }
    debugLine("End of Web Links reached: Module: IsWebLinks: frmMain Date/Time :");
    return flags;
}

std::vector<WebLinkRow> FillWebLinksMenu(const QString& examConnStr)
{
    db::Connection exam = db::Connection::open(examConnStr);
    WebLinksTable table(exam);
    std::vector<WebLinkRow> rows;
    for (const WebLinksTable::Link& link : table.links(0))
        rows.push_back({link.caption, link.serialNumber, table.hasLinks(link.serialNumber)});
    return rows;
}

std::vector<WebLinkRow> ShowWebLinksSubMenu(const QString& examConnStr, int parent)
{
    db::Connection exam = db::Connection::open(examConnStr);
    std::vector<WebLinkRow> rows;
    for (const WebLinksTable::Link& link : WebLinksTable(exam).links(parent)) {
        if (int(rows.size()) == kSubListRowLimit)
            break;
        rows.push_back({link.caption, link.serialNumber, false});
    }
    return rows;
}

std::optional<QString> webLinkTarget(const QString& examConnStr, int serialNumber)
{
    db::Connection exam = db::Connection::open(examConnStr);
    return WebLinksTable(exam).linkPath(serialNumber);
}

QString GetExamComment(const QString& examConnStr)
{
    db::Connection exam = db::Connection::open(examConnStr);
    return WebLinksTable(exam).examComment().value_or(QString());
}
