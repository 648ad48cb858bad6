// XmlDocument: parses a complete, 0-terminated XML text held in memory into a tree of nodes
// that it owns, and records where and why a text could not be read.
#pragma once

#include "xml/XmlComment.h"
#include "xml/XmlDeclaration.h"
#include "xml/XmlElement.h"
#include "xml/XmlNode.h"
#include "xml/XmlText.h"
#include "xml/XmlUnknown.h"

#include <memory>
#include <vector>

// Error codes of XmlDocument::Parse. Each error is recorded with the row and column where the
// offending construct begins.
namespace XmlError {
constexpr int None = 0;
// The text ends inside a tag, comment, CDATA section, declaration or other markup.
constexpr int UnexpectedEnd = 1;
// The text ends while an element is still open (reported at its start tag).
constexpr int ElementNotClosed = 2;
// An end tag whose name differs from that of the open element.
constexpr int MismatchedEndTag = 3;
// A name was expected: after "<", after "</", or where an attribute should begin.
constexpr int BadName = 4;
// An attribute without "=" or without a quoted value.
constexpr int BadAttribute = 5;
// The same attribute name twice in one tag.
constexpr int DuplicateAttribute = 6;
// Something other than white space between an end tag's name and its ">".
constexpr int BadEndTag = 7;
// An end tag with no element open.
constexpr int UnmatchedEndTag = 8;
// Elements nested deeper than XmlDocument::MaxDepth.
constexpr int TooDeep = 9;
// A "<" that starts no markup: not followed by a name, "/", "!" or "?".
constexpr int BadMarkup = 10;
// The text is null, empty, or holds nothing but white space.
constexpr int DocumentEmpty = 13;
} // namespace XmlError

class XmlDocument : public XmlNode
{
public:
    // Deepest element nesting a document may have. Callers walk the tree recursively, so the
    // limit also bounds their stack use.
    static constexpr int MaxDepth = 256;

    XmlDocument();
    ~XmlDocument() override;

    // Parses text (0-terminated) into this document, replacing what it held. location, when
    // given, is where the text begins in its file; encoding, when not Unknown, overrides what
    // a byte-order mark or a declaration would choose. Returns the position of the terminating
    // 0, or null after recording an error, in which case the document holds no nodes.
    const char* Parse(const char* text, const XmlCursor* location = nullptr,
                      XmlEncoding encoding = XmlEncoding::Unknown);

    // The first element at the top level, or null.
    const XmlElement* RootElement() const { return FirstChildElement(); }
    XmlElement* RootElement() { return FirstChildElement(); }

    // The encoding the last parse used: Unknown when neither a byte-order mark nor a
    // declaration chose one.
    XmlEncoding Encoding() const { return m_encoding; }

    bool Error() const { return m_errorId != XmlError::None; }
    int ErrorId() const { return m_errorId; }
    // A short English description of the error; "" when there is none.
    const char* ErrorDesc() const;
    int ErrorRow() const { return m_errorLocation.row; }
    int ErrorCol() const { return m_errorLocation.column; }
    void ClearError();

    // Destroys every node and the error state.
    void Clear();

private:
    int m_errorId = XmlError::None;
    XmlCursor m_errorLocation{0, 0};
    XmlEncoding m_encoding = XmlEncoding::Unknown;
    // Every node of the tree, in creation order. Links between nodes are borrowed pointers,
    // so destroying a deep or long tree never recurses.
    std::vector<std::unique_ptr<XmlNode>> m_nodes;

    friend class XmlParser;
};
