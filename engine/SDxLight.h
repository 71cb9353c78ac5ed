// A point light of a layer, drawn by the deferred lighting stage as a light
// volume. Its intensity can fade between two values (once, or back and
// forth); a sequence of timed lit and dark steps switches its drawing; it
// can follow another item of its layer.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "engine/SDxMotion.h"

class SDxLight : public SDxMotion {
public:
  explicit SDxLight(SDxLayer* layer);
  ~SDxLight() override;

  // Nothing when switched off; only the outline during a dark step;
  // otherwise a light of type 2 is drawn as a light volume with the
  // engine's deferred shader (whose effect pass is running), then the
  // outline.
  void Render(SDxShader* shader) override;
  // Follows the attached item and steps its sound emitter; the fade and
  // the sequence advance by the game clock.
  void Step() override;

  void SetEnabled(bool enabled) { m_switchedOff = !enabled; }
  bool IsEnabled() const { return !m_switchedOff; }
  void SetColor(float r, float g, float b);
  void SetIntensity(float intensity) { m_intensity = intensity; }
  // A negative second value takes the first.
  void SetRange(float first, float second);
  // Follows the item (null: none); an item of another layer is ignored.
  void AttachTo(SDxLayerItem* item);
  // Switches the light on and fades from one intensity to the other.
  void FadeTo(float from, float to, float duration, bool loops);
  // From the base intensity to 0, once; an off light stays off.
  void FadeOut(float duration);
  float GetCurrentIntensity() const;
  // A copy of the steps: |value| seconds, lit when > 0. Not playing.
  void SetSequence(const SArray<float>& steps);
  // Starts (from the first step, or where it stopped) or stops.
  void PlaySequence(bool play);
  // Whether the light draws its volume this frame.
  bool IsLit() const;

  bool m_switchedOff;
  int m_type;
  D3DXVECTOR3 m_color;
  float m_intensity;
  float m_range[2];
  SDxLayerItem* m_attached;
  float m_fadeStart;  // game-clock time; 0 without a fade
  float m_fadeDuration;
  bool m_fadeLoops;
  float m_fadeFrom, m_fadeTo;
  bool m_fadeForward;
  SArray<float> m_sequence;
  bool m_sequenceLoops;
  bool m_sequencePlaying;
  int m_sequenceIndex;  // -1 when not playing
  bool m_stepLit;
  float m_stepStart;
};
