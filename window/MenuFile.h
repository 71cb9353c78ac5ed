// The menu text format "VANDRO MENU 1.0.0.0": a window's menu bar and popup
// menus, read as INI text after the magic line.
//
//   []      count        number of menus; menu 0 is the bar, 1.. are popups
//   [i]     name, count  the menu's name and its number of items
//   [i:j]   id, name, separator, menu, text, tip, image, data, checked,
//           disabled     item j of menu i
//
// Numbers are read with atoi; a flag is set only by the value "1".
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"

class SFile;
class SIni;
class SImageList;
class SMenu;
class SResource;

// A new menu object (a subclass of SMenu when the caller wants one).
typedef SMenu* (*SMenuFactory)(void* arg);
// The command id of the item with that name.
typedef int (*SMenuIdResolver)(void* arg, const char* name);

// Builds the menus of the text into menus (file order, menu 0 first; the
// caller owns them), commands going to owner. With an image list and an
// archive the list is rebuilt from the items' "image" entries in the sorted
// order of their names. Without a factory each menu is a plain SMenu; with a
// resolver every item's id is its result for the item's name. All or
// nothing: false leaves menus empty. An item opening itself or a menu above
// it is refused.
bool LoadMenuFile(HWND owner, SFile* source, SArray<SMenu*>* menus, SImageList* images,
                  SMenuFactory factory = nullptr, SMenuIdResolver resolver = nullptr,
                  SResource* archive = nullptr, void* arg = nullptr);

// True only when the value is exactly "1".
bool ReadIniFlag(SIni* ini, const char* section, const char* key);
// atoi of the value; 0 when it is missing.
int ReadIniInt(SIni* ini, const char* section, const char* key);
