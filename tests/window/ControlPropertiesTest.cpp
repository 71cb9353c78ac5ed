#include "core/Platform.h"
#include "window/SDialogEditor.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

typedef SDialogEditor::_SCtrl Ctrl;

SString Get(const Ctrl& record, const char* key) {
  return SDialogEditor::GetProperty(&record, key);
}

}  // namespace

TEST(ControlProperties, KeysAreFoundExactlyAndValuesReplacedInPlace) {
  Ctrl record;
  record.m_properties = "A=1\r\nB=2\r\n";
  EXPECT_STREQ("2", Get(record, "B").GetText());
  EXPECT_STREQ("", Get(record, "b").GetText());
  EXPECT_STREQ("", SDialogEditor::GetProperty(nullptr, "A").GetText());

  EXPECT_TRUE(SDialogEditor::SetProperty(&record, "C", "x"));
  EXPECT_TRUE(SDialogEditor::SetProperty(&record, "A", "longer value"));
  EXPECT_TRUE(SDialogEditor::SetProperty(&record, "B", ""));
  EXPECT_STREQ("A=longer value\r\nB=\r\nC=x\r\n", record.m_properties.GetText());

  // A value holding "=" reads back whole; the first line of a key wins.
  record.m_properties = "K=a=b=c\r\nK=second\r\n";
  EXPECT_STREQ("a=b=c", Get(record, "K").GetText());
  EXPECT_TRUE(SDialogEditor::SetProperty(&record, "K", "x=y"));
  EXPECT_STREQ("K=x=y\r\nK=second\r\n", record.m_properties.GetText());
}

TEST(ControlProperties, ALastLineWithoutLineBreakIsReplacedNotGluedTo) {
  Ctrl record;
  record.m_properties = "A=1";
  EXPECT_TRUE(SDialogEditor::SetProperty(&record, "A", "2"));
  EXPECT_STREQ("A=2", record.m_properties.GetText());
  EXPECT_TRUE(SDialogEditor::SetProperty(&record, "B", "3"));
  EXPECT_STREQ("A=2\r\nB=3\r\n", record.m_properties.GetText());
  EXPECT_STREQ("2", Get(record, "A").GetText());

  // Empty lines and lines without "=" do not stop the search.
  record.m_properties = "junk\r\n\r\nA=1\r\n";
  EXPECT_TRUE(SDialogEditor::SetProperty(&record, "A", "9"));
  EXPECT_STREQ("junk\r\n\r\nA=9\r\n", record.m_properties.GetText());

  // Reading and writing split lines the same way.
  record.m_properties = "A=1\nB=2\r\n";
  EXPECT_STREQ("2", Get(record, "B").GetText());
  EXPECT_TRUE(SDialogEditor::SetProperty(&record, "B", "5"));
  EXPECT_STREQ("5", Get(record, "B").GetText());
  EXPECT_STREQ("A=1\nB=5\r\n", record.m_properties.GetText());
}

TEST(ControlProperties, WhatTheTextCouldNotCarryIsRefused) {
  Ctrl record;
  record.m_properties = "A=1\r\n";
  const char* const badKeys[] = {nullptr, "", "A=B", "A\r", "\nA", "ID", "CAPTION", "ISLOCKED"};
  for (const char* key : badKeys) {
    EXPECT_FALSE(SDialogEditor::SetProperty(&record, key, "1")) << (key ? key : "null");
  }
  for (const char* value : {"two\r\nlines", "lone\n", "\r"}) {
    EXPECT_FALSE(SDialogEditor::SetProperty(&record, "A", value));
  }
  EXPECT_FALSE(SDialogEditor::SetProperty(nullptr, "A", "1"));
  EXPECT_STREQ("A=1\r\n", record.m_properties.GetText());
  // Lower-case and padded forms of the own keys are ordinary keys.
  EXPECT_TRUE(SDialogEditor::SetProperty(&record, "id", "5"));
  EXPECT_TRUE(SDialogEditor::SetProperty(&record, "[X]", "[=]"));
  EXPECT_TRUE(SDialogEditor::SetProperty(&record, "N", nullptr));
  EXPECT_STREQ("A=1\r\nid=5\r\n[X]=[=]\r\nN=\r\n", record.m_properties.GetText());
}

TEST(ControlProperties, NumbersFlagsAndDoublesReadThroughTheRuntime) {
  Ctrl record;
  EXPECT_TRUE(SDialogEditor::SetPropertyInt(&record, "N", -42));
  EXPECT_TRUE(SDialogEditor::SetPropertyInt(&record, "F", 1));
  EXPECT_TRUE(SDialogEditor::SetProperty(&record, "D", "2.5"));
  EXPECT_TRUE(SDialogEditor::SetProperty(&record, "T", "abc"));
  EXPECT_TRUE(SDialogEditor::SetProperty(&record, "Z", "0"));
  EXPECT_STREQ("N=-42\r\nF=1\r\nD=2.5\r\nT=abc\r\nZ=0\r\n", record.m_properties.GetText());
  EXPECT_EQ(-42, SDialogEditor::GetPropertyInt(&record, "N"));
  EXPECT_TRUE(SDialogEditor::GetPropertyBool(&record, "N"));
  EXPECT_TRUE(SDialogEditor::GetPropertyBool(&record, "F"));
  EXPECT_FALSE(SDialogEditor::GetPropertyBool(&record, "Z"));
  EXPECT_FALSE(SDialogEditor::GetPropertyBool(&record, "T"));
  EXPECT_FALSE(SDialogEditor::GetPropertyBool(&record, "MISSING"));
  EXPECT_EQ(0, SDialogEditor::GetPropertyInt(&record, "T"));
  EXPECT_DOUBLE_EQ(2.5, SDialogEditor::GetPropertyDouble(&record, "D"));
  EXPECT_DOUBLE_EQ(0.0, SDialogEditor::GetPropertyDouble(&record, "MISSING"));
  EXPECT_EQ(0, SDialogEditor::GetPropertyInt(nullptr, "N"));
}

TEST(ControlProperties, ColoursAndDrawModesReadInTheirForms) {
  Ctrl record;
  struct Case {
    const char* value;
    COLORREF expected;
  };
  const Case cases[] = {
      {"-16777216", SImage::COLOR_NONE},                       // no colour
      {"-33554424", ::GetSysColor(COLOR_WINDOWTEXT)},  // 0xFE000000 + 8
      {"-16777215", SImage::COLOR_HOLLOW},                       // hollow stays a value
      {"16711680", 0xFF0000},
      {"99999999999", 0x7FFFFFFF},                     // clamped
      {"junk", 0},
      {"#FF0000", 0x0000FF},                           // red first
      {"#80FF0000", 0x80FF0000},                       // the whole value
      {"#FE000008", ::GetSysColor(COLOR_WINDOWTEXT)},
      {"#12345", 0},
      {"", SImage::COLOR_NONE},
  };
  for (const Case& c : cases) {
    record.m_properties = "";
    SDialogEditor::SetProperty(&record, "COLOR", c.value);
    EXPECT_EQ(c.expected, SDialogEditor::GetPropertyColor(&record, "COLOR")) << c.value;
  }
  EXPECT_EQ(SImage::COLOR_NONE, SDialogEditor::GetPropertyColor(&record, "MISSING"));

  // Written as the signed decimal form.
  record.m_properties = "";
  SDialogEditor::SetPropertyInt(&record, "LCD_CELLCOLOR", int(0xFF000000));
  EXPECT_STREQ("LCD_CELLCOLOR=-16777216\r\n", record.m_properties.GetText());

  // The link colour keeps system colours for the builder to convert.
  record.m_properties = "MEDIA_LINKCOLOR=-33554424\r\n";
  EXPECT_EQ(0xFE000008u, SDialogEditor::GetLinkColorProperty(&record));
  // Absent or empty: a black link.
  for (const char* properties : {"", "MEDIA_LINKCOLOR=\r\n"}) {
    record.m_properties = properties;
    EXPECT_EQ(0u, SDialogEditor::GetLinkColorProperty(&record)) << properties;
  }

  // Draw modes are read by their exact names only.
  const std::pair<const char*, int> modes[] = {
      {"_DRAWTOPLEFT", 0}, {"_DRAWMIDDLERIGHT", 4}, {"_DRAWCENTER", 8}, {"_DRAWFITZOOM", 12},
      {"_drawfit", 0},     {"_DRAWFIT ", 0},        {"8", 0}};
  for (const auto& mode : modes) {
    record.m_properties = "";
    SDialogEditor::SetProperty(&record, "MODE", mode.first);
    EXPECT_EQ(mode.second, SDialogEditor::GetPropertyDrawMode(&record, "MODE")) << mode.first;
  }
}
