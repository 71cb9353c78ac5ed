#include "core/Platform.h"
#include "engine/SDx.h"

#include "window/SWnd.h"

#include <oleauto.h>
#include <wbemidl.h>
#include <wchar.h>

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>

namespace {

const ULONG kWmiBatch = 20;
const LONG kWmiTimeout = 10000;  // milliseconds
const LONG kAxisRange = 10000;

template <class T>
void Release(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

// The hexadecimal number after the prefix in the device id; 0 when absent.
unsigned NumberAfter(const wchar_t* id, const wchar_t* prefix) {
  const wchar_t* at = wcsstr(id, prefix);
  unsigned value = 0;
  if (!at || swscanf(at + wcslen(prefix), L"%4X", &value) != 1) return 0;
  return value;
}

// A plug-and-play id of an XInput pad ("IG_") with that product and vendor.
bool IsXInputId(const wchar_t* id, uint32_t productId) {
  if (!id || !wcsstr(id, L"IG_")) return false;
  uint32_t vendor = NumberAfter(id, L"VID_"), product = NumberAfter(id, L"PID_");
  return ((product << 16) | vendor) == productId;
}

BOOL CALLBACK OnDevice(const DIDEVICEINSTANCEA* instance, void* context) {
  SDx* dx = static_cast<SDx*>(context);
  IDirectInputDevice8A* device = nullptr;
  if (FAILED(dx->m_directInput->CreateDevice(instance->guidInstance, &device, nullptr)) ||
      !device) {
    return DIENUM_CONTINUE;
  }
  dx->m_padDevice = device;
  if (SDx::IsXInputDevice(instance->guidProduct.Data1)) {
    dx->m_xinput = true;
    dx->SetRumble(0.0f, 0.0f, 0.0f);
  }
  return DIENUM_STOP;
}

BOOL CALLBACK OnAxis(const DIDEVICEOBJECTINSTANCEA* object, void* context) {
  SDx* dx = static_cast<SDx*>(context);
  DIPROPRANGE range;
  range.diph.dwSize = sizeof(range);
  range.diph.dwHeaderSize = sizeof(range.diph);
  range.diph.dwHow = DIPH_BYID;
  range.diph.dwObj = object->dwType;
  range.lMin = -kAxisRange;
  range.lMax = kAxisRange;
  if (FAILED(dx->m_padDevice->SetProperty(DIPROP_RANGE, &range.diph))) return DIENUM_STOP;
  ++dx->m_padAxes;
  return DIENUM_CONTINUE;
}

}  // namespace

void SDx::CreateInput() {
  m_xinput = false;
  m_padAxes = 0;
  m_directInput = nullptr;
  m_padDevice = nullptr;
  if (FAILED(::DirectInput8Create(::GetModuleHandleA(nullptr), DIRECTINPUT_VERSION,
                                  IID_IDirectInput8A, reinterpret_cast<void**>(&m_directInput),
                                  nullptr)) ||
      !m_directInput) {
    m_directInput = nullptr;
    return;
  }
  if (FAILED(
          m_directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, OnDevice, this, DIEDFL_ATTACHEDONLY)) ||
      !m_padDevice || m_xinput) {
    ReleaseInput();
    return;
  }
  DIDEVCAPS caps;
  caps.dwSize = sizeof(caps);
  HWND window = m_window ? m_window->m_hWnd : nullptr;
  if (FAILED(m_padDevice->SetDataFormat(&c_dfDIJoystick2)) ||
      FAILED(m_padDevice->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_FOREGROUND)) ||
      FAILED(m_padDevice->GetCapabilities(&caps)) ||
      FAILED(m_padDevice->EnumObjects(OnAxis, this, DIDFT_AXIS))) {
    ReleaseInput();
  }
}

void SDx::ReleaseInput() {
  if (m_padDevice) m_padDevice->Unacquire();
  Release(m_padDevice);
  Release(m_directInput);
}

void SDx::PollDirectInput() {
  if (!m_padDevice || m_padAxes < 2) return;
  if (FAILED(m_padDevice->Poll())) {
    HRESULT hr = m_padDevice->Acquire();
    while (hr == DIERR_INPUTLOST) hr = m_padDevice->Acquire();
    if (hr == DIERR_INVALIDPARAM || hr == DIERR_NOTINITIALIZED || hr == DIERR_OTHERAPPHASPRIO) {
      ResetPadState();
      return;
    }
  }
  DIJOYSTATE2 state;
  if (FAILED(m_padDevice->GetDeviceState(sizeof(state), &state))) {
    ResetPadState();
    return;
  }
  ReadDirectInputState(&state);
}

bool SDx::IsXInputDevice(uint32_t productId) {
  IWbemLocator* locator = nullptr;
  IWbemServices* services = nullptr;
  IEnumWbemClassObject* devices = nullptr;
  BSTR space = ::SysAllocString(L"\\\\.\\root\\cimv2");
  BSTR className = ::SysAllocString(L"Win32_PNPEntity");
  BSTR property = ::SysAllocString(L"DeviceID");
  bool found = false;
  if (space && className && property &&
      SUCCEEDED(::CoCreateInstance(__uuidof(WbemLocator), nullptr, CLSCTX_INPROC_SERVER,
                                   __uuidof(IWbemLocator), reinterpret_cast<void**>(&locator))) &&
      SUCCEEDED(locator->ConnectServer(space, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                       &services)) &&
      SUCCEEDED(::CoSetProxyBlanket(services, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                    RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                                    EOAC_NONE)) &&
      SUCCEEDED(services->CreateInstanceEnum(className, 0, nullptr, &devices))) {
    // All entities, filtered here: a query filter is not answered everywhere.
    IWbemClassObject* objects[kWmiBatch];
    ULONG returned = 0;
    while (!found && SUCCEEDED(devices->Next(kWmiTimeout, kWmiBatch, objects, &returned)) &&
           returned > 0) {
      for (ULONG i = 0; i < returned && i < kWmiBatch; ++i) {
        VARIANT value;
        ::VariantInit(&value);
        if (!found && SUCCEEDED(objects[i]->Get(property, 0, &value, nullptr, nullptr)) &&
            value.vt == VT_BSTR) {
          found = IsXInputId(value.bstrVal, productId);
        }
        ::VariantClear(&value);
        objects[i]->Release();
      }
    }
  }
  Release(devices);
  Release(services);
  Release(locator);
  ::SysFreeString(space);
  ::SysFreeString(className);
  ::SysFreeString(property);
  return found;
}
