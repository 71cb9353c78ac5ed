// What the game object needs of the application that owns it: the five
// asset loaders (one per data archive), the application's level tables and
// what a run asks of it (the menu, results, ghosts and their switches).
// The application fills this table of operations; the game object reaches
// the application only through it. The run's operations have defaults: an
// offline player without a save, whose ghosts are all shown.
//
// Loaders: a missing entry gives null (texture, effect) or false (sound,
// mesh, data); a failed sound load still takes its channel number, so that
// the channels of later sounds keep theirs.
#pragma once

#include "core/Platform.h"
#include "game/PGhost.h"

class SDxMesh;
class SDxShader;
class SDxTexture;
class SFile;
class SStringArray;

class PGameHost {
public:
  virtual ~PGameHost() {}

  // An image of the image archive; with normalMap also its "+n." entry as
  // the texture's normal map (a missing one is silent). option is handed
  // to the engine's texture creation unchanged.
  virtual SDxTexture* LoadTexture(const char* name, bool normalMap, int option) = 0;
  // An effect file of the effect archive.
  virtual SDxShader* LoadShader(const char* name) = 0;
  // A sound of the sound archive as the next channel (loop flag, voices).
  virtual bool LoadSound(const char* name, bool loop, int voices, int unused) = 0;
  // A sound file outside the archives (a path) as the next channel. A file
  // that cannot be read takes no channel (*channelTaken false); one that
  // cannot be decoded takes its channel empty.
  virtual bool LoadSoundFile(const char* path, bool loop, int voices, bool* channelTaken) = 0;
  // A mesh of the mesh archive into the empty mesh item.
  virtual bool LoadMesh(SDxMesh* mesh, const char* name, int option) = 0;
  // A data file of the data archive copied into the file.
  virtual bool LoadData(SFile* file, const char* name) = 0;

  // The level tables of the 5 x 5 map (indices 0..4, difficulty 0..2).
  virtual int GetLevelTheme(int world, int level) = 0;
  virtual int GetLevelMode(int world, int level) = 0;
  virtual int GetQualifyingTime(int difficulty, int world, int level) = 0;
  virtual int GetBestTime(int difficulty, int world, int level) = 0;
  // The player's own music files (paths); may be empty.
  virtual const SStringArray* GetMusicFiles() = 0;

  // --- asked by a run --------------------------------------------------------------
  // Leaves the level for the front end's page (world and level -1 when the
  // page chooses them).
  virtual void EnterMenu(int /*page*/, int /*world*/, int /*level*/) {}
  // A won run: best time, unlocking, player and ghost files.
  virtual void RecordResult(int /*difficulty*/, int /*world*/, int /*level*/, int /*time*/,
                            const PGhost* /*ghost*/) {}
  // One upload of a won run's ghost; *reload is set when the rivals' ghosts
  // are to be fetched again. False when the attempt failed.
  virtual bool UploadGhost(int /*world*/, int /*level*/, int /*time*/, const PGhost* /*ghost*/,
                           bool* /*reload*/) {
    return false;
  }
  virtual void RestartLevelMusic() {}
  virtual bool IsOnline() const { return false; }
  // The difficulty played online; -1 offline.
  virtual int GetOnlineDifficulty() { return -1; }
  // A cell's state on the map of a difficulty (0 no level, 1 locked, 2
  // open, 3 done).
  virtual int GetCellState(int /*difficulty*/, int /*world*/, int /*level*/) { return 0; }
  // The player's saved ghost of a cell, its time the cell's best time;
  // empty when there is none.
  virtual void LoadGhost(PGhost* ghost, int /*difficulty*/, int /*world*/, int /*level*/) {
    if (ghost) ghost->Clear();
  }
  // The cell's hiscore list fetched afresh at the online difficulty; false
  // when offline or the server's answer does not hold.
  virtual bool LoadLevelHiscores(int /*world*/, int /*level*/) { return false; }
  // The cell's rival ghosts (emptied first): one rival lands in first, two
  // in first and third, three in third, second and first as received.
  // False when offline or an answer does not hold.
  virtual bool DownloadGhosts(int /*world*/, int /*level*/, PGhost* /*first*/, PGhost* /*second*/,
                              PGhost* /*third*/) {
    return false;
  }
  // The player's place in the cell's hiscore list (from 1); 0 when not
  // listed or offline.
  virtual int GetPlayerRank(int /*world*/, int /*level*/) { return 0; }
  // The ghost switches: ghost slots 1..4 shown, and the rivals' names.
  virtual bool IsGhostShown(int /*slot*/) { return true; }
  virtual void ShowGhost(int /*slot*/, bool /*shown*/) {}
  virtual bool AreGhostNamesShown() { return true; }
  virtual void ShowGhostNames(bool /*shown*/) {}
};
