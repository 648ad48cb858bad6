// XmlDocument: the parser that turns a 0-terminated text into the node tree, and the
// document's error state.
//
// The parser is one loop over the text with the innermost open element as its only state, so
// neither parsing nor destroying a tree recurses. Every scan stops at the terminating 0: a
// construct that would need bytes past it is reported as an error at the place it began.
#include "xml/XmlDocument.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Names start with a letter, "_", ":" or any byte of a multi-byte character.
bool IsNameStart(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == ':' || u >= 0x80;
}

bool IsNameChar(char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

const char* SkipWhiteSpace(const char* p)
{
    while (IsWhiteSpace(*p)) {
        ++p;
    }
    return p;
}

const char* SkipName(const char* p)
{
    while (IsNameChar(*p)) {
        ++p;
    }
    return p;
}

// Compares byte by byte, so a text shorter than the prefix stops at its terminating 0.
bool StartsWith(const char* p, const char* prefix)
{
    for (; *prefix; ++p, ++prefix) {
        if (*p != *prefix) {
            return false;
        }
    }
    return true;
}

bool IsBlank(std::string_view text)
{
    for (char c : text) {
        if (!IsWhiteSpace(c)) {
            return false;
        }
    }
    return true;
}

// Letter case is folded for ASCII letters only; other bytes compare as they are.
bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

struct Entity
{
    const char* text;
    size_t length;
    char value;
};

constexpr Entity kEntities[] = {
    {"&amp;", 5, '&'}, {"&lt;", 4, '<'}, {"&gt;", 4, '>'}, {"&quot;", 6, '"'}, {"&apos;", 6, '\''},
};

constexpr uint32_t kMaxCodePoint = 0x10FFFF;

void AppendUtf8(std::string& out, uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

int DigitValue(char c, uint32_t base)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (base == 16 && c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (base == 16 && c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Resolves the reference at the start of text (which begins with "&") into out and returns
// the number of bytes it took, or 0 when the "&" starts no reference this encoding can hold:
// the caller then keeps the "&" as a literal character. Refused as well are references to the
// code 0 (it would end the text early), to surrogates and to codes above 0x10FFFF (no
// character has them), and, outside UTF-8 mode, to codes above 0xFF (they do not fit a byte).
// Such a reference stays as written rather than being cut to its low byte, which would put a
// different character in the text without a word, or dropped, which would lose it: the text
// shows what the file asked for. Files in a one-byte encoding (the game's own Strings.xml is
// ISO-8859-1) can only mean codes up to 0xFF.
size_t ReadReference(std::string_view text, XmlEncoding encoding, std::string& out)
{
    if (text.size() < 2 || text[1] != '#') {
        for (const Entity& entity : kEntities) {
            if (text.substr(0, entity.length) == entity.text) {
                out += entity.value;
                return entity.length;
            }
        }
        return 0;
    }
    const bool hex = text.size() > 2 && text[2] == 'x';
    const uint32_t base = hex ? 16 : 10;
    const size_t first = hex ? 3 : 2;
    size_t i = first;
    uint32_t code = 0;
    for (int digit; i < text.size() && (digit = DigitValue(text[i], base)) >= 0; ++i) {
        // Once past the largest code the value stops growing, so any number of digits is safe.
        if (code <= kMaxCodePoint) {
            code = code * base + static_cast<uint32_t>(digit);
        }
    }
    if (i == first || i == text.size() || text[i] != ';') {
        return 0;
    }
    if (code == 0 || code > kMaxCodePoint || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    if (encoding == XmlEncoding::Utf8) {
        AppendUtf8(out, code);
    } else if (code <= 0xFF) {
        out += static_cast<char>(code);
    } else {
        return 0;
    }
    return i + 1;
}

// Character data as the tree keeps it: references resolved and each line end ("\r\n", "\r"
// or "\n") made a single "\n".
void Decode(std::string_view raw, XmlEncoding encoding, std::string& out)
{
    out.reserve(out.size() + raw.size());
    for (size_t i = 0; i < raw.size();) {
        const char c = raw[i];
        if (c == '&') {
            const size_t used = ReadReference(raw.substr(i), encoding, out);
            if (used > 0) {
                i += used;
                continue;
            }
        }
        if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') {
            ++i;
        }
        out += c == '\r' ? '\n' : c;
        ++i;
    }
}

// Line ends in raw text ("\r\n", "\r", "\n") made "\n", nothing else changed: CDATA content.
void NormaliseLineEnds(std::string_view raw, std::string& out)
{
    out.reserve(out.size() + raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r') {
            out += '\n';
            if (i + 1 < raw.size() && raw[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += raw[i];
        }
    }
}

const char* const kErrorTexts[] = {
    "",
    "the text ends inside markup",
    "an element has no end tag",
    "the end tag does not match the open element",
    "a name was expected",
    "an attribute has no quoted value",
    "an attribute is given twice in one tag",
    "an end tag is malformed",
    "an end tag has no open element",
    "elements are nested too deeply",
    "a '<' starts no markup",
    "unknown error",
    "unknown error",
    "the document is empty",
};

} // namespace

// Builds the tree of one XmlDocument from one text. Each Parse... function starts at the
// first byte of its construct and returns the position after it, or null after recording the
// error on the document.
class XmlParser
{
public:
    XmlParser(XmlDocument& document, const XmlCursor* location)
        : m_document(document), m_start(location ? *location : XmlCursor{})
    {}

    const char* Run(const char* text, XmlEncoding encoding);

private:
    template <class T, class... Args>
    T* Add(XmlNode* parent, const char* at, Args&&... args);

    const char* Fail(int code, const char* at) { return FailAt(code, Locate(at)); }
    const char* FailAt(int code, XmlCursor where);
    XmlCursor Locate(const char* p);

    const char* ParseElement(const char* p, XmlNode* parent, int depth, XmlElement** opened);
    const char* ParseEndTag(const char* p, XmlNode* open);
    const char* ParseAttributes(const char* p, const char* tag,
                                std::vector<XmlAttribute>& attributes);
    bool SeenBefore(std::string_view name);
    const char* ParseDeclaration(const char* p, XmlNode* parent);
    const char* ParseProcessingInstruction(const char* p, XmlNode* parent);
    const char* ParseComment(const char* p, XmlNode* parent);
    const char* ParseCData(const char* p, XmlNode* parent);
    const char* ParseMarkup(const char* p, XmlNode* parent);
    const char* ParseText(const char* p, XmlNode* parent);

    XmlDocument& m_document;
    XmlCursor m_start;
    // Row and column of m_position; positions are asked for mostly in increasing order, so
    // counting goes on from the last answer instead of from the start.
    const char* m_base = nullptr;
    const char* m_position = nullptr;
    XmlCursor m_cursor;
    // Attribute names of the tag being read, for the duplicate check.
    std::vector<std::string_view> m_names;
    std::unordered_set<std::string_view> m_nameSet;
};

XmlCursor XmlParser::Locate(const char* p)
{
    if (p < m_position) {
        m_position = m_base;
        m_cursor = m_start;
    }
    const bool utf8 = m_document.m_encoding == XmlEncoding::Utf8;
    for (; m_position < p; ++m_position) {
        const char c = *m_position;
        if (c == '\r' || (c == '\n' && !(m_position > m_base && m_position[-1] == '\r'))) {
            ++m_cursor.row;
            m_cursor.column = 1;
        } else if (c != '\n' && !(utf8 && (static_cast<unsigned char>(c) & 0xC0) == 0x80)) {
            ++m_cursor.column;
        }
    }
    return m_cursor;
}

const char* XmlParser::FailAt(int code, XmlCursor where)
{
    m_document.Clear();
    m_document.m_errorId = code;
    m_document.m_errorLocation = where;
    return nullptr;
}

template <class T, class... Args>
T* XmlParser::Add(XmlNode* parent, const char* at, Args&&... args)
{
    std::unique_ptr<T> owned(new T(std::forward<Args>(args)...));
    T* node = owned.get();
    node->m_location = Locate(at);
    node->m_parent = parent;
    node->m_prev = parent->m_lastChild;
    if (parent->m_lastChild) {
        parent->m_lastChild->m_next = node;
    } else {
        parent->m_firstChild = node;
    }
    parent->m_lastChild = node;
    m_document.m_nodes.push_back(std::move(owned));
    return node;
}

const char* XmlParser::Run(const char* text, XmlEncoding encoding)
{
    m_document.m_encoding = encoding;
    m_base = m_position = text;
    m_cursor = m_start;
    if (!text || !*text) {
        return FailAt(XmlError::DocumentEmpty, m_start);
    }
    const char* p = text;
    if (encoding != XmlEncoding::Legacy && StartsWith(p, "\xEF\xBB\xBF")) {
        p += 3;
        m_base = m_position = p;
        m_document.m_encoding = XmlEncoding::Utf8;
    }

    XmlNode* open = &m_document;
    int depth = 0;
    while (*p) {
        if (open == &m_document) {
            p = SkipWhiteSpace(p);
            if (!*p) {
                break;
            }
        }
        if (*p != '<') {
            p = ParseText(p, open);
        } else if (p[1] == '/') {
            p = ParseEndTag(p, open);
            if (p) {
                open = open->m_parent;
                --depth;
            }
        } else if (StartsWith(p, "<!--")) {
            p = ParseComment(p, open);
        } else if (StartsWith(p, "<![CDATA[")) {
            p = ParseCData(p, open);
        } else if (p[1] == '!') {
            p = ParseMarkup(p, open);
        } else if (StartsWith(p, "<?xml") && (IsWhiteSpace(p[5]) || p[5] == '?')) {
            p = ParseDeclaration(p, open);
        } else if (p[1] == '?') {
            p = ParseProcessingInstruction(p, open);
        } else if (IsNameStart(p[1])) {
            XmlElement* opened = nullptr;
            p = ParseElement(p, open, depth + 1, &opened);
            if (opened) {
                open = opened;
                ++depth;
            }
        } else {
            p = Fail(p[1] ? XmlError::BadMarkup : XmlError::UnexpectedEnd, p);
        }
        if (!p) {
            return nullptr;
        }
    }
    if (open != &m_document) {
        return FailAt(XmlError::ElementNotClosed, open->m_location);
    }
    if (!m_document.m_firstChild) {
        return FailAt(XmlError::DocumentEmpty, m_start);
    }
    return p;
}

// "<name attributes>" or "<name attributes/>". opened receives the element when its content
// follows, so the caller makes it the open element.
const char* XmlParser::ParseElement(const char* p, XmlNode* parent, int depth, XmlElement** opened)
{
    if (depth > XmlDocument::MaxDepth) {
        return Fail(XmlError::TooDeep, p);
    }
    const char* nameEnd = SkipName(p + 1);
    XmlElement* element = Add<XmlElement>(parent, p);
    element->m_value.assign(p + 1, nameEnd);
    const char* q = ParseAttributes(nameEnd, p, element->m_attributes);
    if (!q) {
        return nullptr;
    }
    if (q[0] == '/' && q[1] == '>') {
        return q + 2;
    }
    if (q[0] == '>') {
        *opened = element;
        return q + 1;
    }
    return q[1] ? Fail(XmlError::BadName, q) : Fail(XmlError::UnexpectedEnd, p);
}

// "</name>" closing the open element.
const char* XmlParser::ParseEndTag(const char* p, XmlNode* open)
{
    if (open == &m_document) {
        return Fail(XmlError::UnmatchedEndTag, p);
    }
    const char* name = p + 2;
    if (!IsNameStart(*name)) {
        return *name ? Fail(XmlError::BadName, name) : Fail(XmlError::UnexpectedEnd, p);
    }
    const char* nameEnd = SkipName(name);
    if (std::string_view(name, static_cast<size_t>(nameEnd - name)) != open->m_value) {
        return Fail(XmlError::MismatchedEndTag, p);
    }
    const char* q = SkipWhiteSpace(nameEnd);
    if (*q == '>') {
        return q + 1;
    }
    return *q ? Fail(XmlError::BadEndTag, q) : Fail(XmlError::UnexpectedEnd, p);
}

// Reads name = "value" pairs (either quote style) up to the first ">", "/" or "?", which it
// returns without consuming. tag is where the tag began, for the error when the text ends.
const char* XmlParser::ParseAttributes(const char* p, const char* tag,
                                       std::vector<XmlAttribute>& attributes)
{
    m_names.clear();
    if (!m_nameSet.empty()) {
        m_nameSet = {};
    }
    for (;;) {
        p = SkipWhiteSpace(p);
        if (!*p) {
            return Fail(XmlError::UnexpectedEnd, tag);
        }
        if (*p == '>' || *p == '/' || *p == '?') {
            return p;
        }
        if (!IsNameStart(*p)) {
            return Fail(XmlError::BadName, p);
        }
        const char* nameEnd = SkipName(p);
        const char* q = SkipWhiteSpace(nameEnd);
        if (*q != '=') {
            return Fail(XmlError::BadAttribute, p);
        }
        q = SkipWhiteSpace(q + 1);
        if (*q != '"' && *q != '\'') {
            return Fail(XmlError::BadAttribute, p);
        }
        const char* valueEnd = std::strchr(q + 1, *q);
        if (!valueEnd) {
            return Fail(XmlError::BadAttribute, p);
        }
        const std::string_view name(p, static_cast<size_t>(nameEnd - p));
        if (SeenBefore(name)) {
            return Fail(XmlError::DuplicateAttribute, p);
        }
        std::string value;
        Decode(std::string_view(q + 1, static_cast<size_t>(valueEnd - q - 1)),
               m_document.m_encoding, value);
        XmlAttribute& attribute = attributes.emplace_back(std::string(name), std::move(value));
        attribute.m_location = Locate(p);
        p = valueEnd + 1;
    }
}

// Records name as seen in the current tag and says whether it was already there. A tag with
// many attributes switches from a linear search to a hash set, so no text can make the check
// quadratic.
bool XmlParser::SeenBefore(std::string_view name)
{
    constexpr size_t kLinearLimit = 16;
    if (m_nameSet.empty() && m_names.size() < kLinearLimit) {
        for (std::string_view seen : m_names) {
            if (seen == name) {
                return true;
            }
        }
        m_names.push_back(name);
        return false;
    }
    if (m_nameSet.empty()) {
        m_nameSet.insert(m_names.begin(), m_names.end());
    }
    return !m_nameSet.insert(name).second;
}

// "<?xml version=... encoding=... standalone=...?>". While the encoding is still unknown its
// "encoding" chooses: empty, "UTF-8" or "UTF8" (any letter case) mean UTF-8, anything else
// the legacy one-byte encoding.
const char* XmlParser::ParseDeclaration(const char* p, XmlNode* parent)
{
    XmlDeclaration* declaration = Add<XmlDeclaration>(parent, p);
    std::vector<XmlAttribute> attributes;
    const char* q = ParseAttributes(p + 5, p, attributes);
    if (!q) {
        return nullptr;
    }
    if (q[0] == '?' && q[1] == '>') {
        q += 2;
    } else if (q[0] == '>') {
        ++q;
    } else {
        return q[1] ? Fail(XmlError::BadName, q) : Fail(XmlError::UnexpectedEnd, p);
    }
    for (XmlAttribute& attribute : attributes) {
        if (attribute.m_name == "version") {
            declaration->m_version = std::move(attribute.m_value);
        } else if (attribute.m_name == "encoding") {
            declaration->m_encoding = std::move(attribute.m_value);
        } else if (attribute.m_name == "standalone") {
            declaration->m_standalone = std::move(attribute.m_value);
        }
    }
    if (m_document.m_encoding == XmlEncoding::Unknown) {
        const std::string& name = declaration->m_encoding;
        const bool utf8 =
            name.empty() || EqualsIgnoringCase(name, "UTF-8") || EqualsIgnoringCase(name, "UTF8");
        m_document.m_encoding = utf8 ? XmlEncoding::Utf8 : XmlEncoding::Legacy;
    }
    return q;
}

// "<?target ...?>" other than the declaration, kept as an unknown node.
const char* XmlParser::ParseProcessingInstruction(const char* p, XmlNode* parent)
{
    const char* end = std::strstr(p + 2, "?>");
    if (!end) {
        return Fail(XmlError::UnexpectedEnd, p);
    }
    XmlUnknown* unknown = Add<XmlUnknown>(parent, p);
    unknown->m_value.assign(p + 1, end + 1);
    return end + 2;
}

const char* XmlParser::ParseComment(const char* p, XmlNode* parent)
{
    const char* end = std::strstr(p + 4, "-->");
    if (!end) {
        return Fail(XmlError::UnexpectedEnd, p);
    }
    XmlComment* comment = Add<XmlComment>(parent, p);
    comment->m_value.assign(p + 4, end);
    return end + 3;
}

const char* XmlParser::ParseCData(const char* p, XmlNode* parent)
{
    const char* begin = p + 9;
    const char* end = std::strstr(begin, "]]>");
    if (!end) {
        return Fail(XmlError::UnexpectedEnd, p);
    }
    XmlText* text = Add<XmlText>(parent, p, true);
    NormaliseLineEnds(std::string_view(begin, static_cast<size_t>(end - begin)), text->m_value);
    return end + 3;
}

// Other "<!...>" markup, chiefly a DOCTYPE, kept as an unknown node. It ends at the first ">"
// outside quotes, comments and brackets, so a DOCTYPE with an internal subset
// ("<!DOCTYPE a [ <!ENTITY b "x>y"> ]>") is one node.
const char* XmlParser::ParseMarkup(const char* p, XmlNode* parent)
{
    int brackets = 0;
    for (const char* q = p + 2; *q;) {
        if (StartsWith(q, "<!--")) {
            q = std::strstr(q + 4, "-->");
            if (!q) {
                break;
            }
            q += 3;
            continue;
        }
        if (*q == '"' || *q == '\'') {
            q = std::strchr(q + 1, *q);
            if (!q) {
                break;
            }
        } else if (*q == '[') {
            ++brackets;
        } else if (*q == ']' && brackets > 0) {
            --brackets;
        } else if (*q == '>' && brackets == 0) {
            XmlUnknown* unknown = Add<XmlUnknown>(parent, p);
            unknown->m_value.assign(p + 1, q);
            return q + 1;
        }
        ++q;
    }
    return Fail(XmlError::UnexpectedEnd, p);
}

// Character data up to the next "<". White space alone between markup makes no node.
const char* XmlParser::ParseText(const char* p, XmlNode* parent)
{
    const char* end = p;
    while (*end && *end != '<') {
        ++end;
    }
    const std::string_view raw(p, static_cast<size_t>(end - p));
    if (!IsBlank(raw)) {
        XmlText* text = Add<XmlText>(parent, p, false);
        Decode(raw, m_document.m_encoding, text->m_value);
    }
    return end;
}

XmlDocument::XmlDocument() : XmlNode(XmlNodeType::Document) {}

XmlDocument::~XmlDocument() = default;

const char* XmlDocument::Parse(const char* text, const XmlCursor* location, XmlEncoding encoding)
{
    Clear();
    XmlParser parser(*this, location);
    return parser.Run(text, encoding);
}

const char* XmlDocument::ErrorDesc() const
{
    constexpr int count = static_cast<int>(sizeof kErrorTexts / sizeof kErrorTexts[0]);
    return m_errorId >= 0 && m_errorId < count ? kErrorTexts[m_errorId] : "unknown error";
}

void XmlDocument::ClearError()
{
    m_errorId = XmlError::None;
    m_errorLocation = XmlCursor{0, 0};
}

void XmlDocument::Clear()
{
    m_firstChild = nullptr;
    m_lastChild = nullptr;
    m_nodes.clear();
    ClearError();
}
