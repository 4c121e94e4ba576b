#include "mainwindow/LinkTargets.h"

#include "foundation/DatabaseFileLookup.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "foundation/TextRules.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

LinkDecision refuse(const QString& message)
{
    return {LinkDecision::Refuse, QUrl(), message};
}

LinkDecision notAllowed(const QString& target)
{
    return refuse(QStringLiteral("The link \"%1\" was not opened: an exam's links open only web pages (http, https), "
                                 "e-mail addresses (mailto) and documents.")
                      .arg(target));
}

// Programs and scripts by their name, whatever their file mode says.
bool isProgramName(const QString& path)
{
    static const QStringList suffixes = {
        QStringLiteral("desktop"), QStringLiteral("sh"),  QStringLiteral("bash"),       QStringLiteral("csh"),
        QStringLiteral("ksh"),     QStringLiteral("zsh"), QStringLiteral("fish"),       QStringLiteral("py"),
        QStringLiteral("pyw"),     QStringLiteral("pl"),  QStringLiteral("rb"),         QStringLiteral("php"),
        QStringLiteral("tcl"),     QStringLiteral("lua"), QStringLiteral("exe"),        QStringLiteral("com"),
        QStringLiteral("bat"),     QStringLiteral("cmd"), QStringLiteral("msi"),        QStringLiteral("scr"),
        QStringLiteral("pif"),     QStringLiteral("vbs"), QStringLiteral("vbe"),        QStringLiteral("js"),
        QStringLiteral("jse"),     QStringLiteral("wsf"), QStringLiteral("wsh"),        QStringLiteral("ps1"),
        QStringLiteral("jar"),     QStringLiteral("run"), QStringLiteral("bin"),        QStringLiteral("appimage"),
        QStringLiteral("lnk"),     QStringLiteral("url"), QStringLiteral("command"),    QStringLiteral("app"),
        QStringLiteral("deb"),     QStringLiteral("rpm"), QStringLiteral("flatpakref"), QStringLiteral("so"),
    };
    return suffixes.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
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

LinkDecision decideLocal(const QString& path, const QString& shown, bool restricted, const QString& programFolder)
{
    QString local = path;
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isRelativePath(local))
        local = QDir(programFolder).filePath(local);
    const QString found = findAbsoluteIgnoringCase(local);
    if (found.isEmpty())
        return refuse(QStringLiteral("The file \"%1\" cannot be found.").arg(shown));
    const QFileInfo info(found);
    if (restricted && (!info.isFile() || info.isExecutable() || isProgramName(found)))
        return notAllowed(shown);
    return {LinkDecision::Open, QUrl::fromLocalFile(info.absoluteFilePath()), QString()};
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
        break;
    }
    return text;
}

LinkDecision decideLinkTarget(const QString& target, LinkSource source, const QString& programFolder)
{
    if (source == LinkSource::Help) {
        if (target.trimmed().isEmpty())
            return {};
        return decideLocal(preparedTarget(target, source, programFolder), target, false, programFolder);
    }
    const QString text = preparedTarget(target, source, programFolder);
    if (text.trimmed().isEmpty())
        return {};
    const bool restricted = source == LinkSource::WebLink;

    if (text.startsWith(QLatin1String("www."), Qt::CaseInsensitive)) {
        const QUrl url = QUrl::fromUserInput(text);
        if (!url.isValid() || url.host().isEmpty())
            return refuse(QStringLiteral("\"%1\" is not a valid address.").arg(text));
        return {LinkDecision::Open, url, QString()};
    }

    // A scheme has two letters or more, so "C:\..." is a path.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.\\-]+:"));
    if (scheme.match(text).hasMatch()) {
        const QUrl url(text, QUrl::StrictMode);
        if (!url.isValid())
            return refuse(QStringLiteral("\"%1\" is not a valid address.").arg(text));
        const QString name = url.scheme().toLower();
        if (name == QLatin1String("file"))
            return decideLocal(url.toLocalFile(), text, restricted, programFolder);
        if ((name == QLatin1String("http") || name == QLatin1String("https")) && url.host().isEmpty())
            return refuse(QStringLiteral("\"%1\" is not a valid address.").arg(text));
        if (restricted && name != QLatin1String("http") && name != QLatin1String("https")
            && name != QLatin1String("mailto"))
            return notAllowed(text);
        return {LinkDecision::Open, url, QString()};
    }
    return decideLocal(text, text, restricted, programFolder);
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
                    QObject* owner)
{
    const LinkDecision decision = decideLinkTarget(target, source, programFolder());
    QString problem;
    if (decision.kind == LinkDecision::Nothing)
        return false;
    if (decision.kind == LinkDecision::Refuse)
        problem = decision.message;
    else if (!opener.openUrl(decision.url))
        problem = QStringLiteral("\"%1\" could not be opened.").arg(decision.url.toString());
    if (problem.isEmpty())
        return true;
    WriteLog(problem + QStringLiteral(" : ") + procedure + QStringLiteral(" : frmMain ") + logDate());
    ShowMessage(problem, gLogin.gAppName, OneButton, owner);
    return false;
}
