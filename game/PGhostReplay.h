// The per-frame work of the ghost slots during a run, apart from drawing:
// recording the craft's path into slot 0 once per quarter second, placing
// the ghosts of slots 1..4 on their paths at the run's time, deciding which
// glows and name labels are shown and counting the rivals ahead.
//
// Slots: 0 the recording; 1 the player's own ghost; 2..4 rivals. Only the
// rivals count for the place and have labels.
#pragma once

#include "core/Platform.h"
#include "game/PGhost.h"

#include <d3dx9.h>

class PGhostReplay {
public:
  enum {
    SLOTS = 5,
    FIRST_RIVAL = 2,
    STEPS_PER_SECOND = 4,
    FROZEN_INDEX = 720,  // 180 s: nothing moves from here on
  };
  // Distances along the track from the craft: a glow is drawn from
  // SHOW_AHEAD on, a label between LABEL_NEAR and LABEL_FAR.
  static const float SHOW_AHEAD;
  static const float LABEL_NEAR;
  static const float LABEL_FAR;

  struct Slot {
    D3DXVECTOR3 position;  // where the glow stands this frame, when on its path
    bool onPath;           // the ghost has points left: the glow moves to position
    bool shown;            // the glow is drawn
    bool labelShown;       // the name label is drawn (rivals only)
  };

  PGhostReplay();

  // The quarter-second index and the fraction within it of a run time in
  // seconds (time truncated to hundredths first).
  static void StepAt(float seconds, int* index, float* fraction);

  // A restart: the next point is recorded at 0.25 s.
  void Restart() { sampleIndex = 0; }
  // One frame of a run at the given time: records the craft's position into
  // ghosts[0] when a new quarter second began, places slots 1..4 and sets
  // the place. False, with nothing changed, from 180 s on.
  bool Step(float seconds, const D3DXVECTOR3& craft, float craftTrackZ, PGhost* ghosts,
            const bool* showGhost, bool showNames);

  int sampleIndex;  // quarter second of the last recorded point
  int place;        // 1 + the rivals ahead
  Slot slots[SLOTS];
};
