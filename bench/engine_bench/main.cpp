// The engine's frame on this machine, at 800 x 450 and at 1280 x 720: a
// busy frame like a level's drawn by SDx::Render (300 instanced meshes, 16
// point lights, fog, glow and beam items, two screen effects, 50 sprites and
// texts), the same frame with lighting off, the cost of each pass, and the
// bare frame (clear the four G-buffer targets, copy, present). Then the frame
// step on its own, one layer update with 2,000 moving depth-sorted items,
// 1,000 ray picks against 200 boxes, the entity step (EntityStep.cpp) and the
// effect items (EffectItems.cpp). Frame figures are the best of several runs
// (the machine is shared).
#include "core/Platform.h"

#include "EffectItems.h"
#include "tests/support/EngineBusyScene.h"
#include "engine/SDx.h"
#include "engine/SDxCamera.h"
#include "engine/SDxLayer.h"
#include "engine/SDxLight.h"
#include "engine/SDxMesh.h"
#include "engine/SDxObject.h"
#include "engine/SDxShader.h"
#include "engine/SDxShaderDeferred.h"
#include "engine/SDxShaderGBuffer.h"
#include "engine/SDxShape.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"
#include "window/Framework.h"
#include "window/SWnd.h"

#include <stdint.h>
#include <stdio.h>

#include <utility>
#include <vector>

namespace {

// Ticks of the performance counter; differences are taken in integers (the
// device may have set the FPU to single precision).
int64_t Ticks() {
  LARGE_INTEGER c;
  ::QueryPerformanceCounter(&c);
  return c.QuadPart;
}

double Seconds(int64_t ticks) {
  LARGE_INTEGER f;
  ::QueryPerformanceFrequency(&f);
  return (double)ticks / (double)f.QuadPart;
}

// A unit box of engine vertices: faces outward, or inward for a light volume.
std::vector<SDxVertex> MakeBox(bool inward) {
  static const float kFaces[6][4][3] = {
      {{-1, 1, -1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}},  // front (-z)
      {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}},      // back (+z)
      {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}},      // top
      {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}},  // bottom
      {{-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}},  // left
      {{1, 1, -1}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}},      // right
  };
  std::vector<SDxVertex> vertices(36);
  SDxVertex* out = vertices.data();
  for (const auto& face : kFaces) {
    D3DXVECTOR3 c[4];
    for (int i = 0; i < 4; ++i) c[i] = D3DXVECTOR3(face[i][0], face[i][1], face[i][2]) * 0.5f;
    const D3DXVECTOR2 uv[3] = {D3DXVECTOR2(0, 0), D3DXVECTOR2(1, 1), D3DXVECTOR2(1, 0)};
    // BuildTriangle writes the corners 0, 2, 1: give them in reverse for
    // clockwise (front-facing) output.
    D3DXVECTOR3 t1[3] = {c[0], c[2], c[1]}, t2[3] = {c[0], c[3], c[2]};
    if (inward) {
      std::swap(t1[1], t1[2]);
      std::swap(t2[1], t2[2]);
    }
    out = SDx::BuildTriangle(out, t1, uv, false);
    out = SDx::BuildTriangle(out, t2, uv, false);
  }
  return vertices;
}

// The bare frame: the four G-buffer targets cleared, the copy into the back
// buffer, Present.
void DrawBareFrame(SDx* dx) {
  IDirect3DDevice9* device = dx->m_device;
  device->BeginScene();
  IDirect3DSurface9* backBuffer = nullptr;
  device->GetRenderTarget(0, &backBuffer);
  device->SetRenderTarget(0, dx->m_colorRT.surface);
  device->SetRenderTarget(1, dx->m_normalRT.surface);
  device->SetRenderTarget(2, dx->m_infoRT.surface);
  device->SetRenderTarget(3, dx->m_mainA.surface);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  for (DWORD i = 3; i >= 1; --i) device->SetRenderTarget(i, nullptr);
  device->SetTexture(0, dx->m_mainA.texture);
  device->SetRenderTarget(0, backBuffer);
  backBuffer->Release();
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetVertexDeclaration(dx->m_outputDeclaration);
  device->SetStreamSource(0, dx->m_outputQuad, 0, sizeof(SDx::_SScreenVertex));
  device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->SetTexture(0, nullptr);
  device->EndScene();
  device->Present(nullptr, nullptr, nullptr, nullptr);
}

// Waits until the device has finished everything queued.
void Finish(IDirect3DDevice9* device) {
  IDirect3DQuery9* query = nullptr;
  if (FAILED(device->CreateQuery(D3DQUERYTYPE_EVENT, &query)) || !query) return;
  query->Issue(D3DISSUE_END);
  while (query->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE) {
  }
  query->Release();
}

// A box object of 12 triangles, picked by the engine's triangle loop.
class BoxObject : public SDxObject {
public:
  BoxObject(SDxLayer* layer, const std::vector<SDxVertex>* box)
      : SDxObject(layer, KIND_MESH), m_vertices(box) {
    m_box.Grow(D3DXVECTOR3(-0.5f, -0.5f, -0.5f));
    m_box.Grow(D3DXVECTOR3(0.5f, 0.5f, 0.5f));
  }
  int GetFaceCount() override { return 12; }
  bool Pick(SDxPickQuery* query) override { return PickTriangles(query, m_vertices->data(), 12); }
  const std::vector<SDxVertex>* m_vertices;
};

using busy_scene::Random;

// One layer update: every item moves, the layer steps its items and sorts
// its ordered list again. Returns seconds per update.
double MeasureLayerUpdate(SDx* engine, const std::vector<SDxVertex>* box) {
  SDxLayer* layer = engine->CreateLayer();
  std::vector<BoxObject*> items;
  for (int i = 0; i < 2000; ++i) {
    BoxObject* item = new BoxObject(layer, box);
    layer->FileItem(item);
    item->SetDepthSorted(true);
    item->SetPositionXYZ(Random(200), Random(200), Random(200));
    items.push_back(item);
  }
  const int kUpdates = 100;
  int64_t start = Ticks();
  for (int u = 0; u < kUpdates; ++u) {
    for (BoxObject* item : items) item->MoveAlong(0.5f, nullptr);
    layer->Update();
    layer->SortOrderItems();
  }
  return Seconds(Ticks() - start) / kUpdates;
}

// 1,000 rays each tested against every one of 200 boxes; returns seconds
// for all of them and the number of rays that hit.
double MeasurePicks(SDx* engine, const std::vector<SDxVertex>* box, int* hits) {
  SDxLayer* layer = engine->CreateLayer();
  std::vector<BoxObject*> objects;
  for (int i = 0; i < 200; ++i) {
    BoxObject* object = new BoxObject(layer, box);
    layer->FileItem(object);
    object->SetScale(4, 4, 4);
    object->SetRotation(Random(6), Random(6), 0);
    object->SetPositionXYZ(Random(100), Random(100), 20.0f + Random(40));
    objects.push_back(object);
  }
  *hits = 0;
  int64_t start = Ticks();
  for (int r = 0; r < 1000; ++r) {
    SDxPickQuery query;
    query.direction = D3DXVECTOR3(Random(2), Random(2), 1);
    for (BoxObject* object : objects) object->Pick(&query);
    *hits += query.hitObject != nullptr;
  }
  return Seconds(Ticks() - start);
}

// Per-pass times of the frames the hook sees: the time since the previous
// pass (or the start of the frame), the device finished at each pass.
struct PassTimes {
  int64_t last = 0;
  int64_t ticks[SDx::RENDER_PASS_COUNT] = {};
  int frames[SDx::RENDER_PASS_COUNT] = {};
};
PassTimes g_passTimes;

void TimePass(SDx* engine, int pass) {
  Finish(engine->m_device);
  int64_t now = Ticks();
  g_passTimes.ticks[pass] += now - g_passTimes.last;
  ++g_passTimes.frames[pass];
  g_passTimes.last = now;
}

const char* const kPassNames[SDx::RENDER_PASS_COUNT] = {
    "G-buffer (clear, opaque meshes)",
    "deferred lights",
    "decals, fog",
    "ordered items, decals, presets",
    "glow (quarter-size blur)",
    "beams (full-size blur)",
    "screen effects",
    "overlay (sprites, texts, warning)",
    "copy into the back buffer",
};

// Seconds per frame: the best of several runs of frames frames each.
template <class Draw>
double BestFrame(IDirect3DDevice9* device, Draw draw, int runs, int frames) {
  double best = 1e9;
  for (int r = 0; r < runs; ++r) {
    Finish(device);
    int64_t start = Ticks();
    for (int i = 0; i < frames; ++i) draw();
    Finish(device);
    double t = Seconds(Ticks() - start) / frames;
    if (t < best) best = t;
  }
  return best;
}

// The frame figures at one back-buffer size.
void MeasureFrames(SWnd* window, int width, int height) {
  SDx engine;
  SDxConfig config;
  config.width = width;
  config.height = height;
  SString error;
  if (!engine.Create(window, &config, &error)) {
    printf("engine_bench: SDx::Create at %d x %d failed: %s\n", width, height, error.GetText());
    return;
  }
  IDirect3DDevice9* device = engine.m_device;
  busy_scene::Build(&engine);
  auto render = [&engine]() {
    engine.m_beamUseCount[0] = engine.m_beamUseCount[1] = 0;
    engine.Render();
  };
  const int kRuns = 7, kFrames = 30;
  for (int i = 0; i < 10; ++i) render();
  double busy = BestFrame(device, render, kRuns, kFrames);
  engine.m_lighting = false;
  double plain = BestFrame(device, render, kRuns, kFrames);
  engine.m_lighting = true;
  double bare = BestFrame(
      device, [&engine]() { DrawBareFrame(&engine); }, kRuns, kFrames);

  // Each pass with the device finished around it: the best per-frame
  // average of several runs.
  double passes[SDx::RENDER_PASS_COUNT];
  for (double& p : passes) p = 1e9;
  engine.m_renderPassHook = TimePass;
  for (int r = 0; r < kRuns; ++r) {
    g_passTimes = PassTimes();
    for (int i = 0; i < kFrames; ++i) {
      Finish(device);
      g_passTimes.last = Ticks();
      render();
    }
    for (int p = 0; p < SDx::RENDER_PASS_COUNT; ++p) {
      if (g_passTimes.frames[p] == 0) continue;
      double t = Seconds(g_passTimes.ticks[p]) / g_passTimes.frames[p];
      if (t < passes[p]) passes[p] = t;
    }
  }
  engine.m_renderPassHook = nullptr;

  int culled = engine.GetFirstLayer()->m_culledCount;
  printf("engine_bench at %d x %d (best of %d runs of %d frames)\n", width, height, kRuns, kFrames);
  printf(
      "  busy frame (300 instanced meshes, %d culled; 16 point lights, fog, 4 glow and 4 beam "
      "items, 2 screen effects, %d sprites, 10 texts): %.3f ms\n",
      culled, engine.GetFirstLayer()->GetCount(SDxLayer::LIST_SPRITES), busy * 1e3);
  printf("  the same frame with lighting off: %.3f ms\n", plain * 1e3);
  printf("  bare frame (clear four targets, copy, present): %.3f ms; busy / bare = %.1f\n",
         bare * 1e3, busy / bare);
  printf("  passes of the busy frame, the device finished after each:\n");
  for (int p = 0; p < SDx::RENDER_PASS_COUNT; ++p) {
    if (passes[p] < 1e9) printf("    %-34s %.3f ms\n", kPassNames[p], passes[p] * 1e3);
  }
}

}  // namespace

void PrintEntitySteps(SDx* engine);

int main() {
  StartupFramework(::GetModuleHandleA(nullptr), SW_SHOWNORMAL, STARTUP_WINSOCK | STARTUP_XAUDIO2);
  int result = 1;
  {
    SWnd window;
    window.Create("engine bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    MeasureFrames(&window, 800, 450);
    MeasureFrames(&window, 1280, 720);
    SDx engine;
    SDxConfig config;
    SString error;
    if (!engine.Create(&window, &config, &error)) {
      printf("engine_bench: SDx::Create failed: %s\n", error.GetText());
    } else {
      // The frame step alone: with the frame limit off every call is a
      // frame, and without a device the render returns at once.
      g_engine = &engine;
      engine.GetConfig()->frameLimit = 0;
      engine.AddTimer(1, 1.0e6f);
      IDirect3DDevice9* kept = engine.m_device;
      engine.m_device = nullptr;
      const int kSteps = 200000;
      int64_t start = Ticks();
      for (int i = 0; i < kSteps; ++i) SDx::Frame();
      double step = Seconds(Ticks() - start) / kSteps;
      engine.m_device = kept;
      g_engine = nullptr;

      std::vector<SDxVertex> box = MakeBox(false);
      double update = MeasureLayerUpdate(&engine, &box);
      int hits = 0;
      double picks = MeasurePicks(&engine, &box, &hits);

      printf("  frame step without rendering: %.3f us (%d steps)\n", step * 1e6, kSteps);
      printf("  layer update with 2000 moving depth-sorted items: %.3f ms\n", update * 1e3);
      printf("  1000 picks against 200 boxes: %.3f ms (%d rays hit)\n", picks * 1e3, hits);
      PrintEntitySteps(&engine);
      MeasureEffectItems(&engine);
      result = 0;
    }
  }
  ShutdownFramework();
  return result;
}
