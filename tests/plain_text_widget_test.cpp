// Text from exams and users made safe for tips and labels: shown exactly as
// written, with nothing in it that loads, links or formats.
#include "platform/ui/PlainText.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

namespace {

// How a tip or a label (Qt::AutoText) reads the text: the words shown, and
// whether any picture, link or bold face is in it.
struct Read {
    QString shown;
    bool loadsOrFormats = false;
};

Read asATipReadsIt(const QString& text)
{
    QTextDocument document;
    if (Qt::mightBeRichText(text))
        document.setHtml(text);
    else
        document.setPlainText(text);
    Read read{document.toPlainText(), false};
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            read.loadsOrFormats = read.loadsOrFormats || format.isImageFormat() || format.isAnchor()
                || format.fontWeight() > QFont::Normal || format.fontItalic() || format.fontUnderline();
        }
    return read;
}

TEST(PlainText, AnyTextReadsAsWrittenAndNothingInItLoadsLinksOrFormats)
{
    const struct {
        const char* name;
        QString text;
        QString shown; // as the tip shows it, when it differs from the text
    } cases[] = {
        {"an endless picture", QStringLiteral("<img src=\"/dev/zero\"> Routing"), {}},
        {"a picture from the disk", QStringLiteral("<img src='/etc/pki/logo.png'>Switching"), {}},
        {"a picture without quotes", QStringLiteral("<IMG SRC=/usr/share/pixmaps/debian-logo.png>"), {}},
        {"bold", QStringLiteral("<b>bold</b> and <i>italic</i> <u>u</u>"), {}},
        {"an entity", QStringLiteral("Fish &amp; Chips &lt;b&gt; &#60;img src=x&#62;"), {}},
        {"a link", QStringLiteral("<a href=\"file:///etc/passwd\">click</a>"), {}},
        {"Qt's rich-text marker", QStringLiteral("<qt>shown as rich</qt>"), {}},
        {"a whole page", QStringLiteral("<!DOCTYPE html><html><head><style>*{font-weight:bold}</style></head>"
                                        "<body background=\"/tmp/x.png\">page</body></html>"),
         {}},
        {"a closing paragraph", QStringLiteral("</p><p style=\"font-weight:900\">escape"), {}},
        {"a lone ampersand and brackets", QStringLiteral("a < b && c > d"), {}},
        {"runs of spaces", QStringLiteral("two  spaces   three"), {}},
        {"line breaks of every kind", QStringLiteral("one\r\ntwo\nthree\rfour"), QStringLiteral("one\ntwo\nthree\nfour")},
        {"not markup at all", QStringLiteral("Linux System Administration"), {}},
        {"non-ASCII", QStringLiteral("Prüfung <b>für</b> Ärzte ∑"), {}},
    };
    for (const auto& c : cases) {
        const QString tip = plainTip(c.text);
        const Read read = asATipReadsIt(tip);
        EXPECT_EQ(read.shown, c.shown.isNull() ? c.text : c.shown) << c.name;
        EXPECT_FALSE(read.loadsOrFormats) << c.name;
        // A tip's text that Qt read as plain would show the escapes themselves.
        EXPECT_TRUE(Qt::mightBeRichText(tip)) << c.name;
    }
    EXPECT_TRUE(plainTip(QString()).isEmpty()) << "no text, no tip";
}

} // namespace
