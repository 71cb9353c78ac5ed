// One Windows image list whose images share one size; menus, tool bars,
// lists and trees draw their small images from it.
//
// The object is the list's one owner: the handle is destroyed only here (by
// Destroy, the destructor and every re-creation), and cleared when it is, so
// it is never destroyed twice. Others keep the handle without owning it.
#pragma once

#include "core/Platform.h"

class SFile;
class SImage;

class SImageList {
public:
  SImageList();
  virtual ~SImageList();

  // A new empty list; a side below 1 or above 256 becomes 16. 32-bit colour
  // on a screen of 32 bits or more, else 16-bit colour with a mask. False
  // when the list cannot be made (the old one is gone either way).
  bool Create(int width, int height);
  // ImageList_Destroy of the handle, which is cleared; nothing without one.
  void Destroy();
  HIMAGELIST GetHandle() const { return m_hImageList; }

  // Appends the image, scaled to the list's size when it differs.
  bool AddImage(SImage* image);
  // Appends the image decoded from the file's bytes (position to end).
  bool AddFromFile(SFile* file);
  // Appends an image of the list's size with undefined pixels.
  bool AddBlank();

private:
  SImageList(const SImageList&) = delete;
  SImageList& operator=(const SImageList&) = delete;

  HIMAGELIST m_hImageList;
};
