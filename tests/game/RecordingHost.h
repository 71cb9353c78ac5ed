// A game host that records every load the game object asks for and answers
// from its own lists: level texts by name, and the names of assets that are
// "missing" (every other texture, effect, sound and mesh loads). Textures
// and meshes are real engine objects when an engine is given, so that the
// game object can use what it gets.
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"
#include "core/SStringArray.h"
#include "engine/SDx.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShape.h"
#include "engine/SDxLayer.h"
#include "game/PGameHost.h"

#include <map>
#include <set>
#include <string>
#include <vector>

struct RecordedLoad {
  std::string kind;  // "texture", "sound", "soundfile", "mesh", "shader", "data"
  std::string name;
  bool flag;  // normal map (texture) or loop (sound)
  int value;  // option (texture, mesh) or voices (sound)
};

class RecordingHost : public PGameHost {
public:
  explicit RecordingHost(SDx* engine = nullptr) : m_engine(engine) {}

  SDxTexture* LoadTexture(const char* name, bool normalMap, int option) override {
    loads.push_back({"texture", name, normalMap, option});
    if (missing.count(name) || !m_engine) return nullptr;
    // A one-pixel texture of the engine stands for the image.
    static const unsigned char kBmp[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0,   0,   0,   40,
                                         0,   0,   0,  1, 0, 0, 0, 1, 0, 0, 0,  1,   0,   24,  0,
                                         0,   0,   0,  0, 4, 0, 0, 0, 0, 0, 0,  0,   0,   0,   0,
                                         0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  255, 255, 255, 0};
    SFileMem file;
    file.Allocate(0);
    file.Write(kBmp, sizeof(kBmp));
    file.Seek(0);
    return m_engine->CreateTexture(&file, -1, name, option);
  }
  SDxShader* LoadShader(const char* name) override {
    loads.push_back({"shader", name, false, 0});
    return nullptr;
  }
  bool LoadSound(const char* name, bool loop, int voices, int) override {
    loads.push_back({"sound", name, loop, voices});
    return !missing.count(name);
  }
  bool LoadSoundFile(const char* path, bool loop, int voices, bool* taken) override {
    loads.push_back({"soundfile", path, loop, voices});
    *taken = !missing.count(path);
    return *taken;
  }
  bool LoadMesh(SDxMesh* mesh, const char* name, int option) override {
    loads.push_back({"mesh", name, false, option});
    if (missing.count(name) || !m_engine) return false;
    // A unit box stands for the mesh file.
    SDxShape* shape = m_engine->GetFirstLayer()->AddShape();
    const bool faces[6] = {true, true, true, true, true, true};
    shape->AddBox(nullptr, nullptr, 100.0f, 100.0f, 100.0f, false, 1.0f, faces);
    bool made = mesh->CreateFromShape(shape);
    m_engine->RemoveItem(shape);
    return made;
  }
  bool LoadData(SFile* file, const char* name) override {
    loads.push_back({"data", name, false, 0});
    auto it = levels.find(name);
    if (it == levels.end()) return false;
    file->Write(it->second.data(), (int)it->second.size());
    file->Seek(0);
    return true;
  }
  int GetLevelTheme(int world, int level) override { return themes[world][level]; }
  int GetLevelMode(int, int) override { return 1; }
  int GetQualifyingTime(int, int, int) override { return 0; }
  int GetBestTime(int, int, int) override { return 0; }
  const SStringArray* GetMusicFiles() override { return &music; }

  // The recorded loads of one kind, in order.
  std::vector<RecordedLoad> Of(const std::string& kind) const {
    std::vector<RecordedLoad> out;
    for (const RecordedLoad& load : loads)
      if (load.kind == kind) out.push_back(load);
    return out;
  }

  std::vector<RecordedLoad> loads;
  std::set<std::string> missing;
  std::map<std::string, std::string> levels;
  int themes[5][5] = {
      {0, 1, 2, 1, 0}, {1, 0, 2, 0, 1}, {2, 2, 0, 2, 2}, {1, 0, 2, 3, 1}, {0, 1, 2, 1, 0}};
  SStringArray music;

private:
  SDx* m_engine;
};
