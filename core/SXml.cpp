#include "core/Platform.h"
#include "core/SXml.h"
#include "core/SFile.h"
#include "core/SFileMem.h"
#include "core/SStringParser.h"
#include "core/Utility.h"

SXml::SXml(const char* rootName, const char* attributeName, const char* attributeValue)
    : m_nextId(2), m_root(&m_nextId, nullptr, 1, "") {
  Reset(rootName);
  if (attributeName && *attributeName) m_root.AddAttribute(attributeName, attributeValue);
}

SXml::~SXml() {}

void SXml::Reset(const char* rootName) {
  m_nextId = 2;
  m_version = "1.0";
  m_encoding = "UTF-8";
  m_root.Clear();
  m_root.SetName(rootName && *rootName && IsIdentifier(rootName) ? rootName : "xml");
}

bool SXml::Parse(SFile* file) {
  if (!file) return false;
  Reset(nullptr);
  SString text = file->ReadString(-1);
  SArray<SXmlItem*> open;  // innermost last; not owning
  bool first = true;
  int position = 0;
  SStringParser parser;
  SString separators(" =");
  for (;;) {
    bool isTag = false, isOpening = false, isClosing = false;
    SString token = text.GetXmlToken(position, &position, &isTag, &isOpening, &isClosing);
    // The input ends: a failure while elements are still open.
    if (token.GetLength() == 0) return open.GetCount() == 0;

    if (!isTag) {
      if (open.GetCount() == 0) return false;
      open.GetLast()->m_text = SXmlItem::DecodeText(token);
      continue;
    }
    if (token.GetAt(1) == '?' || token.GetAt(1) == '!') continue;

    // The tag without its angle brackets and slashes.
    int left = isOpening ? 1 : 2;
    int right = isOpening && isClosing ? 2 : 1;
    int inner = token.GetLength() - left - right;
    if (inner <= 0) return false;
    if (parser.ParseText(token.Mid(left, inner), separators, 1, '"') <= 0) return false;
    int count = parser.GetCount();

    if (isOpening) {
      SXmlItem* item;
      if (first) {
        item = &m_root;
        item->SetName(parser.GetToken(0).GetText());
        first = false;
      } else {
        if (open.GetCount() == 0 || open.GetCount() >= MAX_DEPTH) return false;
        item = open.GetLast()->AddChild(parser.GetToken(0).GetText());
        if (!item) return false;
      }
      if (!isClosing) open.Add(item);
      if ((count - 1) % 2 != 0) return false;
      for (int k = 0; 2 * k + 2 < count; ++k) {
        SString value = parser.GetToken(2 * k + 2);
        if (!value.IsQuoted('"')) return false;
        SString decoded = SXmlItem::DecodeText(value.Unquoted());
        if (item->AddAttribute(parser.GetToken(2 * k + 1).GetText(), decoded.GetText()) < 0)
          return false;
      }
      if (isClosing && !item->GetParent()) return true;
    } else {
      if (count > 1 || open.GetCount() == 0) return false;
      if (open.GetLast()->GetName() != parser.GetToken(0)) return false;
      open.RemoveLast();
      if (open.GetCount() == 0) return true;
    }
  }
}

bool SXml::ParseText(const char* text) {
  SFileMem file(text ? text : "");
  file.Rewind();
  return Parse(&file);
}

bool SXml::Write(SFile* file) {
  if (!file) return false;
  SString declaration = SString("<?xml version=\"") + m_version + "\" encoding=\"" + m_encoding +
                        "\"?>";
  file->WriteLine(declaration.GetText());
  return m_root.Write(file, 0);
}

SString SXml::WriteText() {
  SFileMem file;
  if (!Write(&file)) return SString("");
  file.Rewind();
  return file.ReadString(-1);
}

SXmlItem* SXml::GetRoot() {
  if (m_root.GetId() == 1) return &m_root;
  SArray<SXmlItem*>& children = m_root.GetChildren();
  for (int i = 0; i < children.GetCount(); ++i) {
    SXmlItem* found = children[i] ? children[i]->FindById(1) : nullptr;
    if (found) return found;
  }
  return nullptr;
}

SString SXml::GetSignature() {
  SXmlItem* root = GetRoot();
  return root ? root->GetAttribute("signature") : SString("");
}
