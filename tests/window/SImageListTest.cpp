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

TEST(SImageList, ImagesAreScaledToTheListSizeAndBadInputIsRefused) {
  SImageList list;
  SImage image;
  EXPECT_FALSE(list.AddImage(&image)) << "no list yet";
  // Sides outside 1 to 256 become 16.
  ASSERT_TRUE(list.Create(0, 257));
  EXPECT_EQ(16, IconSize(list).cx);
  EXPECT_EQ(16, IconSize(list).cy);
  ASSERT_TRUE(list.Create(1, 256));
  EXPECT_EQ(1, IconSize(list).cx);
  EXPECT_EQ(256, IconSize(list).cy);

  ASSERT_TRUE(list.Create(16, 16));
  EXPECT_FALSE(list.AddImage(&image)) << "no bitmap";
  SFileMem junk("not an image");
  EXPECT_FALSE(list.AddFromFile(&junk));
  std::unique_ptr<Gdiplus::Bitmap> red(SolidBitmap(32, 32, 0xFFFF0000));
  image.CopyRect(red.get(), 0, 0, -1, -1);
  ASSERT_TRUE(list.AddImage(&image));
  EXPECT_EQ(32, image.GetWidth()) << "the caller's image is left alone";
  SFileMem png;
  WritePng(&png, 16, 16, 0xFF0000FF);
  png.Rewind();
  ASSERT_TRUE(list.AddFromFile(&png));
  EXPECT_TRUE(list.AddBlank());
  // A wide bitmap would have been split into several images.
  ASSERT_EQ(3, ::ImageList_GetImageCount(list.GetHandle())) << "one image each";
  Dib32 canvas(16, 16);
  ::ImageList_Draw(list.GetHandle(), 1, canvas.GetDC(), 0, 0, ILD_NORMAL);
  EXPECT_EQ(0x0000FFu, canvas.Rgb(8, 8));
}

namespace {

// Two references of its own on an image list's object, so that the list's
// own reference can be counted (ImageList_Destroy releases it) without the
// object ever going away under the test.
class ListReferences {
public:
  explicit ListReferences(HIMAGELIST list) {
    typedef HRESULT(WINAPI * QueryProc)(HIMAGELIST, REFIID, void**);
    QueryProc query = reinterpret_cast<QueryProc>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleA("comctl32.dll"), "HIMAGELIST_QueryInterface")));
    for (IUnknown*& held : m_held) {
      void* object = nullptr;
      if (query && list && SUCCEEDED(query(list, IID_IUnknown, &object))) {
        held = static_cast<IUnknown*>(object);
      }
    }
  }
  ~ListReferences() {
    for (IUnknown* held : m_held) {
      if (held) held->Release();
    }
  }
  bool Valid() const { return m_held[0] && m_held[1]; }
  // 1 while the list holds its reference, 0 once it was destroyed once,
  // -1 after a second destruction.
  int OwnerReferences() const {
    m_held[0]->AddRef();
    return static_cast<int>(m_held[0]->Release()) - 2;
  }

private:
  IUnknown* m_held[2] = {nullptr, nullptr};
};

}  // namespace

TEST(SImageList, HandleIsDestroyedOnceAndCleared) {
  SImageList list;
  list.Destroy();  // nothing to destroy
  ASSERT_TRUE(list.Create(16, 16));
  ListReferences first(list.GetHandle());
  ASSERT_TRUE(first.Valid());
  EXPECT_EQ(1, first.OwnerReferences());
  ASSERT_TRUE(list.Create(32, 32));
  EXPECT_EQ(0, first.OwnerReferences()) << "re-creation destroys the old list once";

  ListReferences second(list.GetHandle());
  ASSERT_TRUE(second.Valid());
  list.Destroy();
  EXPECT_EQ(nullptr, list.GetHandle());
  list.Destroy();
  EXPECT_EQ(0, second.OwnerReferences());
  EXPECT_FALSE(list.AddBlank());

  // The destructor destroys a living list once, and a destroyed one never.
  std::unique_ptr<ListReferences> living, destroyed;
  {
    SImageList a, b;
    ASSERT_TRUE(a.Create(8, 8));
    ASSERT_TRUE(b.Create(8, 8));
    living.reset(new ListReferences(a.GetHandle()));
    destroyed.reset(new ListReferences(b.GetHandle()));
    b.Destroy();
  }
  ASSERT_TRUE(living->Valid() && destroyed->Valid());
  EXPECT_EQ(0, living->OwnerReferences());
  EXPECT_EQ(0, destroyed->OwnerReferences());
}
