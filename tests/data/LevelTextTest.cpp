#include "core/Platform.h"

#include "core/SFileMem.h"
#include "core/SResource.h"
#include "tests/data/GameArchives.h"
#include "tests/data/RequiredNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// The map characters: byte, item type, subtype, and whether the item is a
// target of the level.
struct MapCharacter {
  unsigned char byte;
  int type;
  int subtype;
  bool target;
};

const MapCharacter kMapCharacters[] = {
    {0xBB, 1, 0, false},  {0xAB, 1, 1, false},  {'X', 2, 0, false},   {0xA9, 2, 1, false},
    {0xAE, 2, 2, false},  {'@', 5, 0, false},   {'$', 6, 0, false},   {'#', 6, 1, false},
    {0xA3, 6, 2, false},  {'d', 7, 0, false},   {'D', 7, 1, false},   {'e', 8, 0, false},
    {0xEA, 8, 1, false},  {'E', 8, 2, true},    {0xCA, 8, 3, true},   {'Z', 9, 0, false},
    {'<', 10, 0, false},  {'>', 10, 1, false},  {'^', 10, 2, false},  {0x95, 11, 0, false},
    {'*', 12, 0, true},   {'+', 12, 1, true},   {'=', 12, 2, true},   {0xB0, 13, 0, false},
    {0xB9, 13, 1, false}, {0xB2, 13, 2, false}, {0xB3, 13, 3, false}, {'\\', 14, 0, false},
    {'/', 14, 1, false},  {'o', 16, 0, false},  {0xD8, 16, 1, false}, {0xF4, 16, 2, false},
    {'O', 16, 3, false},  {0xA4, 17, 0, false}, {'7', 18, 0, false},  {'9', 18, 1, false},
    {'1', 18, 2, false},  {'3', 18, 3, false},  {'l', 18, 4, false},  {'r', 18, 5, false},
    {'f', 18, 6, false},  {'b', 18, 7, false},  {'P', 19, 0, false},  {'T', 21, 0, false},
    {'W', 22, 0, false},  {'|', 23, 0, false},  {'\'', 23, 1, false}, {'"', 23, 2, false},
    {0x97, 23, 3, false}, {'}', 23, 4, false},  {'{', 23, 5, false},  {'z', 23, 6, false},
};

enum {
  TYPE_DYNAMITE = 7,
  TYPE_ENEMY = 8,
  TYPE_FINISH = 9,
  TYPE_GEM = 12,
  TYPE_BOOST = 21,
  TYPE_WAGON = 22
};

// Entities of one kind alive at a time: per item type, the capacity of the
// game's array for it. Walls, jumpers, boxes, pistons, enemies, mirrors and
// wagons also share the platform array.
const struct {
  int type;
  int capacity;
} kCapacities[] = {
    {1, 128},  {2, 16},  {5, 16},   {7, 4},    {8, 64},  {9, 1},  {10, 64}, {11, 128},
    {12, 128}, {13, 16}, {16, 128}, {17, 128}, {18, 64}, {21, 2}, {22, 4},
};
const int kPlatformTypes[] = {6, 8, 14, 18, 19, 22, 23};
const int kPlatformCapacity = 512;
// Rows whose entities can be alive together: 16 rows ahead of the craft,
// 15 behind, and the look-ahead that sliding walls add.
const int kLiveRows = 34;

// The application's level table by cell (world, level): theme (0 egypt,
// 1 medieval, 2 hitech, 3 bonus), length rating (0 none) and, for the racing
// cells, the qualifying times on Easy and Hard (hundredths; 0 elsewhere).
const int kThemes[5][5] = {
    {0, 1, 2, 1, 0}, {1, 0, 2, 0, 1}, {2, 2, 0, 2, 2}, {1, 0, 2, 3, 1}, {0, 1, 2, 1, 0},
};
const int kLengthRatings[5][5] = {
    {1, 3, 2, 3, 2}, {2, 0, 3, 0, 2}, {3, 2, 0, 3, 1}, {3, 0, 3, 4, 3}, {3, 2, 4, 2, 3},
};
const int kDexterityRatings[5][5] = {
    {1, 2, 2, 3, 3}, {1, 0, 4, 0, 2}, {2, 3, 0, 3, 2}, {3, 0, 3, 0, 3}, {4, 4, 3, 4, 4},
};
const int kPuzzleRatings[5][5] = {
    {1, 1, 1, 2, 3}, {1, 0, 4, 0, 2}, {1, 3, 0, 2, 2}, {1, 0, 3, 0, 1}, {3, 1, 1, 3, 2},
};
const int kEasyQualifyingTimes[5][5] = {
    {0, 0, 8300, 0, 0},    {7100, 0, 0, 0, 8800}, {0, 7700, 0, 9100, 0},
    {8500, 0, 0, 0, 8000}, {0, 0, 10100, 0, 0},
};
const int kHardQualifyingTimes[5][5] = {
    {0, 0, 6800, 0, 0},    {5600, 0, 0, 0, 7300}, {0, 6300, 0, 7600, 0},
    {6800, 0, 0, 0, 6500}, {0, 0, 8600, 0, 0},
};
// Rows of a classic level by its length rating 1 to 4 (a row is 1000 units,
// about 0.22 s at top speed).
const struct {
  int fewest, most;
} kRowsByLength[5] = {{0, 0}, {100, 180}, {180, 300}, {250, 360}, {340, 460}};

// The craft: top speed, with a boost running, acceleration and coasting
// deceleration (units per second and per second squared), boost seconds.
const double kTopSpeed = 4500.0;
const double kBoostSpeed = 6000.0;
const double kAcceleration = 4000.0;
const double kCoasting = 1000.0;
const double kBoostSeconds = 9.0;
// An average player keeps four fifths of the top speed.
const double kAverageShare = 0.8;

// Map characters a theme has no meshes or textures for: pistons, the
// pushable walls' lamp faces, the egypt arrow wall; the bonus level keeps to
// what its own textures show (walls, jumpers, steam, gems, enemies, fire,
// lights and the boulder).
const char* const kMissingInTheme[4] = {
    "P",
    "P'\"\xAB\xBB",
    "\xAB\xBB",
    "P'\"\xAB\xBBX$#\xA3\xA4"
    "7913lrfb\x95T\xB0\xB9\xB2\xB3"
    "dDW",
};

// Cells the craft cannot drive through: walls that reach the floor, boxes,
// pistons, mirrors and mines. Roofs and sliding roofs hang above the floor.
const char kBlockingCells[] = "|'\"z$#\xA3P7913lrfb\xA4";
// Rows that ask for dexterity hold an obstacle: walls, boxes, pistons,
// mirrors, mines, fire, arrows, enemies, blockers, wagons or doors; rows that
// ask for thought hold doors, mirrors, pushable walls, dynamite or gems in
// the air.
const char kObstacleCells[] =
    "|'\"z$#\xA3P7913lrfb\xA4<>^\xBB\xAB"
    "e\xEA"
    "E\xCAX\xA9\xAEW\xB0\xB9\xB2\xB3";
const char kPuzzleCells[] =
    "\xB0\xB9\xB2\xB3"
    "7913lrfb'\"dD+=";
// The lesson's tips by the craft's z on the HUD: the rows from the start of a
// tip's range to its end hold what it teaches.
const struct {
  int firstRow, lastRow;
  const char* cells;
} kLessonTips[] = {
    {0, 5, "*"},                 // gem
    {12, 16, "+="},              // hidden gem
    {19, 38, "\\/"},             // jumper
    {42, 53, "|"},               // wall
    {58, 71, "\x95T"},           // mat
    {77, 100, "\xB0"},           // door
    {105, 116, "\xB9\xB2\xB3"},  // guard
    {118, 132, "7913lrfb"},      // mirror
    {137, 149,
     "e\xEA"
     "E\xCA"},        // enemy
    {155, 173, "Z"},  // end
};

// A launcher throws a fast craft for about eight rows; it can steer one
// column for every two rows of flight and lands from the fourth row on.
const int kFlightRows = 8;
const int kFirstLandingRow = 4;
// A stick's shortest fuse (Hard) at top speed, in rows: a wagon must come
// before it ends.
const int kFuseRows = 13 * 4;

struct Item {
  int type, subtype, row, column;
  unsigned char byte;
};

struct Level {
  std::string name;
  int world = 0, level = 0;
  std::string lives;
  std::vector<std::string> rows;
  std::vector<Item> items;
  // Format faults found while reading; empty for a good text.
  std::vector<std::string> faults;

  int Count(int type) const {
    int n = 0;
    for (const Item& item : items) n += item.type == type;
    return n;
  }
  int FirstRow(int type) const {
    for (const Item& item : items) {
      if (item.type == type) return item.row;
    }
    return -1;
  }
};

const MapCharacter* FindCharacter(unsigned char byte) {
  for (const MapCharacter& c : kMapCharacters) {
    if (c.byte == byte) return &c;
  }
  return nullptr;
}

// Reads a level text the strict way this data set writes them: CR LF after
// every line, a life count of digits, then rows of 1 to 17 cells holding
// '.' or a map character.
Level ReadLevel(const std::string& name, const std::string& bytes) {
  Level level;
  level.name = name;
  level.world = name[6] - '0';
  level.level = name[7] - '0';
  if (bytes.size() < 2 || bytes.compare(bytes.size() - 2, 2, "\r\n") != 0)
    level.faults.push_back("does not end with CR LF");
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find_first_of("\r\n") != std::string::npos)
      level.faults.push_back("line " + std::to_string(i + 1) + " holds a lone CR or LF");
  }
  if (lines.empty()) return level;
  level.lives = lines[0];
  if (level.lives.empty() || level.lives.find_first_not_of("0123456789") != std::string::npos)
    level.faults.push_back("the life count is not a number");
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    int row = (int)level.rows.size();
    if (line.empty() || line.size() > 17) {
      level.faults.push_back("line " + std::to_string(i + 1) + " is not 1 to 17 cells");
      continue;
    }
    level.rows.push_back(line);
    for (size_t column = 0; column < line.size(); ++column) {
      unsigned char byte = (unsigned char)line[column];
      if (byte == '.') continue;
      const MapCharacter* c = FindCharacter(byte);
      if (!c) {
        level.faults.push_back("row " + std::to_string(row) + " holds the unknown byte " +
                               std::to_string(byte));
        continue;
      }
      level.items.push_back({c->type, c->subtype, row, column == 16 ? 0 : (int)column, byte});
    }
  }
  return level;
}

std::vector<Level> ReadAllLevels() {
  std::vector<Level> levels;
  SResource archive;
  if (!GameArchives::Open(archive, "dat")) {
    ADD_FAILURE() << "gravrun2.dat does not open";
    return levels;
  }
  for (const std::string& name : RequiredNames::Levels()) {
    SFileMem data;
    if (!GameArchives::Load(archive, name, data)) {
      ADD_FAILURE() << name << " is not in gravrun2.dat";
      continue;
    }
    std::string bytes((const char*)data.GetBuffer(), data.GetSize());
    levels.push_back(ReadLevel(name, bytes));
  }
  return levels;
}

// The most items of the given types found in any kLiveRows consecutive rows.
int MostAliveAtOnce(const Level& level, const std::set<int>& types) {
  int most = 0;
  for (int first = 0; first < (int)level.rows.size(); ++first) {
    int n = 0;
    for (const Item& item : level.items) {
      n += types.count(item.type) && item.row >= first && item.row < first + kLiveRows;
    }
    if (n > most) most = n;
  }
  return most;
}

bool IsBlocking(unsigned char byte) { return byte != 0 && strchr(kBlockingCells, byte) != nullptr; }

// Seconds from the start to the end of the finish row for a craft that
// accelerates all the way, its top speed scaled by share, each boost pad
// raising it for the boost's seconds (stepped in hundredths of a second).
double DriveSeconds(const Level& level, double share) {
  const double end = (level.FirstRow(TYPE_FINISH) + 1) * 1000.0;
  const double dt = 0.01;
  double z = 0, speed = 0, seconds = 0, boostStart = -kBoostSeconds;
  std::set<int> boostsTaken;
  while (z < end) {
    int row = (int)(z / 1000);
    for (const Item& item : level.items) {
      if (item.type == TYPE_BOOST && item.row == row && boostsTaken.insert(row).second)
        boostStart = seconds;
    }
    double limit = (seconds - boostStart < kBoostSeconds ? kBoostSpeed : kTopSpeed) * share;
    speed = speed < limit ? std::min(limit, speed + kAcceleration * dt)
                          : std::max(limit, speed - kCoasting * dt);
    z += speed * dt;
    seconds += dt;
  }
  return seconds;
}

// Where a craft can be, row by row: on the floor (starting between columns
// 7 and 8 and moving at most one column a row, around blocking cells), on
// top of walls (ridden onto from a jumper), or in the air after a launcher.
struct Reach {
  std::vector<std::array<bool, 16>> ground, top, air;

  explicit Reach(const Level& level) {
    const size_t n = level.rows.size();
    ground.assign(n, {});
    top.assign(n, {});
    air.assign(n, {});
    auto cell = [&](size_t r, int c) -> unsigned char {
      return c < (int)level.rows[r].size() ? (unsigned char)level.rows[r][c] : '.';
    };
    for (size_t r = 0; r < n; ++r) {
      for (int c = 0; c < 16; ++c) {
        if (r == 0) {
          ground[r][c] = (c == 7 || c == 8) && !IsBlocking(cell(r, c));
          continue;
        }
        if (IsBlocking(cell(r, c))) {
          bool fromRamp = (cell(r - 1, c) == '/' || cell(r - 1, c) == '\\') && ground[r - 1][c];
          top[r][c] = fromRamp || top[r - 1][c];
          continue;
        }
        for (int d = -1; d <= 1; ++d) {
          int from = (c + d + 16) % 16;
          ground[r][c] = ground[r][c] || ground[r - 1][from] || top[r - 1][from];
        }
      }
      for (int c = 0; c < 16; ++c) {
        if (cell(r, c) != '\\' || !ground[r][c]) continue;
        for (int k = 1; k <= kFlightRows && r + k < n; ++k) {
          for (int j = -(k + 1) / 2; j <= (k + 1) / 2; ++j) {
            int to = (c + j + 16) % 16;
            air[r + k][to] = true;
            if (k >= kFirstLandingRow && !IsBlocking(cell(r + k, to))) ground[r + k][to] = true;
          }
        }
      }
    }
  }
  bool Any(size_t r, int c) const { return ground[r][c] || top[r][c] || air[r][c]; }
};

}  // namespace

TEST(LevelTexts, EveryLevelTextIsWellFormed) {
  for (const Level& level : ReadAllLevels()) {
    for (const std::string& fault : level.faults) ADD_FAILURE() << level.name << ": " << fault;
    EXPECT_GT(level.rows.size(), 0u) << level.name;
  }
}

TEST(LevelTexts, EveryLevelHasOneFinishAndAtMostOneDarkDoor) {
  for (const Level& level : ReadAllLevels()) {
    EXPECT_EQ(1, level.Count(TYPE_FINISH)) << level.name;
    // A second 0xB0 door would get subtype -1: a door that never opens.
    int darkDoors = 0;
    for (const Item& item : level.items) darkDoors += item.byte == 0xB0;
    EXPECT_LE(darkDoors, 1) << level.name;
  }
}

TEST(LevelTexts, LiveEntitiesStayWithinTheGameCapacities) {
  for (const Level& level : ReadAllLevels()) {
    for (const auto& kind : kCapacities) {
      EXPECT_LE(MostAliveAtOnce(level, {kind.type}), kind.capacity)
          << level.name << ": too many items of type " << kind.type;
    }
    std::set<int> platforms(std::begin(kPlatformTypes), std::end(kPlatformTypes));
    EXPECT_LE(MostAliveAtOnce(level, platforms), kPlatformCapacity) << level.name;
  }
}

TEST(LevelTexts, EveryMapCharacterIsMetInSeveralLevels) {
  std::map<unsigned char, int> levelsUsing;
  for (const Level& level : ReadAllLevels()) {
    std::set<unsigned char> used;
    for (const Item& item : level.items) used.insert(item.byte);
    for (unsigned char byte : used) ++levelsUsing[byte];
  }
  for (const MapCharacter& c : kMapCharacters)
    EXPECT_GE(levelsUsing[c.byte], 3) << "byte " << (int)c.byte << " is in fewer than three levels";
}

TEST(LevelTexts, LevelsHaveTheLengthOfTheirCells) {
  for (const Level& level : ReadAllLevels()) {
    const int w = level.world, l = level.level;
    const int finish = level.FirstRow(TYPE_FINISH);
    const int hard = kHardQualifyingTimes[w][l];
    if (w == 1 && l == 1) {
      // The lesson's finish lies in the range of its last tip (z 155000 to
      // 173000), so that every tip is passed on the way.
      EXPECT_GE(finish, 155) << level.name;
      EXPECT_LT(finish, 172) << level.name;
    } else if (w == 2 && l == 2) {
      // The boss starts its second wave past z 70000 and runs on at 2250
      // units a second while it sends ten flies, one every 4 s, then brakes:
      // the finish lies well beyond where it can stop.
      EXPECT_GT(finish, (70000 + 10 * 4 * 2250 + 2250 * 5 / 2) / 1000 * 3 / 2) << level.name;
    } else if (hard > 0) {
      // A craft driven well wins on Hard with a few seconds to spare; an
      // average run fits the Easy time.
      double best = DriveSeconds(level, 1.0);
      EXPECT_LE(best, hard / 100.0 - 3) << level.name << " is too long for its Hard time";
      EXPECT_GE(best, hard / 100.0 - 10) << level.name << " is too short for its Hard time";
      EXPECT_LE(DriveSeconds(level, kAverageShare), kEasyQualifyingTimes[w][l] / 100.0)
          << level.name << " is too long for its Easy time";
    }
    // A classic level's length follows its rating; a racing level's its times.
    const int rating = kLengthRatings[w][l];
    if (rating > 0 && hard == 0) {
      EXPECT_GE((int)level.rows.size(), kRowsByLength[rating].fewest) << level.name;
      EXPECT_LE((int)level.rows.size(), kRowsByLength[rating].most) << level.name;
    }
    EXPECT_GE(level.rows.size() - finish, 3u) << level.name << ": no room behind the finish";
  }
}

// A target enemy falls only to a bolt that a mirror turned (one destroyed
// any other way counts as missed): a mirror that sends bolts forward ('1' or
// '3') stands in its column a few rows before it, in a row with the mirror
// that turns the craft's forward bolt toward it ('9' or '7').
TEST(LevelTexts, EveryTargetEnemyHasMirrorsThatTurnABoltIntoIt) {
  const int kReach = 8;  // rows from the forward mirror to its target
  for (const Level& level : ReadAllLevels()) {
    for (const Item& target : level.items) {
      if (target.type != TYPE_ENEMY || target.subtype < 2) continue;
      bool reached = false;
      for (const Item& forward : level.items) {
        if (forward.column != target.column || forward.row >= target.row ||
            forward.row < target.row - kReach)
          continue;
        unsigned char turn = forward.byte == '1' ? '9' : forward.byte == '3' ? '7' : 0;
        for (const Item& first : level.items)
          reached |= turn != 0 && first.row == forward.row && first.byte == turn;
      }
      EXPECT_TRUE(reached) << level.name << ": the target enemy of row " << target.row
                           << ", column " << target.column;
    }
  }
}

TEST(LevelTexts, TheLessonTeachesInTheOrderOfItsTips) {
  for (const Level& level : ReadAllLevels()) {
    if (level.world != 1 || level.level != 1) continue;
    for (const auto& tip : kLessonTips) {
      bool found = false;
      for (const Item& item : level.items) {
        found = found || (item.row >= tip.firstRow && item.row <= tip.lastRow &&
                          strchr(tip.cells, item.byte));
      }
      EXPECT_TRUE(found) << "nothing to learn in rows " << tip.firstRow << " to " << tip.lastRow;
    }
  }
}

// The share of a level's rows that hold one of the cells.
double ShareOfRows(const Level& level, const char* cells) {
  std::set<int> rows;
  for (const Item& item : level.items) {
    if (strchr(cells, item.byte)) rows.insert(item.row);
  }
  return level.rows.empty() ? 0 : (double)rows.size() / level.rows.size();
}

TEST(LevelTexts, HigherRatingsMeanDenserObstaclesAndMorePuzzles) {
  // The mean share of obstacle rows (puzzle rows) of the levels of each
  // dexterity (puzzle) rating grows with the rating.
  double obstacles[5] = {}, puzzles[5] = {};
  int dexterityCount[5] = {}, puzzleCount[5] = {};
  for (const Level& level : ReadAllLevels()) {
    int dexterity = kDexterityRatings[level.world][level.level];
    int puzzle = kPuzzleRatings[level.world][level.level];
    obstacles[dexterity] += ShareOfRows(level, kObstacleCells);
    ++dexterityCount[dexterity];
    puzzles[puzzle] += ShareOfRows(level, kPuzzleCells);
    ++puzzleCount[puzzle];
  }
  for (int rating = 2; rating <= 4; ++rating) {
    ASSERT_GT(dexterityCount[rating] * dexterityCount[rating - 1] * puzzleCount[rating] *
                  puzzleCount[rating - 1],
              0);
    EXPECT_GT(obstacles[rating] / dexterityCount[rating],
              obstacles[rating - 1] / dexterityCount[rating - 1])
        << "dexterity " << rating;
    EXPECT_GT(puzzles[rating] / puzzleCount[rating], puzzles[rating - 1] / puzzleCount[rating - 1])
        << "puzzle " << rating;
  }
}

TEST(LevelTexts, FeaturesAppearWhereTheirThemeHasThem) {
  std::map<int, std::map<unsigned char, int>> levelsUsing;  // theme -> byte -> levels
  std::map<int, int> levelsOfTheme;
  for (const Level& level : ReadAllLevels()) {
    int theme = kThemes[level.world][level.level];
    ++levelsOfTheme[theme];
    std::set<unsigned char> used;
    for (const Item& item : level.items) used.insert(item.byte);
    for (unsigned char byte : used) {
      ++levelsUsing[theme][byte];
      EXPECT_EQ(nullptr, strchr(kMissingInTheme[theme], byte))
          << level.name << " uses byte " << (int)byte << ", which its theme cannot show";
    }
  }
  // Every feature of a theme in two of its levels (the bonus theme has one).
  for (const auto& theme : levelsOfTheme) {
    int wanted = std::min(2, theme.second);
    for (const MapCharacter& c : kMapCharacters) {
      if (c.type == TYPE_FINISH || strchr(kMissingInTheme[theme.first], c.byte)) continue;
      // Target enemies fall only to turned bolts: none where mirrors are missing.
      if (c.type == TYPE_ENEMY && c.subtype >= 2 && strchr(kMissingInTheme[theme.first], '1'))
        continue;
      EXPECT_GE(levelsUsing[theme.first][c.byte], wanted)
          << "theme " << theme.first << ": byte " << (int)c.byte;
    }
  }
}

TEST(LevelTexts, EveryRowAndTargetCanBeReached) {
  for (const Level& level : ReadAllLevels()) {
    Reach reach(level);
    for (size_t r = 0; r < level.rows.size(); ++r) {
      bool any = false;
      for (int c = 0; c < 16; ++c) any = any || reach.Any(r, c);
      if (!any) {
        ADD_FAILURE() << level.name << ": row " << r << " cannot be reached";
        break;  // nor can any row after it
      }
    }
    for (const Item& item : level.items) {
      // Floor gems from the floor or a wall top; the high and middle gems
      // of subtypes 1 and 2 in a launcher's flight; the finish on the floor.
      bool floorItem = item.type == TYPE_FINISH || (item.type == TYPE_GEM && item.subtype == 0);
      bool airGem = item.type == TYPE_GEM && item.subtype > 0;
      const int r = item.row, c = item.column;
      if (floorItem) {
        EXPECT_TRUE(reach.ground[r][c] || reach.top[r][c]) << level.name << " row " << r;
      }
      if (airGem) {
        EXPECT_TRUE(reach.air[r][c]) << level.name << ": high gem in row " << r;
      }
    }
  }
}

TEST(LevelTexts, DynamiteMeetsAWagonBeforeItsFuseEnds) {
  for (const Level& level : ReadAllLevels()) {
    for (const Item& stick : level.items) {
      if (stick.type != TYPE_DYNAMITE) continue;
      bool wagon = false;
      for (const Item& item : level.items) {
        wagon = wagon || (item.type == TYPE_WAGON && item.row > stick.row &&
                          item.row <= stick.row + kFuseRows);
      }
      EXPECT_TRUE(wagon) << level.name << ": no wagon after the dynamite of row " << stick.row;
    }
  }
}

TEST(LevelTexts, LivesSuitTheDifficulties) {
  for (const Level& level : ReadAllLevels()) {
    int lives = atoi(level.lives.c_str());
    EXPECT_GE(lives, 1) << level.name;
    EXPECT_LE(lives, 9) << level.name;
    // Hard halves the lives of the centre level: it keeps at least one.
    if (level.world == 2 && level.level == 2) {
      EXPECT_GE(lives / 2, 1) << level.name;
    }
  }
}
