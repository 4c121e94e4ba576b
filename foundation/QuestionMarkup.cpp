#include "foundation/QuestionMarkup.h"

#include "foundation/TextRules.h"

#include "foundation/DebugLog.h"
#include "foundation/clsImage.h"
#include "platform/pages/ExamFile.h"
#include "platform/pages/FileLookup.h"
#include "platform/pages/HtmlSanitizer.h"
#include "platform/pages/PageAddress.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <exception>

namespace {

const QString kMarker = QStringLiteral("///");
const QString kImagesFolder = QStringLiteral("images");

// Where a missing file would be: the images folder and the name, never a
// path outside that folder.
QString namedPath(const QString& examFolder, const QString& fileName)
{
    const QString images = QDir::cleanPath(QDir(examFolder).absoluteFilePath(kImagesFolder));
    QString name = fileName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString path = QDir::cleanPath(images + QLatin1Char('/') + name);
    if (path.startsWith(images + QLatin1Char('/')))
        return path;
    return images + QLatin1Char('/') + name.section(QLatin1Char('/'), -1);
}

} // namespace

QString MarkedImage::url() const
{
    return page_address::forFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
}

QString htmlAttributeEscaped(const QString& text)
{
    QString escaped = text.toHtmlEscaped();
    escaped.replace(QLatin1Char('\''), QLatin1String("&#39;"));
    return escaped;
}

QString markerFileName(const QString& segment)
{
    const qsizetype slash = segment.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0)
        return segment.mid(slash + 1);
    const qsizetype equals = segment.indexOf(QLatin1Char('='));
    if (equals >= 0)
        return segment.mid(equals + 1);
    return segment;
}

MarkedImage findMarkedImage(const QString& examFolder, const QString& fileName, clsImage& reader)
{
    MarkedImage image;
    image.fileName = fileName;
    QString relative = fileName;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString found =
        relative.isEmpty() ? QString() : findFileIgnoringCase(examFolder, kImagesFolder + QLatin1Char('/') + relative);
    // A FIFO, a device, a folder or a picture past the bound is no picture:
    // it shows as a missing one.
    if (found.isEmpty() || !exam_file::isReadable(found, exam_file::Kind::Picture)) {
        image.path = namedPath(examFolder, fileName);
        return image;
    }
    image.found = true;
    image.path = QFileInfo(found).absoluteFilePath();
    reader.ReadImageInfo(image.path);
    if (reader.ImageType() != clsImage::NotRecognised) {
        image.width = reader.Width();
        image.height = reader.Height();
    }
    return image;
}

QString imageElement(const MarkedImage& image)
{
    QString tag = QStringLiteral("<img src ='") + htmlAttributeEscaped(image.url()) + QLatin1Char('\'');
    if (!image.found)
        tag += QStringLiteral(" height=0 width=0");
    else if (image.sized())
        tag += QStringLiteral(" height=%1 width=%2").arg(image.height).arg(image.width);
    return tag + QLatin1Char('>');
}

QString replaceImageMarkers(const QString& text, const QString& examFolder,
                            const std::function<QString(const MarkedImage&)>& imageTag)
{
    clsImage reader;
    QString output;
    bool open = false;
    qsizetype start = 0;
    qsizetype p = 0;
    while (p < text.size()) {
        const qsizetype q = text.indexOf(kMarker, p);
        if (q < 0) {
            output += text.mid(p);
            break;
        }
        if (open) {
            const QString segment = text.mid(start + kMarker.size(), q - start - kMarker.size());
            // A marker never spans a line: three slashes of the text before
            // it (a file:/// address) stay text, and this one may open.
            if (segment.contains(QLatin1Char('\n')) || segment.contains(QLatin1Char('\r'))) {
                output += text.mid(start, q - start);
                start = q;
                p = q + kMarker.size();
                continue;
            }
            open = false;
            if (segment.contains(QLatin1String("image")))
                output += imageTag(findMarkedImage(examFolder, markerFileName(segment), reader));
            else
                output += segment;
        } else {
            open = true;
            start = q;
            output += text.mid(p, q - p);
        }
        p = q + kMarker.size();
    }
    return output;
}

QString carriageReturnsToBreaks(const QString& html)
{
    static const QRegularExpression preOpen(QStringLiteral("<pre(?=[\\s>])[^>]*>"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression preClose(QStringLiteral("</pre\\s*>"), QRegularExpression::CaseInsensitiveOption);
    const auto breaks = [](QString text) { return text.replace(QLatin1Char('\r'), QLatin1String("<br>")); };

    QString output;
    qsizetype p = 0;
    while (p < html.size()) {
        const QRegularExpressionMatch opening = preOpen.match(html, p);
        if (!opening.hasMatch()) {
            output += breaks(html.mid(p));
            break;
        }
        output += breaks(html.mid(p, opening.capturedStart() - p));
        // An unclosed block runs to the end of the text, as the browser shows it.
        const QRegularExpressionMatch closing = preClose.match(html, opening.capturedEnd());
        const qsizetype end = closing.hasMatch() ? closing.capturedEnd() : html.size();
        output += html.mid(opening.capturedStart(), end - opening.capturedStart());
        p = end;
    }
    return output;
}

QString html_maker(const QString& text, const QString& examFolder, bool debugLog)
{
    QString html = text;
    try {
        html = replaceImageMarkers(text, examFolder, [](const MarkedImage& image) {
            return QStringLiteral("<br> ") + imageElement(image) + QStringLiteral("<br>");
        });
    } catch (const std::exception& error) {
        WriteLog(QString::fromLocal8Bit(error.what()) + QStringLiteral(": HTML_maker:basZiduver:Date/Time :")
                 + logDate());
    }
    html = trimBlanks(carriageReturnsToBreaks(html));
    if (debugLog)
        WriteLog(QStringLiteral("Html code generated: html_maker: basZiduver: Date/Time :") + logDate());
    return html;
}

QString printoutTable(const QString& table, const QString& examFolder, qsizetype rows)
{
    SanitizeRules rules;
    rules.examFolder = examFolder;
    rules.keepLinks = false;
    rules.maxChars *= rows + 1;
    return html_sanitizer::fragment(carriageReturnsToBreaks(table), rules);
}

namespace {

SanitizeRules printoutRules(const QString& examFolder)
{
    SanitizeRules rules;
    rules.examFolder = examFolder;
    rules.keepLinks = false;
    return rules;
}

} // namespace

QString printoutPiece(const QString& html, const QString& examFolder)
{
    return html_sanitizer::fragment(carriageReturnsToBreaks(html), printoutRules(examFolder));
}

QString printoutRows(const QString& rows, const QString& examFolder)
{
    if (rows.trimmed().isEmpty())
        return QString();
    // Parsed inside a table of their own, so the rows stay rows; the frame
    // takes the rows, in the table body they were parsed in.
    static const QString open = QStringLiteral("<table>");
    static const QString close = QStringLiteral("</table>");
    static const QString bodyOpen = QStringLiteral("<tbody>");
    static const QString bodyClose = QStringLiteral("</tbody>");
    QString table = printoutPiece(open + rows + close, examFolder);
    if (!table.startsWith(open) || !table.endsWith(close)) // too long: the program's own words, in a row
        return QStringLiteral("<tr><td colspan=\"2\">") + table + QStringLiteral("</td></tr>");
    table = table.mid(open.size(), table.size() - open.size() - close.size());
    if (table.startsWith(bodyOpen) && table.endsWith(bodyClose))
        table = table.mid(bodyOpen.size(), table.size() - bodyOpen.size() - bodyClose.size());
    return table;
}
