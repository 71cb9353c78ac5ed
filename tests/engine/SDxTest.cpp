#include "core/Platform.h"
#include "engine/SDx.h"

#include "EngineTestSupport.h"
#include "core/SRegistry.h"
#include "engine/SDxShaderDefault.h"
#include "engine/SDxShaderGBuffer.h"
#include "window/Framework.h"
#include "window/MessageLoop.h"

#include <xaudio2.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

const char* const kTestKey = "Software\\Ardel Vandro\\GravrunTest\\Engine";

// --- seams -------------------------------------------------------------------

float g_now = 0.0f;
float FakeClock() { return g_now; }

std::function<HRESULT(int, HRESULT, void*)> g_answer;
std::vector<int> g_calls;

HRESULT RecordingSeam(int call, HRESULT result, void* data) {
  g_calls.push_back(call);
  return g_answer ? g_answer(call, result, data) : result;
}

int CountCalls(int call) {
  int n = 0;
  for (int c : g_calls) n += c == call;
  return n;
}

// The recorded calls without the creation of targets and effects.
std::vector<int> CallsBesideCreation() {
  std::vector<int> calls;
  for (int c : g_calls) {
    if (c != SDx::D3DCALL_CREATE_TARGET && c != SDx::D3DCALL_CREATE_EFFECT) calls.push_back(c);
  }
  return calls;
}

// The reference count of a COM object, left as it was.
ULONG References(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

// An engine that records its hooks.
class TestEngine : public SDx {
public:
  int frames = 0;
  std::vector<bool> resets;  // OnDeviceReset arguments
  std::map<int, bool> timerAnswers;
  std::vector<int> firedTimers;
  std::function<void(int)> onTimer;

  void OnFrame() override { ++frames; }
  void OnDeviceReset(bool failed) override { resets.push_back(failed); }
  bool OnTimer(int id) override {
    firedTimers.push_back(id);
    if (onTimer) onTimer(id);
    auto it = timerAnswers.find(id);
    return it == timerAnswers.end() ? true : it->second;
  }
};

class SDxTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_answer = nullptr;
    g_calls.clear();
    SDx::s_direct3DSeam = RecordingSeam;
    window = MakeEngineWindow();
  }
  void TearDown() override {
    SDx::s_direct3DSeam = nullptr;
    g_answer = nullptr;
    if (g_engine == &engine) g_engine = nullptr;
    engine.Destroy();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Ardel Vandro\\GravrunTest");
  }

  bool Create(SString* error = nullptr) { return engine.Create(window.get(), &config, error); }

  // Runs the frame step at the fake time.
  void FrameAt(float t) {
    g_now = t;
    SDx::Frame();
  }

  std::unique_ptr<SWnd> window;
  SDxConfig config;
  TestEngine engine;
};

void ExpectTarget(const SDxRenderTarget& target, UINT width, UINT height, D3DFORMAT format,
                  const SDxRenderTarget* partner, const char* name) {
  ASSERT_NE(nullptr, target.texture) << name;
  ASSERT_NE(nullptr, target.surface) << name;
  D3DSURFACE_DESC desc;
  ASSERT_TRUE(SUCCEEDED(target.texture->GetLevelDesc(0, &desc))) << name;
  EXPECT_EQ(width, desc.Width) << name;
  EXPECT_EQ(height, desc.Height) << name;
  EXPECT_EQ(format, desc.Format) << name;
  EXPECT_EQ((DWORD)D3DUSAGE_RENDERTARGET, desc.Usage) << name;
  EXPECT_EQ(D3DPOOL_DEFAULT, desc.Pool) << name;
  EXPECT_EQ(1u, target.texture->GetLevelCount()) << name;
  EXPECT_EQ(partner, target.partner) << name;
  EXPECT_EQ(width == 200, target.quarter) << name;
}

// --- creation ------------------------------------------------------------------

TEST_F(SDxTest, CreateMakesTheDeviceAndTheTenTargets) {
  SString error;
  ASSERT_TRUE(Create(&error)) << error.GetText();
  EXPECT_TRUE(engine.IsCreated());
  RECT client;
  ::GetClientRect(window->m_hWnd, &client);
  EXPECT_EQ(800, client.right);
  EXPECT_EQ(450, client.bottom);
  const D3DPRESENT_PARAMETERS& pp = engine.m_presentParameters;
  EXPECT_EQ(800u, pp.BackBufferWidth);
  EXPECT_EQ(450u, pp.BackBufferHeight);
  EXPECT_EQ(D3DFMT_X8R8G8B8, pp.BackBufferFormat);
  EXPECT_EQ(D3DSWAPEFFECT_DISCARD, pp.SwapEffect);
  EXPECT_TRUE(pp.Windowed);
  EXPECT_EQ((UINT)D3DPRESENT_INTERVAL_IMMEDIATE, pp.PresentationInterval);
  EXPECT_EQ(window->m_hWnd, pp.hDeviceWindow);
  EXPECT_TRUE(pp.EnableAutoDepthStencil);

  ExpectTarget(engine.m_mainA, 800, 450, D3DFMT_X8R8G8B8, &engine.m_mainB, "main A");
  ExpectTarget(engine.m_mainB, 800, 450, D3DFMT_X8R8G8B8, &engine.m_mainA, "main B");
  ExpectTarget(engine.m_quarterA, 200, 112, D3DFMT_X8R8G8B8, &engine.m_quarterB, "quarter A");
  ExpectTarget(engine.m_quarterB, 200, 112, D3DFMT_X8R8G8B8, &engine.m_quarterA, "quarter B");
  ExpectTarget(engine.m_previousRT, 800, 450, D3DFMT_X8R8G8B8, nullptr, "PreviousRT");
  ExpectTarget(engine.m_colorRT, 800, 450, D3DFMT_X8R8G8B8, nullptr, "ColorRT");
  ExpectTarget(engine.m_normalRT, 800, 450, D3DFMT_A16B16G16R16F, nullptr, "NormalRT");
  ExpectTarget(engine.m_infoRT, 800, 450, D3DFMT_X8R8G8B8, nullptr, "InfoRT");
  ExpectTarget(engine.m_beamRT, 800, 450, D3DFMT_X8R8G8B8, nullptr, "BeamRT");
  ExpectTarget(engine.m_beamRT2, 800, 450, D3DFMT_X8R8G8B8, nullptr, "beam target 2");
  EXPECT_NE(nullptr, engine.m_sprite);
  EXPECT_NE(nullptr, engine.m_outputQuad);
  EXPECT_EQ(60.0f, engine.GetTime());
  EXPECT_EQ(nullptr, engine.GetFirstLayer());

  engine.Destroy();
  EXPECT_FALSE(engine.IsCreated());
  EXPECT_EQ(nullptr, engine.m_device);
  EXPECT_EQ(nullptr, engine.m_mainA.texture);
  EXPECT_EQ(nullptr, engine.m_shaderDefault);
}

TEST_F(SDxTest, EveryDeviceFailureHasItsText) {
  struct Case {
    int call;
    std::function<HRESULT(HRESULT, void*)> answer;
    const char* text;
  } cases[] = {
      {SDx::D3DCALL_CREATE, [](HRESULT, void*) { return E_FAIL; }, "Cannot create IDirect3D9"},
      {SDx::D3DCALL_DISPLAY_MODE, [](HRESULT, void*) { return D3DERR_NOTAVAILABLE; },
       "Cannot get adapter display mode"},
      {SDx::D3DCALL_CAPS, [](HRESULT, void*) { return D3DERR_NOTAVAILABLE; }, "HAL not supported"},
      {SDx::D3DCALL_CAPS,
       [](HRESULT r, void* d) {
         ((D3DCAPS9*)d)->DevCaps &= ~D3DDEVCAPS_HWTRANSFORMANDLIGHT;
         return r;
       },
       "HWTRANSFORMANDLIGHT not supported"},
      {SDx::D3DCALL_CAPS,
       [](HRESULT r, void* d) {
         ((D3DCAPS9*)d)->NumSimultaneousRTs = 3;
         return r;
       },
       "MRT not supported"},
      {SDx::D3DCALL_CAPS,
       [](HRESULT r, void* d) {
         ((D3DCAPS9*)d)->PixelShaderVersion = D3DPS_VERSION(2, 0);
         return r;
       },
       "Shader Model v3.0 not supported"},
      {SDx::D3DCALL_DEPTH_MATCH, [](HRESULT, void*) { return D3DERR_NOTAVAILABLE; },
       "Cannot create Depth Stencil Format surface"},
      {SDx::D3DCALL_CREATE_DEVICE, [](HRESULT, void*) { return D3DERR_INVALIDCALL; },
       "Cannot create DirectX Device"},
  };
  for (const Case& c : cases) {
    g_calls.clear();
    int call = c.call;
    auto answer = c.answer;
    g_answer = [call, answer](int k, HRESULT r, void* d) { return k == call ? answer(r, d) : r; };
    SString error("unchanged");
    EXPECT_FALSE(Create(&error)) << c.text;
    EXPECT_STREQ(c.text, error.GetText());
    EXPECT_FALSE(engine.IsCreated());
    EXPECT_EQ(nullptr, engine.m_device);
    EXPECT_EQ(nullptr, engine.m_d3d);
    EXPECT_EQ(nullptr, engine.m_mainA.texture);
    // A null error argument: the same failure, no text anywhere.
    EXPECT_FALSE(Create(nullptr)) << c.text;
  }
  // The capability checks come before any depth format is tried.
  g_calls.clear();
  g_answer = [](int k, HRESULT r, void* d) {
    if (k == SDx::D3DCALL_CAPS) ((D3DCAPS9*)d)->NumSimultaneousRTs = 3;
    return r;
  };
  EXPECT_FALSE(Create());
  EXPECT_EQ(0, CountCalls(SDx::D3DCALL_DEPTH_MATCH));
  EXPECT_FALSE(engine.Create(nullptr, &config, nullptr));
  SString empty("x");
  EXPECT_FALSE(engine.Create(window.get(), nullptr, &empty));
  EXPECT_STREQ("", empty.GetText());
}

TEST_F(SDxTest, EveryTargetFailureHasItsText) {
  // A failing target record, or the n-th built-in effect (1 to 7) failing.
  struct Case {
    SDxRenderTarget* target;
    int effect;
    const char* text;
  } cases[] = {
      {&engine.m_mainA, 0, "Cannot create RT"},
      {&engine.m_quarterB, 0, "Cannot create RT"},
      {&engine.m_previousRT, 0, "Cannot create PreviousRT"},
      {&engine.m_colorRT, 0, "Cannot create ColorRT"},
      {&engine.m_normalRT, 0, "Cannot create NormalRT"},
      {&engine.m_infoRT, 0, "Cannot create InfoRT"},
      {&engine.m_beamRT, 0, "Cannot create BeamRT"},
      {&engine.m_beamRT2, 0, "Cannot create BeamRT"},
      {nullptr, 1, "Cannot create Shaders"},
      {nullptr, 7, "Cannot create Shaders"},
  };
  for (const Case& c : cases) {
    int effects = 0;
    g_answer = [&c, &effects](int k, HRESULT r, void* d) -> HRESULT {
      if (k == SDx::D3DCALL_CREATE_TARGET && d == c.target) return E_OUTOFMEMORY;
      if (k == SDx::D3DCALL_CREATE_EFFECT && ++effects == c.effect) return E_FAIL;
      return r;
    };
    SString error("unchanged");
    EXPECT_FALSE(Create(&error)) << c.text;
    EXPECT_STREQ(c.text, error.GetText());
    // The first failure stops the sequence: no effect after a target.
    EXPECT_EQ(c.effect, effects) << c.text;
    EXPECT_FALSE(engine.IsCreated());
    EXPECT_EQ(nullptr, engine.m_device);
    EXPECT_EQ(nullptr, engine.m_mainA.texture);
    EXPECT_EQ(nullptr, engine.m_shaderDefault);
    effects = 0;
    EXPECT_FALSE(Create(nullptr)) << c.text;
  }
  g_answer = nullptr;
  EXPECT_TRUE(Create());
}

TEST_F(SDxTest, RepeatedCreationReleasesWhatItReplaced) {
  ASSERT_TRUE(Create());
  IDirect3DDevice9* device = engine.m_device;
  IDirect3D9* d3d = engine.m_d3d;
  device->AddRef();
  d3d->AddRef();
  ULONG deviceReferences = References(device);
  ULONG d3dReferences = References(d3d);

  // A second set of targets replaces the first; a second device is refused.
  ASSERT_TRUE(engine.CreateRenderTargets(nullptr));
  EXPECT_EQ(deviceReferences, References(device));
  SString error("unchanged");
  EXPECT_FALSE(engine.CreateDevice(&error));
  EXPECT_STREQ("unchanged", error.GetText());
  EXPECT_EQ(device, engine.m_device);
  EXPECT_EQ(d3d, engine.m_d3d);
  EXPECT_EQ(deviceReferences, References(device));
  EXPECT_EQ(d3dReferences, References(d3d));

  // Once destroyed, only this test's own references are left.
  engine.Destroy();
  EXPECT_EQ(0u, device->Release());
  EXPECT_EQ(0u, d3d->Release());
}

TEST_F(SDxTest, DepthFormatsAreTriedInOrder) {
  std::vector<D3DFORMAT> tried;
  g_answer = [&tried](int k, HRESULT r, void* d) {
    if (k != SDx::D3DCALL_DEPTH_MATCH) return r;
    D3DFORMAT format = *(D3DFORMAT*)d;
    tried.push_back(format);
    return format == D3DFMT_D16 ? r : D3DERR_NOTAVAILABLE;
  };
  SString error;
  ASSERT_TRUE(Create(&error)) << error.GetText();
  std::vector<D3DFORMAT> order = {D3DFMT_D24FS8, D3DFMT_D24S8, D3DFMT_D24X4S4,
                                  D3DFMT_D24X8,  D3DFMT_D15S1, D3DFMT_D16};
  EXPECT_EQ(order, tried);
  EXPECT_EQ(D3DFMT_D16, engine.m_presentParameters.AutoDepthStencilFormat);
}

TEST_F(SDxTest, FrameRunsFromTheIdleCallback) {
  ASSERT_TRUE(Create());
  g_engine = &engine;
  struct Idle {
    TestEngine* engine;
    int calls;
  } idle = {&engine, 0};
  auto callback = [](void* argument) -> int {
    Idle* state = (Idle*)argument;
    ++state->calls;
    SDx::Frame();
    if (state->engine->frames == 3 || state->calls > 1000000) ::PostQuitMessage(0);
    return 0;
  };
  bool blocking = false;
  RunMessageLoop(&blocking, callback, &idle);
  EXPECT_EQ(3, engine.frames);
  EXPECT_GT(engine.GetTime(), 60.0f);
  EXPECT_EQ(3, CountCalls(SDx::D3DCALL_PRESENT));
}

// --- timing ----------------------------------------------------------------------

TEST_F(SDxTest, FrameLimitSkipsShortFramesAndCarriesTheirTime) {
  ASSERT_TRUE(Create());
  engine.m_clock = FakeClock;
  g_engine = &engine;
  FrameAt(100.0f);  // the first frame after creation: one capped step
  EXPECT_EQ(1, engine.frames);
  float clock = engine.GetTime();
  FrameAt(100.005f);
  EXPECT_EQ(1, engine.frames);
  EXPECT_EQ(clock, engine.GetTime());
  FrameAt(100.017f);
  EXPECT_EQ(2, engine.frames);
  EXPECT_NEAR(0.017f, engine.GetElapsedTime(), 1e-4f);
  EXPECT_NEAR(clock + 0.017f, engine.GetTime(), 1e-4f);

  // A long frame advances the game clock by 0.02 only.
  FrameAt(100.117f);
  EXPECT_NEAR(0.02f, engine.GetElapsedTime(), 1e-6f);
  EXPECT_NEAR(clock + 0.037f, engine.GetTime(), 1e-4f);

  // Paused: frames run with dt 0.
  engine.SetPaused(true);
  FrameAt(100.2f);
  EXPECT_EQ(0.0f, engine.GetElapsedTime());
  EXPECT_NEAR(clock + 0.037f, engine.GetTime(), 1e-4f);
  engine.SetPaused(false);

  // Without the frame limit every call is a frame.
  engine.GetConfig()->frameLimit = 0;
  int frames = engine.frames;
  FrameAt(100.201f);
  FrameAt(100.202f);
  EXPECT_EQ(frames + 2, engine.frames);
}

TEST_F(SDxTest, SlowWarningComesAfterASecondOfSlowFramesAndGoesWithAFastOne) {
  ASSERT_TRUE(Create());
  engine.m_clock = FakeClock;
  g_engine = &engine;
  float t = 200.0f;
  FrameAt(t);
  FrameAt(t += 0.017f);
  EXPECT_FALSE(engine.IsSlowWarningDue());
  for (int i = 0; i < 10; ++i) {
    FrameAt(t += 0.1f);
    EXPECT_FALSE(engine.IsSlowWarningDue()) << i;
  }
  FrameAt(t += 0.1f);  // 1.1 s after the first slow frame
  EXPECT_TRUE(engine.IsSlowWarningDue());
  engine.m_slowWarningEnabled = false;
  EXPECT_FALSE(engine.IsSlowWarningDue());
  engine.m_slowWarningEnabled = true;
  FrameAt(t += 0.018f);
  EXPECT_FALSE(engine.IsSlowWarningDue());
}

TEST_F(SDxTest, TimersFireOnceDueAndStayWhileTheHookSaysSo) {
  ASSERT_TRUE(Create());
  engine.m_clock = FakeClock;
  g_engine = &engine;
  float t = 300.0f;
  FrameAt(t);
  engine.timerAnswers[2] = false;
  ASSERT_TRUE(engine.AddTimer(1, 0.05f));
  ASSERT_TRUE(engine.AddTimer(2, 0.05f));
  FrameAt(t += 0.02f);
  FrameAt(t += 0.02f);
  EXPECT_TRUE(engine.firedTimers.empty());
  FrameAt(t += 0.02f);  // 0.06 s of game time
  EXPECT_EQ((std::vector<int>{1, 2}), engine.firedTimers);
  EXPECT_EQ(1, engine.GetTimerCount());
  FrameAt(t += 0.02f);
  FrameAt(t += 0.02f);
  EXPECT_EQ((std::vector<int>{1, 2, 2, 2}), engine.firedTimers);
  engine.KillAllTimers();
  EXPECT_EQ(0, engine.GetTimerCount());

  // A hook that replaces the timers: the new ones stay.
  engine.AddTimer(6, 0.01f);
  engine.AddTimer(7, 100.0f);
  engine.onTimer = [this](int) {
    engine.KillAllTimers();
    engine.AddTimer(8, 100.0f);
    engine.AddTimer(9, 100.0f);
  };
  FrameAt(t += 0.02f);
  engine.onTimer = nullptr;
  ASSERT_EQ(2, engine.GetTimerCount());
  EXPECT_EQ(8, engine.m_timerIds[0]);
  EXPECT_EQ(9, engine.m_timerIds[1]);
  engine.KillAllTimers();

  // A fixed capacity (at least 8) refuses the timer beyond it.
  engine.ReserveCapacity(8);
  for (int id = 0; id < 8; ++id) EXPECT_TRUE(engine.AddTimer(id, 1.0f));
  EXPECT_FALSE(engine.AddTimer(8, 1.0f));
  EXPECT_EQ(8, engine.GetTimerCount());
  engine.ReserveCapacity(-1);
  EXPECT_TRUE(engine.AddTimer(8, 1.0f));
}

// --- options -------------------------------------------------------------------------

TEST_F(SDxTest, OptionsAreWrittenAndReadBackCorrected) {
  SRegistry registry;
  config.SetRegistryKey(kTestKey);
  ASSERT_TRUE(Create());
  // A fresh key: every option on.
  EXPECT_EQ(1, engine.GetConfig()->lighting);
  EXPECT_EQ(1.0f, engine.GetConfig()->musicVolume);
  engine.GetConfig()->lighting = 0;
  engine.GetConfig()->brightness = 0.25f;
  engine.GetConfig()->audio = 0;
  engine.GetConfig()->music = 1;
  engine.GetConfig()->musicVolume = 0.3f;
  engine.GetConfig()->forceFeedback = 0;
  engine.Destroy();
  EXPECT_EQ(1u, registry.GetNumber(HKEY_CURRENT_USER, kTestKey, "DxNoLighting"));
  EXPECT_STREQ("0.25", registry.GetString(HKEY_CURRENT_USER, kTestKey, "DxBrightness").GetText());
  EXPECT_EQ(1u, registry.GetNumber(HKEY_CURRENT_USER, kTestKey, "DxNoAudio"));
  EXPECT_EQ(0u, registry.GetNumber(HKEY_CURRENT_USER, kTestKey, "DxNoMusic"));
  EXPECT_STREQ("0.3", registry.GetString(HKEY_CURRENT_USER, kTestKey, "DxMusicVolume").GetText());
  EXPECT_EQ(1u, registry.GetNumber(HKEY_CURRENT_USER, kTestKey, "DxNoFFB"));

  // Values out of range are written clamped to [-1, 1].
  struct Written {
    float brightness, volume;
    const char* brightnessText;
    const char* volumeText;
  } written[] = {{3.5f, 2.5f, "1", "1"}, {-4.0f, -1.5f, "-1", "-1"}, {0.5f, -0.25f, "0.5", "-0.25"}};
  for (const Written& w : written) {
    ASSERT_TRUE(Create());
    engine.GetConfig()->brightness = w.brightness;
    engine.GetConfig()->musicVolume = w.volume;
    engine.Destroy();
    EXPECT_STREQ(w.brightnessText, registry.GetString(HKEY_CURRENT_USER, kTestKey, "DxBrightness").GetText());
    EXPECT_STREQ(w.volumeText, registry.GetString(HKEY_CURRENT_USER, kTestKey, "DxMusicVolume").GetText());
  }
  registry.SetString(HKEY_CURRENT_USER, kTestKey, "DxBrightness", "0.25");
  registry.SetString(HKEY_CURRENT_USER, kTestKey, "DxMusicVolume", "0.3");

  ASSERT_TRUE(Create());
  EXPECT_EQ(0, engine.GetConfig()->lighting);
  EXPECT_FALSE(engine.m_lighting);
  EXPECT_EQ(0.25f, engine.GetConfig()->brightness);
  EXPECT_EQ(0, engine.GetConfig()->audio);
  EXPECT_EQ(1, engine.GetConfig()->music);
  EXPECT_FLOAT_EQ(0.3f, engine.GetConfig()->musicVolume);
  EXPECT_EQ(0, engine.GetConfig()->forceFeedback);
  engine.Destroy();

  // Out-of-range values are corrected on reading.
  struct Case {
    const char* brightness;
    const char* volume;
    float expectedBrightness;
    float expectedVolume;
  } cases[] = {
      {"2.5", "0", 1.0f, 1.0f},
      {"-3", "-0.5", -1.0f, 1.0f},
      {"", "7", 0.0f, 1.0f},
      {"-0.5", "0.3", -0.5f, 0.3f},
  };
  for (const Case& c : cases) {
    registry.SetString(HKEY_CURRENT_USER, kTestKey, "DxBrightness", c.brightness);
    registry.SetString(HKEY_CURRENT_USER, kTestKey, "DxMusicVolume", c.volume);
    ASSERT_TRUE(Create());
    EXPECT_FLOAT_EQ(c.expectedBrightness, engine.GetConfig()->brightness) << c.brightness;
    EXPECT_FLOAT_EQ(c.expectedVolume, engine.GetConfig()->musicVolume) << c.volume;
    engine.Destroy();
  }
}

TEST_F(SDxTest, WithoutAKeyNothingIsReadOrWritten) {
  SRegistry registry;
  registry.SetNumber(HKEY_CURRENT_USER, kTestKey, "DxNoLighting", 1);
  config.lighting = 1;
  config.brightness = 0.5f;
  ASSERT_TRUE(Create());
  EXPECT_EQ(1, engine.GetConfig()->lighting);
  EXPECT_EQ(0.5f, engine.GetConfig()->brightness);
  EXPECT_EQ(0.0f, engine.ReadRegistryFloat("DxBrightness"));
  engine.Destroy();
  EXPECT_EQ(1u, registry.GetNumber(HKEY_CURRENT_USER, kTestKey, "DxNoLighting"));
  EXPECT_STREQ("", registry.GetString(HKEY_CURRENT_USER, kTestKey, "DxBrightness").GetText());
}

TEST_F(SDxTest, AFailedCreateLeavesTheStoredOptionsAlone) {
  SRegistry registry;
  registry.SetNumber(HKEY_CURRENT_USER, kTestKey, "DxNoLighting", 1);
  registry.SetString(HKEY_CURRENT_USER, kTestKey, "DxBrightness", "0.75");
  config.SetRegistryKey(kTestKey);
  g_answer = [](int k, HRESULT r, void*) { return k == SDx::D3DCALL_CREATE_DEVICE ? D3DERR_INVALIDCALL : r; };
  EXPECT_FALSE(Create());
  EXPECT_EQ(1u, registry.GetNumber(HKEY_CURRENT_USER, kTestKey, "DxNoLighting"));
  EXPECT_STREQ("0.75", registry.GetString(HKEY_CURRENT_USER, kTestKey, "DxBrightness").GetText());
}

// --- output geometry ---------------------------------------------------------------

TEST_F(SDxTest, OutputRectangleLetterboxesAndPillarboxes) {
  const float aspect = 16.0f / 9.0f;
  struct Case {
    int width, height;
    RECT expected;
  } cases[] = {
      {1280, 1024, {0, 153, 1280, 872}},
      {1920, 800, {249, 0, 1671, 800}},
      {1280, 720, {0, 0, 1280, 720}},
      {800, 600, {0, 76, 800, 525}},  // 449 rows, truncated like 719 above
      {0, 0, {0, 0, 0, 0}},
  };
  auto check = [&cases, aspect](const char* when) {
    for (const Case& c : cases) {
      RECT r = SDx::ComputeOutputRect(c.width, c.height, aspect);
      EXPECT_EQ(c.expected.left, r.left) << c.width << "x" << c.height << " " << when;
      EXPECT_EQ(c.expected.top, r.top) << c.width << "x" << c.height << " " << when;
      EXPECT_EQ(c.expected.right, r.right) << c.width << "x" << c.height << " " << when;
      EXPECT_EQ(c.expected.bottom, r.bottom) << c.width << "x" << c.height << " " << when;
    }
  };
  check("before any device");
  ASSERT_TRUE(Create());
  // The device may have set the FPU to single precision: the same results.
  check("with a device");

  // The live window: a 4:3 client gets bars above and below.
  window->SetClientSize(800, 600);
  engine.OnMessage(WM_SIZE, 0, MAKELPARAM(800, 600));
  EXPECT_EQ(800, engine.m_clientWidth);
  EXPECT_EQ(600, engine.m_clientHeight);
  EXPECT_EQ(76, engine.m_outputRect.top);
  EXPECT_EQ(525, engine.m_outputRect.bottom);
  EXPECT_NE(nullptr, engine.m_outputQuad);
}

// --- device loss --------------------------------------------------------------------

TEST_F(SDxTest, ALostDeviceIsResetAndRebuiltWithinTheFrame) {
  ASSERT_TRUE(Create());
  engine.m_clock = FakeClock;
  g_engine = &engine;
  float t = 400.0f;
  FrameAt(t);
  SDxShader* effect = engine.CreateShader(SDxShader::TEXT_FADE);
  ASSERT_NE(nullptr, effect);
  SArray<SDxShader*> list;
  list.Add(effect);
  EXPECT_TRUE(engine.SetScreenEffects(&list));
  engine.AddTimer(1, 100.0f);

  g_calls.clear();
  int presents = 0;
  g_answer = [&presents](int k, HRESULT r, void*) {
    if (k == SDx::D3DCALL_PRESENT && ++presents == 1) return D3DERR_DEVICELOST;
    return r;
  };
  FrameAt(t += 0.02f);
  EXPECT_EQ((std::vector<int>{SDx::D3DCALL_PRESENT, SDx::D3DCALL_TEST_COOPERATIVE, SDx::D3DCALL_RESET}),
            CallsBesideCreation());
  EXPECT_EQ(10, CountCalls(SDx::D3DCALL_CREATE_TARGET));
  EXPECT_EQ(7, CountCalls(SDx::D3DCALL_CREATE_EFFECT));
  EXPECT_EQ(std::vector<bool>{false}, engine.resets);
  // The scene was cleared and the targets made again.
  EXPECT_EQ(0, engine.m_shaders.GetCount());
  EXPECT_EQ(0, engine.m_screenEffects.GetCount());
  EXPECT_EQ(0, engine.GetTimerCount());
  EXPECT_NE(nullptr, engine.m_mainA.texture);
  EXPECT_NE(nullptr, engine.m_shaderDeferred);
  EXPECT_TRUE(engine.IsCreated());
  FrameAt(t += 0.02f);
  EXPECT_EQ(1u, engine.resets.size());
}

TEST_F(SDxTest, AResetWhileStillLostIsRetriedOnALaterFrame) {
  ASSERT_TRUE(Create());
  engine.m_clock = FakeClock;
  g_engine = &engine;
  float t = 500.0f;
  FrameAt(t);
  // Present reports the loss; the device stays lost for one frame, then a
  // reset fails because it was lost again, then everything works.
  std::vector<HRESULT> tests = {D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET, D3DERR_DEVICELOST, D3D_OK};
  std::vector<HRESULT> resets = {D3DERR_DEVICELOST, D3D_OK};
  int presents = 0;
  g_answer = [&](int k, HRESULT r, void*) {
    if (k == SDx::D3DCALL_PRESENT) return ++presents == 1 ? D3DERR_DEVICELOST : r;
    std::vector<HRESULT>& answers = k == SDx::D3DCALL_TEST_COOPERATIVE ? tests : resets;
    if (k == SDx::D3DCALL_RESET || k == SDx::D3DCALL_TEST_COOPERATIVE) {
      if (answers.empty()) return r;
      HRESULT answer = answers.front();
      answers.erase(answers.begin());
      return answer;
    }
    return r;
  };
  FrameAt(t += 0.02f);  // lost: released, still lost
  EXPECT_TRUE(engine.resets.empty());
  EXPECT_EQ(nullptr, engine.m_mainA.texture);
  EXPECT_TRUE(engine.IsCreated());
  int frames = engine.frames;
  FrameAt(t += 0.02f);  // reset refused, lost again
  EXPECT_TRUE(engine.resets.empty());
  EXPECT_EQ(nullptr, engine.m_mainA.texture);
  EXPECT_EQ(frames, engine.frames);
  FrameAt(t += 0.02f);  // back
  EXPECT_EQ(std::vector<bool>{false}, engine.resets);
  EXPECT_NE(nullptr, engine.m_mainA.texture);
  FrameAt(t += 0.02f);
  EXPECT_EQ(frames + 1, engine.frames);
  EXPECT_EQ(2, presents);
}

// --- display modes ------------------------------------------------------------------

TEST_F(SDxTest, DisplayModesAtTheDesktopRateWithoutDuplicates) {
  const D3DDISPLAYMODE modes[] = {
      {1280, 720, 60, D3DFMT_X8R8G8B8},
      {1920, 1080, 75, D3DFMT_X8R8G8B8},
      {1280, 720, 60, D3DFMT_X8R8G8B8},
      {800, 600, 60, D3DFMT_X8R8G8B8},
  };
  g_answer = [&modes](int k, HRESULT r, void* d) -> HRESULT {
    if (k == SDx::D3DCALL_DISPLAY_MODE) {
      ((D3DDISPLAYMODE*)d)->RefreshRate = 60;
      return D3D_OK;
    }
    if (k != SDx::D3DCALL_ENUM_MODE) return r;
    SDx::_SModeQuery* query = (SDx::_SModeQuery*)d;
    if (query->index >= 4) return D3DERR_INVALIDCALL;
    query->mode = modes[query->index];
    return D3D_OK;
  };
  SArray<uint32_t> list;
  ASSERT_EQ(2, SDx::EnumDisplayModes(&list));
  EXPECT_EQ((800u << 16) | 600u, list[0]);
  EXPECT_EQ((1280u << 16) | 720u, list[1]);
  int width = 0, height = 0;
  SDx::GetLargestDisplayMode(&width, &height);
  EXPECT_EQ(1280, width);
  EXPECT_EQ(720, height);

  g_answer = [](int k, HRESULT r, void*) { return k == SDx::D3DCALL_CREATE ? E_FAIL : r; };
  EXPECT_EQ(0, SDx::EnumDisplayModes(&list));
  SDx::GetLargestDisplayMode(&width, &height);
  EXPECT_EQ(0, width);
  EXPECT_EQ(0, height);
}

// --- effects and display parameters -------------------------------------------------

TEST_F(SDxTest, ScreenEffectsAndShadersOfTheApplication) {
  ASSERT_TRUE(Create());
  SDxShader* fade = engine.CreateShader(SDxShader::TEXT_FADE);
  SDxShader* grey = engine.CreateShader(SDxShader::TEXT_GREY);
  ASSERT_NE(nullptr, fade);
  ASSERT_NE(nullptr, grey);
  EXPECT_EQ(nullptr, engine.CreateShader("float x;"));
  EXPECT_EQ(2, engine.m_shaders.GetCount());
  EXPECT_TRUE(fade->IsEnabled());

  SArray<SDxShader*> list;
  list.Add(grey);
  list.Add(fade);
  EXPECT_TRUE(engine.SetScreenEffects(&list));
  ASSERT_EQ(2, engine.m_screenEffects.GetCount());
  EXPECT_EQ(grey, engine.m_screenEffects[0]);
  SDxShader empty(&engine);
  list.Add(&empty);
  EXPECT_FALSE(engine.SetScreenEffects(&list));
  EXPECT_EQ(0, engine.m_screenEffects.GetCount());
  list.RemoveAll();
  EXPECT_TRUE(engine.SetScreenEffects(&list));
  list.Add(fade);
  engine.SetScreenEffects(&list);
  EXPECT_TRUE(engine.SetScreenEffects(nullptr));
  EXPECT_FALSE(engine.SetScreenEffects(nullptr));

  engine.Clear(true);
  EXPECT_EQ(0, engine.m_shaders.GetCount());
}

TEST_F(SDxTest, CreateShaderReadsOnlyTheGivenLength) {
  ASSERT_TRUE(Create());
  // An effect file as an archive entry holds it: the text, then other bytes
  // of the memory file, and no NUL.
  std::string text = SDxShader::TEXT_FADE;
  std::vector<char> memory(text.begin(), text.end());
  const char after[] = "#}{ technique";
  memory.insert(memory.end(), after, after + sizeof(after) - 1);
  SDxShader* fade = engine.CreateShader(memory.data(), (int)text.size());
  ASSERT_NE(nullptr, fade);
  EXPECT_NE(nullptr, fade->GetParameter("g_alpha"));
  EXPECT_EQ(nullptr, engine.CreateShader(memory.data(), (int)memory.size()));
  EXPECT_EQ(nullptr, engine.CreateShader(memory.data(), 0));
  EXPECT_EQ(nullptr, engine.CreateShader(nullptr, 10));
  EXPECT_EQ(1, engine.m_shaders.GetCount());

  SDxShader shader(&engine);
  EXPECT_TRUE(shader.Create(memory.data(), (int)text.size(), true)) << shader.GetErrors().GetText();
  EXPECT_FALSE(shader.Create(memory.data(), (int)memory.size(), true));
}

TEST_F(SDxTest, ClearPutsTheMasteringVoiceAtHalfVolume) {
  if (!g_masteringVoice) GTEST_SKIP() << "no audio device: no mastering voice";
  ASSERT_TRUE(Create());
  g_masteringVoice->SetVolume(0.2f);
  engine.m_masterVolume = 0.2f;
  engine.Clear(true);
  float volume = 0;
  g_masteringVoice->GetVolume(&volume);
  EXPECT_FLOAT_EQ(0.5f, volume);
  EXPECT_FLOAT_EQ(0.5f, engine.m_masterVolume);
  g_masteringVoice->SetVolume(1.0f);
}

TEST_F(SDxTest, BrightnessReachesTheObjectEffects) {
  config.brightness = 0.25f;
  ASSERT_TRUE(Create());
  engine.SetBrightness(0.1f);
  float value = 0;
  engine.m_shaderDefault->m_effect->GetFloat(engine.m_shaderDefault->m_brightness, &value);
  EXPECT_FLOAT_EQ(0.35f, value);
  engine.FlashBrightness(0.5f, 2.0f);
  engine.m_shaderGBuffer->m_effect->GetFloat(engine.m_shaderGBuffer->m_brightness, &value);
  EXPECT_FLOAT_EQ(0.85f, value);
  EXPECT_EQ(engine.GetTime(), engine.m_flashStart);
  engine.FlashBrightness(0.5f, 0.0f);
  engine.m_shaderGBuffer->m_effect->GetFloat(engine.m_shaderGBuffer->m_brightness, &value);
  EXPECT_FLOAT_EQ(0.35f, value);
  engine.SetContrast(0.2f);
  engine.m_shaderGBuffer->m_effect->GetFloat(engine.m_shaderGBuffer->m_contrast, &value);
  EXPECT_FLOAT_EQ(0.2f, value);

  engine.SetFog(10.0f, 20.0f);
  engine.m_shaderFog->m_effect->GetFloat(engine.m_shaderFog->GetParameter("g_fogMax"), &value);
  EXPECT_EQ(20.0f, value);
  engine.EnableFog(true);
  EXPECT_TRUE(engine.m_fog);
  engine.Clear(true);
  EXPECT_FALSE(engine.m_fog);
  engine.m_shaderDefault->m_effect->GetFloat(engine.m_shaderDefault->m_brightness, &value);
  EXPECT_FLOAT_EQ(0.25f, value);
}

TEST_F(SDxTest, BeamTargetsCountTheirUsesAndClearOnTheFirst) {
  ASSERT_TRUE(Create());
  FillTarget(&engine, &engine.m_beamRT, D3DCOLOR_XRGB(255, 0, 0));
  engine.m_currentTarget = &engine.m_mainA;
  EXPECT_EQ(&engine.m_mainA, engine.SetRenderTarget(&engine.m_beamRT));
  EXPECT_EQ(1, engine.m_beamUseCount[0]);
  EXPECT_EQ(0u, ReadTarget(&engine, engine.m_beamRT).At(5, 5) & 0xFFFFFF);
  FillTarget(&engine, &engine.m_beamRT, D3DCOLOR_XRGB(0, 255, 0));
  EXPECT_EQ(&engine.m_beamRT, engine.SetRenderTarget(&engine.m_mainA));
  engine.SetRenderTarget(&engine.m_beamRT);
  EXPECT_EQ(2, engine.m_beamUseCount[0]);
  EXPECT_EQ(0x00FF00u, ReadTarget(&engine, engine.m_beamRT).At(5, 5) & 0xFFFFFF);
  EXPECT_EQ(0, engine.m_beamUseCount[1]);
}

// --- geometry ------------------------------------------------------------------------

TEST(SDxGeometryTest, TangentFrameAndTriangleVertices) {
  D3DXVECTOR3 p[3] = {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(1, 0, 0)};
  D3DXVECTOR3 n, t, b;
  ASSERT_TRUE(TriangleTangentFrame(p[0], p[1], p[2], false, &n, &t, &b));
  // (p0 - p1) x (p2 - p1) = (0, 0, -1) x (1, 0, -1) = (0, -1, 0).
  EXPECT_EQ(D3DXVECTOR3(0, -1, 0), n);
  // n x (0, 1, 0) is zero, so the tangent is n x (0, 0, 1) = (-1, 0, 0).
  EXPECT_EQ(D3DXVECTOR3(-1, 0, 0), t);
  EXPECT_EQ(D3DXVECTOR3(0, 0, -1), b);
  ASSERT_TRUE(TriangleTangentFrame(p[0], p[1], p[2], true, &n, &t, &b));
  EXPECT_EQ(D3DXVECTOR3(0, 1, 0), n);

  D3DXVECTOR3 line[3] = {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 1, 1), D3DXVECTOR3(2, 2, 2)};
  EXPECT_FALSE(TriangleTangentFrame(line[0], line[1], line[2], false, &n, &t, &b));
  EXPECT_EQ(D3DXVECTOR3(0, 1, 0), n);
  EXPECT_FLOAT_EQ(1.0f, D3DXVec3Length(&t));
  EXPECT_FLOAT_EQ(0.0f, D3DXVec3Dot(&n, &t));

  D3DXVECTOR2 uv[3] = {D3DXVECTOR2(0, 0), D3DXVECTOR2(0, 1), D3DXVECTOR2(1, 0)};
  SDxVertex out[4];
  EXPECT_EQ(out + 3, SDx::BuildTriangle(out, p, uv, false));
  EXPECT_EQ(p[0], out[0].position);
  EXPECT_EQ(p[2], out[1].position);
  EXPECT_EQ(p[1], out[2].position);
  EXPECT_EQ(uv[2], out[1].uv);
  EXPECT_EQ(D3DXVECTOR3(0, -1, 0), out[2].normal);
  EXPECT_EQ(D3DXVECTOR3(-1, 0, 0), out[2].tangent);
}

}  // namespace
