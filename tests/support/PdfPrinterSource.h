#pragma once

#include "platform/browser/PagePrinter.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QString>

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
