#include "core/Platform.h"

#include "game/PGame.h"
#include "tests/game/levels/LevelPlan.h"

#include <math.h>

#include <algorithm>

namespace {

const int kNone = -1;
const int kUnreachable = 1 << 28;
const int kRiskyCost = 20;
const int kCornerCost = 12;
const int kMissedBoostCost = 10;
const int kArrowReach = 12;  // rows an arrow flies
const int kShotReach = 12;   // rows an enemy's bolt flies back before it is spent
const int kJumpReach = 5;    // rows from a launcher to a gem or wall row it carries over
const int kTargetReach = 8;  // rows from a turning mirror to its target
const int kFireBefore = 2;
const int kStraightApproach = 2;  // rows in a launcher's column before it     // rows before the
                                  // first mirror from which the shot goes

// Mirror kinds: '7' turns a forward bolt to circle with a shrinking angle,
// '9' with a growing one; '1' sends a bolt circling with a growing angle
// forward, '3' one with a shrinking angle.
enum { MIRROR_7 = 0, MIRROR_9 = 1, MIRROR_1 = 2, MIRROR_3 = 3 };

}  // namespace

LevelPlan::LevelPlan(const PGame& game)
    : rows(game.runRows.GetCount()), complete(false), failedRow(-1) {
  cells.assign(rows * COLUMNS, FREE);
  mustVisit.assign(rows, kNone);
  preferred.assign(rows, kNone);
  airRows.assign(rows, false);
  launchRows.assign(rows, false);
  launchers.assign(rows, kNone);
  route.assign(rows, 8);
  FindTargetShots(game);
  Classify(game);
  complete = Route();
  BuildPath();
}

float LevelPlan::ColumnAngle(int column) { return PGame::ColumnAngle(Wrap(column)); }

int LevelPlan::GetColumn(int row) const {
  if (rows == 0) return 8;
  return route[std::max(0, std::min(rows - 1, row))];
}

bool LevelPlan::IsJumpRow(int row) const { return row >= 0 && row < rows && airRows[row]; }

float LevelPlan::NextLaunch(float z) const {
  for (int r = std::max(0, (int)(z / 1000)); r < rows; ++r)
    if (launchRows[r]) return r * 1000.0f;
  return -1;
}

void LevelPlan::Launch(int from, int to, int column) {
  launchRows[from] = true;
  // Straight onto the launcher, then over everything to the last row.
  for (int k = std::max(0, from - kStraightApproach); k <= to; ++k) {
    mustVisit[k] = column;
    airRows[k] = k > from;
    if (k > from) At(k, column) = FREE;
  }
}

void LevelPlan::BuildPath() {
  path.clear();
  float angle = ColumnAngle(route.empty() ? 8 : route[0]);
  for (int r = 0; r < rows; ++r) {
    if (r > 0) {
      int d = Wrap(route[r] - route[r - 1]);
      if (d > COLUMNS / 2) d -= COLUMNS;
      // A column further on is pi / 8 smaller in angle.
      angle -= d * (3.14159265f / 8);
      // A change into a launcher's row or past a closed corner (the column
      // left or one passed is closed in the row) is made before the row
      // begins.
      bool early = launchers[r] == route[r];
      for (int e = 0; e != d; e += d > 0 ? 1 : -1) early |= At(r, route[r - 1] + e) == BLOCKED;
      if (d != 0 && early) path.push_back({r * 1000.0f - 50, angle});
    }
    path.push_back({r * 1000.0f + 500, angle});
  }
}

float LevelPlan::PathAngle(float z) const {
  if (path.empty()) return ColumnAngle(8);
  if (z <= path.front().z) return path.front().angle;
  for (size_t i = 1; i < path.size(); ++i) {
    if (z > path[i].z) continue;
    const Point &a = path[i - 1], &b = path[i];
    return a.angle + (b.angle - a.angle) * (z - a.z) / (b.z - a.z);
  }
  return path.back().angle;
}

float LevelPlan::PathSlope(float z) const {
  for (size_t i = 1; i < path.size(); ++i) {
    if (z > path[i].z) continue;
    if (z < path[i - 1].z) return 0;
    return (path[i].angle - path[i - 1].angle) / (path[i].z - path[i - 1].z);
  }
  return 0;
}

float LevelPlan::SafeSpeed(float z, float rate, float least, float brake, float ahead) const {
  float safe = 1e9f;
  for (size_t i = 1; i < path.size(); ++i) {
    if (path[i].z < z || path[i - 1].z > z + ahead) continue;
    float slope = fabsf((path[i].angle - path[i - 1].angle) / (path[i].z - path[i - 1].z));
    if (slope == 0) continue;
    float limit = fmaxf(rate / slope, least), distance = fmaxf(0, path[i - 1].z - z);
    safe = fminf(safe, sqrtf(limit * limit + 2 * brake * distance));
  }
  return safe;
}

void LevelPlan::FindTargetShots(const PGame& game) {
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < COLUMNS; ++c) {
      int type = game.GetItemTypeAt(c, r);
      const MAPITEM* item = game.GetMapItem(c, r);
      if (type != PGame::ITEM_ENEMY || item->subtype < 2) continue;
      // The mirror that sends the bolt forward into it, in its column.
      for (int rm = r - 1; rm >= 0 && rm >= r - kTargetReach; --rm) {
        const MAPITEM* second = game.GetMapItem(c, rm);
        if (!second || second->type != PGame::ITEM_MIRROR ||
            (second->subtype != MIRROR_1 && second->subtype != MIRROR_3))
          continue;
        // The mirror of the same row that turns a forward bolt toward it.
        int wanted = second->subtype == MIRROR_1 ? MIRROR_9 : MIRROR_7;
        for (int c0 = 0; c0 < COLUMNS; ++c0) {
          const MAPITEM* first = game.GetMapItem(c0, rm);
          if (first && first->type == PGame::ITEM_MIRROR && first->subtype == wanted && rm >= 3)
            shots.push_back({c0, rm, c, r});
        }
        break;
      }
    }
  }
}

void LevelPlan::Classify(const PGame& game) {
  auto risky = [&](int column, int from, int to) {
    for (int r = std::max(0, from); r <= std::min(rows - 1, to); ++r)
      if (At(r, column) == FREE) At(r, column) = RISKY;
  };
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < COLUMNS; ++c) {
      const MAPITEM* item = game.GetMapItem(c, r);
      if (!item) continue;
      int s = item->subtype;
      switch (item->type) {
        case PGame::ITEM_WALL:
          if (s <= 2 || s == 6) At(r, c) = BLOCKED;  // roofs (3, 4, 5) are passed under
          break;
        case PGame::ITEM_JUMPER:
          if (s == 0) {
            launchers[r] = c;
          } else {
            At(r, c) = BLOCKED;
          }
          break;
        case PGame::ITEM_BOX:
        case PGame::ITEM_MIRROR:
        case PGame::ITEM_PISTON:
        case PGame::ITEM_WAGON:
        case PGame::ITEM_MINE:
        case PGame::ITEM_DYNAMITE:
          At(r, c) = BLOCKED;
          break;
        case PGame::ITEM_ENEMY:
          At(r, c) = BLOCKED;
          if (s % 2 == 1) risky(c, r - kShotReach, r - 1);
          break;
        case PGame::ITEM_TURBO:
          preferred[r] = c;
          break;
        case PGame::ITEM_FIRE:
          if (s == 2) At(r, c) = BLOCKED;  // the ball that rises and falls in its cell
          break;
        case PGame::ITEM_ARROW:
          if (s == 0) {
            risky(c, r, r + kArrowReach);
          } else {
            risky(c, r - kArrowReach, r);
          }
          break;
        default:
          break;
      }
    }
  }
  // A door closes its row but for its own column.
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < COLUMNS; ++c) {
      if (game.GetItemTypeAt(c, r) != PGame::ITEM_GUARD_DOOR) continue;
      for (int k = 0; k < COLUMNS; ++k)
        if (k != c) At(r, k) = BLOCKED;
      mustVisit[r] = c;
    }
  }
  // Floor gems are driven through; gems in the air are reached from the
  // launcher before them, keeping its column.
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < COLUMNS; ++c) {
      const MAPITEM* item = game.GetMapItem(c, r);
      if (!item || item->type != PGame::ITEM_GEM) continue;
      if (item->subtype == 0) {
        if (mustVisit[r] == kNone) mustVisit[r] = c;
        continue;
      }
      for (int rl = r - 1; rl >= 0 && rl >= r - kJumpReach - 4; --rl) {
        if (launchers[rl] != c) continue;
        Launch(rl, r, c);
        break;
      }
    }
  }
  // A row of walls from side to side is jumped from a launcher before it.
  for (int r = 0; r < rows; ++r) {
    bool open = false;
    for (int c = 0; c < COLUMNS && !open; ++c) open = At(r, c) != BLOCKED;
    if (open) continue;
    for (int rl = r - 1; rl >= 0 && rl >= r - kJumpReach; --rl) {
      if (launchers[rl] == kNone) continue;
      int last = r;
      while (last + 1 < rows) {
        bool closed = true;
        for (int k = 0; k < COLUMNS && closed; ++k) closed = At(last + 1, k) == BLOCKED;
        if (!closed) break;
        ++last;
      }
      Launch(rl, last, launchers[rl]);
      break;
    }
  }
  // Launchers the route does not jump from are better driven around.
  for (int r = 0; r < rows; ++r)
    if (launchers[r] != kNone && !launchRows[r] && At(r, launchers[r]) == FREE)
      At(r, launchers[r]) = RISKY;
  // Target enemies: the shot's column before the mirrors, the target's cell
  // (a gem once the shot has taken it).
  for (const TargetShot& shot : shots) {
    for (int k = shot.mirrorRow - kFireBefore; k < shot.mirrorRow; ++k)
      if (k >= 0 && mustVisit[k] == kNone) mustVisit[k] = shot.fireColumn;
    At(shot.targetRow, shot.targetColumn) = FREE;
    mustVisit[shot.targetRow] = shot.targetColumn;
  }
}

bool LevelPlan::Route() {
  if (rows == 0) return true;
  // States: a column and the turn that led to it (-1, 0, 1), so that
  // changes in a row and turns back cost more.
  const int kTurns = 3;
  auto index = [&](int r, int c, int turn) { return (r * COLUMNS + c) * kTurns + turn + 1; };
  std::vector<int> cost(rows * COLUMNS * kTurns, kUnreachable), from(cost.size(), kNone);
  auto cellCost = [&](int r, int c) {
    Cell cell = At(r, c);
    if (cell == BLOCKED) return kUnreachable;
    if (mustVisit[r] != kNone && mustVisit[r] != Wrap(c)) return kUnreachable;
    int missed = preferred[r] != kNone && preferred[r] != Wrap(c) ? kMissedBoostCost : 0;
    if (cell == RISKY) return kRiskyCost + missed;
    return missed;
  };
  // The craft starts over column 8.
  for (int c = 0; c < COLUMNS; ++c) {
    int k = cellCost(0, c);
    if (k < kUnreachable) cost[index(0, c, 0)] = k + 4 * std::min(abs(c - 8), COLUMNS - abs(c - 8));
  }
  for (int r = 0; r + 1 < rows; ++r) {
    bool reached = false;
    for (int i = index(r, 0, -1); i <= index(r, COLUMNS - 1, 1); ++i)
      reached |= cost[i] < kUnreachable;
    if (!reached) {
      failedRow = r;
      return false;
    }
    for (int c = 0; c < COLUMNS; ++c) {
      for (int turn = -1; turn <= 1; ++turn) {
        int here = cost[index(r, c, turn)];
        if (here >= kUnreachable) continue;
        for (int d = -2; d <= 2; ++d) {
          int next = Wrap(c + d);
          int k = cellCost(r + 1, next);
          if (k >= kUnreachable) continue;
          if (d != 0) {
            // The change is made in this row: the cells it crosses are open.
            int step = d > 0 ? 1 : -1;
            bool open = !airRows[r] && !airRows[r + 1];
            for (int e = step; open && e != d + step; e += step) open = At(r, c + e) != BLOCKED;
            if (!open) continue;
            int dir = step;
            k += (d == step ? 1 : 6) + (turn == dir ? 2 : 0) + (turn == -dir ? 4 : 0);
            if (At(r + 1, c) == BLOCKED) k += kCornerCost;
            // A wide change passes the columns between late: they had better
            // be open in the next row too.
            for (int e = step; e != d; e += step)
              if (At(r + 1, c + e) == BLOCKED) k += kCornerCost;
          }
          int total = here + k;
          int to = index(r + 1, next, d > 0 ? 1 : d < 0 ? -1 : 0);
          if (total < cost[to]) {
            cost[to] = total;
            from[to] = c * kTurns + turn + 1;
          }
        }
      }
    }
  }
  int best = kNone;
  for (int c = 0; c < COLUMNS; ++c)
    for (int turn = -1; turn <= 1; ++turn)
      if (cost[index(rows - 1, c, turn)] < kUnreachable &&
          (best == kNone || cost[index(rows - 1, c, turn)] < cost[best]))
        best = index(rows - 1, c, turn);
  if (best == kNone) {
    failedRow = rows - 1;
    return false;
  }
  for (int r = rows - 1; r >= 0; --r) {
    int state = best - r * COLUMNS * kTurns;
    route[r] = state / kTurns;
    best = from[best] == kNone ? kNone : (r - 1) * COLUMNS * kTurns + from[best];
  }
  return true;
}
