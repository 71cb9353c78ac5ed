// A small XML document: a declaration (version and encoding, written but not
// applied) and one root element.
//
// The reader handles a subset: elements, attributes in double quotes, one
// text per element, and the entities &amp; &lt; &gt; &quot; in values and
// texts. Declarations, comments and document types are skipped; element and
// attribute names must be identifiers (except the root's). Elements nest at
// most MAX_DEPTH levels: the tree is written and destroyed recursively, so
// deeper input is refused instead of risking the stack.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "core/SXmlItem.h"

#include <stdint.h>

class SFile;

class SXml {
public:
  enum { MAX_DEPTH = 256 };

  // A document with the given root name ("xml" when empty or no identifier)
  // and, when attributeName is not empty, that one root attribute.
  explicit SXml(const char* rootName = nullptr, const char* attributeName = nullptr,
                const char* attributeValue = nullptr);
  SXml(const SXml&) = delete;
  SXml& operator=(const SXml&) = delete;
  ~SXml();

  // Empties the document: ids restart at 2, version "1.0", encoding "UTF-8";
  // the root loses its attributes, text and children and takes the name.
  void Reset(const char* rootName);

  // Reads XML text from the file's position to its end. False for a null
  // file or malformed text; what was read up to there stays in the document.
  bool Parse(SFile* file);
  bool ParseText(const char* text);

  // The declaration line and the element tree, tab-indented, CR LF line ends.
  bool Write(SFile* file);
  // The written document as text; empty when writing failed.
  SString WriteText();

  SXmlItem* GetRoot();
  // The root's "signature" attribute; empty when there is none.
  SString GetSignature();

  const SString& GetVersion() const { return m_version; }
  const SString& GetEncoding() const { return m_encoding; }

private:
  uint32_t m_nextId;
  SString m_version;
  SString m_encoding;
  SXmlItem m_root;
};
