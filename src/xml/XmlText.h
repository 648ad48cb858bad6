// XmlText: character data inside or between elements, with references resolved and line ends
// made "\n"; a CDATA section is a text node whose bytes are kept exactly as written.
#pragma once

#include "xml/XmlNode.h"

class XmlText : public XmlNode
{
public:
    bool CData() const { return m_cdata; }

private:
    explicit XmlText(bool cdata) : XmlNode(XmlNodeType::Text), m_cdata(cdata) {}

    bool m_cdata;

    friend class XmlParser;
};
