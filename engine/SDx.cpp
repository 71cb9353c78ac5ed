#include "core/Platform.h"
#include "engine/SDx.h"

#include "core/TimeBase.h"
#include "core/Utility.h"
#include "engine/SDxCamera.h"
#include "engine/SDxLayer.h"
#include "engine/SDxManager.h"
#include "engine/SDxShader.h"
#include "engine/SDxShaderDefault.h"
#include "engine/SDxShaderDeferred.h"
#include "engine/SDxShaderGBuffer.h"
#include "engine/SDxSound.h"
#include "window/Framework.h"
#include "window/SWnd.h"

#include <stdlib.h>
#include <xaudio2.h>

SDx* g_engine = nullptr;
SDx::Direct3DSeam SDx::s_direct3DSeam = nullptr;

namespace {

const float kFrameLimit = 0.0167f;  // shortest frame while the frame limit is on
const float kStartTime = 60.0f;     // the game clock when not created

void ZeroTarget(SDxRenderTarget* target, SDxRenderTarget* partner) {
  target->texture = nullptr;
  target->surface = nullptr;
  target->quarter = false;
  target->partner = partner;
}

}  // namespace

// Only what no reset sets: Destroy (with Clear and the frame-state reset)
// gives every other field its default.
SDx::SDx()
    : m_created(false),
      m_d3d(nullptr),
      m_device(nullptr),
      m_maxPointSize(0.0f),
      m_displayWidth(0),
      m_displayHeight(0),
      m_backBufferWidth(0),
      m_backBufferHeight(0),
      m_scaleX(100.0f),
      m_scaleY(100.0f),
      m_currentTarget(nullptr),
      m_vertexDeclaration(nullptr),
      m_screenDeclaration(nullptr),
      m_fullQuad(nullptr),
      m_quarterQuad(nullptr),
      m_outputDeclaration(nullptr),
      m_outputQuad(nullptr),
      m_sprite(nullptr),
      m_clientWidth(0),
      m_clientHeight(0),
      m_shaderDefault(nullptr),
      m_shaderGBuffer(nullptr),
      m_shaderDeferred(nullptr),
      m_shaderFog(nullptr),
      m_shaderDownSample(nullptr),
      m_shaderBlurH(nullptr),
      m_shaderBlurV(nullptr),
      m_mainLayer(nullptr),
      m_currentCamera(nullptr),
      m_overlayText(nullptr),
      m_slowWarningText(nullptr),
      m_slowWarningTexture(nullptr),
      m_slowWarningSprite(nullptr),
      m_boxShape(nullptr),
      m_clock(GetTimeSeconds),
      m_maxDt(0.02f) {
  memset(&m_presentParameters, 0, sizeof(m_presentParameters));
  memset(&m_caps, 0, sizeof(m_caps));
  D3DXMatrixIdentity(&m_identity);
  m_view = m_projection = m_viewProjection = m_identity;
  ZeroTarget(&m_mainA, &m_mainB);
  ZeroTarget(&m_mainB, &m_mainA);
  ZeroTarget(&m_quarterA, &m_quarterB);
  ZeroTarget(&m_quarterB, &m_quarterA);
  ZeroTarget(&m_previousRT, nullptr);
  ZeroTarget(&m_colorRT, nullptr);
  ZeroTarget(&m_normalRT, nullptr);
  ZeroTarget(&m_infoRT, nullptr);
  ZeroTarget(&m_beamRT, nullptr);
  ZeroTarget(&m_beamRT2, nullptr);
  m_beamUseCount[0] = m_beamUseCount[1] = 0;
  ::SetRectEmpty(&m_beamArea[0]);
  ::SetRectEmpty(&m_beamArea[1]);
  ::SetRectEmpty(&m_outputRect);
  memset(&m_defaultMaterial, 0, sizeof(m_defaultMaterial));
  m_defaultMaterial.Diffuse = m_defaultMaterial.Ambient = D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
  Destroy();
}

SDx::~SDx() {
  Destroy();
  m_shaders.FreeBuffer();
  m_sounds.FreeBuffer();
  m_extraVoices.FreeBuffer();
  m_screenEffects.FreeBuffer();
  m_layers.FreeBuffer();
  m_textures.FreeBuffer();
  m_cameras.FreeBuffer();
  m_timerIds.FreeBuffer();
  m_timerStarts.FreeBuffer();
  m_timerIntervals.FreeBuffer();
  if (g_engine == this) g_engine = nullptr;
}

HRESULT SDx::Seam(int call, HRESULT result, void* data) {
  return s_direct3DSeam ? s_direct3DSeam(call, result, data) : result;
}

// --- hooks -------------------------------------------------------------------

void SDx::OnDeviceReset(bool) {}
void SDx::OnReservedHook1(void*) {}
void SDx::OnReservedHook2(void*) {}
void SDx::OnLightRemoved(SDxLight*) {}
void SDx::OnObjectRemoved(SDxObject*) {}
void SDx::OnParticleRemoved(SDxParticle*) {}
void SDx::OnPresetRemoved(SDxPreset*) {}
void SDx::OnReservedHook3(void*) {}
void SDx::OnReservedHook4(void*) {}
void SDx::OnSpriteRemoved(SDxSprite*) {}
void SDx::OnTextRemoved(SDxText*) {}
void SDx::OnTextureRemoved(SDxTexture*) {}
void SDx::OnTriggerRemoved(SDxLayerItem*) {}
bool SDx::OnTimer(int) { return true; }
void SDx::OnSettingChanged(SDxConfig*, int) {}
void SDx::OnFrame() {}

// --- life --------------------------------------------------------------------

bool SDx::Create(SWnd* window, const SDxConfig* settings, SString* error) {
  if (!window || !settings) {
    if (error) error->Set("");
    return false;
  }
  Destroy();
  m_config = *settings;
  m_displayWidth = m_displayHeight = 0;
  m_window = window;
  HWND hWnd = window->m_hWnd;
  if (m_config.fullScreen) {
    GetLargestDisplayMode(&m_displayWidth, &m_displayHeight);
    ::SetWindowLongA(hWnd, GWL_STYLE, (LONG)(WS_POPUP | WS_VISIBLE));
    ::SetWindowLongA(hWnd, GWL_EXSTYLE, 0);
  } else {
    if (::GetWindowLongA(hWnd, GWL_STYLE) & WS_POPUP) {
      ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    window->SetClientSize(m_config.width, m_config.height);
    window->Center(true);
  }
  m_scaleX = m_scaleY = 100.0f;
  m_backBufferWidth = m_config.width;
  m_backBufferHeight = m_config.height;
  if (!CreateDevice(error)) {
    Destroy();
    return false;
  }
  m_mainLayer = new SDxLayer(this);
  if (m_config.input) CreateInput();
  if (m_config.registryKey[0]) ReadOptions();
  Clear(true);
  m_created = true;
  return true;
}

void SDx::ReadOptions() {
  HKEY root = HKEY_CURRENT_USER;
  const char* key = m_config.registryKey;
  m_config.lighting = m_registry.GetNumber(root, key, "DxNoLighting") == 0;
  m_config.brightness = ClampFloat(ReadRegistryFloat("DxBrightness"), -1.0f, 1.0f);
  m_config.audio = m_registry.GetNumber(root, key, "DxNoAudio") == 0;
  m_config.music = m_registry.GetNumber(root, key, "DxNoMusic") == 0;
  float volume =
      ClampFloat(ClampFloat(ReadRegistryFloat("DxMusicVolume"), -1.0f, 1.0f), 0.0f, 1.0f);
  m_config.musicVolume = volume == 0.0f ? 1.0f : volume;
  m_config.forceFeedback = m_registry.GetNumber(root, key, "DxNoFFB") == 0;
}

void SDx::WriteOptions() {
  HKEY root = HKEY_CURRENT_USER;
  const char* key = m_config.registryKey;
  m_registry.SetBool(root, key, "DxNoLighting", !m_config.lighting);
  WriteRegistryFloat("DxBrightness", ClampFloat(m_config.brightness, -1.0f, 1.0f));
  m_registry.SetBool(root, key, "DxNoAudio", !m_config.audio);
  m_registry.SetBool(root, key, "DxNoMusic", !m_config.music);
  WriteRegistryFloat("DxMusicVolume", ClampFloat(m_config.musicVolume, -1.0f, 1.0f));
  m_registry.SetBool(root, key, "DxNoFFB", !m_config.forceFeedback);
}

float SDx::ReadRegistryFloat(const char* name) {
  if (!m_config.registryKey[0]) return 0.0f;
  SString text = m_registry.GetString(HKEY_CURRENT_USER, m_config.registryKey, name);
  return text.GetText() ? (float)strtod(text.GetText(), nullptr) : 0.0f;
}

void SDx::WriteRegistryFloat(const char* name, float value) {
  if (!m_config.registryKey[0]) return;
  SString text = SString::FromDouble(value);
  m_registry.SetString(HKEY_CURRENT_USER, m_config.registryKey, name, text.GetText());
}

void SDx::Destroy() {
  // The options are written only by an engine that read them: a failed
  // Create must not overwrite the stored values with the settings' defaults.
  if (m_created && m_config.registryKey[0]) WriteOptions();
  m_created = false;
  Clear(false);
  delete m_mainLayer;
  m_mainLayer = nullptr;
  ReleaseInput();
  ReleaseRenderTargets();
  if (m_device) m_device->Release();
  m_device = nullptr;
  if (m_d3d) m_d3d->Release();
  m_d3d = nullptr;
  ResetFrameState();
}

void SDx::ResetFrameState() {
  // XInput's published stick dead zones and trigger threshold.
  SetPadDeadZones(7849.0f, 8689.0f, 30.0f, 30.0f);
  m_paused = false;
  m_window = nullptr;
  m_slowWarningEnabled = true;
  m_inTime = true;
  m_lastFrameTime = 0.0f;
  m_time = kStartTime;
  m_dt = 0.0f;
  m_lateSince = 0.0f;
  m_deviceLost = false;
}

void SDx::DeleteShaders() {
  for (int i = 0; i < m_shaders.GetCount(); ++i) delete m_shaders[i];
  m_shaders.RemoveAll();
}

void SDx::Clear(bool rebuild) {
  m_previousFrameCopy = false;
  m_screenEffectsEnabled = true;
  m_effectsAfterOverlay = false;
  m_screenEffects.RemoveAll();
  DeleteShaders();
  ClearScene();

  m_masterVolume = 0.5f;
  if (g_masteringVoice) g_masteringVoice->SetVolume(m_masterVolume);
  m_soundOn = m_config.audio != 0;
  DeleteSounds();

  m_lighting = m_config.lighting != 0;
  m_flashStart = m_flashDuration = m_flashAmount = 0.0f;
  m_flashBoost = 0.0f;
  SetBrightness(0.0f);
  SetContrast(0.0f);
  m_fog = false;
  m_worldAmbient = D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
  m_lightColor = D3DXCOLOR(0.0f, 0.0f, 0.0f, 1.0f);
  m_lightDirection = D3DXVECTOR3(0.0f, -1.0f, 0.0f);
  m_fogStart = 0.0f;
  m_fogEnd = 10000.0f;
  m_beamScale = 1.0f;
  m_glowScale = 1.0f;
  m_gridCellSize = 1000.0f;

  m_timerIds.SetSize(0, false);
  m_timerStarts.SetSize(0, false);
  m_timerIntervals.SetSize(0, false);

  m_paused = false;
  m_sceneVisible = true;
  StopRumble();
  ResetInput();
  m_rumbleEnabled = m_config.forceFeedback != 0;
  if (rebuild && m_mainLayer) BuildOwnObjects();
}

void SDx::ResetKeyStates() {
  for (float& t : m_keyPressTimes) t = 0.0f;
  memset(m_keyDown, 0, sizeof(m_keyDown));
  memset(m_keyEvents, 0, sizeof(m_keyEvents));
}

// --- frame step --------------------------------------------------------------

void SDx::Frame() {
  SDx* dx = g_engine;
  if (!dx || !dx->m_created) return;
  if (!dx->UpdateTiming()) return;
  if (dx->m_xinput) {
    dx->PollXInput();
  } else {
    dx->PollDirectInput();
  }
  dx->UpdateSounds();
  if (dx->m_deviceLost) {
    dx->RestoreDevice(false);
    return;
  }
  dx->m_beamUseCount[0] = dx->m_beamUseCount[1] = 0;
  if (dx->m_currentCamera) dx->m_currentCamera->Step();
  if (dx->m_mainLayer) dx->m_mainLayer->m_manager->Update();
  for (int i = 0; i < dx->m_layers.GetCount(); ++i) {
    if (dx->m_layers[i]->m_active) dx->m_layers[i]->m_manager->Update();
  }
  dx->OnFrame();
  if (dx->m_mainLayer) dx->m_mainLayer->Update();
  for (int i = 0; i < dx->m_layers.GetCount(); ++i) {
    if (dx->m_layers[i]->m_active) dx->m_layers[i]->Update();
  }
  for (int i = 0; i < dx->m_timerIds.GetCount(); ++i) {
    if (dx->GetTimeSince(dx->m_timerStarts[i]) < dx->m_timerIntervals[i]) continue;
    int id = dx->m_timerIds[i];
    if (!dx->OnTimer(id)) continue;
    // The hook may have added or killed timers: remove the entry of this id.
    int at = i < dx->m_timerIds.GetCount() && dx->m_timerIds[i] == id ? i : dx->m_timerIds.Find(id);
    if (at < 0) continue;
    dx->m_timerIds.RemoveAt(at);
    dx->m_timerStarts.RemoveAt(at);
    dx->m_timerIntervals.RemoveAt(at);
    if (at <= i) --i;
  }
  bool ok = dx->Render();
  memset(dx->m_keyEvents, 0, sizeof(dx->m_keyEvents));
  if (!ok) dx->RestoreDevice(true);
}

bool SDx::UpdateTiming() {
  float now = m_clock();
  if (m_paused) {
    m_dt = 0.0f;
    m_lastFrameTime = now;
    return true;
  }
  m_dt = now - m_lastFrameTime;
  if (m_config.frameLimit && m_dt < kFrameLimit) return false;
  m_lastFrameTime = now;
  if (m_dt > m_maxDt) {
    m_dt = m_maxDt;
    if (m_inTime) {
      m_lateSince = now;
      m_inTime = false;
    }
  } else {
    m_inTime = true;
  }
  m_time += m_dt;
  return true;
}

bool SDx::IsSlowWarningDue() const {
  return m_slowWarningEnabled && m_config.slowWarning && !m_inTime &&
         m_lastFrameTime - m_lateSince > 1.0f;
}

void SDx::RestoreDevice(bool justLost) {
  if (!m_device) return;
  if (justLost) {
    Clear(false);
    ReleaseRenderTargets();
    m_deviceLost = true;
  }
  // While the device is still lost a reset cannot succeed: try again on a
  // later frame instead of reporting a failure.
  if (Seam(D3DCALL_TEST_COOPERATIVE, m_device->TestCooperativeLevel(), nullptr) ==
      D3DERR_DEVICELOST)
    return;
  HRESULT hr = Seam(D3DCALL_RESET, m_device->Reset(&m_presentParameters), &m_presentParameters);
  if (FAILED(hr) && Seam(D3DCALL_TEST_COOPERATIVE, m_device->TestCooperativeLevel(), nullptr) ==
                        D3DERR_DEVICELOST) {
    return;
  }
  m_deviceLost = false;
  bool ok = CreateRenderTargets(nullptr);
  if (ok) Clear(true);
  OnDeviceReset(!ok);
}

// --- timers and settings -----------------------------------------------------

bool SDx::AddTimer(int id, float interval) {
  if (m_timerIds.Add(id) < 0) return false;
  m_timerStarts.Add(m_time);
  m_timerIntervals.Add(interval);
  return true;
}

void SDx::KillAllTimers() {
  m_timerIds.RemoveAll();
  m_timerStarts.RemoveAll();
  m_timerIntervals.RemoveAll();
}

void SDx::ReserveCapacity(int n) {
  m_timerIds.Reserve(n);
  m_timerStarts.Reserve(n);
  m_timerIntervals.Reserve(n);
  if (m_mainLayer) m_mainLayer->SetFixedCapacity(n);
  for (int i = 0; i < m_layers.GetCount(); ++i) m_layers[i]->SetFixedCapacity(n);
}

int SDx::EnumDisplayModes(SArray<uint32_t>* modes) {
  if (!modes) return 0;
  modes->RemoveAll();
  IDirect3D9* d3d = ::Direct3DCreate9(D3D_SDK_VERSION);
  if (FAILED(Seam(D3DCALL_CREATE, d3d ? S_OK : E_FAIL, nullptr)) || !d3d) {
    if (d3d) d3d->Release();
    return 0;
  }
  D3DDISPLAYMODE desktop;
  memset(&desktop, 0, sizeof(desktop));
  if (FAILED(Seam(D3DCALL_DISPLAY_MODE, d3d->GetAdapterDisplayMode(0, &desktop), &desktop))) {
    d3d->Release();
    return 0;
  }
  for (UINT i = 0; i < 0x10000; ++i) {
    _SModeQuery query;
    memset(&query, 0, sizeof(query));
    query.index = i;
    HRESULT hr =
        Seam(D3DCALL_ENUM_MODE, d3d->EnumAdapterModes(0, D3DFMT_X8R8G8B8, i, &query.mode), &query);
    if (hr == D3DERR_INVALIDCALL) break;
    if (SUCCEEDED(hr) && query.mode.RefreshRate == desktop.RefreshRate) {
      modes->Add(((query.mode.Width & 0xFFFF) << 16) | (query.mode.Height & 0xFFFF));
    }
  }
  d3d->Release();
  modes->Sort();
  modes->Unique();
  return modes->GetCount();
}

void SDx::GetLargestDisplayMode(int* width, int* height) {
  SArray<uint32_t> modes;
  int w = 0, h = 0;
  if (EnumDisplayModes(&modes) > 0) {
    w = (int)(modes.GetLast() >> 16);
    h = (int)(modes.GetLast() & 0xFFFF);
  }
  if (width) *width = w;
  if (height) *height = h;
}

// --- effects -----------------------------------------------------------------

SDxShader* SDx::CreateShader(const char* text) {
  return CreateShader(text, text ? (int)strlen(text) : 0);
}

SDxShader* SDx::CreateShader(const char* text, int length) {
  SDxShader* shader = new SDxShader(this);
  shader->SetEnabled(true);
  if (!shader->Create(text, length, true)) {
    delete shader;
    return nullptr;
  }
  // The built-in screen effects that give the picture back unchanged at
  // one value of a parameter: a fade at alpha 1 multiplies by one, grey at
  // alpha 0 and the speed blur at speed 0 blend with weight zero.
  static const struct {
    const char* text;
    const char* parameter;
    float value;
  } kUnchanged[] = {
      {SDxShader::TEXT_FADE, "g_alpha", 1.0f},
      {SDxShader::TEXT_GREY, "g_alpha", 0.0f},
      {SDxShader::TEXT_SPEED_BLUR, "g_speed", 0.0f},
  };
  for (const auto& row : kUnchanged) {
    if (text == row.text) shader->SetUnchangedAt(row.parameter, row.value);
  }
  m_shaders.InsertSorted(shader);
  return shader;
}

bool SDx::SetScreenEffects(SArray<SDxShader*>* shaders) {
  if (!shaders) {
    bool had = m_screenEffects.GetCount() > 0;
    m_screenEffects.RemoveAll();
    return had;
  }
  m_screenEffects.RemoveAll();
  for (int i = 0; i < shaders->GetCount(); ++i) {
    SDxShader* shader = (*shaders)[i];
    if (!shader || !shader->m_effect || !shader->m_technique) {
      m_screenEffects.RemoveAll();
      return false;
    }
    m_screenEffects.Add(shader);
  }
  return true;
}

// --- display parameters ------------------------------------------------------

void SDx::SetBrightness(float brightness) {
  m_brightness = brightness;
  m_effectiveBrightness = brightness + m_config.brightness + m_flashBoost;
  if (m_shaderDefault && m_shaderDefault->m_effect) {
    m_shaderDefault->m_effect->SetFloat(m_shaderDefault->m_brightness, m_effectiveBrightness);
  }
  if (m_shaderGBuffer && m_shaderGBuffer->m_effect) {
    m_shaderGBuffer->m_effect->SetFloat(m_shaderGBuffer->m_brightness, m_effectiveBrightness);
  }
}

void SDx::SetContrast(float contrast) {
  m_contrast = contrast;
  if (m_shaderDefault && m_shaderDefault->m_effect) {
    m_shaderDefault->m_effect->SetFloat(m_shaderDefault->m_contrast, contrast);
  }
  if (m_shaderGBuffer && m_shaderGBuffer->m_effect) {
    m_shaderGBuffer->m_effect->SetFloat(m_shaderGBuffer->m_contrast, contrast);
  }
}

void SDx::SetDeferredValue(float value) {
  if (m_shaderDeferred && m_shaderDeferred->m_effect)
    m_shaderDeferred->m_effect->SetFloat(m_shaderDeferred->m_lightAmbientMin, value);
}

void SDx::FlashBrightness(float amount, float seconds) {
  if (seconds > 0.0f) {
    m_flashStart = m_time;
    m_flashAmount = amount;
    m_flashDuration = seconds;
    m_flashBoost = amount;
  } else {
    m_flashStart = 0.0f;
    m_flashBoost = 0.0f;
  }
  SetBrightness(m_brightness);
}

void SDx::EnableFog(bool enable) {
  if (m_device) m_fog = enable;
}

void SDx::SetFog(float start, float end) {
  if (!m_device) return;
  m_fogStart = start;
  m_fogEnd = end;
  if (m_shaderFog) {
    m_shaderFog->SetFloat("g_fogMin", start);
    m_shaderFog->SetFloat("g_fogMax", end);
  }
}

void SDx::SetViewProjection(const D3DXMATRIX& view, const D3DXMATRIX& projection) {
  m_view = view;
  m_projection = projection;
  m_viewProjection = view * projection;
  if (!m_device) return;
  m_device->SetTransform(D3DTS_VIEW, &m_view);
  m_device->SetTransform(D3DTS_PROJECTION, &m_projection);
}

void SDx::SetDefaultRenderStates() {
  if (!m_device) return;
  m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  m_device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
  m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_USEW);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
  m_device->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
  m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  m_device->SetVertexDeclaration(nullptr);
}

// --- screen passes -----------------------------------------------------------

SDxRenderTarget* SDx::SetRenderTarget(SDxRenderTarget* target) {
  SDxRenderTarget* previous = m_currentTarget;
  if (!target || !m_device) return previous;
  if (previous) m_device->SetTexture(0, previous->texture);
  m_currentTarget = target;
  m_device->SetRenderTarget(0, target->surface);
  SDxRenderTarget* beams[2] = {&m_beamRT, &m_beamRT2};
  for (int i = 0; i < 2; ++i) {
    if (target != beams[i]) continue;
    if (++m_beamUseCount[i] == 1) {
      m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
      ::SetRectEmpty(&m_beamArea[i]);
    }
  }
  return previous;
}

void SDx::DrawScreenQuad(SDxShader* shader, int blendMode, bool clear) {
  if (!m_device) return;
  if (clear && blendMode == 0) {
    m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  } else if (clear) {
    m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
  }
  m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  if (blendMode == 1 || blendMode == 2) m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  if (blendMode == 2) m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  m_device->SetTransform(D3DTS_PROJECTION, &m_identity);
  m_device->SetTransform(D3DTS_VIEW, &m_identity);
  m_device->SetTransform(D3DTS_WORLD, &m_identity);
  m_device->SetVertexDeclaration(m_screenDeclaration);
  bool quarter = m_currentTarget && m_currentTarget->quarter;
  m_device->SetStreamSource(0, quarter ? m_quarterQuad : m_fullQuad, 0, sizeof(_SScreenVertex));
  if (!shader) {
    m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
  } else if (shader->m_effect) {
    UINT passes = 0;
    if (shader->m_effect->Begin(&passes, 0)) {
      for (UINT p = 0; p < passes; ++p) {
        if (!shader->m_effect->BeginPass(p)) continue;
        m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
        shader->m_effect->EndPass();
      }
      shader->m_effect->End();
    }
  }
  m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  m_device->SetTransform(D3DTS_PROJECTION, &m_projection);
  m_device->SetTransform(D3DTS_VIEW, &m_view);
}

SDxVertex* SDx::BuildTriangle(SDxVertex* output, const D3DXVECTOR3* positions,
                              const D3DXVECTOR2* uvs, bool flip) {
  D3DXVECTOR3 normal, tangent, binormal;
  TriangleTangentFrame(positions[0], positions[1], positions[2], flip, &normal, &tangent,
                       &binormal);
  static const int kOrder[3] = {0, 2, 1};
  for (int corner : kOrder) {
    output->position = positions[corner];
    output->uv = uvs ? uvs[corner] : D3DXVECTOR2(0.0f, 0.0f);
    output->normal = normal;
    output->binormal = binormal;
    output->tangent = tangent;
    ++output;
  }
  return output;
}
