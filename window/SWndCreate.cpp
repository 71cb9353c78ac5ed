// SWnd: the creation wrappers of the dialog builder.
#include "core/Platform.h"
#include "window/SWnd.h"

#include "window/Framework.h"

namespace {

DWORD ChildStyle(DWORD style) {
  return (style & WS_POPUP) ? style : style | WS_CHILD;
}

HMENU IdParam(int id) {
  return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

}  // namespace

bool SWnd::CreateChild(const char* caption, DWORD style, const RECT* rect, HWND parent, int id,
                       DWORD exStyle) {
  return Create(caption ? caption : "", ChildStyle(style), exStyle, rect, parent, IdParam(id),
                nullptr, GetInstanceHandle());
}

bool SWnd::CreateChildNoText(DWORD style, const RECT* rect, HWND parent, int id, DWORD exStyle) {
  return CreateChild("", style, rect, parent, id, exStyle);
}

bool SWnd::CreateTreeView(DWORD style, const RECT* rect, HWND parent, int id, DWORD exStyle) {
  return CreateControl(WC_TREEVIEWA, "", ChildStyle(style), exStyle, rect, parent, IdParam(id),
                       nullptr, GetInstanceHandle());
}

bool SWnd::CreateStatic(DWORD style, const RECT* rect, HWND parent, int id, DWORD exStyle) {
  return CreateControl("STATIC", "", ChildStyle(style), exStyle, rect, parent, IdParam(id),
                       nullptr, GetInstanceHandle());
}
