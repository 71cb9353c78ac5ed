#include "core/Platform.h"
#include "core/SFileMem.h"
#include "core/SXml.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::string Repeat(const char* text, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += text;
  return s;
}

TEST(SXmlTest, ParsesAndQueriesElements) {
  SXml xml;
  ASSERT_TRUE(xml.ParseText("<a><b x=\"1\"/><c/><b x=\"2\">t</b></a>"));
  SXmlItem* root = xml.GetRoot();
  EXPECT_EQ(3, root->GetChildren().GetCount());
  SXmlItem* first = root->GetChild("B");
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(SString("1"), first->GetAttribute("x"));
  EXPECT_EQ(0, first->GetAttribute("X").GetLength());  // attribute names match exactly
  SXmlItem* second = first->GetNextSibling();
  ASSERT_NE(nullptr, second);
  EXPECT_EQ(SString("t"), second->m_text);
  EXPECT_EQ(nullptr, second->GetNextSibling());
  // Ids follow creation order; the root is 1.
  SXmlItem* parent = nullptr;
  EXPECT_EQ(second, root->FindById(4, &parent));
  EXPECT_EQ(root, parent);
  // Texts keep trailing blanks; of mixed content the last run stays.
  ASSERT_TRUE(xml.ParseText("<a>  hello world \r\n</a>"));
  EXPECT_EQ(SString("hello world \r\n"), xml.GetRoot()->m_text);
  ASSERT_TRUE(xml.ParseText("<a>x<b/>y</a>"));
  EXPECT_EQ(SString("y"), xml.GetRoot()->m_text);
  // Reading starts at the file's position.
  SFileMem file("junk<r><s/></r>");
  file.Seek(4);
  ASSERT_TRUE(xml.Parse(&file));
  EXPECT_NE(nullptr, xml.GetRoot()->GetChild("s"));
}

TEST(SXmlTest, WritesAndReadsBack) {
  SXml xml("graph");
  SXmlItem* root = xml.GetRoot();
  SXmlItem* box = root->AddChildWithAttributes("box", 3, "id", "1", "name", "A", "9bad", "x");
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(2, box->GetAttributeNames().GetCount());  // the invalid pair is skipped
  SXmlItem* note = root->AddChild("note");
  note->AddChild("deep")->AddChild("deeper");
  note->m_text = "hidden";  // an element with children is written without its text
  EXPECT_EQ(SString(kDeclaration) +
                "<graph>\r\n\t<box id=\"1\" name=\"A\"/>\r\n\t<note>\r\n\t\t<deep>\r\n"
                "\t\t\t<deeper/>\r\n\t\t</deep>\r\n\t</note>\r\n</graph>\r\n",
            xml.WriteText());
  EXPECT_FALSE(xml.Write(nullptr));
  // The reader skips any declaration, document type and comments.
  ASSERT_TRUE(xml.ParseText(
      "<?xml version=\"2.0\" encoding=\"ISO-8859-1\"?>\r\n<!DOCTYPE a>\r\n<!-- note -->\r\n"
      "<a><!-- inner --><b/></a>"));
  EXPECT_EQ(SString(kDeclaration) + "<a>\r\n\t<b/>\r\n</a>\r\n", xml.WriteText());

  // Special characters survive writing and reading.
  const char* nasty = "a \"quoted\" <tag> & 'more' &amp; done";
  SXml doc("doc", "signature", "GRAPH"), copy;
  SXmlItem* item = doc.GetRoot()->AddChild("item");
  ASSERT_EQ(0, item->AddAttribute("value", nasty));
  item->m_text = nasty;
  doc.GetRoot()->AddChild("open")->m_text = "</doc><x y=\"\r\nline two";
  SString written = doc.WriteText();
  EXPECT_GE(written.Find("&quot;quoted&quot; &lt;tag&gt; &amp; 'more' &amp;amp; done"), 0);
  ASSERT_TRUE(copy.ParseText(written.GetText()));
  EXPECT_EQ(SString("GRAPH"), copy.GetSignature());
  ASSERT_NE(nullptr, copy.GetRoot()->GetChild("item"));
  EXPECT_EQ(SString(nasty), copy.GetRoot()->GetChild("item")->GetAttribute("value"));
  EXPECT_EQ(written, copy.WriteText());
  // Only the four entities are decoded; any other "&" stays.
  ASSERT_TRUE(copy.ParseText("<a v=\"AT&T &#65; &lt\">x &gt; y &unknown;</a>"));
  EXPECT_EQ(SString("AT&T &#65; &lt"), copy.GetRoot()->GetAttribute("v"));
  EXPECT_EQ(SString("x > y &unknown;"), copy.GetRoot()->m_text);
}

TEST(SXmlTest, MalformedCutOffAndMutatedDocuments) {
  const char* failing[] = {
      "<a></b>",       "<A></a>",      "text<a/>",   "<a b=1/>",       "<a b=\"1\" b=\"2\"/>",
      "<a b_=\"1\"/>", "<a><1x/></a>", "<a b='1'/>", "<a b=\"1\" c/>", "<a></a x>",
      "</a>",          "<a><>",        "<a></>",     "<a><b>",         "<a><b x=\"1\"/><c y=\"2",
      "<a>text",       "<a><b></b>",
  };
  for (const char* text : failing) EXPECT_FALSE(SXml().ParseText(text)) << text;
  // What was read before the fault stays in the document.
  SXml partial;
  EXPECT_FALSE(partial.ParseText("<a><b/><c></d>"));
  EXPECT_NE(nullptr, partial.GetRoot()->GetChild("c"));
  // Lenient: text after the root, an unchecked root name, blanks in tags, no
  // element at all.
  SXml xml;
  EXPECT_TRUE(xml.ParseText("<a></a><b/>"));
  EXPECT_EQ(0, xml.GetRoot()->GetChildren().GetCount());
  EXPECT_TRUE(xml.ParseText("<1x><b/></1x>"));
  EXPECT_TRUE(xml.ParseText("<a _b = \"1\" />"));
  EXPECT_EQ(SString("1"), xml.GetRoot()->GetAttribute("_b"));
  EXPECT_TRUE(xml.ParseText("  \r\n\t "));
  EXPECT_EQ(SString("xml"), xml.GetRoot()->GetName());

  // Nesting is bounded, not recursive: at the limit a document reads whole;
  // far deeper input fails cleanly, with or without its closing tags.
  std::string atLimit = Repeat("<e>", SXml::MAX_DEPTH) + Repeat("</e>", SXml::MAX_DEPTH);
  EXPECT_TRUE(xml.ParseText(atLimit.c_str()));
  EXPECT_TRUE(SXml().ParseText(xml.WriteText().GetText()));
  std::string deep = Repeat("<e>", 100000);
  EXPECT_FALSE(xml.ParseText(deep.c_str()));
  EXPECT_FALSE(xml.ParseText((deep + Repeat("</e>", 100000)).c_str()));
  EXPECT_FALSE(xml.ParseText((Repeat("<e>", SXml::MAX_DEPTH) + "<f/>").c_str()));
  SXml source("clipboard", "signature", "GRAPH");
  for (int i = 0; i < 4; ++i) {
    SXmlItem* box =
        source.GetRoot()->AddChildWithAttributes("box", 2, "id", "7", "name", "a<&>\"b");
    box->AddChild("note")->m_text = "some & text";
    box->AddChild("plug");
  }
  std::string text = source.WriteText().GetText();
  // A prefix reads only while the root is not yet open or once it is closed.
  size_t rootOpened = text.find('>', text.find("<clipboard")) + 1;
  size_t rootClosed = text.find("</clipboard>") + strlen("</clipboard>");
  for (size_t n = 0; n <= text.size(); ++n) {
    EXPECT_EQ(n < rootOpened || n >= rootClosed, SXml().ParseText(text.substr(0, n).c_str())) << n;
  }
  // Seeded random mutations: replaced, inserted and deleted characters.
  // Whatever reads can be written and read back.
  const char alphabet[] = "<>/=\"!? \r\n\tab_1&;";
  std::mt19937 random(20240607);
  int read = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string mutated = text;
    for (int e = 1 + random() % 8; e > 0 && !mutated.empty(); --e) {
      size_t at = random() % mutated.size();
      char c = alphabet[random() % (sizeof(alphabet) - 1)];
      switch (random() % 3) {
        case 0: mutated[at] = c; break;
        case 1: mutated.insert(at, 1, c); break;
        default: mutated.erase(at, 1); break;
      }
    }
    SXml xml;
    if (!xml.ParseText(mutated.c_str())) continue;
    ++read;
    EXPECT_TRUE(SXml().ParseText(xml.WriteText().GetText())) << round;
  }
  EXPECT_GT(read, 0);
}

TEST(SXmlTest, ResetRestartsIdsAndChildrenAreRemovedByTheirParent) {
  SXml xml("root");
  SXmlItem* root = xml.GetRoot();
  root->AddChild("a");
  xml.Reset("top");
  EXPECT_EQ(SString("top"), root->GetName());
  SXmlItem* a = root->AddChild("a");
  SXmlItem* b = root->AddChild("b");
  EXPECT_EQ(2u, a->GetId());
  EXPECT_EQ(nullptr, root->AddChild("a b"));
  EXPECT_EQ(4u, root->AddChild("c")->GetId());
  EXPECT_EQ(0, a->AddAttribute("k", "1"));
  EXPECT_EQ(-1, a->AddAttribute("k", "2"));  // a name once; invalid names refused
  EXPECT_EQ(-1, a->AddAttribute("k_", "4"));
  root->GetChildren().DeleteAt(0);
  root->GetChildren().RemoveAt(0);
  EXPECT_EQ(b, root->GetChildren()[0]);
  EXPECT_EQ(nullptr, root->FindById(2));
  xml.Reset("not valid");
  EXPECT_EQ(SString("xml"), root->GetName());
  EXPECT_EQ(0, root->GetChildren().GetCount());
}

}  // namespace
