// XmlDeclaration: the "<?xml ...?>" declaration with its version, encoding and standalone
// texts (empty when not given).
#pragma once

#include "xml/XmlNode.h"

#include <string>

class XmlDeclaration : public XmlNode
{
public:
    const char* Version() const { return m_version.c_str(); }
    const char* Encoding() const { return m_encoding.c_str(); }
    const char* Standalone() const { return m_standalone.c_str(); }

private:
    XmlDeclaration() : XmlNode(XmlNodeType::Declaration) {}

    std::string m_version;
    std::string m_encoding;
    std::string m_standalone;

    friend class XmlParser;
};
