// XmlElement: attribute lookup, the "%d" / "%lf" style numeric reads and writes, element text.
#include "xml/XmlElement.h"

#include "xml/XmlText.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

// White space as the scanf family skips it in the "C" locale.
bool IsScanSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "%d": white space, an optional sign, at least one decimal digit; the rest is ignored. A
// value outside int's range is refused rather than wrapped.
bool ReadInt(const char* p, int* value)
{
    while (IsScanSpace(*p)) {
        ++p;
    }
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    if (!IsDigit(*p)) {
        return false;
    }
    // The magnitude is capped just past the largest one that fits, so it cannot overflow.
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t magnitude = 0;
    for (; IsDigit(*p); ++p) {
        if (magnitude <= limit) {
            magnitude = magnitude * 10 + (*p - '0');
        }
    }
    if (magnitude > limit) {
        return false;
    }
    *value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

// "%lf": white space, an optional sign, then a decimal or "0x" hexadecimal number, "inf" or
// "nan"; the rest is ignored. Read without the locale, so "." is always the decimal point.
bool ReadDouble(const char* p, double* value)
{
    while (IsScanSpace(*p)) {
        ++p;
    }
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    if (*p == '-' || *p == '+') {
        return false;
    }
    const char* end = p + std::strlen(p);
    double result = 0.0;
    std::from_chars_result read{p, std::errc::invalid_argument};
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        read = std::from_chars(p + 2, end, result, std::chars_format::hex);
    }
    // Without hexadecimal digits after it, "0x" reads as the number 0 followed by text.
    if (read.ec == std::errc::invalid_argument) {
        read = std::from_chars(p, end, result, std::chars_format::general);
    }
    if (read.ec != std::errc()) {
        return false;
    }
    *value = negative ? -result : result;
    return true;
}

} // namespace

const XmlAttribute* XmlElement::Find(const char* name) const
{
    if (!name) {
        return nullptr;
    }
    for (const XmlAttribute& attribute : m_attributes) {
        if (attribute.m_name == name) {
            return &attribute;
        }
    }
    return nullptr;
}

const char* XmlElement::Attribute(const char* name) const
{
    const XmlAttribute* attribute = Find(name);
    return attribute ? attribute->Value() : nullptr;
}

int XmlElement::QueryIntAttribute(const char* name, int* value) const
{
    const XmlAttribute* attribute = Find(name);
    if (!attribute) {
        return XmlQuery::NoAttribute;
    }
    return ReadInt(attribute->Value(), value) ? XmlQuery::Success : XmlQuery::WrongType;
}

int XmlElement::QueryDoubleAttribute(const char* name, double* value) const
{
    const XmlAttribute* attribute = Find(name);
    if (!attribute) {
        return XmlQuery::NoAttribute;
    }
    return ReadDouble(attribute->Value(), value) ? XmlQuery::Success : XmlQuery::WrongType;
}

int XmlElement::IntAttribute(const char* name, int defaultValue) const
{
    int value = defaultValue;
    QueryIntAttribute(name, &value);
    return value;
}

double XmlElement::DoubleAttribute(const char* name, double defaultValue) const
{
    double value = defaultValue;
    QueryDoubleAttribute(name, &value);
    return value;
}

void XmlElement::SetAttribute(const char* name, const char* value)
{
    for (XmlAttribute& attribute : m_attributes) {
        if (attribute.m_name == name) {
            attribute.m_value = value;
            return;
        }
    }
    m_attributes.emplace_back(name, value);
}

void XmlElement::SetAttribute(const char* name, int value)
{
    SetAttribute(name, std::to_string(value).c_str());
}

void XmlElement::SetAttribute(const char* name, double value)
{
    // "%f": fixed notation with six decimals; the largest double needs 309 digits before the
    // point.
    char text[400];
    const std::to_chars_result written =
        std::to_chars(text, text + sizeof text - 1, value, std::chars_format::fixed, 6);
    *written.ptr = 0;
    SetAttribute(name, text);
}

const char* XmlElement::GetText() const
{
    const XmlNode* child = FirstChild();
    return child && child->Type() == XmlNodeType::Text ? child->Value() : nullptr;
}
