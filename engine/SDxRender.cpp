// The frame's drawing: the G-buffer, the deferred lights, decals, fog, the
// ordered items (blobs and point particles among them), presets, the glow
// and beam blurs, the screen effects, the overlay (sprites, texts, overlay
// particles, the slow-frame warning) and the aspect-corrected copy into the
// back buffer.
//
// Sampler filters of the fixed-function copies: point where every sample
// lands on a texel centre (same-size copies), linear only where a picture is
// stretched (the quarter-size glow, a letterboxed output).
#include "core/Platform.h"
#include "engine/SDx.h"

#include "engine/SDxCamera.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxLayer.h"
#include "engine/SDxLight.h"
#include "engine/SDxShader.h"
#include "engine/SDxShaderDefault.h"
#include "engine/SDxShaderDeferred.h"
#include "engine/SDxShaderGBuffer.h"
#include "engine/SDxShape.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"

#include <float.h>
#include <math.h>

#include <utility>

namespace {

// A layer pass: the main layer, then every layer of the layer array (each
// pass skips an inactive layer itself).
void ForEachLayer(SDx* dx, void (SDxLayer::*pass)()) {
  if (dx->m_mainLayer) (dx->m_mainLayer->*pass)();
  for (int i = 0; i < dx->m_layers.GetCount(); ++i) (dx->m_layers[i]->*pass)();
}

// The decals of the plain lists (true) or of the ordered items (false) of
// every layer, in the same order.
void RenderDecals(SDx* dx, bool plainLists) {
  if (dx->m_mainLayer) dx->m_mainLayer->RenderDecals(plainLists);
  for (int i = 0; i < dx->m_layers.GetCount(); ++i) dx->m_layers[i]->RenderDecals(plainLists);
}

// The blur passes reach six texels to each side of a pixel; two more cover
// the spacing of their taps.
const int kBlurReach = 8;

RECT Grown(const RECT& r, int dx, int dy) {
  RECT grown = {r.left - dx, r.top - dy, r.right + dx, r.bottom + dy};
  return grown;
}

// Between the pixels of a full-size target (width x height) and the texels
// of a quarter-size one (quarterWidth x quarterHeight) that the quarter quad
// maps onto it: the texels whose 16-tap down-sample reads the pixels, and
// the pixels whose filtered read of the whole quarter texture touches the
// texels, each with a margin.
RECT QuarterOf(const RECT& r, int width, int height, int quarterWidth, int quarterHeight) {
  RECT q = {(LONG)floorf((float)r.left * quarterWidth / width) - 2,
            (LONG)floorf((float)r.top * quarterHeight / height) - 2,
            (LONG)ceilf((float)r.right * quarterWidth / width) + 2,
            (LONG)ceilf((float)r.bottom * quarterHeight / height) + 2};
  return q;
}

RECT FullOf(const RECT& q, int width, int height, int quarterWidth, int quarterHeight) {
  RECT r = {(LONG)floorf((float)(q.left - 1) * width / quarterWidth) - 2,
            (LONG)floorf((float)(q.top - 1) * height / quarterHeight) - 2,
            (LONG)ceilf((float)(q.right + 1) * width / quarterWidth) + 2,
            (LONG)ceilf((float)(q.bottom + 1) * height / quarterHeight) + 2};
  return r;
}

void SetStageFilter(IDirect3DDevice9* device, D3DTEXTUREFILTERTYPE filter) {
  device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
  device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
}

}  // namespace

void SDx::AddBeamArea(const SDxBox* box, const D3DXMATRIX* world) {
  int beam = m_currentTarget == &m_beamRT ? 0 : m_currentTarget == &m_beamRT2 ? 1 : -1;
  if (beam < 0) return;
  RECT bounds;
  GetItemArea(box, world, &bounds);
  ::UnionRect(&m_beamArea[beam], &m_beamArea[beam], &bounds);
}

void SDx::GetItemArea(const SDxBox* box, const D3DXMATRIX* world, RECT* area) const {
  *area = {0, 0, (LONG)m_backBufferWidth, (LONG)m_backBufferHeight};
  // A box without volume (never grown, or one point) tells nothing.
  bool known = box && world && box->min.x <= box->max.x && box->min.y <= box->max.y &&
               box->min.z <= box->max.z &&
               (box->min.x < box->max.x || box->min.y < box->max.y || box->min.z < box->max.z);
  if (!known) return;
  D3DXVECTOR3 corners[8];
  box->TransformCorners(*world, corners);
  if (!GetScreenBounds(corners, 8, area)) {
    *area = {0, 0, (LONG)m_backBufferWidth, (LONG)m_backBufferHeight};
  }
}

bool SDx::GetScreenBounds(const D3DXVECTOR3* points, int count, RECT* bounds) const {
  float left = FLT_MAX, top = FLT_MAX, right = -FLT_MAX, bottom = -FLT_MAX;
  for (int i = 0; i < count; ++i) {
    D3DXVECTOR4 clip;
    D3DXVec3Transform(&clip, &points[i], &m_viewProjection);
    if (!(clip.w > 1e-4f)) return false;
    float x = (clip.x / clip.w + 1.0f) * 0.5f * (float)m_backBufferWidth;
    float y = (1.0f - clip.y / clip.w) * 0.5f * (float)m_backBufferHeight;
    left = x < left ? x : left;
    right = x > right ? x : right;
    top = y < top ? y : top;
    bottom = y > bottom ? y : bottom;
  }
  // A pixel is drawn when its centre is covered: two pixels of margin, and
  // far-away values kept within the int range.
  auto pixel = [](float v) { return v < -1e6f ? -1e6f : v > 1e6f ? 1e6f : v; };
  bounds->left = (LONG)floorf(pixel(left)) - 2;
  bounds->top = (LONG)floorf(pixel(top)) - 2;
  bounds->right = (LONG)ceilf(pixel(right)) + 2;
  bounds->bottom = (LONG)ceilf(pixel(bottom)) + 2;
  return count > 0;
}

bool SDx::GetSphereBounds(const D3DXVECTOR3& center, float radius, RECT* bounds) const {
  const D3DXMATRIX& p = m_projection;
  bool perspective = p._12 == 0.0f && p._14 == 0.0f && p._21 == 0.0f && p._24 == 0.0f &&
                     p._34 == 1.0f && p._41 == 0.0f && p._42 == 0.0f && p._44 == 0.0f;
  if (!perspective) {
    D3DXVECTOR3 cube[8];
    for (int i = 0; i < 8; ++i) {
      cube[i] = center + D3DXVECTOR3(i & 1 ? radius : -radius, i & 2 ? radius : -radius,
                                     i & 4 ? radius : -radius);
    }
    return GetScreenBounds(cube, 8, bounds);
  }
  // In view space the depth is z: the lines x = t z (and y = t z) that touch
  // the sphere, for a sphere wholly in front of the camera.
  D3DXVECTOR3 c;
  D3DXVec3TransformCoord(&c, &center, &m_view);
  float r = radius;
  if (!(c.z - r > 1e-3f)) return false;
  float depth = c.z * c.z - r * r;
  auto tangents = [&](float a, float* low, float* high) {
    float spread = r * sqrtf(a * a + depth);
    *low = (a * c.z - spread) / depth;
    *high = (a * c.z + spread) / depth;
  };
  float x0, x1, y0, y1;
  tangents(c.x, &x0, &x1);
  tangents(c.y, &y0, &y1);
  float left = (p._11 * x0 + p._31 + 1.0f) * 0.5f * (float)m_backBufferWidth;
  float right = (p._11 * x1 + p._31 + 1.0f) * 0.5f * (float)m_backBufferWidth;
  float top = (1.0f - (p._22 * y1 + p._32)) * 0.5f * (float)m_backBufferHeight;
  float bottom = (1.0f - (p._22 * y0 + p._32)) * 0.5f * (float)m_backBufferHeight;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  auto pixel = [](float v) { return v < -1e6f ? -1e6f : v > 1e6f ? 1e6f : v; };
  bounds->left = (LONG)floorf(pixel(left)) - 2;
  bounds->top = (LONG)floorf(pixel(top)) - 2;
  bounds->right = (LONG)ceilf(pixel(right)) + 2;
  bounds->bottom = (LONG)ceilf(pixel(bottom)) + 2;
  return true;
}

void SDx::SetScissorArea(const RECT* area) {
  if (!m_device) return;
  if (!area) {
    m_device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    return;
  }
  bool quarter = m_currentTarget && m_currentTarget->quarter;
  RECT target = {0, 0, (LONG)(quarter ? m_backBufferWidth >> 2 : m_backBufferWidth),
                 (LONG)(quarter ? m_backBufferHeight >> 2 : m_backBufferHeight)};
  RECT clipped;
  if (!::IntersectRect(&clipped, area, &target)) ::SetRect(&clipped, 0, 0, 0, 0);
  m_device->SetScissorRect(&clipped);
  m_device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
}

void SDx::NotifyRenderPass(int pass) {
  if (m_renderPassHook) m_renderPassHook(this, pass);
}

void SDx::PingPong() {
  if (m_currentTarget && m_currentTarget->partner) SetRenderTarget(m_currentTarget->partner);
}

bool SDx::HasRenderTargets() const {
  return m_mainA.surface && m_mainB.surface && m_colorRT.surface && m_normalRT.surface &&
         m_infoRT.surface && m_beamRT.surface && m_beamRT2.surface && m_quarterA.surface &&
         m_previousRT.surface && m_shaderDefault && m_shaderGBuffer && m_shaderDeferred &&
         m_fullQuad && m_screenDeclaration && m_vertexDeclaration;
}

bool SDx::Render() {
  if (!m_device) return true;
  // After a reset whose targets could not be made there is nothing to draw
  // into: the frame is skipped until the targets exist again.
  if (!HasRenderTargets()) return true;
  int effectCount = m_screenEffects.GetCount();

  if (m_flashStart != 0.0f) {
    float progress = GetProgress(m_flashStart, m_flashDuration);
    if (progress > 1.0f) progress = 1.0f;
    float remaining = 1.0f - CosineEase(progress);
    m_flashBoost = m_flashAmount * remaining;
    if (remaining == 0.0f) m_flashStart = 0.0f;
    SetBrightness(m_brightness);
  }

  if (FAILED(m_device->BeginScene())) return true;
  if (!m_sceneVisible) {
    m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    m_device->EndScene();
    Seam(D3DCALL_PRESENT, m_device->Present(nullptr, nullptr, nullptr, nullptr), nullptr);
    return true;
  }

  m_currentTarget = &m_mainA;
  m_inRender = true;
  IDirect3DSurface9* backBuffer = nullptr;
  if (FAILED(m_device->GetRenderTarget(0, &backBuffer))) backBuffer = nullptr;
  m_shaderDefault->SetFrameParameters();
  m_shaderGBuffer->SetFrameParameters();
  m_shaderDeferred->SetFrameParameters();

  RenderScene();
  RenderBlurs();
  if (!m_effectsAfterOverlay) RenderScreenEffects(effectCount);
  if (m_previousFrameCopy) {
    SDxRenderTarget* saved = SetRenderTarget(&m_previousRT);
    SetStageFilter(m_device, D3DTEXF_POINT);
    DrawScreenQuad(nullptr, 0, true);
    SetRenderTarget(saved);
  }

  // The overlay: every other layer's sprites and texts first, the main
  // layer's last, so that they end on top.
  for (int i = 0; i < m_layers.GetCount(); ++i) m_layers[i]->RenderScreenItems();
  if (m_mainLayer) m_mainLayer->RenderScreenItems();
  if (m_effectsAfterOverlay) RenderScreenEffects(effectCount);
  ForEachLayer(this, &SDxLayer::RenderOverlayParticles);
  RenderSlowWarning();
  NotifyRenderPass(RENDER_PASS_OVERLAY);

  // The aspect-corrected copy into the back buffer.
  m_device->SetTexture(0, m_currentTarget->texture);
  m_device->SetRenderTarget(0, backBuffer);
  if (backBuffer) backBuffer->Release();
  m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
  bool stretched = m_clientWidth != m_backBufferWidth || m_clientHeight != m_backBufferHeight ||
                   m_outputRect.left != 0 || m_outputRect.top != 0 ||
                   m_outputRect.right != m_clientWidth || m_outputRect.bottom != m_clientHeight;
  SetStageFilter(m_device, stretched ? D3DTEXF_LINEAR : D3DTEXF_POINT);
  m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  m_device->SetTransform(D3DTS_PROJECTION, &m_identity);
  m_device->SetTransform(D3DTS_VIEW, &m_identity);
  m_device->SetTransform(D3DTS_WORLD, &m_identity);
  if (m_outputQuad && m_outputDeclaration) {
    m_device->SetVertexDeclaration(m_outputDeclaration);
    m_device->SetStreamSource(0, m_outputQuad, 0, sizeof(_SScreenVertex));
    m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
  }
  m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  NotifyRenderPass(RENDER_PASS_COPY);
  m_device->EndScene();
  HRESULT hr =
      Seam(D3DCALL_PRESENT, m_device->Present(nullptr, nullptr, nullptr, nullptr), nullptr);
  m_inRender = false;
  return hr != D3DERR_DEVICELOST;
}

void SDx::RenderScene() {
  if (m_lighting) {
    m_device->SetRenderTarget(0, m_colorRT.surface);
    m_device->SetRenderTarget(1, m_normalRT.surface);
    m_device->SetRenderTarget(2, m_infoRT.surface);
    m_device->SetRenderTarget(3, m_mainA.surface);
  } else {
    m_device->SetRenderTarget(0, m_mainA.surface);
  }
  m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  ForEachLayer(this, &SDxLayer::SortOrderItems);
  if (m_currentCamera) m_currentCamera->Render(nullptr);
  // The layers' triggers draw themselves here (no shader).
  ForEachLayer(this, &SDxLayer::RenderOpaque);
  // The particle systems made of meshes of each layer go here.
  if (m_lighting) {
    for (DWORD i = 3; i >= 1; --i) m_device->SetRenderTarget(i, nullptr);
    m_device->SetRenderTarget(0, m_mainA.surface);
  }
  NotifyRenderPass(RENDER_PASS_GBUFFER);
  if (m_lighting) {
    RenderLights();
    NotifyRenderPass(RENDER_PASS_LIGHTS);
  }
  // Decals land on the lit picture unlit: only main A is bound, which takes
  // the G-buffer shader's colour output.
  RenderDecals(this, true);
  if (m_lighting && m_fog && m_shaderFog && m_shaderFog->m_effect) {
    m_shaderFog->m_effect->SetTexture(m_shaderFog->m_normalTexture, m_normalRT.texture);
    PingPong();
    DrawScreenQuad(m_shaderFog, 0, true);
    NotifyRenderPass(RENDER_PASS_FOG);
  }
  ForEachLayer(this, &SDxLayer::RenderOrdered);
  RenderDecals(this, false);
  ForEachLayer(this, &SDxLayer::RenderPresets);
  NotifyRenderPass(RENDER_PASS_ORDERED);
}

void SDx::RenderLights() {
  m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  SDxEffect* effect = m_shaderDeferred->m_effect;
  if (effect && m_boxShape && m_boxShape->m_vertexBuffer) {
    m_device->SetVertexDeclaration(m_vertexDeclaration);
    m_device->SetStreamSource(0, m_boxShape->m_vertexBuffer, 0, sizeof(SDxVertex));
    effect->SetTexture(m_shaderDeferred->m_colorTexture, m_colorRT.texture);
    effect->SetTexture(m_shaderDeferred->m_normalTexture, m_normalRT.texture);
    effect->SetTexture(m_shaderDeferred->m_infoTexture, m_infoRT.texture);
    UINT passes = 0;
    if (effect->Begin(&passes, 0)) {
      if (effect->BeginPass(0)) {
        bool depthTested = false;
        for (int l = -1; l < m_layers.GetCount(); ++l) {
          SDxLayer* layer = l < 0 ? m_mainLayer : m_layers[l];
          if (!layer || !layer->m_active) continue;
          for (int i = 0; i < layer->GetCount(SDxLayer::LIST_LIGHTS); ++i) {
            SDxLight* light = layer->GetLight(i);
            // A volume that holds the light's whole range lights only the
            // scene in front of its far side: the depth test "greater or
            // equal" against the inside faces skips the pixels behind it.
            bool covers = light->m_range[0] >= light->m_range[1];
            if (covers != depthTested) {
              depthTested = covers;
              m_device->SetRenderState(D3DRS_ZENABLE, covers ? D3DZB_USEW : D3DZB_FALSE);
              m_device->SetRenderState(D3DRS_ZFUNC,
                                       covers ? D3DCMP_GREATEREQUAL : D3DCMP_LESSEQUAL);
            }
            light->Render(m_shaderDeferred);
          }
        }
        m_device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
        SetScissorArea(nullptr);
        effect->EndPass();
      }
      effect->End();
    }
  }
  m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_USEW);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}

void SDx::SetBlurParameters(SDxShader* blur, SDxEffect::Handle size, float sizeValue,
                            SDxEffect::Handle scale, float scaleValue) {
  if (!blur || !blur->m_effect) return;
  blur->m_effect->SetFloat(size, sizeValue);
  blur->m_effect->SetFloat(scale, scaleValue);
}

void SDx::RenderBlurs() {
  // Each pass of a blur runs only over the texels it must get right: the
  // items' area grown by how far the later passes read (the rest of each
  // target holds black there, or is never read).
  const int r = kBlurReach;
  // Glow: the items of beam target 2, blurred at a quarter of the size.
  if (m_beamUseCount[1] != 0) {
    RECT composite = m_beamArea[1];
    SDxRenderTarget* saved = SetRenderTarget(&m_beamRT2);
    --m_beamUseCount[1];
    if (m_lighting) {
      int w = m_backBufferWidth, h = m_backBufferHeight, qw = w >> 2, qh = h >> 2;
      RECT items = QuarterOf(m_beamArea[1], w, h, qw, qh);
      RECT read = Grown(items, 2 * r, 2 * r), across = Grown(items, r, 2 * r);
      RECT blurred = Grown(items, r, r);
      SetRenderTarget(&m_quarterA);
      SetScissorArea(&read);
      DrawScreenQuad(m_shaderDownSample, 0, true);
      PingPong();
      SetScissorArea(&across);
      SetBlurParameters(m_shaderBlurH, m_blurHWidth, (float)(m_backBufferWidth / 4), m_blurHScale,
                        m_glowScale);
      DrawScreenQuad(m_shaderBlurH, 0, true);
      PingPong();
      SetScissorArea(&blurred);
      SetBlurParameters(m_shaderBlurV, m_blurVHeight, (float)(m_backBufferHeight / 4), m_blurVScale,
                        m_glowScale);
      DrawScreenQuad(m_shaderBlurV, 0, true);
      composite = FullOf(blurred, w, h, qw, qh);
    }
    SetRenderTarget(saved);
    SetScissorArea(&composite);
    SetStageFilter(m_device, m_lighting ? D3DTEXF_LINEAR : D3DTEXF_POINT);
    DrawScreenQuad(nullptr, 2, false);
    SetStageFilter(m_device, D3DTEXF_POINT);
    SetScissorArea(nullptr);
    NotifyRenderPass(RENDER_PASS_GLOW);
  }
  // Beams: the items of BeamRT, blurred at full size.
  if (m_beamUseCount[0] != 0) {
    RECT composite = m_beamArea[0];
    SDxRenderTarget* saved = SetRenderTarget(&m_beamRT);
    --m_beamUseCount[0];
    if (m_lighting) {
      RECT across = Grown(m_beamArea[0], r, 2 * r), blurred = Grown(m_beamArea[0], r, r);
      SetRenderTarget(saved == &m_mainA ? &m_mainB : &m_mainA);
      SetScissorArea(&across);
      SetBlurParameters(m_shaderBlurH, m_blurHWidth, (float)m_backBufferWidth, m_blurHScale,
                        m_beamScale);
      DrawScreenQuad(m_shaderBlurH, 0, true);
      SetRenderTarget(&m_beamRT);
      --m_beamUseCount[0];
      SetScissorArea(&blurred);
      SetBlurParameters(m_shaderBlurV, m_blurVHeight, (float)m_backBufferHeight, m_blurVScale,
                        m_beamScale);
      DrawScreenQuad(m_shaderBlurV, 0, true);
      composite = blurred;
    }
    SetRenderTarget(saved);
    SetScissorArea(&composite);
    SetStageFilter(m_device, D3DTEXF_POINT);
    DrawScreenQuad(nullptr, 2, false);
    SetScissorArea(nullptr);
    NotifyRenderPass(RENDER_PASS_BEAMS);
  }
}

void SDx::RenderScreenEffects(int count) {
  if (!m_device || !m_screenEffectsEnabled || count <= 0) return;
  if (count > m_screenEffects.GetCount()) count = m_screenEffects.GetCount();
  m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  m_device->SetTransform(D3DTS_PROJECTION, &m_identity);
  m_device->SetTransform(D3DTS_VIEW, &m_identity);
  m_device->SetTransform(D3DTS_WORLD, &m_identity);
  m_device->SetVertexDeclaration(m_screenDeclaration);
  m_device->SetStreamSource(0, m_fullQuad, 0, sizeof(_SScreenVertex));
  for (int i = 0; i < count; ++i) {
    SDxShader* shader = m_screenEffects[i];
    // An effect that would give the picture back unchanged is not drawn:
    // the picture stays in its target.
    if (!shader->IsEnabled() || shader->LeavesPictureUnchanged()) continue;
    SDxEffect* effect = shader->m_effect;
    if (effect) {
      if (shader->UsesNormalTexture())
        effect->SetTexture(shader->m_normalTexture, m_normalRT.texture);
      if (shader->UsesInfoTexture()) effect->SetTexture(shader->m_infoTexture, m_infoRT.texture);
      if (shader->UsesPreviousTexture())
        effect->SetTexture(shader->m_previousTexture, m_previousRT.texture);
    }
    PingPong();
    UINT passes = 0;
    if (!effect || !effect->Begin(&passes, 0)) continue;
    for (UINT p = 0; p < passes; ++p) {
      if (!effect->BeginPass(p)) continue;
      m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
      effect->EndPass();
    }
    effect->End();
  }
  m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  m_device->SetTransform(D3DTS_PROJECTION, &m_projection);
  m_device->SetTransform(D3DTS_VIEW, &m_view);
  NotifyRenderPass(RENDER_PASS_SCREEN_EFFECTS);
}

void SDx::RenderSlowWarning() {
  if (!IsSlowWarningDue() || !m_sprite) return;
  m_device->SetTransform(D3DTS_WORLD, &m_identity);
  m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  if (m_slowWarningSprite && SUCCEEDED(m_sprite->Begin(0))) {
    m_slowWarningSprite->Draw();
    m_sprite->End();
  }
  m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  if (m_slowWarningText && SUCCEEDED(m_sprite->Begin(0))) {
    // The text is kept inactive between frames; it shows only here.
    m_slowWarningText->SetActive(true);
    m_slowWarningText->Draw();
    m_slowWarningText->SetActive(false);
    m_sprite->End();
  }
  m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_USEW);
}
