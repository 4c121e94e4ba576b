#include "foundation/LinkTargets.h"

#include "foundation/DebugLog.h"
#include "foundation/MailAddress.h"
#include "foundation/Messages.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "foundation/ShownDocument.h"
#include "foundation/TextRules.h"
#include "platform/pages/FileLookup.h"
#include "platform/pages/PageAddress.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

LinkDecision refuse(const QString& message)
{
    return {LinkDecision::Refuse, QUrl(), message, QString()};
}

LinkDecision notAllowed(const QString& target)
{
    return refuse(QStringLiteral("The link \"%1\" was not opened: an exam's links open only web pages (http, https), "
                                 "e-mail addresses (mailto) and documents.")
                      .arg(target));
}

// The real file an absolute path names, found without regard to case; "" if none.
QString findAbsoluteIgnoringCase(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    if (QFileInfo::exists(clean))
        return clean;
    if (!clean.startsWith(QLatin1Char('/')))
        return QString();
    return findFileIgnoringCase(QStringLiteral("/"), clean.mid(1));
}

struct Folders {
    QString program;
    QString exam;
};

LinkDecision decideLocal(const QString& path, const QString& shown, bool restricted, const Folders& folders)
{
    QString local = path;
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isRelativePath(local))
        local = QDir(folders.program).filePath(local);
    const QString found = findAbsoluteIgnoringCase(local);
    if (found.isEmpty())
        return refuse(QStringLiteral("The file \"%1\" cannot be found.").arg(shown));
    const QFileInfo info(found);
    if (!restricted)
        return {LinkDecision::Open, QUrl::fromLocalFile(info.absoluteFilePath()), QString(), QString()};
    // Judged and opened as the file a symbolic link leads to: the desktop
    // picks its handler by the name it is given.
    const QString real = info.canonicalFilePath();
    if (real.isEmpty() || !(realPathInside(real, folders.program) || realPathInside(real, folders.exam)) || !isShownDocument(real))
        return notAllowed(shown);
    if (isHtmlDocument(real))
        return {LinkDecision::ShowPage, QUrl::fromLocalFile(real), QString(), folders.exam};
    return {LinkDecision::Open, QUrl::fromLocalFile(real), QString(), QString()};
}

} // namespace

QString preparedTarget(const QString& target, LinkSource source, const QString& programFolder)
{
    QString text = target;
    switch (source) {
    case LinkSource::WebLink:
        text.replace(QLatin1String("[localpath]"), programFolder + QLatin1Char('/'));
        return trimBlanks(text);
    case LinkSource::Contact:
        return trimBlanks(text);
    case LinkSource::Help:
        return programFolder + QLatin1Char('/') + text;
    case LinkSource::Favourite:
    case LinkSource::PageLink:
        break;
    }
    return text;
}

LinkDecision decideLinkTarget(const QString& target, LinkSource source, const QString& programFolder,
                              const QString& examFolder)
{
    const Folders folders{programFolder, examFolder};
    if (source == LinkSource::Help) {
        if (target.trimmed().isEmpty())
            return {};
        return decideLocal(preparedTarget(target, source, programFolder), target, false, folders);
    }
    const QString text = preparedTarget(target, source, programFolder);
    if (text.trimmed().isEmpty())
        return {};
    const bool restricted = source == LinkSource::WebLink || source == LinkSource::PageLink;

    // A web address without its scheme is a web page's: "http://" put
    // before it, and judged as such, whatever it holds.
    if (text.startsWith(QLatin1String("www."), Qt::CaseInsensitive)) {
        // "www.x-handler://..." names a scheme, not a host: what stands before
        // the first "/" is a host and at most a port.
        const QString authority = text.left(text.indexOf(QRegularExpression(QStringLiteral("[/?#]"))));
        const QString port = authority.contains(QLatin1Char(':')) ? authority.section(QLatin1Char(':'), 1) : QString();
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
        const QUrl url(QStringLiteral("http://") + text, QUrl::StrictMode);
        if ((authority.contains(QLatin1Char(':')) && !digits.match(port).hasMatch()) || !url.isValid()
            || url.host().isEmpty() || !url.host().startsWith(QLatin1String("www."), Qt::CaseInsensitive))
            return refuse(QStringLiteral("\"%1\" is not a valid address.").arg(text));
        return {LinkDecision::Open, url, QString(), QString()};
    }

    // A scheme has two letters or more, so "C:\..." is a path.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.\\-]+:"));
    if (scheme.match(text).hasMatch()) {
        const QUrl url(text, QUrl::StrictMode);
        if (!url.isValid())
            return refuse(QStringLiteral("\"%1\" is not a valid address.").arg(text));
        const QString name = url.scheme().toLower();
        if (name == QLatin1String("file"))
            return decideLocal(url.toLocalFile(), text, restricted, folders);
        if (page_address::isPageAddress(url)) {
            const QString local = page_address::localPath(url);
            return restricted && !local.isEmpty() ? decideLocal(local, local, restricted, folders) : notAllowed(text);
        }
        if ((name == QLatin1String("http") || name == QLatin1String("https")) && url.host().isEmpty())
            return refuse(QStringLiteral("\"%1\" is not a valid address.").arg(text));
        if (restricted && name == QLatin1String("mailto")) {
            // The mail program gets the address as read here, not the text.
            const QUrl mail = plainMailAddress(url);
            return mail.isValid() ? LinkDecision{LinkDecision::Open, mail, QString(), QString()}
                                  : refuse(QStringLiteral("The link \"%1\" was not opened: an e-mail address of an exam "
                                                          "may carry only a subject, a body and more addresses "
                                                          "(to, cc, bcc), never a file or another field.")
                                               .arg(text));
        }
        if (restricted && name != QLatin1String("http") && name != QLatin1String("https"))
            return notAllowed(text);
        return {LinkDecision::Open, url, QString(), QString()};
    }
    return decideLocal(text, text, restricted, folders);
}

namespace {
LinkOpener*& openerSlot()
{
    static LinkOpener* opener = nullptr;
    return opener;
}
} // namespace

LinkOpener* installedLinkOpener()
{
    return openerSlot();
}

void installLinkOpener(LinkOpener* opener)
{
    openerSlot() = opener;
}

bool openLinkTarget(const QString& target, LinkSource source, LinkOpener& opener, const QString& procedure,
                    QObject* owner, const QString& window)
{
    const QString exam = gLogin.gExamDbPath.isEmpty() ? QString() : QFileInfo(gLogin.gExamDbPath).absolutePath();
    const LinkDecision decision = decideLinkTarget(target, source, programFolder(), exam);
    QString problem;
    if (decision.kind == LinkDecision::Nothing)
        return false;
    if (decision.kind == LinkDecision::Refuse)
        problem = decision.message;
    else if (decision.kind == LinkDecision::ShowPage) {
        if (!opener.showPage(decision.url, decision.examFolder, owner))
            problem = QStringLiteral("\"%1\" could not be shown.").arg(decision.url.toLocalFile());
    } else if (!opener.openUrl(decision.url))
        problem = QStringLiteral("\"%1\" could not be opened.").arg(decision.url.toString());
    if (problem.isEmpty())
        return true;
    WriteLog(problem + QStringLiteral(" : ") + procedure + QStringLiteral(" : ") + window + QLatin1Char(' ')
             + logDate());
    ShowMessage(problem, gLogin.gAppName, OneButton, owner);
    return false;
}
