#include "core/Platform.h"
#include "core/SXmlItem.h"
#include "core/SFile.h"
#include "core/Utility.h"

#include <stdarg.h>

namespace {

struct EntityRow {
  char character;
  const char* entity;
};

const EntityRow kEntities[] = {
    {'&', "&amp;"},
    {'<', "&lt;"},
    {'>', "&gt;"},
    {'"', "&quot;"},
};

}  // namespace

SXmlItem::SXmlItem(uint32_t* counter, SXmlItem* parent, uint32_t id, const char* name)
    : m_text(""), m_name(name), m_counter(counter), m_parent(parent), m_id(id) {}

SXmlItem::~SXmlItem() { m_children.DeleteAndRemoveAll(); }

void SXmlItem::Clear() {
  m_attributeNames.DeleteAndRemoveAll();
  m_attributeValues.DeleteAndRemoveAll();
  m_text = "";
  m_children.DeleteAndRemoveAll();
}

int SXmlItem::AddAttribute(const char* name, const char* value) {
  if (!IsIdentifier(name)) return -1;
  for (int i = 0; i < m_attributeNames.GetCount(); ++i) {
    if (*m_attributeNames[i] == name) return -1;
  }
  m_attributeValues.Add(value);
  return m_attributeNames.Add(name);
}

SString SXmlItem::GetAttribute(const char* name) const {
  for (int i = 0; i < m_attributeNames.GetCount(); ++i) {
    if (*m_attributeNames[i] == name) return m_attributeValues.Get(i);
  }
  return SString("");
}

SXmlItem* SXmlItem::GetChild(const char* name) const {
  for (int i = 0; i < m_children.GetCount(); ++i) {
    SXmlItem* child = m_children[i];
    if (child && child->m_name.CompareNoCase(name) == 0) return child;
  }
  return nullptr;
}

SXmlItem* SXmlItem::GetNextSibling() const {
  if (!m_parent) return nullptr;
  const SArray<SXmlItem*>& siblings = m_parent->m_children;
  int i = 0;
  while (i < siblings.GetCount() && siblings[i] != this) ++i;
  for (++i; i < siblings.GetCount(); ++i) {
    if (siblings[i] && siblings[i]->m_name.CompareNoCase(m_name.GetText()) == 0) return siblings[i];
  }
  return nullptr;
}

SXmlItem* SXmlItem::AddChild(const char* name) {
  if (!IsIdentifier(name)) return nullptr;
  uint32_t id = 0;
  if (m_counter) id = (*m_counter)++;
  SXmlItem* child = new SXmlItem(m_counter, this, id, name);
  m_children.Add(child);
  return child;
}

SXmlItem* SXmlItem::AddChildWithAttributes(const char* name, int n, ...) {
  SXmlItem* child = AddChild(name);
  if (!child) return nullptr;
  va_list args;
  va_start(args, n);
  for (int i = 0; i < n; ++i) {
    const char* attributeName = va_arg(args, const char*);
    const char* attributeValue = va_arg(args, const char*);
    child->AddAttribute(attributeName, attributeValue);
  }
  va_end(args);
  return child;
}

SXmlItem* SXmlItem::FindById(uint32_t id, SXmlItem** parent) {
  if (parent) *parent = nullptr;
  if (id == 0) return nullptr;
  if (m_id == id) {
    if (parent) *parent = m_parent;
    return this;
  }
  for (int i = 0; i < m_children.GetCount(); ++i) {
    if (!m_children[i]) continue;
    SXmlItem* found = m_children[i]->FindById(id, parent);
    if (found) return found;
  }
  return nullptr;
}

bool SXmlItem::Write(SFile* file, int depth) const {
  if (!file) return false;
  for (int i = 0; i < depth; ++i) file->WriteText("\t", 1);
  file->WriteText("<", 1);
  file->WriteText(m_name.GetText(), m_name.GetLength());
  for (int i = 0; i < m_attributeNames.GetCount(); ++i) {
    file->WriteText(" ", 1);
    file->WriteText(m_attributeNames[i]->GetText(), m_attributeNames[i]->GetLength());
    file->WriteText("=\"", 2);
    WriteEscaped(file, *m_attributeValues[i]);
    file->WriteText("\"", 1);
  }
  if (m_children.GetCount() == 0) {
    if (m_text.GetLength() == 0) {
      file->WriteText("/>", 2);
    } else {
      file->WriteText(">", 1);
      WriteEscaped(file, m_text);
      file->WriteText("</", 2);
      file->WriteText(m_name.GetText(), m_name.GetLength());
      file->WriteText(">", 1);
    }
    file->WriteLine("");
    return true;
  }
  file->WriteText(">", 1);
  file->WriteLine("");
  for (int i = 0; i < m_children.GetCount(); ++i) {
    if (m_children[i]) m_children[i]->Write(file, depth + 1);
  }
  for (int i = 0; i < depth; ++i) file->WriteText("\t", 1);
  file->WriteText("</", 2);
  file->WriteText(m_name.GetText(), m_name.GetLength());
  file->WriteText(">", 1);
  file->WriteLine("");
  return true;
}

void SXmlItem::WriteEscaped(SFile* file, const SString& text) {
  const char* p = text.GetText();
  int n = text.GetLength();
  int start = 0;
  for (int i = 0; i < n; ++i) {
    const char* entity = EntityOf(p[i]);
    if (!entity) continue;
    if (i > start) file->WriteText(p + start, i - start);
    file->WriteText(entity, -1);
    start = i + 1;
  }
  if (n > start) file->WriteText(p + start, n - start);
}

const char* SXmlItem::EntityOf(char c) {
  for (const EntityRow& row : kEntities) {
    if (c == row.character) return row.entity;
  }
  return nullptr;
}

SString SXmlItem::EscapeText(const SString& text) {
  const char* p = text.GetText();
  int n = text.GetLength();
  int length = 0;
  for (int i = 0; i < n; ++i) {
    const char* entity = EntityOf(p[i]);
    length += entity ? static_cast<int>(strlen(entity)) : 1;
  }
  SString out("");
  out.SetLength(length, false);
  char* q = const_cast<char*>(out.GetText());
  for (int i = 0; i < n; ++i) {
    const char* entity = EntityOf(p[i]);
    if (entity) {
      size_t k = strlen(entity);
      memcpy(q, entity, k);
      q += k;
    } else {
      *q++ = p[i];
    }
  }
  return out;
}

SString SXmlItem::DecodeText(const SString& text) {
  const char* p = text.GetText();
  int n = text.GetLength();
  SString out("");
  out.SetLength(n, false);
  char* q = const_cast<char*>(out.GetText());
  int length = 0;
  for (int i = 0; i < n; ++i) {
    char c = p[i];
    if (c == '&') {
      for (const EntityRow& row : kEntities) {
        int k = static_cast<int>(strlen(row.entity));
        if (i + k <= n && strncmp(p + i, row.entity, k) == 0) {
          c = row.character;
          i += k - 1;
          break;
        }
      }
    }
    q[length++] = c;
  }
  out.SetLength(length, true);
  return out;
}
