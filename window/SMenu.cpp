// SMenu: menu bars and popup menus whose items carry their own records.
#include "core/Platform.h"
#include "window/SMenu.h"

#include "core/PlatformGdiplus.h"
#include "core/SKeyboard.h"
#include "window/ControlKinds.h"
#include "window/Framework.h"
#include "window/SWnd.h"
#include "window/WindowPrivate.h"

namespace {

// The item image's placement inside the owner-drawn item.
const int kItemImageMode = SImage::DRAW_MIDDLERIGHT;
// Gap right of an owner-drawn image.
const int kImageGap = 4;
// Version codes from this one on mean Vista or later.
const int kVistaVersionCode = 7;

// Every record an SMenu made that is still alive, sorted by address, so that
// item data of menus made elsewhere is never taken for a record.
SArray<SMenu::_SItem*>& LiveRecords() {
  static SArray<SMenu::_SItem*> records;
  return records;
}

// Every SMenu alive, sorted by address: a submenu whose handle one of them
// holds is that menu's to destroy.
SArray<SMenu*>& LiveMenus() {
  static SArray<SMenu*> menus;
  return menus;
}

bool HeldByAnotherMenu(HMENU handle, const SMenu* self) {
  SArray<SMenu*>& menus = LiveMenus();
  for (int i = 0; i < menus.GetCount(); ++i) {
    if (menus[i] != self && menus[i]->m_hMenu == handle) return true;
  }
  return false;
}

// Owner-drawn menu items and chosen items arrive at the owner window; the
// item's menu answers them.
bool MeasureMenuItem(SWnd*, MEASUREITEMSTRUCT* measure) {
  if (measure->CtlType != ODT_MENU || !measure->itemData) return false;
  SMenu::_SItem* item = SMenu::FromItemData(measure->itemData);
  return item && item->owner && item->owner->MeasureItem(item, measure);
}

bool DrawMenuItem(SWnd*, DRAWITEMSTRUCT* draw) {
  if (draw->CtlType != ODT_MENU || !draw->itemData) return false;
  SMenu::_SItem* item = SMenu::FromItemData(draw->itemData);
  return item && item->owner && item->owner->DrawItem(item, draw);
}

bool MenuCommand(SWnd* owner, HMENU handle, int position) {
  SMenu::_SItem* item = SMenu::GetItemRecord(handle, position);
  if (!item || !item->owner) return false;
  SMenu* menu = item->owner;
  int id = menu->GetItemId(position);
  menu->OnCommand(position, id);
  owner->SendMessage(SWM_MENUCOMMAND, ToWParam(menu), id);
  return true;
}

// Menus are no window kind.
const SControlKind kMenuRow = {-1,      CUT_CLIP,     nullptr,     nullptr, nullptr,
                               MeasureMenuItem, DrawMenuItem, MenuCommand};
const bool kMenuRowRegistered = RegisterControlKind(&kMenuRow);

SMenu::_SItem* NewRecord(SMenu* owner, int id, int data, int imageIndex, bool separator) {
  SMenu::_SItem* item = new SMenu::_SItem;
  item->owner = owner;
  item->id = id;
  item->data = data;
  item->imageIndex = imageIndex < 0 ? -1 : imageIndex;
  item->bitmap = nullptr;
  item->separator = separator;
  LiveRecords().InsertSorted(item);
  return item;
}

}  // namespace

SMenu::SMenu()
    : m_imageList(nullptr),
      m_imageWidth(0),
      m_imageHeight(0),
      m_owner(nullptr),
      m_hMenu(nullptr),
      m_bar(false) {
  LiveMenus().InsertSorted(this);
}

SMenu::~SMenu() {
  DestroyHandle();
  LiveMenus().RemoveSortedValue(this);
}

void SMenu::DestroyHandle() {
  if (!m_hMenu) return;
  RemoveAll();
  // What is left goes with the menu, except the submenus of other menus.
  for (int i = ::GetMenuItemCount(m_hMenu) - 1; i >= 0; --i) {
    HMENU submenu = ::GetSubMenu(m_hMenu, i);
    if (submenu && HeldByAnotherMenu(submenu, this)) ::RemoveMenu(m_hMenu, i, MF_BYPOSITION);
  }
  ::DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
}

void SMenu::FreeRecord(_SItem* item) {
  if (!item) return;
  LiveRecords().RemoveSortedValue(item);
  if (item->bitmap) ::DeleteObject(item->bitmap);
  delete item;
}

SMenu::_SItem* SMenu::GetItemRecord(HMENU menu, int position) {
  if (!menu || position < 0) return nullptr;
  MENUITEMINFOA info;
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = MIIM_DATA;
  if (!::GetMenuItemInfoA(menu, position, TRUE, &info)) return nullptr;
  return FromItemData(info.dwItemData);
}

SMenu::_SItem* SMenu::FromItemData(ULONG_PTR data) {
  _SItem* item = reinterpret_cast<_SItem*>(data);
  return item && LiveRecords().FindSorted(item) >= 0 ? item : nullptr;
}

// ---------------------------------------------------------------------------
// Owner drawing and commands

bool SMenu::MeasureItem(_SItem* item, MEASUREITEMSTRUCT* measure) {
  if (!item || !measure || item->imageIndex == -1) return false;
  int menuHeight = ::GetSystemMetrics(SM_CYMENU);
  measure->itemWidth = m_imageWidth + kImageGap;
  measure->itemHeight = menuHeight > m_imageHeight ? menuHeight : m_imageHeight;
  return true;
}

bool SMenu::DrawItem(_SItem* item, DRAWITEMSTRUCT* draw) {
  if (!item || !draw || item->imageIndex == -1) return false;
  Gdiplus::Graphics graphics(draw->hDC);
  const RECT& r = draw->rcItem;
  Gdiplus::Rect dest(r.left, r.top, r.right - r.left - kImageGap, r.bottom - r.top);
  item->image.DrawInRect(&graphics, &dest, nullptr);
  return true;
}

void SMenu::OnCommand(int, int) {}

// ---------------------------------------------------------------------------
// Creation and items

bool SMenu::CreateBar(HWND owner) { return Create(owner, true); }

bool SMenu::CreatePopup(HWND owner) { return Create(owner, false); }

bool SMenu::Create(HWND owner, bool bar) {
  DestroyHandle();
  HMENU menu = bar ? ::CreateMenu() : ::CreatePopupMenu();
  if (!menu) return false;
  m_owner = owner;
  m_hMenu = menu;
  m_bar = bar;
  MENUINFO info;
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = MIM_STYLE;
  info.dwStyle = MNS_NOTIFYBYPOS;
  ::SetMenuInfo(menu, &info);
  return true;
}

bool SMenu::AddItem(int id, const char* text, int imageIndex, int data, bool checked,
                    bool disabled) {
  return InsertItem(id, nullptr, text, imageIndex, data, checked, disabled);
}

bool SMenu::AddSubMenu(int id, SMenu* submenu, const char* text, int imageIndex, int data,
                       bool checked, bool disabled) {
  if (!submenu || !submenu->m_hMenu) return false;
  return InsertItem(id, submenu, text, imageIndex, data, checked, disabled);
}

bool SMenu::InsertItem(int id, SMenu* submenu, const char* text, int imageIndex, int data,
                       bool checked, bool disabled) {
  if (!m_hMenu) return false;
  int position = ::GetMenuItemCount(m_hMenu);
  if (position < 0) return false;
  if (m_bar) imageIndex = -1;
  _SItem* item = NewRecord(this, id, data, imageIndex, false);

  MENUITEMINFOA info;
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_DATA;
  if (submenu) {
    info.fMask |= MIIM_SUBMENU;
    info.hSubMenu = submenu->m_hMenu;
  }
  info.dwTypeData = const_cast<char*>(text ? text : "");
  info.wID = static_cast<UINT>(id);
  info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
  info.fState = (checked ? MFS_CHECKED : 0) | (disabled ? MF_GRAYED : 0);

  // Before Vista or on a shallow screen the owner draws popup images.
  bool ownerDrawn = GetWindowsVersionCode() < kVistaVersionCode || g_screenDepth < 32;
  info.hbmpItem = ownerDrawn && !m_bar ? HBMMENU_CALLBACK : nullptr;
  if (item->imageIndex != -1 && item->image.FromImageList(item->imageIndex, m_imageList)) {
    if (g_screenDepth < 32) {
      item->image.ConvertTo16Bit();
      item->image.m_transparentColor = 0;
    }
    item->image.m_drawMode = kItemImageMode;
    if (!info.hbmpItem) {
      item->bitmap = item->image.GetHBITMAP();
      info.hbmpItem = item->bitmap;
    }
  }

  if (!::InsertMenuItemA(m_hMenu, position, TRUE, &info)) {
    FreeRecord(item);
    return false;
  }
  return true;
}

bool SMenu::AddSeparator(int id) {
  if (!m_hMenu || m_bar) return false;
  int position = ::GetMenuItemCount(m_hMenu);
  if (position < 0) return false;
  _SItem* item = NewRecord(this, id, 0, -1, true);
  MENUITEMINFOA info;
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = MIIM_ID | MIIM_DATA | MIIM_BITMAP | MIIM_FTYPE;
  info.fType = MFT_SEPARATOR;
  info.wID = static_cast<UINT>(id);
  info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
  info.hbmpItem = nullptr;
  if (!::InsertMenuItemA(m_hMenu, position, TRUE, &info)) {
    FreeRecord(item);
    return false;
  }
  return true;
}

bool SMenu::RemoveAll() {
  if (!m_hMenu) return true;
  bool allOwn = true;
  while (::GetMenuItemCount(m_hMenu) > 0) {
    _SItem* item = GetItemRecord(m_hMenu, 0);
    if (!::RemoveMenu(m_hMenu, 0, MF_BYPOSITION)) return false;
    if (item && item->owner == this) {
      FreeRecord(item);
    } else {
      allOwn = false;
    }
  }
  return allOwn;
}

// ---------------------------------------------------------------------------
// Queries and changes by command id

int SMenu::FindItem(int id) {
  if (!m_hMenu) return -1;
  int count = ::GetMenuItemCount(m_hMenu);
  for (int i = 0; i < count; ++i) {
    _SItem* item = GetItemRecord(m_hMenu, i);
    if (item && item->id == id) return i;
  }
  return -1;
}

int SMenu::GetItemId(int position) {
  if (!m_hMenu || position == -1) return 0;
  _SItem* item = GetItemRecord(m_hMenu, position);
  return item ? item->id : 0;
}

bool SMenu::SetItemText(int id, const char* text) {
  int position = FindItem(id);
  if (position < 0) return false;
  SString copy(text ? text : "");
  MENUITEMINFOA info;
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<char*>(copy.GetText() ? copy.GetText() : "");
  return ::SetMenuItemInfoA(m_hMenu, position, TRUE, &info) != 0;
}

SString SMenu::GetItemText(int id) {
  int position = FindItem(id);
  if (position < 0) return SString("");
  MENUITEMINFOA info;
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  if (!::GetMenuItemInfoA(m_hMenu, position, TRUE, &info) || info.cch == 0) return SString("");
  UINT length = info.cch;
  char* buffer = new char[length + 1];
  info.dwTypeData = buffer;
  info.cch = length + 1;
  SString text("");
  if (::GetMenuItemInfoA(m_hMenu, position, TRUE, &info)) {
    buffer[info.cch <= length ? info.cch : length] = 0;
    text = buffer;
  }
  delete[] buffer;
  return text;
}

SString SMenu::GetItemData(int id) {
  int position = FindItem(id);
  if (position < 0) return SString("");
  return GetItemRecord(m_hMenu, position)->dataText;
}

bool SMenu::IsItemChecked(int id) {
  int position = FindItem(id);
  if (position < 0) return false;
  MENUITEMINFOA info;
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE;
  return ::GetMenuItemInfoA(m_hMenu, position, TRUE, &info) && (info.fState & MFS_CHECKED);
}

void SMenu::EnableItem(int id, bool enable) {
  int position = FindItem(id);
  if (position < 0) return;
  ::EnableMenuItem(m_hMenu, position, MF_BYPOSITION | (enable ? MF_ENABLED : MF_GRAYED));
}

bool SMenu::Track(int x, int y) {
  if (!m_hMenu || m_bar) return false;
  return ::TrackPopupMenu(m_hMenu, TPM_RIGHTBUTTON, x, y, 0, m_owner, nullptr) != 0;
}
