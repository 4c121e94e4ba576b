#include "platform/pages/ServedFiles.h"

#include "platform/pages/ExamFile.h"
#include "platform/pages/FileLookup.h"
#include "platform/pages/PageAddress.h"

#include <QDir>
#include <QFileInfo>

namespace {

struct Kind {
    const char* suffix;
    const char* contentType;
};

constexpr Kind kServedKinds[] = {
    {"html", "text/html"}, {"htm", "text/html"},    {"js", "text/javascript"}, {"css", "text/css"},
    {"gif", "image/gif"},  {"jpg", "image/jpeg"},   {"jpeg", "image/jpeg"},    {"png", "image/png"},
    {"bmp", "image/bmp"},  {"ico", "image/x-icon"},
};

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool below(const QString& path, const QString& folderWithSlash)
{
    return !folderWithSlash.isEmpty() && path.startsWith(folderWithSlash);
}

} // namespace

ServedFiles& servedPageFiles()
{
    static ServedFiles files;
    return files;
}

ServedFiles::Folder ServedFiles::folderOf(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || !QFileInfo(canonical).isDir())
        return {};
    return {withSlash(QDir::cleanPath(QFileInfo(folder).absoluteFilePath())), withSlash(canonical)};
}

void ServedFiles::setProgramFolder(const QString& folder)
{
    m_program = folderOf(folder);
}

void ServedFiles::setExamFolder(const QString& folder)
{
    // Pages are written against the same folder again and again: a folder
    // known by the name given costs no look-up on the disk.
    const QString given = withSlash(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
    if (given == m_exam.given || given == m_program.given)
        return;
    const Folder exam = folderOf(folder);
    // The program folder itself is never an exam's folder.
    if (!exam.empty() && exam.canonical == m_program.canonical)
        return;
    m_exam = exam;
}

void ServedFiles::addPrivateFolder(const QString& folder)
{
    const Folder added = folderOf(folder);
    if (added.empty())
        return;
    for (const Folder& known : m_private)
        if (known.canonical == added.canonical)
            return;
    m_private.push_back(added);
}

void ServedFiles::addPrivateFile(const QString& path)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    if (!real.isEmpty() && !m_privateFiles.contains(real))
        m_privateFiles << real;
}

QByteArray ServedFiles::contentType(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    for (const Kind& kind : kServedKinds)
        if (suffix.compare(QLatin1String(kind.suffix), Qt::CaseInsensitive) == 0)
            return kind.contentType;
    return QByteArray();
}

bool ServedFiles::isServedKind(const QString& path)
{
    return !contentType(path).isEmpty();
}

QString ServedFiles::realFileBelow(const Folder& folder, const QString& asked)
{
    if (folder.empty())
        return QString();
    // The one place an address meets the disk: the folder's part and every
    // part below it compare without regard to case, as the banks were
    // written on a file system that ignores it.
    QString relative;
    if (asked.startsWith(folder.given, Qt::CaseInsensitive))
        relative = asked.mid(folder.given.size());
    else if (asked.startsWith(folder.canonical, Qt::CaseInsensitive))
        relative = asked.mid(folder.canonical.size());
    else
        return QString();
    const QString found = findFileIgnoringCase(folder.canonical, relative);
    if (found.isEmpty())
        return QString();
    // Judged by where it really is: a symbolic link must not lead out.
    const QString real = QFileInfo(found).canonicalFilePath();
    if (real.isEmpty() || !below(real, folder.canonical) || !isServedKind(real) || !QFileInfo(real).isFile())
        return QString();
    return real;
}

bool ServedFiles::insideProgramData(const QString& real) const
{
    if (!below(real, m_program.canonical))
        return false;
    const QString relative = real.mid(m_program.canonical.size());
    return relative.contains(QLatin1Char('/'))
        && relative.section(QLatin1Char('/'), 0, 0).compare(QLatin1String("Data"), Qt::CaseInsensitive) == 0;
}

ServedFiles::Found ServedFiles::find(const QUrl& address, bool programLoad) const
{
    const QString asked = page_address::localPath(address);
    if (asked.isEmpty() || !isServedKind(asked))
        return {};

    QString real = realFileBelow(m_exam, asked);
    if (real.isEmpty())
        real = realFileBelow(m_program, asked);
    if (!real.isEmpty()) {
        // The exam in use: strangers' files wherever it lies, of which only
        // pages and pictures are served.
        if (below(real, m_exam.canonical)) {
            const QByteArray type = contentType(real);
            if (type == "text/javascript" || type == "text/css")
                return {};
            return {real, Origin::Exam};
        }
        // Another exam's files, and pages a window wrote for itself, are no
        // page's to load.
        if (insideProgramData(real))
            return {};
        if (m_privateFiles.contains(real))
            return programLoad ? Found{real, Origin::Private} : Found{};
        return {real, Origin::Program};
    }
    if (programLoad) {
        for (const Folder& folder : m_private)
            if (const QString inside = realFileBelow(folder, asked); !inside.isEmpty())
                return {inside, Origin::Private};
    }
    return {};
}

QByteArray ServedFiles::read(const Found& found, QString* refusal)
{
    const QByteArray type = contentType(found.path);
    const exam_file::Kind kind = found.origin == Origin::Private ? exam_file::Kind::Written
        : type.startsWith("image/")                              ? exam_file::Kind::Picture
                                                                 : exam_file::Kind::Page;
    exam_file::Read file = exam_file::read(found.path, kind);
    // The file found was judged by its real path: a link put there since
    // leads elsewhere and is not read.
    if (file && file.realPath != found.path)
        file.refusal = QStringLiteral("The file \"%1\" was not read: it was replaced.").arg(found.path);
    if (refusal)
        *refusal = file.refusal;
    return file ? file.bytes : QByteArray();
}

QString pagePolicyHead()
{
    return QStringLiteral(
        "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'self' 'unsafe-inline' 'unsafe-eval' "
        "data:; connect-src 'none'; object-src 'none'; worker-src 'none'; manifest-src 'none'; form-action 'none'; "
        "base-uri 'self'\"><meta http-equiv=\"x-dns-prefetch-control\" content=\"off\">"
        // A picture is never drawn larger than the page, whatever size its
        // tag or its header claims: scaled to fit, its aspect kept.
        "<style>img{max-width:100%!important;max-height:100vh!important;height:auto!important;"
        "object-fit:contain!important}</style>");
}

QByteArray withPagePolicy(const QByteArray& html)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    const qsizetype start = html.startsWith(bom) ? bom.size() : 0;
    qsizetype at = start;
    // Only what the HTML parser itself takes for white space may stand
    // before a doctype that the policy follows: any other byte (a vertical
    // tab) would open the body before the policy is read.
    while (at < html.size()
           && (html[at] == ' ' || html[at] == '\t' || html[at] == '\n' || html[at] == '\f' || html[at] == '\r'))
        ++at;
    qsizetype insertAt = start;
    if (html.mid(at, 9).compare("<!doctype", Qt::CaseInsensitive) == 0) {
        const qsizetype end = html.indexOf('>', at);
        if (end > 0)
            insertAt = end + 1;
    }
    QByteArray page = html;
    page.insert(insertAt, pagePolicyHead().toUtf8());
    return page;
}
