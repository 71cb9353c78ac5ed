// The main, help, credits and confirmation pages.
#include "core/Platform.h"

#include "app/PWnd.h"
#include "app/menu/PMenu.h"
#include "game/PGhost.h"

#include <string.h>

namespace {

enum { MAIN_PLAY, MAIN_ONLINE, MAIN_HELP, MAIN_QUIT, MAIN_LAST = MAIN_QUIT };
enum { CONFIRM_YES, CONFIRM_NO };
const char kNotConnected[] = "YOU ARE NOT CONNECTED";
const float kNoticeSeconds = 3.0f;

}  // namespace

void PMenu::PageMain() {
  PWnd* app = g_app;
  SweepItem(selection, selection);
  if (IsBack()) {
    if (selection == MAIN_QUIT) {
      app->Close();
    } else {
      selection = MAIN_QUIT;
      PlayMenuSound(SOUND_SELECT);
    }
  }
  if (IsConfirm()) {
    PlayMenuSound(SOUND_BUTTON);
    switch (selection) {
      case MAIN_PLAY:
        GoToPage(PAGE_DIFFICULTY);
        break;
      case MAIN_ONLINE:
        if (app->IsOnline()) {
          difficulty = app->onlineDifficulty;
          app->LoadAllHiscores();
          GoToPage(PAGE_ONLINE);
        } else {
          dx->ShowOverlayText(kNotConnected, kNoticeSeconds);
        }
        break;
      case MAIN_HELP:
        GoToPage(PAGE_HELP);
        break;
      case MAIN_QUIT:
        app->Close();
        break;
    }
    return;
  }
  MoveSelection(MAIN_LAST);
  if (TypeAccessCode()) return;
  if (dx->IsKeyDown(kChordKeys[0]) && dx->IsKeyDown(kChordKeys[1]) &&
      dx->IsKeyDown(kChordKeys[2])) {
    difficulty = 1;
    SetMapCell(2, 2);
    GoToPage(PAGE_LOADING);
  }
}

bool PMenu::TypeAccessCode() {
  // The first letter starts the code afresh; each other distinct letter,
  // in the order of its first place in the code, is appended on its key's
  // event (first press or repeat).
  if (dx->IsKeyPressed(kAccessCode[0])) {
    typedCode.Set("");
    typedCode += kAccessCode[0];
  }
  for (int i = 1; kAccessCode[i]; ++i) {
    char letter = kAccessCode[i];
    if (memchr(kAccessCode, letter, i)) continue;
    if (dx->IsKeyPressed(letter)) typedCode += letter;
  }
  if (!dx->IsKeyPressed(kCodeConfirmKey) || typedCode != kAccessCode) return false;
  typedCode.Set("");
  difficulty = 1;
  SetMapCell(3, 3);
  GoToPage(PAGE_LOADING);
  return true;
}

void PMenu::PageHelp() { TurnPage(PAGE_CREDITS, PAGE_MAIN); }

void PMenu::PageCredits() { TurnPage(PAGE_MAIN, PAGE_HELP); }

void PMenu::TurnPage(int onConfirm, int onBack) {
  int next = IsConfirm() ? onConfirm : IsBack() ? onBack : PAGE_NONE;
  if (next == PAGE_NONE) return;
  PlayMenuSound(SOUND_BUTTON);
  GoToPage(next);
}

void PMenu::PageConfirmation() {
  PWnd* app = g_app;
  SweepItem(11 + selection, 11 + selection);
  if (IsBack()) {
    PlayMenuSound(SOUND_BUTTON);
    GoToPage(previousPage);
    return;
  }
  if (IsConfirm()) {
    if (selection == CONFIRM_YES && confirmPurpose == CONFIRM_RESET) {
      SetMapCell(0, 0);
      app->difficultyUnlocked[difficulty] = true;
      app->ResetProgress(difficulty, true);
      PlayMenuSound(SOUND_BUTTON);
      GoToPage(PAGE_LESSON);
      return;
    }
    if (selection == CONFIRM_YES && confirmPurpose == CONFIRM_RESTORE) {
      if (app->IsOnline() && app->onlineDifficulty == difficulty) {
        PGhost ghost;
        if (app->DownloadGhost(world, level, &ghost))
          app->RecordResult(difficulty, world, level, ghost.time, &ghost);
      } else {
        dx->ShowOverlayText(kNotConnected, kNoticeSeconds);
      }
    }
    PlayMenuSound(SOUND_BUTTON);
    GoToPage(PAGE_MAP);
    return;
  }
  MoveSelection(CONFIRM_NO);
}
