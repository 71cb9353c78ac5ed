// The route a driver takes through a level, planned on the attempt's map:
// one column a row, through every gem, around what stands in the way, over
// the boost pads it can reach, through the opening of each door, over the
// launchers that carry it to gems in the air or over rows that are walls
// from side to side, and along the column from which a bolt reaches a
// target enemy through its mirrors.
#pragma once

#include "core/Platform.h"

#include <vector>

class PGame;

class LevelPlan {
public:
  enum { COLUMNS = 16 };
  // What a cell is to the route.
  enum Cell {
    FREE,
    BLOCKED,  // a solid thing or a danger that may not be passed
    RISKY,    // passable, better not (the line of fire of a shooter or an arrow)
  };
  // A shot that turns through two mirrors into a target enemy: fired
  // over the first mirror's column before its row.
  struct TargetShot {
    int fireColumn, mirrorRow;
    int targetColumn, targetRow;
  };

  // Plans the whole map of the game's attempt.
  explicit LevelPlan(const PGame& game);

  int GetRows() const { return rows; }
  // The column of the route in a row (clamped to the map's rows).
  int GetColumn(int row) const;
  // The route as a line of angles (the craft's convention, not wrapped):
  // through each row's column at the row's middle, straight between.
  float PathAngle(float z) const;
  // Its change of angle along z at z.
  float PathSlope(float z) const;
  // The highest speed at z from which the craft, braking at the rate
  // given, takes each turn of the route within the distance ahead at the
  // turn rate given (or at the least speed, where that is higher).
  float SafeSpeed(float z, float rate, float least, float brake, float ahead) const;
  // Whether the route is in the air in the row (after a launcher).
  bool IsJumpRow(int row) const;
  // The z of the next launcher the route jumps from, at or after z; -1
  // when none.
  float NextLaunch(float z) const;
  const std::vector<TargetShot>& GetTargetShots() const { return shots; }
  // Whether every row could be given a column; the first row that could
  // not.
  bool IsComplete() const { return complete; }
  int GetFailedRow() const { return failedRow; }

  // The centre angle of a column, in the craft's convention.
  static float ColumnAngle(int column);
  static int Wrap(int column) { return (column % COLUMNS + COLUMNS) % COLUMNS; }

private:
  void Classify(const PGame& game);
  void FindTargetShots(const PGame& game);
  // The cheapest route: one column at most a row, through the cells that
  // must be visited; a change of column costs, more when it follows
  // another or turns back, and much more when it cannot cut across the
  // corner (the column it leaves is closed in the next row); risky cells
  // cost much more.
  bool Route();
  // The line of angles: row middles, and a change that cannot cut across
  // the corner made before the next row begins.
  void BuildPath();
  // The route jumps from the launcher of a row and lands after a row.
  void Launch(int from, int to, int column);

  int rows;
  std::vector<Cell> cells;       // rows x COLUMNS
  std::vector<int> mustVisit;    // a column a row, -1 for none
  std::vector<int> preferred;    // a boost pad's column a row, -1 for none
  std::vector<bool> airRows;     // rows passed in the air after a launcher
  std::vector<bool> launchRows;  // rows whose launcher the route jumps from
  std::vector<int> launchers;    // the launcher's column a row, -1 for none
  std::vector<int> route;
  struct Point {
    float z, angle;
  };
  std::vector<Point> path;  // by z; angles unwrapped
  std::vector<TargetShot> shots;
  bool complete;
  int failedRow;

  Cell& At(int row, int column) { return cells[row * COLUMNS + Wrap(column)]; }
  Cell At(int row, int column) const { return cells[row * COLUMNS + Wrap(column)]; }
};
