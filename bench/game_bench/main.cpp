// Level loading from the data archives: the time to load a level (warm:
// the level was loaded once before) and to unload it, per level cell; the
// game step along a level; the full frame of a run on the busiest level.
#include "core/Platform.h"

#include "app/PWnd.h"
#include "bench/BenchGame.h"
#include "core/TimeBase.h"
#include "engine/SDxLayer.h"
#include "engine/SDxManager.h"
#include "game/PEntities.h"
#include "window/Framework.h"

#include <stdio.h>
#include <string.h>

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

// A host whose level texts are all the same dense level: a wall in every
// cell of every row, so that about 500 entities are alive at a time.
class DenseHost : public TimedHost {
public:
  explicit DenseHost(PWnd* app) : TimedHost(app) {}
  bool LoadData(SFile* file, const char* name) override {
    SString text = "3\r\n";
    for (int row = 0; row < 400; ++row) text += "||||||||||||||||\r\n";
    file->Write(text.GetText(), text.GetLength());
    file->Seek(0);
    return name != nullptr;
  }
};

// The game step of a run at full speed (4500 units a second at 60 frames a
// second) over the longest level: the streaming and the update of every
// entity, per frame, with the live entity count.
void BenchGameStep(PWnd& app, bool dense) {
  int longest[2] = {0, 0}, rows = -1;
  for (int world = 0; world < 5; ++world) {
    for (int level = 0; level < 5; ++level) {
      if (!app.HasLevel(world, level) || (dense && world + level > 0)) continue;
      app.EnterGame(1, world, level);
      if (app.game.runRows.GetCount() > rows) {
        rows = app.game.runRows.GetCount();
        longest[0] = world;
        longest[1] = level;
      }
      app.LeaveMode();
    }
  }
  app.EnterGame(1, longest[0], longest[1]);
  SDxManager* manager = app.dx.GetFirstLayer()->m_manager;
  const float step = 4500.0f / 60.0f;
  double total = 0, worst = 0;
  int frames = 0, mostLive = 0;
  long long liveSum = 0;
  for (float z = 0; z < rows * 1000.0f; z += step, ++frames) {
    double start = GetTimeSeconds();
    app.game.Update(z);
    manager->Update();
    double spent = GetTimeSeconds() - start;
    total += spent;
    if (spent > worst) worst = spent;
    int live = manager->GetCount();
    liveSum += live;
    if (live > mostLive) mostLive = live;
  }
  printf(
      "game step on %s level %d%d (%d rows, %d frames at full speed): %.3f ms a frame on average, "
      "%.3f ms at most; live entities %.0f on average, %d at most\n",
      dense ? "a dense (a wall in every cell)" : "the longest", longest[0], longest[1], rows,
      frames, frames ? total * 1000 / frames : 0.0, worst * 1000,
      frames ? (double)liveSum / frames : 0.0, mostLive);
  app.LeaveMode();
}

// The full frame at the engine's 800 x 450: the engine's own frame step
// (the entities, the run's step and the render) on the data set's busiest
// level, the one with the most live entities at once. The craft is carried
// along the track at full speed, one stretch a frame, from the run's start
// to the row before the finish.
void BenchFullFrame(PWnd& app) {
  int busiest[2] = {0, 0}, mostLive = -1;
  for (int world = 0; world < 5; ++world) {
    for (int level = 0; level < 5; ++level) {
      if (!app.HasLevel(world, level)) continue;
      app.EnterGame(1, world, level);
      SDxManager* manager = app.dx.GetFirstLayer()->m_manager;
      float end = app.game.runRows.GetCount() * 1000.0f;
      for (float z = 0; z < end; z += 250.0f) {
        app.game.Update(z);
        manager->Update();
        if (manager->GetCount() > mostLive) {
          mostLive = manager->GetCount();
          busiest[0] = world;
          busiest[1] = level;
        }
      }
      app.LeaveMode();
    }
  }
  app.EnterGame(1, busiest[0], busiest[1]);
  PGame& game = app.game;
  PShipEntity* ship = game.GetShip();
  SDxManager* manager = app.dx.GetFirstLayer()->m_manager;
  g_engine = &app.dx;
  // The run as its start phase leaves it: running, the scene shown.
  game.SetState(2);
  app.dx.SetSceneFlag(true);
  const int frames = 1500;
  float end = (game.runRows.GetCount() - 2) * 1000.0f;
  double total = 0, worst = 0;
  long long liveSum = 0;
  int live = 0, counted = 0;
  for (int i = 0; i < frames; ++i) {
    ship->trackPosition = end * i / frames;
    ship->speed = 4500;
    double start = GetTimeSeconds();
    SDx::Frame();
    double spent = GetTimeSeconds() - start;
    // The first frames fill the caches of the drivers.
    if (i < 10) continue;
    total += spent;
    if (spent > worst) worst = spent;
    liveSum += manager->GetCount();
    if (manager->GetCount() > live) live = manager->GetCount();
    ++counted;
  }
  printf(
      "full frame (game step and render) at %d x %d on the busiest level %d%d (%d live entities "
      "at most while streamed), %d frames along its track: %.2f ms a frame on average (%.0f "
      "frames a second), %.2f ms at most; live entities %.0f on average, %d at most\n",
      app.dx.GetConfig()->width, app.dx.GetConfig()->height, busiest[0], busiest[1], mostLive,
      counted, total * 1000 / counted, counted / total, worst * 1000,
      (double)liveSum / counted, live);
  app.LeaveMode();
  g_engine = nullptr;
}

}  // namespace

// Every part, or only those named on the command line: "load", "step", "frame".
int main(int argc, char** argv) {
  auto wanted = [argc, argv](const char* part) {
    bool all = argc < 2;
    for (int i = 1; i < argc; ++i) all = all || strcmp(argv[i], part) == 0;
    return all;
  };
  StartupFramework(::GetModuleHandleA(nullptr), SW_SHOWNORMAL, STARTUP_WINSOCK | STARTUP_XAUDIO2);
  int result = 1;
  {
    SWnd window;
    RECT rect = {0, 0, 800, 450};
    window.Create("game bench", WS_OVERLAPPEDWINDOW, 0, &rect);
    PWnd app;
    g_app = &app;
    bench::OpenGameArchives(app);
    // Frames as fast as they come, for the full frame's figures.
    SDxConfig config;
    config.frameLimit = 0;
    SString error;
    if (!app.dx.Create(&window, &config, &error)) {
      printf("no device: %s\n", error.GetText());
    } else {
      const int cells[][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 1}, {2, 2}, {3, 3}, {4, 4}};
      double worstLoad = 0, worstUnload = 0;
      TimedHost timed(&app);
      app.game.SetHost(&timed);
      for (const auto& cell : cells) {
        if (!wanted("load")) break;
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
      if (wanted("load")) printf("slowest: load %.3f s, unload %.3f s\n", worstLoad, worstUnload);
      app.game.SetHost(&app);
      if (wanted("step")) {
        BenchGameStep(app, false);
        DenseHost dense(&app);
        app.game.SetHost(&dense);
        BenchGameStep(app, true);
        app.game.SetHost(&app);
      }
      if (wanted("frame")) BenchFullFrame(app);
      result = 0;
    }
    app.game.SetHost(&app);
    g_app = nullptr;
  }
  ShutdownFramework();
  return result;
}
