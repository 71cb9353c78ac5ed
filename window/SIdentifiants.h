// Names of the cursor kinds and of the Windows system colours, for editors
// that show or read them by name. Entry i of a name list belongs to entry i
// of its value list.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SStringArray.h"

class SIdentifiants {
public:
  // Fills the lists with the standard names (AddStandardNames).
  SIdentifiants();
  SIdentifiants(const SIdentifiants&) = delete;
  SIdentifiants& operator=(const SIdentifiants&) = delete;
  virtual ~SIdentifiants();

  // Appends the 18 named cursor kinds and the 30 system colours (values are
  // GetSysColor indexes), in their fixed order.
  void AddStandardNames();

  SArray<int> m_cursorValues;
  SStringArray m_cursorNames;
  SArray<int> m_colorValues;
  SStringArray m_colorNames;
};

// The process-wide instance, built before the program entry runs.
extern SIdentifiants g_identifiants;
