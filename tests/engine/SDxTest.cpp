#include "core/Platform.h"
#include "engine/SDx.h"

#include "EngineTestSupport.h"
#include "core/SRegistry.h"
#include "engine/SDxShaderDefault.h"
#include "engine/SDxShaderGBuffer.h"


#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

const char* const kTestKey = "Software\\Ardel Vandro\\GravrunTest\\Engine";

float g_now = 0.0f;
float FakeClock() { return g_now; }
std::function<HRESULT(int, HRESULT, void*)> g_answer;
std::vector<int> g_calls;

HRESULT RecordingSeam(int call, HRESULT result, void* data) {
  g_calls.push_back(call);
  return g_answer ? g_answer(call, result, data) : result;
}

int CountCalls(int call) { return (int)std::count(g_calls.begin(), g_calls.end(), call); }

// The reference count of a COM object, left as it was.
ULONG References(IUnknown* object) { return object->AddRef(), object->Release(); }

// An engine that records its hooks.
class TestEngine : public SDx {
public:
  int frames = 0;
  std::vector<bool> resets;  // OnDeviceReset arguments
  std::vector<int> firedTimers;
  std::function<bool(int)> onTimer;  // the hook's answer; true without one

  void OnFrame() override { ++frames; }
  void OnDeviceReset(bool failed) override { resets.push_back(failed); }
  bool OnTimer(int id) override {
    firedTimers.push_back(id);
    return !onTimer || onTimer(id);
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
  void FrameAt(float t) { g_now = t, SDx::Frame(); }

  std::unique_ptr<SWnd> window;
  SDxConfig config;
  TestEngine engine;
};

TEST_F(SDxTest, CreateMakesTheDeviceAndTheTenTargets) {
  SString error;
  ASSERT_TRUE(Create(&error)) << error.GetText();
  EXPECT_EQ(window->m_hWnd, engine.m_presentParameters.hDeviceWindow);

  SDx& e = engine;
  const struct {
    const SDxRenderTarget* target;
    UINT width, height;
    D3DFORMAT format;
    const SDxRenderTarget* partner;
  } targets[] = {
      {&e.m_mainA, 800, 450, D3DFMT_X8R8G8B8, &e.m_mainB},
      {&e.m_mainB, 800, 450, D3DFMT_X8R8G8B8, &e.m_mainA},
      {&e.m_quarterA, 200, 112, D3DFMT_X8R8G8B8, &e.m_quarterB},
      {&e.m_quarterB, 200, 112, D3DFMT_X8R8G8B8, &e.m_quarterA},
      {&e.m_previousRT, 800, 450, D3DFMT_X8R8G8B8, nullptr},
      {&e.m_colorRT, 800, 450, D3DFMT_X8R8G8B8, nullptr},
      {&e.m_normalRT, 800, 450, D3DFMT_A16B16G16R16F, nullptr},
      {&e.m_infoRT, 800, 450, D3DFMT_X8R8G8B8, nullptr},
      {&e.m_beamRT, 800, 450, D3DFMT_X8R8G8B8, nullptr},
      {&e.m_beamRT2, 800, 450, D3DFMT_X8R8G8B8, nullptr},
  };
  for (const auto& t : targets) {
    int row = (int)(&t - targets);
    ASSERT_NE(nullptr, t.target->texture) << row;
    D3DSURFACE_DESC desc;
    ASSERT_TRUE(SUCCEEDED(t.target->texture->GetLevelDesc(0, &desc))) << row;
    EXPECT_EQ(t.width, desc.Width) << row;
    EXPECT_EQ(t.height, desc.Height) << row;
    EXPECT_EQ(t.format, desc.Format) << row;
    EXPECT_EQ(t.partner, t.target->partner) << row;
    EXPECT_EQ(t.width == 200, t.target->quarter) << row;
  }
  EXPECT_EQ(60.0f, engine.GetTime());
  engine.Destroy();
  EXPECT_FALSE(engine.IsCreated());
  EXPECT_TRUE(!engine.m_device && !engine.m_mainA.texture && !engine.m_shaderDefault);
}

// A change of the device's capabilities.
HRESULT NoTransform(HRESULT r, D3DCAPS9* caps) {
  caps->DevCaps &= ~D3DDEVCAPS_HWTRANSFORMANDLIGHT;
  return r;
}
HRESULT ThreeTargets(HRESULT r, D3DCAPS9* caps) {
  caps->NumSimultaneousRTs = 3;
  return r;
}
HRESULT ShaderModel2(HRESULT r, D3DCAPS9* caps) {
  caps->PixelShaderVersion = D3DPS_VERSION(2, 0);
  return r;
}

TEST_F(SDxTest, EveryFailureHasItsText) {
  // A call answered with a failure, or with changed capabilities; a failing
  // target record; or the n-th built-in effect (1 to 7) failing.
  SDx& e = engine;
  struct Case {
    int call;
    HRESULT answer;
    HRESULT (*caps)(HRESULT, D3DCAPS9*);
    SDxRenderTarget* target;
    int effect;
    const char* text;
  } cases[] = {
      {SDx::D3DCALL_CREATE, E_FAIL, nullptr, nullptr, 0, "Cannot create IDirect3D9"},
      {SDx::D3DCALL_DISPLAY_MODE, E_FAIL, nullptr, nullptr, 0, "Cannot get adapter display mode"},
      {SDx::D3DCALL_CAPS, E_FAIL, nullptr, nullptr, 0, "HAL not supported"},
      {SDx::D3DCALL_CAPS, 0, NoTransform, nullptr, 0, "HWTRANSFORMANDLIGHT not supported"},
      {SDx::D3DCALL_CAPS, 0, ThreeTargets, nullptr, 0, "MRT not supported"},
      {SDx::D3DCALL_CAPS, 0, ShaderModel2, nullptr, 0, "Shader Model v3.0 not supported"},
      {SDx::D3DCALL_DEPTH_MATCH, E_FAIL, nullptr, nullptr, 0,
       "Cannot create Depth Stencil Format surface"},
      {SDx::D3DCALL_CREATE_DEVICE, E_FAIL, nullptr, nullptr, 0, "Cannot create DirectX Device"},
      {-1, 0, nullptr, &e.m_mainA, 0, "Cannot create RT"},
      {-1, 0, nullptr, &e.m_previousRT, 0, "Cannot create PreviousRT"},
      {-1, 0, nullptr, &e.m_colorRT, 0, "Cannot create ColorRT"},
      {-1, 0, nullptr, &e.m_normalRT, 0, "Cannot create NormalRT"},
      {-1, 0, nullptr, &e.m_infoRT, 0, "Cannot create InfoRT"},
      {-1, 0, nullptr, &e.m_beamRT, 0, "Cannot create BeamRT"},
      {-1, 0, nullptr, &e.m_beamRT2, 0, "Cannot create BeamRT"},
      {-1, 0, nullptr, nullptr, 7, "Cannot create Shaders"},
  };
  for (const Case& c : cases) {
    int effects = 0;
    g_answer = [&c, &effects](int k, HRESULT r, void* d) -> HRESULT {
      if (k == c.call) return c.caps ? c.caps(r, (D3DCAPS9*)d) : c.answer;
      if (k == SDx::D3DCALL_CREATE_TARGET && d == c.target) return E_OUTOFMEMORY;
      if (k == SDx::D3DCALL_CREATE_EFFECT && ++effects == c.effect) return E_FAIL;
      return r;
    };
    g_calls.clear();
    SString error("unchanged");
    EXPECT_FALSE(Create(&error)) << c.text;
    EXPECT_STREQ(c.text, error.GetText());
    // The first failure stops the sequence: capabilities before depth
    // formats, no effect after a target.
    if (c.caps) {
      EXPECT_EQ(0, CountCalls(SDx::D3DCALL_DEPTH_MATCH)) << c.text;
    }
    EXPECT_EQ(c.effect, effects) << c.text;
    EXPECT_FALSE(engine.IsCreated());
    EXPECT_TRUE(!engine.m_device && !engine.m_d3d && !engine.m_mainA.texture) << c.text;
    EXPECT_EQ(nullptr, engine.m_shaderDefault);
    effects = 0;
    EXPECT_FALSE(Create(nullptr)) << c.text;
  }
  g_answer = nullptr;
  EXPECT_FALSE(engine.Create(nullptr, &config, nullptr));
  SString empty("x");
  EXPECT_FALSE(engine.Create(window.get(), nullptr, &empty));
  EXPECT_STREQ("", empty.GetText());
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
  SString error("unchanged");
  EXPECT_FALSE(engine.CreateDevice(&error));
  EXPECT_STREQ("unchanged", error.GetText());
  EXPECT_EQ(device, engine.m_device);
  EXPECT_EQ(deviceReferences, References(device));
  EXPECT_EQ(d3dReferences, References(d3d));

  // Once destroyed, only this test's own references are left.
  engine.Destroy();
  EXPECT_EQ(0u, device->Release());
  EXPECT_EQ(0u, d3d->Release());
}

TEST_F(SDxTest, FrameLimitSkipsShortFramesAndSlowFramesWarn) {
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

  // Paused: frames run with dt 0. Without the frame limit every call is a
  // frame.
  engine.SetPaused(true);
  FrameAt(100.2f);
  EXPECT_EQ(0.0f, engine.GetElapsedTime());
  engine.SetPaused(false);
  engine.GetConfig()->frameLimit = 0;
  int frames = engine.frames;
  FrameAt(100.201f);
  FrameAt(100.202f);
  EXPECT_EQ(frames + 2, engine.frames);

  // The slow-frame warning comes after a second of slow frames and goes
  // with a fast one.
  float t = 200.0f;
  FrameAt(t);
  FrameAt(t += 0.017f);
  for (int i = 0; i < 10; ++i) {
    FrameAt(t += 0.1f);
    EXPECT_FALSE(engine.IsSlowWarningDue()) << i;
  }
  FrameAt(t += 0.1f);  // 1.1 s after the first slow frame
  EXPECT_TRUE(engine.IsSlowWarningDue());
  FrameAt(t += 0.018f);
  EXPECT_FALSE(engine.IsSlowWarningDue());
}

TEST_F(SDxTest, TimersFireOnceDueAndStayWhileTheHookSaysSo) {
  ASSERT_TRUE(Create());
  engine.m_clock = FakeClock;
  g_engine = &engine;
  float t = 300.0f;
  FrameAt(t);
  engine.onTimer = [](int id) { return id != 2; };
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

  // A hook that replaces the timers: the new ones stay.
  engine.AddTimer(6, 0.01f);
  engine.AddTimer(7, 100.0f);
  engine.onTimer = [this](int) {
    engine.KillAllTimers();
    return engine.AddTimer(8, 100.0f) && engine.AddTimer(9, 100.0f);
  };
  FrameAt(t += 0.02f);
  ASSERT_EQ(2, engine.GetTimerCount());
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

TEST_F(SDxTest, OptionsAreWrittenAndReadBackCorrected) {
  SRegistry registry;
  HKEY root = HKEY_CURRENT_USER;
  config.SetRegistryKey(kTestKey);
  ASSERT_TRUE(Create());
  // A fresh key: every option on.
  EXPECT_EQ(1, engine.GetConfig()->lighting);
  EXPECT_EQ(1.0f, engine.GetConfig()->musicVolume);
  engine.GetConfig()->lighting = 0;
  engine.GetConfig()->audio = 0;
  engine.GetConfig()->forceFeedback = 0;
  engine.Destroy();
  EXPECT_EQ(1u, registry.GetNumber(root, kTestKey, "DxNoLighting"));
  EXPECT_EQ(1u, registry.GetNumber(root, kTestKey, "DxNoAudio"));
  EXPECT_EQ(0u, registry.GetNumber(root, kTestKey, "DxNoMusic"));
  EXPECT_EQ(1u, registry.GetNumber(root, kTestKey, "DxNoFFB"));

  // Floats are written as short texts clamped to [-1, 1], and read back
  // clamped; a music volume of 0 (or below) reads as 1.
  struct Case {
    float brightness, volume;
    const char* brightnessText;
    const char* volumeText;
    float readBrightness, readVolume;
  } cases[] = {
      {0.25f, 0.3f, "0.25", "0.3", 0.25f, 0.3f},
      {3.5f, 2.5f, "1", "1", 1.0f, 1.0f},
      {-4.0f, -0.5f, "-1", "-0.5", -1.0f, 1.0f},
      {0.0f, 0.0f, "0", "0", 0.0f, 1.0f},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Create());
    EXPECT_FALSE(engine.m_lighting);
    engine.GetConfig()->brightness = c.brightness;
    engine.GetConfig()->musicVolume = c.volume;
    engine.Destroy();
    EXPECT_STREQ(c.brightnessText, registry.GetString(root, kTestKey, "DxBrightness").GetText());
    EXPECT_STREQ(c.volumeText, registry.GetString(root, kTestKey, "DxMusicVolume").GetText());
    registry.SetString(root, kTestKey, "DxBrightness", c.brightness > 1 ? "2.5" : c.brightnessText);
    ASSERT_TRUE(Create());
    EXPECT_FLOAT_EQ(c.readBrightness, engine.GetConfig()->brightness) << c.brightness;
    EXPECT_FLOAT_EQ(c.readVolume, engine.GetConfig()->musicVolume) << c.volume;
    engine.Destroy();
  }
}

TEST_F(SDxTest, WithoutAKeyOrAfterAFailedCreateTheStoredOptionsStay) {
  SRegistry registry;
  registry.SetNumber(HKEY_CURRENT_USER, kTestKey, "DxNoLighting", 1);
  registry.SetString(HKEY_CURRENT_USER, kTestKey, "DxBrightness", "0.75");
  config.brightness = 0.5f;
  ASSERT_TRUE(Create());
  EXPECT_EQ(1, engine.GetConfig()->lighting);
  EXPECT_EQ(0.5f, engine.GetConfig()->brightness);
  EXPECT_EQ(0.0f, engine.ReadRegistryFloat("DxBrightness"));
  engine.Destroy();
  config.SetRegistryKey(kTestKey);
  g_answer = [](int k, HRESULT r, void*) {
    return k == SDx::D3DCALL_CREATE_DEVICE ? D3DERR_INVALIDCALL : r;
  };
  EXPECT_FALSE(Create());
  EXPECT_EQ(1u, registry.GetNumber(HKEY_CURRENT_USER, kTestKey, "DxNoLighting"));
  EXPECT_STREQ("0.75",
               registry.GetString(HKEY_CURRENT_USER, kTestKey, "DxBrightness").GetText());
}

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
      EXPECT_TRUE(::EqualRect(&c.expected, &r)) << c.width << "x" << c.height << " " << when;
    }
  };
  check("before any device");
  ASSERT_TRUE(Create());
  // The device may have set the FPU to single precision: the same results.
  check("with a device");
  // The live window: a 4:3 client gets bars above and below.
  window->SetClientSize(800, 600);
  engine.OnMessage(WM_SIZE, 0, MAKELPARAM(800, 600));
  EXPECT_EQ(76, engine.m_outputRect.top);
}

TEST_F(SDxTest, ALostDeviceIsResetWithinTheFrameOrOnceItCanBe) {
  ASSERT_TRUE(Create());
  engine.m_clock = FakeClock;
  g_engine = &engine;
  float t = 400.0f;
  FrameAt(t);
  ASSERT_NE(nullptr, engine.CreateShader(SDxShader::TEXT_FADE));
  engine.AddTimer(1, 100.0f);
  // The first loss is over at once. At the second, the device stays lost
  // for a frame, then a reset fails because it was lost again, then
  // everything works.
  std::vector<HRESULT> tests = {D3D_OK, D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET,
                                D3DERR_DEVICELOST, D3D_OK};
  std::vector<HRESULT> resets = {D3D_OK, D3DERR_DEVICELOST, D3D_OK};
  int presents = 0;
  g_answer = [&](int k, HRESULT r, void*) {
    if (k == SDx::D3DCALL_PRESENT) return ++presents <= 2 ? D3DERR_DEVICELOST : r;
    std::vector<HRESULT>& answers = k == SDx::D3DCALL_TEST_COOPERATIVE ? tests : resets;
    if (k != SDx::D3DCALL_RESET && k != SDx::D3DCALL_TEST_COOPERATIVE) return r;
    HRESULT answer = answers.empty() ? r : answers.front();
    if (!answers.empty()) answers.erase(answers.begin());
    return answer;
  };
  g_calls.clear();
  FrameAt(t += 0.02f);
  g_calls.erase(std::remove(g_calls.begin(), g_calls.end(), SDx::D3DCALL_CREATE_TARGET),
                g_calls.end());
  std::vector<int> calls = {SDx::D3DCALL_PRESENT, SDx::D3DCALL_TEST_COOPERATIVE,
                            SDx::D3DCALL_RESET};
  calls.insert(calls.end(), 7, SDx::D3DCALL_CREATE_EFFECT);
  EXPECT_EQ(calls, g_calls);
  EXPECT_EQ(std::vector<bool>{false}, engine.resets);
  // The scene was cleared and the targets made again.
  EXPECT_EQ(0, engine.m_shaders.GetCount() + engine.GetTimerCount());
  EXPECT_NE(nullptr, engine.m_mainA.texture);

  engine.resets.clear();
  FrameAt(t += 0.02f);  // lost: released, still lost
  EXPECT_EQ(nullptr, engine.m_mainA.texture);
  EXPECT_TRUE(engine.IsCreated());
  int frames = engine.frames;
  FrameAt(t += 0.02f);  // reset refused, lost again
  EXPECT_TRUE(engine.resets.empty());
  EXPECT_EQ(frames, engine.frames);
  FrameAt(t += 0.02f);  // back
  EXPECT_EQ(std::vector<bool>{false}, engine.resets);
  EXPECT_NE(nullptr, engine.m_mainA.texture);
  FrameAt(t += 0.02f);
  EXPECT_EQ(frames + 1, engine.frames);
}

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
  int width = 0, height = 0;
  SDx::GetLargestDisplayMode(&width, &height);
  EXPECT_EQ(std::make_pair(1280, 720), std::make_pair(width, height));

  g_answer = [](int k, HRESULT r, void*) { return k == SDx::D3DCALL_CREATE ? E_FAIL : r; };
  EXPECT_EQ(0, SDx::EnumDisplayModes(&list));
  SDx::GetLargestDisplayMode(&width, &height);
  EXPECT_EQ(std::make_pair(0, 0), std::make_pair(width, height));
}

TEST_F(SDxTest, ScreenEffectsAndShadersOfTheApplication) {
  ASSERT_TRUE(Create());
  SDxShader* fade = engine.CreateShader(SDxShader::TEXT_FADE);
  SDxShader* grey = engine.CreateShader(SDxShader::TEXT_GREY);
  ASSERT_TRUE(fade && grey);
  EXPECT_EQ(nullptr, engine.CreateShader("float x;"));
  // An effect file as an archive entry holds it: the text, then other bytes
  // of the memory file, and no NUL: only the given length is read.
  std::string text = std::string(SDxShader::TEXT_FADE) + "#}{ technique";
  int length = (int)strlen(SDxShader::TEXT_FADE);
  EXPECT_NE(nullptr, engine.CreateShader(text.data(), length));
  EXPECT_EQ(nullptr, engine.CreateShader(text.data(), (int)text.size()));
  EXPECT_EQ(nullptr, engine.CreateShader(text.data(), 0));
  EXPECT_EQ(nullptr, engine.CreateShader(nullptr, 10));
  EXPECT_EQ(3, engine.m_shaders.GetCount());

  SArray<SDxShader*> list;
  list.Add(grey);
  list.Add(fade);
  EXPECT_TRUE(engine.SetScreenEffects(&list));
  EXPECT_EQ(grey, engine.m_screenEffects[0]);
  // One shader without an effect empties the list.
  SDxShader empty(&engine);
  list.Add(&empty);
  EXPECT_FALSE(engine.SetScreenEffects(&list));
  EXPECT_EQ(0, engine.m_screenEffects.GetCount());
  list.SetSize(1, false);
  engine.SetScreenEffects(&list);
  EXPECT_TRUE(engine.SetScreenEffects(nullptr));
  EXPECT_FALSE(engine.SetScreenEffects(nullptr));

  engine.Clear(true);
  EXPECT_EQ(0, engine.m_shaders.GetCount());
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
  engine.Clear(true);
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

TEST(SDxGeometryTest, TangentFrameAndTriangleVertices) {
  D3DXVECTOR3 p[3] = {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(1, 0, 0)};
  D3DXVECTOR3 n, t, b;
  ASSERT_TRUE(TriangleTangentFrame(p[0], p[1], p[2], false, &n, &t, &b));
  // (p0 - p1) x (p2 - p1) = (0, 0, -1) x (1, 0, -1) = (0, -1, 0).
  EXPECT_EQ(D3DXVECTOR3(0, -1, 0), n);
  // n x (0, 1, 0) is zero, so the tangent is n x (0, 0, 1) = (-1, 0, 0).
  EXPECT_EQ(D3DXVECTOR3(-1, 0, 0), t);
  EXPECT_EQ(D3DXVECTOR3(0, 0, -1), b);

  D3DXVECTOR3 line[3] = {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 1, 1), D3DXVECTOR3(2, 2, 2)};
  EXPECT_FALSE(TriangleTangentFrame(line[0], line[1], line[2], false, &n, &t, &b));
  EXPECT_EQ(D3DXVECTOR3(0, 1, 0), n);

  D3DXVECTOR2 uv[3] = {D3DXVECTOR2(0, 0), D3DXVECTOR2(0, 1), D3DXVECTOR2(1, 0)};
  SDxVertex out[4];
  EXPECT_EQ(out + 3, SDx::BuildTriangle(out, p, uv, false));
  EXPECT_EQ(p[2], out[1].position);
  EXPECT_EQ(p[1], out[2].position);
  EXPECT_EQ(uv[2], out[1].uv);
  EXPECT_EQ(D3DXVECTOR3(-1, 0, 0), out[2].tangent);
}

}  // namespace
