#include "core/Platform.h"
#include "window/SComboCtrl.h"

#include "RecordingWnd.h"

#include <gtest/gtest.h>

#include <string>

TEST(SComboCtrl, HoldsTheItemsOfABarSeparatedList) {
  RecordingWnd parent;
  ASSERT_TRUE(parent.Create("", 0));
  SComboCtrl combo;
  EXPECT_EQ(-1, combo.AddString("early")) << "no window yet";
  RECT box = {10, 10, 160, 150};
  ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST, "", 0, &box, parent.m_hWnd, 4));
  EXPECT_EQ(4, combo.GetId());

  const char* items[] = {"Offline", "Easy", "Normal", "Hard"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(i, combo.AddString(items[i]));
  EXPECT_EQ("Hard", ComboText(&combo, 3));
  EXPECT_EQ(-1, combo.GetSelection());
  EXPECT_TRUE(combo.SetSelection(2));
  EXPECT_EQ(2, combo.GetSelection());
  EXPECT_FALSE(combo.SetSelection(9));
  EXPECT_FALSE(combo.SetSelection(-1)) << "clearing answers CB_ERR";
  EXPECT_EQ(-1, combo.GetSelection());

  // A sorted combo answers the place of the item.
  SComboCtrl sorted;
  ASSERT_TRUE(
      sorted.Create(CBS_DROPDOWNLIST | CBS_SORT | CBS_HASSTRINGS, "", 0, &box, parent.m_hWnd, 1));
  EXPECT_EQ(0, sorted.AddString("m"));
  EXPECT_EQ(0, sorted.AddString("a"));
  EXPECT_EQ(2, sorted.AddString("z"));
  EXPECT_EQ(0, sorted.AddString(nullptr)) << "null adds an empty item, sorted first";
}
