// Leaving a won run that counts: the result is recorded first, then the
// recorded ghost is uploaded in up to three attempts, each failed one
// followed by a one-second wait and a drawn frame; when none succeeds the
// player is told. The steps are the caller's (the game object fills them
// from the application and the engine); the order is kept here.
#pragma once

#include "core/Platform.h"

class PGhostUpload {
public:
  enum { ATTEMPTS = 3, WAIT_MS = 1000 };

  virtual ~PGhostUpload() {}

  // Records the result (best time, unlocking, player and ghost files).
  virtual void RecordResult() = 0;
  // One upload attempt; *reload is set when the server asks for fresh
  // rival ghosts. False when the attempt failed.
  virtual bool Upload(bool* reload) = 0;
  virtual void ShowUploading() = 0;
  virtual void DrawFrame() = 0;
  virtual void Wait(int ms) = 0;
  virtual void ReloadRivals() = 0;
  // "UPLOAD FAILED" for a while.
  virtual void ShowFailed() = 0;

  // The whole sequence; uploads only when allowed. True when the ghost
  // went up.
  bool Run(bool uploadAllowed);
};

// Busy-waits ms milliseconds on the multimedia timer.
void WaitMilliseconds(int ms);
