// The game's main window and application object: the one object through
// which every other part of the game is reached. It owns by value the
// registry and disk services, the engine, the five data archives and the
// game object, holds the level design tables of the 5 x 5 map, the
// player's progression and online identity and the ghost switches.
//
// Process-wide pointers: g_app (set by the program entry), g_engine (the
// engine's, set by the program entry through GetDx) and g_game (set by the
// constructor); all stay valid until the object is destroyed.
#pragma once

#include "core/Platform.h"
#include "app/PWeb.h"
#include "app/menu/PMenu.h"
#include "core/SDisk.h"
#include "core/SNetwork.h"
#include "core/SRegistry.h"
#include "core/SResource.h"
#include "core/SString.h"
#include "core/SStringArray.h"
#include "core/SStringPool.h"
#include "engine/SDx.h"
#include "game/PGame.h"
#include "game/PGameHost.h"
#include "game/PGhost.h"
#include "window/SWnd.h"

class SDxConfig;

class PWnd : public SWnd, public PGameHost {
public:
  // The engine of the application: its hooks lead to the application
  // object through g_app.
  class _PDx : public SDx {
  public:
    _PDx() {}
    ~_PDx() override {}
    void OnDeviceReset(bool failed) override;
    bool OnTimer(int id) override;
    void OnSettingChanged(SDxConfig* settings, int index) override;
    void OnFrame() override;
  };

  enum { MODE_NONE = 0, MODE_MENU = 1, MODE_GAME = 2 };
  enum { MAP_SIZE = 5, DIFFICULTIES = 3, GHOST_SLOTS = 5 };

  // Fills the level tables; opens no file and creates no window.
  PWnd();
  ~PWnd() override;

  SDx* GetDx() { return &dx; }
  int GetMode() const { return mode; }
  bool HasLevel(int world, int level) const;
  bool IsDifficultyUnlocked(int difficulty) const;
  // Online: a difficulty chosen for online play and a server to play on.
  bool IsOnline() const override { return onlineDifficulty != -1 && web.HasServer(); }
  int GetOnlineDifficulty() override { return onlineDifficulty; }
  // 0 outside the map.
  int GetCellState(int difficulty, int world, int level) override;

  // --- modes and loaders (PWndModes.cpp) -----------------------------------------
  // Unloads what the current mode loaded; the mode keeps its value.
  void LeaveMode();
  // The front end (mode 1) loaded afresh on the page; the menu's selected
  // cell becomes (world, level) unless one of them is -1.
  void EnterMenu(int page, int world, int level) override;
  // A level: mode 2 with the game object loaded for the cell. Called from
  // the menu's frame step, whose scene it clears: the caller returns at once.
  void EnterGame(int difficulty, int world, int level);
  void RestartLevelMusic() override;
  SDxTexture* LoadTexture(const char* name, bool normalMap, int option) override;
  SDxShader* LoadShader(const char* name) override;
  bool LoadSound(const char* name, bool loop, int voices, int unused) override;
  bool LoadSoundFile(const char* path, bool loop, int voices, bool* channelTaken) override;
  bool LoadMesh(SDxMesh* mesh, const char* name, int option) override;
  bool LoadData(SFile* file, const char* name) override;
  int GetLevelTheme(int world, int level) override;
  int GetLevelMode(int world, int level) override;
  int GetQualifyingTime(int difficulty, int world, int level) override;
  int GetBestTime(int difficulty, int world, int level) override;
  const SStringArray* GetMusicFiles() override { return &musicFiles; }
  // The normal-map entry of an image: its title, "+n." and its extension in
  // lower case ("wall.JPG" gives "wall+n.jpg").
  static SString NormalMapName(const char* name);

  // --- window procedure (PWndProc.cpp) ---------------------------------------------
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The folder of the save files: the user's documents and "Gravrun 2\".
  SString GetSaveFolder();
  // Ghost switches from the registry (missing values show everything), and
  // back.
  void ReadGhostSwitches();
  void WriteGhostSwitches();
  // Slots outside 1..4 are never shown.
  bool IsGhostShown(int slot) override;
  void ShowGhost(int slot, bool shown) override;
  bool AreGhostNamesShown() override { return showGhostNames; }
  void ShowGhostNames(bool shown) override { showGhostNames = shown; }

  // --- save files and progression (PWndSave.cpp) ----------------------------------
  // The profile's player file into the progression; the starting layout of
  // every difficulty when the file is missing or does not hold.
  void LoadPlayer();
  // Writes the player file and deletes the ghost files of the cells not
  // done; false when the file could not be written (the old one stays).
  bool SavePlayer();
  // The profile's ghost of a cell (time: the cell's best time); empty when
  // the file is missing or does not hold.
  void LoadGhost(PGhost* ghost, int difficulty, int world, int level) override;
  bool SaveGhost(const PGhost* ghost, int difficulty, int world, int level);
  void DeleteGhost(int difficulty, int world, int level);
  // A finished run: keeps an equal or better time, opens neighbours on a
  // first completion and saves the player and ghost files.
  void RecordResult(int difficulty, int world, int level, int time, const PGhost* ghost) override;
  // One difficulty back to the starting layout, saved when asked.
  void ResetProgress(int difficulty, bool save);
  SString GetPlayerFileName();
  SString GetGhostFileName(int difficulty, int world, int level);

  // --- web service client (PWndWeb.cpp) ---------------------------------------------
  // The server and the online identity from the registry values under key
  // (see PWeb.h); no host leaves the game offline. The identity is read
  // only online (an online difficulty and a server): offline the user id,
  // name and code are 0 and empty.
  void ReadOnlineIdentity(const char* key);
  // Both keep every record of the answer (a reply's size bounds them).
  bool LoadAllHiscores();
  // Empties the 25 hiscore lists and fills them with the records of an
  // all_hiscores answer; false, with the lists empty, when the answer does
  // not hold. LoadAllHiscores reads its answer with it.
  bool ReadAllHiscores(const SString& answer);
  bool LoadLevelHiscores(int world, int level) override;
  bool DownloadGhost(int world, int level, PGhost* ghost);
  bool DownloadGhosts(int world, int level, PGhost* first, PGhost* second, PGhost* third) override;
  bool UploadGhost(int world, int level, int time, const PGhost* ghost, bool* reload) override;
  int GetPlayerRank(int world, int level) override;

  SRegistry registry;
  SDisk disk;
  SNetwork network;
  _PDx dx;
  SResource resImg;
  SResource resSnd;
  SResource resObj;
  SResource resFx;
  SResource resDat;
  PGame game;
  PMenu menu;
  int mode;
  SStringArray musicFiles;
  SString levelNames[MAP_SIZE][MAP_SIZE];
  int levelTheme[MAP_SIZE][MAP_SIZE];
  int levelMode[MAP_SIZE][MAP_SIZE];
  int levelLength[MAP_SIZE][MAP_SIZE];
  int levelDexterity[MAP_SIZE][MAP_SIZE];
  int levelPuzzle[MAP_SIZE][MAP_SIZE];
  int qualifyingTimes[DIFFICULTIES][MAP_SIZE][MAP_SIZE];
  bool difficultyUnlocked[DIFFICULTIES];
  int cellStates[DIFFICULTIES][MAP_SIZE][MAP_SIZE];
  int bestTimes[DIFFICULTIES][MAP_SIZE][MAP_SIZE];
  SString playerCode;
  int onlineDifficulty;
  int profile;
  int userId;
  SString playerName;
  // The strings of the hiscore lists are made here: an answer fills the
  // lists with tens of thousands of names, each made and freed at once.
  SStringPool hiscoreStrings;
  SStringArray hiscores[MAP_SIZE][MAP_SIZE];
  // The save folder; empty: the user's documents and "Gravrun 2\".
  SString saveFolderPath;
  // The folder of the data archives and of the "music" folder, ending in a
  // backslash; empty: the program's folder.
  SString dataFolderPath;
  // Set when the window was not created because a data archive could not
  // be opened (the player was told which).
  bool dataMissing;
  // The game's server (host empty: offline) and the bounded link to it.
  PWebLink web;
  bool showGhostNames;
  bool showGhost[GHOST_SLOTS];

private:
  // The creation sequence of the after-create message; false when a data
  // archive cannot be opened or the device could not be made (after the
  // message box).
  bool OnCreate(SDxConfig* settings);
  // The close sequence.
  void OnClose();
};

// The game's registry key under HKEY_CURRENT_USER and its window title.
extern const char* const GAME_REGISTRY_KEY;
extern const char* const GAME_TITLE;

// The one application object of the process.
extern PWnd* g_app;

// "m:ss.hh", or "m:ss" when short, of a time in hundredths of a second.
SString& FormatTime(SString& output, int time, bool shortForm);
