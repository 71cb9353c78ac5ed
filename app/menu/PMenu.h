// The game's front end: the menu pages between levels. While the
// application is in menu mode the menu fills the engine's first layer with
// its sprites, texts and spark emitters; every frame the engine's frame hook
// calls Frame, which moves the sparks and runs the handler of the page shown.
// A page is one screen: a full-screen background image carrying the page's
// fixed texts and buttons, plus the items the page shows over it.
//
// Scene items are owned by the engine's first layer; the menu keeps plain
// pointers to them, which stay valid from Load to the next Unload (or the
// engine's next scene clear). Every item pointer may be null (a missing
// image, a font that could not be made, an engine without a device): the
// menu then runs on without that item.
//
// The application is reached through g_app. The selected cell and the
// difficulty stay while the menu is unloaded for a level, so that the menu
// comes back to the cell that was played.
#pragma once

#include "core/Platform.h"
#include "app/menu/PPlayerRanking.h"
#include "core/SArray.h"
#include "core/SString.h"

#include <d3dx9.h>

class SDx;
class SDxParticlePoint;
class SDxSprite;
class SDxText;
class SDxTexture;

class PMenu {
public:
  // Pages: what GoToPage takes and page holds.
  enum {
    PAGE_NONE = -1,
    PAGE_MAIN = 1,
    PAGE_HELP,
    PAGE_CREDITS,
    PAGE_CONFIRMATION,
    PAGE_DIFFICULTY,
    PAGE_LESSON,
    PAGE_MAP,
    PAGE_ONLINE,
    PAGE_SCORES,
    PAGE_PLAYERS,
    PAGE_LOADING,
    PAGE_END,
  };
  // The menu's sound channels, in load order.
  enum { SOUND_BUTTON = 0, SOUND_MUSIC = 1, SOUND_SELECT = 2, SOUND_CELL = 3 };
  // What the confirmation page confirms.
  enum { CONFIRM_RESET = 0, CONFIRM_RESTORE = 1 };
  enum { PAGE_IMAGES = 18, ITEM_ENDS = 16, LINKS = 20, MAP_SIZE = 5 };
  // The themes with map, scores and cell images (the bonus theme has none).
  enum { MENU_THEMES = 3 };
  // Slots of pageImages: the main page's, the first map and scores images
  // (one per theme) and the three loading images.
  enum {
    SLOT_MAIN = 0,
    SLOT_MAP = 6,
    SLOT_SCORES = 10,
    SLOT_LOADING = 14,
    SLOT_LOADING_ONLINE = 15,
    SLOT_LOADING_BONUS = 16,
  };
  enum { SCORE_BLOCK = 20, SCORE_BLOCKS = 3, PLAYERS_PAGE = 100, PLAYERS_COLUMN = 25 };

  // No engine; difficulty, world and level 0; then Reset.
  PMenu();
  // Unload.
  virtual ~PMenu();

  void SetEngine(SDx* engine) { dx = engine; }
  // No page shown nor left, no code typed. After a device reset the old
  // scene is gone: the next GoToPage must not touch its items.
  void Reset();
  void SetMapCell(int newWorld, int newLevel);
  // Builds the menu scene on the engine's first layer and starts the music;
  // the background shows nothing until the first GoToPage.
  void Load();
  // Clears the engine's scene (every item and texture of the menu); nothing
  // without an engine.
  void Unload();
  // Leaves the current page, binds the new page's background (loaded on
  // first use) and enters it. Pages outside 1..12 bind no image and show
  // nothing; Frame then runs no handler.
  void GoToPage(int newPage);
  // The sparks' motion, then the handler of the page shown.
  void Frame();
  // Show and hide the items of the current page (GoToPage only).
  void EnterPage();
  void LeavePage();
  // Name, best time, information panel, cells, links, arrows and background
  // of the selected cell, all rebuilt from the application's tables.
  void DrawLevelInfo();
  // One step of the cell cursor (-1, 0, 1 on each axis). On the world map it
  // enters open and done cells only; elsewhere (the scores page) any cell
  // that holds a level.
  void MoveMapCursor(int stepWorld, int stepLevel);

  // Page handlers, one call a frame while their page is shown.
  void PageMain();
  void PageHelp();
  void PageCredits();
  void PageConfirmation();
  void PageDifficulty();
  void PageLesson();
  void PageMap();
  void PageOnline();
  void PageScores();
  void PagePlayers();
  void PageLoading();
  void PageEnd();
  // The selected cell's hiscores, block selection of 20, into rankTexts.
  void FillScoreList();
  // Every player of the hiscore lists of the cells with a level ranked by
  // points (50 for a first place, one less a place below) into players;
  // listCount is the number of players. The players page ranks on entry.
  void RankPlayers();
  // Page selection of 100 of the ranking in four columns of 25, into
  // listTexts (the lists do not change while the page is shown, so turning
  // a page takes the ranking made on entry).
  void FillPlayerList();

  // The access code typed on the main page, the letter that confirms it and
  // the three letters that, held together, start the centre level.
  static const char kAccessCode[];
  static const char kCodeConfirmKey;
  static const char kChordKeys[3];

  SDx* dx;
  SDxSprite* background;
  SDxParticlePoint* orbitSpark;
  SDxParticlePoint* twinSparks[2];
  SDxParticlePoint* cellSpark;
  SDxParticlePoint* itemSpark;
  SDxTexture* pageImages[PAGE_IMAGES];
  SDxTexture* arrowImages[2][4];  // [off, on][quadrant]
  SDxTexture* linkImages[2][2];   // [off, on][horizontal, vertical]
  SDxTexture* cellImages[3][2];   // [theme][open, done]
  SDxTexture* nameImages[MAP_SIZE][MAP_SIZE];
  SDxTexture* digitsImage;
  SDxTexture* difficultyImages[3];
  SDxTexture* sparkImage;
  SDxSprite* arrows[4];
  SDxSprite* links[LINKS];
  SDxSprite* cells[MAP_SIZE][MAP_SIZE];
  SDxSprite* levelName;
  SDxSprite* timeDigits[5];  // minutes, separator, seconds, separator, hundredths
  SDxSprite* difficultySprite;
  SDxText* infoLabels;
  SDxText* infoValues;
  SDxText* rankTexts[3];   // places, names, times
  SDxText* listTexts[12];  // four columns of places, points, names
  SDxText* playerLabel;
  D3DXCOLOR activeColours[2];
  D3DXCOLOR idleColours[2];
  int page;
  int previousPage;
  int selection;
  int mapMode;  // 0 cell cursor, 1 side menu
  int confirmPurpose;
  float pageTime;
  SString typedCode;
  int listCount;
  PPlayerRanking players;  // of the players page
  D3DXVECTOR2 itemEnds[ITEM_ENDS][2];          // left and right end of an item
  D3DXVECTOR3 cellPoints[MAP_SIZE][MAP_SIZE];  // centre x, y and circling radius
  int difficulty;
  int world;
  int level;

private:
  PMenu(const PMenu&) = delete;
  PMenu& operator=(const PMenu&) = delete;

  // Shared input of this frame (keys first pressed, pad buttons and
  // directions newly pressed).
  bool IsConfirm() const;  // Return, Control or pad A
  bool IsEscape() const;   // Escape or the pad's Back button
  bool IsPadB() const;
  bool IsBack() const { return IsEscape() || IsPadB(); }
  bool IsUp() const;
  bool IsDown() const;
  bool IsLeft() const;
  bool IsRight() const;
  // Up and Down within 0..last with the select sound; no wrap-around.
  void MoveSelection(int last);
  // Left, Right, Up and Down each tested in turn: two directions in one
  // frame move twice.
  void MoveMapCursorByInput();
  // A page without items: Confirm goes to one page, Back to another.
  void TurnPage(int onConfirm, int onBack);
  void PlayMenuSound(int channel);
  // itemSpark swept along entry ends of itemEnds at the height of entry
  // height.
  void SweepItem(int ends, int height);
  // Start and end colour of a spark's particles.
  static void SetSparkColours(SDxParticlePoint* spark, const D3DXCOLOR* colours);
  // cellSpark circling the selected cell.
  void CircleCell();
  // The page image of a slot, loaded on first use.
  SDxTexture* PageImage(int slot);
  // The slot of a page's background on entry; -1 outside 1..12.
  int PageImageSlot(int newPage) const;
  void SetBackground(int slot);
  // The difficulty's image at the bottom right.
  void ShowDifficulty();
  // The main page's typed code; true when it started the bonus level.
  bool TypeAccessCode();
  // The text of the information panel (labels and values).
  void BuildLevelInfoText(SString* labels, SString* values) const;
  // The links at their places on the map.
  void PlaceLinks();
};
