#include "core/Platform.h"

#include "app/PDlgDemo.h"
#include "app/PWnd.h"
#include "window/FrameworkMessages.h"
#include "window/SComboCtrl.h"

namespace {

SString DifficultyValueName(int profileIndex) {
  SString name;
  return name.Format("difficulty%d", profileIndex + 1);
}

}  // namespace

PDlgDemo::PDlgDemo()
    : confirmed(false),
      onlineDifficulty(-1),
      profile(1),
      userId(0),
      comboPlayer(nullptr),
      comboDifficulty(nullptr),
      currentProfile(-1) {}

PDlgDemo::~PDlgDemo() {}

int PDlgDemo::SelectionOf(SComboCtrl* combo) { return combo ? combo->GetSelection() : -1; }

void PDlgDemo::LoadProfileValues() {
  if (!comboDifficulty) return;
  int item = 0;
  if (currentProfile != -1) {
    DWORD stored = registry.GetNumber(HKEY_CURRENT_USER, GAME_REGISTRY_KEY,
                                      DifficultyValueName(currentProfile).GetText());
    // A stored value outside the list shows Offline.
    item = stored < DIFFICULTY_ITEMS ? (int)stored : 0;
  }
  comboDifficulty->SetSelection(item);
}

void PDlgDemo::SaveProfileValues() {
  if (currentProfile == -1) return;
  int item = SelectionOf(comboDifficulty);
  if (item < 0 || item >= DIFFICULTY_ITEMS) item = 0;
  registry.SetNumber(HKEY_CURRENT_USER, GAME_REGISTRY_KEY,
                     DifficultyValueName(currentProfile).GetText(), (DWORD)item);
}

bool PDlgDemo::Confirm() {
  SaveProfileValues();
  int item = SelectionOf(comboDifficulty);
  // No selection counts as Offline.
  onlineDifficulty = item >= 1 && item < DIFFICULTY_ITEMS ? item - 1 : -1;
  confirmed = true;
  int player = SelectionOf(comboPlayer);
  profile = player >= 0 && player < PROFILES ? player + 1 : 1;
  registry.SetNumber(HKEY_CURRENT_USER, GAME_REGISTRY_KEY, "player", (DWORD)profile);
  return true;
}

void PDlgDemo::OnStart() {
  comboPlayer = static_cast<SComboCtrl*>(GetControl("COMBO_PLAYER"));
  comboDifficulty = static_cast<SComboCtrl*>(GetControl("COMBO_DIFFICULTY"));
  DWORD player = registry.GetNumber(HKEY_CURRENT_USER, GAME_REGISTRY_KEY, "player");
  if (player < 1 || player > PROFILES) player = 1;
  currentProfile = (int)player - 1;
  if (comboPlayer) comboPlayer->SetSelection(currentProfile);
  LoadProfileValues();
}

LRESULT PDlgDemo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case SWM_MODALSTART:
      OnStart();
      break;
    case SWM_COMBOSELCHANGED:
      if (reinterpret_cast<SWnd*>(wParam) == GetControlById(ID_COMBO_PLAYER)) {
        SaveProfileValues();
        currentProfile = SelectionOf(comboPlayer);
        LoadProfileValues();
      }
      break;
    case SWM_BUTTONCLICKED:
      if (reinterpret_cast<SWnd*>(wParam) == GetControlById(ID_START) && Confirm()) EndModal();
      break;
    case SWM_MODALRETURN:
      if (!Confirm()) return -1;
      break;
  }
  return SDialog::WindowProc(message, wParam, lParam);
}
