// XmlNode: a node of the document tree with its kind, its value text and its links to parent,
// children and siblings. The document owns every node; the links are borrowed pointers.
#pragma once

#include "xml/XmlBase.h"

#include <string>
#include <utility>

class XmlComment;
class XmlDeclaration;
class XmlDocument;
class XmlElement;
class XmlText;
class XmlUnknown;

// The kinds of node, with the numbers the rest of the program knows them by.
enum class XmlNodeType : int
{
    Document = 0,
    Element = 1,
    Comment = 2,
    Unknown = 3,
    Text = 4,
    Declaration = 5,
};

class XmlNode : public XmlBase
{
public:
    XmlNode(const XmlNode&) = delete;
    XmlNode& operator=(const XmlNode&) = delete;

    XmlNodeType Type() const { return m_type; }

    // The tag name of an element, the text of a text node, the body of a comment, the inside
    // of unknown markup; empty for the document and a declaration.
    const char* Value() const { return m_value.c_str(); }
    const std::string& ValueStr() const { return m_value; }

    const XmlNode* Parent() const { return m_parent; }
    XmlNode* Parent() { return m_parent; }
    const XmlNode* FirstChild() const { return m_firstChild; }
    XmlNode* FirstChild() { return m_firstChild; }
    const XmlNode* LastChild() const { return m_lastChild; }
    XmlNode* LastChild() { return m_lastChild; }
    const XmlNode* PreviousSibling() const { return m_prev; }
    XmlNode* PreviousSibling() { return m_prev; }
    const XmlNode* NextSibling() const { return m_next; }
    XmlNode* NextSibling() { return m_next; }

    // The first child element, or the first one with the given tag name; null when there is
    // none. Comments, text, declarations and unknown markup are passed over.
    const XmlElement* FirstChildElement(const char* name = nullptr) const;
    XmlElement* FirstChildElement(const char* name = nullptr)
    {
        return const_cast<XmlElement*>(std::as_const(*this).FirstChildElement(name));
    }

    // The next sibling element after this node, optionally with the given tag name.
    const XmlElement* NextSiblingElement(const char* name = nullptr) const;
    XmlElement* NextSiblingElement(const char* name = nullptr)
    {
        return const_cast<XmlElement*>(std::as_const(*this).NextSiblingElement(name));
    }

    // This node as its concrete kind, or null when it is of another kind.
    const XmlDocument* ToDocument() const;
    const XmlElement* ToElement() const;
    const XmlComment* ToComment() const;
    const XmlUnknown* ToUnknown() const;
    const XmlText* ToText() const;
    const XmlDeclaration* ToDeclaration() const;
    XmlDocument* ToDocument()
    {
        return const_cast<XmlDocument*>(std::as_const(*this).ToDocument());
    }
    XmlElement* ToElement() { return const_cast<XmlElement*>(std::as_const(*this).ToElement()); }
    XmlComment* ToComment() { return const_cast<XmlComment*>(std::as_const(*this).ToComment()); }
    XmlUnknown* ToUnknown() { return const_cast<XmlUnknown*>(std::as_const(*this).ToUnknown()); }
    XmlText* ToText() { return const_cast<XmlText*>(std::as_const(*this).ToText()); }
    XmlDeclaration* ToDeclaration()
    {
        return const_cast<XmlDeclaration*>(std::as_const(*this).ToDeclaration());
    }

protected:
    explicit XmlNode(XmlNodeType type) : m_type(type) {}

    XmlNodeType m_type;
    std::string m_value;
    XmlNode* m_parent = nullptr;
    XmlNode* m_firstChild = nullptr;
    XmlNode* m_lastChild = nullptr;
    XmlNode* m_prev = nullptr;
    XmlNode* m_next = nullptr;

    friend class XmlParser;
};
