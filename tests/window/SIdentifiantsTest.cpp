#include "core/Platform.h"
#include "window/SIdentifiants.h"

#include "window/SCursor.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace {

struct Row {
  const char* name;
  int value;
};

// The table holds count pairs; these rows are found at their index, by
// name and by value.
void ExpectResolvesBothWays(std::initializer_list<std::pair<int, Row>> rows, int count,
                            SArray<int>& values, SStringArray& names) {
  ASSERT_EQ(count, values.GetCount());
  ASSERT_EQ(count, names.GetCount());
  for (const auto& indexed : rows) {
    const Row& row = indexed.second;
    EXPECT_STREQ(row.name, names.Get(indexed.first).GetText());
    EXPECT_EQ(row.value, values[indexed.first]);
    int byName = names.Find(row.name);
    ASSERT_NE(-1, byName) << row.name;
    EXPECT_EQ(row.value, values[byName]) << row.name;
    int byValue = values.Find(row.value);
    ASSERT_NE(-1, byValue) << row.value;
    EXPECT_STREQ(row.name, names.Get(byValue).GetText());
  }
}

void ExpectStandardNames(SIdentifiants& ids) {
  // Cursors in kind order, without the unnamed kinds 3 (hand), 14 and 15.
  ExpectResolvesBothWays({{0, {"Arrow", 0}}, {3, {"Help", 4}}, {4, {"IBeam", 5}},
                          {12, {"Wait", 13}}, {13, {"Dropper", 16}}, {17, {"Zoom", 20}}},
                         18, ids.m_cursorValues, ids.m_cursorNames);
  for (int unnamed : {3, 14, 15}) EXPECT_EQ(-1, ids.m_cursorValues.Find(unnamed));
  // System colours by name, valued as GetSysColor indexes.
  ExpectResolvesBothWays({{0, {"3DDkShadow", 21}}, {1, {"3DFace", 15}},
                          {11, {"GradientActiveCaption", 27}}, {23, {"MenuHiLight", 29}},
                          {26, {"ScrollBar", 0}}, {29, {"WindowText", 8}}},
                         30, ids.m_colorValues, ids.m_colorNames);
}

}  // namespace

TEST(SIdentifiantsTest, CursorAndColourNamesResolveBothWays) {
  SIdentifiants ids;
  ExpectStandardNames(ids);
  ExpectStandardNames(g_identifiants);
  // A name leads to the framework cursor of its kind.
  int ibeam = ids.m_cursorValues[ids.m_cursorNames.Find("IBeam")];
  EXPECT_EQ(::LoadCursorA(nullptr, IDC_IBEAM), GetFrameworkCursor(ibeam));
  // Adding the names again appends a second copy.
  ids.AddStandardNames();
  EXPECT_EQ(36, ids.m_cursorNames.GetCount());
  EXPECT_EQ(60, ids.m_colorValues.GetCount());
}
