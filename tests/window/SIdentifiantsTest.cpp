#include "core/Platform.h"
#include "window/SIdentifiants.h"

#include "window/SCursor.h"

#include <gtest/gtest.h>

namespace {

const struct {
  const char* name;
  int value;
} kCursors[] = {
    {"Arrow", 0},     {"AppStarting", 1}, {"Cross", 2},  {"Help", 4},      {"IBeam", 5},
    {"No", 6},        {"SizeAll", 7},     {"SizeNESW", 8}, {"SizeNS", 9},  {"SizeNWSE", 10},
    {"SizeWE", 11},   {"UpArrow", 12},    {"Wait", 13},  {"Dropper", 16},  {"Fill", 17},
    {"HandMove", 18}, {"Pen", 19},        {"Zoom", 20},
};

const struct {
  const char* name;
  int value;
} kColors[] = {
    {"3DDkShadow", 21},           {"3DFace", 15},        {"3DHighLight", 20},
    {"3DLight", 22},              {"3DShadow", 16},      {"ActiveBorder", 10},
    {"ActiveCaption", 2},         {"AppWorkspace", 12},  {"Background", 1},
    {"BtnText", 18},              {"CaptionText", 9},    {"GradientActiveCaption", 27},
    {"GradientInactiveCaption", 28}, {"GrayText", 17},   {"HighLight", 13},
    {"HighLightText", 14},        {"HotLight", 26},      {"InactiveBorder", 11},
    {"InactiveCaption", 3},       {"InactiveCaptionText", 19}, {"InfoBk", 24},
    {"InfoText", 23},             {"Menu", 4},           {"MenuHiLight", 29},
    {"MenuBar", 30},              {"MenuText", 7},       {"ScrollBar", 0},
    {"Window", 5},                {"WindowFrame", 6},    {"WindowText", 8},
};

// Name to value and value to name through the paired lists.
template <class Table>
void ExpectResolvesBothWays(const Table& table, SArray<int>& values, SStringArray& names) {
  ASSERT_EQ((int)(sizeof(table) / sizeof(table[0])), values.GetCount());
  ASSERT_EQ(values.GetCount(), names.GetCount());
  int i = 0;
  for (const auto& row : table) {
    // In the given order.
    EXPECT_STREQ(row.name, names.Get(i).GetText());
    EXPECT_EQ(row.value, values[i]);
    ++i;
    int byName = names.Find(row.name);
    ASSERT_NE(-1, byName) << row.name;
    EXPECT_EQ(row.value, values[byName]) << row.name;
    int byValue = values.Find(row.value);
    ASSERT_NE(-1, byValue) << row.value;
    EXPECT_STREQ(row.name, names.Get(byValue).GetText());
  }
}

TEST(SIdentifiantsTest, CursorNamesResolveBothWays) {
  SIdentifiants ids;
  ExpectResolvesBothWays(kCursors, ids.m_cursorValues, ids.m_cursorNames);
  // The unnamed kinds.
  EXPECT_EQ(-1, ids.m_cursorValues.Find(3));
  EXPECT_EQ(-1, ids.m_cursorValues.Find(14));
  EXPECT_EQ(-1, ids.m_cursorValues.Find(15));
  // A name leads to the framework cursor of its kind.
  int ibeam = ids.m_cursorValues[ids.m_cursorNames.Find("IBeam")];
  EXPECT_EQ(::LoadCursorA(nullptr, IDC_IBEAM), GetFrameworkCursor(ibeam));
}

TEST(SIdentifiantsTest, SystemColourNamesResolveBothWays) {
  SIdentifiants ids;
  ExpectResolvesBothWays(kColors, ids.m_colorValues, ids.m_colorNames);
  // The values are GetSysColor indexes.
  int face = ids.m_colorValues[ids.m_colorNames.Find("3DFace")];
  EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), ::GetSysColor(face));
}

TEST(SIdentifiantsTest, ProcessWideInstanceIsFilled) {
  ExpectResolvesBothWays(kCursors, g_identifiants.m_cursorValues, g_identifiants.m_cursorNames);
  ExpectResolvesBothWays(kColors, g_identifiants.m_colorValues, g_identifiants.m_colorNames);
  // Adding the names again appends a second copy.
  SIdentifiants ids;
  ids.AddStandardNames();
  EXPECT_EQ(36, ids.m_cursorNames.GetCount());
  EXPECT_EQ(60, ids.m_colorValues.GetCount());
}

}  // namespace
