// Ghost records and the per-frame recording and replay of the ghost slots.
#include "core/Platform.h"

#include "game/PGhost.h"
#include "game/PGhostReplay.h"
#include "game/PGhostUpload.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void ExpectPoint(const PGhost& ghost, int i, float x, float y, float z) {
  ASSERT_LT(i, ghost.GetCount());
  EXPECT_EQ(x, ghost.GetPoint(i).x) << "point " << i;
  EXPECT_EQ(y, ghost.GetPoint(i).y) << "point " << i;
  EXPECT_EQ(z, ghost.GetPoint(i).z) << "point " << i;
}

TEST(PGhost, PointsAreTruncatedAndDeltasAddUp) {
  PGhost ghost;
  EXPECT_EQ(0, ghost.GetCount());
  EXPECT_EQ(0, ghost.time);
  EXPECT_EQ(0, ghost.name.GetLength());

  ghost.AddPoint(D3DXVECTOR3(1.9f, -1.9f, 0.5f));
  ExpectPoint(ghost, 0, 1, -1, 0);

  PGhost path;
  path.AddDelta(D3DXVECTOR3(10, 20, 30));
  path.AddDelta(D3DXVECTOR3(1, -2, 0.7f));
  ExpectPoint(path, 0, 10, 20, 30);
  ExpectPoint(path, 1, 11, 18, 30);
}

TEST(PGhost, BufferIsFixedAndNeverOverrun) {
  PGhost ghost;
  for (int i = 0; i < PGhost::CAPACITY; ++i)
    ASSERT_TRUE(ghost.AddPoint(D3DXVECTOR3(float(i), 0, 0)));
  const D3DXVECTOR3* buffer = &ghost.GetPoint(0);
  EXPECT_FALSE(ghost.AddPoint(D3DXVECTOR3(1, 1, 1)));
  EXPECT_FALSE(ghost.AddDelta(D3DXVECTOR3(1, 1, 1)));
  EXPECT_EQ(PGhost::CAPACITY, ghost.GetCount());

  ghost.Clear();
  EXPECT_EQ(0, ghost.GetCount());
  ghost.AddPoint(D3DXVECTOR3(5, 5, 5));
  EXPECT_EQ(buffer, &ghost.GetPoint(0)) << "clearing kept the buffer";

  PGhost longer;
  longer.name = "rival";
  longer.time = 4321;
  for (int i = 0; i < 500; ++i) longer.AddPoint(D3DXVECTOR3(0, 0, float(i)));
  PGhost shorter;
  for (int i = 0; i < 10; ++i) shorter.AddPoint(D3DXVECTOR3(1, 1, 1));
  const D3DXVECTOR3* shortBuffer = &shorter.GetPoint(0);
  shorter = longer;
  EXPECT_EQ(500, shorter.GetCount());
  EXPECT_EQ(4321, shorter.time);
  EXPECT_TRUE(shorter.name == "rival");
  ExpectPoint(shorter, 499, 0, 0, 499);
  EXPECT_EQ(shortBuffer, &shorter.GetPoint(0)) << "copying kept the buffer";
}

// Ghost slots with a rival path along z (1000 units a quarter second) in
// slot 2, the rest empty.
struct Slots {
  PGhost ghosts[PGhostReplay::SLOTS];
  bool show[PGhostReplay::SLOTS] = {true, true, true, true, true};
  Slots() {
    for (int i = 0; i < 8; ++i) ghosts[2].AddPoint(D3DXVECTOR3(float(i), 0, 1000.0f * (i + 1)));
  }
};

TEST(PGhostReplay, RecordsOncePerQuarterSecond) {
  Slots slots;
  PGhostReplay replay;
  const D3DXVECTOR3 craft(3.7f, 4.2f, 512.9f);
  const struct {
    float seconds;
    int points;
  } frames[] = {{0.10f, 0}, {0.24f, 0}, {0.25f, 1}, {0.26f, 1}, {0.49f, 1}, {1.30f, 2}, {1.40f, 2}};
  for (const auto& frame : frames) {
    replay.Step(frame.seconds, craft, 0.0f, slots.ghosts, slots.show, true);
    EXPECT_EQ(frame.points, slots.ghosts[0].GetCount()) << "at " << frame.seconds << " s";
  }
  ExpectPoint(slots.ghosts[0], 0, 3, 4, 512);

  // A long run keeps at most 719 points and freezes the place at 180 s.
  PGhostReplay longRun;
  slots.ghosts[0].Clear();
  for (int h = 0; h <= 20000; h += 10)
    longRun.Step(h / 100.0f, craft, 1.0e9f, slots.ghosts, slots.show, true);
  EXPECT_EQ(PGhost::RECORD_LIMIT, slots.ghosts[0].GetCount());
  int place = longRun.place;
  EXPECT_FALSE(longRun.Step(185.0f, craft, -1.0e9f, slots.ghosts, slots.show, true));
  EXPECT_EQ(place, longRun.place);
}

TEST(PGhostReplay, GhostsMoveWithTheRunClock) {
  Slots slots;
  PGhostReplay replay;
  // 0.30 s: one fifth of the way from the first point to the second.
  replay.Step(0.30f, D3DXVECTOR3(0, 0, 0), 0.0f, slots.ghosts, slots.show, true);
  EXPECT_FLOAT_EQ(0.2f, replay.slots[2].position.x);
  EXPECT_FLOAT_EQ(1200.0f, replay.slots[2].position.z);
  // Index 0: every ghost with points stands at the origin.
  replay.Step(0.10f, D3DXVECTOR3(0, 0, 0), 0.0f, slots.ghosts, slots.show, true);
  EXPECT_EQ(0.0f, replay.slots[2].position.z);
}

TEST(PGhostReplay, PlacesGlowsAndLabels) {
  // At 1.0 s the rival in slot 2 stands at z 4000 (point 3).
  const struct {
    float craftZ;
    bool showNames;
    int place;
    bool shown;
    bool label;
  } cases[] = {
      {3950.0f, true, 2, false, false},  // 50 ahead: ahead, not drawn
      {3850.0f, true, 2, true, false},   // 150 ahead: drawn, no label
      {3000.0f, true, 2, true, true},    // 1000 ahead: drawn with label
      {3000.0f, false, 2, true, false},  // names switched off
      {-1000.0f, true, 2, true, false},  // 5000 ahead: beyond the label range
      {4500.0f, true, 1, false, false},  // behind the craft
  };
  for (const auto& c : cases) {
    Slots slots;
    PGhostReplay replay;
    replay.Step(1.0f, D3DXVECTOR3(0, 0, 0), c.craftZ, slots.ghosts, slots.show, c.showNames);
    EXPECT_EQ(c.place, replay.place) << "craft at " << c.craftZ;
    EXPECT_EQ(c.shown, replay.slots[2].shown) << "craft at " << c.craftZ;
    EXPECT_EQ(c.label, replay.slots[2].labelShown) << "craft at " << c.craftZ;
  }

  // A rival that has finished counts as ahead; an empty slot does not; the
  // player's own ghost never does.
  Slots slots;
  slots.ghosts[1] = slots.ghosts[2];
  slots.ghosts[3].AddPoint(D3DXVECTOR3(0, 0, 10));
  PGhostReplay replay;
  replay.Step(1.0f, D3DXVECTOR3(0, 0, 0), 0.0f, slots.ghosts, slots.show, true);
  EXPECT_EQ(3, replay.place);
  EXPECT_FALSE(replay.slots[3].shown);
  slots.show[2] = false;
  replay.Step(1.1f, D3DXVECTOR3(0, 0, 0), 0.0f, slots.ghosts, slots.show, true);
  EXPECT_FALSE(replay.slots[2].shown);
  EXPECT_TRUE(replay.slots[1].shown);
}

// The steps of leaving a won run, written down in order; the uploads
// succeed from attempt succeedAt on (0: never).
class RecordedUpload : public PGhostUpload {
public:
  explicit RecordedUpload(int succeedAt, bool reload) : succeedAt(succeedAt), reload(reload) {}
  void RecordResult() override { log += "record "; }
  bool Upload(bool* reloadFlag) override {
    log += "upload ";
    if (++attempts != succeedAt) return false;
    *reloadFlag = reload;
    return true;
  }
  void ShowUploading() override { log += "uploading "; }
  void DrawFrame() override { log += "draw "; }
  void Wait(int ms) override { log += "wait" + std::to_string(ms) + " "; }
  void ReloadRivals() override { log += "reload "; }
  void ShowFailed() override { log += "failed "; }

  int succeedAt;
  bool reload;
  int attempts = 0;
  std::string log;
};

TEST(PGhostUpload, RecordsFirstThenTriesThreeTimes) {
  const struct {
    bool allowed;
    int succeedAt;
    bool reload;
    const char* log;
  } cases[] = {
      {false, 1, false, "record "},
      {true, 1, true, "record uploading draw upload reload "},
      {true, 2, false, "record uploading draw upload wait1000 draw upload "},
      {true, 0, false,
       "record uploading draw upload wait1000 draw upload wait1000 draw upload wait1000 draw "
       "failed "},
  };
  for (const auto& c : cases) {
    RecordedUpload upload(c.succeedAt, c.reload);
    EXPECT_EQ(c.allowed && c.succeedAt > 0, upload.Run(c.allowed));
    EXPECT_EQ(c.log, upload.log);
  }
}

}  // namespace
