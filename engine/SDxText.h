// A block of 2D text drawn over the picture with a D3DX font through the
// engine's sprite batch: HUD numbers and messages, menu texts, the option
// keys' overlay line. Rectangle and font size are given in hundredths of
// the screen and kept as fractions, so that they follow the back buffer.
// It can draw a shadow copy, blink, fade and hide itself after a set time.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "engine/SDxLayerItem.h"

#include <d3dx9.h>
#include <stdint.h>

#include <vector>

class SDxText : public SDxLayerItem {
public:
  // Style bits of CreateFont.
  enum { STYLE_BOLD = 1, STYLE_ITALIC = 2, STYLE_UNDERLINE = 4, STYLE_STRIKEOUT = 8 };

  SDxText(SDx* engine, SDxLayer* layer);
  // Releases the font.
  ~SDxText() override;

  // No font, active, no text; colours white on a black shadow; rectangle
  // the whole screen; shadow on; no blink, fade or display timer; opaque.
  void Reset();
  // size in hundredths of the screen height (negative: 0). On failure the
  // text is Reset and false.
  bool CreateFont(const char* face, float size, int style);
  // With onlyIfDifferent nothing happens for the same text.
  void SetText(const char* text, bool onlyIfDifferent);
  // In hundredths of the screen.
  void SetRect(float left, float top, float right, float bottom);
  // The alpha byte of both colours becomes the opacity.
  void SetAlpha(int alpha);
  void SetColors(D3DCOLOR text, D3DCOLOR shadow);
  void SetFormat(DWORD format);
  // From the opacity (-1: the current one) down to 0 over the seconds, then
  // inactive. False for a duration <= 0 or a start of 0.
  bool FadeOut(int from, float duration);
  // Shown for the seconds, then faded out over fadeSeconds (0: hidden at
  // once).
  void SetDisplayTimer(float seconds, float fadeSeconds);
  // Hidden for hiddenTime of every period, both in hundredths of a second.
  void SetBlink(int period, int hiddenTime);
  // The pixel rectangle and the shadow offset from the back-buffer size.
  void Refresh();
  // Inside the layer's sprite-batch Begin and End: blink, display timer,
  // fade, then the shadow and the text. Nothing without a font or inactive.
  void Draw();
  // Whether the blink hides the text at the game-clock time.
  bool IsBlinkHidden(float time) const;

  ID3DXSprite* m_sprite;  // the engine's, not owned
  ID3DXFont* m_font;      // owned
  SString m_face;
  float m_size;  // fraction of the screen height
  int m_style;
  SString m_text;
  D3DCOLOR m_color, m_shadowColor;
  DWORD m_format;
  float m_left, m_top, m_right, m_bottom;  // fractions of the back buffer
  RECT m_pixels;
  bool m_shadow;
  float m_shadowScale;  // thousandths of the back-buffer height
  int m_shadowOffset;   // pixels
  int m_blinkPeriod, m_blinkHidden;
  int m_alpha;
  bool m_fading;
  float m_fadeStart, m_fadeDuration;
  bool m_hideAtEnd;
  int m_fadeFrom, m_fadeTo;
  int m_fadeRepeats, m_fadeRepeatsDone;  // -1: forever
  float m_displayDuration;               // -1: none
  float m_displayFade;
  float m_displayStart;

  // One line of glyphs as the font laid it out for the sprite batch: the
  // glyph draws one DrawText call made, kept with what they were made from
  // (font, text, pixel rectangle, format and, when the font did not draw
  // every glyph in the colour it was given, that colour). While those stay
  // the same the draws are given to the batch again instead of laying the
  // text out once more. Holds a reference to each glyph texture it names.
  struct _SGlyphDraw {
    IDirect3DTexture9* texture;
    RECT source;
    D3DXVECTOR3 center, position;
    bool hasSource, hasCenter, hasPosition;
    D3DCOLOR color;
  };
  struct _SGlyphLine {
    bool kept = false;
    bool anyColor = false;  // every draw took the colour DrawText was given
    ID3DXFont* font = nullptr;
    SString text;
    RECT rect = {};
    DWORD format = 0;
    D3DCOLOR color = 0;
    std::vector<_SGlyphDraw> draws;
  };

private:
  void ReleaseFont();
  // DrawText into the batch, or its glyph draws again when line still
  // holds them for the same font, text, rectangle, format and colour.
  void DrawLine(_SGlyphLine* line, RECT* rect, D3DCOLOR color);
  // Drops the kept glyph draws and their texture references.
  void ForgetLines();

  _SGlyphLine m_lines[2];  // the shadow, the text
  // The running fade's step; see FadeOut.
  void UpdateFade();
};
