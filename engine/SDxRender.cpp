// The frame's drawing.
#include "core/Platform.h"
#include "engine/SDx.h"

bool SDx::Render() {
  if (!m_device) return true;
  if (FAILED(m_device->BeginScene())) return true;
  IDirect3DSurface9* backBuffer = nullptr;
  if (SUCCEEDED(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) &&
      backBuffer) {
    m_device->SetRenderTarget(0, backBuffer);
    backBuffer->Release();
  }
  m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  m_device->EndScene();
  HRESULT hr =
      Seam(D3DCALL_PRESENT, m_device->Present(nullptr, nullptr, nullptr, nullptr), nullptr);
  return hr != D3DERR_DEVICELOST;
}
