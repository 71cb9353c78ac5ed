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

void SetStageFilter(IDirect3DDevice9* device, D3DTEXTUREFILTERTYPE filter) {
  device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
  device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
}

}  // namespace

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
  // Glow: the items of beam target 2, blurred at a quarter of the size.
  if (m_beamUseCount[1] != 0) {
    SDxRenderTarget* saved = SetRenderTarget(&m_beamRT2);
    --m_beamUseCount[1];
    if (m_lighting) {
      SetRenderTarget(&m_quarterA);
      DrawScreenQuad(m_shaderDownSample, 0, true);
      PingPong();
      SetBlurParameters(m_shaderBlurH, m_blurHWidth, (float)(m_backBufferWidth / 4), m_blurHScale,
                        m_glowScale);
      DrawScreenQuad(m_shaderBlurH, 0, true);
      PingPong();
      SetBlurParameters(m_shaderBlurV, m_blurVHeight, (float)(m_backBufferHeight / 4), m_blurVScale,
                        m_glowScale);
      DrawScreenQuad(m_shaderBlurV, 0, true);
    }
    SetRenderTarget(saved);
    SetStageFilter(m_device, m_lighting ? D3DTEXF_LINEAR : D3DTEXF_POINT);
    DrawScreenQuad(nullptr, 2, false);
    SetStageFilter(m_device, D3DTEXF_POINT);
    NotifyRenderPass(RENDER_PASS_GLOW);
  }
  // Beams: the items of BeamRT, blurred at full size.
  if (m_beamUseCount[0] != 0) {
    SDxRenderTarget* saved = SetRenderTarget(&m_beamRT);
    --m_beamUseCount[0];
    if (m_lighting) {
      SetRenderTarget(saved == &m_mainA ? &m_mainB : &m_mainA);
      SetBlurParameters(m_shaderBlurH, m_blurHWidth, (float)m_backBufferWidth, m_blurHScale,
                        m_beamScale);
      DrawScreenQuad(m_shaderBlurH, 0, true);
      SetRenderTarget(&m_beamRT);
      --m_beamUseCount[0];
      SetBlurParameters(m_shaderBlurV, m_blurVHeight, (float)m_backBufferHeight, m_blurVScale,
                        m_beamScale);
      DrawScreenQuad(m_shaderBlurV, 0, true);
    }
    SetRenderTarget(saved);
    SetStageFilter(m_device, D3DTEXF_POINT);
    DrawScreenQuad(nullptr, 2, false);
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
    if (!shader->IsEnabled()) continue;
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
