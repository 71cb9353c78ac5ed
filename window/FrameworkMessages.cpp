// The mouse record of the controls' mouse notifications.
#include "core/Platform.h"
#include "window/FrameworkMessages.h"

namespace {

struct MouseCode {
  UINT message;
  uint32_t flags;
};

const MouseCode kMouseCodes[] = {
    {WM_LBUTTONDOWN, MOUSE_LEFT | MOUSE_DOWN},       // 9
    {WM_LBUTTONUP, MOUSE_LEFT | MOUSE_UP},           // 17
    {WM_LBUTTONDBLCLK, MOUSE_LEFT | MOUSE_DOUBLE},   // 65
    {WM_RBUTTONDOWN, MOUSE_RIGHT | MOUSE_DOWN},      // 12
    {WM_RBUTTONUP, MOUSE_RIGHT | MOUSE_UP},          // 20
    {WM_RBUTTONDBLCLK, MOUSE_RIGHT | MOUSE_DOUBLE},  // 68
    {WM_MBUTTONDOWN, MOUSE_MIDDLE | MOUSE_DOWN},     // 10
    {WM_MBUTTONUP, MOUSE_MIDDLE | MOUSE_UP},         // 18
    {WM_MBUTTONDBLCLK, MOUSE_MIDDLE | MOUSE_DOUBLE}, // 66
    {SWM_LCLICK, MOUSE_LEFT | MOUSE_CLICK},          // 33
    {SWM_MCLICK, MOUSE_MIDDLE | MOUSE_CLICK},        // 34
    {SWM_RCLICK, MOUSE_RIGHT | MOUSE_CLICK},         // 36
};

}  // namespace

uint32_t GetMouseRecordFlags(UINT message) {
  for (const MouseCode& code : kMouseCodes) {
    if (code.message == message) return code.flags;
  }
  return 0;
}

bool MakeMouseRecord(HWND hWnd, UINT message, LPARAM lParam, MOUSERECORD* record) {
  uint32_t flags = GetMouseRecordFlags(message);
  if (!flags || !record) return false;
  POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  record->flags = flags;
  record->x = point.x;
  record->y = point.y;
  ::ClientToScreen(hWnd, &point);
  record->screenX = point.x;
  record->screenY = point.y;
  return true;
}
