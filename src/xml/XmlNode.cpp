// XmlNode: element navigation over the sibling links and the checked casts to node kinds.
#include "xml/XmlNode.h"

#include "xml/XmlComment.h"
#include "xml/XmlDeclaration.h"
#include "xml/XmlDocument.h"
#include "xml/XmlElement.h"
#include "xml/XmlText.h"
#include "xml/XmlUnknown.h"

namespace {

// The first element from node onward along the sibling links, with the given name if any.
const XmlElement* ElementFrom(const XmlNode* node, const char* name)
{
    for (; node; node = node->NextSibling()) {
        if (node->Type() == XmlNodeType::Element && (!name || node->ValueStr() == name)) {
            return node->ToElement();
        }
    }
    return nullptr;
}

} // namespace

const XmlElement* XmlNode::FirstChildElement(const char* name) const
{
    return ElementFrom(m_firstChild, name);
}

const XmlElement* XmlNode::NextSiblingElement(const char* name) const
{
    return ElementFrom(m_next, name);
}

const XmlDocument* XmlNode::ToDocument() const
{
    return m_type == XmlNodeType::Document ? static_cast<const XmlDocument*>(this) : nullptr;
}

const XmlElement* XmlNode::ToElement() const
{
    return m_type == XmlNodeType::Element ? static_cast<const XmlElement*>(this) : nullptr;
}

const XmlComment* XmlNode::ToComment() const
{
    return m_type == XmlNodeType::Comment ? static_cast<const XmlComment*>(this) : nullptr;
}

const XmlUnknown* XmlNode::ToUnknown() const
{
    return m_type == XmlNodeType::Unknown ? static_cast<const XmlUnknown*>(this) : nullptr;
}

const XmlText* XmlNode::ToText() const
{
    return m_type == XmlNodeType::Text ? static_cast<const XmlText*>(this) : nullptr;
}

const XmlDeclaration* XmlNode::ToDeclaration() const
{
    return m_type == XmlNodeType::Declaration ? static_cast<const XmlDeclaration*>(this) : nullptr;
}
