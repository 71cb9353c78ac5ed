#include "core/Platform.h"
#include "window/SImageList.h"

#include "core/SFileMem.h"
#include "core/SImage.h"
#include "tests/window/PaintSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

SIZE IconSize(const SImageList& list) {
  SIZE size = {0, 0};
  int cx = 0, cy = 0;
  if (::ImageList_GetIconSize(list.GetHandle(), &cx, &cy)) size = {cx, cy};
  return size;
}

}  // namespace

TEST(SImageList, SidesOutsideOneTo256Become16) {
  SImageList list;
  const struct {
    int width, height, expectedWidth, expectedHeight;
  } cases[] = {{0, 300, 16, 16}, {300, 0, 16, 16}, {256, 256, 256, 256}, {-5, 20, 16, 20},
               {1, 257, 1, 16}};
  for (const auto& c : cases) {
    ASSERT_TRUE(list.Create(c.width, c.height));
    SIZE size = IconSize(list);
    EXPECT_EQ(c.expectedWidth, size.cx) << c.width << "x" << c.height;
    EXPECT_EQ(c.expectedHeight, size.cy) << c.width << "x" << c.height;
    EXPECT_EQ(0, ::ImageList_GetImageCount(list.GetHandle()));
  }
}

TEST(SImageList, ImagesAreScaledToTheListSize) {
  SImageList list;
  ASSERT_TRUE(list.Create(16, 16));
  SImage big;
  std::unique_ptr<Gdiplus::Bitmap> red(SolidBitmap(32, 32, 0xFFFF0000));
  big.CopyRect(red.get(), 0, 0, -1, -1);
  ASSERT_TRUE(list.AddImage(&big));
  EXPECT_EQ(32, big.GetWidth()) << "the caller's image is left alone";

  SFileMem png;
  WritePng(&png, 16, 16, 0xFF0000FF);
  png.Rewind();
  ASSERT_TRUE(list.AddFromFile(&png));
  ASSERT_EQ(2, ::ImageList_GetImageCount(list.GetHandle()));

  Canvas canvas(16, 16);
  ::ImageList_Draw(list.GetHandle(), 0, canvas.dc(), 0, 0, ILD_NORMAL);
  EXPECT_EQ(0xFF0000u, canvas.Rgb(8, 8));
  ::ImageList_Draw(list.GetHandle(), 1, canvas.dc(), 0, 0, ILD_NORMAL);
  EXPECT_EQ(0x0000FFu, canvas.Rgb(8, 8));

  SImage back;
  ASSERT_TRUE(back.FromImageList(0, list.GetHandle()));
  EXPECT_EQ(16, back.GetWidth());
  EXPECT_EQ(16, back.GetHeight());
}

TEST(SImageList, BadInputAndBlanks) {
  SImageList list;
  SImage image;
  SFileMem junk("not an image");
  EXPECT_FALSE(list.AddImage(&image)) << "no list yet";
  EXPECT_FALSE(list.AddBlank());
  ASSERT_TRUE(list.Create(24, 24));
  EXPECT_FALSE(list.AddImage(nullptr));
  EXPECT_FALSE(list.AddImage(&image)) << "no bitmap";
  EXPECT_FALSE(list.AddFromFile(nullptr));
  EXPECT_FALSE(list.AddFromFile(&junk));
  EXPECT_EQ(0, ::ImageList_GetImageCount(list.GetHandle()));
  EXPECT_TRUE(list.AddBlank());
  EXPECT_TRUE(list.AddBlank());
  EXPECT_EQ(2, ::ImageList_GetImageCount(list.GetHandle()));
}

TEST(SImageList, HandleIsDestroyedOnceAndCleared) {
  SImageList list;
  list.Destroy();  // nothing to destroy
  ASSERT_TRUE(list.Create(16, 16));
  HIMAGELIST first = list.GetHandle();
  ASSERT_NE(nullptr, first);
  ASSERT_TRUE(list.Create(32, 32));  // the first list goes here
  EXPECT_NE(nullptr, list.GetHandle());
  list.Destroy();
  EXPECT_EQ(nullptr, list.GetHandle());
  list.Destroy();
  EXPECT_FALSE(list.AddBlank());
  // The destructor finds no handle and destroys nothing again.
}
