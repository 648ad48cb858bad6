// Fuzz target of the XML reader: parses arbitrary bytes and reads back every element, attribute
// and text, the way the configuration readers walk a document.
#include "xml/XmlDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The reader takes 0-terminated text; an embedded 0 simply ends it early.
    const std::string input(reinterpret_cast<const char*>(data), size);
    const char* text = input.c_str();
    XmlDocument doc;
    const char* end = doc.Parse(text);
    if (!end) {
        // A refused text must say why and where.
        if (doc.ErrorId() == XmlError::None || doc.ErrorRow() < 1 || doc.ErrorCol() < 1) {
            __builtin_trap();
        }
        return 0;
    }
    if (end != text + std::strlen(text)) {
        __builtin_trap();
    }
    size_t bytes = 0;
    std::vector<XmlNode*> pending{&doc};
    while (!pending.empty()) {
        XmlNode* node = pending.back();
        pending.pop_back();
        // No reference may put a 0 byte into a value.
        if (std::strlen(node->Value()) != node->ValueStr().size()) {
            __builtin_trap();
        }
        bytes += node->ValueStr().size();
        if (XmlElement* element = node->ToElement()) {
            for (const XmlAttribute& attribute : element->Attributes()) {
                bytes += std::strlen(element->Attribute(attribute.Name()));
                int i = 0;
                double d = 0.0;
                element->QueryIntAttribute(attribute.Name(), &i);
                element->QueryDoubleAttribute(attribute.Name(), &d);
            }
            if (const char* content = element->GetText()) {
                bytes += std::strlen(content);
            }
            element->SetAttribute("fuzz", static_cast<int>(bytes));
            element->SetAttribute("fuzz", static_cast<double>(bytes) * 0.5);
        }
        for (XmlNode* child = node->FirstChild(); child; child = child->NextSibling()) {
            pending.push_back(child);
        }
    }
    return 0;
}
