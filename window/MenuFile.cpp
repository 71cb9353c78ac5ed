// LoadMenuFile and the two INI field readers shared with the tool-bar text.
#include "core/Platform.h"
#include "window/MenuFile.h"

#include "core/SFile.h"
#include "core/SFileMem.h"
#include "core/SIni.h"
#include "core/SResource.h"
#include "core/SStringArray.h"
#include "window/SImageList.h"
#include "window/SMenu.h"

#include <vector>

namespace {

const char kMagic[] = "VANDRO MENU 1.0.0.0";
const int kImageSide = 16;
// Upper bounds of the menu count and of all items together; a text asking
// for more is refused.
const int kMaxMenus = 4096;
const int kMaxItems = 4096;

SString ItemSection(int menu, int item) {
  return SString::FromInt(menu) + ":" + SString::FromInt(item);
}

// True when the submenu links (menu -> menus its items open) contain a
// cycle, that is a menu opening itself or one of the menus above it.
bool HasCycle(const std::vector<std::vector<int>>& opens) {
  enum { UNSEEN, ON_PATH, DONE };
  int n = static_cast<int>(opens.size());
  std::vector<int> state(n, UNSEEN);
  std::vector<std::pair<int, size_t>> path;
  for (int start = 0; start < n; ++start) {
    if (state[start] != UNSEEN) continue;
    state[start] = ON_PATH;
    path.push_back({start, 0});
    while (!path.empty()) {
      int menu = path.back().first;
      size_t& next = path.back().second;
      if (next == opens[menu].size()) {
        state[menu] = DONE;
        path.pop_back();
        continue;
      }
      int target = opens[menu][next++];
      if (state[target] == ON_PATH) return true;
      if (state[target] == UNSEEN) {
        state[target] = ON_PATH;
        path.push_back({target, 0});
      }
    }
  }
  return false;
}

bool Fail(SArray<SMenu*>* menus) {
  menus->DeleteAndRemoveAll();
  return false;
}

}  // namespace

bool ReadIniFlag(SIni* ini, const char* section, const char* key) {
  return ini && ini->GetValue(section, key) == "1";
}

int ReadIniInt(SIni* ini, const char* section, const char* key) {
  if (!ini) return 0;
  SString value = ini->GetValue(section, key);
  return value.GetText() ? atoi(value.GetText()) : 0;
}

bool LoadMenuFile(HWND owner, SFile* source, SArray<SMenu*>* menus, SImageList* images,
                  SMenuFactory factory, SMenuIdResolver resolver, SResource* archive, void* arg) {
  if (!source || !menus) return false;
  menus->RemoveAll();
  if (source->ReadLine(true) != kMagic) return false;
  SIni ini;
  if (!ini.Load(source)) return false;

  int menuCount = ReadIniInt(&ini, "", "count");
  if (menuCount < 1 || menuCount > kMaxMenus) return false;
  std::vector<int> itemCounts(menuCount);
  std::vector<std::vector<int>> opens(menuCount);
  int total = 0;
  for (int i = 0; i < menuCount; ++i) {
    int count = ReadIniInt(&ini, SString::FromInt(i).GetText(), "count");
    if (count < 0) count = 0;
    if (count > kMaxItems - total) return false;
    total += count;
    itemCounts[i] = count;
    for (int j = 0; j < count; ++j) {
      SString section = ItemSection(i, j);
      int target = ReadIniInt(&ini, section.GetText(), "menu");
      if (target > 0 && target < menuCount && !ReadIniFlag(&ini, section.GetText(), "separator")) {
        opens[i].push_back(target);
      }
    }
  }
  if (HasCycle(opens)) return false;

  // The image list: one slot per distinct name, in sorted order.
  SStringArray imageNames;
  bool withImages = false;
  if (images && archive) {
    withImages = images->Create(kImageSide, kImageSide);
    if (withImages) {
      for (int i = 0; i < menuCount; ++i) {
        for (int j = 0; j < itemCounts[i]; ++j) {
          SString name = ini.GetValue(ItemSection(i, j).GetText(), "image");
          if (name.GetLength() > 0 && imageNames.FindSorted(name.GetText()) < 0) {
            imageNames.InsertSorted(name.GetText());
          }
        }
      }
      for (int k = 0; k < imageNames.GetCount(); ++k) {
        SFileMem file;
        bool added = archive->Load(&file, imageNames.Get(k).GetText(), true) &&
                     images->AddFromFile(&file);
        if (!added) images->AddBlank();
      }
    }
  }

  // Every menu exists before any item is added, so that an item may open a
  // menu that comes later.
  for (int i = 0; i < menuCount; ++i) {
    SMenu* menu = factory ? factory(arg) : new SMenu;
    if (!menu) return Fail(menus);
    menu->m_name = ini.GetValue(SString::FromInt(i).GetText(), "name");
    if (i == 0) {
      menu->CreateBar(owner);
    } else {
      if (withImages) {
        int width = 0, height = 0;
        if (!::ImageList_GetIconSize(images->GetHandle(), &width, &height)) width = height = 0;
        menu->m_imageList = images->GetHandle();
        menu->m_imageWidth = width;
        menu->m_imageHeight = height;
      }
      menu->CreatePopup(owner);
    }
    menus->Add(menu);
    if (!menu->m_hMenu) return Fail(menus);
  }

  for (int i = 0; i < menuCount; ++i) {
    SMenu* menu = (*menus)[i];
    for (int j = 0; j < itemCounts[i]; ++j) {
      SString section = ItemSection(i, j);
      const char* s = section.GetText();
      int id = ReadIniInt(&ini, s, "id");
      SString name = ini.GetValue(s, "name");
      bool separator = ReadIniFlag(&ini, s, "separator");
      int target = ReadIniInt(&ini, s, "menu");
      SString text = ini.GetValue(s, "text");
      SString tip = ini.GetValue(s, "tip");
      SString image = ini.GetValue(s, "image");
      int data = ReadIniInt(&ini, s, "data");
      bool checked = ReadIniFlag(&ini, s, "checked");
      bool disabled = ReadIniFlag(&ini, s, "disabled");
      SString label = tip.GetLength() > 0 ? text + "\t" + tip : text;
      int imageIndex = withImages && image.GetLength() > 0 ? imageNames.FindSorted(image.GetText())
                                                           : -1;
      if (resolver) id = resolver(arg, name.GetText() ? name.GetText() : "");

      bool added;
      if (separator) {
        added = menu->AddSeparator(id);
      } else if (target > 0 && target < menuCount) {
        added = menu->AddSubMenu(id, (*menus)[target], text.GetText(), imageIndex, data, checked,
                                 disabled);
      } else {
        added = menu->AddItem(id, label.GetText(), imageIndex, data, checked, disabled);
      }
      if (!added) return Fail(menus);
    }
  }
  return true;
}
