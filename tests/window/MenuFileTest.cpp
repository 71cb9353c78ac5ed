#include "core/Platform.h"
#include "window/MenuFile.h"

#include "core/SFileMem.h"
#include "window/SImageList.h"
#include "window/SMenu.h"
#include "tests/window/PaintSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The lines joined with CR LF.
std::string Text(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

const char kMagic[] = "VANDRO MENU 1.0.0.0";

class MenuFileTest : public ::testing::Test {
protected:
  ~MenuFileTest() override { menus.DeleteAndRemoveAll(); }

  bool Load(const std::string& text, SResource* archive = nullptr, SMenuFactory factory = nullptr,
            SMenuIdResolver resolver = nullptr, void* arg = nullptr) {
    SFileMem file(text.c_str());
    return LoadMenuFile(owner, &file, &menus, &images, factory, resolver, archive, arg);
  }

  MENUITEMINFOA Info(int menu, int position, UINT mask) {
    MENUITEMINFOA info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = mask;
    ::GetMenuItemInfoA(menus[menu]->m_hMenu, position, TRUE, &info);
    return info;
  }
  SMenu::_SItem* Record(int menu, int position) {
    return SMenu::GetItemRecord(menus[menu]->m_hMenu, position);
  }
  int ItemCount(int menu) { return ::GetMenuItemCount(menus[menu]->m_hMenu); }

  HWND owner = nullptr;
  SArray<SMenu*> menus;
  SImageList images;
};

}  // namespace

TEST_F(MenuFileTest, ExampleBuildsTheBarAndItsPopup) {
  SFileMem png;
  WritePng(&png, 16, 16, 0xFFFF0000);
  TestArchive archive({{"open.png", &png}});
  ASSERT_TRUE(archive.IsOpen());
  std::string text = Text({kMagic, "[]", "count=2", "[0]", "name=Main", "count=1", "[0:0]",
                           "text=File", "menu=1", "[1]", "count=2", "[1:0]", "id=100",
                           "text=Open", "tip=Ctrl+O", "image=open.png", "[1:1]", "separator=1"});
  ASSERT_TRUE(Load(text, archive.Get()));
  ASSERT_EQ(2, menus.GetCount());

  SMenu* bar = menus[0];
  EXPECT_TRUE(bar->m_bar);
  EXPECT_STREQ("Main", bar->m_name.GetText());
  ASSERT_EQ(1, ItemCount(0));
  EXPECT_STREQ("File", bar->GetItemText(0).GetText());
  EXPECT_EQ(menus[1]->m_hMenu, ::GetSubMenu(bar->m_hMenu, 0));

  SMenu* popup = menus[1];
  EXPECT_FALSE(popup->m_bar);
  EXPECT_EQ(images.GetHandle(), popup->m_imageList);
  ASSERT_EQ(2, ItemCount(1));
  EXPECT_EQ(100u, Info(1, 0, MIIM_ID).wID);
  EXPECT_STREQ("Open\tCtrl+O", popup->GetItemText(100).GetText());
  EXPECT_EQ(16, Record(1, 0)->image.GetWidth());
  EXPECT_TRUE(Info(1, 1, MIIM_FTYPE).fType & MFT_SEPARATOR);
  EXPECT_EQ(1, ::ImageList_GetImageCount(images.GetHandle()));
}

TEST_F(MenuFileTest, FieldsAreReadByTheirRules) {
  std::string text = Text({kMagic, "[]", "COUNT=3", "[0]", "count=1", "[0:0]", "Text=Edit",
                           "menu=2", "tip=ignored", "[1]", "count=0", "[2]", "count=7",
                           "[2:0]", "id=1", "text=Not a separator", "separator=true",
                           "checked=1", "[2:1]", "id=2", "text=Zero", "menu=0", "checked=01",
                           "[2:2]", "id=3", "text=Too far", "menu=3", "disabled=1", "data=77",
                           "[2:3]", "id=-4", "text=Sub", "menu=1", "tip=Ctrl+S",
                           "[2:4]", "id=12abc", "text=a=b", "[2:5]", "id=5", "text=first",
                           "[2:5]", "id=6", "text=second",
                           "[2:7]", "id=8", "text=beyond the count"});
  ASSERT_TRUE(Load(text));
  ASSERT_EQ(3, menus.GetCount());
  EXPECT_STREQ("Edit", menus[0]->GetItemText(0).GetText()) << "no tip on a submenu item";
  EXPECT_EQ(menus[2]->m_hMenu, ::GetSubMenu(menus[0]->m_hMenu, 0));
  EXPECT_EQ(nullptr, menus[1]->m_imageList) << "no archive, no images";

  SMenu* m = menus[2];
  ASSERT_EQ(7, ItemCount(2));
  EXPECT_FALSE(Info(2, 0, MIIM_FTYPE).fType & MFT_SEPARATOR);
  EXPECT_TRUE(m->IsItemChecked(1));
  EXPECT_FALSE(m->IsItemChecked(2));
  EXPECT_EQ(nullptr, ::GetSubMenu(m->m_hMenu, 1)) << "menu 0 is never a submenu";
  EXPECT_EQ(nullptr, ::GetSubMenu(m->m_hMenu, 2)) << "menu index N";
  EXPECT_TRUE(::GetMenuState(m->m_hMenu, 2, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_EQ(77, Record(2, 2)->data);
  EXPECT_EQ(menus[1]->m_hMenu, ::GetSubMenu(m->m_hMenu, 3));
  EXPECT_EQ(-4, m->GetItemId(3));
  EXPECT_STREQ("Sub", m->GetItemText(-4).GetText());
  EXPECT_EQ(12, m->GetItemId(4));
  EXPECT_STREQ("a=b", m->GetItemText(12).GetText());
  EXPECT_EQ(5, m->GetItemId(5)) << "the first section of a name wins";
  EXPECT_EQ(0, m->GetItemId(6)) << "a missing section reads as empty";
  EXPECT_EQ(-1, m->FindItem(8));
}

TEST_F(MenuFileTest, ImagesShareSlotsInSortedOrder) {
  SFileMem red, blue;
  WritePng(&red, 16, 16, 0xFFFF0000);
  WritePng(&blue, 32, 32, 0xFF0000FF);
  TestArchive archive({{"b.png", &red}, {"c.png", &blue}});
  std::string text = Text({kMagic, "[]", "count=2", "[0]", "count=0", "[1]", "count=4",
                           "[1:0]", "id=1", "image=c.png", "[1:1]", "id=2", "image=b.png",
                           "[1:2]", "id=3", "image=a.png", "[1:3]", "id=4", "image=b.png"});
  ASSERT_TRUE(Load(text, archive.Get()));
  EXPECT_EQ(3, ::ImageList_GetImageCount(images.GetHandle()));
  EXPECT_EQ(2, Record(1, 0)->imageIndex);
  EXPECT_EQ(1, Record(1, 1)->imageIndex);
  EXPECT_EQ(0, Record(1, 2)->imageIndex) << "a missing entry still takes a slot";
  EXPECT_EQ(1, Record(1, 3)->imageIndex);
  Dib32 canvas(16, 16);
  ::ImageList_Draw(images.GetHandle(), 2, canvas.GetDC(), 0, 0, ILD_NORMAL);
  EXPECT_EQ(0x0000FFu, canvas.Rgb(8, 8));

  // A second load rebuilds the list from scratch.
  menus.DeleteAndRemoveAll();
  ASSERT_TRUE(Load(text, archive.Get()));
  EXPECT_EQ(3, ::ImageList_GetImageCount(images.GetHandle()));
}

TEST_F(MenuFileTest, MalformedTextsFailCleanly) {
  const std::string good = Text({"[]", "count=2", "[0]", "count=1", "[0:0]", "text=File",
                                 "menu=1", "[1]", "count=1", "[1:0]", "id=100", "text=Open"});
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"empty", ""},
      {"other version", Text({"VANDRO MENU 1.0.0.1"}) + good},
      {"trailing blank", Text({"VANDRO MENU 1.0.0.0 "}) + good},
      {"magic only", Text({kMagic})},
      {"no menu count", Text({kMagic, "[0]", "count=1", "[0:0]", "text=File"})},
      {"zero menus", Text({kMagic, "[]", "count=0"})},
      {"negative menus", Text({kMagic, "[]", "count=-3"})},
      {"absurd count", Text({kMagic, "[]", "count=1", "[0]", "count=2000000000"})},
      {"separator in the bar",
       Text({kMagic, "[]", "count=1", "[0]", "count=2", "[0:0]", "text=File", "[0:1]",
             "separator=1"})},
      {"menu opens itself",
       Text({kMagic, "[]", "count=2", "[0]", "count=1", "[0:0]", "menu=1", "[1]", "count=1",
             "[1:0]", "menu=1"})},
      {"cycle of two",
       Text({kMagic, "[]", "count=3", "[0]", "count=1", "[0:0]", "menu=1", "[1]", "count=1",
             "[1:0]", "menu=2", "[2]", "count=1", "[2:0]", "menu=1"})},
  };
  SMenu kept;
  for (const auto& c : cases) {
    menus.RemoveAll();
    menus.Add(&kept);
    EXPECT_FALSE(Load(c.text)) << c.what;
    EXPECT_EQ(0, menus.GetCount()) << c.what << ": the array is emptied, not deleted";
  }
  SFileMem file(Text({kMagic}).append(good).c_str());
  EXPECT_FALSE(LoadMenuFile(owner, nullptr, &menus, nullptr));
  EXPECT_FALSE(LoadMenuFile(owner, &file, nullptr, nullptr));

  // Two menus may share a submenu: that is no cycle.
  EXPECT_TRUE(Load(Text({kMagic, "[]", "count=3", "[0]", "count=0", "[1]", "count=2",
                         "[1:0]", "menu=2", "[1:1]", "menu=2", "[2]", "count=1", "[2:0]",
                         "text=Shared"})));
  EXPECT_EQ(menus[2]->m_hMenu, ::GetSubMenu(menus[1]->m_hMenu, 1));
}

namespace {

struct Callbacks {
  int made = 0;
  int resolved = 0;
  int failAt = -1;
  std::string names;
};

SMenu* MakeMenu(void* arg) {
  Callbacks* callbacks = static_cast<Callbacks*>(arg);
  if (callbacks->made == callbacks->failAt) return nullptr;
  ++callbacks->made;
  return new SMenu;
}

int ResolveId(void* arg, const char* name) {
  Callbacks* callbacks = static_cast<Callbacks*>(arg);
  ++callbacks->resolved;
  callbacks->names += std::string(name) + ";";
  return 1000 + callbacks->resolved;
}

}  // namespace

TEST_F(MenuFileTest, FactoryAndResolver) {
  std::string text = Text({kMagic, "[]", "count=2", "[0]", "count=1", "[0:0]", "name=FILE",
                           "menu=1", "[1]", "count=3", "[1:0]", "id=5", "name=OPEN",
                           "[1:1]", "separator=1", "name=SEP", "[1:2]", "id=6"});
  Callbacks callbacks;
  ASSERT_TRUE(Load(text, nullptr, MakeMenu, ResolveId, &callbacks));
  EXPECT_EQ(2, callbacks.made);
  EXPECT_EQ(4, callbacks.resolved) << "separators too";
  EXPECT_EQ("FILE;OPEN;SEP;;", callbacks.names);
  EXPECT_EQ(1001, menus[0]->GetItemId(0));
  EXPECT_EQ(1002, menus[1]->GetItemId(0));
  EXPECT_EQ(1003, menus[1]->GetItemId(1));

  menus.DeleteAndRemoveAll();
  Callbacks failing;
  failing.failAt = 1;
  EXPECT_FALSE(Load(text, nullptr, MakeMenu, nullptr, &failing));
  EXPECT_EQ(0, menus.GetCount());
}
