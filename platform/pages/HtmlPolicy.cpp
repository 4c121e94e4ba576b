#include "platform/pages/HtmlPolicy.h"

#include "platform/pages/HtmlChars.h"
#include "platform/pages/PageAddress.h"

#include <QByteArray>
#include <QUrl>

#include <cctype>
#include <initializer_list>

namespace html_policy {

namespace {

using html_chars::isAsciiAlpha;
using html_chars::lowerAscii;
using html_chars::trimmed;

// The URL's scheme in lower case, "" for a relative reference.
std::string schemeOf(std::string_view url)
{
    if (url.empty() || !isAsciiAlpha(url[0]))
        return std::string();
    for (std::size_t i = 1; i < url.size(); ++i) {
        const char c = url[i];
        if (c == ':')
            return lowerAscii(url.substr(0, i));
        if (!(isAsciiAlpha(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))
            return std::string();
    }
    return std::string();
}

// A colon before the first "/", "?" or "#" names a scheme; one that is not
// a well-formed scheme is no relative reference either.
bool hasSchemeColon(std::string_view url)
{
    const std::size_t colon = url.find(':');
    return colon != std::string_view::npos && colon < url.find_first_of("/?#");
}

} // namespace

const KeepTable& keepTable()
{
    static const KeepTable table = [] {
        KeepTable t;
        t.fill(Keep::Text);
        for (GumboTag tag :
             {GUMBO_TAG_P,      GUMBO_TAG_BR,    GUMBO_TAG_HR,      GUMBO_TAG_H1,       GUMBO_TAG_H2,
              GUMBO_TAG_H3,     GUMBO_TAG_H4,    GUMBO_TAG_H5,      GUMBO_TAG_H6,       GUMBO_TAG_B,
              GUMBO_TAG_STRONG, GUMBO_TAG_I,     GUMBO_TAG_EM,      GUMBO_TAG_U,        GUMBO_TAG_S,
              GUMBO_TAG_STRIKE, GUMBO_TAG_SUB,   GUMBO_TAG_SUP,     GUMBO_TAG_SMALL,    GUMBO_TAG_BIG,
              GUMBO_TAG_FONT,   GUMBO_TAG_SPAN,  GUMBO_TAG_DIV,     GUMBO_TAG_CENTER,   GUMBO_TAG_BLOCKQUOTE,
              GUMBO_TAG_PRE,    GUMBO_TAG_CODE,  GUMBO_TAG_TT,      GUMBO_TAG_KBD,      GUMBO_TAG_SAMP,
              GUMBO_TAG_VAR,    GUMBO_TAG_Q,     GUMBO_TAG_CITE,    GUMBO_TAG_ABBR,     GUMBO_TAG_ACRONYM,
              GUMBO_TAG_DFN,    GUMBO_TAG_DEL,   GUMBO_TAG_INS,     GUMBO_TAG_MARK,     GUMBO_TAG_UL,
              GUMBO_TAG_OL,     GUMBO_TAG_LI,    GUMBO_TAG_DL,      GUMBO_TAG_DT,       GUMBO_TAG_DD,
              GUMBO_TAG_TABLE,  GUMBO_TAG_THEAD, GUMBO_TAG_TBODY,   GUMBO_TAG_TFOOT,    GUMBO_TAG_TR,
              GUMBO_TAG_TD,     GUMBO_TAG_TH,    GUMBO_TAG_CAPTION, GUMBO_TAG_COLGROUP, GUMBO_TAG_COL,
              GUMBO_TAG_IMG,    GUMBO_TAG_A,     GUMBO_TAG_WBR,     GUMBO_TAG_BDO,      GUMBO_TAG_BDI,
              GUMBO_TAG_RUBY,   GUMBO_TAG_RT,    GUMBO_TAG_RP,      GUMBO_TAG_RB,       GUMBO_TAG_TIME})
            t[tag] = Keep::Element;
        for (GumboTag tag :
             {GUMBO_TAG_SCRIPT,   GUMBO_TAG_STYLE,    GUMBO_TAG_TEMPLATE, GUMBO_TAG_NOSCRIPT, GUMBO_TAG_IFRAME,
              GUMBO_TAG_FRAME,    GUMBO_TAG_FRAMESET, GUMBO_TAG_OBJECT,   GUMBO_TAG_EMBED,    GUMBO_TAG_APPLET,
              GUMBO_TAG_SVG,      GUMBO_TAG_MATH,     GUMBO_TAG_TITLE,    GUMBO_TAG_TEXTAREA, GUMBO_TAG_SELECT,
              GUMBO_TAG_OPTION,   GUMBO_TAG_OPTGROUP, GUMBO_TAG_DATALIST, GUMBO_TAG_NOEMBED,  GUMBO_TAG_NOFRAMES,
              GUMBO_TAG_HEAD,     GUMBO_TAG_META,     GUMBO_TAG_LINK,     GUMBO_TAG_BASE,     GUMBO_TAG_PARAM,
              GUMBO_TAG_SOURCE,   GUMBO_TAG_TRACK,    GUMBO_TAG_AUDIO,    GUMBO_TAG_VIDEO,    GUMBO_TAG_CANVAS,
              GUMBO_TAG_INPUT,    GUMBO_TAG_KEYGEN,   GUMBO_TAG_ISINDEX,  GUMBO_TAG_BGSOUND,  GUMBO_TAG_MAP,
              GUMBO_TAG_AREA,     GUMBO_TAG_MENUITEM, GUMBO_TAG_IMAGE,    GUMBO_TAG_BASEFONT, GUMBO_TAG_OUTPUT,
              GUMBO_TAG_PROGRESS, GUMBO_TAG_METER})
            t[tag] = Keep::Nothing;
        for (GumboTag tag :
             {GUMBO_TAG_ADDRESS, GUMBO_TAG_ARTICLE, GUMBO_TAG_ASIDE,    GUMBO_TAG_FOOTER,   GUMBO_TAG_HEADER,
              GUMBO_TAG_MAIN,    GUMBO_TAG_NAV,     GUMBO_TAG_SECTION,  GUMBO_TAG_FIGURE,   GUMBO_TAG_FIGCAPTION,
              GUMBO_TAG_HGROUP,  GUMBO_TAG_FORM,    GUMBO_TAG_FIELDSET, GUMBO_TAG_LEGEND,   GUMBO_TAG_DETAILS,
              GUMBO_TAG_SUMMARY, GUMBO_TAG_MENU,    GUMBO_TAG_DIR,      GUMBO_TAG_MULTICOL, GUMBO_TAG_MARQUEE})
            t[tag] = Keep::AsDiv;
        for (GumboTag tag : {GUMBO_TAG_PLAINTEXT, GUMBO_TAG_XMP, GUMBO_TAG_LISTING})
            t[tag] = Keep::AsPre;
        return t;
    }();
    return table;
}

bool isVoid(GumboTag tag)
{
    return tag == GUMBO_TAG_BR || tag == GUMBO_TAG_HR || tag == GUMBO_TAG_IMG || tag == GUMBO_TAG_COL
        || tag == GUMBO_TAG_WBR;
}

// A class name a served page's own style sheet may select: letters, digits,
// "-" and "_" only.
bool plainClass(std::string_view value)
{
    for (const char c : value)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ' '))
            return false;
    return !value.empty();
}

// Attributes kept on any element kept; the rest (every event handler,
// id, name, class, target, srcset and the like) are left out.
bool plainAttribute(std::string_view name)
{
    static const char* const allowed[] = {
        "align",    "valign",  "width",  "height", "border",     "cellpadding", "cellspacing", "colspan",
        "rowspan",  "bgcolor", "color",  "face",   "size",       "title",       "alt",         "dir",
        "lang",     "nowrap",  "span",   "abbr",   "text",       "link",        "vlink",       "alink",
        "clear",    "noshade", "frame",  "rules",  "char",       "charoff",     "headers",     "scope",
        "datetime", "cite",    "hspace", "vspace", "bordercolor"};
    for (const char* a : allowed)
        if (name == a)
            return true;
    return false;
}

bool listAttribute(GumboTag tag, std::string_view name)
{
    return (name == "type" && (tag == GUMBO_TAG_OL || tag == GUMBO_TAG_UL || tag == GUMBO_TAG_LI))
        || (name == "start" && tag == GUMBO_TAG_OL) || (name == "value" && tag == GUMBO_TAG_LI);
}

bool takesBackground(GumboTag tag)
{
    return tag == GUMBO_TAG_BODY || tag == GUMBO_TAG_TABLE || tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH
        || tag == GUMBO_TAG_TR;
}

// A URL as the browser reads it: leading and trailing controls and spaces
// stripped, tabs and line breaks removed wherever they are.
std::string cleanUrl(std::string_view value)
{
    value = trimmed(value);
    std::string url;
    url.reserve(value.size());
    for (char c : value)
        if (c != '\t' && c != '\n' && c != '\r')
            url.push_back(c);
    return url;
}

bool allowedLink(const std::string& url)
{
    const std::string scheme = schemeOf(url);
    if (scheme.empty())
        return !hasSchemeColon(url);
    // Local documents too: a click never follows a link in the page, it goes
    // to the link rules, which judge the file it names.
    return scheme == "http" || scheme == "https" || scheme == "mailto" || scheme == "file"
        || scheme == page_address::scheme().toStdString();
}

std::optional<PictureReference> pictureReference(std::string_view value)
{
    const std::string url = cleanUrl(value);
    if (url.empty())
        return std::nullopt;
    const std::string scheme = schemeOf(url);
    PictureReference reference;
    if (scheme == "file") {
        reference.path = QUrl(QString::fromStdString(url)).toLocalFile();
    } else if (scheme == page_address::scheme().toStdString()) {
        reference.path = page_address::localPath(QUrl(QString::fromStdString(url)));
    } else if (!scheme.empty() || hasSchemeColon(url) || url.compare(0, 2, "//") == 0
               || url.compare(0, 2, "\\\\") == 0) {
        return std::nullopt;
    } else {
        std::string_view named(url);
        named = named.substr(0, named.find_first_of("?#"));
        reference.path = QUrl::fromPercentEncoding(QByteArray(named.data(), qsizetype(named.size())));
        reference.path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        reference.relative = !reference.path.startsWith(QLatin1Char('/'));
    }
    // A file URL without a folder ("file:pic.png") names no file of any
    // folder: it would be looked for wherever the program was started.
    if (reference.path.isEmpty() || (!reference.relative && !reference.path.startsWith(QLatin1Char('/'))))
        return std::nullopt;
    return reference;
}

} // namespace html_policy
