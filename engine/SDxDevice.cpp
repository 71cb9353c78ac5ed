// The device, its default-pool objects and the fitting of the picture into
// the window.
#include "core/Platform.h"
#include "engine/SDx.h"

#include "engine/SDxShader.h"
#include "engine/SDxShaderDefault.h"
#include "engine/SDxShaderDeferred.h"
#include "engine/SDxShaderGBuffer.h"
#include "window/SWnd.h"

#include <algorithm>
#include <stdint.h>
#include <math.h>

namespace {

// Depth formats in the order they are tried.
const D3DFORMAT kDepthFormats[] = {D3DFMT_D24FS8, D3DFMT_D24S8, D3DFMT_D24X4S4,
                                   D3DFMT_D24X8,  D3DFMT_D15S1, D3DFMT_D16};

// The capability checks after GetDeviceCaps, in order, with their texts.
struct CapsCheck {
  bool (*passes)(const D3DCAPS9& caps);
  const char* failure;
};

const CapsCheck kCapsChecks[] = {
    {[](const D3DCAPS9& c) { return (c.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0; },
     "HWTRANSFORMANDLIGHT not supported"},
    {[](const D3DCAPS9& c) { return c.NumSimultaneousRTs >= 4; }, "MRT not supported"},
    {[](const D3DCAPS9& c) {
       return c.VertexShaderVersion >= 0xFFFE0300 && c.PixelShaderVersion >= 0xFFFF0300;
     },
     "Shader Model v3.0 not supported"},
};

template <class T>
void ReleaseInterface(T** p) {
  if (*p) (*p)->Release();
  *p = nullptr;
}

void ReleaseTarget(SDxRenderTarget* target) {
  ReleaseInterface(&target->surface);
  ReleaseInterface(&target->texture);
  target->quarter = false;
}

template <class T>
void DeleteShader(T** p) {
  delete *p;
  *p = nullptr;
}

}  // namespace

bool SDx::CreateDevice(SString* error) {
  // One device per engine: a second one would leave the first unreleased.
  if (m_device || m_d3d) return false;
  IDirect3D9* d3d = nullptr;
  auto fail = [&](const char* text) {
    if (error) error->Set(text);
    if (d3d) d3d->Release();
    return false;
  };
  d3d = ::Direct3DCreate9(D3D_SDK_VERSION);
  if (FAILED(Seam(D3DCALL_CREATE, d3d ? S_OK : E_FAIL, nullptr)) || !d3d)
    return fail("Cannot create IDirect3D9");
  D3DDISPLAYMODE mode;
  memset(&mode, 0, sizeof(mode));
  if (FAILED(Seam(D3DCALL_DISPLAY_MODE, d3d->GetAdapterDisplayMode(0, &mode), &mode))) {
    return fail("Cannot get adapter display mode");
  }
  memset(&m_caps, 0, sizeof(m_caps));
  if (FAILED(Seam(D3DCALL_CAPS, d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &m_caps), &m_caps))) {
    return fail("HAL not supported");
  }
  for (const CapsCheck& check : kCapsChecks) {
    if (!check.passes(m_caps)) return fail(check.failure);
  }
  m_maxPointSize = m_caps.MaxPointSize;
  DWORD flags = D3DCREATE_HARDWARE_VERTEXPROCESSING;
  if (m_caps.DevCaps & D3DDEVCAPS_PUREDEVICE) flags |= D3DCREATE_PUREDEVICE;

  HWND hWnd = m_window ? m_window->m_hWnd : nullptr;
  D3DPRESENT_PARAMETERS& pp = m_presentParameters;
  memset(&pp, 0, sizeof(pp));
  pp.BackBufferWidth = (UINT)m_backBufferWidth;
  pp.BackBufferHeight = (UINT)m_backBufferHeight;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  pp.BackBufferCount = 1;
  pp.MultiSampleType = D3DMULTISAMPLE_NONE;
  pp.MultiSampleQuality = 0;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.hDeviceWindow = hWnd;
  pp.Windowed = m_config.fullScreen ? FALSE : TRUE;
  pp.FullScreen_RefreshRateInHz = m_config.fullScreen ? mode.RefreshRate : 0;
  pp.EnableAutoDepthStencil = TRUE;
  pp.Flags = 0;
  pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;

  bool depthFound = false;
  for (D3DFORMAT format : kDepthFormats) {
    HRESULT hr =
        d3d->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, format);
    if (SUCCEEDED(Seam(D3DCALL_DEPTH_MATCH, hr, &format))) {
      pp.AutoDepthStencilFormat = format;
      depthFound = true;
      break;
    }
  }
  if (!depthFound) return fail("Cannot create Depth Stencil Format surface");

  m_device = nullptr;
  HRESULT hr = d3d->CreateDevice(0, D3DDEVTYPE_HAL, hWnd, flags, &pp, &m_device);
  if (FAILED(Seam(D3DCALL_CREATE_DEVICE, hr, nullptr)) || !m_device) {
    ReleaseInterface(&m_device);
    return fail("Cannot create DirectX Device");
  }
  m_d3d = d3d;
  if (!CreateRenderTargets(error)) {
    Destroy();
    return false;
  }
  return true;
}

bool SDx::CreateTargetTexture(SDxRenderTarget* target, D3DFORMAT format, bool quarter,
                              SDxRenderTarget* partner) {
  if (!m_device || !target) return false;
  int width = quarter ? m_backBufferWidth >> 2 : m_backBufferWidth;
  int height = quarter ? m_backBufferHeight >> 2 : m_backBufferHeight;
  ReleaseTarget(target);
  if (width <= 0 || height <= 0) return false;
  IDirect3DTexture9* texture = nullptr;
  HRESULT hr = m_device->CreateTexture((UINT)width, (UINT)height, 1, D3DUSAGE_RENDERTARGET, format,
                                       D3DPOOL_DEFAULT, &texture, nullptr);
  if (FAILED(hr)) texture = nullptr;
  if (FAILED(Seam(D3DCALL_CREATE_TARGET, hr, target)) || !texture) {
    if (texture) texture->Release();
    return false;
  }
  target->texture = texture;
  if (FAILED(target->texture->GetSurfaceLevel(0, &target->surface))) {
    target->surface = nullptr;
    ReleaseTarget(target);
    return false;
  }
  target->quarter = quarter;
  target->partner = partner;
  return true;
}

namespace {

// A write-only vertex buffer of the four corners of a strip.
bool CreateQuad(IDirect3DDevice9* device, IDirect3DVertexBuffer9** buffer, float left, float top,
                float right, float bottom) {
  const SDx::_SScreenVertex corners[4] = {
      {left, top, 1.0f, 1.0f, 0.0f, 0.0f},
      {right, top, 1.0f, 1.0f, 1.0f, 0.0f},
      {left, bottom, 1.0f, 1.0f, 0.0f, 1.0f},
      {right, bottom, 1.0f, 1.0f, 1.0f, 1.0f},
  };
  *buffer = nullptr;
  if (FAILED(device->CreateVertexBuffer(sizeof(corners), D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT,
                                        buffer, nullptr))) {
    *buffer = nullptr;
    return false;
  }
  void* data = nullptr;
  if (FAILED((*buffer)->Lock(0, 0, &data, 0)) || !data) {
    ReleaseInterface(buffer);
    return false;
  }
  memcpy(data, corners, sizeof(corners));
  (*buffer)->Unlock();
  return true;
}

const D3DVERTEXELEMENT9 kScreenVertex[] = {
    {0, 0, D3DDECLTYPE_FLOAT4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITIONT, 0},
    {0, 16, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END()};

}  // namespace

bool SDx::CreateRenderTargets(SString* error) {
  auto fail = [&](const char* text) {
    if (error && text) error->Set(text);
    ReleaseRenderTargets();
    return false;
  };
  if (!m_device) return fail(nullptr);
  // A second call makes everything again: what the first made goes first.
  ReleaseRenderTargets();
  D3DFORMAT format = m_presentParameters.BackBufferFormat;
  if (FAILED(
          m_device->CreateVertexDeclaration(SDxVertex::GetDeclaration(), &m_vertexDeclaration))) {
    m_vertexDeclaration = nullptr;
    return fail(nullptr);
  }
  if (!CreateTargetTexture(&m_mainA, format, false, &m_mainB) ||
      !CreateTargetTexture(&m_mainB, format, false, &m_mainA) ||
      !CreateTargetTexture(&m_quarterA, format, true, &m_quarterB) ||
      !CreateTargetTexture(&m_quarterB, format, true, &m_quarterA)) {
    return fail("Cannot create RT");
  }
  const struct {
    SDxRenderTarget* target;
    D3DFORMAT format;
    const char* failure;
  } singles[] = {
      {&m_previousRT, format, "Cannot create PreviousRT"},
      {&m_colorRT, format, "Cannot create ColorRT"},
      {&m_normalRT, D3DFMT_A16B16G16R16F, "Cannot create NormalRT"},
      {&m_infoRT, D3DFMT_X8R8G8B8, "Cannot create InfoRT"},
      {&m_beamRT, format, "Cannot create BeamRT"},
      {&m_beamRT2, format, "Cannot create BeamRT"},
  };
  for (const auto& single : singles) {
    if (!CreateTargetTexture(single.target, single.format, false, nullptr))
      return fail(single.failure);
  }

  if (FAILED(m_device->CreateVertexDeclaration(kScreenVertex, &m_screenDeclaration))) {
    m_screenDeclaration = nullptr;
    return fail(nullptr);
  }
  float w = (float)m_backBufferWidth, h = (float)m_backBufferHeight;
  float qw = (float)(m_backBufferWidth >> 2), qh = (float)(m_backBufferHeight >> 2);
  if (!CreateQuad(m_device, &m_fullQuad, -0.5f, -0.5f, w - 0.5f, h - 0.5f) ||
      !CreateQuad(m_device, &m_quarterQuad, -0.5f, -0.5f, qw - 0.5f, qh - 0.5f)) {
    return fail(nullptr);
  }
  if (FAILED(D3DXCreateSprite(m_device, &m_sprite)) || !m_sprite) {
    m_sprite = nullptr;
    return fail(nullptr);
  }

  m_shaderDefault = new SDxShaderDefault(this);
  m_shaderGBuffer = new SDxShaderGBuffer(this);
  m_shaderDeferred = new SDxShaderDeferred(this);
  m_shaderFog = new SDxShader(this);
  m_shaderDownSample = new SDxShader(this);
  m_shaderBlurH = new SDxShader(this);
  m_shaderBlurV = new SDxShader(this);
  // Each result through the seam; the first failure stops the sequence.
  auto compiled = [](SDxShader* shader, bool ok) {
    return SUCCEEDED(Seam(D3DCALL_CREATE_EFFECT, ok ? S_OK : E_FAIL, shader));
  };
  if (!compiled(m_shaderDefault, m_shaderDefault->Create(SDxShader::TEXT_DEFAULT, true)) ||
      !compiled(m_shaderGBuffer, m_shaderGBuffer->Create(SDxShader::TEXT_GBUFFER, true)) ||
      !compiled(m_shaderDeferred, m_shaderDeferred->Create(SDxShader::TEXT_DEFERRED, true)) ||
      !compiled(m_shaderFog, m_shaderFog->Create(SDxShader::TEXT_FOG, true)) ||
      !compiled(m_shaderDownSample, m_shaderDownSample->Create(SDxShader::TEXT_DOWNSAMPLE, true)) ||
      !compiled(m_shaderBlurH, m_shaderBlurH->Create(SDxShader::TEXT_BLUR_HORIZONTAL, true)) ||
      !compiled(m_shaderBlurV, m_shaderBlurV->Create(SDxShader::TEXT_BLUR_VERTICAL, true))) {
    return fail("Cannot create Shaders");
  }
  m_blurHScale = m_shaderBlurH->GetParameter("g_scale");
  m_blurHWidth = m_shaderBlurH->GetParameter("g_width");
  m_blurVScale = m_shaderBlurV->GetParameter("g_scale");
  m_blurVHeight = m_shaderBlurV->GetParameter("g_height");

  SetDefaultRenderStates();
  OnSize();
  return true;
}

void SDx::ReleaseRenderTargets() {
  SetDefaultRenderStates();
  if (m_device) {
    // The device's own references to the targets go first, so that every
    // default-pool object is really freed before a reset.
    for (DWORD stage = 0; stage < 8; ++stage) m_device->SetTexture(stage, nullptr);
    for (DWORD i = 1; i < 4; ++i) m_device->SetRenderTarget(i, nullptr);
    IDirect3DSurface9* backBuffer = nullptr;
    if (SUCCEEDED(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) &&
        backBuffer) {
      m_device->SetRenderTarget(0, backBuffer);
      backBuffer->Release();
    }
    m_device->SetStreamSource(0, nullptr, 0, 0);
    m_device->SetVertexShader(nullptr);
    m_device->SetPixelShader(nullptr);
  }
  DeleteShader(&m_shaderDefault);
  DeleteShader(&m_shaderGBuffer);
  DeleteShader(&m_shaderDeferred);
  DeleteShader(&m_shaderFog);
  DeleteShader(&m_shaderDownSample);
  DeleteShader(&m_shaderBlurH);
  DeleteShader(&m_shaderBlurV);
  m_blurHWidth = m_blurHScale = m_blurVHeight = m_blurVScale = nullptr;
  ReleaseInterface(&m_sprite);
  ReleaseInterface(&m_outputDeclaration);
  ReleaseInterface(&m_outputQuad);
  SDxRenderTarget* targets[] = {&m_mainA,  &m_mainB,   &m_quarterA, &m_quarterB, &m_previousRT,
                                &m_colorRT, &m_normalRT, &m_infoRT,   &m_beamRT,   &m_beamRT2};
  for (SDxRenderTarget* target : targets) ReleaseTarget(target);
  ReleaseInterface(&m_vertexDeclaration);
  ReleaseInterface(&m_screenDeclaration);
  ReleaseInterface(&m_fullQuad);
  ReleaseInterface(&m_quarterQuad);
}

namespace {

// n / aspect and n x aspect truncated toward zero, computed exactly in
// integers: Direct3D may have set the FPU to single precision, which rounds
// 1280 / 1.7777778f up to 720 where the exact quotient gives 719.
int TruncatedQuotient(int n, float aspect) {
  int exponent = 0;
  float fraction = frexpf(aspect, &exponent);  // aspect = fraction x 2^exponent
  int64_t mantissa = (int64_t)ldexpf(fraction, 24);
  int shift = 24 - exponent;
  if (mantissa <= 0 || shift < 0 || shift > 30) return n;
  return (int)(((int64_t)n << shift) / mantissa);
}

int TruncatedProduct(int n, float aspect) {
  int exponent = 0;
  float fraction = frexpf(aspect, &exponent);
  int64_t mantissa = (int64_t)ldexpf(fraction, 24);
  int shift = 24 - exponent;
  if (mantissa <= 0 || shift < 0 || shift > 60) return n;
  return (int)(((int64_t)n * mantissa) >> shift);
}

}  // namespace

RECT SDx::ComputeOutputRect(int clientWidth, int clientHeight, float aspect) {
  RECT rect = {0, 0, clientWidth, clientHeight};
  if (clientWidth <= 0 || clientHeight <= 0 || !(aspect > 0.0f)) return rect;
  float clientAspect = (float)clientWidth / (float)clientHeight;
  if (fabsf(aspect - clientAspect) <= 0.001f) return rect;
  if (clientAspect <= aspect) {
    int shown = std::min(clientHeight, TruncatedQuotient(clientWidth, aspect));
    rect.top = clientHeight / 2 - shown / 2;
    rect.bottom = rect.top + shown;
  } else {
    int shown = std::min(clientWidth, TruncatedProduct(clientHeight, aspect));
    rect.left = clientWidth / 2 - shown / 2;
    rect.right = rect.left + shown;
  }
  return rect;
}

void SDx::OnSize() {
  if (!m_window || !m_device) return;
  int width = 0, height = 0;
  if (m_config.fullScreen) {
    width = m_displayWidth;
    height = m_displayHeight;
  } else {
    RECT client;
    if (::GetClientRect(m_window->m_hWnd, &client)) {
      width = client.right - client.left;
      height = client.bottom - client.top;
    }
  }
  m_clientWidth = width;
  m_clientHeight = height;
  m_outputRect = ComputeOutputRect(width, height, m_config.aspect);
  // An empty client (a minimised window) keeps the output quad it had.
  if ((width <= 0 || height <= 0) && m_outputQuad) return;
  ReleaseInterface(&m_outputDeclaration);
  ReleaseInterface(&m_outputQuad);
  float w = (float)m_backBufferWidth, h = (float)m_backBufferHeight;
  float left = -0.5f, top = -0.5f, right = w - 0.5f, bottom = h - 0.5f;
  if (width > 0 && height > 0) {
    left = w * (float)m_outputRect.left / (float)width - 0.5f;
    right = w * (float)m_outputRect.right / (float)width - 0.5f;
    top = h * (float)m_outputRect.top / (float)height - 0.5f;
    bottom = h * (float)m_outputRect.bottom / (float)height - 0.5f;
  }
  if (FAILED(m_device->CreateVertexDeclaration(kScreenVertex, &m_outputDeclaration)) ||
      !CreateQuad(m_device, &m_outputQuad, left, top, right, bottom)) {
    ReleaseInterface(&m_outputDeclaration);
    ReleaseInterface(&m_outputQuad);
  }
  RefreshTexts();
}
