// Windows, engines and pixel read-back for the engine tests.
#pragma once

#include "core/Platform.h"
#include "core/SImage.h"
#include "engine/SDx.h"
#include "engine/SDxCamera.h"
#include "engine/SDxLayer.h"
#include "engine/SDxShader.h"
#include "engine/SDxShaderDefault.h"
#include "engine/SDxTexture.h"
#include "window/SWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A framework window for an engine to bind to.
inline std::unique_ptr<SWnd> MakeEngineWindow() {
  std::unique_ptr<SWnd> window(new SWnd);
  RECT rect = {0, 0, 400, 300};
  window->Create("engine test", WS_OVERLAPPEDWINDOW, 0, &rect);
  return window;
}

// The pixels of a render target, read back through a system-memory surface:
// 32-bit colours, or four floats per pixel for a 16-bit float target.
struct Pixels {
  int width = 0, height = 0;
  D3DFORMAT format = D3DFMT_UNKNOWN;
  std::vector<uint32_t> colors;
  std::vector<float> floats;

  uint32_t At(int x, int y) const { return colors[(size_t)y * width + x]; }
  // Byte n of a colour: 0 blue, 1 green, 2 red.
  int Channel(int x, int y, int n) const { return (At(x, y) >> (8 * n)) & 0xFF; }
  int Red(int x, int y) const { return Channel(x, y, 2); }
  int Green(int x, int y) const { return Channel(x, y, 1); }
  int Blue(int x, int y) const { return Channel(x, y, 0); }
  // Component c (0 r, 1 g, 2 b, 3 a) of a float target.
  float Float(int x, int y, int c) const { return floats[((size_t)y * width + x) * 4 + c]; }
};

inline Pixels ReadTarget(IDirect3DDevice9* device, IDirect3DSurface9* surface) {
  Pixels pixels;
  D3DSURFACE_DESC desc;
  if (!device || !surface || FAILED(surface->GetDesc(&desc))) return pixels;
  IDirect3DSurface9* copy = nullptr;
  if (FAILED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                 D3DPOOL_SYSTEMMEM, &copy, nullptr)))
    return pixels;
  D3DLOCKED_RECT locked;
  if (SUCCEEDED(device->GetRenderTargetData(surface, copy)) &&
      SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
    pixels.width = (int)desc.Width;
    pixels.height = (int)desc.Height;
    pixels.format = desc.Format;
    for (int y = 0; y < pixels.height; ++y) {
      const unsigned char* row = (const unsigned char*)locked.pBits + (size_t)y * locked.Pitch;
      if (desc.Format == D3DFMT_A16B16G16R16F) {
        float values[4];
        for (int x = 0; x < pixels.width; ++x) {
          D3DXFloat16To32Array(values, (const D3DXFLOAT16*)row + 4 * x, 4);
          pixels.floats.insert(pixels.floats.end(), values, values + 4);
        }
      } else {
        const uint32_t* p = (const uint32_t*)row;
        pixels.colors.insert(pixels.colors.end(), p, p + pixels.width);
      }
    }
    copy->UnlockRect();
  }
  copy->Release();
  return pixels;
}

inline Pixels ReadTarget(SDx* engine, const SDxRenderTarget& target) {
  return ReadTarget(engine->m_device, target.surface);
}

// Fills a target (or a rectangle of it) with a colour, as Clear does.
inline void FillTarget(SDx* engine, SDxRenderTarget* target, D3DCOLOR color,
                       const RECT* rect = nullptr) {
  IDirect3DDevice9* device = engine->m_device;
  device->SetRenderTarget(0, target->surface);
  if (rect) {
    D3DRECT r = {rect->left, rect->top, rect->right, rect->bottom};
    device->Clear(1, &r, D3DCLEAR_TARGET, color, 1.0f, 0);
  } else {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, color, 1.0f, 0);
  }
}

// Runs the drawing into main A, cleared black, with the current camera at
// the origin looking along +z, and reads main A back.
template <class F>
Pixels DrawIntoMainA(SDx* engine, F draw) {
  SDxCamera* camera = engine->GetCamera(-1);
  camera->SetPositionXYZ(0, 0, 0);
  camera->SetRotation(0, 0, 0);
  camera->Apply();
  IDirect3DDevice9* device = engine->m_device;
  device->SetRenderTarget(0, engine->m_mainA.surface);
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  engine->SetDefaultRenderStates();
  draw();
  device->EndScene();
  return ReadTarget(engine, engine->m_mainA);
}

// The engine's current camera at the origin looking along +z draws one item
// with the unlit effect into main A (cleared black), read back; the view and
// projection are identities again afterwards.
inline Pixels DrawFromTheOrigin(SDx* engine, SDxMotion* item) {
  Pixels pixels = DrawIntoMainA(engine, [&] {
    engine->m_shaderDefault->SetFrameParameters();
    item->Render(engine->m_shaderDefault);
  });
  engine->SetViewProjection(engine->m_identity, engine->m_identity);
  return pixels;
}

// One engine (of class E) on an 800 x 450 window for the tests of a suite.
template <class E>
class EngineSuiteOf : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    s_window = MakeEngineWindow().release();
    s_engine = new E;
    SDxConfig config;
    s_error.Set("");
    s_created = s_engine->Create(s_window, &config, &s_error);
  }
  static void TearDownTestSuite() {
    delete s_engine;
    s_engine = nullptr;
    delete s_window;
    s_window = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(s_created) << s_error.GetText(); }

  // Draws the full-screen pass of the shader from the source target into the
  // destination target (cleared first), as the frame's ping-pong does.
  static void RunScreenPass(SDxShader* shader, SDxRenderTarget* source,
                            SDxRenderTarget* destination) {
    IDirect3DDevice9* device = s_engine->m_device;
    device->BeginScene();
    s_engine->m_currentTarget = source;
    s_engine->SetRenderTarget(destination);
    s_engine->DrawScreenQuad(shader, 0, true);
    device->EndScene();
  }

  inline static SWnd* s_window = nullptr;
  inline static E* s_engine = nullptr;
  inline static bool s_created = false;
  inline static SString s_error;
};

using EngineSuite = EngineSuiteOf<SDx>;

// A texture of columns x rows cells of cellSize pixels, the cell i of a
// row-by-row count in CellColor (i), kept by the engine.
inline D3DCOLOR CellColor(int i) { return D3DCOLOR_ARGB(255, 8 + 12 * i, 255 - 12 * i, 64); }
inline SDxTexture* MakeSheetTexture(SDx* engine, int columns, int rows, int cellWidth,
                                    int cellHeight) {
  int width = columns * cellWidth, height = rows * cellHeight;
  std::vector<uint32_t> pixels((size_t)width * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels[(size_t)y * width + x] = CellColor((y / cellHeight) * columns + x / cellWidth);
    }
  }
  SImage image;
  if (!image.CreateFromPixels(pixels.data(), width, height)) return nullptr;
  SDxTexture* texture = new SDxTexture(engine);
  if (!texture->LoadFromImage(&image) || engine->m_textures.InsertSorted(texture) < 0) {
    delete texture;
    return nullptr;
  }
  return texture;
}

// A suite whose tests work on a layer of their own, made at game time 100
// with no step, and on sheet textures made by Sheet; both go after each test.
class LayerSuite : public EngineSuite {
protected:
  void SetUp() override {
    EngineSuite::SetUp();
    layer = s_engine->CreateLayer();
    s_engine->m_time = 100.0f;
    s_engine->m_dt = 0.0f;
  }
  void TearDown() override {
    s_engine->m_layers.RemoveValue(layer);
    delete layer;
    for (SDxTexture* t : made) s_engine->RemoveTexture(t);
  }
  SDxTexture* Sheet(int columns, int rows, int cellWidth, int cellHeight) {
    SDxTexture* t = MakeSheetTexture(s_engine, columns, rows, cellWidth, cellHeight);
    made.push_back(t);
    return t;
  }

  SDxLayer* layer = nullptr;
  std::vector<SDxTexture*> made;
};


// Pixels of main A that are not black.
inline int CountLit(const Pixels& pixels) {
  int lit = 0;
  for (uint32_t c : pixels.colors) lit += (c & 0xFFFFFF) != 0;
  return lit;
}
