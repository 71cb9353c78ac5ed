// One Windows menu, a menu bar or a popup menu.
//
// Every item carries a record of its own (SMenu::_SItem) as its item data:
// the owner menu, the command id, a data number and text, and the item's
// image taken from the menu's image list. The menu style MNS_NOTIFYBYPOS
// makes a chosen item arrive at the owner window as WM_MENUCOMMAND (position,
// menu handle); the framework's window procedure reads the record from there
// and calls OnCommand, and answers WM_MEASUREITEM / WM_DRAWITEM of menu items
// through MeasureItem / DrawItem. Images are drawn by the system from a
// 32-bit item bitmap on Vista and later with a 32-bit screen, else by the
// owner (HBMMENU_CALLBACK) with GDI+.
#pragma once

#include "core/Platform.h"
#include "core/SImage.h"
#include "core/SString.h"

class SMenu {
public:
  // One item's record, owned by the menu.
  struct _SItem {
    SMenu* owner;
    int id;
    int data;
    SString dataText;
    int imageIndex;   // -1: no image
    SImage image;
    HBITMAP bitmap;   // given to the system for the item; 0 when none
    bool separator;
  };

  SMenu();
  // Removes every item (deleting the records) and destroys the menu.
  virtual ~SMenu();

  // Size of the image of an item that has one; false leaves the system's.
  virtual bool MeasureItem(_SItem* item, MEASUREITEMSTRUCT* measure);
  // Draws the item's image into its rectangle; false when it has none.
  virtual bool DrawItem(_SItem* item, DRAWITEMSTRUCT* draw);
  // An item of this menu was chosen. Empty here.
  virtual void OnCommand(int position, int id);

  // Each destroys an existing menu first; false when no menu can be made.
  bool CreateBar(HWND owner);
  bool CreatePopup(HWND owner);
  // Appends an item. A menu bar takes no images; disabled items are greyed.
  bool AddItem(int id, const char* text, int imageIndex = -1, int data = 0, bool checked = false,
               bool disabled = false);
  // Appends an item that opens the submenu (which stays the caller's).
  bool AddSubMenu(int id, SMenu* submenu, const char* text, int imageIndex = -1, int data = 0,
                  bool checked = false, bool disabled = false);
  // False for a menu bar.
  bool AddSeparator(int id);
  // Removes the items from position 0 (submenus are not destroyed), deleting
  // their records; items of other origins are removed as well. False when
  // such an item was met or a removal failed (which ends it).
  bool RemoveAll();

  // Position of the first item with the id; -1 when none.
  int FindItem(int id);
  // The record's command id; 0 without a record.
  int GetItemId(int position);
  bool SetItemText(int id, const char* text);
  SString GetItemText(int id);
  SString GetItemData(int id);
  bool IsItemChecked(int id);
  void EnableItem(int id, bool enable);
  // A popup menu at screen coordinates, its commands to the owner; false for
  // a menu bar.
  bool Track(int x, int y);

  // The record of the item at the position of a menu handle, and the record
  // an item's data (itemData of WM_MEASUREITEM / WM_DRAWITEM) points to;
  // null for anything but a living record of an SMenu.
  static _SItem* GetItemRecord(HMENU menu, int position);
  static _SItem* FromItemData(ULONG_PTR data);

  HIMAGELIST m_imageList;  // not owned; null when the menu shows no images
  int m_imageWidth, m_imageHeight;
  SString m_name;
  HWND m_owner;            // receives the commands
  HMENU m_hMenu;           // owned
  bool m_bar;

private:
  SMenu(const SMenu&) = delete;
  SMenu& operator=(const SMenu&) = delete;

  bool Create(HWND owner, bool bar);
  // Empties the menu and destroys its handle; submenus that other menus
  // hold are taken out first, so each menu destroys only its own.
  void DestroyHandle();
  // AddItem and AddSubMenu.
  bool InsertItem(int id, SMenu* submenu, const char* text, int imageIndex, int data,
                  bool checked, bool disabled);
  static void FreeRecord(_SItem* item);
};
