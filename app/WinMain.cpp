// The program entry: the framework, the display settings, the player
// dialog, the application object with its window, and the message loop with
// the engine's frame as idle work. Every way out returns 0, except a start
// without the game's data (kExitDataMissing).
#include "core/Platform.h"

#include "app/PDlgDemo.h"
#include "app/PWnd.h"
#include "core/SFileMem.h"
#include "engine/SDxConfig.h"
#include "engine/SDxSettings.h"
#include "window/Framework.h"
#include "window/MessageLoop.h"

namespace {

const WORD kIconId = 107;
const WORD kPlayerDialogId = 129;
const DWORD kWindowStyle = 0xCF0000;
// The exit code of a start that found a data archive missing or damaged.
const int kExitDataMissing = 1;

// The idle work of the loop: one engine frame.
int OnIdle(void*) {
  SDx::Frame();
  return 0;
}

// The choices of the start-up dialogs.
struct StartupChoices {
  bool confirmed = true;
  SString playerCode;
  int onlineDifficulty = -1;
  int profile = 1;
  int userId = 0;
  SString playerName;
};

// The player dialog from the program's own dialog text, run modally.
void RunPlayerDialog(StartupChoices* choices) {
  PDlgDemo dialog;
  {
    SFileMem text;
    bool loaded = text.LoadResource("BINARY", kPlayerDialogId);
    dialog.Create(loaded && text.IsOpen() ? &text : nullptr);
  }
  dialog.RunModal(0, 0);
  choices->confirmed = dialog.confirmed;
  if (choices->confirmed) {
    choices->playerCode = dialog.playerCode;
    choices->onlineDifficulty = dialog.onlineDifficulty;
    choices->profile = dialog.profile;
    choices->userId = dialog.userId;
    choices->playerName = dialog.playerName;
  }
}

// The game's window and loop; the process exit code.
int RunGame(const StartupChoices& choices, SDxConfig* config) {
  PWnd app;
  g_app = &app;
  app.playerCode = choices.playerCode;
  app.onlineDifficulty = choices.onlineDifficulty;
  app.profile = choices.profile;
  app.userId = choices.userId;
  app.playerName = choices.playerName;
  g_engine = app.GetDx();
  if (app.Create(GAME_TITLE, kWindowStyle, 0, nullptr, nullptr, nullptr, config,
                 GetInstanceHandle(), false)) {
    bool blocking = false;
    RunMessageLoop(&blocking, OnIdle, nullptr);
  }
  g_engine = nullptr;
  g_app = nullptr;
  return app.dataMissing ? kExitDataMissing : 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  StartupFramework(instance, showCommand, STARTUP_WINSOCK | STARTUP_XAUDIO2);
  SetApplicationIcons(kIconId, kIconId);
  SDxConfig config;

  SDxSettings* settings = new SDxSettings;
  bool chosen = settings->Run(GAME_TITLE, &config, GAME_REGISTRY_KEY);
  delete settings;
  if (!chosen) {
    ShutdownFramework();
    return 0;
  }

  StartupChoices choices;
  RunPlayerDialog(&choices);
  int exitCode = choices.confirmed ? RunGame(choices, &config) : 0;

  choices.playerCode.Empty();
  choices.playerName.Empty();
  ShutdownFramework();
  return exitCode;
}
