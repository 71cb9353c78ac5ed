// The front end on the real application object and engine: keys through
// the window procedure, the engine's clock stepped a frame at a time.
#include "core/Platform.h"

#include "app/GameWindow.h"
#include "engine/SDxParticle.h"
#include "engine/SDxSound.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"

#include <array>
#include <initializer_list>
#include <math.h>
#include <string>
#include <vector>
#include <xinput.h>

namespace {

class Menu : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(game.Open()); }

  PMenu& menu() { return game.Menu(); }
  PWnd& app() { return game.app; }
  // Every menu sound stopped, so that Played tells what the next frames
  // started.
  void Silence() { app().dx.StopAllSounds(nullptr, 0.0f); }
  bool Played(int channel) {
    SDxSound* sound = app().dx.GetSound(channel);
    return sound && sound->m_loaded && !sound->m_flushed;
  }
  // The states of one difficulty: every cell with a level locked, then the
  // listed cells set.
  void SetCells(int difficulty, std::initializer_list<std::array<int, 3>> cells) {
    app().ResetProgress(difficulty, false);
    app().difficultyUnlocked[difficulty] = true;
    for (const auto& cell : cells) app().cellStates[difficulty][cell[0]][cell[1]] = cell[2];
  }
  // The world map of difficulty 0 with the cursor on the cell.
  void OpenMap(int world, int level) {
    menu().difficulty = 0;
    menu().SetMapCell(world, level);
    menu().GoToPage(PMenu::PAGE_MAP);
  }
  bool PostedClose() {
    MSG message;
    return ::PeekMessageA(&message, app().m_hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
  }

  GameWindow game;
};

TEST_F(Menu, LoadShowsOnlyTheMainPageWithItsMusic) {
  PMenu& m = menu();
  EXPECT_EQ(PWnd::MODE_MENU, app().GetMode());
  EXPECT_EQ(PMenu::PAGE_MAIN, m.page);
  ASSERT_NE(nullptr, m.background);
  ASSERT_NE(nullptr, m.pageImages[PMenu::SLOT_MAIN]);
  EXPECT_EQ(m.pageImages[PMenu::SLOT_MAIN], m.background->m_texture);
  for (int slot = 1; slot < PMenu::PAGE_IMAGES; ++slot) EXPECT_EQ(nullptr, m.pageImages[slot]);
  EXPECT_EQ(4, app().dx.m_sounds.GetCount());
  for (int channel = 0; channel < 4; ++channel) {
    ASSERT_NE(nullptr, app().dx.GetSound(channel));
    EXPECT_TRUE(app().dx.GetSound(channel)->m_loaded) << channel;
  }
  EXPECT_TRUE(app().dx.GetSound(PMenu::SOUND_MUSIC)->m_loop);
  EXPECT_TRUE(Played(PMenu::SOUND_MUSIC));
  EXPECT_FLOAT_EQ(0.5f, app().dx.GetSound(PMenu::SOUND_MUSIC)->m_volume);
  // The main page shows its orbiting spark and the item sweep; the rest
  // waits for its page.
  EXPECT_TRUE(m.orbitSpark->IsVisible());
  EXPECT_TRUE(m.itemSpark->IsEmitting());
  EXPECT_FALSE(m.twinSparks[0]->IsVisible());
  EXPECT_FALSE(m.cellSpark->IsVisible());
  for (SDxSprite* arrow : m.arrows) EXPECT_FALSE(arrow->IsVisible());
  for (SDxSprite* link : m.links) EXPECT_FALSE(link->IsVisible());
  for (auto& row : m.cells)
    for (SDxSprite* cell : row) EXPECT_FALSE(cell->IsVisible());
  EXPECT_FALSE(m.levelName->IsVisible());
  EXPECT_FALSE(m.difficultySprite->IsVisible());
  SDxText* texts[] = {m.infoLabels, m.infoValues, m.rankTexts[0], m.listTexts[11], m.playerLabel};
  for (SDxText* text : texts) {
    ASSERT_NE(nullptr, text);
    EXPECT_FALSE(text->IsActive());
  }
  // The item spark sweeps the selected item between its ends.
  game.Step(10);
  D3DXVECTOR3 p = m.itemSpark->m_position;
  EXPECT_GE(p.x, 206.0f);
  EXPECT_LE(p.x, 435.0f);
  EXPECT_FLOAT_EQ(-125.0f, p.y);
}

// Key sequences from the main page and the page and selection each leaves.
TEST_F(Menu, PageTransitions) {
  struct Case {
    const char* what;
    std::vector<int> keys;
    int page, selection;
  } cases[] = {
      {"play", {VK_RETURN}, PMenu::PAGE_DIFFICULTY, 1},
      {"difficulty back", {VK_RETURN, VK_ESCAPE}, PMenu::PAGE_MAIN, 0},
      {"help", {VK_DOWN, VK_DOWN, VK_RETURN}, PMenu::PAGE_HELP, 0},
      {"credits", {VK_DOWN, VK_DOWN, VK_CONTROL, VK_RETURN}, PMenu::PAGE_CREDITS, 0},
      {"credits back", {VK_DOWN, VK_DOWN, VK_RETURN, VK_RETURN, VK_ESCAPE}, PMenu::PAGE_HELP, 0},
      {"credits confirm", {VK_DOWN, VK_DOWN, VK_RETURN, VK_RETURN, VK_RETURN}, PMenu::PAGE_MAIN, 0},
      {"help back", {VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE}, PMenu::PAGE_MAIN, 0},
      {"escape selects quit", {VK_ESCAPE}, PMenu::PAGE_MAIN, 3},
      {"no wrap at the top", {VK_UP}, PMenu::PAGE_MAIN, 0},
      {"no wrap at the bottom", {VK_ESCAPE, VK_DOWN}, PMenu::PAGE_MAIN, 3},
      {"difficulty up", {VK_RETURN, VK_UP, VK_UP}, PMenu::PAGE_DIFFICULTY, 0},
      {"difficulty down", {VK_RETURN, VK_DOWN, VK_DOWN}, PMenu::PAGE_DIFFICULTY, 2},
  };
  for (const Case& c : cases) {
    menu().GoToPage(PMenu::PAGE_MAIN);
    for (int key : c.keys) game.Press(key);
    game.Step();
    EXPECT_EQ(c.page, menu().page) << c.what;
    EXPECT_EQ(c.selection, menu().selection) << c.what;
  }
  EXPECT_FALSE(PostedClose());
}

TEST_F(Menu, MainPageQuitsOnlyFromItsLastItem) {
  // Escape with item 3 selected, or Confirm on it, closes the window.
  for (std::vector<int> keys : {std::vector<int>{VK_ESCAPE, VK_ESCAPE},
                                std::vector<int>{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}}) {
    menu().GoToPage(PMenu::PAGE_MAIN);
    for (int key : keys) game.Press(key);
    EXPECT_TRUE(PostedClose());
  }
  // Confirm and Up in one frame: only the Confirm acts.
  menu().GoToPage(PMenu::PAGE_MAIN);
  game.Press(VK_DOWN);
  game.KeyDown(VK_UP);
  game.KeyDown(VK_RETURN);
  game.Step();
  EXPECT_EQ(PMenu::PAGE_MAIN, menu().page);
  EXPECT_EQ(1, menu().selection);
  EXPECT_STREQ("YOU ARE NOT CONNECTED", app().dx.m_overlayLine.GetText());
  game.KeyUp(VK_UP);
  game.KeyUp(VK_RETURN);
  // Escape and Return together: item 3 is selected, then quits.
  menu().GoToPage(PMenu::PAGE_MAIN);
  game.KeyDown(VK_ESCAPE);
  game.KeyDown(VK_RETURN);
  game.Step();
  EXPECT_TRUE(PostedClose());
}

TEST_F(Menu, DifficultyOnFirstUseResetsItAndOffersTheLesson) {
  app().ResetProgress(2, false);
  app().cellStates[2][0][0] = 3;
  game.Press(VK_RETURN);
  game.Press(VK_DOWN);
  Silence();
  game.Press(VK_RETURN);
  EXPECT_EQ(PMenu::PAGE_LESSON, menu().page);
  EXPECT_TRUE(Played(PMenu::SOUND_BUTTON));
  EXPECT_EQ(2, menu().difficulty);
  EXPECT_TRUE(app().difficultyUnlocked[2]);
  EXPECT_EQ(2, app().cellStates[2][0][0]);
  // Saved: a new application object reads the difficulty as begun.
  PWnd reader;
  reader.saveFolderPath = app().saveFolderPath;
  reader.LoadPlayer();
  EXPECT_TRUE(reader.IsDifficultyUnlocked(2));
  EXPECT_FALSE(reader.IsDifficultyUnlocked(1));

  // The lesson page has no Back; its second item opens the map on (0, 0).
  game.Press(VK_ESCAPE);
  EXPECT_EQ(PMenu::PAGE_LESSON, menu().page);
  game.Press(VK_DOWN);
  game.Press(VK_DOWN);
  EXPECT_EQ(1, menu().selection);
  game.Press(VK_RETURN);
  EXPECT_EQ(PMenu::PAGE_MAP, menu().page);
  EXPECT_EQ(0, menu().world);
  EXPECT_EQ(0, menu().level);

  // A begun difficulty goes straight to the map.
  game.Press(VK_ESCAPE);
  EXPECT_EQ(PMenu::PAGE_MAIN, menu().page);
  game.Press(VK_RETURN);
  game.Press(VK_DOWN);
  app().cellStates[2][0][0] = 3;
  game.Press(VK_RETURN);
  EXPECT_EQ(PMenu::PAGE_MAP, menu().page);
  EXPECT_EQ(3, app().cellStates[2][0][0]);
}

TEST_F(Menu, MapCursorEntersOpenAndDoneCellsOnly) {
  SetCells(0, {{0, 0, 3}, {1, 0, 2}, {2, 0, 3}, {0, 1, 1}, {2, 1, 2}});
  struct Case {
    int world, level, key;
    int toWorld, toLevel;
  } cases[] = {
      {0, 0, VK_RIGHT, 1, 0},  // open
      {1, 0, VK_RIGHT, 2, 0},  // done
      {1, 0, VK_LEFT, 0, 0},   //
      {0, 0, VK_DOWN, 0, 0},   // locked
      {0, 0, VK_UP, 0, 0},     // the border
      {0, 0, VK_LEFT, 0, 0},   //
      {1, 0, VK_DOWN, 1, 0},   // no level at (1, 1)
      {2, 0, VK_DOWN, 2, 1},   //
      {2, 1, VK_UP, 2, 0},     //
  };
  for (const Case& c : cases) {
    OpenMap(c.world, c.level);
    game.Step();
    Silence();
    game.Press(c.key);
    EXPECT_EQ(c.toWorld, menu().world) << c.world << c.level << " key " << c.key;
    EXPECT_EQ(c.toLevel, menu().level) << c.world << c.level << " key " << c.key;
    bool moved = c.toWorld != c.world || c.toLevel != c.level;
    EXPECT_EQ(moved, Played(PMenu::SOUND_CELL)) << c.world << c.level << " key " << c.key;
  }
  // Two directions in one frame move twice; the spark circles the cell.
  OpenMap(0, 0);
  game.KeyDown(VK_RIGHT);
  game.KeyDown(VK_DOWN);
  game.Step();
  EXPECT_EQ(1, menu().world);
  EXPECT_EQ(0, menu().level);
  game.KeyUp(VK_RIGHT);
  game.KeyUp(VK_DOWN);
  game.Step();
  D3DXVECTOR3 p = menu().cellSpark->m_position;
  EXPECT_NEAR(50.0f, hypotf(p.x + 535.0f, p.y - 329.0f), 0.01f);
  // Held keys never repeat a move.
  OpenMap(0, 0);
  game.KeyDown(VK_RIGHT);
  game.Step();
  game.KeyDown(VK_RIGHT);
  game.Step();
  game.KeyUp(VK_RIGHT);
  EXPECT_EQ(1, menu().world);
}

TEST_F(Menu, MapSideMenuAndConfirmation) {
  SetCells(0, {{0, 0, 3}, {1, 0, 2}});
  OpenMap(1, 0);
  EXPECT_EQ(0, menu().mapMode);
  EXPECT_EQ(1, menu().selection);
  game.Press(VK_RETURN);
  EXPECT_EQ(1, menu().mapMode);
  EXPECT_EQ(0, menu().selection);
  // The arrows move the side menu's selection, not the cell.
  for (int i = 0; i < 6; ++i) game.Press(VK_DOWN);
  EXPECT_EQ(4, menu().selection);
  EXPECT_EQ(1, menu().world);
  // Reset: the confirmation page opens on "no" and returns by Back.
  game.Press(VK_RETURN);
  EXPECT_EQ(PMenu::PAGE_CONFIRMATION, menu().page);
  EXPECT_EQ(PMenu::CONFIRM_RESET, menu().confirmPurpose);
  EXPECT_EQ(1, menu().selection);
  game.Press(VK_ESCAPE);
  EXPECT_EQ(PMenu::PAGE_MAP, menu().page);
  // "No" always goes to the map.
  menu().confirmPurpose = PMenu::CONFIRM_RESET;
  menu().GoToPage(PMenu::PAGE_CONFIRMATION);
  game.Press(VK_RETURN);
  EXPECT_EQ(PMenu::PAGE_MAP, menu().page);
  EXPECT_EQ(3, app().cellStates[0][0][0]);
  // Restore offline: the notice, and back to the map.
  game.Press(VK_RETURN);
  game.Press(VK_DOWN);
  game.Press(VK_DOWN);
  game.Press(VK_RETURN);
  EXPECT_EQ(PMenu::CONFIRM_RESTORE, menu().confirmPurpose);
  game.Press(VK_UP);
  game.Press(VK_RETURN);
  EXPECT_EQ(PMenu::PAGE_MAP, menu().page);
  EXPECT_STREQ("YOU ARE NOT CONNECTED", app().dx.m_overlayLine.GetText());
  // Yes on reset: the difficulty starts afresh on the lesson page.
  game.Press(VK_RETURN);
  for (int i = 0; i < 4; ++i) game.Press(VK_DOWN);
  game.Press(VK_RETURN);
  game.Press(VK_UP);
  game.Press(VK_RETURN);
  EXPECT_EQ(PMenu::PAGE_LESSON, menu().page);
  EXPECT_EQ(2, app().cellStates[0][0][0]);
  EXPECT_EQ(1, app().cellStates[0][1][0]);
  EXPECT_EQ(0, menu().world);
  // Side menu item 1 goes back to the cells, item 3 to the main page.
  OpenMap(0, 0);
  game.Press(VK_RETURN);
  game.Press(VK_DOWN);
  game.Press(VK_RETURN);
  EXPECT_EQ(0, menu().mapMode);
  EXPECT_EQ(PMenu::PAGE_MAP, menu().page);
  game.Press(VK_RETURN);
  for (int i = 0; i < 3; ++i) game.Press(VK_DOWN);
  game.Press(VK_RETURN);
  EXPECT_EQ(PMenu::PAGE_MAIN, menu().page);
}

// The pad's B button on the map: the side menu in cell mode, the main page
// in side-menu mode.
XINPUT_STATE g_pad;
DWORD WINAPI PadState(DWORD pad, XINPUT_STATE* state) {
  if (pad != 0) return ERROR_DEVICE_NOT_CONNECTED;
  *state = g_pad;
  return ERROR_SUCCESS;
}

TEST_F(Menu, PadButtonBOnTheMap) {
  SetCells(0, {{0, 0, 2}});
  OpenMap(0, 0);
  SDx::s_xinputGetState = PadState;
  app().dx.m_xinput = true;
  memset(&g_pad, 0, sizeof(g_pad));
  game.Step();
  auto pressB = [this] {
    g_pad.Gamepad.wButtons = XINPUT_GAMEPAD_B;
    game.Step();
    g_pad.Gamepad.wButtons = 0;
    game.Step();
  };
  pressB();
  EXPECT_EQ(1, menu().mapMode);
  EXPECT_EQ(PMenu::PAGE_MAP, menu().page);
  pressB();
  EXPECT_EQ(PMenu::PAGE_MAIN, menu().page);
  // Pad A confirms on the main page.
  g_pad.Gamepad.wButtons = XINPUT_GAMEPAD_A;
  game.Step();
  g_pad.Gamepad.wButtons = 0;
  game.Step();
  EXPECT_EQ(PMenu::PAGE_DIFFICULTY, menu().page);
  app().dx.m_xinput = false;
  SDx::s_xinputGetState = nullptr;
}

TEST_F(Menu, LoadingPageEntersTheGame) {
  SetCells(0, {{0, 0, 2}});
  OpenMap(0, 0);
  game.Press(VK_RETURN);
  game.Press(VK_RETURN);
  EXPECT_EQ(PMenu::PAGE_LOADING, menu().page);
  EXPECT_EQ(menu().pageImages[PMenu::SLOT_LOADING], menu().background->m_texture);
  EXPECT_EQ(PWnd::MODE_MENU, app().GetMode());
  game.Step();
  EXPECT_EQ(PWnd::MODE_GAME, app().GetMode());
  EXPECT_EQ(0, app().game.world);
  EXPECT_EQ(0, app().game.level);
  EXPECT_EQ(0, app().game.difficulty);
  game.Step(3);

  // Back from the level: the map on the cell played, the menu reloaded.
  app().EnterMenu(PMenu::PAGE_MAP, -1, -1);
  EXPECT_EQ(PWnd::MODE_MENU, app().GetMode());
  EXPECT_EQ(PMenu::PAGE_MAP, menu().page);
  EXPECT_EQ(0, menu().world);
  EXPECT_TRUE(menu().cells[0][0]->IsVisible());
  // After the lesson the cursor goes to (0, 0).
  menu().SetMapCell(1, 1);
  app().EnterMenu(PMenu::PAGE_MAP, 0, 0);
  EXPECT_EQ(0, menu().world);
  EXPECT_EQ(0, menu().level);
}

TEST_F(Menu, AccessCodeStartsTheBonusLevelAfterItsLoadingImage) {
  struct Case {
    const char* typed;
    bool starts;
  } cases[] = {
      {"QUARTZENG", true},    {"QUARTXZENG", true},  // letters outside the code change nothing
      {"QUARTAZENG", false},                         // a code letter too many
      {"QUAQUARTZENG", true},                        // the first letter starts afresh
      {"QUARTZEN", false},                           // not confirmed
      {"UARTZENG", false},
  };
  for (const Case& c : cases) {
    menu().GoToPage(PMenu::PAGE_MAIN);
    menu().typedCode.Set("");
    game.Type(c.typed);
    EXPECT_EQ(c.starts ? PMenu::PAGE_LOADING : PMenu::PAGE_MAIN, menu().page) << c.typed;
  }
  // A held letter repeats.
  menu().GoToPage(PMenu::PAGE_MAIN);
  game.Type("QUARTZ");
  game.KeyDown('E');
  game.Step();
  game.KeyDown('E');
  game.Step();
  game.KeyUp('E');
  EXPECT_STREQ("QUARTZEE", menu().typedCode.GetText());
  game.Type("NG");
  EXPECT_EQ(PMenu::PAGE_MAIN, menu().page);

  // The bonus level keeps its own loading image for 2 s.
  game.Type("QUARTZENG");
  EXPECT_EQ(PMenu::PAGE_LOADING, menu().page);
  EXPECT_EQ(menu().pageImages[PMenu::SLOT_LOADING_BONUS], menu().background->m_texture);
  EXPECT_STREQ("", menu().typedCode.GetText());
  EXPECT_EQ(1, menu().difficulty);
  game.Wait(1.9f);
  EXPECT_EQ(PWnd::MODE_MENU, app().GetMode());
  game.Wait(0.2f);
  EXPECT_EQ(PWnd::MODE_GAME, app().GetMode());
  EXPECT_EQ(3, app().game.world);
  EXPECT_EQ(3, app().game.level);
  EXPECT_EQ(1, app().game.difficulty);
}

TEST_F(Menu, KeyChordStartsTheCentreLevel) {
  for (char key : PMenu::kChordKeys) game.KeyDown(key);
  game.Step();
  EXPECT_EQ(PMenu::PAGE_LOADING, menu().page);
  for (char key : PMenu::kChordKeys) game.KeyUp(key);
  game.Step();
  EXPECT_EQ(PWnd::MODE_GAME, app().GetMode());
  EXPECT_TRUE(app().game.IsCentreLevel());
  EXPECT_EQ(1, app().game.difficulty);
}

TEST_F(Menu, EndPageIgnoresEscapeForTwoSeconds) {
  app().EnterMenu(PMenu::PAGE_END, -1, -1);
  EXPECT_EQ(menu().pageImages[17], menu().background->m_texture);
  game.Press(VK_RETURN);
  game.Press(VK_ESCAPE);
  game.Wait(1.8f);
  game.Press(VK_ESCAPE);
  EXPECT_EQ(PMenu::PAGE_END, menu().page);
  game.Wait(0.2f);
  game.Press(VK_RETURN);
  EXPECT_EQ(PMenu::PAGE_END, menu().page);
  game.Press(VK_ESCAPE);
  EXPECT_EQ(PMenu::PAGE_MAIN, menu().page);
}

TEST_F(Menu, PagesOutsideTheRangeShowNothing) {
  SDxTexture* shown = menu().background->m_texture;
  for (int page : {0, 13, -1}) {
    menu().GoToPage(page);
    EXPECT_EQ(shown, menu().background->m_texture) << page;
    game.Press(VK_RETURN);
    game.Press(VK_ESCAPE);
    EXPECT_EQ(page, menu().page);
    EXPECT_FALSE(menu().orbitSpark->IsVisible());
  }
}

// The information panel of the selected cell, offline.
TEST_F(Menu, LevelInformationOffline) {
  const char kRating2[] = "\x95 \x95 \xB7 \xB7\n";
  struct Case {
    int difficulty, world, level, best;
    const char* labels;
    std::string values;
  } cases[] = {
      {0, 0, 0, 0, "Name\nWorld\nMode\nLength\nDexterity\nPuzzle\nBest Time\nRank",
       "ABU RAWASH\nAncient Egypt\nClassic Level\n\x95 \xB7 \xB7 \xB7\n\x95 \xB7 \xB7 \xB7\n"
       "\x95 \xB7 \xB7 \xB7\nN/A\nOffline"},
      {0, 2, 2, 10149, "Name\nWorld\nMode\nBest Time\nRank",
       "SAQQARA\nAncient Egypt\nBoss Level\n1:41.49\nOffline"},
      {2, 0, 2, 7100,
       "Name\nWorld\nMode\nLength\nDexterity\nPuzzle\nQualification\nBest Time\nRank",
       std::string("SATURN\nSci-Fi\nRacing Level\n") + kRating2 + kRating2 +
           "\x95 \xB7 \xB7 \xB7\n1:08\n1:11.00\nOffline"},
      // A rating of 0 adds no value line: the later values move up.
      {1, 3, 3, 0, "Name\nWorld\nMode\nLength\nDexterity\nPuzzle\nBest Time\nRank",
       "\nClassic Level\n\x95 \x95 \x95 \x95\nN/A\nOffline"},
  };
  for (const Case& c : cases) {
    menu().GoToPage(PMenu::PAGE_MAP);
    menu().difficulty = c.difficulty;
    menu().SetMapCell(c.world, c.level);
    app().bestTimes[c.difficulty][c.world][c.level] = c.best;
    menu().DrawLevelInfo();
    EXPECT_STREQ(c.labels, menu().infoLabels->m_text.GetText()) << c.world << c.level;
    EXPECT_EQ(c.values, menu().infoValues->m_text.GetText()) << c.world << c.level;
    EXPECT_EQ(c.best / 6000, menu().timeDigits[0]->GetNumber());
    EXPECT_EQ(c.best / 100 % 60, menu().timeDigits[2]->GetNumber());
    EXPECT_EQ(c.best % 100, menu().timeDigits[4]->GetNumber());
    EXPECT_EQ(menu().nameImages[c.world][c.level], menu().levelName->m_texture);
  }
}

TEST_F(Menu, CellsLinksAndArrowsFollowTheDoneCells) {
  // The top-left quadrant done; (3, 0) open, (4, 0) locked.
  SetCells(
      0, {{0, 0, 3}, {1, 0, 3}, {2, 0, 3}, {0, 1, 3}, {2, 1, 3}, {0, 2, 3}, {1, 2, 3}, {3, 0, 2}});
  OpenMap(0, 0);
  PMenu& m = menu();
  EXPECT_EQ(m.cellImages[0][1], m.cells[0][0]->m_texture);  // Egypt, done
  EXPECT_EQ(m.cellImages[1][1], m.cells[1][0]->m_texture);  // Medieval, done
  EXPECT_EQ(m.cellImages[1][0], m.cells[3][0]->m_texture);  // Medieval, open
  EXPECT_TRUE(m.cells[3][0]->IsVisible());
  EXPECT_FALSE(m.cells[4][0]->IsVisible());
  EXPECT_EQ(128, m.cells[3][0]->GetAlpha());
  struct Link {
    int index;
    bool on;
  } links[] = {{0, true}, {2, true}, {3, false}, {6, false}, {9, true}, {10, false}};
  for (const Link& link : links) {
    int kind = link.index == 6 ? 1 : 0;
    EXPECT_EQ(m.linkImages[link.on][kind], m.links[link.index]->m_texture) << link.index;
    EXPECT_TRUE(m.links[link.index]->IsVisible());
  }
  EXPECT_EQ(m.arrowImages[1][0], m.arrows[0]->m_texture);
  for (int k = 1; k < 4; ++k) EXPECT_EQ(m.arrowImages[0][k], m.arrows[k]->m_texture) << k;
  // The background follows the selected cell's theme.
  EXPECT_EQ(m.pageImages[PMenu::SLOT_MAP], m.background->m_texture);
  game.Press(VK_RIGHT);
  EXPECT_EQ(m.pageImages[PMenu::SLOT_MAP + 1], m.background->m_texture);
  game.Press(VK_RIGHT);
  EXPECT_EQ(m.pageImages[PMenu::SLOT_MAP + 2], m.background->m_texture);
  // Leaving the map hides it all.
  game.Press(VK_ESCAPE);
  for (SDxSprite* sprite :
       {m.cells[0][0], m.links[0], m.arrows[0], m.levelName, m.difficultySprite})
    EXPECT_FALSE(sprite->IsVisible());
  EXPECT_FALSE(m.infoLabels->IsActive());
  EXPECT_FALSE(m.cellSpark->IsVisible());
}

// The lesson page starts the lesson; P pauses the run (and nothing in the
// menu); Escape leaves the lesson for the map with the cursor on (0, 0).
TEST_F(Menu, LessonRunPausesAndReturnsToTheMap) {
  game.Press('P');
  EXPECT_FALSE(app().dx.IsPaused());
  EXPECT_EQ(PMenu::PAGE_MAIN, menu().page);
  app().difficultyUnlocked[1] = true;
  menu().difficulty = 1;
  menu().GoToPage(PMenu::PAGE_LESSON);
  game.Press(VK_RETURN);
  game.Step();
  ASSERT_EQ(PWnd::MODE_GAME, app().GetMode());
  ASSERT_TRUE(app().game.IsLessonLevel());
  game.Step(5);
  EXPECT_TRUE(app().game.IsRunning());
  game.Press('P');
  EXPECT_TRUE(app().dx.IsPaused());
  game.Press('P');
  EXPECT_FALSE(app().dx.IsPaused());
  game.Press(VK_ESCAPE);
  EXPECT_EQ(PWnd::MODE_MENU, app().GetMode());
  EXPECT_EQ(PMenu::PAGE_MAP, menu().page);
  EXPECT_EQ(0, menu().world);
  EXPECT_EQ(0, menu().level);
  EXPECT_EQ(1, menu().difficulty);
  // The menu's frames run again on the map.
  game.Press(VK_ESCAPE);
  EXPECT_EQ(PMenu::PAGE_MAIN, menu().page);
}

// A lost device in the menu: the menu is reloaded on its main page.
int g_lostPresents = 0;
HRESULT LosePresents(int call, HRESULT result, void*) {
  if (call == SDx::D3DCALL_PRESENT && g_lostPresents > 0) {
    --g_lostPresents;
    return D3DERR_DEVICELOST;
  }
  return result;
}

TEST_F(Menu, LostDeviceReloadsTheMainPage) {
  game.Press(VK_RETURN);
  ASSERT_EQ(PMenu::PAGE_DIFFICULTY, menu().page);
  SDx::s_direct3DSeam = LosePresents;
  g_lostPresents = 1;
  game.Step(3);
  SDx::s_direct3DSeam = nullptr;
  EXPECT_EQ(PWnd::MODE_MENU, app().GetMode());
  EXPECT_EQ(PMenu::PAGE_MAIN, menu().page);
  ASSERT_NE(nullptr, menu().background);
  EXPECT_EQ(menu().pageImages[PMenu::SLOT_MAIN], menu().background->m_texture);
  EXPECT_TRUE(Played(PMenu::SOUND_MUSIC));
  game.Press(VK_RETURN);
  EXPECT_EQ(PMenu::PAGE_DIFFICULTY, menu().page);
}

}  // namespace
