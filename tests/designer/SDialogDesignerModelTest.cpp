#include "core/Platform.h"
#include "DesignerTestSupport.h"

#include "window/SDialog.h"

namespace {

// A button, a group box, a drop-down combo 100 pixels high, a tab showing
// page 0 with HIDDEN on page 1 and BOTH on pages 0 and 1, and FREE listed by
// no tab though it lies on the tab.
std::string HitText() {
  return DialogText(
      Section("BUTTON", 1, "BUTTON1", 10, 10, 80, 25) +
      Section("GROUP", 2, "GROUP1", 100, 10, 150, 100) +
      Section("BUTTON", 3, "INGROUP", 120, 40, 60, 20) +
      Section("COMBO", 4, "COMBO1", 10, 150, 100, 100, "WS_VISIBLE CBS_DROPDOWN ") +
      Section("TAB", 5, "TAB1", 200, 150, 150, 100, "WS_VISIBLE ",
              "TAB_CONTENT=One|Two\r\nTAB_SELECTION=0\r\nTAB_CHILDREN_PRIVATE=1 7 0 8 1 8 \r\n") +
      Section("BUTTON", 7, "HIDDEN", 210, 180, 40, 20) +
      Section("BUTTON", 8, "BOTH", 260, 180, 40, 20) +
      Section("BUTTON", 9, "FREE", 310, 180, 30, 20));
}

}  // namespace

TEST_F(DesignerTest, HitTestsAndTabPagesFollowFramesEditPartsAndMembership) {
  ASSERT_TRUE(Load(HitText()));
  // Design points; the design area starts at client (22, 22).
  struct Case {
    int x, y;
    const char* hit;  // "" for the dialog record, nullptr for nothing
  } cases[] = {
      {15, 15, "BUTTON1"}, {89, 34, "BUTTON1"},  {90, 35, ""},   {105, 50, "GROUP1"},
      {105, 15, "GROUP1"}, {240, 105, "GROUP1"}, {115, 35, ""},  {125, 45, "INGROUP"},
      {15, 160, "COMBO1"}, {15, 173, "COMBO1"},  {15, 174, ""},  {220, 185, "TAB1"},
      {270, 185, "BOTH"},  {315, 185, "FREE"},   {399, 299, ""}, {400, 300, nullptr},
      {500, 20, nullptr},
  };
  for (const Case& c : cases) {
    Ctrl* hit = m_designer.HitTest({c.x + 22, c.y + 22});
    if (!c.hit) {
      EXPECT_EQ(nullptr, hit) << c.x << "," << c.y;
    } else if (!*c.hit) {
      EXPECT_EQ(m_designer.m_dialog, hit) << c.x << "," << c.y;
    } else {
      ASSERT_NE(nullptr, hit) << c.x << "," << c.y;
      EXPECT_STREQ(c.hit, hit->m_name.GetText()) << c.x << "," << c.y;
    }
  }
  // With page 1 shown HIDDEN is hit; a control no tab lists never hides.
  Ctrl* tab = Named("TAB1");
  SDialogDesigner::SetProperty(tab, "TAB_SELECTION", "1");
  EXPECT_STREQ("HIDDEN", m_designer.HitTest({222 + 10, 202 + 5})->m_name.GetText());
  EXPECT_STREQ("BOTH", m_designer.HitTest({282 + 10, 202 + 5})->m_name.GetText());
  EXPECT_STREQ("FREE", m_designer.HitTest({332 + 5, 202 + 5})->m_name.GetText());
  // Membership of the tab's pages keeps only pairs that still mean something.
  ASSERT_TRUE(Load(HitText()));
  tab = Named("TAB1");
  auto pairs = [&] { return SDialogDesigner::GetProperty(tab, "TAB_CHILDREN_PRIVATE"); };
  m_designer.SetSelection(tab);
  m_designer.SetTabPageMember(0, Named("FREE"), true);
  EXPECT_EQ(SString("1 7 0 8 1 8 0 9 "), pairs());
  // Page 2 of a tab of two pages: nothing is stored for it.
  m_designer.SetTabPageMember(2, Named("BUTTON1"), true);
  EXPECT_EQ(SString("1 7 0 8 1 8 0 9 "), pairs());
  m_designer.SetTabPageMember(1, Named("BOTH"), false);
  EXPECT_EQ(SString("1 7 0 8 0 9 "), pairs());
  // A removed control drops out at the next change.
  m_designer.RemoveControl(Named("HIDDEN"), false);
  m_designer.SetTabPageMember(0, Named("BUTTON1"), true);
  EXPECT_EQ(SString("0 8 0 9 0 1 "), pairs());
  EXPECT_EQ(4, m_parent.changes);
  ASSERT_TRUE(Load(HitText()));
  tab = Named("TAB1");
  m_designer.SetSelection(tab);
  int freeIndex = m_designer.m_controls.Find(Named("FREE"));
  // Page 1 (second page), toggle FREE onto it; then show it.
  m_designer.SendMessage(SWM_MENUCOMMAND, 0, 2 * SDialogDesigner::PAGE_COMMAND + 10 + freeIndex);
  m_designer.SendMessage(SWM_MENUCOMMAND, 0, 2 * SDialogDesigner::PAGE_COMMAND + 1);
  EXPECT_EQ(1, SDialogDesigner::GetPropertyInt(tab, "TAB_SELECTION"));
  EXPECT_EQ(SString("1 7 0 8 1 8 1 9 "), pairs());
  SArray<Ctrl*> hidden;
  m_designer.CollectHiddenControls(&hidden);
  EXPECT_EQ(0, hidden.GetCount());
  SDialogDesigner::SetProperty(tab, "TAB_SELECTION", "0");
  m_designer.CollectHiddenControls(&hidden);
  ASSERT_EQ(2, hidden.GetCount());
  EXPECT_EQ(Named("HIDDEN"), hidden[0]);
  EXPECT_EQ(Named("FREE"), hidden[1]);
}

TEST_F(DesignerTest, CoordinatesFollowRulersAndScrollingAndPlacingIsArmedByAnotherValidType) {
  ASSERT_TRUE(Load(HitText()));
  EXPECT_EQ(22, m_designer.ClientToDesignPoint({44, 44}).x);
  POINT origin = m_designer.ClientToDesignPoint({22, 22});
  EXPECT_EQ(0, origin.x);
  EXPECT_EQ(0, origin.y);
  ::SetScrollPos(m_designer.m_hWnd, SB_HORZ, 150, TRUE);
  ::SetScrollPos(m_designer.m_hWnd, SB_VERT, 40, TRUE);
  origin = m_designer.ClientToDesignPoint({22, 22});
  EXPECT_EQ(150, origin.x);
  EXPECT_EQ(40, origin.y);
  RECT client = m_designer.DesignToClient({150, 40, 160, 50});
  EXPECT_EQ(22, client.left);
  EXPECT_EQ(32, client.bottom);
  m_designer.m_rulers = false;
  origin = m_designer.ClientToDesignPoint({0, 0});
  EXPECT_EQ(150, origin.x);
  EXPECT_EQ(40, origin.y);
  EXPECT_TRUE(::IsRectEmpty(&m_designer.m_topRuler));
  struct Case {
    int type;
    bool changed;
    int armed;
  } cases[] = {{0, false, -1}, {37, false, -1}, {-1, false, -1}, {3, true, 3},
               {3, false, 3},  {36, true, 36},  {-1, true, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.changed, m_designer.SetInsertType(c.type)) << c.type;
    EXPECT_EQ(c.armed, m_designer.m_insertType) << c.type;
    EXPECT_EQ(c.armed != -1, m_designer.m_cursor != nullptr) << c.type;
  }
}

namespace {

// A host dialog whose WINDOW records become designers.
class DesignerHostDialog : public SDialog {
public:
  SWnd* CreateCustomControl(int type, const SDialogRecords::_SCtrl*) override {
    return type == SDialogDesigner::TYPE_WINDOW ? new SDialogDesigner : nullptr;
  }
};

}  // namespace

TEST(DesignerInADialog, TheBuilderMakesADesignerThatEditsAText) {
  SFileMem file;
  FillFile(file, DialogText(Section("WINDOW", 1, "DESIGNER", 10, 10, 500, 400)));
  DesignerHostDialog dialog;
  ASSERT_TRUE(SDialog::CreateFromText(&file, &dialog, nullptr, true, nullptr, nullptr, nullptr,
                                      nullptr, true, nullptr, nullptr));
  SDialogDesigner* designer = dynamic_cast<SDialogDesigner*>(dialog.GetControl("DESIGNER"));
  ASSERT_NE(nullptr, designer);
  EXPECT_EQ(unsigned(SDialogDesigner::COMMAND_MASK), designer->m_commandMask);
  std::string text = PlayerDialogText();
  FillFile(file, text);
  ASSERT_TRUE(SDialogDesigner::LoadText(&file, designer));
  EXPECT_EQ(9, designer->m_controls.GetCount());
  EXPECT_EQ(designer->m_dialog, designer->HitTest({22 + 5, 22 + 5}));
  SFileMem saved;
  ASSERT_TRUE(designer->SaveText(&saved));
  EXPECT_EQ(text, FileText(saved));
}
