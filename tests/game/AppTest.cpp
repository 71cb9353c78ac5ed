// The application object's tables, time formatting, loaders' names, ghost
// switches and the player dialog with its registry values.
#include "core/Platform.h"

#include "app/PDlgDemo.h"
#include "app/PWnd.h"
#include "core/SFileMem.h"
#include "core/SRegistry.h"
#include "window/FrameworkMessages.h"
#include "data/GameArchives.h"
#include "engine/SDxSound.h"
#include "support/TempFolder.h"
#include "window/SComboCtrl.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The game's registry key emptied before and after each test.
class GameRegistry : public ::testing::Test {
protected:
  void SetUp() override { Clear(); }
  void TearDown() override { Clear(); }
  static void Clear() { ::RegDeleteKeyA(HKEY_CURRENT_USER, GAME_REGISTRY_KEY); }
  static DWORD Number(const char* name) {
    SRegistry registry;
    return registry.GetNumber(HKEY_CURRENT_USER, GAME_REGISTRY_KEY, name);
  }
  static void SetNumber(const char* name, DWORD value) {
    SRegistry registry;
    registry.SetNumber(HKEY_CURRENT_USER, GAME_REGISTRY_KEY, name, value);
  }
};

TEST(Application, LevelTables) {
  PWnd app;
  EXPECT_EQ(0, app.GetMode());
  EXPECT_EQ(&app.game, g_game);
  for (int d = 0; d < 3; ++d) EXPECT_FALSE(app.IsDifficultyUnlocked(d));
  int levels = 0;
  for (int w = 0; w < 5; ++w)
    for (int l = 0; l < 5; ++l) levels += app.HasLevel(w, l);
  EXPECT_EQ(21, levels);
  for (auto cell :
       {std::make_pair(1, 1), std::make_pair(1, 3), std::make_pair(3, 1), std::make_pair(3, 3)})
    EXPECT_FALSE(app.HasLevel(cell.first, cell.second));
  EXPECT_STREQ("SAQQARA", app.levelNames[2][2].GetText());
  EXPECT_EQ(3, app.levelTheme[3][3]);
  EXPECT_EQ(2, app.levelMode[4][2]);
  EXPECT_EQ(4, app.levelLength[3][3]);
  EXPECT_EQ(10100, app.qualifyingTimes[0][4][2]);
  EXPECT_EQ(5600, app.qualifyingTimes[2][1][0]);
  for (int d = 0; d < 3; ++d) {
    EXPECT_EQ(0, app.qualifyingTimes[d][0][0]);  // classic
    EXPECT_EQ(0, app.qualifyingTimes[d][2][2]);  // centre
    EXPECT_EQ(0, app.qualifyingTimes[d][3][3]);
  }
  EXPECT_FALSE(app.IsOnline());
}

TEST(Application, FormatTime) {
  struct Case {
    int time;
    bool shortForm;
    const char* text;
  } cases[] = {{7100, false, "1:11.00"}, {10149, false, "1:41.49"}, {7100, true, "1:11"},
               {5600, false, "0:56.00"}, {5600, true, "0:56"},      {0, false, "0:00.00"}};
  for (const Case& c : cases) {
    SString text("old");
    EXPECT_STREQ(c.text, FormatTime(text, c.time, c.shortForm).GetText()) << c.time;
  }
}

TEST(Application, NormalMapEntryNames) {
  EXPECT_STREQ("hitech_wall_off+n.jpg", PWnd::NormalMapName("hitech_wall_off.jpg").GetText());
  EXPECT_STREQ("Wall+n.png", PWnd::NormalMapName("Wall.PNG").GetText());
  EXPECT_STREQ("a.b+n.jpg", PWnd::NormalMapName("a.b.jpg").GetText());
}

TEST_F(GameRegistry, GhostSwitchesRoundTrip) {
  PWnd app;
  app.ReadGhostSwitches();
  for (bool shown : app.showGhost) EXPECT_TRUE(shown);
  EXPECT_TRUE(app.showGhostNames);
  SetNumber("noGhost2", 1);
  app.ReadGhostSwitches();
  EXPECT_FALSE(app.showGhost[3]);
  EXPECT_TRUE(app.showGhost[2]);
  app.showGhostNames = false;
  app.WriteGhostSwitches();
  EXPECT_EQ(0u, Number("noGhost0"));
  EXPECT_EQ(1u, Number("noGhost2"));
  EXPECT_EQ(1u, Number("noGhostNames"));
}

TEST(Application, ModesWithoutADevice) {
  PWnd app;
  app.EnterMenu(1, -1, -1);
  EXPECT_EQ(PWnd::MODE_MENU, app.GetMode());

  // The level music is the run's: in the menu neither the restart nor the
  // music options reach a channel where the level's music would be, even
  // when one is there (a looped sound loaded by hand). Playing, it is not
  // stopped by music off nor turned by the volume; stopped, it is not
  // started by music on nor by the restart.
  g_app = &app;
  ASSERT_TRUE(GameArchives::Open(app.resSnd, "snd"));
  while (app.dx.m_sounds.GetCount() <= PGame::MUSIC_CHANNEL) app.LoadSound("alarm.wav", true, 1, 0);
  SDxSound* music = app.dx.GetSound(PGame::MUSIC_CHANNEL);
  ASSERT_TRUE(music->m_loaded);
  SDxConfig* settings = app.dx.GetConfig();
  settings->audio = 1;
  settings->music = 0;
  settings->musicVolume = 0.3f;
  EXPECT_EQ(music, app.dx.PlaySound(PGame::MUSIC_CHANNEL, false, 0.9f, 0.0f));
  app.dx.OnSettingChanged(settings, 3);
  app.dx.OnSettingChanged(settings, 4);
  EXPECT_TRUE(music->IsPlaying());
  EXPECT_FLOAT_EQ(0.9f, music->m_volume);
  app.dx.StopSound(PGame::MUSIC_CHANNEL, 0.0f);
  settings->music = 1;
  app.dx.OnSettingChanged(settings, 3);
  app.RestartLevelMusic();
  EXPECT_FALSE(music->IsPlaying());
  g_app = nullptr;

  app.LeaveMode();
  EXPECT_EQ(PWnd::MODE_MENU, app.GetMode());
}

// A sound entry whose name ends in '3' is decoded as compressed audio, any
// other as a WAVE file: each kind loads only the right way.
TEST(Application, SoundEntriesEndingIn3AreStreamed) {
  PWnd app;
  ASSERT_TRUE(GameArchives::Open(app.resSnd, "snd"));
  for (const char* name : {"menu.mp3", "MENU.MP3", "alarm.wav", "menu_button.wav"})
    EXPECT_TRUE(app.LoadSound(name, false, 1, 0)) << name;
}

// The player dialog built from the program's dialog text and run as the
// program runs it; the script acts once the modal run has started.
class PlayerDialog : public GameRegistry {
protected:
  // Creates the dialog, starts the modal run and lets the action act on it
  // (posting what ends the run).
  void Run(void (*action)(PDlgDemo*)) {
    SFileMem text;
    ASSERT_TRUE(text.LoadResource("BINARY", 129));
    ASSERT_TRUE(dialog.Create(&text));
    s_action = action;
    s_dialog = &dialog;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 10, &PlayerDialog::Tick);
    dialog.RunModal(0, 0);
    ::KillTimer(nullptr, timer);
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    if (s_action) s_action(s_dialog);
    s_action = nullptr;
  }
  static void Select(SComboCtrl* combo, int item) {
    combo->SetSelection(item);
    s_dialog->SendMessage(SWM_COMBOSELCHANGED, reinterpret_cast<WPARAM>(static_cast<SWnd*>(combo)),
                          0);
  }
  static void PressReturn(PDlgDemo* d) { d->PostMessage(SWM_MODALRETURN, 0, 0); }
  static void PressEscape(PDlgDemo* d) { d->PostMessage(SWM_MODALESCAPE, 0, 0); }

  PDlgDemo dialog;
  inline static void (*s_action)(PDlgDemo*) = nullptr;
  inline static PDlgDemo* s_dialog = nullptr;
};

TEST_F(PlayerDialog, DefaultsWithoutRegistryValues) {
  Run(PressReturn);
  EXPECT_TRUE(dialog.confirmed);
  EXPECT_EQ(1, dialog.profile);
  EXPECT_EQ(-1, dialog.onlineDifficulty);
  EXPECT_EQ(1u, Number("player"));
  EXPECT_EQ(0u, Number("difficulty1"));
}

TEST_F(PlayerDialog, StartWithEachDifficulty) {
  for (int item = 0; item < 4; ++item) {
    Clear();
    SetNumber("player", 3);
    SetNumber("difficulty3", (DWORD)item);
    PDlgDemo run;
    SFileMem text;
    ASSERT_TRUE(text.LoadResource("BINARY", 129));
    ASSERT_TRUE(run.Create(&text));
    s_dialog = &run;
    s_action = [](PDlgDemo* d) {
      d->SendMessage(SWM_BUTTONCLICKED, reinterpret_cast<WPARAM>(d->GetControlById(3)), 0);
    };
    UINT_PTR timer = ::SetTimer(nullptr, 0, 10, &PlayerDialog::Tick);
    run.RunModal(0, 0);
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(run.confirmed);
    EXPECT_EQ(3, run.profile);
    EXPECT_EQ(item - 1, run.onlineDifficulty) << item;
  }
}

TEST_F(PlayerDialog, ProfileSwitchStoresAndShowsDifficulties) {
  SetNumber("difficulty2", 3);
  Run([](PDlgDemo* d) {
    Select(d->comboDifficulty, 2);
    Select(d->comboPlayer, 1);
    PressReturn(d);
  });
  EXPECT_EQ(2u, Number("difficulty1"));
  EXPECT_EQ(2, dialog.profile);
  EXPECT_EQ(2, dialog.onlineDifficulty);
  EXPECT_EQ(2u, Number("player"));
}

TEST_F(PlayerDialog, OutOfRangeValuesOpenOnTheFirstProfileOffline) {
  SetNumber("player", 7);
  SetNumber("difficulty1", 9);
  Run(PressReturn);
  EXPECT_EQ(1, dialog.profile);
  EXPECT_EQ(-1, dialog.onlineDifficulty);
  EXPECT_EQ(0u, Number("difficulty1"));
}

TEST_F(PlayerDialog, EscapeConfirmsNothing) {
  Run(PressEscape);
  EXPECT_FALSE(dialog.confirmed);
  EXPECT_EQ(0u, Number("player"));
}

}  // namespace

// A machine whose Direct3D reports no hardware: the window is not created,
// after a message box titled "Error" with the engine's text. A data archive
// that is missing or damaged: the same, with a text that names it.
namespace {

HRESULT NoHardware(int call, HRESULT result, void*) {
  return call == SDx::D3DCALL_CAPS ? E_FAIL : result;
}

std::string g_boxText;

void CALLBACK CloseErrorBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = ::FindWindowA(nullptr, "Error");
  if (!box) return;
  char text[2048] = "";
  HWND label = ::FindWindowExA(box, nullptr, "Static", nullptr);
  while (label && !::GetWindowTextA(label, text, sizeof(text)))
    label = ::FindWindowExA(box, label, "Static", nullptr);
  g_boxText = text;
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
}

// Creates the game's window, answering the "Error" box when one comes;
// whether the window was created. The window's end posts the quit of the
// loop that never runs: it is taken from the queue.
bool CreateAnsweringErrors(PWnd& app) {
  g_app = &app;
  SDxConfig config;
  g_boxText.clear();
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, CloseErrorBox);
  bool created = app.Create(GAME_TITLE, 0xCF0000, 0, nullptr, nullptr, nullptr, &config);
  ::KillTimer(nullptr, timer);
  g_app = nullptr;
  MSG quit;
  EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  return created;
}

}  // namespace

TEST(Application, DeviceFailureShowsTheErrorAndCreatesNoWindow) {
  SDx::s_direct3DSeam = NoHardware;
  PWnd app;
  app.dataFolderPath = GameArchives::PathOf("").c_str();
  bool created = CreateAnsweringErrors(app);
  SDx::s_direct3DSeam = nullptr;
  EXPECT_FALSE(created);
  EXPECT_EQ(nullptr, app.m_hWnd);
  EXPECT_EQ("HAL not supported", g_boxText);
  EXPECT_FALSE(app.dataMissing);
  EXPECT_EQ(PWnd::MODE_NONE, app.GetMode());
}

TEST(Application, MissingOrDamagedArchivesAreNamedAndCreateNoWindow) {
  TempFolder folder;
  folder.Write("gravrun2.img", "not an archive");
  PWnd app;
  app.dataFolderPath = (folder.Path() + "\\").c_str();
  EXPECT_FALSE(CreateAnsweringErrors(app));
  EXPECT_EQ(nullptr, app.m_hWnd);
  EXPECT_TRUE(app.dataMissing);
  EXPECT_EQ(0u, g_boxText.find("These data files of the game are missing or damaged:"))
      << g_boxText;
  for (const char* file :
       {"gravrun2.img", "gravrun2.snd", "gravrun2.obj", "gravrun2.fx", "gravrun2.dat"}) {
    EXPECT_NE(std::string::npos, g_boxText.find(folder.File(file))) << file;
  }
  EXPECT_EQ(PWnd::MODE_NONE, app.GetMode());
}
