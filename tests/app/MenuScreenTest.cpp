// What the front end puts on the screen: the presented picture of each page
// kind against its background image, and the map's items where they are
// placed (each hidden and shown again changes the picture there only).
#include "core/Platform.h"

#include "app/GameWindow.h"
#include "core/SImage.h"
#include "engine/SDxParticle.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"
#include "tests/support/TextureImage.h"

#include <algorithm>
#include <stdlib.h>

namespace {

// A point of the screen in percent.
struct Place {
  float x, y;
};

// Points that no item of any page covers.
const Place kClearPlaces[] = {{1.5f, 50.0f}, {50.0f, 1.0f}, {1.5f, 97.0f}};

int PixelX(const Pixels& shot, float x) { return int(x / 100.0f * shot.width); }
int PixelY(const Pixels& shot, float y) { return int(y / 100.0f * shot.height); }

// The largest channel difference of two pictures in the box of the given
// half size (pixels) around the place.
int Difference(const Pixels& a, const Pixels& b, Place place, int half) {
  int most = 0;
  int cx = PixelX(a, place.x), cy = PixelY(a, place.y);
  for (int y = cy - half; y <= cy + half; ++y)
    for (int x = cx - half; x <= cx + half; ++x) {
      if (x < 0 || y < 0 || x >= a.width || y >= a.height) continue;
      for (int c = 0; c < 3; ++c)
        most = std::max(most, abs(a.Channel(x, y, c) - b.Channel(x, y, c)));
    }
  return most;
}

int Brightest(const Pixels& shot) {
  int most = 0;
  for (int y = 0; y < shot.height; ++y)
    for (int x = 0; x < shot.width; ++x)
      for (int c = 0; c < 3; ++c) most = std::max(most, shot.Channel(x, y, c));
  return most;
}

class MenuScreens : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(game.Open()); }

  // The image entry decoded on its own, as the engine decodes it.
  bool LoadImage(const char* name, SImage* image) {
    SResource archive;
    SFileMem bytes;
    return GameArchives::Open(archive, "img") && GameArchives::Load(archive, name, bytes) &&
           DecodeAsTexture(game.app.dx.m_device, bytes, image);
  }
  PMenu& menu() { return game.Menu(); }

  GameWindow game;
};

TEST_F(MenuScreens, EachPageShowsItsBackgroundImage) {
  struct Case {
    int page;
    const char* image;
  } cases[] = {
      {PMenu::PAGE_MAIN, "menu_main.jpg"},
      {PMenu::PAGE_HELP, "menu_help.jpg"},
      {PMenu::PAGE_CREDITS, "menu_credits.jpg"},
      {PMenu::PAGE_CONFIRMATION, "menu_confirmation.jpg"},
      {PMenu::PAGE_DIFFICULTY, "menu_difficulty.jpg"},
      {PMenu::PAGE_LESSON, "menu_lesson.jpg"},
      {PMenu::PAGE_MAP, "menu_map_egypt.jpg"},
      {PMenu::PAGE_ONLINE, "menu_online.jpg"},
      {PMenu::PAGE_SCORES, "menu_scores_egypt.jpg"},
      {PMenu::PAGE_PLAYERS, "menu_players.jpg"},
      {PMenu::PAGE_LOADING, "menu_loading.jpg"},
      {PMenu::PAGE_END, "menu_end.jpg"},
  };
  game.app.ResetProgress(0, false);
  for (const Case& c : cases) {
    menu().SetMapCell(0, 0);
    Pixels shot;
    if (c.page == PMenu::PAGE_LOADING) {
      // The loading image is seen in the frame that enters its page; the
      // level would start in the next.
      menu().GoToPage(PMenu::PAGE_LESSON);
      game.KeyDown(VK_RETURN);
      shot = game.Shot();
      game.KeyUp(VK_RETURN);
      menu().SetMapCell(0, 0);
    } else {
      menu().GoToPage(c.page);
      game.Step();
      shot = game.Shot();
    }
    EXPECT_EQ(c.page, menu().page);
    ASSERT_GT(shot.width, 0);
    EXPECT_GT(Brightest(shot), 100) << c.image;
    SImage image;
    ASSERT_TRUE(LoadImage(c.image, &image)) << c.image;
    Gdiplus::Bitmap* bitmap = image.GetBitmap();
    for (const Place& place : kClearPlaces) {
      Gdiplus::Color expected;
      bitmap->GetPixel(int(place.x / 100.0f * image.GetWidth()),
                       int(place.y / 100.0f * image.GetHeight()), &expected);
      int x = PixelX(shot, place.x), y = PixelY(shot, place.y);
      EXPECT_NEAR(expected.GetR(), shot.Red(x, y), 12)
          << c.image << " at " << place.x << ", " << place.y;
      EXPECT_NEAR(expected.GetG(), shot.Green(x, y), 12)
          << c.image << " at " << place.x << ", " << place.y;
      EXPECT_NEAR(expected.GetB(), shot.Blue(x, y), 12)
          << c.image << " at " << place.x << ", " << place.y;
    }
    if (c.page == PMenu::PAGE_LOADING) game.app.EnterMenu(PMenu::PAGE_MAIN, -1, -1);
  }
}

// The sparks are drawn over the page: the main page's orbit circles the
// ring of its image.
TEST_F(MenuScreens, SparksShowOverThePage) {
  game.Wait(1.0f);
  Pixels shown = game.Shot();
  menu().orbitSpark->SetVisible(false);
  Pixels hidden = game.Shot();
  EXPECT_GT(Difference(shown, hidden, {30.7f, 49.6f}, 50), 40);
  for (const Place& place : kClearPlaces) EXPECT_EQ(0, Difference(shown, hidden, place, 2));
}

TEST_F(MenuScreens, MapItemsAppearWhereTheyArePlaced) {
  PWnd& app = game.app;
  app.ResetProgress(0, false);
  app.cellStates[0][0][0] = 3;
  app.cellStates[0][1][0] = 2;
  app.bestTimes[0][0][0] = 10149;
  menu().SetMapCell(0, 0);
  menu().GoToPage(PMenu::PAGE_MAP);
  // The sparks move from frame to frame: out of the way.
  menu().cellSpark->Reset();
  menu().itemSpark->Reset();
  game.Step();
  PMenu& m = menu();
  struct Case {
    const char* what;
    SDxLayerItem* item;
    Place place;
    int half;
  } cases[] = {
      {"cell (0, 0)", m.cells[0][0], {14.11f, 20.10f}, 12},
      {"cell (1, 0)", m.cells[1][0], {22.39f, 20.10f}, 12},
      {"link 0", m.links[0], {18.48f, 20.09f}, 4},
      {"arrow 0", m.arrows[0], {26.04f, 40.74f}, 6},
      {"level name", m.levelName, {31.0f, 6.5f}, 12},
      {"minutes digit", m.timeDigits[0], {27.5f, 10.0f}, 4},
      {"hundredths digits", m.timeDigits[4], {33.0f, 10.0f}, 4},
      {"difficulty", m.difficultySprite, {95.0f, 96.0f}, 12},
      {"labels", m.infoLabels, {77.0f, 20.0f}, 20},
      {"values", m.infoValues, {88.0f, 20.0f}, 20},
  };
  for (const Case& c : cases) {
    Pixels shown = game.Shot();
    bool text = c.item->GetKind() == SDxLayerItem::KIND_TEXT;
    if (text) {
      c.item->SetActive(false);
    } else {
      c.item->SetVisible(false);
    }
    Pixels hidden = game.Shot();
    if (text) {
      c.item->SetActive(true);
    } else {
      c.item->SetVisible(true);
    }
    EXPECT_GT(Difference(shown, hidden, c.place, c.half), 20) << c.what;
    for (const Place& place : kClearPlaces)
      EXPECT_EQ(0, Difference(shown, hidden, place, 2)) << c.what;
  }
}

}  // namespace
