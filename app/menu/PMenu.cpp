// The front end's life (load, unload), page switching, the per-frame step
// and what every page shares: input, sounds and the item sweep.
#include "core/Platform.h"

#include "app/PWnd.h"
#include "app/menu/PMenu.h"
#include "engine/SDxCamera.h"
#include "engine/SDxLayer.h"
#include "engine/SDxParticle.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"
#include "game/PGame.h"

#include <math.h>

namespace {

// Page background images by slot; the pages' table below names the slots.
const char* const kPageImages[PMenu::PAGE_IMAGES] = {
    "menu_main.jpg",          "menu_help.jpg",         "menu_credits.jpg",
    "menu_confirmation.jpg",  "menu_difficulty.jpg",   "menu_lesson.jpg",
    "menu_map_egypt.jpg",     "menu_map_medieval.jpg", "menu_map_hitech.jpg",
    "menu_online.jpg",        "menu_scores_egypt.jpg", "menu_scores_medieval.jpg",
    "menu_scores_hitech.jpg", "menu_players.jpg",      "menu_loading.jpg",
    "menu_loadingonline.jpg", "menu_loading.png",      "menu_end.jpg",
};

// The background slot a page shows on entry, by page 1..12 (index 0 is no
// page); the loading page chooses among its three at entry.
const int kPageSlots[PMenu::PAGE_END + 1] = {
    -1, 0, 1, 2, 3, 4, 5, PMenu::SLOT_MAP, 9, PMenu::SLOT_SCORES, 13, PMenu::SLOT_LOADING, 17};

// The handler of each page 1..12.
void (PMenu::*const kHandlers[PMenu::PAGE_END + 1])() = {
    nullptr,
    &PMenu::PageMain,
    &PMenu::PageHelp,
    &PMenu::PageCredits,
    &PMenu::PageConfirmation,
    &PMenu::PageDifficulty,
    &PMenu::PageLesson,
    &PMenu::PageMap,
    &PMenu::PageOnline,
    &PMenu::PageScores,
    &PMenu::PagePlayers,
    &PMenu::PageLoading,
    &PMenu::PageEnd,
};

// Left end, right end and height of each page item, in scene units (entry 9
// is not used).
const float kItemEnds[PMenu::ITEM_ENDS][3] = {
    {206, 435, -125}, {140, 490, -224}, {206, 435, -322}, {206, 435, -421},
    {206, 435, -83},  {132, 500, -182}, {100, 532, -280}, {206, 435, -372},
    {100, 545, -471}, {0, 0, 0},        {150, 495, 0},    {256, 385, -125},
    {256, 385, -224}, {140, 490, -125}, {130, 502, -224}, {206, 435, -421},
};

// Centre x, y and circling radius of each map cell, [world][level]; the
// cells without a map level have none.
const float kCellPoints[PMenu::MAP_SIZE][PMenu::MAP_SIZE][3] = {
    {{-700, 329, 50}, {-699, 166, 50}, {-700, 4, 50}, {-700, -162, 50}, {-700, -327, 50}},
    {{-535, 329, 50}, {0, 0, 0}, {-535, 4, 50}, {0, 0, 0}, {-535, -327, 50}},
    {{-374, 329, 50}, {-374, 166, 50}, {-374, 4, 65}, {-374, -162, 50}, {-374, -327, 50}},
    {{-212, 329, 50}, {0, 0, 0}, {-212, 4, 50}, {0, 0, 0}, {-212, -327, 50}},
    {{-52, 329, 50}, {-52, 166, 50}, {-52, 4, 50}, {-52, -162, 50}, {-52, -327, 50}},
};

// Screen places (percent) of the map cells: x by world, y by level.
const float kCellX[PMenu::MAP_SIZE] = {14.11f, 22.39f, 30.72f, 39.06f, 47.39f};
const float kCellY[PMenu::MAP_SIZE] = {20.10f, 35.12f, 49.81f, 64.81f, 80.09f};
const float kArrowPlaces[4][2] = {
    {26.04f, 40.74f}, {35.93f, 40.74f}, {26.04f, 57.40f}, {35.93f, 57.40f}};

// The best-time digits: x, and the minimum digits of a number (0: a
// separator frame).
const struct {
  float x;
  int digits;
  int frame;
} kTimeDigits[5] = {
    {27.5f, 1, 0}, {28.5f, 0, PGame::DIGIT_FRAME_MINUTES},
    {29.5f, 2, 0}, {32.0f, 0, PGame::DIGIT_FRAME_HUNDREDTHS},
    {33.0f, 2, 0},
};

const char* const kThemeNames[PMenu::MENU_THEMES] = {"egypt", "medieval", "hitech"};
const char* const kDifficultyImages[3] = {"easy.png", "normal.png", "hard.png"};

const float kMenuVolume = 0.5f;
const int kSparkCapacity = 250;

// Text items: size, rectangle (percent), alignment and colour.
struct TextLayout {
  float size;
  float left, top, right, bottom;
  DWORD align;
  D3DCOLOR colour;
};
const D3DCOLOR kDefaultText = 0xFFFFFFFF;
const TextLayout kInfoLabels = {
    2.0f, 73.17f, 14.5f, 82.0f, 50.0f, DT_LEFT, D3DCOLOR_ARGB(255, 192, 128, 0)};
const TextLayout kInfoValues = {
    2.0f, 82.0f, 14.5f, 96.87f, 50.0f, DT_LEFT, D3DCOLOR_ARGB(255, 192, 192, 192)};
const TextLayout kRankTexts[3] = {
    {1.9f, 70.0f, 42.0f, 74.0f, 52.0f, DT_CENTER, kDefaultText},
    {1.9f, 74.0f, 42.0f, 92.0f, 52.0f, DT_LEFT, kDefaultText},
    {1.9f, 92.0f, 42.0f, 99.0f, 52.0f, DT_CENTER, kDefaultText},
};
// The players list: left and right of its twelve zero-height texts.
const float kListColumns[12][2] = {
    {2.34f, 5.62f},   {5.62f, 8.95f},   {9.68f, 25.52f},  {26.45f, 29.68f},
    {29.68f, 33.02f}, {33.96f, 49.58f}, {50.62f, 53.85f}, {53.85f, 57.29f},
    {58.22f, 73.75f}, {74.68f, 78.02f}, {78.02f, 81.46f}, {82.39f, 97.91f},
};
const float kListTop = 13.0f;
const TextLayout kPlayerLabel = {2.0f, 98.0f, 1.5f, 98.0f, 1.5f, DT_RIGHT, kDefaultText};

void Show(SDxLayerItem* item, bool shown) {
  if (item) item->SetVisible(shown);
}

void Activate(SDxText* text, bool active) {
  if (text) text->SetActive(active);
}

// Emits without end from where it is; shown.
void StartSpark(SDxParticlePoint* spark) {
  if (spark) spark->Start(nullptr, -1.0f, 0.0f);
}

// Emission ends, the live sparks go and the emitter is hidden.
void StopSpark(SDxParticlePoint* spark) {
  if (spark) spark->Reset();
}

SDxText* AddText(SDxLayer* layer, const TextLayout& layout) {
  SDxText* text =
      layer->AddText("verdana", layout.size, 0, DT_NOCLIP | layout.align, layout.colour);
  if (!text) return nullptr;
  text->SetRect(layout.left, layout.top, layout.right, layout.bottom);
  text->SetActive(false);
  return text;
}

}  // namespace

// "QUARTZEN" typed, then G, starts the bonus level; B, O and S held
// together start the centre level.
const char PMenu::kAccessCode[] = "QUARTZEN";
const char PMenu::kCodeConfirmKey = 'G';
const char PMenu::kChordKeys[3] = {'B', 'O', 'S'};

PMenu::PMenu() : dx(nullptr), difficulty(0), world(0), level(0) {
  background = nullptr;
  orbitSpark = cellSpark = itemSpark = nullptr;
  twinSparks[0] = twinSparks[1] = nullptr;
  for (SDxTexture*& image : pageImages) image = nullptr;
  selection = mapMode = confirmPurpose = listCount = 0;
  pageTime = 0.0f;
  Reset();
}

PMenu::~PMenu() { Unload(); }

void PMenu::Reset() {
  page = previousPage = PAGE_NONE;
  typedCode.Set("");
}

void PMenu::SetMapCell(int newWorld, int newLevel) {
  world = newWorld;
  level = newLevel;
}

void PMenu::Unload() {
  if (dx) dx->Clear(true);
}

void PMenu::Load() {
  PWnd* app = g_app;
  // The pointers of an earlier scene go whatever this load makes.
  background = nullptr;
  orbitSpark = cellSpark = itemSpark = twinSparks[0] = twinSparks[1] = nullptr;
  for (SDxSprite*& arrow : arrows) arrow = nullptr;
  for (SDxSprite*& link : links) link = nullptr;
  for (auto& row : cells)
    for (SDxSprite*& cell : row) cell = nullptr;
  levelName = difficultySprite = nullptr;
  for (SDxSprite*& digit : timeDigits) digit = nullptr;
  infoLabels = infoValues = playerLabel = nullptr;
  for (SDxText*& text : rankTexts) text = nullptr;
  for (SDxText*& text : listTexts) text = nullptr;
  for (SDxTexture*& image : pageImages) image = nullptr;
  if (!dx || !app) return;

  dx->Clear(true);
  dx->EnableSlowWarning(false);
  if (SDxCamera* camera = dx->GetCamera(-1)) camera->SetZ(-1000.0f);

  app->LoadSound("menu_button.wav", false, 1, 0);
  app->LoadSound("menu.mp3", true, 1, 0);
  app->LoadSound("menu_select.wav", false, 1, 0);
  app->LoadSound("menu_select2.wav", false, 1, 0);

  pageImages[SLOT_MAIN] = app->LoadTexture(kPageImages[SLOT_MAIN], false, 0);
  SString name;
  for (int on = 0; on < 2; ++on) {
    const char* state = on ? "on" : "off";
    for (int k = 0; k < 4; ++k)
      arrowImages[on][k] =
          app->LoadTexture(name.Format("menu_arrow_%s%d.png", state, k).GetText(), false, 1);
    for (int k = 0; k < 2; ++k)
      linkImages[on][k] =
          app->LoadTexture(name.Format("menu_link_%s%d.png", state, k).GetText(), false, 1);
  }
  for (int theme = 0; theme < MENU_THEMES; ++theme)
    for (int done = 0; done < 2; ++done)
      cellImages[theme][done] = app->LoadTexture(
          name.Format("menu_level_%s_%s.png", kThemeNames[theme], done ? "on" : "off").GetText(),
          false, 1);
  for (int w = 0; w < MAP_SIZE; ++w)
    for (int l = 0; l < MAP_SIZE; ++l)
      nameImages[w][l] =
          app->LoadTexture(name.Format("menu_name_%d%d.png", w, l).GetText(), false, 1);
  digitsImage = app->LoadTexture("digits_white.png", false, 1);
  for (int d = 0; d < 3; ++d)
    difficultyImages[d] = app->LoadTexture(kDifficultyImages[d], false, 1);
  sparkImage = app->LoadTexture("particle_spot.png", false, 2);

  activeColours[0] = D3DXCOLOR(0.5f, 0.75f, 0.5f, 1.0f);
  activeColours[1] = D3DXCOLOR(0.0f, 0.75f, 0.0f, 0.0f);
  idleColours[0] = D3DXCOLOR(0.75f, 0.75f, 0.75f, 1.0f);
  idleColours[1] = D3DXCOLOR(0.75f, 0.25f, 0.0f, 0.0f);
  for (int w = 0; w < MAP_SIZE; ++w)
    for (int l = 0; l < MAP_SIZE; ++l) cellPoints[w][l] = D3DXVECTOR3(kCellPoints[w][l]);
  for (int i = 0; i < ITEM_ENDS; ++i) {
    itemEnds[i][0] = D3DXVECTOR2(kItemEnds[i][0], kItemEnds[i][2]);
    itemEnds[i][1] = D3DXVECTOR2(kItemEnds[i][1], kItemEnds[i][2]);
  }

  SDxLayer* layer = dx->GetFirstLayer();
  if (!layer) return;
  background = layer->AddSprite(nullptr, 1, nullptr, 1, 1, 0);

  SDxParticlePoint** sparks[5] = {&orbitSpark, &twinSparks[0], &twinSparks[1], &cellSpark,
                                  &itemSpark};
  for (int i = 0; i < 5; ++i) {
    SDxParticlePoint* spark = *sparks[i] = layer->AddParticle(sparkImage, kSparkCapacity);
    if (!spark) continue;
    // Drawn after the page's background, in the overlay's own view from
    // 1000 units before the plane z = 0.
    spark->SetOverlay(true);
    spark->SetActive(true);
    D3DXVECTOR3 from(-1.0f, -1.0f, 0.0f), to(1.0f, 1.0f, 0.0f);
    spark->SetVectorRange(&from, &to);
    spark->SetEmissionRate(100.0f, 100.0f);
    spark->SetLifetime(2.0f);
    spark->SetSpeed(5.0f);
    bool twin = i == 1 || i == 2;
    spark->SetPointSize(twin ? 50.0f : 30.0f);
    SetSparkColours(spark, i >= 3 ? activeColours : idleColours);
    if (i < 3) {
      StartSpark(spark);
      spark->SetVisible(false);
    }
  }

  auto addSprite = [layer](SDxTexture* texture, int cellsAcross, float size) {
    SDxSprite* sprite = layer->AddSprite(texture, cellsAcross, nullptr, cellsAcross, -1, 0);
    sprite->SetSize(size, -1.0f);
    sprite->SetVisible(false);
    return sprite;
  };
  for (int k = 0; k < 4; ++k) {
    arrows[k] = addSprite(arrowImages[0][k], 1, 6.0f);
    arrows[k]->SetPositionXY(kArrowPlaces[k][0], kArrowPlaces[k][1]);
  }
  for (SDxSprite*& link : links) link = addSprite(linkImages[0][0], 1, 5.0f);
  PlaceLinks();
  for (int w = 0; w < MAP_SIZE; ++w)
    for (int l = 0; l < MAP_SIZE; ++l) {
      SDxSprite* cell = cells[w][l] = addSprite(nullptr, 1, 6.0f);
      cell->SetAlpha(128);
      if (app->HasLevel(w, l)) cell->SetPositionXY(kCellX[w], kCellY[l]);
    }
  levelName = addSprite(nameImages[0][0], 1, 15.0f);
  levelName->SetPositionXY(31.0f, 6.5f);
  for (int i = 0; i < 5; ++i) {
    SDxSprite* digit = timeDigits[i] = addSprite(digitsImage, PGame::DIGIT_SHEET_CELLS, 1.5f);
    digit->SetPositionXY(kTimeDigits[i].x, 10.0f);
    if (kTimeDigits[i].digits > 0) {
      digit->SetNumberDisplay(true, kTimeDigits[i].digits, false, 0.0f, 0.0f);
    } else {
      digit->SetFrame(kTimeDigits[i].frame);
    }
  }
  difficultySprite = addSprite(difficultyImages[1], 1, 10.0f);
  difficultySprite->SetPositionXY(95.0f, 96.0f);

  infoLabels = AddText(layer, kInfoLabels);
  infoValues = AddText(layer, kInfoValues);
  for (int i = 0; i < 3; ++i) rankTexts[i] = AddText(layer, kRankTexts[i]);
  for (int i = 0; i < 12; ++i) {
    bool points = i % 3 == 1;
    TextLayout layout = {
        2.0f,
        kListColumns[i][0],
        kListTop,
        kListColumns[i][1],
        kListTop,
        i % 3 == 2 ? DWORD(DT_LEFT) : DWORD(DT_CENTER),
        points ? D3DCOLOR_ARGB(224, 150, 174, 255) : D3DCOLOR_ARGB(224, 255, 255, 255)};
    listTexts[i] = AddText(layer, layout);
  }
  playerLabel = AddText(layer, kPlayerLabel);
  if (playerLabel) playerLabel->SetText(app->playerName.GetText(), false);

  PlayMenuSound(SOUND_MUSIC);
}

// --- pages -----------------------------------------------------------------------

SDxTexture* PMenu::PageImage(int slot) {
  if (slot < 0 || slot >= PAGE_IMAGES) return nullptr;
  if (!pageImages[slot] && g_app)
    pageImages[slot] = g_app->LoadTexture(kPageImages[slot], false, 0);
  return pageImages[slot];
}

int PMenu::PageImageSlot(int newPage) const {
  if (newPage < PAGE_MAIN || newPage > PAGE_END) return -1;
  if (newPage != PAGE_LOADING) return kPageSlots[newPage];
  if (world == 3 && level == 3) return SLOT_LOADING_BONUS;
  const PWnd* app = g_app;
  if (app && app->IsOnline() && difficulty == app->onlineDifficulty) return SLOT_LOADING_ONLINE;
  return SLOT_LOADING;
}

void PMenu::SetBackground(int slot) {
  if (background) background->SetTexture(PageImage(slot), 1, nullptr, 1, 1, 0);
}

void PMenu::GoToPage(int newPage) {
  LeavePage();
  int slot = PageImageSlot(newPage);
  if (newPage == PAGE_MAP || newPage == PAGE_SCORES) {
    for (int theme = 0; theme < MENU_THEMES; ++theme) PageImage(slot + theme);
  }
  if (slot >= 0) SetBackground(slot);
  previousPage = page;
  page = newPage;
  EnterPage();
}

void PMenu::EnterPage() {
  selection = 0;
  mapMode = 0;
  pageTime = dx ? dx->GetTime() : 0.0f;
  const PWnd* app = g_app;
  switch (page) {
    case PAGE_MAIN:
      Show(orbitSpark, true);
      StartSpark(itemSpark);
      break;
    case PAGE_CREDITS:
      Show(twinSparks[0], true);
      Show(twinSparks[1], true);
      break;
    case PAGE_CONFIRMATION:
    case PAGE_DIFFICULTY:
    case PAGE_LESSON:
    case PAGE_ONLINE:
      if (page == PAGE_CONFIRMATION) selection = 1;
      if (page == PAGE_DIFFICULTY) selection = app && app->IsOnline() ? app->onlineDifficulty : 1;
      Show(twinSparks[0], true);
      Show(twinSparks[1], true);
      StartSpark(itemSpark);
      break;
    case PAGE_MAP:
    case PAGE_SCORES:
      if (page == PAGE_MAP) {
        selection = 1;
        for (SDxSprite* arrow : arrows) Show(arrow, true);
        for (SDxSprite* link : links) Show(link, true);
      }
      DrawLevelInfo();
      SetSparkColours(cellSpark, activeColours);
      StartSpark(cellSpark);
      if (page == PAGE_MAP) {
        SetSparkColours(itemSpark, idleColours);
        StartSpark(itemSpark);
      }
      Show(levelName, true);
      for (SDxSprite* digit : timeDigits) Show(digit, true);
      Activate(infoLabels, true);
      Activate(infoValues, true);
      ShowDifficulty();
      Activate(playerLabel, true);
      if (page == PAGE_SCORES) {
        for (SDxText* text : rankTexts) Activate(text, true);
        FillScoreList();
      }
      break;
    case PAGE_PLAYERS:
      ShowDifficulty();
      Activate(playerLabel, true);
      for (SDxText* text : listTexts) Activate(text, true);
      RankPlayers();
      FillPlayerList();
      break;
  }
}

void PMenu::ShowDifficulty() {
  if (!difficultySprite || difficulty < 0 || difficulty >= 3) return;
  difficultySprite->SetTexture(difficultyImages[difficulty], 1, nullptr, 1, 1, 0);
  difficultySprite->SetVisible(true);
}

void PMenu::LeavePage() {
  switch (page) {
    case PAGE_MAIN:
      Show(orbitSpark, false);
      StopSpark(itemSpark);
      break;
    case PAGE_CREDITS:
    case PAGE_CONFIRMATION:
    case PAGE_DIFFICULTY:
    case PAGE_LESSON:
    case PAGE_ONLINE:
      Show(twinSparks[0], false);
      Show(twinSparks[1], false);
      if (page != PAGE_CREDITS) StopSpark(itemSpark);
      break;
    case PAGE_MAP:
    case PAGE_SCORES:
      if (page == PAGE_MAP) {
        for (SDxSprite* arrow : arrows) Show(arrow, false);
        for (SDxSprite* link : links) Show(link, false);
        StopSpark(itemSpark);
      }
      for (auto& row : cells)
        for (SDxSprite* cell : row) Show(cell, false);
      StopSpark(cellSpark);
      Show(levelName, false);
      for (SDxSprite* digit : timeDigits) Show(digit, false);
      Show(difficultySprite, false);
      Activate(infoLabels, false);
      Activate(infoValues, false);
      Activate(playerLabel, false);
      if (page == PAGE_SCORES)
        for (SDxText* text : rankTexts) Activate(text, false);
      break;
    case PAGE_PLAYERS:
      Show(difficultySprite, false);
      Activate(playerLabel, false);
      for (SDxText* text : listTexts) Activate(text, false);
      break;
  }
}

void PMenu::Frame() {
  if (!dx) return;
  float t = dx->GetTime();
  if (orbitSpark)
    orbitSpark->SetPositionXYZ(102.0f * sinf(4 * t) - 375.0f, 102.0f * cosf(4 * t) + 4.0f, 0.0f);
  if (twinSparks[0])
    twinSparks[0]->SetPositionXYZ(215.0f * sinf(2 * t) - 376.0f, 215.0f * cosf(2 * t) + 4.0f, 0.0f);
  if (twinSparks[1])
    twinSparks[1]->SetPositionXYZ(215.0f * sinf(-2 * t) - 376.0f, 215.0f * cosf(-2 * t) + 4.0f,
                                  0.0f);
  if (page >= PAGE_MAIN && page <= PAGE_END) (this->*kHandlers[page])();
}

// --- shared input, sounds and sparks ------------------------------------------------

bool PMenu::IsConfirm() const {
  return dx->IsKeyPressedNoRepeat(VK_RETURN) || dx->IsKeyPressedNoRepeat(VK_CONTROL) ||
         dx->IsButtonPressed(0);
}

bool PMenu::IsEscape() const { return dx->IsKeyPressedNoRepeat(VK_ESCAPE) || dx->IsBackPressed(); }

bool PMenu::IsPadB() const { return dx->IsButtonPressed(1); }

bool PMenu::IsUp() const { return dx->IsKeyPressedNoRepeat(VK_UP) || dx->IsPadUpPressed(); }

bool PMenu::IsDown() const { return dx->IsKeyPressedNoRepeat(VK_DOWN) || dx->IsPadDownPressed(); }

bool PMenu::IsLeft() const { return dx->IsKeyPressedNoRepeat(VK_LEFT) || dx->IsPadLeftPressed(); }

bool PMenu::IsRight() const {
  return dx->IsKeyPressedNoRepeat(VK_RIGHT) || dx->IsPadRightPressed();
}

void PMenu::MoveSelection(int last) {
  if (IsUp() && selection > 0) {
    --selection;
    PlayMenuSound(SOUND_SELECT);
  }
  if (IsDown() && selection < last) {
    ++selection;
    PlayMenuSound(SOUND_SELECT);
  }
}

void PMenu::PlayMenuSound(int channel) { dx->PlaySound(channel, false, kMenuVolume, 0.0f); }

void PMenu::SweepItem(int ends, int height) {
  if (!itemSpark || ends < 0 || ends >= ITEM_ENDS || height < 0 || height >= ITEM_ENDS) return;
  float x1 = itemEnds[ends][0].x, x2 = itemEnds[ends][1].x;
  float t = dx->GetTime();
  itemSpark->SetPositionXYZ((x1 + x2) / 2 + (x2 - x1) / 2 * sinf(t), itemEnds[height][0].y, 0.0f);
}

void PMenu::SetSparkColours(SDxParticlePoint* spark, const D3DXCOLOR* colours) {
  if (!spark) return;
  const D3DXCOLOR& a = colours[0];
  const D3DXCOLOR& b = colours[1];
  spark->SetParameters(a.r, a.g, a.b, a.a, b.r, b.g, b.b, b.a, false, true);
}

void PMenu::CircleCell() {
  if (!cellSpark || world < 0 || world >= MAP_SIZE || level < 0 || level >= MAP_SIZE) return;
  const D3DXVECTOR3& c = cellPoints[world][level];
  float t = dx->GetTime();
  cellSpark->SetPositionXYZ(c.x + c.z * sinf(4 * t), c.y + c.z * cosf(4 * t), 0.0f);
}
