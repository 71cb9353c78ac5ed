// Runs of a level on the real application object and engine: the archives
// the build made, levels given as texts by the tests, keys and pad states
// fed through the engine's input, and the engine's clock stepped by the
// test through its clock seam, one fixed step a frame. The step is 1/64 s,
// which the game clock adds up without rounding.
#pragma once

#include "core/Platform.h"

#include "app/PWnd.h"
#include "data/GameArchives.h"
#include "engine/EngineTestSupport.h"
#include "engine/SDxLayer.h"
#include "engine/SDxShape.h"
#include "engine/SDxSound.h"
#include "engine/SDxSprite.h"
#include "game/PEntities.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <xinput.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// The game time of one frame.
constexpr float kStep = 1.0f / 64;
// The centre of column 8: the floor's column on the craft's left, where it
// meets the items of column 8 head on.
constexpr float kColumn8 = 17 * 3.14159265f / 16;

// A row of a level text: 17 cells, '.' where the text is short.
inline std::string Row(const std::string& cells = "") {
  std::string row = cells;
  row.resize(17, '.');
  return row + "\r\n";
}
// n empty rows.
inline std::string Rows(int n, const std::string& cells = "") {
  std::string rows;
  for (int i = 0; i < n; ++i) rows += Row(cells);
  return rows;
}
// A row with one item in a column.
inline std::string Cell(int column, char c) {
  std::string cells(17, '.');
  cells[column] = c;
  return Row(cells);
}

// The application object with the tests' level texts in place of the
// archive's, and a record of what the run asked of it.
class RunApp : public PWnd {
public:
  struct Page {
    int page, world, level;
  };

  bool LoadData(SFile* file, const char* name) override {
    auto it = levels.find(name);
    if (it == levels.end()) return PWnd::LoadData(file, name);
    file->Write(it->second.data(), (int)it->second.size());
    file->Seek(0);
    return true;
  }
  void EnterMenu(int page, int world, int level) override {
    pages.push_back({page, world, level});
    PWnd::EnterMenu(page, world, level);
  }
  bool IsOnline() const override { return online; }
  int GetOnlineDifficulty() override { return online ? onlineDifficulty : -1; }
  bool UploadGhost(int world, int level, int time, const PGhost* ghost, bool* reload) override {
    uploads.push_back(time);
    if (serverUploads) return PWnd::UploadGhost(world, level, time, ghost, reload);
    if (reload) *reload = false;
    return true;
  }

  std::map<std::string, std::string> levels;
  std::vector<Page> pages;
  std::vector<int> uploads;
  bool online = false;
  // Uploads go to the game's server through the client (else they only
  // succeed).
  bool serverUploads = false;
};

class RunSuite : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    s_window = MakeEngineWindow().release();
    s_folder = new TempFolder;
    s_app = new RunApp;
    g_app = s_app;
    SResource* archives[] = {&s_app->resImg, &s_app->resSnd, &s_app->resObj, &s_app->resFx,
                             &s_app->resDat};
    const char* kinds[] = {"img", "snd", "obj", "fx", "dat"};
    s_ready = true;
    for (int i = 0; i < 5; ++i) s_ready = s_ready && GameArchives::Open(*archives[i], kinds[i]);
    // Frames come as fast as the test steps them, each 1/64 s; a small
    // picture keeps them quick to draw.
    SDxConfig config;
    config.frameLimit = 0;
    config.width = 320;
    config.height = 180;
    SString error;
    s_ready = s_ready && s_app->dx.Create(s_window, &config, &error);
    g_engine = &s_app->dx;
    s_app->saveFolderPath = (s_folder->Path() + "\\").c_str();
    s_now = 0;
    s_app->dx.m_clock = Clock;
    s_app->dx.m_lastFrameTime = (float)s_now;
  }
  static void TearDownTestSuite() {
    s_played.clear();
    s_app->LeaveMode();
    s_app->dx.Destroy();
    delete s_app;
    s_app = nullptr;
    g_app = nullptr;
    g_engine = nullptr;
    delete s_window;
    delete s_folder;
    SDx::s_xinputGetState = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(s_ready);
    s_app->pages.clear();
    s_app->uploads.clear();
    s_app->online = false;
    s_pad = XINPUT_STATE();
  }
  void TearDown() override {
    for (int key = 0; key < 256; ++key) Dx().m_keyDown[key] = 0;
    UsePad(false);
  }

  static RunApp& App() { return *s_app; }
  static SDx& Dx() { return s_app->dx; }
  static PGame& Game() { return s_app->game; }
  static PShipEntity* Ship() { return s_app->game.GetShip(); }
  // The level text (lives, then the rows) as the cell's level, entered at
  // the difficulty: the first attempt's start phase. The level the suite
  // played last is only restarted (as the Return key does).
  static void Play(const std::string& rows, int difficulty = 1, int world = 0, int level = 0,
                   int lives = 3) {
    char name[32];
    sprintf(name, "level_%d%d.txt", world, level);
    std::string text = std::to_string(lives) + "\r\n" + rows;
    std::string key = std::to_string(difficulty) + name + text;
    if (s_app->GetMode() == PWnd::MODE_GAME && key == s_played) {
      Game().Restart();
      return;
    }
    s_app->levels[name] = text;
    s_app->EnterGame(difficulty, world, level);
    s_played = key;
  }
  // The lesson cell (1, 1), whose run starts at the first frame and whose
  // boulder stays behind.
  static void PlayLesson(const std::string& rows, int difficulty = 1, int lives = 3) {
    Play(rows, difficulty, 1, 1, lives);
    Step();
    Draw(false);
  }
  // The next Play loads its level whatever the suite played before.
  static void Forget() { s_played.clear(); }
  // Frames drawn (or, off, only stepped: the scene is left out of the
  // picture and sprites stand still; the start phase draws again).
  static void Draw(bool on) { Dx().SetSceneFlag(on); }
  // Frames of the engine, each dt of game time.
  static void Step(int frames = 1, float dt = kStep) {
    for (int i = 0; i < frames; ++i) {
      s_now += dt;
      SDx::Frame();
    }
  }
  // Frames with the craft held in place and the rolling boulder far
  // behind it; each is called after each frame.
  template <class F>
  static void Hold(float z, int frames, float angle, float radius, F each) {
    for (int i = 0; i < frames; ++i) {
      Place(z, angle, radius);
      Game().GetBoulderShape()->SetZ(z - 30000);
      Step();
      each();
    }
  }
  static void Hold(float z, int frames, float angle = kColumn8, float radius = 960) {
    Hold(z, frames, angle, radius, [] {});
  }
  static void StepSeconds(float seconds, float dt = kStep) {
    Step((int)(seconds / dt + 0.5f), dt);
  }
  // Steps until the condition holds, at most the frames given; whether it
  // held.
  template <class F>
  static bool StepUntil(F condition, int frames) {
    for (int i = 0; i < frames && !condition(); ++i) Step();
    return condition();
  }
  // The craft put at z, at the angle and distance from the axis; its speed
  // stays.
  static void Place(float z, float angle = kColumn8, float radius = 960) {
    PShipEntity* ship = Ship();
    ship->trackPosition = z;
    ship->angle = angle;
    ship->radius = radius;
    ship->UpdatePosition();
  }
  // The craft on the floor of column 8 at z, at that speed.
  static void PlaceMoving(float z, float speed) {
    Place(z);
    Ship()->speed = speed;
  }
  static void Press(int key) { Dx().OnMessage(WM_KEYDOWN, key, 0); }
  static void Release(int key) { Dx().OnMessage(WM_KEYUP, key, 0); }
  // Drives at full speed until the state changes (at most 10 s); the
  // state then.
  static int DriveOn() {
    int state = Game().GetState();
    Press(VK_UP);
    StepUntil([&] { return Game().GetState() != state; }, 640);
    Release(VK_UP);
    return Game().GetState();
  }
  // A key pressed in one frame and released in the next.
  static void Tap(int key) {
    Press(key);
    Step();
    Release(key);
    Step();
  }
  // The start phase skipped (Control released after its first second,
  // which is taken as passed): the run begins.
  static void StartRun() {
    Game().stateTime -= 1.1f;
    Press(VK_CONTROL);
    Step();
    Release(VK_CONTROL);
    Step();
    Draw(false);
  }
  // The pad record the engine polls (through its XInput seam) while used.
  static void UsePad(bool use) {
    Dx().m_xinput = use;
    SDx::s_xinputGetState = use ? PadState : nullptr;
    s_pad = XINPUT_STATE();
    Dx().ResetPadState();
  }
  static XINPUT_GAMEPAD& Pad() { return s_pad.Gamepad; }

  // One frame drawn; the picture as it is presented.
  static Pixels Screenshot() {
    static Pixels s_shot;
    s_shot = Pixels();
    Draw(true);
    Dx().m_renderPassHook = [](SDx* engine, int pass) {
      if (pass != SDx::RENDER_PASS_COPY) return;
      IDirect3DSurface9* surface = nullptr;
      engine->m_device->GetRenderTarget(0, &surface);
      s_shot = ReadTarget(engine->m_device, surface);
      if (surface) surface->Release();
    };
    Step();
    Dx().m_renderPassHook = nullptr;
    return s_shot;
  }

  // A looping channel sounding now.
  static bool Playing(int channel) { return Dx().IsSoundPlaying(channel); }
  // Stops a channel's voices, so that the next start of one shows.
  static void Silence(int channel) { Dx().StopSound(channel, 0); }
  // Whether a voice of the channel was started since it was silenced. (A
  // short sound may have played out already: the sound device runs on
  // the real clock, the game on the test's.)
  static bool Started(int channel) {
    for (SDxSound* voice = Dx().GetSound(channel); voice; voice = voice->m_next)
      if (voice->m_loaded && !voice->m_flushed) return true;
    return false;
  }

  inline static SWnd* s_window = nullptr;
  inline static TempFolder* s_folder = nullptr;
  inline static RunApp* s_app = nullptr;
  inline static bool s_ready = false;
  inline static double s_now = 0;
  inline static std::string s_played;
  inline static XINPUT_STATE s_pad = {};

private:
  static float Clock() { return (float)s_now; }
  static DWORD WINAPI PadState(DWORD pad, XINPUT_STATE* state) {
    if (pad != 0) return ERROR_DEVICE_NOT_CONNECTED;
    *state = s_pad;
    return ERROR_SUCCESS;
  }
};
