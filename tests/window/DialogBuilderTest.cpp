#include "core/Platform.h"
#include "window/ControlKinds.h"
#include "window/SDialog.h"

#include "core/SFileMem.h"
#include "window/ControlFactory.h"
#include "window/SComboCtrl.h"
#include "window/SControlBarCtrl.h"
#include "window/SMenu.h"
#include "window/SStatusBarCtrl.h"
#include "window/SToolBarCtrl.h"
#include "tests/window/DialogTestSupport.h"
#include "tests/window/PaintSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

typedef SDialogEditor E;

// A dialog that writes down the records it is asked for, the framework
// messages it receives and hands out the objects the test gives it.
class ProbeDialog : public SDialog {
public:
  SWnd* CreateCustomControl(int type, const SDialogEditor::_SCtrl* record) override {
    asked.push_back(record->GetName().GetText());
    auto it = supplies.find(record->GetName().GetText());
    if (it == supplies.end()) return SDialog::CreateCustomControl(type, record);
    SWnd* given = it->second;
    supplies.erase(it);
    return given;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == SWM_MENUCOMMAND) menuCommands.push_back(int(lParam));
    if (message == SWM_DIALOGCREATED) created.push_back(lParam);
    if (message == SWM_BUTTONCLICKED && m_modalRunning) {
      SWnd* start = GetControl("BTN_START");
      if (start && reinterpret_cast<SWnd*>(wParam) == start) SetModalResult(start->GetId());
    }
    return SDialog::WindowProc(message, wParam, lParam);
  }
  std::vector<std::string> asked;
  std::map<std::string, SWnd*> supplies;
  std::vector<int> menuCommands;
  std::vector<LPARAM> created;
};

bool Build(SDialog& dialog, const std::string& text, SResource* archive = nullptr,
           bool keepHidden = true, HWND parent = nullptr, bool popup = true) {
  SFileMem file(text.c_str());
  return dialog.Create(&file, parent, popup, nullptr, nullptr, nullptr, nullptr, keepHidden,
                       archive, reinterpret_cast<void*>(0x1234));
}

RECT Client(SWnd& wnd) {
  RECT rect = {};
  ::GetClientRect(wnd.m_hWnd, &rect);
  return rect;
}

SWnd* ConstructTabProbe() { return new SWnd; }
const SDialogControlClass kTabProbe = {ConstructTabProbe, nullptr, nullptr};

}  // namespace

TEST(DialogBuilderTest, PlayerDialogFromTheProgramResource) {
  SFileMem file("BINARY", 129);
  ASSERT_TRUE(file.IsOpen());
  ProbeDialog dialog;
  ASSERT_TRUE(dialog.Create(&file, nullptr, true, nullptr, nullptr, nullptr, nullptr, false,
                            nullptr, nullptr));
  EXPECT_STREQ("Player Identity", dialog.GetText().GetText());
  EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd));
  EXPECT_EQ(310, Client(dialog).right);
  EXPECT_EQ(285, Client(dialog).bottom);

  struct Expected {
    const char* name;
    int id;
    int kind;
  };
  typedef ControlKinds K;
  const Expected expected[] = {{"COMBO_PLAYER", 8, K::KIND_COMBO},
                               {"GROUP2", 11, K::KIND_GROUP},
                               {"COMBO_DIFFICULTY", 9, K::KIND_COMBO},
                               {"MEDIA1", 10, K::KIND_MEDIA},
                               {"BTN_START", 3, K::KIND_BUTTON}};
  ASSERT_EQ(5, dialog.m_controls.GetCount());
  for (const Expected& e : expected) {
    SWnd* control = dialog.GetControl(e.name);
    ASSERT_NE(nullptr, control) << e.name;
    EXPECT_EQ(control, dialog.GetControlById(e.id)) << e.name;
    EXPECT_EQ(e.kind, control->m_kind) << e.name;
  }
  SWnd* player = dialog.GetControl("COMBO_PLAYER");
  SWnd* difficulty = dialog.GetControl("COMBO_DIFFICULTY");
  ASSERT_EQ(4, int(player->SendMessage(CB_GETCOUNT)));
  EXPECT_EQ("Player 4", ComboText(player, 3));
  ASSERT_EQ(4, int(difficulty->SendMessage(CB_GETCOUNT)));
  EXPECT_EQ("Offline", ComboText(difficulty, 0));
  EXPECT_EQ("Hard", ComboText(difficulty, 3));
  EXPECT_EQ(0, dialog.GetControl("MEDIA1")->GetText().Find("You cannot record"));
  EXPECT_EQ(player->m_hWnd, ::GetFocus());
  EXPECT_EQ(std::vector<LPARAM>{0}, dialog.created);

  // Escape cancels, Enter confirms; the derived dialog ends its run on Start.
  for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
    ModalGuard guard(&dialog);
    ::PostMessageA(player->m_hWnd, WM_KEYDOWN, key, 0);
    EXPECT_EQ(key == VK_ESCAPE ? -1 : 0, dialog.RunModal(0, 0));
  }
  {
    ModalGuard guard(&dialog);
    ::PostMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(3, BN_CLICKED),
                   reinterpret_cast<LPARAM>(dialog.GetControl("BTN_START")->m_hWnd));
    EXPECT_EQ(3, dialog.RunModal(0, 0));
  }
}

TEST(DialogBuilderTest, DialogRecordAloneGivesTheWindowAndItsOptions) {
  ProbeDialog dialog;
  ASSERT_TRUE(
      Build(dialog, DialogText({DialogSection(
                        "250 120", {"DIALOG_NOCLOSE=1", "DIALOG_DRAGFILES=1", "DIALOG_MINSIZE=1",
                                    "DIALOG_MOVEWITHMOUSE=1", "DIALOG_NOMODALRETURN=1",
                                    "DIALOG_IMAGEDRAWMODE=_DRAWCENTER", "DIALOG_ICON=icon.png",
                                    "BACKCOLOR=#102030"})})));
  EXPECT_EQ(250, Client(dialog).right);
  EXPECT_EQ(120, Client(dialog).bottom);
  EXPECT_FALSE(::IsWindowVisible(dialog.m_hWnd));
  EXPECT_EQ("VANDRO2", ClassOf(dialog.m_hWnd));
  EXPECT_TRUE(StyleOf(dialog.m_hWnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_EQ(dialog.GetHeight(), dialog.m_minHeight);
  EXPECT_TRUE(dialog.m_moveWithMouse);
  EXPECT_FALSE(dialog.IsModalKeyEnabled(true));
  // Without an archive the icon is left out, the draw mode is still kept.
  EXPECT_EQ(nullptr, dialog.m_icon);
  EXPECT_EQ(8, dialog.m_backgroundImage.m_drawMode);
  EXPECT_EQ(0x00302010u, dialog.m_backColor);
  EXPECT_EQ(std::vector<LPARAM>{0x1234}, dialog.created);

  // A child of a parent when not asked for a popup; a popup without parent.
  SDialog child, popupWithoutParent;
  std::string text = DialogText({DialogSection("100 100")});
  ASSERT_TRUE(Build(child, text, nullptr, true, dialog.m_hWnd, false));
  EXPECT_TRUE(StyleOf(child.m_hWnd) & WS_CHILD);
  EXPECT_EQ(dialog.m_hWnd, ::GetParent(child.m_hWnd));
  ASSERT_TRUE(Build(popupWithoutParent, text, nullptr, true, nullptr, false));
  EXPECT_TRUE(StyleOf(popupWithoutParent.m_hWnd) & WS_POPUP);
}

TEST(DialogBuilderTest, TabRecordsAreCreatedInReverseOrder) {
  bool registered = RegisterDialogControlClass(E::TYPE_TAB, &kTabProbe);
  auto tab = [](int id, const std::string& name) {
    return Section("TAB", id, name, "0 0 50 50", {"STYLE=WS_VISIBLE "});
  };
  ProbeDialog dialog;
  bool built = Build(
      dialog, DialogText({DialogSection("300 200"), ButtonSection(1, "b1", "0 0 9 9"), tab(2, "A"),
                          ButtonSection(3, "b3", "0 0 9 9"), ButtonSection(4, "b4", "0 0 9 9"),
                          tab(5, "B"), ButtonSection(6, "b6", "0 0 9 9"), tab(7, "C")}));
  if (registered) RegisterDialogControlClass(E::TYPE_TAB, nullptr);
  EXPECT_TRUE(built);
  EXPECT_EQ((std::vector<std::string>{"b1", "C", "b3", "b4", "B", "b6", "A"}), dialog.asked);
  EXPECT_EQ(7u, dialog.m_controlIds[1]);
}

TEST(DialogBuilderTest, TabOrderComesFromTheTabKeys) {
  SDialog dialog;
  ASSERT_TRUE(Build(
      dialog,
      DialogText(
          {DialogSection("300 200"), ButtonSection(1, "noIndex", "0 0 9 9", {"TABENABLED=1"}),
           ButtonSection(2, "keep", "0 0 9 9", {"TABENABLED=1", "TABINDEX=-1", "TABGROUP=-5"}),
           ButtonSection(3, "set", "0 0 9 9", {"TABENABLED=1", "TABINDEX=7", "TABGROUP=2"}),
           ButtonSection(4, "negative", "0 0 9 9", {"TABENABLED=1", "TABINDEX=-3"}),
           ButtonSection(5, "off", "0 0 9 9", {"TABINDEX=9"})})));
  const struct {
    const char* name;
    int index, group;
  } expected[] = {{"noIndex", 0, 0},
                  {"keep", 1, -1},
                  {"set", 7, 2},
                  {"negative", 0, 0},
                  {"off", 4, -1}};  // "keep" and "off": their place among the children
  for (const auto& e : expected) {
    EXPECT_EQ(e.index, dialog.GetControl(e.name)->m_tabIndex) << e.name;
    EXPECT_EQ(e.group, dialog.GetControl(e.name)->m_tabGroup) << e.name;
  }
}

TEST(DialogBuilderTest, OnlyDialogFocusGivesAControlTheFocus) {
  // Without the key no control is focused, not even one whose id is 0.
  for (const char* focus : {"DIALOG_NOCLOSE=0", "DIALOG_FOCUS=5"}) {
    SDialog dialog;
    ASSERT_TRUE(
        Build(dialog,
              DialogText({DialogSection("100 100", {focus}), ButtonSection(0, "zero", "0 0 9 9"),
                          ButtonSection(5, "five", "0 20 9 9")}),
              nullptr, false));
    bool named = std::string(focus) == "DIALOG_FOCUS=5";
    EXPECT_NE(dialog.GetControl("zero")->m_hWnd, ::GetFocus()) << focus;
    EXPECT_EQ(named, dialog.GetControl("five")->m_hWnd == ::GetFocus()) << focus;
  }
}

TEST(DialogBuilderTest, StatusBarTextsGivePartsOfTheRecordWidth) {
  SDialog dialog;
  ASSERT_TRUE(Build(
      dialog, DialogText({DialogSection("300 200", {"DIALOG_STATUSBARTEXT= Ready | \"a|b\" "})})));
  SStatusBarCtrl* bar = dialog.m_statusBar;
  ASSERT_NE(nullptr, bar);
  int ends[4] = {};
  ASSERT_EQ(2, int(bar->SendMessage(SB_GETPARTS, 4, reinterpret_cast<LPARAM>(ends))));
  EXPECT_EQ(150, ends[0]);
  EXPECT_EQ(-1, ends[1]);
  char text[32] = {};
  bar->SendMessage(SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ("Ready", text);
  bar->SendMessage(SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ("\"a|b\"", text);
  EXPECT_EQ(200 + bar->GetHeight(), dialog.GetClientHeight());
}

TEST(DialogBuilderTest, MenuToolbarAndIconComeFromTheArchiveButNotOnALayer) {
  SFileMem png;
  WritePng(&png, 16, 16, 0xFF00FF00);
  SFileMem menu(
      "VANDRO MENU 1.0.0.0\r\n[]\r\ncount=2\r\n[0]\r\ncount=1\r\n[0:0]\r\ntext=File\r\n"
      "menu=1\r\n[1]\r\ncount=1\r\n[1:0]\r\nid=100\r\ntext=Open\r\n");
  SFileMem toolbar(
      "VANDRO TOOLBAR 1.0.0.0\r\n[]\r\ncount=1\r\n[0]\r\ntext=Go\r\nimage=icon.png\r\n");
  TestArchive archive({{"icon.png", &png}, {"menu.txt", &menu}, {"bar.txt", &toolbar}});
  ASSERT_TRUE(archive.IsOpen());
  ProbeDialog dialog;
  ASSERT_TRUE(
      Build(dialog,
            DialogText({DialogSection("300 200", {"DIALOG_MENU=menu.txt", "DIALOG_TOOLBAR=bar.txt",
                                                  "DIALOG_ICON=icon.png", "DIALOG_IMAGE=icon.png"}),
                        ButtonSection(1, "B", "10 10 80 25")}),
            archive.Get()));
  ASSERT_EQ(2, dialog.m_menus.GetCount());
  EXPECT_EQ(dialog.m_menus[0]->m_hMenu, ::GetMenu(dialog.m_hWnd));
  ASSERT_NE(nullptr, dialog.m_toolBar);
  EXPECT_EQ(1, ::ImageList_GetImageCount(dialog.m_toolBarImages.GetHandle()));
  int bar = dialog.m_controlBar->GetHeight();
  EXPECT_GT(bar, 0);
  EXPECT_EQ(200 + bar, Client(dialog).bottom);
  EXPECT_EQ(10 + bar, PositionIn(dialog.GetControl("B")->m_hWnd, dialog.m_hWnd).y);
  EXPECT_EQ(reinterpret_cast<LRESULT>(dialog.m_icon), dialog.SendMessage(WM_GETICON, ICON_BIG));
  EXPECT_NE(nullptr, dialog.m_icon);
  EXPECT_NE(nullptr, dialog.m_backgroundImage.GetBitmap());
  // A chosen menu item reaches the dialog as its command.
  dialog.SendMessage(WM_MENUCOMMAND, 0, reinterpret_cast<LPARAM>(dialog.m_menus[1]->m_hMenu));
  EXPECT_EQ(std::vector<int>{100}, dialog.menuCommands);
  ::DestroyWindow(dialog.m_hWnd);
  EXPECT_EQ(0, dialog.m_menus.GetCount());
  EXPECT_EQ(nullptr, dialog.m_icon);

  // A layered dialog has no frame, menu or bars.
  SDialog layered;
  ASSERT_TRUE(Build(layered,
                    DialogText({Section("DIALOG", 0, "Dialog", "0 0 200 100",
                                        {"STYLE=WS_VISIBLE WS_CAPTION WS_SYSMENU WS_SIZEBOX ",
                                         "EXSTYLE=WS_EX_CLIENTEDGE WS_EX_TOOLWINDOW ",
                                         "DIALOG_LAYER=1", "DIALOG_MENU=menu.txt",
                                         "DIALOG_TOOLBAR=bar.txt", "DIALOG_STATUSBARTEXT=a|b"})}),
                    archive.Get()));
  EXPECT_EQ(0, layered.m_menus.GetCount());
  EXPECT_EQ(nullptr, layered.m_statusBar);
  EXPECT_EQ(nullptr, layered.m_controlBar);
  EXPECT_EQ(0u, StyleOf(layered.m_hWnd) & (WS_CAPTION | WS_SYSMENU | WS_SIZEBOX));
  EXPECT_EQ(
      WS_EX_TOOLWINDOW | WS_EX_LAYERED,
      StyleOf(layered.m_hWnd, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW | WS_EX_LAYERED));
}

TEST(DialogBuilderTest, AlignmentFollowsTheParentsSize) {
  SDialog dialog;
  ASSERT_TRUE(
      Build(dialog, DialogText({DialogSection("300 200"),
                                ButtonSection(1, "moved", "10 20 80 25", {"HALIGN=2", "VALIGN=32"}),
                                ButtonSection(2, "still", "10 60 80 25")})));
  EXPECT_EQ(0x22u, dialog.GetControl("moved")->m_alignMask);
  dialog.SetClientSize(340, 230);
  POINT moved = PositionIn(dialog.GetControl("moved")->m_hWnd, dialog.m_hWnd);
  EXPECT_EQ(50, moved.x);
  EXPECT_EQ(50, moved.y);
  EXPECT_EQ(10, PositionIn(dialog.GetControl("still")->m_hWnd, dialog.m_hWnd).x);
}

TEST(DialogBuilderTest, FailingControlFailsTheBuildWithoutLeaksOrDoubleDestruction) {
  CountedButton::s_destroyed = 0;
  RefusingButton::s_destroyed = 0;
  {
    ProbeDialog dialog;
    dialog.supplies["one"] = new CountedButton;
    dialog.supplies["two"] = new CountedButton;
    dialog.supplies["bad"] = new RefusingButton;
    dialog.supplies["never"] = new CountedButton;
    EXPECT_FALSE(Build(
        dialog, DialogText({DialogSection("300 200"), ButtonSection(1, "one", "0 0 9 9"),
                            ButtonSection(2, "two", "0 0 9 9"), ButtonSection(3, "bad", "0 0 9 9"),
                            ButtonSection(4, "never", "0 0 9 9")})));
    EXPECT_EQ(1, RefusingButton::s_destroyed);
    EXPECT_EQ(0, CountedButton::s_destroyed);
    EXPECT_EQ(2, dialog.m_controls.GetCount());
    EXPECT_NE(nullptr, dialog.m_hWnd);
    delete dialog.supplies["never"];
    dialog.supplies.clear();
  }
  EXPECT_EQ(3, CountedButton::s_destroyed);
  EXPECT_EQ(1, RefusingButton::s_destroyed);

  // A type without a class fails the same way.
  SDialog dialog;
  EXPECT_FALSE(
      Build(dialog, DialogText({DialogSection("300 200"), ButtonSection(1, "one", "0 0 9 9"),
                                Section("FLASH", 2, "f", "0 0 9 9")})));
  EXPECT_EQ(1, dialog.m_controls.GetCount());
  EXPECT_FALSE(Build(dialog, "VANDRO DIALOG 1.0.0.1\r\n"));
  SFileMem empty;
  EXPECT_FALSE(SDialog::CreateFromText(nullptr, &dialog, nullptr, true, nullptr, nullptr, nullptr,
                                       nullptr, true, nullptr, nullptr));
  EXPECT_FALSE(SDialog::CreateFromText(&empty, nullptr, nullptr, true, nullptr, nullptr, nullptr,
                                       nullptr, true, nullptr, nullptr));
}
