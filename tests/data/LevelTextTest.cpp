#include "core/Platform.h"

#include "core/SFileMem.h"
#include "core/SResource.h"
#include "tests/data/GameArchives.h"
#include "tests/data/RequiredNames.h"

#include <gtest/gtest.h>

#include <iterator>
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

enum { TYPE_FINISH = 9, TYPE_GUARD_DOOR = 13, TYPE_MINE = 17 };

// Entities of one kind alive at a time: per item type, the capacity of the
// game's array for it. Walls, jumpers, boxes, pistons, enemies, mirrors and
// wagons also share the platform array.
const struct {
  int type;
  int capacity;
} kCapacities[] = {
    {1, 128}, {2, 16},  {5, 16},   {7, 4},    {8, 64},  {9, 1},   {10, 64}, {11, 128},
    {12, 128}, {13, 16}, {16, 128}, {17, 128}, {18, 64}, {21, 2},  {22, 4},
};
const int kPlatformTypes[] = {6, 8, 14, 18, 19, 22, 23};
const int kPlatformCapacity = 512;
// Rows whose entities can be alive together: 16 rows ahead of the craft,
// 15 behind, and the look-ahead that sliding walls add.
const int kLiveRows = 34;

// Cell themes: 0 egypt, 1 medieval, 2 hitech, 3 bonus; and the qualifying
// time on Hard of the racing cells (hundredths; 0 for the other cells).
const int kThemes[5][5] = {
    {0, 1, 2, 1, 0}, {1, 0, 2, 0, 1}, {2, 2, 0, 2, 2}, {1, 0, 2, 3, 1}, {0, 1, 2, 1, 0},
};
const int kHardQualifyingTimes[5][5] = {
    {0, 0, 6800, 0, 0}, {5600, 0, 0, 0, 7300}, {0, 6300, 0, 7600, 0},
    {6800, 0, 0, 0, 6500}, {0, 0, 8600, 0, 0},
};
// The craft's top speed without a boost, units per second; a row is 1000.
const double kTopSpeed = 4500.0;

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

}  // namespace

TEST(LevelTexts, EveryLevelTextIsWellFormed) {
  for (const Level& level : ReadAllLevels()) {
    for (const std::string& fault : level.faults) ADD_FAILURE() << level.name << ": " << fault;
    EXPECT_GT(level.rows.size(), 0u) << level.name;
    EXPECT_GT(atoi(level.lives.c_str()), 0) << level.name << ": no lives";
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

TEST(LevelTexts, TogetherTheLevelsUseEveryMapCharacter) {
  std::set<unsigned char> used;
  for (const Level& level : ReadAllLevels()) {
    for (const Item& item : level.items) used.insert(item.byte);
  }
  for (const MapCharacter& c : kMapCharacters)
    EXPECT_TRUE(used.count(c.byte)) << "no level uses byte " << (int)c.byte;
}

TEST(LevelTexts, LevelsSuitTheirCells) {
  for (const Level& level : ReadAllLevels()) {
    int finish = level.FirstRow(TYPE_FINISH);
    // The bonus theme has no mine mesh.
    if (kThemes[level.world][level.level] == 3) {
      EXPECT_EQ(0, level.Count(TYPE_MINE)) << level.name;
    }
    // The lesson's finish lies in the range of its last tip (z 155000 to
    // 173000), so that every tip is passed on the way.
    if (level.world == 1 && level.level == 1) {
      EXPECT_GE(finish, 155) << level.name;
      EXPECT_LT(finish, 172) << level.name;
    }
    // The boss runs past z 70000 before it lets the craft pass.
    if (level.world == 2 && level.level == 2) {
      EXPECT_GT(finish, 90) << level.name;
    }
    // A racing level can be won on Hard with time to spare.
    int hard = kHardQualifyingTimes[level.world][level.level];
    if (hard > 0) {
      double seconds = (finish + 1) * 1000.0 / kTopSpeed;
      EXPECT_LT(seconds, hard / 100.0 / 2) << level.name << " is too long for its qualifying time";
    }
  }
}
