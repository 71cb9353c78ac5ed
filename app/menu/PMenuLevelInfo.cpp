// The level information of the selected cell (name, best time, panel, the
// map's cells, links and arrows, the theme's background) and the loading
// and end pages.
#include "core/Platform.h"

#include "app/PWnd.h"
#include "app/menu/PMenu.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"

namespace {

enum { CELL_LOCKED = 1, CELL_OPEN = 2, CELL_DONE = 3 };
enum { LINK_HORIZONTAL = 0, LINK_VERTICAL = 1 };

// The links of the map's road: the two cells (world, level) they join,
// their kind and their place (percent of the screen).
const struct {
  int world1, level1, world2, level2;
  int kind;
  float x, y;
} kLinks[PMenu::LINKS] = {
    {0, 0, 1, 0, LINK_HORIZONTAL, 18.48f, 20.09f}, {1, 0, 2, 0, LINK_HORIZONTAL, 26.56f, 20.09f},
    {2, 0, 3, 0, LINK_HORIZONTAL, 34.89f, 20.09f}, {3, 0, 4, 0, LINK_HORIZONTAL, 43.22f, 20.09f},
    {0, 0, 0, 1, LINK_VERTICAL, 14.11f, 27.5f},    {2, 0, 2, 1, LINK_VERTICAL, 30.72f, 27.5f},
    {4, 0, 4, 1, LINK_VERTICAL, 47.39f, 27.5f},    {0, 1, 0, 2, LINK_VERTICAL, 14.11f, 42.59f},
    {4, 1, 4, 2, LINK_VERTICAL, 47.39f, 42.59f},   {0, 2, 1, 2, LINK_HORIZONTAL, 18.48f, 49.81f},
    {3, 2, 4, 2, LINK_HORIZONTAL, 43.22f, 49.81f}, {0, 2, 0, 3, LINK_VERTICAL, 14.11f, 57.40f},
    {4, 2, 4, 3, LINK_VERTICAL, 47.39f, 57.40f},   {0, 3, 0, 4, LINK_VERTICAL, 14.11f, 72.22f},
    {2, 3, 2, 4, LINK_VERTICAL, 30.72f, 72.22f},   {4, 3, 4, 4, LINK_VERTICAL, 47.39f, 72.22f},
    {0, 4, 1, 4, LINK_HORIZONTAL, 18.48f, 80.09f}, {1, 4, 2, 4, LINK_HORIZONTAL, 26.56f, 80.09f},
    {2, 4, 3, 4, LINK_HORIZONTAL, 34.89f, 80.09f}, {3, 4, 4, 4, LINK_HORIZONTAL, 43.22f, 80.09f},
};

// The seven cells (world, level) of each quadrant arrow: top left, top
// right, bottom left, bottom right.
const int kQuadrants[4][7][2] = {
    {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}},
    {{2, 0}, {3, 0}, {4, 0}, {2, 1}, {4, 1}, {3, 2}, {4, 2}},
    {{0, 2}, {1, 2}, {0, 3}, {2, 3}, {0, 4}, {1, 4}, {2, 4}},
    {{3, 2}, {4, 2}, {2, 3}, {4, 3}, {2, 4}, {3, 4}, {4, 4}},
};

const char* const kWorldNames[PMenu::MENU_THEMES] = {"Ancient Egypt\n", "Medieval\n", "Sci-Fi\n"};

// n bullets and 4 - n middle dots (Windows-1252), blank-separated.
SString RatingText(int n) {
  SString text;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) text += ' ';
    text += i < n ? '\x95' : '\xB7';
  }
  return text + "\n";
}

// "#rank (time)" of a place of the list.
SString RankText(const SStringArray& list, int rank) {
  SString time;
  FormatTime(time, int(list[rank - 1]->GetUserValue1()), false);
  return SString("#") + SString::FromInt(rank) + " (" + time + ")";
}

bool IsCentre(int world, int level) { return world == 2 && level == 2; }

}  // namespace

void PMenu::PlaceLinks() {
  for (int k = 0; k < LINKS; ++k)
    if (links[k]) links[k]->SetPositionXY(kLinks[k].x, kLinks[k].y);
}

void PMenu::BuildLevelInfoText(SString* labels, SString* values) const {
  PWnd* app = g_app;
  SString& L = *labels;
  SString& V = *values;
  SString time;
  L.Set("Name\n");
  V = app->levelNames[world][level] + "\n";
  L += "World\n";
  int theme = app->levelTheme[world][level];
  if (theme >= 0 && theme < MENU_THEMES) V += kWorldNames[theme];
  L += "Mode\n";
  int mode = app->levelMode[world][level];
  V += IsCentre(world, level) ? "Boss Level\n" : mode == 1 ? "Classic Level\n" : "Racing Level\n";
  if (!IsCentre(world, level)) {
    const struct {
      const char* label;
      int rating;
    } ratings[3] = {{"Length\n", app->levelLength[world][level]},
                    {"Dexterity\n", app->levelDexterity[world][level]},
                    {"Puzzle\n", app->levelPuzzle[world][level]}};
    for (const auto& rating : ratings) {
      L += rating.label;
      if (rating.rating >= 1 && rating.rating <= 4) V += RatingText(rating.rating);
    }
  }
  if (mode == 2) {
    L += "Qualification\n";
    V += FormatTime(time, app->qualifyingTimes[difficulty][world][level], true) + "\n";
  }
  int best = app->bestTimes[difficulty][world][level];
  L += "Best Time\n";
  V += best == 0 ? SString("N/A\n") : FormatTime(time, best, false) + "\n";
  L += "Rank";
  if (!app->IsOnline()) {
    V += "Offline";
    return;
  }
  if (app->onlineDifficulty != difficulty) {
    V += "N/A for this difficulty";
    return;
  }
  const SStringArray& list = app->hiscores[world][level];
  int rank = app->GetPlayerRank(world, level);
  V += rank == 0 ? SString("Not Ranking") : RankText(list, rank);
  if (rank > 1) {
    L += "\nRival Rank";
    V += SString("\n") + RankText(list, rank - 1);
  }
}

void PMenu::DrawLevelInfo() {
  PWnd* app = g_app;
  if (!app || difficulty < 0 || difficulty >= PWnd::DIFFICULTIES || world < 0 ||
      world >= MAP_SIZE || level < 0 || level >= MAP_SIZE)
    return;
  if (levelName) levelName->SetTexture(nameImages[world][level], 1, nullptr, 1, 1, 0);
  int best = app->bestTimes[difficulty][world][level];
  const int numbers[5] = {best / 6000, 0, (best / 100) % 60, 0, best % 100};
  for (int i = 0; i < 5; i += 2)
    if (timeDigits[i]) timeDigits[i]->SetNumber(numbers[i], true);

  SString labels, values;
  BuildLevelInfoText(&labels, &values);
  if (infoLabels) infoLabels->SetText(labels.GetText(), false);
  if (infoValues) infoValues->SetText(values.GetText(), false);

  const int(&states)[MAP_SIZE][MAP_SIZE] = app->cellStates[difficulty];
  for (int w = 0; w < MAP_SIZE; ++w)
    for (int l = 0; l < MAP_SIZE; ++l) {
      SDxSprite* cell = cells[w][l];
      int state = states[w][l], theme = app->levelTheme[w][l];
      if (!cell || state < CELL_LOCKED) continue;
      bool shown = state >= CELL_OPEN && theme >= 0 && theme < MENU_THEMES;
      if (shown) cell->SetTexture(cellImages[theme][state == CELL_DONE], 1, nullptr, 1, 1, 0);
      cell->SetVisible(shown);
    }
  for (int k = 0; k < LINKS; ++k) {
    bool on = states[kLinks[k].world1][kLinks[k].level1] == CELL_DONE ||
              states[kLinks[k].world2][kLinks[k].level2] == CELL_DONE;
    if (links[k]) links[k]->SetTexture(linkImages[on][kLinks[k].kind], 1, nullptr, 1, 1, 0);
  }
  for (int k = 0; k < 4; ++k) {
    bool on = true;
    for (const auto& cell : kQuadrants[k]) on = on && states[cell[0]][cell[1]] == CELL_DONE;
    if (arrows[k]) arrows[k]->SetTexture(arrowImages[on][k], 1, nullptr, 1, 1, 0);
  }
  // The bonus theme has no map or scores image: the background stays.
  int theme = app->levelTheme[world][level];
  if (theme >= 0 && theme < MENU_THEMES)
    SetBackground((page == PAGE_MAP ? SLOT_MAP : SLOT_SCORES) + theme);
}

void PMenu::PageLoading() {
  bool bonus = world == 3 && level == 3;
  if (bonus && dx->GetTimeSince(pageTime) < 2.0f) return;
  g_app->EnterGame(difficulty, world, level);
}

void PMenu::PageEnd() {
  if (dx->GetTimeSince(pageTime) < 2.0f || !IsEscape()) return;
  PlayMenuSound(SOUND_BUTTON);
  GoToPage(PAGE_MAIN);
}
