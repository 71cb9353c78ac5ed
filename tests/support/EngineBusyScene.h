// A level-like scene for the engine's frame, built the same way by the
// engine benchmark and by the frame's sample-point test: 300 instances of
// one box mesh in a field in front of the camera, 16 point lights among
// them, fog, four glow and four beam items, two screen effects that leave
// the picture almost as it is, 50 sprites (numbers, fades, animations, plain
// frames) and ten texts. Nothing in it depends on the clock until a frame
// step runs.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SImage.h"
#include "engine/SDx.h"
#include "engine/SDxCamera.h"
#include "engine/SDxLayer.h"
#include "engine/SDxLight.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShader.h"
#include "engine/SDxShape.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"
#include "engine/SDxTexture.h"

#include <stdint.h>

#include <vector>

namespace busy_scene {

const int kMeshes = 300;
const int kLights = 16;
const int kSprites = 50;
const int kTexts = 10;

inline uint32_t& RandomState() {
  static uint32_t state = 12345;
  return state;
}

// A fixed sequence in [-range / 2, range / 2], the same on every run.
inline float Random(float range) {
  uint32_t& state = RandomState();
  state = state * 1664525u + 1013904223u;
  return range * ((float)(state >> 8) / 16777216.0f - 0.5f);
}

// A square opaque texture of size x size noise pixels, filed in the
// engine's texture array.
inline SDxTexture* MakeNoiseTexture(SDx* engine, int size) {
  std::vector<uint32_t> pixels((size_t)size * size);
  for (int i = 0; i < size * size; ++i) pixels[i] = 0xFF000000u | (uint32_t)(i * 2654435761u);
  SImage image;
  image.CreateFromPixels(pixels.data(), size, size);
  SDxTexture* texture = new SDxTexture(engine);
  texture->LoadFromImage(&image);
  engine->m_textures.InsertSorted(texture);
  return texture;
}

// The i-th sprite of a 4 x 4 sheet: by i % 4 a signed number counting up,
// an endless fade, a looping animation, or the plain first frame.
inline void VarySprite(SDxSprite* sprite, int i) {
  if (i % 4 == 0) {
    sprite->SetNumberDisplay(true, 4, true, 1.0f, 0.0f);
    sprite->SetNumber(-123, false);
  } else if (i % 4 == 1) {
    sprite->FadeAlpha(255, 0, -1, 0.5f, false, 0.0f);
  } else if (i % 4 == 2) {
    sprite->SetAnimation(20.0f, true, false);
  }
}

// Builds the scene in the engine's first layer (the random sequence starts
// again, so that every build is the same).
inline void Build(SDx* engine) {
  RandomState() = 12345;
  SDxLayer* layer = engine->GetFirstLayer();
  SDxCamera* camera = engine->GetCamera(-1);
  camera->SetPositionXYZ(0.0f, 3.0f, -8.0f);
  camera->SetRotation(0.0f, 0.0f, 0.0f);
  camera->Apply();
  const bool faces[6] = {true, true, true, true, true, true};
  SDxShape* shape = layer->AddShape();
  shape->AddBox(nullptr, nullptr, 1.0f, 1.0f, 1.0f, false, 1.0f, faces);
  SDxMesh* master = shape->CreateMesh(layer);
  layer->RemoveItem(shape);
  for (int i = 0; i < kMeshes; ++i) {
    SDxMesh* mesh = i == 0 ? master : SDxMesh::CreateInstance(master, layer);
    if (!mesh) continue;
    mesh->SetPositionXYZ(1.6f * (float)(i % 20 - 10), Random(2.0f), 2.0f + 2.5f * (float)(i / 20));
    mesh->SetRotation(Random(3.0f), Random(3.0f), 0.0f);
  }
  for (int i = 0; i < kLights; ++i) {
    SDxLight* light = layer->AddLight();
    light->SetPositionXYZ(4.0f * (float)(i % 4) - 6.0f, 1.5f, 4.0f + 8.0f * (float)(i / 4));
    light->SetColor(i % 2 ? 1.0f : 0.4f, 0.7f, i % 3 ? 0.3f : 1.0f);
    light->SetRange(6.0f, 6.0f);
  }
  for (int i = 0; i < 8; ++i) {
    SDxShape* item = layer->AddShape();
    item->AddBox(nullptr, nullptr, 0.6f, 0.6f, 0.6f, false, 1.0f, faces);
    item->SetPositionXYZ(3.0f * (float)i - 10.5f, 3.0f, 10.0f);
    item->SetDepthSorted(true);
    item->m_targetMask = i < 4 ? 2u : 1u;
  }
  engine->EnableFog(true);
  engine->SetFog(10.0f, 60.0f);
  engine->m_lightColor = D3DXCOLOR(0.6f, 0.6f, 0.6f, 1.0f);
  engine->m_lightDirection = D3DXVECTOR3(0.3f, -0.8f, 0.5f);
  engine->m_worldAmbient = D3DXCOLOR(0.3f, 0.3f, 0.3f, 1.0f);
  SArray<SDxShader*> effects;
  effects.Add(engine->CreateShader(SDxShader::TEXT_FADE));
  effects.Add(engine->CreateShader(SDxShader::TEXT_GREY));
  effects[1]->SetFloat("g_alpha", 0.3f);
  engine->SetScreenEffects(&effects);
  for (int i = 0; i < kTexts; ++i) {
    SDxText* text = layer->AddText("arial", 3.0f, 0, DT_LEFT | DT_TOP | DT_SINGLELINE, 0xFFFFFFFF);
    if (!text) continue;
    text->SetRect(2.0f + 10.0f * (float)(i % 5), 2.0f + 5.0f * (float)(i / 5), 100.0f, 100.0f);
    text->SetText("SCORE 123450", false);
  }
  SDxTexture* sheet = MakeNoiseTexture(engine, 64);
  for (int i = 0; i < kSprites; ++i) {
    SDxSprite* sprite = layer->AddSprite(sheet, 4, nullptr, 4, -1, 0);
    if (!sprite) continue;
    sprite->SetSize(4.0f, 4.0f);
    sprite->SetPositionXY(5.0f + 9.0f * (float)(i % 10), 70.0f + 6.0f * (float)(i / 10));
    VarySprite(sprite, i);
  }
}

}  // namespace busy_scene
