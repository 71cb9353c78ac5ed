// An effect of the engine with the handles that every engine effect shares.
// Plain SDxShader objects carry the full-screen effects; the subclasses feed
// the object effects (SDxShaderDefault, SDxShaderGBuffer) and the deferred
// point light (SDxShaderDeferred).
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "engine/SDxEffect.h"

#include <d3d9.h>
#include <d3dx9.h>

class SDx;
class SDxTexture;

class SDxShader {
public:
  // The device is the engine's at construction (none without an engine).
  explicit SDxShader(SDx* engine);
  // Releases the effect.
  virtual ~SDxShader();

  // Releases the effect, clears every handle (BindHandles (null)) and sets
  // the flags back to uses-normal, uses-info and uses-previous false,
  // enabled true.
  virtual void Release();
  // Once per frame before drawing; empty here.
  virtual void SetFrameParameters();
  // Per object; empty here.
  virtual void SetWorld(const D3DXMATRIX& world, int objectId);
  // Per material; empty here.
  virtual void SetMaterial(SDxTexture* texture, const D3DMATERIAL9& material);

  // Compiles length bytes of effect text (no NUL needed; packing matrices
  // by columns). With standard: looks up the technique "Default" and the
  // common handles, fails without the technique, and sets "dx_width" and
  // "dx_height" to the engine's back-buffer size. Then the subclass's
  // handles (BindHandles). False for an empty text or any error, leaving
  // no effect and the message in GetErrors.
  bool Create(const char* text, int length, bool standard);
  // The same from a NUL-terminated text.
  bool Create(const char* text, bool standard);
  // SetFloat on the parameter of that name; nothing without an effect.
  void SetFloat(const char* name, float value);
  // The parameter of that name; null without an effect or such a parameter.
  SDxEffect::Handle GetParameter(const char* name);

  void SetEnabled(bool enabled) { m_enabled = enabled; }
  bool IsEnabled() const { return m_enabled; }
  void SetUseNormalTexture(bool use) { m_usesNormal = use; }
  bool UsesNormalTexture() const { return m_usesNormal; }
  void SetUsePreviousTexture(bool use) { m_usesPrevious = use; }
  bool UsesPreviousTexture() const { return m_usesPrevious; }
  bool UsesInfoTexture() const { return m_usesInfo; }

  // Names the parameter and the value at which the effect, drawn over the
  // whole picture, gives back every pixel exactly as it was (a fade at
  // alpha 1); null for none.
  void SetUnchangedAt(const char* parameter, float value) {
    m_unchangedParameter = parameter;
    m_unchangedValue = value;
  }
  // True while that parameter holds that value: the screen effects pass
  // skips the effect.
  bool LeavesPictureUnchanged() const;

  SDxEffect* GetEffect() const { return m_effect; }
  // The message of the last failed Create.
  const SString& GetErrors() const { return m_errors; }

  // Effect texts, embedded by the build from engine/effects/*.fx: the
  // engine's seven built-in effects and the game's three screen effects.
  static const char* const TEXT_DEFAULT;
  static const char* const TEXT_GBUFFER;
  static const char* const TEXT_DEFERRED;
  static const char* const TEXT_FOG;
  static const char* const TEXT_DOWNSAMPLE;
  static const char* const TEXT_BLUR_HORIZONTAL;
  static const char* const TEXT_BLUR_VERTICAL;
  static const char* const TEXT_FADE;
  static const char* const TEXT_GREY;
  static const char* const TEXT_SPEED_BLUR;

  SDx* m_engine;
  IDirect3DDevice9* m_device;
  SDxEffect* m_effect;
  bool m_standard;
  SDxEffect::Handle m_technique;
  SDxEffect::Handle m_worldViewProj;
  SDxEffect::Handle m_alpha;
  SDxEffect::Handle m_colorTexture;
  SDxEffect::Handle m_normalTexture;
  SDxEffect::Handle m_infoTexture;
  SDxEffect::Handle m_previousTexture;
  bool m_usesNormal;
  bool m_usesInfo;
  bool m_usesPrevious;
  bool m_enabled;
  const char* m_unchangedParameter = nullptr;
  float m_unchangedValue = 0.0f;

protected:
  // Looks the subclass's handles up in the effect, or clears them when the
  // effect is null; empty here. Subclasses call it with null when
  // constructed.
  virtual void BindHandles(SDxEffect* effect);

private:
  SDxShader(const SDxShader&) = delete;
  SDxShader& operator=(const SDxShader&) = delete;

  SString m_errors;
};

// The flat frame of a triangle: normal = normalize((p0 - p1) x (p2 - p1)),
// negated with flip; tangent = normal x (0, 1, 0) or normal x (0, 0, 1),
// whichever is longer (the second on a tie), normalised; binormal =
// normalize(normal x tangent). Texture coordinates do not enter it. A
// degenerate triangle (no normal) gives the frame of normal (0, 1, 0)
// (negated with flip) and false.
bool TriangleTangentFrame(const D3DXVECTOR3& p0, const D3DXVECTOR3& p1, const D3DXVECTOR3& p2,
                          bool flip, D3DXVECTOR3* normal, D3DXVECTOR3* tangent,
                          D3DXVECTOR3* binormal);
