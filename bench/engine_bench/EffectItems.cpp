#include "core/Platform.h"
#include "EffectItems.h"
#include "tests/support/EngineBusyScene.h"

#include "core/SImage.h"
#include "engine/SDx.h"
#include "engine/SDxCamera.h"
#include "engine/SDxLayer.h"
#include "engine/SDxParticle.h"
#include "engine/SDxShaderGBuffer.h"
#include "engine/SDxShape.h"
#include "engine/SDxSprite.h"
#include "engine/SDxTexture.h"

#include <stdint.h>
#include <stdio.h>

#include <functional>
#include <vector>

namespace {

double SecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  ::QueryPerformanceCounter(&now);
  ::QueryPerformanceFrequency(&frequency);
  return (double)(now.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
}

// Seconds per frame of the clock's step, the layer's update and the pass,
// drawn into main A, the device's queue drained at the end.
double PerFrame(SDx* engine, SDxLayer* layer, const std::function<void()>& pass) {
  IDirect3DDevice9* device = engine->m_device;
  auto frame = [&] {
    engine->m_time += 1.0f / 60.0f;
    engine->m_dt = 1.0f / 60.0f;
    layer->Update();
    device->SetRenderTarget(0, engine->m_mainA.surface);
    device->BeginScene();
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    pass();
    device->EndScene();
  };
  for (int i = 0; i < 120; ++i) frame();  // the emitters fill up
  const int kFrames = 300;
  LARGE_INTEGER start;
  ::QueryPerformanceCounter(&start);
  for (int i = 0; i < kFrames; ++i) frame();
  IDirect3DQuery9* query = nullptr;
  if (SUCCEEDED(device->CreateQuery(D3DQUERYTYPE_EVENT, &query)) && query) {
    query->Issue(D3DISSUE_END);
    while (query->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE) {
    }
    query->Release();
  }
  return SecondsSince(start) / kFrames;
}

}  // namespace

void MeasureEffectItems(SDx* engine) {
  SDxCamera* camera = engine->GetCamera(-1);
  camera->SetPositionXYZ(0, 0, -200);
  camera->Apply();
  SDxTexture* texture = busy_scene::MakeNoiseTexture(engine, 64);
  SDxTexture* digits = busy_scene::MakeNoiseTexture(engine, 64);

  SDxLayer* particles = engine->CreateLayer();
  int atoms = 0;
  for (int i = 0; i < 20; ++i) {
    SDxParticlePoint* p = particles->AddParticle(texture, 500);
    p->SetPointSize(4.0f);
    p->SetEmissionRate(550.0f, 550.0f);
    p->SetLifetime(1.0f);
    p->SetSpeed(30.0f);
    p->SetPositionXYZ(-100.0f + 10.0f * i, 0.0f, 0.0f);
    p->Start(nullptr, 0.0f, 0.0f);
  }
  double particleFrame = PerFrame(engine, particles, [&] { particles->RenderOrdered(); });
  for (int i = 0; i < particles->GetCount(SDxLayer::LIST_ORDERED); ++i) {
    atoms += static_cast<SDxParticlePoint*>(particles->GetItem(SDxLayer::LIST_ORDERED, i))
                 ->GetAtomCount();
  }

  SDxLayer* sprites = engine->CreateLayer();
  for (int i = 0; i < 100; ++i) {
    SDxSprite* s = sprites->AddSprite(i % 4 ? texture : digits, 4, nullptr, 4, -1, 0);
    s->SetSize(5.0f, 5.0f);
    s->SetPositionXY((float)(i % 10) * 10.0f + 5.0f, (float)(i / 10) * 10.0f + 5.0f);
    busy_scene::VarySprite(s, i);
  }
  double spriteFrame = PerFrame(engine, sprites, [&] { sprites->RenderScreenItems(); });

  SDxLayer* walls = engine->CreateLayer();
  const bool faces[SDxShape::FACE_COUNT] = {true, true, true, true, true, true};
  int decals = 0;
  for (int w = 0; w < 5; ++w) {
    SDxShape* box = walls->AddShape();
    box->AddBox(texture, nullptr, 60, 60, 60, false, 1, faces);
    box->SetPositionXYZ(-100.0f + 50.0f * w, 0.0f, 100.0f);
    box->SetDecalsEnabled(true);
    for (int d = 0; d < 10; ++d) {
      SDxPickQuery query;
      query.origin = D3DXVECTOR3(box->GetPosition().x - 20.0f + 4.5f * d, -10.0f + 2.0f * d, 0);
      query.direction = D3DXVECTOR3(0, 0, 1);
      if (!box->Pick(&query)) continue;
      D3DXVECTOR3 hit = query.origin + query.direction * query.hitParameter;
      decals += box->AddDecal(query.hitFace, hit, 8.0f, 8.0f, d % 2 ? texture : digits, 0.3f * d,
                              0.0f, 0.1f);
    }
  }
  engine->m_shaderGBuffer->SetFrameParameters();
  double decalFrame = PerFrame(engine, walls, [&] {
    walls->RenderOpaque();
    walls->RenderDecals(true);
  });

  printf("  %d point particle systems with %d atoms alive: %.3f ms per frame\n", 20, atoms,
         particleFrame * 1e3);
  printf("  100 sprites (numbers, fades, animations): %.3f ms per frame\n", spriteFrame * 1e3);
  printf("  %d decals on 5 boxes, with the boxes: %.3f ms per frame\n", decals, decalFrame * 1e3);
}
