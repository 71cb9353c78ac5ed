// A 2D screen item of a layer: a texture, optionally cut into a grid of
// frames, placed and sized in fractions of the display and drawn through the
// engine's D3DX sprite batch with a transform, a modulate colour and an
// opacity. On top of the plain picture: frame animation, blinking, opacity
// fades with repeats, a number display (one digit frame at a time, with a
// count-up), a text display from a character sheet and a two-texture
// partial fill (gauges). Made by SDxLayer::AddSprite; the layer's screen
// pass draws it once a frame between the batch's Begin and End.
//
// Frames: frame i of a sheet is column i % columns of row i / columns. The
// number display uses frames 0 to 9 for the digits and 10 for the minus;
// the text display maps '"'..'~' to frames 0..92, '!' to 93 and ' ' to 94.
// A frame index beyond the sheet is never read: nothing is drawn for it.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "engine/SDxLayerItem.h"

#include <d3dx9.h>

class SDxTexture;

class SDxSprite : public SDxLayerItem {
public:
  // Fill modes of the second texture: grows down, up, right, left.
  enum { FILL_DOWN = 0, FILL_UP = 1, FILL_RIGHT = 2, FILL_LEFT = 3 };

  SDxSprite(SDx* engine, SDxLayer* layer);
  // Clear.
  ~SDxSprite() override;

  // Every field to its default, the frame table freed, the text emptied.
  void Clear();
  // The frame layout (see the header). False, changing nothing, for the
  // texture already set, columns or rows below 1, a frame count of 0, a
  // texture or second texture not loaded, a second texture without a first
  // or two textures of different sizes. A negative count: columns x rows.
  bool SetTexture(SDxTexture* texture, int rows, SDxTexture* second, int columns, int frameCount,
                  int inset);
  // The texture pointer only: frames, sizes and table stay.
  void ReplaceTexture(SDxTexture* texture) { m_texture = texture; }
  // In hundredths of the display; -1 on one side keeps the picture's aspect.
  void SetSize(float width, float height);
  void SetPosition(const D3DXVECTOR2& point) { SetPositionXY(point.x, point.y); }
  void SetPositionXY(float x, float y);
  // In hundredths of the sprite's size (50, 50 is its centre).
  void SetPivot(float x, float y);
  // Radians about the pivot, and mirror images.
  void SetRotation(float angle, bool flipX, bool flipY);
  // Clamped to 0..255.
  void SetAlpha(int alpha);
  int GetAlpha() const { return m_opacity; }
  // A running fade stops; full opacity.
  void ResetAlpha();
  // From (-1: the current opacity) to, repeated (ping-pong) repeats times
  // (-1: forever), each leg over the duration after the delay; the sprite
  // is shown. False for a duration <= 0 or from equal to to.
  bool FadeAlpha(int from, int to, int repeats, float duration, bool hideAtEnd, float delay);
  bool IsFading() const { return m_fading; }
  bool IsVisible() const { return !m_hidden; }
  // 0 <= i <= frame count (the count: the frame after the last, drawn as
  // nothing); false otherwise.
  bool SetFrame(int i);
  int GetFrame() const { return m_frame; }
  // Plays the frames at speed frames per second from the current frame.
  void SetAnimation(float speed, bool loop, bool reverse);
  bool IsPlaying() const { return m_playing; }
  // Hidden for offTime of every period, both in hundredths of a second.
  void SetBlink(int period, int offTime);
  void SetNumberDisplay(bool on, int minimumDigits, bool signSlot, float countUpDuration,
                        float minimumInterval);
  // Ignored within the minimum interval of the last change; without
  // immediate a count-up from the current value runs.
  void SetNumber(int value, bool immediate);
  int GetNumber() const { return m_number; }
  // The value the number display shows now (the count-up's while it runs).
  int GetShownNumber();
  void SetTextDisplay(bool on, const char* text);
  // The second texture's share: mode, fraction and the two factors.
  void SetFill(int mode, float fraction, float g, float h);
  // The transform from position, size, pivot, rotation and flips.
  void UpdateTransform();
  // One frame's drawing (animation, fade, blink, then the picture).
  void Draw();
  void ForgetTexture(SDxTexture* texture) override;
  // The source rectangle of a frame; false outside the sheet.
  bool GetFrameRect(int frame, RECT* rect) const;

  IDirect3DDevice9* m_spriteDevice;
  ID3DXSprite* m_sprite;  // the engine's, not owned
  SDxTexture* m_texture;
  SDxTexture* m_secondTexture;
  int m_columns, m_rows, m_frameCount;
  int m_frameWidth, m_frameHeight;
  RECT* m_frames;  // owned, m_frameCount of them; null below two frames
  float m_rotation;
  bool m_flipX, m_flipY;
  float m_x, m_y;            // fractions of the display
  float m_pivotX, m_pivotY;  // fractions of the sprite
  float m_width, m_height;   // fractions of the display, -1 keeps the aspect
  int m_opacity;
  D3DCOLOR m_modulate;
  D3DXMATRIX m_transform;
  // Fade.
  bool m_fading;
  float m_fadeStart, m_fadeDelay, m_fadeDuration;
  bool m_hideAtEnd;
  int m_fadeFrom, m_fadeTo, m_fadeRepeats, m_fadeRepeatsDone;
  int m_blinkPeriod, m_blinkOff;
  // Animation.
  float m_speed;
  bool m_loop, m_reverse;
  int m_frame;
  float m_framePosition;
  bool m_playing;
  // Number display.
  bool m_numberOn;
  int m_number, m_minimumDigits;
  bool m_signSlot;
  float m_digitAdvance;
  float m_countUpDuration, m_countUpStart;
  int m_countUpFrom, m_countUpTo;
  float m_minimumInterval, m_lastChange;
  // Text display.
  bool m_textOn;
  SString m_text;
  float m_characterAdvance;
  // Two-texture fill.
  int m_fillMode;
  float m_fillFraction, m_fillG, m_fillH;

private:
  void StepAnimation();
  void StepFade();
  bool IsBlinkHidden() const;
  // One frame of the sheet at the transform moved right by offset pixels;
  // nothing for a frame beyond the sheet.
  void DrawFrame(int frame, float offset);
  void DrawNumber();
  void DrawText();
  void DrawFill();
};
