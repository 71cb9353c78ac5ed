// Level loading from the data archives: the time to load a level (warm:
// the level was loaded once before) and to unload it, per level cell.
#include "core/Platform.h"

#include "app/PWnd.h"
#include "core/TimeBase.h"
#include "window/Framework.h"

#include <stdio.h>

namespace {

// Forwards every load to the application and adds up the time per kind.
class TimedHost : public PGameHost {
public:
  explicit TimedHost(PWnd* app) : m_app(app) {}
  SDxTexture* LoadTexture(const char* name, bool normalMap, int option) override {
    double start = GetTimeSeconds();
    SDxTexture* texture = m_app->LoadTexture(name, normalMap, option);
    seconds[0] += GetTimeSeconds() - start;
    return texture;
  }
  SDxShader* LoadShader(const char* name) override {
    double start = GetTimeSeconds();
    SDxShader* shader = m_app->LoadShader(name);
    seconds[1] += GetTimeSeconds() - start;
    return shader;
  }
  bool LoadSound(const char* name, bool loop, int voices, int unused) override {
    double start = GetTimeSeconds();
    bool loaded = m_app->LoadSound(name, loop, voices, unused);
    seconds[2] += GetTimeSeconds() - start;
    return loaded;
  }
  bool LoadSoundFile(const char* path, bool loop, int voices, bool* taken) override {
    return m_app->LoadSoundFile(path, loop, voices, taken);
  }
  bool LoadMesh(SDxMesh* mesh, const char* name, int option) override {
    double start = GetTimeSeconds();
    bool loaded = m_app->LoadMesh(mesh, name, option);
    seconds[3] += GetTimeSeconds() - start;
    return loaded;
  }
  bool LoadData(SFile* file, const char* name) override {
    double start = GetTimeSeconds();
    bool loaded = m_app->LoadData(file, name);
    seconds[4] += GetTimeSeconds() - start;
    return loaded;
  }
  int GetLevelTheme(int w, int l) override { return m_app->GetLevelTheme(w, l); }
  int GetLevelMode(int w, int l) override { return m_app->GetLevelMode(w, l); }
  int GetQualifyingTime(int d, int w, int l) override { return m_app->GetQualifyingTime(d, w, l); }
  int GetBestTime(int d, int w, int l) override { return m_app->GetBestTime(d, w, l); }
  const SStringArray* GetMusicFiles() override { return m_app->GetMusicFiles(); }

  double seconds[5] = {};

private:
  PWnd* m_app;
};

}  // namespace

int main() {
  StartupFramework(::GetModuleHandleA(nullptr), SW_SHOWNORMAL, STARTUP_WINSOCK | STARTUP_XAUDIO2);
  int result = 1;
  {
    SWnd window;
    RECT rect = {0, 0, 800, 450};
    window.Create("game bench", WS_OVERLAPPEDWINDOW, 0, &rect);
    PWnd app;
    g_app = &app;
    SString folder = GetProgramFolder() + "..\\app\\";
    SResource* archives[] = {&app.resImg, &app.resSnd, &app.resObj, &app.resFx, &app.resDat};
    const char* names[] = {"gravrun2.img", "gravrun2.snd", "gravrun2.obj", "gravrun2.fx",
                           "gravrun2.dat"};
    for (int i = 0; i < 5; ++i) {
      archives[i]->SetKey(GAME_ARCHIVE_KEY);
      if (!archives[i]->Open((folder + names[i]).GetText())) printf("missing %s\n", names[i]);
    }
    SDxConfig config;
    SString error;
    if (!app.dx.Create(&window, &config, &error)) {
      printf("no device: %s\n", error.GetText());
    } else {
      const int cells[][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 1}, {2, 2}, {3, 3}, {4, 4}};
      double worstLoad = 0, worstUnload = 0;
      TimedHost timed(&app);
      app.game.SetHost(&timed);
      for (const auto& cell : cells) {
        app.EnterGame(1, cell[0], cell[1]);
        app.LeaveMode();
        for (double& s : timed.seconds) s = 0;
        double start = GetTimeSeconds();
        app.EnterGame(1, cell[0], cell[1]);
        double loaded = GetTimeSeconds();
        app.LeaveMode();
        double unloaded = GetTimeSeconds();
        printf("level %d%d: load %.3f s, unload %.3f s\n", cell[0], cell[1], loaded - start,
               unloaded - loaded);
        printf(
            "  of the load: textures %.3f s, effects %.3f s, sounds %.3f s, meshes %.3f s, "
            "level text %.3f s\n",
            timed.seconds[0], timed.seconds[1], timed.seconds[2], timed.seconds[3],
            timed.seconds[4]);
        for (double& s : timed.seconds) s = 0;
        if (loaded - start > worstLoad) worstLoad = loaded - start;
        if (unloaded - loaded > worstUnload) worstUnload = unloaded - loaded;
      }
      printf("slowest: load %.3f s, unload %.3f s\n", worstLoad, worstUnload);
      result = 0;
    }
    app.game.SetHost(&app);
    g_app = nullptr;
  }
  ShutdownFramework();
  return result;
}
