#include "core/Platform.h"
#include "window/SDialog.h"

#include "core/SFileMem.h"
#include "window/SButtonCtrl.h"
#include "window/SControlBarCtrl.h"
#include "window/SDialogEditor.h"
#include "window/SStatusBarCtrl.h"
#include "tests/window/DialogTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

typedef SDialogEditor::_SCtrl Record;

void Click(SDialog& dialog, const char* name) {
  SWnd* button = dialog.GetControl(name);
  ASSERT_NE(nullptr, button);
  ::PostMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(button->GetId(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button->m_hWnd));
}

}  // namespace

TEST(SDialogTest, AttachedControlsAreFoundByExactNameAndIdWithTheirFonts) {
  SDialog dialog;
  ASSERT_TRUE(BuildDialog(dialog, DialogText({DialogSection("300 200")})));
  Record first, second;
  first.m_name = second.m_name = "X";
  first.m_id = 0xFFFF;
  second.m_id = 2;
  second.m_fontName = "Arial";
  second.m_fontSize = 12;
  second.m_fontStyle = 1;
  SWnd* a = new SWnd;
  SButtonCtrl* b = new SButtonCtrl;
  RECT rect = {0, 0, 50, 20};
  ASSERT_TRUE(b->CreateButton(WS_VISIBLE, "Bold", 0, &rect, dialog.m_hWnd, nullptr));
  EXPECT_FALSE(dialog.AttachControl(nullptr, &first));
  EXPECT_TRUE(dialog.AttachControl(a, &first));
  EXPECT_TRUE(dialog.AttachControl(b, &second));

  EXPECT_EQ(a, dialog.GetControl("X")) << "the first of a name";
  EXPECT_EQ(nullptr, dialog.GetControl("x"));
  EXPECT_EQ(a, dialog.GetControlById(-1)) << "id 0xFFFF is kept as -1";
  EXPECT_EQ(b, dialog.GetControlById(2));
  ASSERT_NE(nullptr, dialog.m_controlFonts[1]);
  EXPECT_EQ(reinterpret_cast<LRESULT>(dialog.m_controlFonts[1]), b->SendMessage(WM_GETFONT));
  LOGFONTA font = {};
  ::GetObjectA(dialog.m_controlFonts[1], sizeof(font), &font);
  EXPECT_EQ(700, font.lfWeight);
}

TEST(SDialogTest, ButtonsNamedOkAndCancelEndTheModalRun) {
  SDialog dialog;
  ASSERT_TRUE(BuildDialog(
      dialog, DialogText({DialogSection("300 200"), ButtonSection(1, "OK", "10 10 80 25"),
                          ButtonSection(2, "CANCEL", "100 10 80 25"),
                          ButtonSection(3, "ok", "190 10 80 25")})));
  {
    ModalGuard guard(&dialog);
    Click(dialog, "OK");
    EXPECT_EQ(0, dialog.RunModal(0, 0));
  }
  {
    ModalGuard guard(&dialog);
    Click(dialog, "ok");  // not a confirming name
    Click(dialog, "CANCEL");
    EXPECT_EQ(-1, dialog.RunModal(0, 0));
  }
  // Outside a modal run a click on OK changes nothing.
  dialog.m_modalResult = 5;
  Click(dialog, "OK");
  DrainMessages();
  EXPECT_EQ(5, dialog.m_modalResult);
}

TEST(SDialogTest, BarsAddTheirHeightAndMoveOnlyTheDirectChildControls) {
  SDialog dialog;
  ASSERT_TRUE(BuildDialog(
      dialog, DialogText({DialogSection("400 200"), ButtonSection(1, "B", "10 40 80 25"),
                          Section("WINDOW", 2, "W", "100 40 150 100")})));
  SButtonCtrl* inner = new SButtonCtrl;
  RECT rect = {5, 6, 60, 26};
  SWnd* page = dialog.GetControl("W");
  ASSERT_TRUE(inner->CreateButton(WS_VISIBLE, "in", 0, &rect, page->m_hWnd, nullptr));
  Record innerRecord;
  innerRecord.m_name = "IN";
  dialog.AttachControl(inner, &innerRecord);

  ASSERT_TRUE(dialog.CreateControlBar());
  EXPECT_FALSE(dialog.CreateControlBar());
  SWnd band;
  RECT bandRect = {0, 0, 100, 30};
  ASSERT_TRUE(band.Create("", WS_CHILD | WS_VISIBLE, 0, &bandRect, dialog.m_hWnd));
  dialog.AddBand(&band, 100, 30);
  DrainMessages();
  EXPECT_EQ(dialog.m_controlBar->m_hWnd, ::GetParent(band.m_hWnd));
  int bar = dialog.m_controlBar->GetHeight();
  ASSERT_GE(bar, 30);
  EXPECT_EQ(200 + bar, dialog.GetClientHeight());
  EXPECT_EQ(40 + bar, PositionIn(dialog.GetControl("B")->m_hWnd, dialog.m_hWnd).y);
  EXPECT_EQ(40 + bar, PositionIn(page->m_hWnd, dialog.m_hWnd).y);
  EXPECT_EQ(6, PositionIn(inner->m_hWnd, page->m_hWnd).y);

  // The status bar adds its height.
  ASSERT_TRUE(dialog.CreateStatusBar(3));
  EXPECT_FALSE(dialog.CreateStatusBar(2));
  EXPECT_EQ(200 + bar + dialog.m_statusBar->GetHeight(), dialog.GetClientHeight());

  // Destroying the window releases the controls and bars; the dialog can be
  // built again.
  ASSERT_TRUE(::DestroyWindow(dialog.m_hWnd));
  EXPECT_EQ(0, dialog.m_controls.GetCount());
  EXPECT_EQ(0, dialog.m_controlNames.GetCount());
  EXPECT_EQ(nullptr, dialog.m_statusBar);
  EXPECT_EQ(nullptr, dialog.m_controlBar);
  EXPECT_TRUE(BuildDialog(dialog, DialogText({DialogSection("300 200")})));
}
