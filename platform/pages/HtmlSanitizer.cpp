#include "platform/pages/HtmlSanitizer.h"

#include "platform/pages/ExamPictures.h"
#include "platform/pages/HtmlParse.h"
#include "platform/pages/HtmlWriter.h"
#include "platform/pages/PageEncoding.h"

#include <chrono>
#include <string>

namespace {

using html_parse::childElement;

// Text with no mark-up, entity or control character reads the same as HTML.
bool isPlainText(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '<' || u == '>' || u == '&' || u == 0x7F || (u < 0x20 && u != '\t' && u != '\n' && u != '\r'))
            return false;
    }
    return true;
}

thread_local double millisecondsSpent = 0;

// Adds the time of one call to the thread's total.
class SpentTime {
public:
    ~SpentTime()
    {
        millisecondsSpent +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_start).count();
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

// The rules' resolver, else the pictures of their exam folder; empty when
// no picture can be kept.
PictureResolver picturesOf(const SanitizeRules& rules)
{
    if (rules.pictures)
        return rules.pictures;
    if (rules.examFolder.isEmpty())
        return PictureResolver();
    return examFolderPictures(rules.examFolder, rules.baseFolder);
}

} // namespace

namespace html_sanitizer {

double millisecondsSpentOnThisThread()
{
    return millisecondsSpent;
}

QString tooLongMessage()
{
    return QStringLiteral("<p><i>This text is too long to be shown.</i></p>");
}

QString fragment(const QString& html, const SanitizeRules& rules)
{
    const SpentTime spent;
    if (html.size() > rules.maxChars)
        return tooLongMessage();
    if (isPlainText(html))
        return html;
    const std::string input = html_parse::prepare(html.toStdString());
    const html_parse::GuardedParse parse(input, true);
    const GumboOutput* output = parse.output();
    if (!output)
        return tooLongMessage();
    // A fragment's nodes sit directly in the root element.
    const GumboNode* root = output->root;
    if (const GumboNode* body = childElement(root, GUMBO_TAG_BODY))
        root = body;
    std::string out;
    out.reserve(input.size() + input.size() / 4);
    const PictureResolver pictures = picturesOf(rules);
    html_writer::Writer(rules.keepLinks, pictures).writeChildren(out, root);
    return QString::fromUtf8(out.data(), qsizetype(out.size()));
}

QByteArray document(const QByteArray& html, const SanitizeRules& rules, const QString& policyHead)
{
    const SpentTime spent;
    QByteArray out = "<!DOCTYPE html><html><head>";
    out += policyHead.toUtf8();
    out += "<meta charset=\"utf-8\">";
    const std::string text = page_encoding::utf8Text(html);
    const auto tooLong = [&] {
        out += "</head><body>";
        out += tooLongMessage().toUtf8();
        out += "</body></html>";
        return out;
    };
    // The length in characters is at most the length in bytes.
    if (qsizetype(text.size()) > rules.maxChars
        && QString::fromUtf8(text.data(), qsizetype(text.size())).size() > rules.maxChars)
        return tooLong();
    const std::string input = html_parse::prepare(text);
    const html_parse::GuardedParse parse(input, false);
    const GumboOutput* output = parse.output();
    if (!output)
        return tooLong();
    std::string page;
    page.reserve(input.size() + 256);
    const GumboNode* body = childElement(output->root, GUMBO_TAG_BODY);
    // Markup before the doctype puts the title in the body.
    const GumboNode* title = childElement(childElement(output->root, GUMBO_TAG_HEAD), GUMBO_TAG_TITLE);
    if (!title)
        title = childElement(body, GUMBO_TAG_TITLE);
    if (title)
        html_writer::writeTitle(page, *title);
    // The page's own style sheets, filtered, in the head.
    const GumboNode* head = childElement(output->root, GUMBO_TAG_HEAD);
    for (const GumboNode* holder : {head, body})
        if (holder)
            html_writer::writeStyleSheets(page, *holder);
    page.append("</head><body");
    const PictureResolver pictures = picturesOf(rules);
    html_writer::Writer writer(rules.keepLinks, pictures);
    writer.keepClasses();
    if (body)
        writer.writeBodyAttributes(page, body->v.element);
    page.push_back('>');
    if (body)
        writer.writeChildren(page, body);
    page.append("</body></html>");
    out.append(page.data(), qsizetype(page.size()));
    return out;
}

} // namespace html_sanitizer
