// XmlBase: what every piece of a parsed XML document shares, its place in the source text,
// plus the small types the whole XML reader uses.
#pragma once

// A place in the source text. Rows and columns count from 1; in UTF-8 mode a column is one
// character (a multi-byte sequence counts once), otherwise one byte.
struct XmlCursor
{
    int row = 1;
    int column = 1;
};

// How the bytes of a document are to be understood. Unknown until a byte-order mark or a
// declaration says otherwise; character references are written as UTF-8 only in Utf8 mode.
enum class XmlEncoding
{
    Unknown,
    Utf8,
    Legacy,
};

class XmlBase
{
public:
    virtual ~XmlBase() = default;

    // Where this piece began in the parsed text.
    int Row() const { return m_location.row; }
    int Column() const { return m_location.column; }

protected:
    XmlBase() = default;
    XmlBase(const XmlBase&) = default;
    XmlBase(XmlBase&&) = default;
    XmlBase& operator=(const XmlBase&) = default;
    XmlBase& operator=(XmlBase&&) = default;

    XmlCursor m_location;

    friend class XmlParser;
};
