// SImageList: creation, destruction and the three ways of adding an image.
#include "core/Platform.h"
#include "window/SImageList.h"

#include "core/SFile.h"
#include "core/SImage.h"
#include "window/Framework.h"

namespace {

const int kDefaultSide = 16;
const int kMaxSide = 256;

bool DeepScreen() { return g_screenDepth >= 32; }

}  // namespace

SImageList::SImageList() : m_hImageList(nullptr) {}

SImageList::~SImageList() { Destroy(); }

void SImageList::Destroy() {
  if (!m_hImageList) return;
  ::ImageList_Destroy(m_hImageList);
  m_hImageList = nullptr;
}

bool SImageList::Create(int width, int height) {
  Destroy();
  if (width < 1 || width > kMaxSide) width = kDefaultSide;
  if (height < 1 || height > kMaxSide) height = kDefaultSide;
  bool deep = DeepScreen();
  m_hImageList = ::ImageList_Create(width, height, deep ? ILC_COLOR32 : ILC_COLOR16 | ILC_MASK,
                                    0, 0);
  if (!m_hImageList) return false;
  if (!deep) ::ImageList_SetBkColor(m_hImageList, CLR_NONE);
  return true;
}

bool SImageList::AddImage(SImage* image) {
  if (!m_hImageList || !image || !image->GetBitmap()) return false;
  int width = 0, height = 0;
  if (!::ImageList_GetIconSize(m_hImageList, &width, &height)) width = height = 0;

  SImage scaled;
  SImage* source = image;
  if (image->GetWidth() != width || image->GetHeight() != height) {
    if (!scaled.CopyRect(*image, 0, 0, -1, -1)) return false;
    scaled.Resize(width, height);
    source = &scaled;
  }

  HBITMAP bitmap, mask = nullptr;
  if (DeepScreen()) {
    bitmap = source->GetHBITMAP32();
  } else {
    bitmap = source->GetHBITMAP16();
    if (source->GetBitsPerPixel() == 32) mask = source->CreateMaskHBITMAP();
  }
  bool added = bitmap && ::ImageList_Add(m_hImageList, bitmap, mask) != -1;
  if (bitmap) ::DeleteObject(bitmap);
  if (mask) ::DeleteObject(mask);
  return added;
}

bool SImageList::AddFromFile(SFile* file) {
  if (!m_hImageList || !file) return false;
  SImage image;
  if (!image.Load(file)) return false;
  return AddImage(&image);
}

bool SImageList::AddBlank() {
  if (!m_hImageList) return false;
  int width = 0, height = 0;
  if (!::ImageList_GetIconSize(m_hImageList, &width, &height)) return false;
  HBITMAP bitmap = ::CreateBitmap(width, height, 1, DeepScreen() ? 24 : 16, nullptr);
  if (!bitmap) return false;
  bool added = ::ImageList_Add(m_hImageList, bitmap, nullptr) != -1;
  ::DeleteObject(bitmap);
  return added;
}
