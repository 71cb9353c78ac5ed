// One dynamically loaded library. Its user loads the library into the held
// module (LoadLibraryA), possibly from a temporary copy of the library file,
// and looks functions up itself; Free releases the library and deletes the
// temporary copy.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SDisk.h"
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
  // The file-system services the user makes its temporary copy with
  // (trailing separator on).
  SDisk& GetDisk() { return m_disk; }
  // Two words whose meaning belongs to the loading user: 1 and 0 after
  // construction, kept by Free.
  uint32_t GetUserValue1() const { return m_user1; }
  uint32_t GetUserValue2() const { return m_user2; }
  void SetUserValue1(uint32_t value) { m_user1 = value; }
  void SetUserValue2(uint32_t value) { m_user2 = value; }

private:
  SDisk m_disk;
  SString m_tempCopy;
  HMODULE m_module;
  uint32_t m_user1;
  uint32_t m_user2;
  SArray<void*> m_functions;
};

// The two process-wide library objects, constructed before the program's
// entry. The shared one is freed by start-up and shutdown and loaded by the
// dialog builder for layered windows; the rich text one is there for the
// rich text library.
extern SDll g_sharedLibrary;
extern SDll g_richTextLibrary;
