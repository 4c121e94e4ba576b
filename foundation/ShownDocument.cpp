#include "foundation/ShownDocument.h"

#include "platform/pages/ExamFile.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QStringList>

namespace {

enum class Kind { None, Text, Pdf, Picture };

// Enough of a file's start for the content types' signatures.
constexpr qint64 kHeadBytes = 65536;

Kind kindByName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm") || suffix == QLatin1String("txt"))
        return Kind::Text;
    if (suffix == QLatin1String("pdf"))
        return Kind::Pdf;
    static const QStringList pictures = {QStringLiteral("gif"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                         QStringLiteral("png"), QStringLiteral("bmp")};
    return pictures.contains(suffix) ? Kind::Picture : Kind::None;
}

// Content the desktop may hand to an interpreter or an installer whatever
// the file is called. Scripts are text too, so these are looked for among
// the content type's ancestors before the kind is.
bool isRunnable(const QString& type)
{
    static const QStringList runnable = {
        QStringLiteral("application/x-executable"),
        QStringLiteral("application/x-pie-executable"),
        QStringLiteral("application/x-sharedlib"),
        QStringLiteral("application/x-shellscript"),
        QStringLiteral("application/x-desktop"),
        QStringLiteral("application/java-archive"),
        QStringLiteral("application/x-java-jnlp-file"),
        QStringLiteral("application/zip"),
        QStringLiteral("application/x-msdownload"),
        QStringLiteral("application/x-ms-dos-executable"),
        QStringLiteral("application/javascript"),
        QStringLiteral("application/ecmascript"),
        QStringLiteral("text/javascript"),
        QStringLiteral("application/x-php"),
        QStringLiteral("image/svg+xml"),
    };
    return runnable.contains(type) || type.startsWith(QLatin1String("text/x-"));
}

} // namespace

bool isShownDocument(const QString& realPath)
{
    const QFileInfo info(realPath);
    if (!info.isFile() || info.isSymLink() || info.isExecutable())
        return false;
    const Kind kind = kindByName(realPath);
    if (kind == Kind::None)
        return false;

    // Judged by the head of the file opened as every stranger's file is: a
    // FIFO put in its place never blocks, a document past the bound is none.
    const exam_file::Read head = exam_file::read(realPath, exam_file::Kind::Document, kHeadBytes);
    if (!head)
        return false;
    const QMimeType content = QMimeDatabase().mimeTypeForData(head.bytes);
    QStringList types = content.allAncestors();
    types.prepend(content.name());
    for (const QString& type : types)
        if (isRunnable(type))
            return false;
    switch (kind) {
    case Kind::Text:
        // HTML and the text kinds derive from plain text; an empty file has
        // nothing to run.
        return types.contains(QLatin1String("text/plain")) || content.name() == QLatin1String("application/x-zerosize");
    case Kind::Pdf:
        return types.contains(QLatin1String("application/pdf"));
    case Kind::Picture:
        return content.name().startsWith(QLatin1String("image/"));
    case Kind::None:
        break;
    }
    return false;
}

bool isHtmlDocument(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("html") || suffix == QLatin1String("htm");
}
