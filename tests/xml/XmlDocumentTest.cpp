// Tests of the XML reader: tree shape and navigation, encodings, references, unknown markup,
// errors with their positions, and the numeric attribute queries. Expected values are worked
// out by hand from the input texts.
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(XmlDocument, BuildsTreeAndNavigatesElements)
{
    const char* text = "<?xml version=\"1.0\"?>\n"
                       "<Resources>\n"
                       "  <Group name='Menu'>\n"
                       "    <Image name='a' fileName=\"a.qim\" empty=\"\"/>\n"
                       "    <!-- between the images -->\n"
                       "    <Font name='f'/>\n"
                       "    <Image name='b' title='say \"hi\"'/>\n"
                       "  </Group>\n"
                       "</Resources>\n";
    XmlDocument doc;
    ASSERT_NE(doc.Parse(text), nullptr) << doc.ErrorDesc();
    EXPECT_EQ(doc.FirstChild()->Type(), XmlNodeType::Declaration);
    EXPECT_STREQ(doc.FirstChild()->ToDeclaration()->Version(), "1.0");

    const XmlElement* root = doc.RootElement();
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->Value(), "Resources");
    EXPECT_EQ(root->Parent(), &doc);
    const XmlElement* group = root->FirstChildElement();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->Row(), 3);
    EXPECT_EQ(group->Column(), 3);

    const XmlElement* first = group->FirstChildElement("Image");
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first->Attribute("name"), "a");
    EXPECT_STREQ(first->Attribute("fileName"), "a.qim");
    EXPECT_STREQ(first->Attribute("empty"), "");
    EXPECT_EQ(first->Attribute("color"), nullptr);
    ASSERT_EQ(first->Attributes().size(), 3u);
    EXPECT_EQ(first->Attributes()[1].Column(), 21);

    // The comment is a node, but element navigation passes over it.
    EXPECT_EQ(first->NextSibling()->Type(), XmlNodeType::Comment);
    EXPECT_STREQ(first->NextSibling()->Value(), " between the images ");
    EXPECT_STREQ(first->NextSiblingElement()->Value(), "Font");
    const XmlElement* second = first->NextSiblingElement("Image");
    ASSERT_NE(second, nullptr);
    EXPECT_STREQ(second->Attribute("title"), "say \"hi\"");
    EXPECT_EQ(second->NextSiblingElement(), nullptr);
    EXPECT_EQ(group->LastChild(), second);
}

TEST(XmlDocument, ChoosesEncodingFromByteOrderMarkAndDeclaration)
{
    struct Case
    {
        const char* text;
        XmlEncoding expected;
    };
    const Case cases[] = {
        {"<a/>", XmlEncoding::Unknown},
        {"\xEF\xBB\xBF<a/>", XmlEncoding::Utf8},
        {"<?xml version='1.0'?><a/>", XmlEncoding::Utf8},
        {"<?xml version='1.0' encoding='UTF-8'?><a/>", XmlEncoding::Utf8},
        {"<?xml version='1.0' encoding='utf8'?><a/>", XmlEncoding::Utf8},
        {"<?xml version='1.0' encoding='ISO-8859-1'?><a/>", XmlEncoding::Legacy},
        // The byte-order mark has already chosen; the declaration no longer does.
        {"\xEF\xBB\xBF<?xml version='1.0' encoding='windows-1252'?><a/>", XmlEncoding::Utf8},
    };
    for (const Case& c : cases) {
        XmlDocument doc;
        ASSERT_NE(doc.Parse(c.text), nullptr) << c.text;
        EXPECT_EQ(doc.Encoding(), c.expected) << c.text;
        EXPECT_STREQ(doc.RootElement()->Value(), "a") << c.text;
    }
}

TEST(XmlDocument, ResolvesReferencesInTextAndAttributes)
{
    struct Case
    {
        const char* encoding;
        std::string raw;
        std::string expected;
    };
    const Case cases[] = {
        {"UTF-8", "&#x41;&#65;&#x6a;", "AAj"},
        {"UTF-8", "&#xE9;", "\xC3\xA9"},
        {"ISO-8859-1", "&#xE9;", "\xE9"},
        {"UTF-8", "&#x20AC;&#128512;", "\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"UTF-8", "&lt;&gt;&amp;&quot;&apos;", "<>&\"'"},
        // What starts no reference stays as written.
        {"UTF-8", "a & b &nbsp; &#x41 &#; &#X41; &AMP;", "a & b &nbsp; &#x41 &#; &#X41; &AMP;"},
        // Codes no character has, and codes that do not fit one byte, stay as written too.
        {"UTF-8", "&#0;&#xD800;&#x110000;", "&#0;&#xD800;&#x110000;"},
        {"UTF-8", "&#99999999999999999999999;&#x00000041;", "&#99999999999999999999999;A"},
        {"ISO-8859-1", "&#x20AC;&#xFF;", "&#x20AC;\xFF"},
        {"UTF-8", "one\r\ntwo\rthree\n", "one\ntwo\nthree\n"},
    };
    for (const Case& c : cases) {
        const std::string text = std::string("<?xml version='1.0' encoding='") + c.encoding +
                                 "'?><r v='" + c.raw + "'>" + c.raw + "</r>";
        XmlDocument doc;
        ASSERT_NE(doc.Parse(text.c_str()), nullptr) << text;
        EXPECT_EQ(std::string(doc.RootElement()->Attribute("v")), c.expected) << text;
        EXPECT_EQ(std::string(doc.RootElement()->GetText()), c.expected) << text;
    }
}

TEST(XmlDocument, KeepsUnknownMarkupAndCData)
{
    const char* text = "<!DOCTYPE r [\n"
                       "  <!ENTITY gt \"&#62;\"> <!-- a > inside -->\n"
                       "  <!ATTLIST r v CDATA '>'>\n"
                       "]>\n"
                       "<?xml-stylesheet href='s.xsl'?>\n"
                       "<r><![CDATA[<&amp;>\r\n]]>tail</r>";
    XmlDocument doc;
    ASSERT_NE(doc.Parse(text), nullptr) << doc.ErrorDesc() << " at " << doc.ErrorRow();
    const XmlNode* doctype = doc.FirstChild();
    ASSERT_EQ(doctype->Type(), XmlNodeType::Unknown);
    EXPECT_EQ(doctype->ValueStr().substr(0, 11), "!DOCTYPE r ");
    EXPECT_EQ(doctype->ValueStr().back(), ']');
    const XmlNode* instruction = doctype->NextSibling();
    ASSERT_EQ(instruction->Type(), XmlNodeType::Unknown);
    EXPECT_STREQ(instruction->Value(), "?xml-stylesheet href='s.xsl'?");
    EXPECT_EQ(instruction->Row(), 5);

    const XmlElement* root = doc.RootElement();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Row(), 6);
    const XmlText* cdata = root->FirstChild()->ToText();
    ASSERT_NE(cdata, nullptr);
    EXPECT_TRUE(cdata->CData());
    EXPECT_STREQ(root->GetText(), "<&amp;>\n");
    EXPECT_STREQ(cdata->NextSibling()->Value(), "tail");
    EXPECT_FALSE(cdata->NextSibling()->ToText()->CData());
}

TEST(XmlDocument, ReportsErrorsWithRowAndColumn)
{
    struct Case
    {
        const char* text;
        int code;
        int row;
        int column;
    };
    const Case cases[] = {
        {"", XmlError::DocumentEmpty, 1, 1},
        {" \n\t ", XmlError::DocumentEmpty, 1, 1},
        {"<a>\n  <b>\n</a>", XmlError::MismatchedEndTag, 3, 1},
        {"<a>\n  <b/>\n", XmlError::ElementNotClosed, 1, 1},
        {"<r>\n  <x y=\"1", XmlError::BadAttribute, 2, 6},
        {"<r>\n  <x y=\"1\"", XmlError::UnexpectedEnd, 2, 3},
        {"<a b=1/>", XmlError::BadAttribute, 1, 4},
        {"<a b\n=\n'1'\n b='2'/>", XmlError::DuplicateAttribute, 4, 2},
        {"<a></a b>", XmlError::BadEndTag, 1, 8},
        {"</a>", XmlError::UnmatchedEndTag, 1, 1},
        {"<a>< b/></a>", XmlError::BadMarkup, 1, 4},
        {"<a>\n<!-- open", XmlError::UnexpectedEnd, 2, 1},
        {"<!DOCTYPE a [ <!ENTITY b 'x'> >\n<a/>", XmlError::UnexpectedEnd, 1, 1},
        // Columns count characters in UTF-8 mode (after the byte-order mark) and bytes otherwise.
        {"\xEF\xBB\xBF<a>\xC3\xA9</b>", XmlError::MismatchedEndTag, 1, 5},
        {"<?xml version='1.0' encoding='latin1'?>\r\n<a>\xC3\xA9</b>", XmlError::MismatchedEndTag,
         2, 6},
    };
    for (const Case& c : cases) {
        XmlDocument doc;
        EXPECT_EQ(doc.Parse(c.text), nullptr) << c.text;
        EXPECT_EQ(doc.ErrorId(), c.code) << c.text;
        EXPECT_EQ(doc.ErrorRow(), c.row) << c.text;
        EXPECT_EQ(doc.ErrorCol(), c.column) << c.text;
        EXPECT_STRNE(doc.ErrorDesc(), "") << c.text;
        // A failed parse leaves no half-built tree behind.
        EXPECT_EQ(doc.FirstChild(), nullptr) << c.text;
    }
    XmlDocument doc;
    EXPECT_EQ(doc.Parse(nullptr), nullptr);
    EXPECT_EQ(doc.ErrorId(), XmlError::DocumentEmpty);
}

TEST(XmlDocument, ParseReturnsEndOfTextAndCountsFromGivenLocation)
{
    const std::string text = "\n  <a>\n<b/></a>  ";
    const XmlCursor location{10, 5};
    XmlDocument doc;
    EXPECT_EQ(doc.Parse(text.c_str(), &location), text.c_str() + text.size());
    EXPECT_EQ(doc.RootElement()->Row(), 11);
    EXPECT_EQ(doc.RootElement()->Column(), 3);
    EXPECT_EQ(doc.RootElement()->FirstChildElement()->Row(), 12);

    // Parsing again replaces the tree, and a forced encoding wins over the declaration.
    EXPECT_NE(doc.Parse("<?xml version='1.0'?><c>&#xE9;</c>", nullptr, XmlEncoding::Legacy),
              nullptr);
    EXPECT_STREQ(doc.RootElement()->Value(), "c");
    EXPECT_EQ(doc.RootElement()->NextSibling(), nullptr);
    EXPECT_STREQ(doc.RootElement()->GetText(), "\xE9");
}

TEST(XmlDocument, RefusesNestingBeyondTheLimit)
{
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i) {
            text += "<a>";
        }
        for (int i = 0; i < depth; ++i) {
            text += "</a>";
        }
        return text;
    };
    XmlDocument doc;
    EXPECT_NE(doc.Parse(nested(XmlDocument::MaxDepth).c_str()), nullptr);
    EXPECT_EQ(doc.Parse(nested(XmlDocument::MaxDepth + 1).c_str()), nullptr);
    EXPECT_EQ(doc.ErrorId(), XmlError::TooDeep);
    EXPECT_EQ(doc.ErrorCol(), 3 * XmlDocument::MaxDepth + 1);
    // Far deeper input fails the same way instead of exhausting the stack.
    EXPECT_EQ(doc.Parse(nested(100000).c_str()), nullptr);
    EXPECT_EQ(doc.ErrorId(), XmlError::TooDeep);
}

TEST(XmlElement, ReadsNumbersLikeScanf)
{
    struct Case
    {
        const char* value;
        int intResult;
        int intValue;
        int doubleResult;
        double doubleValue;
    };
    constexpr int ok = XmlQuery::Success;
    constexpr int bad = XmlQuery::WrongType;
    const Case cases[] = {
        {"42", ok, 42, ok, 42.0},
        {" \t-7", ok, -7, ok, -7.0},
        {"+5", ok, 5, ok, 5.0},
        {"12abc", ok, 12, ok, 12.0},
        {"1.5", ok, 1, ok, 1.5},
        {"-2.5e3", ok, -2, ok, -2500.0},
        {".5", bad, -1, ok, 0.5},
        {"0x10", ok, 0, ok, 16.0},
        {"63488", ok, 63488, ok, 63488.0},
        {"2147483647", ok, 2147483647, ok, 2147483647.0},
        {"-2147483648", ok, -2147483647 - 1, ok, -2147483648.0},
        // Beyond int's range is no int, rather than a wrapped one.
        {"2147483648", bad, -1, ok, 2147483648.0},
        {"99999999999999999999", bad, -1, ok, 1e20},
        {"1e999", ok, 1, bad, -1.0},
        {"abc", bad, -1, bad, -1.0},
        {"", bad, -1, bad, -1.0},
        {"- 1", bad, -1, bad, -1.0},
        {"+-1", bad, -1, bad, -1.0},
    };
    for (const Case& c : cases) {
        const std::string text = std::string("<e v='") + c.value + "'/>";
        XmlDocument doc;
        ASSERT_NE(doc.Parse(text.c_str()), nullptr) << text;
        const XmlElement* e = doc.RootElement();
        int i = -1;
        double d = -1.0;
        EXPECT_EQ(e->QueryIntAttribute("v", &i), c.intResult) << c.value;
        EXPECT_EQ(i, c.intValue) << c.value;
        EXPECT_EQ(e->QueryDoubleAttribute("v", &d), c.doubleResult) << c.value;
        EXPECT_EQ(d, c.doubleValue) << c.value;
        EXPECT_EQ(e->QueryIntAttribute("w", &i), XmlQuery::NoAttribute);
        EXPECT_EQ(e->IntAttribute("w", 65535), 65535);
    }
}

TEST(XmlElement, WritesNumbersLikePrintf)
{
    XmlDocument doc;
    ASSERT_NE(doc.Parse("<e a='old'/>"), nullptr);
    XmlElement* e = doc.RootElement();
    e->SetAttribute("a", -12);
    e->SetAttribute("b", 1.5);
    e->SetAttribute("c", -1e20);
    e->SetAttribute("d", "text");
    ASSERT_EQ(e->Attributes().size(), 4u);
    EXPECT_STREQ(e->Attribute("a"), "-12");
    EXPECT_STREQ(e->Attribute("b"), "1.500000");
    EXPECT_STREQ(e->Attribute("c"), "-100000000000000000000.000000");
    EXPECT_STREQ(e->Attribute("d"), "text");
    EXPECT_EQ(e->DoubleAttribute("b"), 1.5);
}

} // namespace
