#include "core/Platform.h"
#include "window/SMenu.h"

#include "core/SKeyboard.h"
#include "window/Framework.h"
#include "window/FrameworkMessages.h"
#include "window/SImageList.h"
#include "tests/window/PaintSupport.h"
#include "tests/window/RecordingWnd.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CommandMenu : public SMenu {
public:
  void OnCommand(int position, int id) override {
    lastPosition = position;
    lastId = id;
  }
  int lastPosition = -1, lastId = -1;
};

MENUITEMINFOA ItemInfo(HMENU menu, int position, UINT mask) {
  MENUITEMINFOA info;
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = mask;
  ::GetMenuItemInfoA(menu, position, TRUE, &info);
  return info;
}

// A popup with a 16 x 16 image list holding one red image.
struct ImageMenu {
  SImageList images;
  SMenu menu;
  ImageMenu() {
    images.Create(16, 16);
    SImage red;
    std::unique_ptr<Gdiplus::Bitmap> bitmap(SolidBitmap(16, 16, 0xFFFF0000));
    red.CopyRect(bitmap.get(), 0, 0, -1, -1);
    images.AddImage(&red);
    menu.m_imageList = images.GetHandle();
    menu.m_imageWidth = 16;
    menu.m_imageHeight = 16;
    menu.CreatePopup(nullptr);
  }
};

}  // namespace

TEST(SMenu, ItemsByIdTextAndState) {
  SMenu menu;
  EXPECT_FALSE(menu.AddItem(1, "no handle"));
  ASSERT_TRUE(menu.CreatePopup(nullptr));
  ASSERT_TRUE(menu.AddItem(7, "Open\tCtrl+O", -1, 0, true, false));
  ASSERT_TRUE(menu.AddItem(8, "Save", -5, 3, false, true));
  ASSERT_TRUE(menu.AddItem(7, "Second seven"));
  ASSERT_TRUE(menu.AddSeparator(9));
  EXPECT_EQ(0, menu.FindItem(7)) << "the first of two";
  EXPECT_EQ(3, menu.FindItem(9));
  EXPECT_EQ(-1, SMenu::GetItemRecord(menu.m_hMenu, 1)->imageIndex);
  EXPECT_TRUE(menu.SetItemText(8, "Save As"));
  EXPECT_STREQ("Save As", menu.GetItemText(8).GetText());
  EXPECT_TRUE(menu.IsItemChecked(7));
  EXPECT_TRUE(::GetMenuState(menu.m_hMenu, 1, MF_BYPOSITION) & MF_GRAYED);
  menu.EnableItem(8, true);
  EXPECT_FALSE(::GetMenuState(menu.m_hMenu, 1, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_TRUE(ItemInfo(menu.m_hMenu, 3, MIIM_FTYPE).fType & MFT_SEPARATOR);

  // A bar takes no images and no separators and is not tracked.
  ImageMenu images;
  SMenu bar;
  ASSERT_TRUE(bar.CreateBar(nullptr));
  bar.m_imageList = images.images.GetHandle();
  ASSERT_TRUE(bar.AddItem(1, "File", 0));
  EXPECT_EQ(-1, SMenu::GetItemRecord(bar.m_hMenu, 0)->imageIndex);
  EXPECT_FALSE(bar.AddSeparator(2));
  EXPECT_FALSE(bar.Track(10, 10));
}

TEST(SMenu, SubmenusSurviveTheirParent) {
  SMenu sub;
  ASSERT_TRUE(sub.CreatePopup(nullptr));
  ASSERT_TRUE(sub.AddItem(5, "Inner"));
  {
    SMenu bar;
    ASSERT_TRUE(bar.CreateBar(nullptr));
    EXPECT_FALSE(bar.AddSubMenu(1, nullptr, "None"));
    ASSERT_TRUE(bar.AddSubMenu(1, &sub, "File"));
    EXPECT_EQ(sub.m_hMenu, ::GetSubMenu(bar.m_hMenu, 0));
    EXPECT_TRUE(bar.RemoveAll());
    EXPECT_TRUE(::IsMenu(sub.m_hMenu));
    ASSERT_TRUE(bar.AddSubMenu(1, &sub, "File"));
    // Re-creating empties and destroys the old menu, not the submenu.
    ASSERT_TRUE(bar.CreatePopup(nullptr));
    EXPECT_FALSE(bar.m_bar);
    EXPECT_TRUE(::IsMenu(sub.m_hMenu));
    ASSERT_TRUE(bar.AddSubMenu(1, &sub, "Again"));
  }
  EXPECT_TRUE(::IsMenu(sub.m_hMenu));
  EXPECT_EQ(5, sub.GetItemId(0));
}

TEST(SMenu, ForeignItemsAreRemovedAndEachMenuDestroysOnlyItsOwn) {
  SMenu sub, other;
  ASSERT_TRUE(sub.CreatePopup(nullptr));
  ASSERT_TRUE(sub.AddItem(5, "Inner"));
  ASSERT_TRUE(other.CreatePopup(nullptr));
  HMENU loose = ::CreatePopupMenu();

  // RemoveAll goes on past items without a record and reports them.
  SMenu menu;
  ASSERT_TRUE(menu.CreatePopup(nullptr));
  ASSERT_TRUE(::AppendMenuA(menu.m_hMenu, MF_STRING, 99, "Foreign"));
  ASSERT_TRUE(menu.AddItem(1, "One"));
  ULONG_PTR data = ItemInfo(menu.m_hMenu, 1, MIIM_DATA).dwItemData;
  ASSERT_NE(nullptr, SMenu::FromItemData(data));
  EXPECT_FALSE(menu.RemoveAll());
  EXPECT_EQ(0, ::GetMenuItemCount(menu.m_hMenu));
  EXPECT_EQ(nullptr, SMenu::FromItemData(data)) << "the record after the foreign item is freed";
  EXPECT_TRUE(menu.RemoveAll());

  // Destroyed behind a foreign item, a menu leaves the submenus other menus
  // hold, whether it opens them through its own item or a foreign one.
  ULONG_PTR subData = 0;
  {
    SMenu parent;
    ASSERT_TRUE(parent.CreatePopup(nullptr));
    ASSERT_TRUE(::AppendMenuA(parent.m_hMenu, MF_STRING, 98, "Foreign"));
    ASSERT_TRUE(parent.AddSubMenu(2, &sub, "Sub"));
    ASSERT_TRUE(::AppendMenuA(parent.m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(other.m_hMenu),
                              "Other"));
    ASSERT_TRUE(
        ::AppendMenuA(parent.m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(loose), "Loose"));
    subData = ItemInfo(parent.m_hMenu, 1, MIIM_DATA).dwItemData;
    ASSERT_NE(nullptr, SMenu::FromItemData(subData));
  }
  EXPECT_TRUE(::IsMenu(sub.m_hMenu));
  EXPECT_EQ(5, sub.GetItemId(0));
  EXPECT_TRUE(::IsMenu(other.m_hMenu));
  EXPECT_EQ(nullptr, SMenu::FromItemData(subData));
  if (::IsMenu(loose)) ::DestroyMenu(loose);

  // Item data of other menus is no record.
  HMENU foreign = ::CreatePopupMenu();
  MENUITEMINFOA info;
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = MIIM_ID | MIIM_STRING | MIIM_DATA;
  info.dwTypeData = const_cast<char*>("Foreign");
  info.dwItemData = 0x1234;
  ASSERT_TRUE(::InsertMenuItemA(foreign, 0, TRUE, &info));
  EXPECT_EQ(nullptr, SMenu::GetItemRecord(foreign, 0));
  EXPECT_EQ(nullptr, SMenu::FromItemData(0x1234));
  ::DestroyMenu(foreign);
}

TEST(SMenu, ImagesAreMeasuredAndDrawn) {
  ImageMenu m;
  ASSERT_TRUE(m.menu.AddItem(1, "Plain"));
  ASSERT_TRUE(m.menu.AddItem(2, "Picture", 0));
  SMenu::_SItem* plain = SMenu::GetItemRecord(m.menu.m_hMenu, 0);
  SMenu::_SItem* picture = SMenu::GetItemRecord(m.menu.m_hMenu, 1);
  ASSERT_NE(nullptr, picture);
  // Vista or later on a 32-bit screen: the system draws from the record's
  // bitmap; otherwise every popup item is owner-drawn.
  bool systemDrawn = GetWindowsVersionCode() >= 7 && g_screenDepth >= 32;
  EXPECT_EQ(systemDrawn ? picture->bitmap : HBMMENU_CALLBACK,
            ItemInfo(m.menu.m_hMenu, 1, MIIM_BITMAP).hbmpItem);

  // Measured with a margin of 4 and at least the menu height.
  MEASUREITEMSTRUCT measure = {};
  EXPECT_FALSE(m.menu.MeasureItem(plain, &measure));
  m.menu.m_imageHeight = 1;
  ASSERT_TRUE(m.menu.MeasureItem(picture, &measure));
  EXPECT_EQ(20u, measure.itemWidth);
  EXPECT_EQ(static_cast<UINT>(::GetSystemMetrics(SM_CYMENU)), measure.itemHeight);
  // Drawn middle right in the item less 4 pixels.
  Dib32 canvas(40, 20);
  DRAWITEMSTRUCT draw = {};
  draw.CtlType = ODT_MENU;
  draw.hDC = canvas.GetDC();
  draw.rcItem = {0, 0, 40, 20};
  ASSERT_TRUE(m.menu.DrawItem(picture, &draw));
  EXPECT_EQ(0xFF0000u, canvas.Rgb(20, 2));
  EXPECT_EQ(0xFF0000u, canvas.Rgb(35, 17));
  EXPECT_EQ(0xFFFFFFu, canvas.Rgb(19, 10));
}

TEST(SMenu, CommandsReachTheOwnerAsFrameworkMessages) {
  RecordingWnd owner;
  RECT r = MakeRect(0, 0, 100, 50);
  ASSERT_TRUE(owner.Create("", WS_POPUP, 0, &r));
  CommandMenu menu;
  ASSERT_TRUE(menu.CreatePopup(owner.m_hWnd));
  ASSERT_TRUE(menu.AddItem(50, "First"));
  ASSERT_TRUE(menu.AddItem(100, "Open"));

  owner.SendMessage(WM_MENUCOMMAND, 1, reinterpret_cast<LPARAM>(menu.m_hMenu));
  EXPECT_EQ(1, menu.lastPosition);
  EXPECT_EQ(100, menu.lastId);
  ASSERT_EQ(1, owner.Count('W', SWM_MENUCOMMAND));
  EXPECT_EQ(reinterpret_cast<WPARAM>(static_cast<SMenu*>(&menu)), owner.seen.back().wParam);
  EXPECT_EQ(100, owner.seen.back().lParam);

  // Owner-drawn images are measured through the owner window.
  ImageMenu m;
  ASSERT_TRUE(m.menu.AddItem(3, "Picture", 0));
  MEASUREITEMSTRUCT measure = {};
  measure.CtlType = ODT_MENU;
  measure.itemData = ItemInfo(m.menu.m_hMenu, 0, MIIM_DATA).dwItemData;
  EXPECT_EQ(1, owner.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
  EXPECT_EQ(20u, measure.itemWidth);
}

TEST(SMenu, AShallowScreenGetsMaskedListsAndOwnerDrawnPictures) {
  // The screen depth read at start-up is the seam: a 16-bit screen.
  struct Depth {
    int saved = g_screenDepth;
    ~Depth() { g_screenDepth = saved; }
  } depth;
  g_screenDepth = 16;

  // Image lists hold 16-bit images with a mask: transparent pixels stay out.
  SImageList list;
  ASSERT_TRUE(list.Create(8, 8));
  std::unique_ptr<Gdiplus::Bitmap> half(
      MakeBitmap(8, 8, [](int x, int) { return x < 4 ? 0xFFFF0000u : 0x00000000u; }));
  SImage image;
  image.CopyRect(half.get(), 0, 0, -1, -1);
  ASSERT_TRUE(list.AddImage(&image));
  IMAGEINFO info = {};
  ASSERT_TRUE(::ImageList_GetImageInfo(list.GetHandle(), 0, &info));
  EXPECT_NE(nullptr, info.hbmMask);
  Dib32 canvas(40, 20);
  ::ImageList_Draw(list.GetHandle(), 0, canvas.GetDC(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(0xF8u, canvas.Rgb(1, 4) >> 16 & 0xF8) << "red, in 16 bits";
  EXPECT_EQ(0xFFFFFFu, canvas.Rgb(6, 4)) << "masked out";

  // Menus draw their pictures themselves, from a 16-bit copy without key.
  ImageMenu m;
  ASSERT_TRUE(m.menu.AddItem(2, "Picture", 0));
  SMenu::_SItem* picture = SMenu::GetItemRecord(m.menu.m_hMenu, 0);
  ASSERT_NE(nullptr, picture);
  EXPECT_EQ(HBMMENU_CALLBACK, ItemInfo(m.menu.m_hMenu, 0, MIIM_BITMAP).hbmpItem);
  EXPECT_EQ(16, picture->image.GetBitsPerPixel());
  EXPECT_EQ(0u, picture->image.m_transparentColor);
  canvas.Fill(0xFFFFFF);
  DRAWITEMSTRUCT draw = {};
  draw.CtlType = ODT_MENU;
  draw.hDC = canvas.GetDC();
  draw.rcItem = {0, 0, 40, 20};
  ASSERT_TRUE(m.menu.DrawItem(picture, &draw));
  EXPECT_EQ(0xF8u, canvas.Rgb(25, 10) >> 16 & 0xF8);
  EXPECT_EQ(0u, canvas.Rgb(25, 10) & 0xFFFF);
}
