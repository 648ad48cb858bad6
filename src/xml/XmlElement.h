// XmlElement: a tag with its ordered attributes. Attribute lookups are by exact name; the
// numeric queries read and write numbers the way "%d" and "%lf" do.
#pragma once

#include "xml/XmlAttribute.h"
#include "xml/XmlNode.h"

#include <vector>

// Results of the numeric attribute queries.
namespace XmlQuery {
constexpr int Success = 0;
constexpr int NoAttribute = 1;
constexpr int WrongType = 2;
} // namespace XmlQuery

class XmlElement : public XmlNode
{
public:
    // The element's tag name, the same text as Value().
    const char* Name() const { return Value(); }

    // The value of the attribute, or null when the element has none of that name. The text
    // stays valid until the element's attributes are changed.
    const char* Attribute(const char* name) const;

    // Reads the attribute as an integer ("%d": leading white space, an optional sign, decimal
    // digits, anything after them ignored) or a real number ("%lf"). On success the result is
    // stored and XmlQuery::Success returned; otherwise *value is left alone and the result is
    // XmlQuery::NoAttribute or XmlQuery::WrongType. A number out of the type's range is
    // WrongType.
    int QueryIntAttribute(const char* name, int* value) const;
    int QueryDoubleAttribute(const char* name, double* value) const;

    // The same reads with a fallback for a missing or unreadable attribute.
    int IntAttribute(const char* name, int defaultValue = 0) const;
    double DoubleAttribute(const char* name, double defaultValue = 0.0) const;

    // Replaces the value of an existing attribute or appends a new one. Numbers are written
    // the way printf's "%d" and "%lf" write them (the latter with six decimals).
    void SetAttribute(const char* name, const char* value);
    void SetAttribute(const char* name, int value);
    void SetAttribute(const char* name, double value);

    // Every attribute in document order.
    const std::vector<XmlAttribute>& Attributes() const { return m_attributes; }

    // The text of the first child when that child is text (or CDATA), else null.
    const char* GetText() const;

private:
    XmlElement() : XmlNode(XmlNodeType::Element) {}

    const XmlAttribute* Find(const char* name) const;

    std::vector<XmlAttribute> m_attributes;

    friend class XmlParser;
};
