// A Direct3D 9 device on a hidden window, shared by the tests of one suite.
#pragma once

#include "core/Platform.h"

#include <d3d9.h>
#include <gtest/gtest.h>

class TestDevice {
public:
  // A HAL device with software vertex processing on a width x height popup
  // window; null when the machine has none.
  static IDirect3DDevice9* Create(int width, int height) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    s_window = CreateWindowA(kClass, "", WS_POPUP, 0, 0, width, height, nullptr, nullptr, wc.hInstance, nullptr);
    s_d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!s_window || !s_d3d) return nullptr;
    D3DPRESENT_PARAMETERS pp = {};
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.BackBufferWidth = width;
    pp.BackBufferHeight = height;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.hDeviceWindow = s_window;
    s_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, s_window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp,
                        &s_device);
    return s_device;
  }

  static void Destroy() {
    if (s_device) s_device->Release();
    if (s_d3d) s_d3d->Release();
    if (s_window) DestroyWindow(s_window);
    UnregisterClassA(kClass, GetModuleHandleA(nullptr));
    s_device = nullptr;
    s_d3d = nullptr;
    s_window = nullptr;
  }

private:
  static constexpr const char* kClass = "DataTestDeviceWindow";
  static inline HWND s_window = nullptr;
  static inline IDirect3D9* s_d3d = nullptr;
  static inline IDirect3DDevice9* s_device = nullptr;
};

// A suite whose tests share one device (s_device); each test fails at once
// without one.
class DeviceSuite : public ::testing::Test {
protected:
  static void SetUpTestSuite() { s_device = TestDevice::Create(64, 64); }
  static void TearDownTestSuite() {
    TestDevice::Destroy();
    s_device = nullptr;
  }
  void SetUp() override { ASSERT_NE(s_device, nullptr) << "no Direct3D device"; }

  static inline IDirect3DDevice9* s_device = nullptr;
};
