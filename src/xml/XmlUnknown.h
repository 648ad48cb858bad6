// XmlUnknown: markup the reader keeps without understanding it: a DOCTYPE (with any internal
// subset) or another "<!...>", and processing instructions other than the declaration. Its
// value is everything between the opening "<" and the closing ">".
#pragma once

#include "xml/XmlNode.h"

class XmlUnknown : public XmlNode
{
private:
    XmlUnknown() : XmlNode(XmlNodeType::Unknown) {}

    friend class XmlParser;
};
