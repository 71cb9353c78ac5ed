// The online page, the scores page with its list of one cell, and the
// players' ranking over all cells.
#include "core/Platform.h"

#include "app/PWnd.h"
#include "app/menu/PMenu.h"
#include "engine/SDxText.h"

namespace {

enum { ONLINE_SCORES, ONLINE_PLAYERS, ONLINE_BACK, ONLINE_LAST = ONLINE_BACK };
// itemEnds entry of the online page's first item.
const int kOnlineEnds = 13;

}  // namespace

void PMenu::PageOnline() {
  SweepItem(kOnlineEnds + selection, kOnlineEnds + selection);
  if (IsBack()) {
    PlayMenuSound(SOUND_BUTTON);
    GoToPage(PAGE_MAIN);
    return;
  }
  if (IsConfirm()) {
    PlayMenuSound(SOUND_BUTTON);
    switch (selection) {
      case ONLINE_SCORES:
        SetMapCell(0, 0);
        GoToPage(PAGE_SCORES);
        break;
      case ONLINE_PLAYERS:
        GoToPage(PAGE_PLAYERS);
        break;
      case ONLINE_BACK:
        GoToPage(PAGE_MAIN);
        break;
    }
    return;
  }
  MoveSelection(ONLINE_LAST);
}

void PMenu::PageScores() {
  CircleCell();
  if (IsBack()) {
    PlayMenuSound(SOUND_BUTTON);
    GoToPage(PAGE_ONLINE);
    return;
  }
  MoveMapCursorByInput();
  if (IsConfirm()) {
    selection = (selection + 1) % SCORE_BLOCKS;
    PlayMenuSound(SOUND_SELECT);
    FillScoreList();
  }
}

void PMenu::FillScoreList() {
  const PWnd* app = g_app;
  if (!app || world < 0 || world >= MAP_SIZE || level < 0 || level >= MAP_SIZE) return;
  const SStringArray& list = app->hiscores[world][level];
  SString places, names, times, text;
  for (int i = 0; i < SCORE_BLOCK; ++i) {
    int index = selection * SCORE_BLOCK + i;
    if (index >= list.GetCount()) break;
    places += text.Format("%02d\r\n", index + 1);
    names += *list[index] + "\r\n";
    times += FormatTime(text, int(list[index]->GetUserValue1()), false) + "\r\n";
  }
  const SString* columns[3] = {&places, &names, &times};
  for (int i = 0; i < 3; ++i)
    if (rankTexts[i]) rankTexts[i]->SetText(columns[i]->GetText(), false);
}

void PMenu::RankPlayers() {
  const PWnd* app = g_app;
  const SStringArray* lists[MAP_SIZE * MAP_SIZE];
  int count = 0;
  for (int w = 0; w < MAP_SIZE && app; ++w)
    for (int l = 0; l < MAP_SIZE; ++l)
      if (app->HasLevel(w, l)) lists[count++] = &app->hiscores[w][l];
  players.Rank(lists, count);
  listCount = players.GetCount();
}

void PMenu::FillPlayerList() {
  SString columns[12], text;
  int first = selection * PLAYERS_PAGE;
  for (int index = first; index < players.GetCount() && index < first + PLAYERS_PAGE; ++index) {
    SString* column = columns + (index - first) / PLAYERS_COLUMN * 3;
    column[0] += text.Format("%02d\n", index + 1);
    column[1] += text.Format("%d\n", players.GetPoints(index));
    column[2] += SString(players.GetName(index)) + "\n";
  }
  for (int i = 0; i < 12; ++i)
    if (listTexts[i]) listTexts[i]->SetText(columns[i].GetText(), false);
}
