// The window procedure of the application object (creation and closing of
// the game) and the engine's hooks, dispatched by mode.
#include "core/Platform.h"

#include "app/PWnd.h"
#include "core/SStringArray.h"
#include "engine/SDxShader.h"
#include "window/Framework.h"
#include "window/FrameworkMessages.h"

namespace {

// The key the data archives were made with.
const char* const kArchiveKey = GAME_ARCHIVE_KEY;

// What the player reads when a data archive cannot be opened: the first
// line, the paths of the archives, the last line.
const char kBrokenInstallText[] = "These data files of the game are missing or damaged:\r\n";
const char kReinstallText[] = "Please install the game again.";

// The ghost switches in the registry: slots 1 to 4, then the names.
const char* const kGhostSwitchNames[5] = {"noGhost0", "noGhost1", "noGhost2", "noGhost3",
                                          "noGhostNames"};

}  // namespace

// --- window procedure -------------------------------------------------------------

LRESULT PWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  dx.OnMessage(message, wParam, lParam);
  switch (message) {
    case WM_KEYDOWN:
      // The pause key, in either mode: the game pauses only a run.
      if (wParam == 'P') game.TogglePause();
      break;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      break;
    case WM_CLOSE:
      OnClose();
      break;
    case SWM_AFTERCREATE:
      if (!OnCreate(reinterpret_cast<SDxConfig*>(lParam))) return -1;
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}

bool PWnd::OnCreate(SDxConfig* settings) {
  SDxConfig defaults;
  if (!settings) settings = &defaults;
  SetClientSize(settings->width, settings->height);
  SetBackColor(0);

  SString saveFolder = GetSaveFolder();
  if (saveFolder.GetLength() > 0 && !disk.SearchFile(saveFolder.GetText()))
    disk.CreateFolder(saveFolder.GetText());

  SString folder = dataFolderPath.GetLength() > 0 ? dataFolderPath : GetProgramFolder();
  struct {
    SResource* archive;
    const char* file;
  } archives[] = {{&resImg, "gravrun2.img"},
                  {&resSnd, "gravrun2.snd"},
                  {&resObj, "gravrun2.obj"},
                  {&resFx, "gravrun2.fx"},
                  {&resDat, "gravrun2.dat"}};
  // Without every archive the game would run on to an empty window: the
  // player is told which files are missing or damaged instead.
  SString broken;
  for (auto& entry : archives) {
    entry.archive->SetKey(kArchiveKey);
    SString path = folder + entry.file;
    if (!entry.archive->Open(path.GetText(), 0)) broken += SString("\r\n") + path;
  }
  if (broken.GetLength() > 0) {
    dataMissing = true;
    MessageBox((SString(kBrokenInstallText) + broken + "\r\n\r\n" + kReinstallText).GetText(),
               "Error", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }

  musicFiles.RemoveAll();
  disk.ListFolder(&musicFiles, (folder + "music\\*.mp3").GetText(), 5);

  ReadGhostSwitches();
  ReadOnlineIdentity(GAME_REGISTRY_KEY);

  SString error;
  if (!dx.Create(this, settings, &error)) {
    MessageBox(error.GetText(), "Error", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  LoadPlayer();
  LoadAllHiscores();
  if (settings->fullScreen) ::ShowCursor(FALSE);
  Show(SW_SHOW);
  EnterMenu(PMenu::PAGE_MAIN, -1, -1);
  return true;
}

void PWnd::OnClose() {
  LeaveMode();
  dx.Destroy();
  WriteGhostSwitches();
}

SString PWnd::GetSaveFolder() {
  if (saveFolderPath.GetLength() > 0) return saveFolderPath;
  SString documents = disk.GetSpecialFolder();
  if (documents.GetLength() == 0) return documents;
  return documents + "Gravrun 2\\";
}

void PWnd::ReadGhostSwitches() {
  for (bool& shown : showGhost) shown = true;
  for (int slot = 1; slot < GHOST_SLOTS; ++slot)
    showGhost[slot] =
        registry.GetNumber(HKEY_CURRENT_USER, GAME_REGISTRY_KEY, kGhostSwitchNames[slot - 1]) == 0;
  showGhostNames =
      registry.GetNumber(HKEY_CURRENT_USER, GAME_REGISTRY_KEY, kGhostSwitchNames[4]) == 0;
}

void PWnd::WriteGhostSwitches() {
  for (int slot = 1; slot < GHOST_SLOTS; ++slot)
    registry.SetBool(HKEY_CURRENT_USER, GAME_REGISTRY_KEY, kGhostSwitchNames[slot - 1],
                     !showGhost[slot]);
  registry.SetBool(HKEY_CURRENT_USER, GAME_REGISTRY_KEY, kGhostSwitchNames[4], !showGhostNames);
}

bool PWnd::IsGhostShown(int slot) { return slot >= 1 && slot < GHOST_SLOTS && showGhost[slot]; }

void PWnd::ShowGhost(int slot, bool shown) {
  if (slot >= 1 && slot < GHOST_SLOTS) showGhost[slot] = shown;
}

// --- engine hooks -------------------------------------------------------------------

void PWnd::_PDx::OnFrame() {
  PWnd* app = g_app;
  if (!app) return;
  // One step by the mode the frame began in: a page that starts a level
  // leaves the level's first step to the next frame.
  if (app->mode == MODE_MENU) {
    app->menu.Frame();
  } else if (app->mode == MODE_GAME) {
    app->game.Frame();
  }
}

bool PWnd::_PDx::OnTimer(int id) {
  PWnd* app = g_app;
  return app && app->mode == MODE_GAME ? app->game.OnTimer(id) : true;
}

void PWnd::_PDx::OnSettingChanged(SDxConfig* settings, int index) {
  PWnd* app = g_app;
  if (!app || !settings) return;
  bool inGame = app->mode == MODE_GAME;
  switch (index) {
    case 0:
      m_lighting = settings->lighting != 0;
      if (app->game.speedShader) app->game.speedShader->SetEnabled(settings->lighting != 0);
      break;
    case 2:
      if (!settings->audio) break;
      if (app->mode == MODE_MENU) {
        PlaySound(1, false, 0.5f, 0.0f);
      } else if (inGame) {
        PlaySound(9, false, 0.0f, 0.0f);
        PlaySound(40, false, 0.0f, 0.0f);
      }
      break;
    case 3:
      if (!inGame) break;
      if (settings->audio && settings->music) {
        app->RestartLevelMusic();
      } else {
        StopSound(PGame::MUSIC_CHANNEL, 0.0f);
      }
      break;
    case 4:
      if (inGame) SetSoundVolume(PGame::MUSIC_CHANNEL, 2.0f * settings->musicVolume);
      break;
  }
}

void PWnd::_PDx::OnDeviceReset(bool failed) {
  PWnd* app = g_app;
  // In a run, or without a device, the program ends at once; a won run
  // still on its finished screen keeps its result first, as when its level
  // is unloaded, and online its ghost goes up.
  if (app && app->mode == MODE_GAME) app->game.KeepFinishedResult(true);
  if (failed || !app || app->mode == MODE_GAME) ::ExitProcess(0);
  // The old scene is gone: no page may hide its items.
  app->menu.Reset();
  app->EnterMenu(PMenu::PAGE_MAIN, -1, -1);
}

// --- time formatting ----------------------------------------------------------------

SString& FormatTime(SString& output, int time, bool shortForm) {
  int minutes = time / 6000;
  int seconds = (time / 100) % 60;
  if (shortForm) return output.Format("%d:%02d", minutes, seconds);
  return output.Format("%d:%02d.%02d", minutes, seconds, time % 100);
}
