#include "core/Platform.h"
#include "app/PSave.h"
#include "app/PWnd.h"

#include "core/SFileMem.h"

#include <string.h>

namespace {

enum { STATE_NONE = 0, STATE_LOCKED = 1, STATE_OPEN = 2, STATE_DONE = 3 };
const int kCentre = 2;
const int kDoneToOpenCentre = 20;

// Cells that hold no level, always state 0.
const struct { int world, level; } kNoLevel[] = {{1, 1}, {1, 3}, {3, 1}, {3, 3}};

// Cells whose results are never recorded: the lesson and the bonus level.
bool IsUnrecorded(int world, int level) {
  return (world == 1 && level == 1) || (world == 3 && level == 3);
}

bool InRange(int d, int world, int level) {
  return d >= 0 && d < PWnd::DIFFICULTIES && world >= 0 && world < PWnd::MAP_SIZE && level >= 0 &&
         level < PWnd::MAP_SIZE;
}

bool IsNoLevelCell(int world, int level) {
  for (const auto& cell : kNoLevel)
    if (cell.world == world && cell.level == level) return true;
  return false;
}

}  // namespace

SString PWnd::GetPlayerFileName() {
  return GetSaveFolder() + "player" + SString::FromInt(profile) + ".sav";
}

SString PWnd::GetGhostFileName(int difficulty, int world, int level) {
  return GetSaveFolder() + "ghost" + SString::FromInt(profile) + SString::FromInt(difficulty) +
         SString::FromInt(world) + SString::FromInt(level) + ".sav";
}

void PWnd::ResetProgress(int difficulty, bool save) {
  if (difficulty < 0 || difficulty >= DIFFICULTIES) return;
  for (int world = 0; world < MAP_SIZE; ++world)
    for (int level = 0; level < MAP_SIZE; ++level) {
      cellStates[difficulty][world][level] = STATE_LOCKED;
      bestTimes[difficulty][world][level] = 0;
    }
  cellStates[difficulty][0][0] = STATE_OPEN;
  for (const auto& cell : kNoLevel) cellStates[difficulty][cell.world][cell.level] = STATE_NONE;
  if (save) SavePlayer();
}

void PWnd::LoadPlayer() {
  for (int d = 0; d < DIFFICULTIES; ++d) ResetProgress(d, false);
  SFileMem plain;
  if (!PSave::ReadFile(GetPlayerFileName().GetText(), PSave::HEADER_SIZE + PSave::PLAYER_BODY,
                       &plain))
    return;
  if (plain.GetRemaining() != PSave::PLAYER_BODY) return;

  // Read into a copy first: a file with a value out of range is refused as
  // a whole and the starting layout stays.
  bool unlocked[DIFFICULTIES];
  int states[DIFFICULTIES][MAP_SIZE][MAP_SIZE];
  int times[DIFFICULTIES][MAP_SIZE][MAP_SIZE];
  for (int d = 0; d < DIFFICULTIES; ++d) {
    unlocked[d] = plain.ReadByte() != 0;
    for (int world = 0; world < MAP_SIZE; ++world)
      for (int level = 0; level < MAP_SIZE; ++level) {
        int state = plain.ReadByte();
        int time = int(plain.ReadInt32());
        if (state < STATE_NONE || state > STATE_DONE || time < 0) return;
        if (IsNoLevelCell(world, level) && state != STATE_NONE) return;
        states[d][world][level] = state;
        times[d][world][level] = time;
      }
  }
  memcpy(difficultyUnlocked, unlocked, sizeof(unlocked));
  memcpy(cellStates, states, sizeof(states));
  memcpy(bestTimes, times, sizeof(times));
}

bool PWnd::SavePlayer() {
  SFileMem plain;
  PSave::StartFile(&plain);
  for (int d = 0; d < DIFFICULTIES; ++d) {
    plain.WriteByte(difficultyUnlocked[d] ? 1 : 0);
    for (int world = 0; world < MAP_SIZE; ++world)
      for (int level = 0; level < MAP_SIZE; ++level) {
        plain.WriteByte(uint8_t(cellStates[d][world][level]));
        plain.WriteInt32(uint32_t(bestTimes[d][world][level]));
        if (cellStates[d][world][level] != STATE_DONE) DeleteGhost(d, world, level);
      }
  }
  return PSave::WriteFile(GetPlayerFileName().GetText(), &plain);
}

void PWnd::LoadGhost(PGhost* ghost, int difficulty, int world, int level) {
  if (!ghost) return;
  ghost->Clear();
  if (!InRange(difficulty, world, level)) return;
  SFileMem plain;
  if (!PSave::ReadFile(GetGhostFileName(difficulty, world, level).GetText(), PSave::MAX_GHOST_FILE,
                       &plain))
    return;
  // Whole points only, and no more than a record holds (the size bound of
  // the read): anything else is refused as a whole.
  if (plain.GetRemaining() % PSave::POINT_SIZE != 0) return;
  ghost->time = bestTimes[difficulty][world][level];
  while (!plain.IsEOF()) {
    float x = float(int(plain.ReadInt32()));
    float y = float(int(plain.ReadInt32()));
    float z = float(int(plain.ReadInt32()));
    if (!ghost->AddPoint(D3DXVECTOR3(x, y, z))) {
      ghost->Clear();
      return;
    }
  }
}

bool PWnd::SaveGhost(const PGhost* ghost, int difficulty, int world, int level) {
  if (!ghost || !InRange(difficulty, world, level)) return false;
  SFileMem plain;
  PSave::StartFile(&plain);
  for (int i = 0; i < ghost->GetCount(); ++i) {
    const D3DXVECTOR3& p = ghost->GetPoint(i);
    plain.WriteInt32(uint32_t(TruncateCoordinate(p.x)));
    plain.WriteInt32(uint32_t(TruncateCoordinate(p.y)));
    plain.WriteInt32(uint32_t(TruncateCoordinate(p.z)));
  }
  return PSave::WriteFile(GetGhostFileName(difficulty, world, level).GetText(), &plain);
}

void PWnd::DeleteGhost(int difficulty, int world, int level) {
  if (!HasLevel(world, level)) return;
  disk.DeleteFile(GetGhostFileName(difficulty, world, level).GetText());
}

void PWnd::RecordResult(int difficulty, int world, int level, int time, const PGhost* ghost) {
  if (!InRange(difficulty, world, level) || IsUnrecorded(world, level) || time < 0) return;
  int& best = bestTimes[difficulty][world][level];
  if (best != 0 && time > best) return;
  best = time;

  int(&states)[MAP_SIZE][MAP_SIZE] = cellStates[difficulty];
  if (states[world][level] != STATE_DONE) {
    states[world][level] = STATE_DONE;
    // Neighbours in the order world - 1, world + 1, level - 1, level + 1;
    // the lower ones only from index 2 on (a row or column 0 opens only
    // along itself from the corner).
    const struct {
      int world, level;
      bool taken;
    } neighbours[] = {{world - 1, level, world - 1 > 0},
                      {world + 1, level, world + 1 < MAP_SIZE},
                      {world, level - 1, level - 1 > 0},
                      {world, level + 1, level + 1 < MAP_SIZE}};
    for (const auto& n : neighbours) {
      if (!n.taken || (n.world == kCentre && n.level == kCentre)) continue;
      if (states[n.world][n.level] == STATE_LOCKED) states[n.world][n.level] = STATE_OPEN;
    }
  }

  int done = 0;
  for (int w = 0; w < MAP_SIZE; ++w)
    for (int l = 0; l < MAP_SIZE; ++l) done += states[w][l] == STATE_DONE;
  // The centre opens from locked only: a centre already done stays done.
  if (done == kDoneToOpenCentre && states[kCentre][kCentre] == STATE_LOCKED)
    states[kCentre][kCentre] = STATE_OPEN;

  SavePlayer();
  SaveGhost(ghost, difficulty, world, level);
}

int PWnd::GetCellState(int difficulty, int world, int level) {
  return InRange(difficulty, world, level) ? cellStates[difficulty][world][level] : 0;
}
