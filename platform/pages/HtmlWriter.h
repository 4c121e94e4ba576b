#pragma once

#include "platform/pages/PictureResolver.h"

#include <gumbo.h>

#include <string>
#include <string_view>

// Writes a parsed tree back out as markup that holds only what the policy
// keeps (platform/pages/HtmlPolicy), every element closed. The writer looks
// at no file: a picture's file is found by the resolver it is given.
namespace html_writer {

// The text with "&", "<" and ">" (and in an attribute '"') as entities and
// NUL as U+FFFD.
void appendEscaped(std::string& out, std::string_view text, bool attribute);

class Writer {
public:
    // keepLinks false: links keep their text and lose their address
    // (printouts). pictures: finds the file of each picture named; an empty
    // one keeps no picture. It must outlive the writer.
    Writer(bool keepLinks, const PictureResolver& pictures) : m_keepLinks(keepLinks), m_pictures(pictures) { }
    // A served page keeps its classes, for its own style sheet.
    void keepClasses() { m_keepClasses = true; }

    // Writes the children of a node, walking without recursion.
    void writeChildren(std::string& out, const GumboNode* parent);
    // The kept attributes of a document's body element.
    void writeBodyAttributes(std::string& out, const GumboElement& body) { writeAttributes(out, body); }

private:
    const char* openPlain(std::string& out, const char* name);
    const char* openTag(std::string& out, const GumboElement& element);
    void writeAttributes(std::string& out, const GumboElement& element);
    std::string pictureAddress(const char* value);

    bool m_keepLinks;
    const PictureResolver& m_pictures;
    bool m_keepClasses = false;
};

// A document's title element as text.
void writeTitle(std::string& out, const GumboNode& title);
// The style sheets among the children of a document's head or body,
// filtered (platform/pages/StyleFilter), each in a style element.
void writeStyleSheets(std::string& out, const GumboNode& holder);

} // namespace html_writer
