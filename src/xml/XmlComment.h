// XmlComment: the body of a "<!-- ... -->" comment, kept in the tree but passed over by the
// element navigation.
#pragma once

#include "xml/XmlNode.h"

class XmlComment : public XmlNode
{
private:
    XmlComment() : XmlNode(XmlNodeType::Comment) {}

    friend class XmlParser;
};
