// One element of an XML document: a name, attributes in insertion order, one
// text and owned child elements in document order.
//
// Every element has an id unique in its document: the root 1, every element
// created by AddChild the document's next id (2, 3, ...). An element deletes
// its children, recursively, when it is destroyed; a child is removed by its
// parent (DeleteAt then RemoveAt on the parent's children).
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"
#include "core/SStringArray.h"

#include <stdint.h>

class SFile;

class SXmlItem {
public:
  // The name is taken as given (no identifier test).
  SXmlItem(uint32_t* counter, SXmlItem* parent, uint32_t id, const char* name);
  SXmlItem(const SXmlItem&) = delete;
  SXmlItem& operator=(const SXmlItem&) = delete;
  ~SXmlItem();

  SString GetName() const { return m_name; }
  void SetName(const char* name) { m_name = name; }
  uint32_t GetId() const { return m_id; }
  SXmlItem* GetParent() const { return m_parent; }

  // Appends an attribute; returns its index, or -1 when the name is no
  // identifier or an attribute of exactly that name exists.
  int AddAttribute(const char* name, const char* value);
  // The value of the attribute of exactly that name; empty when none.
  SString GetAttribute(const char* name) const;
  const SStringArray& GetAttributeNames() const { return m_attributeNames; }
  const SStringArray& GetAttributeValues() const { return m_attributeValues; }
  // Removes every attribute, the text and every child (deleted).
  void Clear();

  // The first child whose name equals name ignoring case; null when none.
  SXmlItem* GetChild(const char* name) const;
  // The next later sibling with this element's name (ignoring case); null
  // for the root or when there is none.
  SXmlItem* GetNextSibling() const;
  // A new last child with the document's next id; null when the name is no
  // identifier.
  SXmlItem* AddChild(const char* name);
  // AddChild, then n pairs of attribute name and value (const char*); pairs
  // with an invalid or repeated name are skipped.
  SXmlItem* AddChildWithAttributes(const char* name, int n, ...);
  SArray<SXmlItem*>& GetChildren() { return m_children; }
  const SArray<SXmlItem*>& GetChildren() const { return m_children; }

  // Depth-first search of this subtree (each child's subtree before the next
  // child); parent (when not null) receives the found element's parent, null
  // when nothing is found. Id 0 finds nothing.
  SXmlItem* FindById(uint32_t id, SXmlItem** parent = nullptr);

  // Writes this element and its subtree at depth tabs; false for a null file.
  // Attribute values and texts are written with &, <, > and " as entities.
  bool Write(SFile* file, int depth) const;

  // & < > " as &amp; &lt; &gt; &quot;, and back. Decoding leaves every other
  // "&" as it is.
  static SString EscapeText(const SString& text);
  static SString DecodeText(const SString& text);

  // The element's character data, read and written directly.
  SString m_text;

private:
  static const char* EntityOf(char c);
  static void WriteEscaped(SFile* file, const SString& text);

  SString m_name;
  SStringArray m_attributeNames;
  SStringArray m_attributeValues;
  SArray<SXmlItem*> m_children;
  uint32_t* m_counter;
  SXmlItem* m_parent;
  uint32_t m_id;
};
