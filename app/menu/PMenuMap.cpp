// The difficulty, lesson, world map and players pages and the map's cell
// cursor.
#include "core/Platform.h"

#include "app/PWnd.h"
#include "app/menu/PMenu.h"

namespace {

enum { MAP_PLAY, MAP_BACK_TO_CELLS, MAP_RESTORE, MAP_MAIN_MENU, MAP_RESET, MAP_LAST = MAP_RESET };
enum { LESSON_PLAY, LESSON_MAP, LESSON_LAST = LESSON_MAP };
enum { CELL_NONE = 0, CELL_LOCKED = 1, CELL_OPEN = 2 };
// itemEnds entries: the difficulty page's ends, the side menu's first item,
// the lesson page's first item.
const int kDifficultyEnds = 10;
const int kSideMenuEnds = 4;
const int kLessonEnds = 11;

}  // namespace

void PMenu::PageDifficulty() {
  PWnd* app = g_app;
  SweepItem(kDifficultyEnds, selection);
  if (IsBack()) {
    PlayMenuSound(SOUND_BUTTON);
    GoToPage(PAGE_MAIN);
    return;
  }
  if (IsConfirm()) {
    difficulty = selection;
    SetMapCell(0, 0);
    PlayMenuSound(SOUND_BUTTON);
    if (!app->IsDifficultyUnlocked(difficulty)) {
      // The difficulty is begun: its progression starts afresh.
      app->difficultyUnlocked[difficulty] = true;
      app->ResetProgress(difficulty, true);
      GoToPage(PAGE_LESSON);
    } else {
      GoToPage(PAGE_MAP);
    }
    return;
  }
  MoveSelection(2);
}

void PMenu::PageLesson() {
  SweepItem(kLessonEnds + selection, kLessonEnds + selection);
  if (IsConfirm()) {
    PlayMenuSound(SOUND_BUTTON);
    if (selection == LESSON_PLAY) {
      SetMapCell(1, 1);
      GoToPage(PAGE_LOADING);
    } else {
      GoToPage(PAGE_MAP);
    }
    return;
  }
  MoveSelection(LESSON_LAST);
}

void PMenu::PageMap() {
  CircleCell();
  SweepItem(kSideMenuEnds + selection, kSideMenuEnds + selection);
  bool sideMenu = mapMode == 1;
  if (IsEscape() || (sideMenu && IsPadB())) {
    PlayMenuSound(SOUND_BUTTON);
    GoToPage(PAGE_MAIN);
    return;
  }
  if (IsConfirm() || (!sideMenu && IsPadB())) {
    PlayMenuSound(SOUND_BUTTON);
    if (!sideMenu) {
      selection = MAP_PLAY;
      mapMode = 1;
      SetSparkColours(cellSpark, idleColours);
      SetSparkColours(itemSpark, activeColours);
      return;
    }
    switch (selection) {
      case MAP_PLAY:
        GoToPage(PAGE_LOADING);
        break;
      case MAP_BACK_TO_CELLS:
        mapMode = 0;
        SetSparkColours(cellSpark, activeColours);
        SetSparkColours(itemSpark, idleColours);
        break;
      case MAP_RESTORE:
      case MAP_RESET:
        confirmPurpose = selection == MAP_RESTORE ? CONFIRM_RESTORE : CONFIRM_RESET;
        GoToPage(PAGE_CONFIRMATION);
        break;
      case MAP_MAIN_MENU:
        GoToPage(PAGE_MAIN);
        break;
    }
    return;
  }
  if (sideMenu) {
    MoveSelection(MAP_LAST);
    return;
  }
  MoveMapCursorByInput();
}

void PMenu::MoveMapCursorByInput() {
  if (IsLeft()) MoveMapCursor(-1, 0);
  if (IsRight()) MoveMapCursor(1, 0);
  if (IsUp()) MoveMapCursor(0, -1);
  if (IsDown()) MoveMapCursor(0, 1);
}

void PMenu::MoveMapCursor(int stepWorld, int stepLevel) {
  const PWnd* app = g_app;
  int w = world + stepWorld, l = level + stepLevel;
  if (w < 0 || w >= MAP_SIZE || l < 0 || l >= MAP_SIZE) return;
  if (difficulty < 0 || difficulty >= PWnd::DIFFICULTIES) return;
  int state = app->cellStates[difficulty][w][l];
  int lowest = page == PAGE_MAP ? CELL_OPEN : CELL_LOCKED;
  if (state < lowest) return;
  SetMapCell(w, l);
  PlayMenuSound(SOUND_CELL);
  DrawLevelInfo();
  if (page != PAGE_MAP) FillScoreList();
}

void PMenu::PagePlayers() {
  if (IsBack()) {
    PlayMenuSound(SOUND_BUTTON);
    GoToPage(PAGE_ONLINE);
    return;
  }
  if (IsUp() && selection > 0) {
    --selection;
    FillPlayerList();
  }
  if ((IsDown() || dx->IsButtonPressed(0)) && (selection + 1) * PLAYERS_PAGE < listCount) {
    ++selection;
    FillPlayerList();
  }
}
