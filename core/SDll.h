// One dynamically loaded library. Its user loads the library into the held
// module (LoadLibraryA), possibly from a temporary copy of the library file,
// and looks functions up itself; Free releases the library and deletes the
// temporary copy.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"

class SDll {
public:
  SDll();
  // Free, then the members.
  virtual ~SDll();

  // FreeLibrary of the held module; on success the handle and the function
  // table are cleared and the temporary copy (when there is one) is deleted.
  // False, with nothing changed, when no module is held or FreeLibrary fails.
  bool Free();

  HMODULE GetModule() const { return m_module; }
  void SetModule(HMODULE module) { m_module = module; }
  // The temporary copy the module was loaded from; empty for none.
  const SString& GetTempCopy() const { return m_tempCopy; }
  void SetTempCopy(const char* path) { m_tempCopy = path; }
  // Function addresses looked up by the user.
  SArray<void*>& GetFunctions() { return m_functions; }

private:
  SString m_tempCopy;
  HMODULE m_module;
  SArray<void*> m_functions;
};

// The framework's process-wide library object: freed by start-up and
// shutdown, loaded by the dialog builder for layered windows.
extern SDll g_sharedLibrary;
