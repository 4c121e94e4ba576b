#pragma once

#include "platform/browser/PagePrinter.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

// The print dialog of the window tests: each time it is asked, it records
// the file the printer held before and points the printer at its own PDF
// file (or is cancelled).
class PdfPrinterSource : public PrinterSource {
public:
    explicit PdfPrinterSource(QString path) : path(std::move(path)) { PagePrinter::setSource(this); }
    ~PdfPrinterSource() override { PagePrinter::setSource(nullptr); }
    PdfPrinterSource(const PdfPrinterSource&) = delete;
    PdfPrinterSource& operator=(const PdfPrinterSource&) = delete;

    bool choose(QPrinter& printer, QWidget*) override
    {
        ++asked;
        offered = printer.outputFileName();
        if (!accept)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    }
    bool hasDefaultPrinter() const override { return defaultPrinter; }

    QString path;
    bool accept = true;
    bool defaultPrinter = false;
    int asked = 0;
    QString offered; // the output file the printer held when last asked
};

// The number of pages of a PDF file; -1 when it cannot be read.
inline int pdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(file.readAll());
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(text.count(page));
}

// The output of a poppler tool (pdftotext, pdfinfo) for a PDF file; the
// null string when the tool is missing (tools/install-deps.sh installs it)
// or fails.
inline QString pdfToolOutput(const QString& tool, const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return {};
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of a PDF file, one line per line of text (pdftotext).
inline QString pdfText(const QString& path)
{
    return pdfToolOutput(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
}

// pdfinfo's "Page size:" line of the first page, such as
// "420 x 595 pts (A5)"; "" when it cannot be read.
inline QString pdfPageSize(const QString& path)
{
    const QStringList lines = pdfToolOutput(QStringLiteral("pdfinfo"), {path}).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (line.startsWith(QLatin1String("Page size:")))
            return line.mid(10).trimmed();
    return {};
}
