// The engine's frame at 800 x 450 on this machine: one full lit frame
// (G-buffer of a small scene, 8 deferred lights, fog, the glow and beam blur
// chains, the final copy and Present), the frame step on its own, one layer
// update with 2,000 moving depth-sorted items, 1,000 ray picks against
// 200 boxes, and the entity step (EntityStep.cpp).
#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxLayer.h"
#include "engine/SDxObject.h"
#include "engine/SDxShader.h"
#include "engine/SDxShaderDeferred.h"
#include "engine/SDxShaderGBuffer.h"
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

IDirect3DVertexBuffer9* MakeBuffer(IDirect3DDevice9* device,
                                   const std::vector<SDxVertex>& vertices) {
  IDirect3DVertexBuffer9* buffer = nullptr;
  UINT size = (UINT)(vertices.size() * sizeof(SDxVertex));
  if (FAILED(device->CreateVertexBuffer(size, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &buffer,
                                        nullptr))) {
    return nullptr;
  }
  void* data = nullptr;
  if (SUCCEEDED(buffer->Lock(0, 0, &data, 0))) {
    memcpy(data, vertices.data(), size);
    buffer->Unlock();
  }
  return buffer;
}

struct Scene {
  IDirect3DVertexBuffer9* box = nullptr;
  IDirect3DVertexBuffer9* volume = nullptr;
  std::vector<D3DXMATRIX> worlds;
  std::vector<D3DXVECTOR3> lights;
};

void SetVector(SDxEffect* effect, SDxEffect::Handle handle, float x, float y, float z, float w) {
  D3DXVECTOR4 v(x, y, z, w);
  effect->SetVector(handle, &v);
}

void DrawFrame(SDx* dx, const Scene& scene) {
  IDirect3DDevice9* device = dx->m_device;
  device->BeginScene();
  IDirect3DSurface9* backBuffer = nullptr;
  device->GetRenderTarget(0, &backBuffer);

  // G-buffer with the directional light.
  SDxShaderGBuffer* gbuffer = dx->m_shaderGBuffer;
  gbuffer->SetFrameParameters();
  device->SetRenderTarget(0, dx->m_colorRT.surface);
  device->SetRenderTarget(1, dx->m_normalRT.surface);
  device->SetRenderTarget(2, dx->m_infoRT.surface);
  device->SetRenderTarget(3, dx->m_mainA.surface);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  device->SetVertexDeclaration(dx->m_vertexDeclaration);
  device->SetStreamSource(0, scene.box, 0, sizeof(SDxVertex));
  UINT passes = 0;
  gbuffer->m_effect->Begin(&passes);
  gbuffer->m_effect->BeginPass(0);
  for (size_t i = 0; i < scene.worlds.size(); ++i) {
    gbuffer->SetWorld(scene.worlds[i], (int)i + 1);
    float shade = 0.4f + 0.5f * (float)(i % 3) / 2.0f;
    SetVector(gbuffer->m_effect, gbuffer->m_ambientColor, shade, 0.5f, 1.0f - shade, 1.0f);
    gbuffer->m_effect->CommitChanges();
    device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 12);
  }
  gbuffer->m_effect->EndPass();
  gbuffer->m_effect->End();
  for (DWORD i = 3; i >= 1; --i) device->SetRenderTarget(i, nullptr);
  device->SetRenderTarget(0, dx->m_mainA.surface);

  // Deferred lights, added onto main A.
  SDxShaderDeferred* deferred = dx->m_shaderDeferred;
  deferred->SetFrameParameters();
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  device->SetStreamSource(0, scene.volume, 0, sizeof(SDxVertex));
  deferred->m_effect->SetTexture(deferred->m_colorTexture, dx->m_colorRT.texture);
  deferred->m_effect->SetTexture(deferred->m_normalTexture, dx->m_normalRT.texture);
  deferred->m_effect->SetTexture(deferred->m_infoTexture, dx->m_infoRT.texture);
  deferred->m_effect->Begin(&passes);
  deferred->m_effect->BeginPass(0);
  for (size_t i = 0; i < scene.lights.size(); ++i) {
    D3DXVECTOR3 color(i % 2 ? 1.0f : 0.4f, 0.7f, i % 3 ? 0.3f : 1.0f);
    deferred->DrawLight(scene.lights[i], 4.0f, color, 4.0f, 0, 12);
  }
  deferred->m_effect->EndPass();
  deferred->m_effect->End();
  dx->SetDefaultRenderStates();

  // Fog into main B.
  dx->m_shaderFog->m_effect->SetTexture(dx->m_shaderFog->m_normalTexture, dx->m_normalRT.texture);
  dx->m_currentTarget = &dx->m_mainA;
  dx->SetRenderTarget(&dx->m_mainB);
  dx->DrawScreenQuad(dx->m_shaderFog, 0, true);

  // Glow: down-sample, blur at a quarter of the size, add.
  dx->SetRenderTarget(&dx->m_quarterA);
  dx->DrawScreenQuad(dx->m_shaderDownSample, 0, true);
  dx->SetRenderTarget(&dx->m_quarterB);
  dx->m_shaderBlurH->m_effect->SetFloat(dx->m_blurHWidth, (float)(dx->m_backBufferWidth / 4));
  dx->DrawScreenQuad(dx->m_shaderBlurH, 0, true);
  dx->SetRenderTarget(&dx->m_quarterA);
  dx->m_shaderBlurV->m_effect->SetFloat(dx->m_blurVHeight, (float)(dx->m_backBufferHeight / 4));
  dx->DrawScreenQuad(dx->m_shaderBlurV, 0, true);
  dx->SetRenderTarget(&dx->m_mainB);
  dx->DrawScreenQuad(nullptr, 2, false);

  // Beams: blur at full size.
  dx->SetRenderTarget(&dx->m_mainA);
  dx->m_shaderBlurH->m_effect->SetFloat(dx->m_blurHWidth, (float)dx->m_backBufferWidth);
  dx->DrawScreenQuad(dx->m_shaderBlurH, 0, true);
  dx->SetRenderTarget(&dx->m_mainB);
  dx->m_shaderBlurV->m_effect->SetFloat(dx->m_blurVHeight, (float)dx->m_backBufferHeight);
  dx->DrawScreenQuad(dx->m_shaderBlurV, 0, true);

  // Final copy through the output quad, then Present.
  device->SetTexture(0, dx->m_mainB.texture);
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
  bool Pick(SDxPickQuery* query) override {
    return PickTriangles(query, m_vertices->data(), 12);
  }
  const std::vector<SDxVertex>* m_vertices;
};

// A fixed sequence in [-range / 2, range / 2], the same on every run.
float Random(float range) {
  static uint32_t state = 12345;
  state = state * 1664525u + 1013904223u;
  return range * ((float)(state >> 8) / 16777216.0f - 0.5f);
}

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

}  // namespace

void PrintEntitySteps(SDx* engine);

int main() {
  StartupFramework(::GetModuleHandleA(nullptr), SW_SHOWNORMAL, STARTUP_WINSOCK | STARTUP_XAUDIO2);
  int result = 1;
  {
    SWnd window;
    window.Create("engine bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SDx engine;
    SDxConfig config;
    SString error;
    if (!engine.Create(&window, &config, &error)) {
      printf("engine_bench: SDx::Create failed: %s\n", error.GetText());
    } else {
      IDirect3DDevice9* device = engine.m_device;
      Scene scene;
      scene.box = MakeBuffer(device, MakeBox(false));
      scene.volume = MakeBuffer(device, MakeBox(true));
      D3DXMATRIX world, scale, move;
      for (int i = 0; i < 16; ++i) {
        float a = 6.2831855f * (float)i / 16.0f;
        D3DXMatrixScaling(&scale, 1.5f, 1.5f, 1.5f);
        D3DXMatrixTranslation(&move, 6.0f * cosf(a), 0.0f, 6.0f * sinf(a) + 4.0f);
        world = scale * move;
        scene.worlds.push_back(world);
      }
      D3DXMatrixScaling(&scale, 40.0f, 0.2f, 40.0f);
      D3DXMatrixTranslation(&move, 0.0f, -1.0f, 4.0f);
      scene.worlds.push_back(scale * move);
      for (int i = 0; i < 8; ++i) {
        float a = 6.2831855f * (float)i / 8.0f;
        scene.lights.push_back(D3DXVECTOR3(4.5f * cosf(a), 0.5f, 4.5f * sinf(a) + 4.0f));
      }
      D3DXMATRIX view, projection;
      D3DXVECTOR3 eye(0.0f, 4.0f, -10.0f), at(0.0f, 0.0f, 4.0f), up(0.0f, 1.0f, 0.0f);
      D3DXMatrixLookAtLH(&view, &eye, &at, &up);
      D3DXMatrixPerspectiveFovLH(&projection, 1.0f, config.aspect, 1.0f, 65535.0f);
      engine.SetViewProjection(view, projection);
      engine.m_lightColor = D3DXCOLOR(0.6f, 0.6f, 0.6f, 1.0f);
      engine.m_worldAmbient = D3DXCOLOR(0.3f, 0.3f, 0.3f, 1.0f);
      engine.SetFog(5.0f, 40.0f);

      const int kWarmUp = 20, kFrames = 300;
      for (int i = 0; i < kWarmUp; ++i) DrawFrame(&engine, scene);
      Finish(device);
      int64_t start = Ticks();
      for (int i = 0; i < kFrames; ++i) DrawFrame(&engine, scene);
      Finish(device);
      double frame = Seconds(Ticks() - start) / kFrames;

      // The frame step alone: with the frame limit off every call is a
      // frame, and without a device the render returns at once.
      g_engine = &engine;
      engine.GetConfig()->frameLimit = 0;
      engine.AddTimer(1, 1.0e6f);
      IDirect3DDevice9* kept = engine.m_device;
      engine.m_device = nullptr;
      const int kSteps = 200000;
      start = Ticks();
      for (int i = 0; i < kSteps; ++i) SDx::Frame();
      double step = Seconds(Ticks() - start) / kSteps;
      engine.m_device = kept;
      g_engine = nullptr;

      std::vector<SDxVertex> box = MakeBox(false);
      double update = MeasureLayerUpdate(&engine, &box);
      int hits = 0;
      double picks = MeasurePicks(&engine, &box, &hits);

      printf("engine_bench at %d x %d\n", engine.m_backBufferWidth, engine.m_backBufferHeight);
      printf(
          "  full frame (G-buffer of %d boxes, %d deferred lights, fog, glow and beam blurs, "
          "present): "
          "%.3f ms (%d frames)\n",
          (int)scene.worlds.size(), (int)scene.lights.size(), frame * 1e3, kFrames);
      printf("  frame step without rendering: %.3f us (%d steps)\n", step * 1e6, kSteps);
      printf("  layer update with 2000 moving depth-sorted items: %.3f ms\n", update * 1e3);
      printf("  1000 picks against 200 boxes: %.3f ms (%d rays hit)\n", picks * 1e3, hits);
      PrintEntitySteps(&engine);
      scene.box->Release();
      scene.volume->Release();
      result = 0;
    }
  }
  ShutdownFramework();
  return result;
}
