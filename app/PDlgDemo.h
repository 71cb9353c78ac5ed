// The player dialog ("Player Identity") that the program shows before the
// game window exists: the player picks one of four profiles and the online
// difficulty. The last profile, and the difficulty of each profile, are
// remembered in the registry under the game's key ("player",
// "difficulty1" .. "difficulty4"). Built from the dialog text in the
// program's resource "BINARY" 129 and run modally; the caller then reads
// confirmed and, when it is true, the five results.
#pragma once

#include "core/Platform.h"
#include "core/SRegistry.h"
#include "core/SString.h"
#include "window/SDialog.h"

class SComboCtrl;

class PDlgDemo : public SDialog {
public:
  // Control ids of the dialog text.
  enum { ID_START = 3, ID_COMBO_PLAYER = 8, ID_COMBO_DIFFICULTY = 9 };
  enum { PROFILES = 4, DIFFICULTY_ITEMS = 4 };

  PDlgDemo();
  ~PDlgDemo() override;

  // Shows the stored difficulty of the current profile (Offline for none,
  // a missing value or one outside the list).
  void LoadProfileValues();
  // Stores the shown difficulty for the current profile.
  void SaveProfileValues();
  // Takes the choice (Start or Enter); true.
  bool Confirm();
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  bool confirmed;
  SString playerCode;
  int onlineDifficulty;  // -1 offline, else 0 Easy, 1 Normal, 2 Hard
  int profile;           // 1..4
  int userId;
  SString playerName;
  SRegistry registry;
  SComboCtrl* comboPlayer;
  SComboCtrl* comboDifficulty;
  int currentProfile;  // 0..3, -1 for none

private:
  // The selection of a combo, or -1 without the control.
  static int SelectionOf(SComboCtrl* combo);
  void OnStart();
};
