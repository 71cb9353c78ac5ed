// The application object: construction with the level design tables, and
// its accessors.
#include "core/Platform.h"

#include "app/PWnd.h"

PWnd* g_app = nullptr;
const char* const GAME_REGISTRY_KEY = "Software\\Ardel Vandro\\Gravrun\\2.0";
const char* const GAME_TITLE = "Gravrun 2.0.0.1";

namespace {

const char* const kLevelNames[5][5] = {
    {"ABU RAWASH", "RIGOMER", "SATURN", "GALLES", "DAHSHUR"},
    {"AVALON", "", "JUPITER", "", "ESPLUMOIR"},
    {"MARS", "MERCURY", "SAQQARA", "VENUS", "PLUTO"},
    {"CORBENIC", "", "NEPTUNE", "", "CAMELOT"},
    {"GIZA", "LOGRES", "URANUS", "CORNOUAILLE", "ABU SIR"},
};

// Each cell: theme, mode, length, dexterity and puzzle ratings.
const int kCells[5][5][5] = {
    {{0, 1, 1, 1, 1}, {1, 1, 3, 2, 1}, {2, 2, 2, 2, 1}, {1, 1, 3, 3, 2}, {0, 1, 2, 3, 3}},
    {{1, 2, 2, 1, 1}, {0, 1, 0, 0, 0}, {2, 1, 3, 4, 4}, {0, 0, 0, 0, 0}, {1, 2, 2, 2, 2}},
    {{2, 1, 3, 2, 1}, {2, 2, 2, 3, 3}, {0, 1, 0, 0, 0}, {2, 2, 3, 3, 2}, {2, 1, 1, 2, 2}},
    {{1, 2, 3, 3, 1}, {0, 0, 0, 0, 0}, {2, 1, 3, 3, 3}, {3, 1, 4, 0, 0}, {1, 2, 3, 3, 1}},
    {{0, 1, 3, 4, 3}, {1, 1, 2, 4, 1}, {2, 2, 4, 3, 1}, {1, 1, 2, 4, 3}, {0, 1, 3, 4, 2}},
};

// The racing levels' qualifying times: world, level, Easy, Normal, Hard.
const int kQualifyingTimes[8][5] = {
    {0, 2, 8300, 7300, 6800}, {1, 0, 7100, 6100, 5600},  {1, 4, 8800, 7800, 7300},
    {2, 1, 7700, 6700, 6300}, {2, 3, 9100, 8100, 7600},  {3, 0, 8500, 7500, 6800},
    {3, 4, 8000, 7000, 6500}, {4, 2, 10100, 9100, 8600},
};

bool InMap(int world, int level) { return world >= 0 && world < 5 && level >= 0 && level < 5; }
bool InDifficulties(int difficulty) { return difficulty >= 0 && difficulty < 3; }

}  // namespace

PWnd::PWnd()
    : mode(MODE_NONE),
      onlineDifficulty(-1),
      profile(1),
      userId(0),
      dataMissing(false),
      showGhostNames(true) {
  g_game = &game;
  game.SetEngine(&dx);
  game.SetHost(this);
  menu.SetEngine(&dx);
  for (int w = 0; w < MAP_SIZE; ++w) {
    for (int l = 0; l < MAP_SIZE; ++l) {
      levelNames[w][l] = kLevelNames[w][l];
      levelTheme[w][l] = kCells[w][l][0];
      levelMode[w][l] = kCells[w][l][1];
      levelLength[w][l] = kCells[w][l][2];
      levelDexterity[w][l] = kCells[w][l][3];
      levelPuzzle[w][l] = kCells[w][l][4];
    }
  }
  memset(qualifyingTimes, 0, sizeof(qualifyingTimes));
  for (const int* row : kQualifyingTimes)
    for (int d = 0; d < DIFFICULTIES; ++d) qualifyingTimes[d][row[0]][row[1]] = row[2 + d];
  memset(difficultyUnlocked, 0, sizeof(difficultyUnlocked));
  memset(cellStates, 0, sizeof(cellStates));
  memset(bestTimes, 0, sizeof(bestTimes));
  for (bool& shown : showGhost) shown = true;
}

PWnd::~PWnd() {
  // The game's scene goes with the engine, which is destroyed before it.
  game.Unload();
  dx.Destroy();
  if (g_game == &game) g_game = nullptr;
}

bool PWnd::HasLevel(int world, int level) const {
  return InMap(world, level) && levelNames[world][level].GetLength() > 0;
}

bool PWnd::IsDifficultyUnlocked(int difficulty) const {
  return InDifficulties(difficulty) && difficultyUnlocked[difficulty];
}

int PWnd::GetLevelTheme(int world, int level) {
  return InMap(world, level) ? levelTheme[world][level] : 0;
}

int PWnd::GetLevelMode(int world, int level) {
  return InMap(world, level) ? levelMode[world][level] : 0;
}

int PWnd::GetQualifyingTime(int difficulty, int world, int level) {
  return InDifficulties(difficulty) && InMap(world, level)
             ? qualifyingTimes[difficulty][world][level]
             : 0;
}

int PWnd::GetBestTime(int difficulty, int world, int level) {
  return InDifficulties(difficulty) && InMap(world, level) ? bestTimes[difficulty][world][level]
                                                           : 0;
}
