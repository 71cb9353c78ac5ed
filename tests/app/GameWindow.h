// The game's application object with its window, made as the program makes
// it (the after-create sequence: archives, device, player file, hiscores,
// menu) on the archives the build made and a save folder of its own. Keys
// go through its window procedure; the engine's clock is the test's, and
// each step advances it by one 20 ms frame and runs the engine's frame.
#pragma once

#include "core/Platform.h"

#include "app/PWnd.h"
#include "app/ReferenceServer.h"
#include "data/GameArchives.h"
#include "engine/EngineTestSupport.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string>

class GameWindow {
public:
  enum { NO_SERVER = 0 };
  static constexpr float kFrame = 0.02f;

  GameWindow() { ::RegDeleteKeyA(HKEY_CURRENT_USER, GAME_REGISTRY_KEY); }
  // The save folder of that name under the temporary folder (see
  // TempFolder), emptied first.
  explicit GameWindow(const std::string& savesName) : saves(savesName) {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, GAME_REGISTRY_KEY);
  }
  ~GameWindow() {
    Close();
    ::RegDeleteKeyA(HKEY_CURRENT_USER, GAME_REGISTRY_KEY);
  }

  // The server's port from the environment (the reference server runs
  // beside the test program).
  static int ServerPort() {
    const char* port = getenv("GAME_SERVER_PORT");
    return port ? atoi(port) : NO_SERVER;
  }

  // Creates the window; online under the difficulty (0..2) as the player
  // "name" when a server port is given, offline otherwise.
  void Open(int onlineDifficulty = -1, int port = NO_SERVER, const char* name = "bob") {
    if (port != NO_SERVER) ReferenceServer::WriteIdentity(GAME_REGISTRY_KEY, port, name);
    app.onlineDifficulty = onlineDifficulty;
    app.saveFolderPath = (saves.Path() + "\\").c_str();
    app.dataFolderPath = GameArchives::PathOf("").c_str();
    app.dx.m_clock = Clock;
    g_app = &app;
    g_engine = app.GetDx();
    SDxConfig config;
    ASSERT_TRUE(app.Create(GAME_TITLE, 0xCF0000, 0, nullptr, nullptr, nullptr, &config));
    app.web.timeoutMs = 1000;
  }

  // The close sequence, as the close box gives it; the quit it posts is
  // taken from the queue.
  void Close() {
    if (app.m_hWnd) app.SendMessage(WM_CLOSE);
    MSG message;
    while (::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    if (g_app == &app) g_app = nullptr;
    if (g_engine == app.GetDx()) g_engine = nullptr;
  }

  void Step(int frames = 1) {
    for (int i = 0; i < frames; ++i) {
      s_now += kFrame;
      SDx::Frame();
    }
  }
  // Seconds of game time, frame by frame.
  void Wait(float seconds) { Step(int(seconds / kFrame + 0.5f)); }
  void KeyDown(int key) { app.SendMessage(WM_KEYDOWN, WPARAM(key), 0); }
  void KeyUp(int key) { app.SendMessage(WM_KEYUP, WPARAM(key), 0); }
  // Pressed for one frame, then released.
  void Press(int key) {
    KeyDown(key);
    Step();
    KeyUp(key);
  }
  void Type(const char* keys) {
    for (const char* key = keys; *key; ++key) Press(*key);
  }

  // One frame; the back buffer as it is presented.
  Pixels Shot() {
    static Pixels s_shown;
    s_shown = Pixels();
    app.dx.m_renderPassHook = [](SDx* engine, int pass) {
      if (pass != SDx::RENDER_PASS_COPY) return;
      IDirect3DSurface9* surface = nullptr;
      engine->m_device->GetRenderTarget(0, &surface);
      s_shown = ReadTarget(engine->m_device, surface);
      if (surface) surface->Release();
    };
    Step();
    app.dx.m_renderPassHook = nullptr;
    return s_shown;
  }

  PMenu& Menu() { return app.menu; }

  TempFolder saves;
  PWnd app;

private:
  static float Clock() { return s_now; }
  inline static float s_now = 100.0f;
};
