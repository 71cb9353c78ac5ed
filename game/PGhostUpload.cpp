#include "core/Platform.h"
#include "game/PGhostUpload.h"

bool PGhostUpload::Run(bool uploadAllowed) {
  RecordResult();
  if (!uploadAllowed) return false;
  ShowUploading();
  DrawFrame();
  for (int attempt = 0; attempt < ATTEMPTS; ++attempt) {
    bool reload = false;
    if (Upload(&reload)) {
      if (reload) ReloadRivals();
      return true;
    }
    Wait(WAIT_MS);
    DrawFrame();
  }
  ShowFailed();
  return false;
}

void WaitMilliseconds(int ms) {
  DWORD start = ::timeGetTime();
  while (::timeGetTime() - start < DWORD(ms)) {
  }
}
