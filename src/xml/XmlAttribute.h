// XmlAttribute: one name = value pair of an element, both in the document's narrow encoding.
#pragma once

#include "xml/XmlBase.h"

#include <string>
#include <utility>

class XmlAttribute : public XmlBase
{
public:
    XmlAttribute(std::string name, std::string value)
        : m_name(std::move(name)), m_value(std::move(value))
    {}
    XmlAttribute(XmlAttribute&&) = default;
    XmlAttribute& operator=(XmlAttribute&&) = default;

    const char* Name() const { return m_name.c_str(); }
    const char* Value() const { return m_value.c_str(); }

private:
    std::string m_name;
    std::string m_value;

    friend class XmlElement;
    friend class XmlParser;
};
