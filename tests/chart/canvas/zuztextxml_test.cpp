// Components' text form as XML.
#include "chart/canvas/zuztextxml.h"

#include "platform/core/streams.h"

#include <gtest/gtest.h>

TEST(TextToXml, ObjectsPropertiesListsAndNesting) {
    const String text = u"object Chart1: TChart\r\n"
                        u"  Left = 8\r\n"
                        u"  Title.Text.Strings = (\r\n"
                        u"    'Daily'\r\n"
                        u"    'Values')\r\n"
                        u"  object Series1: TLineSeries\r\n"
                        u"  end\r\n"
                        u"  object Axis: TAxisPanel\r\n"
                        u"    Visible = False\r\n"
                        u"  end\r\n"
                        u"end\r\n";
    EXPECT_EQ(TextToXML(text, false), u"<TChart Name=\"Chart1\">\r\n"
                                      u"  <Left value=\"8\"/>\r\n"
                                      u"  <Title.Text.Strings>\r\n"
                                      u"    <String value=\"'Daily'\"/>\r\n"
                                      u"    <String value=\"'Values'\"/>\r\n"
                                      u"  </Title.Text.Strings>\r\n"
                                      u"  <TLineSeries Name=\"Series1\"/>\r\n"
                                      u"  <TAxisPanel Name=\"Axis\">\r\n"
                                      u"    <Visible value=\"False\"/>\r\n"
                                      u"  </TAxisPanel>\r\n"
                                      u"</TChart>\r\n");
}

TEST(TextToXml, ValuesAreEscapedSoTheXmlStaysWellFormed) {
    const String xml = TextToXML(u"OBJECT T: TPanel\n  Caption = 'A & B <\"x\">'\nEND\n", true);
    EXPECT_EQ(xml, u"<?xml version=\"1.0\" encoding=\"" + ZuzDefaultXMLEncoding() +
                       u"\"?>\r\n<TPanel Name=\"T\">\r\n"
                       u"  <Caption value=\"'A &amp; B &lt;&quot;x&quot;&gt;'\"/>\r\n</TPanel>\r\n");
}

TEST(TextToXml, StreamIsReplacedByUtf16Lines) {
    TMemoryStream s;
    const std::string text = "object P: TPanel\n  Hint = 'Счётчик'\nend\n";
    s.WriteBuffer(text.data(), static_cast<LongInt>(text.size()));
    ConvertTextToXML(&s, false);
    ASSERT_GE(s.GetSize(), 2);
    std::u16string back(static_cast<std::size_t>(s.GetSize() / 2), u'\0');
    s.SetPosition(0);
    s.ReadBuffer(back.data(), static_cast<LongInt>(s.GetSize()));
    EXPECT_EQ(back, u"\uFEFF<TPanel Name=\"P\">\r\n  <Hint value=\"'Счётчик'\"/>\r\n</TPanel>\r\n");
    TStringsStack stack;
    EXPECT_EQ(stack.Push(u"a"), 0);
    EXPECT_EQ(stack.Push(u"b"), 1);
    EXPECT_EQ(stack.Pop(), u"b");
    EXPECT_EQ(stack.Pop(), u"a");
    EXPECT_EQ(stack.Pop(), u"");
}
