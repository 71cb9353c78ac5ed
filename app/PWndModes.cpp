// The two modes of the application (front end and level) and the five
// asset loaders, one per data archive.
#include "core/Platform.h"

#include "app/PWnd.h"
#include "core/SFile.h"
#include "core/SFileMem.h"
#include "core/SFilePath.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShader.h"
#include "engine/SDxTexture.h"

#include <ctype.h>
#include <string.h>

void PWnd::LeaveMode() {
  if (mode == MODE_MENU) menu.Unload();
  if (mode == MODE_GAME) game.Unload();
}

void PWnd::EnterMenu(int page, int world, int level) {
  LeaveMode();
  mode = MODE_MENU;
  if (world != -1 && level != -1) menu.SetMapCell(world, level);
  menu.Load();
  menu.GoToPage(page);
}

void PWnd::EnterGame(int difficulty, int world, int level) {
  LeaveMode();
  mode = MODE_GAME;
  game.Load(difficulty, world, level);
}

void PWnd::RestartLevelMusic() {
  if (mode != MODE_GAME) return;
  const SDxConfig* config = dx.GetConfig();
  if (!config->audio || !config->music) return;
  if (game.IsLessonLevel()) return;
  dx.PlaySound(PGame::MUSIC_CHANNEL, false, 2.0f * config->musicVolume, 0.0f);
}

SString PWnd::NormalMapName(const char* name) {
  const char* dot = strrchr(name, '.');
  SString result;
  if (!dot) return result.Set(name) += "+n.";
  result.Set(SString(name).Left((int)(dot - name)).GetText());
  result += "+n.";
  for (const char* c = dot + 1; *c; ++c) result += (char)tolower((unsigned char)*c);
  return result;
}

SDxTexture* PWnd::LoadTexture(const char* name, bool normalMap, int option) {
  SFileMem file;
  resImg.Load(&file, name, true);
  SDxTexture* texture = dx.CreateTexture(&file, -1, "", option);
  if (!texture) return nullptr;
  if (normalMap) {
    file.Allocate(0);
    if (resImg.Load(&file, NormalMapName(name).GetText(), true)) texture->LoadNormalMap(&file);
  }
  return texture;
}

SDxShader* PWnd::LoadShader(const char* name) {
  SFileMem file;
  resFx.Load(&file, name, true);
  if (!file.IsOpen() || file.GetSize() <= 0) return nullptr;
  return dx.CreateShader((const char*)file.GetBuffer(), file.GetSize());
}

bool PWnd::LoadSound(const char* name, bool loop, int voices, int unused) {
  (void)unused;
  SFileMem file;
  resSnd.Load(&file, name, true);
  size_t length = strlen(name);
  bool streamed = length > 0 && name[length - 1] == '3';
  return dx.LoadSound(&file, loop, streamed, voices) != nullptr;
}

bool PWnd::LoadSoundFile(const char* path, bool loop, int voices, bool* channelTaken) {
  *channelTaken = false;
  SFilePath file(path, false, false, true, true);
  if (!file.IsOpen()) return false;
  SFileMem memory;
  int size = file.GetSize();
  if (size <= 0) return false;
  memory.Allocate(size);
  if (!memory.IsOpen() || file.Read(memory.GetBuffer(), size) != size) return false;
  *channelTaken = true;
  size_t length = strlen(path);
  bool streamed = length > 0 && path[length - 1] == '3';
  return dx.LoadSound(&memory, loop, streamed, voices) != nullptr;
}

bool PWnd::LoadMesh(SDxMesh* mesh, const char* name, int option) {
  if (!mesh) return false;
  SFileMem file;
  resObj.Load(&file, name, true);
  if (option && dx.FindObjectByName(name)) option = 0;
  if (!mesh->LoadFromMemory(&file, -1, "", option != 0)) return false;
  mesh->m_name = name;
  return true;
}

bool PWnd::LoadData(SFile* file, const char* name) { return resDat.Load(file, name, true); }
