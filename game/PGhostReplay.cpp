#include "core/Platform.h"
#include "game/PGhostReplay.h"

const float PGhostReplay::SHOW_AHEAD = 100.0f;
const float PGhostReplay::LABEL_NEAR = 200.0f;
const float PGhostReplay::LABEL_FAR = 4000.0f;

PGhostReplay::PGhostReplay() : sampleIndex(0), place(1) {
  for (Slot& slot : slots) slot = Slot{D3DXVECTOR3(0, 0, 0), false, false, false};
}

void PGhostReplay::StepAt(float seconds, int* index, float* fraction) {
  int hundredths = TruncateCoordinate(seconds * 100.0f);
  if (hundredths < 0) hundredths = 0;
  const int perStep = 100 / STEPS_PER_SECOND;
  *index = hundredths / perStep;
  float f = float(hundredths % perStep) / float(perStep);
  *fraction = f < 0.0f ? 0.0f : (f > 1.0f ? 1.0f : f);
}

bool PGhostReplay::Step(float seconds, const D3DXVECTOR3& craft, float craftTrackZ, PGhost* ghosts,
                        const bool* showGhost, bool showNames) {
  int index = 0;
  float fraction = 0.0f;
  StepAt(seconds, &index, &fraction);
  if (index >= FROZEN_INDEX) return false;

  if (index != sampleIndex) {
    ghosts[0].AddPoint(craft);
    sampleIndex = index;
  }

  int ahead = 0;
  for (int s = 1; s < SLOTS; ++s) {
    Slot& slot = slots[s];
    const PGhost& ghost = ghosts[s];
    slot.onPath = index < ghost.GetCount();
    if (!slot.onPath) {
      slot.shown = false;
      slot.labelShown = false;
      if (s >= FIRST_RIVAL && ghost.GetCount() > 0) ++ahead;
      continue;
    }
    D3DXVECTOR3 p(0, 0, 0);
    if (index > 0) {
      const D3DXVECTOR3& a = ghost.GetPoint(index - 1);
      const D3DXVECTOR3& b = ghost.GetPoint(index);
      p = a + (b - a) * fraction;
    }
    slot.position = p;
    if (s >= FIRST_RIVAL && p.z > craftTrackZ) ++ahead;
    slot.shown = showGhost[s] && p.z >= craftTrackZ + SHOW_AHEAD;
    slot.labelShown = s >= FIRST_RIVAL && showNames && showGhost[s] &&
                      p.z >= craftTrackZ + LABEL_NEAR && p.z <= craftTrackZ + LABEL_FAR;
  }
  place = ahead + 1;
  return true;
}
