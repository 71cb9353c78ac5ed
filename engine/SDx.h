// The engine object: one per program, bound to one window. It owns the
// Direct3D 9 device with its render targets and built-in effects, the
// application's effects, the option settings and the timers, and runs the
// frame step that the message loop calls when idle. The application derives
// from it and overrides its hooks.
//
// Its fields are public, as the window base's are: the render passes, the
// shaders and the scene read and set them directly.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SFileMem.h"
#include "core/SKeyboard.h"
#include "core/SRegistry.h"
#include "core/SString.h"
#include "engine/SDxConfig.h"
#include "engine/SDxEffect.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxPadState.h"
#include "engine/SDxRenderTarget.h"
#include "engine/SDxVertex.h"

#include <d3d9.h>
#include <d3dx9.h>
#include <stdint.h>

class SWnd;
class SDxShader;
class SDxSound;
class SFile;
struct IDirectInput8A;
struct IDirectInputDevice8A;
struct _XINPUT_STATE;
struct _XINPUT_VIBRATION;
struct DIJOYSTATE2;
class SDxShaderDefault;
class SDxShaderGBuffer;
class SDxShaderDeferred;
class SDxLayer;
class SDxLayerItem;
class SDxLight;
class SDxObject;
class SDxParticle;
class SDxPreset;
class SDxSprite;
class SDxText;
class SDxTexture;
class SDxCamera;
class SDxShape;
class SFile;

class SDx;

// The process-wide engine that SDx::Frame steps; set by the application.
extern SDx* g_engine;

class SDx {
public:
  // The Direct3D calls that a test may answer instead of the machine. The
  // seam receives the call, the real result and the call's data, and returns
  // the result the engine goes on with; it may change the data.
  enum {
    D3DCALL_CREATE,            // Direct3DCreate9: S_OK or E_FAIL; data null
    D3DCALL_DISPLAY_MODE,      // GetAdapterDisplayMode: D3DDISPLAYMODE*
    D3DCALL_ENUM_MODE,         // EnumAdapterModes: _SModeQuery*
    D3DCALL_CAPS,              // GetDeviceCaps: D3DCAPS9*
    D3DCALL_DEPTH_MATCH,       // CheckDepthStencilMatch: D3DFORMAT*
    D3DCALL_CREATE_DEVICE,     // CreateDevice: data null
    D3DCALL_PRESENT,           // Present: data null
    D3DCALL_TEST_COOPERATIVE,  // TestCooperativeLevel: data null
    D3DCALL_RESET,             // Reset: D3DPRESENT_PARAMETERS*
    D3DCALL_CREATE_TARGET,     // CreateTexture of a render target: SDxRenderTarget*
    D3DCALL_CREATE_EFFECT,     // a built-in effect compiled (S_OK) or not (E_FAIL): SDxShader*
  };
  struct _SModeQuery {
    UINT index;
    D3DDISPLAYMODE mode;
  };
  typedef HRESULT (*Direct3DSeam)(int call, HRESULT result, void* data);
  // Null: the machine's answers. Process-wide, as display modes are listed
  // before any engine exists.
  static Direct3DSeam s_direct3DSeam;

  SDx();
  // Destroy, then the arrays' storage.
  virtual ~SDx();

  // The render window's messages: WM_SIZE refits the picture. False while
  // not created, true otherwise.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The end of the device-loss path of the frame step; failed tells that
  // the targets could not be made again. Empty.
  virtual void OnDeviceReset(bool failed);
  // Called with an item of the layer (still alive) just before the layer
  // deletes it; empty. The reserved hooks are never called.
  virtual void OnReservedHook1(void* item);
  virtual void OnReservedHook2(void* item);
  virtual void OnLightRemoved(SDxLight* light);
  virtual void OnObjectRemoved(SDxObject* object);
  virtual void OnParticleRemoved(SDxParticle* particle);
  virtual void OnPresetRemoved(SDxPreset* preset);
  virtual void OnReservedHook3(void* item);
  virtual void OnReservedHook4(void* item);
  virtual void OnSpriteRemoved(SDxSprite* sprite);
  virtual void OnTextRemoved(SDxText* text);
  virtual void OnTextureRemoved(SDxTexture* texture);
  virtual void OnTriggerRemoved(SDxLayerItem* trigger);
  // A due timer; true removes it, false keeps it due (it fires again on the
  // next frame).
  virtual bool OnTimer(int id);
  // Fits the picture into the client area (letterbox or pillarbox) and
  // rebuilds the output quad. Needs the window and the device.
  virtual void OnSize();
  // After an option key changed a setting: 0 lighting, 1 brightness, 2 audio,
  // 3 music, 4 music volume, 5 force feedback. Empty.
  virtual void OnSettingChanged(SDxConfig* settings, int index);
  // The per-frame hook, between the entity managers and the layer updates.
  virtual void OnFrame();

  // --- life ------------------------------------------------------------------

  // Binds the engine to the window with a copy of the settings, makes the
  // device and its targets and reads the options from the registry. False
  // with the failure text in error (when given), the engine destroyed.
  bool Create(SWnd* window, const SDxConfig* settings, SString* error);
  // Writes the options to the registry (when created) and releases
  // everything; safe when not created.
  void Destroy();
  // Empties the engine's resources and resets the display state.
  void Clear(bool rebuild);
  // The frame step of the global engine (the message loop's idle work).
  static void Frame();
  bool IsCreated() const { return m_created; }

  // --- time ------------------------------------------------------------------

  // The game clock: 60.0 when not created, advanced by at most 0.02 per frame.
  float GetTime() const { return m_time; }
  float GetElapsedTime() const { return m_dt; }
  float GetTimeSince(float t) const { return m_time - t; }
  // Pauses the game clock (dt 0) or runs it again.
  void SetPaused(bool paused) { m_paused = paused; }
  bool IsPaused() const { return m_paused; }
  // The slow-frame warning is due: enabled here and in the settings, the
  // frames are too slow, and have been for more than a second.
  bool IsSlowWarningDue() const;
  // Allows (or forbids) the slow-frame warning; Destroy allows it again.
  void EnableSlowWarning(bool enable) { m_slowWarningEnabled = enable; }
  // A timer: fires (OnTimer) once interval seconds of game time passed.
  // False when the timer arrays are fixed and full.
  bool AddTimer(int id, float interval);
  void KillAllTimers();
  int GetTimerCount() const { return m_timerIds.GetCount(); }

  // --- settings ----------------------------------------------------------------

  int GetWidth() const { return m_config.width; }
  SDxConfig* GetConfig() { return &m_config; }
  // Press times 0, no key down, no key event.
  void ResetKeyStates();
  // Text-valued registry floats under the settings' key; 0 and nothing
  // without a key.
  float ReadRegistryFloat(const char* name);
  void WriteRegistryFloat(const char* name, float value);
  // Fixed capacity n for the timer arrays (n < 0: growable again).
  void ReserveCapacity(int n);
  // Display modes at the desktop's refresh rate, (width << 16) | height,
  // ascending without duplicates; returns the count.
  static int EnumDisplayModes(SArray<uint32_t>* modes);
  // The largest display mode; (0, 0) when there is none.
  static void GetLargestDisplayMode(int* width, int* height);

  // --- effects -----------------------------------------------------------------

  // A screen effect of the application compiled from length bytes of text
  // (no NUL needed); null on failure. The engine owns it until Clear.
  SDxShader* CreateShader(const char* text, int length);
  // The same from a NUL-terminated text.
  SDxShader* CreateShader(const char* text);
  // Replaces the screen-effect list; null empties it and returns whether it
  // held any. A null shader, or one without an effect or a technique,
  // empties the list and gives false.
  bool SetScreenEffects(SArray<SDxShader*>* shaders);
  SDxShaderDeferred* GetDeferredShader() const { return m_shaderDeferred; }
  void SetPreviousFrameCopy(bool copy) { m_previousFrameCopy = copy; }

  // --- scene (SDxScene.cpp) -----------------------------------------------------

  // A texture loaded from count bytes of the file at its position (negative:
  // to the end), inserted in the sorted texture array; null on failure.
  SDxTexture* CreateTexture(SFile* file, int count, const char* name, int blendKind);
  // OnTextureRemoved, every layer forgets the texture, then it is deleted.
  // False for null or a texture that is not the engine's.
  bool RemoveTexture(SDxTexture* texture);
  // The first texture of that name (exact bytes), or null.
  SDxTexture* FindTexture(const char* name) const;
  SDxCamera* CreateCamera();
  // -1: the current camera; 0..count-1: that camera; otherwise null.
  SDxCamera* GetCamera(int index) const;
  // A new active layer appended to the layer array.
  SDxLayer* CreateLayer();
  // The layer at the index of the layer array, or null.
  SDxLayer* GetLayer(int index) const;
  // The first layer of the layer array; null when there is none.
  SDxLayer* GetFirstLayer() const { return GetLayer(0); }
  SDxLayer* GetMainLayer() const { return m_mainLayer; }
  // SDxLayer::RemoveItem on the item's own layer; false for null.
  bool RemoveItem(SDxLayerItem* item);
  // A mesh of the layer array (not the main layer) by name, letter case
  // ignored; null when none.
  SDxObject* FindObjectByName(const char* name) const;
  // The texture's blend kind: 1 alpha blending, 2 additive; others nothing.
  void SetBlendMode(SDxTexture* texture);
  // Alpha blending off, destination blend INVSRCALPHA.
  void ResetBlendMode();
  // (now - start) / duration at most 1; 1 for a duration <= 0.
  float GetProgress(float start, float duration) const;

  // --- display parameters ------------------------------------------------------

  void SetBrightness(float brightness);
  void SetContrast(float contrast);
  // The floor of the surface colour that the deferred point lights light
  // ("g_lightAmbientMin", 0 as compiled): with it above 0 a dark surface
  // in a light's range still takes some of its colour. Nothing without the
  // effect; kept until the effect is made again.
  void SetDeferredValue(float value);
  void FlashBrightness(float amount, float seconds);
  // While the scene flag is false the frame is black (Clear sets it).
  void SetSceneFlag(bool visible) { m_sceneVisible = visible; }
  // The scene's two colours: the tint is the world ambient colour, the
  // ambient the light colour; alpha stays.
  void SetSceneTint(float v) { SetSceneTintRGB(v, v, v); }
  void SetSceneTintRGB(float r, float g, float b) {
    m_worldAmbient.r = r;
    m_worldAmbient.g = g;
    m_worldAmbient.b = b;
  }
  void SetSceneAmbient(float v) { m_lightColor.r = m_lightColor.g = m_lightColor.b = v; }
  void EnableFog(bool enable);
  void SetFog(float start, float end);
  // The view and projection that the effects and the screen passes use.
  void SetViewProjection(const D3DXMATRIX& view, const D3DXMATRIX& projection);
  void SetDefaultRenderStates();

  // --- screen passes -----------------------------------------------------------

  // Binds the current target's texture to stage 0 and the record's surface
  // as render target 0; the record becomes current. A beam target counts
  // its uses and is cleared on the first use of the frame. Returns the
  // previous current record.
  SDxRenderTarget* SetRenderTarget(SDxRenderTarget* target);
  // One full-screen (or quarter-screen) quad with the effect (or none).
  // blendMode 1 alpha blending, 2 additive, 0 unchanged; clear: the quad
  // draws over black, not over what the target held. With blendMode 0 that
  // is a draw with blending off, which leaves no pixel of a clear (the quad
  // covers the target and both keep to the scissor area): only a blending
  // quad clears the target first.
  void DrawScreenQuad(SDxShader* shader, int blendMode, bool clear);
  // Notes that an item drawn into the current target, when that is a beam
  // target, covers the screen bounds of its bounding box under its world
  // matrix (null for either: an item of unknown extent, the whole screen).
  // Every draw into a beam target declares its area this way: the blurs
  // and the composites of the frame then work only where the target's
  // items can have left a pixel.
  void AddBeamArea(const SDxBox* box, const D3DXMATRIX* world);
  // The screen area that AddBeamArea notes for such an item: the screen
  // bounds of the box under the world matrix, or the whole screen when they
  // are unknown.
  void GetItemArea(const SDxBox* box, const D3DXMATRIX* world, RECT* area) const;
  // The pixel rectangle of a full-size target that the world points cover
  // under the view-projection, with a margin for the rasterizer; false when
  // one of them lies on or behind the camera's plane.
  bool GetScreenBounds(const D3DXVECTOR3* points, int count, RECT* bounds) const;
  // The same for a sphere, its tangents found exactly under a perspective
  // projection (else the cube around it).
  bool GetSphereBounds(const D3DXVECTOR3& center, float radius, RECT* bounds) const;
  // The scissor test over the area (pixels of the current target), or off
  // for null. SetRenderTarget resets the rectangle to the whole target.
  void SetScissorArea(const RECT* area);
  // Three engine vertices for the corners 0, 2, 1 with the triangle's flat
  // frame; returns the position after them.
  static SDxVertex* BuildTriangle(SDxVertex* output, const D3DXVECTOR3* positions,
                                  const D3DXVECTOR2* uvs, bool flip);

  // --- device (SDxDevice.cpp) --------------------------------------------------

  // False without a text when the engine already has a device.
  bool CreateDevice(SString* error);
  // Releases what an earlier call made, then makes the default-pool objects.
  bool CreateRenderTargets(SString* error);
  void ReleaseRenderTargets();
  bool CreateTargetTexture(SDxRenderTarget* target, D3DFORMAT format, bool quarter,
                           SDxRenderTarget* partner);
  // The largest rectangle of the aspect inside the client, centred.
  static RECT ComputeOutputRect(int clientWidth, int clientHeight, float aspect);

  // --- rendering (SDxRender.cpp) -----------------------------------------------

  // Draws and presents one frame; false only when Present reported a lost
  // device. Nothing is drawn (true) without the render targets.
  bool Render();
  // The full-screen pass of the first count effects of the screen-effect
  // list, in drawing order; a disabled effect is skipped without a
  // ping-pong. Nothing when screen effects are disabled.
  void RenderScreenEffects(int count);
  // The passes of a frame, in drawing order, as the pass hook reports them.
  enum {
    RENDER_PASS_GBUFFER,         // targets cleared, opaque items drawn
    RENDER_PASS_LIGHTS,          // deferred lights (lighting on)
    RENDER_PASS_FOG,             // fog (lighting and fog on)
    RENDER_PASS_ORDERED,         // depth-ordered items
    RENDER_PASS_GLOW,            // beam target 2 blurred and added
    RENDER_PASS_BEAMS,           // BeamRT blurred and added
    RENDER_PASS_SCREEN_EFFECTS,  // the application's full-screen effects
    RENDER_PASS_OVERLAY,         // sprites, texts and the slow-frame warning
    RENDER_PASS_COPY,            // the copy into the back buffer (Present follows)
    RENDER_PASS_COUNT,
  };
  // Called after each pass that ran with its number; null (the default)
  // calls nothing. A benchmark sets it to time the passes.
  typedef void (*RenderPassHook)(SDx* engine, int pass);
  RenderPassHook m_renderPassHook = nullptr;

  // --- keys and option keys (SDxInput.cpp) -------------------------------------

  bool IsKeyDown(int key) const { return key >= 0 && key < 256 && m_keyDown[key]; }
  // Down, and pressed (or repeated) in this frame.
  bool IsKeyPressed(int key) const { return IsKeyDown(key) && m_keyEvents[key] != 0; }
  // Down, and first pressed since the last frame (an auto-repeat that came
  // before the frame does not hide the first press).
  bool IsKeyPressedNoRepeat(int key) const { return IsKeyDown(key) && m_keyEvents[key] == 1; }
  // Up, and released in this frame.
  bool IsKeyReleased(int key) const {
    return key >= 0 && key < 256 && !m_keyDown[key] && m_keyEvents[key] != 0;
  }
  // The overlay line at the bottom of the screen for that many seconds
  // (<= 0: the text only).
  void ShowOverlayText(const char* text, float seconds);
  // The line an option key shows for the live setting of that index.
  SString FormatOptionLine(int index) const;

  // --- game pad (SDxPad.cpp, SDxPadDevice.cpp) ----------------------------------

  // XInput as a test may answer it: null loads the system's functions.
  typedef DWORD(WINAPI* XInputGetStateProc)(DWORD pad, _XINPUT_STATE* state);
  typedef DWORD(WINAPI* XInputSetStateProc)(DWORD pad, _XINPUT_VIBRATION* vibration);
  static XInputGetStateProc s_xinputGetState;
  static XInputSetStateProc s_xinputSetState;

  void CreateInput();
  void ReleaseInput();
  // productId: product in the high 16 bits, vendor in the low 16 bits.
  static bool IsXInputDevice(uint32_t productId);
  void PollXInput();
  void PollDirectInput();
  // The mapping of a DirectInput state onto the pad record, by axis count.
  void ReadDirectInputState(const DIJOYSTATE2* state);
  void SetPadDeadZones(float leftStick, float rightStick, float leftTrigger, float rightTrigger);
  void ResetPadState();
  void ResetInput();
  bool IsButtonPressed(int n) const;
  // Up in this poll, down in the previous one.
  bool IsButtonReleased(int n) const;
  bool IsStartPressed() const;
  bool IsBackPressed() const;
  bool IsPadRightPressed() const;
  bool IsPadLeftPressed() const;
  bool IsPadUpPressed() const;
  bool IsPadDownPressed() const;
  // Negative keeps a motor's value; seconds <= 0 runs until stopped.
  void SetRumble(float left, float right, float seconds);
  void StopRumble();
  void SetForceFeedback(bool on);

  // --- sound channels (SDxSoundChannels.cpp) ------------------------------------

  // Appends a channel (its number is its index) of voices voices and
  // returns its head; null on failure, when the channel stays as an empty
  // place so that later channels keep their numbers.
  SDxSound* LoadSound(SFile* file, bool loop, bool compressed, int voices);
  // Starts a free voice of channel n; volume < 0 and pan < -1 keep the
  // voice's values. Null when nothing started.
  SDxSound* PlaySound(int n, bool noRetrigger, float volume, float pan);
  void StopSound(int n, float fade);
  // Every channel not in the list (null: every channel).
  void StopAllSounds(SArray<int>* except, float fade);
  bool IsSoundPlaying(int n);
  void SetSoundVolume(int n, float volume);
  // The head voice of channel n; null outside the channels.
  SDxSound* GetSound(int n) const;
  void PauseSounds(bool sounds);
  void ResumeSounds(bool sounds);
  void UpdateSounds();
  // Deletes every voice (the extra voices first) and empties both lists.
  void DeleteSounds();

  // --- state -------------------------------------------------------------------

  struct _SScreenVertex {
    float x, y, z, rhw;  // POSITIONT
    float u, v;          // TEXCOORD0
  };

  SRegistry m_registry;
  SKeyboard m_keyboard;
  D3DXMATRIX m_identity;
  bool m_created;
  D3DPRESENT_PARAMETERS m_presentParameters;
  SWnd* m_window;
  SDxConfig m_config;

  // Device.
  IDirect3D9* m_d3d;
  IDirect3DDevice9* m_device;
  D3DCAPS9 m_caps;
  float m_maxPointSize;
  int m_displayWidth, m_displayHeight;  // largest display mode (full screen)
  int m_backBufferWidth, m_backBufferHeight;
  float m_scaleX, m_scaleY;  // 2D scale: 100 x 100 hundredths
  // Waiting for a lost device to come back: the targets are released.
  bool m_deviceLost;

  float m_masterVolume;
  bool m_soundOn;
  bool m_sceneVisible;

  // Key tables by virtual-key code: game-clock press time, held flag, this
  // frame's event (0 none, 1 press or release, 2 repeated press).
  float m_keyPressTimes[256];
  uint8_t m_keyDown[256];
  uint8_t m_keyEvents[256];
  // The overlay line the option keys and ShowOverlayText last set; the
  // overlay text item shows it.
  SString m_overlayLine;

  // Game pad: current and previous record, thresholds, devices, rumble.
  SDxPadState m_pad = {}, m_padPrevious = {};
  bool m_xinput = false;
  float m_padDeadZones[4] = {};  // left stick, right stick, left trigger, right trigger
  IDirectInput8A* m_directInput = nullptr;
  IDirectInputDevice8A* m_padDevice = nullptr;
  int m_padAxes = 0;
  bool m_rumbleEnabled = true;
  float m_rumbleStart = 0.0f, m_rumbleDuration = 0.0f;
  float m_rumbleLeft = 0.0f, m_rumbleRight = 0.0f;

  // Sound channels (head voices by channel number) and every extra voice.
  SArray<SDxSound*> m_sounds;
  SArray<SDxSound*> m_extraVoices;
  // The last compressed sounds decoded (SDxSound::LoadCompressed) with
  // their compressed bytes: the same bytes loaded again copy these samples
  // instead of being decoded again, as when a level is loaded again or the
  // next one plays the same tune. Two, for the menu's tune and a level's.
  struct _SDecodedSound {
    SFileMem compressed;
    SFileMem pcm;  // the samples, the whole computed length
  };
  static constexpr int DECODED_SOUND_COUNT = 2;
  _SDecodedSound m_decodedSounds[DECODED_SOUND_COUNT];
  int m_nextDecodedSound = 0;

  // Render targets.
  SDxRenderTarget* m_currentTarget;
  SDxRenderTarget m_mainA, m_mainB, m_quarterA, m_quarterB;
  SDxRenderTarget m_previousRT, m_colorRT, m_normalRT, m_infoRT, m_beamRT, m_beamRT2;
  int m_beamUseCount[2];  // BeamRT, beam target 2
  RECT m_beamArea[2];     // where this frame's items of each beam target can be
  IDirect3DVertexDeclaration9* m_vertexDeclaration;  // SDxVertex
  IDirect3DVertexDeclaration9* m_screenDeclaration;  // full and quarter quads
  IDirect3DVertexBuffer9* m_fullQuad;
  IDirect3DVertexBuffer9* m_quarterQuad;
  IDirect3DVertexDeclaration9* m_outputDeclaration;  // output quad
  IDirect3DVertexBuffer9* m_outputQuad;
  ID3DXSprite* m_sprite;
  int m_clientWidth, m_clientHeight;
  RECT m_outputRect;

  // Built-in effects and the blur handles.
  SDxShaderDefault* m_shaderDefault;
  SDxShaderGBuffer* m_shaderGBuffer;
  SDxShaderDeferred* m_shaderDeferred;
  SDxShader* m_shaderFog;
  SDxShader* m_shaderDownSample;
  SDxShader* m_shaderBlurH;
  SDxShader* m_shaderBlurV;
  SDxEffect::Handle m_blurHWidth;
  SDxEffect::Handle m_blurHScale;
  SDxEffect::Handle m_blurVHeight;
  SDxEffect::Handle m_blurVScale;

  // Screen effects.
  bool m_previousFrameCopy;
  bool m_screenEffectsEnabled;
  bool m_effectsAfterOverlay;
  SArray<SDxShader*> m_shaders;        // the application's, sorted by address
  SArray<SDxShader*> m_screenEffects;  // in drawing order, not owned
  SArray<SDxLayer*> m_layers;

  // Scene.
  SDxLayer* m_mainLayer;           // not in the layer array
  SArray<SDxTexture*> m_textures;  // sorted by address
  SArray<SDxCamera*> m_cameras;    // sorted by address
  SDxCamera* m_currentCamera;
  SDxText* m_overlayText;            // on the main layer
  SDxText* m_slowWarningText;        // on no layer
  SDxTexture* m_slowWarningTexture;  // not in the texture array
  SDxSprite* m_slowWarningSprite;    // the red bar at the top; on no layer
  SDxShape* m_boxShape;              // the light volume; on no layer's list
  D3DMATERIAL9 m_defaultMaterial;

  // View of the frame.
  D3DXMATRIX m_view, m_projection, m_viewProjection;

  // Frame state.
  float (*m_clock)();  // real seconds; GetTimeSeconds unless a test sets it
  float m_lastFrameTime;
  float m_time;
  float m_dt;
  float m_maxDt;
  bool m_paused;
  bool m_slowWarningEnabled;
  bool m_inTime;
  float m_lateSince;

  // Display parameters.
  bool m_lighting;
  D3DXCOLOR m_worldAmbient;
  D3DXCOLOR m_lightColor;
  D3DXVECTOR3 m_lightDirection;
  float m_brightness;           // own
  float m_effectiveBrightness;  // own + settings + flash
  float m_contrast;
  float m_flashStart, m_flashDuration, m_flashAmount, m_flashBoost;
  bool m_inRender = false;  // from the G-buffer pass to the end of Present
  bool m_fog;
  float m_fogStart, m_fogEnd;
  float m_beamScale, m_glowScale;  // "g_scale" of the beam and glow blurs
  float m_gridCellSize;

  // Timers: three parallel arrays.
  SArray<int> m_timerIds;
  SArray<float> m_timerStarts;
  SArray<float> m_timerIntervals;

private:
  SDx(const SDx&) = delete;
  SDx& operator=(const SDx&) = delete;

  // Advances the clock; false skips the frame.
  bool UpdateTiming();
  // The device-loss path of the frame step.
  void RestoreDevice(bool justLost);
  void ReadOptions();
  void WriteOptions();
  void ResetFrameState();
  // Textures, cameras and layers deleted, the main layer cleared.
  void ClearScene();
  // The engine's own objects: the box shape, the slow-warning texture and
  // text, the current camera, the overlay text and the first layer.
  void BuildOwnObjects();
  // Every text's pixel rectangle again (after a size change).
  void RefreshTexts();
  void DeleteShaders();
  // Direct3D call results through the seam.
  static HRESULT Seam(int call, HRESULT result, void* data);
  // The passes of the frame (SDxRender.cpp).
  bool HasRenderTargets() const;
  void NotifyRenderPass(int pass);
  // The current record's partner becomes current, the current picture the
  // texture of stage 0.
  void PingPong();
  void RenderScene();
  void RenderLights();
  void RenderBlurs();
  void RenderSlowWarning();
  static void SetBlurParameters(SDxShader* blur, SDxEffect::Handle size, float sizeValue,
                                SDxEffect::Handle scale, float scaleValue);
};
