// A text's lines kept as glyph draws. Laying a line out (the font's
// character placement, line breaking and clipping) costs far more than
// drawing its glyphs, and a HUD's texts stay the same for many frames: the
// first DrawText of a line goes through a batch that hands every call on to
// the engine's sprite batch and notes the glyph draws; later frames give the
// batch the same draws while nothing the layout depends on has changed. A
// line whose DrawText did anything with the batch besides drawing (begin,
// end, flush, transforms) is not kept.
#include "core/Platform.h"
#include "engine/SDxText.h"

#include <string.h>

namespace {

// The batch DrawText sees while a line is noted: every call goes on to the
// engine's batch; Draw calls are noted, any call that changes the batch's
// state makes the line one that cannot be replayed. It lives on the stack
// for one DrawText call; its reference count is only counted.
class GlyphNotes final : public ID3DXSprite {
public:
  GlyphNotes(ID3DXSprite* target, std::vector<SDxText::_SGlyphDraw>* draws)
      : m_target(target), m_draws(draws) {}

  bool IsFaithful() const { return m_faithful; }
  void Unfaithful() { m_faithful = false; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return Changing()->QueryInterface(riid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
  ULONG STDMETHODCALLTYPE Release() override { return m_references > 1 ? --m_references : 1; }
  HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override {
    return m_target->GetDevice(device);
  }
  HRESULT STDMETHODCALLTYPE GetTransform(D3DXMATRIX* transform) override {
    return m_target->GetTransform(transform);
  }
  HRESULT STDMETHODCALLTYPE SetTransform(const D3DXMATRIX* transform) override {
    return Changing()->SetTransform(transform);
  }
  HRESULT STDMETHODCALLTYPE SetWorldViewRH(const D3DXMATRIX* world,
                                           const D3DXMATRIX* view) override {
    return Changing()->SetWorldViewRH(world, view);
  }
  HRESULT STDMETHODCALLTYPE SetWorldViewLH(const D3DXMATRIX* world,
                                           const D3DXMATRIX* view) override {
    return Changing()->SetWorldViewLH(world, view);
  }
  HRESULT STDMETHODCALLTYPE Begin(DWORD flags) override { return Changing()->Begin(flags); }
  HRESULT STDMETHODCALLTYPE Draw(IDirect3DTexture9* texture, const RECT* source,
                                 const D3DXVECTOR3* center, const D3DXVECTOR3* position,
                                 D3DCOLOR color) override {
    HRESULT hr = m_target->Draw(texture, source, center, position, color);
    if (FAILED(hr) || !texture) {
      m_faithful = false;
      return hr;
    }
    SDxText::_SGlyphDraw draw = {};
    draw.texture = texture;
    draw.hasSource = source != nullptr;
    if (source) draw.source = *source;
    draw.hasCenter = center != nullptr;
    if (center) draw.center = *center;
    draw.hasPosition = position != nullptr;
    if (position) draw.position = *position;
    draw.color = color;
    texture->AddRef();
    m_draws->push_back(draw);
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Flush() override { return Changing()->Flush(); }
  HRESULT STDMETHODCALLTYPE End() override { return Changing()->End(); }
  HRESULT STDMETHODCALLTYPE OnLostDevice() override { return Changing()->OnLostDevice(); }
  HRESULT STDMETHODCALLTYPE OnResetDevice() override { return Changing()->OnResetDevice(); }

private:
  // The engine's batch, for a call that does more than draw: the line is
  // not kept.
  ID3DXSprite* Changing() {
    m_faithful = false;
    return m_target;
  }

  ID3DXSprite* m_target;
  std::vector<SDxText::_SGlyphDraw>* m_draws;
  ULONG m_references = 1;
  bool m_faithful = true;
};

void Forget(SDxText::_SGlyphLine* line) {
  for (SDxText::_SGlyphDraw& draw : line->draws) draw.texture->Release();
  line->draws.clear();
  line->kept = false;
  line->font = nullptr;
}

}  // namespace

void SDxText::ForgetLines() {
  for (_SGlyphLine& line : m_lines) Forget(&line);
}

void SDxText::DrawLine(_SGlyphLine* line, RECT* rect, D3DCOLOR color) {
  int length = m_text.GetLength();
  // Measuring changes the rectangle and draws nothing: nothing to keep.
  if (m_format & DT_CALCRECT) {
    Forget(line);
    m_font->DrawTextA(m_sprite, m_text.GetText(), length, rect, m_format, color);
    return;
  }
  bool same = line->kept && line->font == m_font && line->format == m_format &&
              ::EqualRect(&line->rect, rect) && (line->anyColor || line->color == color) &&
              line->text.GetLength() == length &&
              memcmp(line->text.GetText(), m_text.GetText(), (size_t)length) == 0;
  if (same) {
    for (const _SGlyphDraw& draw : line->draws) {
      m_sprite->Draw(draw.texture, draw.hasSource ? &draw.source : nullptr,
                     draw.hasCenter ? &draw.center : nullptr,
                     draw.hasPosition ? &draw.position : nullptr,
                     line->anyColor ? color : draw.color);
    }
    return;
  }
  Forget(line);
  RECT laidOut = *rect;
  GlyphNotes notes(m_sprite, &line->draws);
  m_font->DrawTextA(&notes, m_text.GetText(), length, &laidOut, m_format, color);
  // Without DT_CALCRECT the font leaves the rectangle alone; one it changed
  // all the same is not kept.
  if (!::EqualRect(&laidOut, rect)) {
    notes.Unfaithful();
    *rect = laidOut;
  }
  if (!notes.IsFaithful()) {
    Forget(line);
    return;
  }
  line->kept = true;
  line->anyColor = true;
  for (const _SGlyphDraw& draw : line->draws) line->anyColor &= draw.color == color;
  line->font = m_font;
  line->text.Set(m_text.GetText());
  line->rect = *rect;
  line->format = m_format;
  line->color = color;
}
