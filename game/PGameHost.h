// What the game object needs of the application that owns it: the five
// asset loaders (one per data archive) and the application's level tables.
// The application fills this table of operations; the game object reaches
// the application only through it.
//
// Loaders: a missing entry gives null (texture, effect) or false (sound,
// mesh, data); a failed sound load still takes its channel number, so that
// the channels of later sounds keep theirs.
#pragma once

#include "core/Platform.h"

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
};
