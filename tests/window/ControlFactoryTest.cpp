#include "core/Platform.h"
#include "window/ControlFactory.h"

#include "core/SFileMem.h"
#include "window/SComboCtrl.h"
#include "window/SDialog.h"
#include "window/SEditCtrl.h"
#include "window/SListCtrl.h"
#include "window/SMediaCtrl.h"
#include "window/SToolBarCtrl.h"
#include "tests/window/DialogTestSupport.h"
#include "tests/window/PaintSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

typedef SDialogEditor E;
typedef SDialogEditor::_SCtrl Record;

class ControlFactoryTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rect = {0, 0, 400, 300};
    ASSERT_TRUE(parent.Create("parent", WS_POPUP, 0, &rect));
  }

  // A record of the type with id 5, name "C", a caption and the properties.
  std::unique_ptr<Record> Make(int type, std::initializer_list<const char*> properties = {}) {
    std::unique_ptr<Record> record(new Record);
    record->m_type = int16_t(type);
    record->m_id = 5;
    record->m_name = "C";
    record->m_caption = "Caption";
    record->m_style = WS_VISIBLE;
    for (const char* line : properties) {
      std::string text(line);
      size_t equals = text.find('=');
      SDialogEditor::SetProperty(record.get(), text.substr(0, equals).c_str(),
                                 text.substr(equals + 1).c_str());
    }
    return record;
  }

  // The control of the record in run mode, owned by the test.
  SWnd* Build(const Record* record, SResource* archive = nullptr, bool runMode = true,
              SDialog* dialog = nullptr) {
    SWnd* control = CreateDialogControl(parent.m_hWnd, record, archive, runMode, dialog);
    if (control) controls.emplace_back(control);
    return control;
  }

  static std::string ClassOf(SWnd* control) {
    char name[64] = {};
    ::GetClassNameA(control->m_hWnd, name, sizeof(name));
    return name;
  }
  static DWORD StyleOf(SWnd* control) { return DWORD(::GetWindowLongA(control->m_hWnd, GWL_STYLE)); }

  SWnd parent;
  std::vector<std::unique_ptr<SWnd>> controls;
};

// A dialog that hands out the objects the test gives it, and counts asks.
class SupplyingDialog : public SDialog {
public:
  SWnd* CreateCustomControl(int type, const SDialogEditor::_SCtrl*) override {
    asked.push_back(type);
    SWnd* given = next;
    next = nullptr;
    return given;
  }
  SWnd* next = nullptr;
  std::vector<int> asked;
};

// A window whose creation is refused by its own after-create answer.
class RefusingWnd : public SWnd {
public:
  ~RefusingWnd() override { ++s_destroyed; }
  bool OnMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override {
    if (message == SWM_AFTERCREATE) {
      result = 1;
      return false;
    }
    return SWnd::OnMessage(message, wParam, lParam, result);
  }
  static inline int s_destroyed = 0;
};

// A registered class for the tests.
struct Registered : SWnd {
  static inline int s_configured = 0;
  static inline bool s_runMode = false;
};
SWnd* ConstructRegistered() { return new Registered; }
void ConfigureRegistered(SWnd*, const Record*, SResource*, bool runMode) {
  ++Registered::s_configured;
  Registered::s_runMode = runMode;
}
const SDialogControlClass kRegisteredClass = {ConstructRegistered, ConfigureRegistered, nullptr};

}  // namespace

TEST_F(ControlFactoryTest, ToolkitTypesGetTheirClassKindAndWindow) {
  struct Row {
    int type;
    int kind;
    const char* className;
  };
  const Row rows[] = {
      {E::TYPE_BUTTON, 4, "Button"},           {E::TYPE_COMBO, 9, "ComboBox"},
      {E::TYPE_EDIT, 12, "Edit"},              {E::TYPE_GROUP, 16, "Button"},
      {E::TYPE_LIST, 23, "ListBox"},           {E::TYPE_MEDIA, 26, "VANDRO"},
      {E::TYPE_TOOLBAR, 43, "ToolbarWindow32"}, {E::TYPE_WINDOW, 0, "VANDRO"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.type);
    auto record = Make(row.type);
    record->m_left = 30000;
    record->m_width = 10000;  // the right edge is computed in 16 bits
    SWnd* control = Build(record.get());
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(row.kind, control->m_kind);
    EXPECT_STRCASEEQ(row.className, ClassOf(control).c_str());
    EXPECT_TRUE(StyleOf(control) & WS_CHILD);
    EXPECT_EQ(parent.m_hWnd, ::GetParent(control->m_hWnd));
    EXPECT_EQ(5, ::GetDlgCtrlID(control->m_hWnd));
    EXPECT_EQ(5, control->m_recordId);
    EXPECT_STREQ("C", control->m_name.GetText());
  }
  EXPECT_TRUE(StyleOf(controls[3].get()) & BS_GROUPBOX);
  EXPECT_STREQ("Caption", controls[3]->GetText().GetText());
  EXPECT_TRUE(StyleOf(controls[6].get()) & TBSTYLE_FLAT);
  EXPECT_TRUE(StyleOf(controls[6].get()) & CCS_NODIVIDER);
}

TEST_F(ControlFactoryTest, TypesWithoutClassGiveNull) {
  // Types whose classes are not part of the toolkit yet, and the types of
  // the designer and editor libraries, which nothing registered here.
  const int missing[] = {E::TYPE_BINARY,     E::TYPE_BROWSER,   E::TYPE_CHECK,
                         E::TYPE_CODEEDIT,   E::TYPE_EXTENDEDLIST, E::TYPE_FLASH,
                         E::TYPE_GRAPH,      E::TYPE_GUI,       E::TYPE_IMAGEEDITOR,
                         E::TYPE_LABEL,      E::TYPE_LCD,       E::TYPE_LEVEL,
                         E::TYPE_MEDIAPLAYER, E::TYPE_PANEL,    E::TYPE_PROGRESS,
                         E::TYPE_PROPERTY,   E::TYPE_RADIO,     E::TYPE_RICHEDIT,
                         E::TYPE_SCROLL,     E::TYPE_SLIDER,    E::TYPE_SPLITTER,
                         E::TYPE_SPREAD,     E::TYPE_STATIC,    E::TYPE_TAB,
                         E::TYPE_TABDOC,     E::TYPE_TREE,      E::TYPE_WAVEEDITOR,
                         E::TYPE_EXTERN};
  for (int type : missing) {
    SCOPED_TRACE(type);
    auto record = Make(type);
    EXPECT_EQ(nullptr, Build(record.get()));
  }
  auto dialogRecord = Make(E::TYPE_DIALOG);
  EXPECT_EQ(nullptr, Build(dialogRecord.get()));
  auto beyond = Make(E::TYPE_COUNT);
  EXPECT_EQ(nullptr, Build(beyond.get()));
  auto button = Make(E::TYPE_BUTTON);
  EXPECT_EQ(nullptr, CreateDialogControl(nullptr, button.get(), nullptr, true, nullptr));
  EXPECT_EQ(nullptr, CreateDialogControl(parent.m_hWnd, nullptr, nullptr, true, nullptr));
}

TEST_F(ControlFactoryTest, DesignModeHidesAndMakesEditsMultiline) {
  auto edit = Make(E::TYPE_EDIT);
  SWnd* design = Build(edit.get(), nullptr, false);
  ASSERT_NE(nullptr, design);
  EXPECT_FALSE(StyleOf(design) & WS_VISIBLE);
  EXPECT_TRUE(StyleOf(design) & ES_MULTILINE);
  SWnd* run = Build(edit.get(), nullptr, true);
  ASSERT_NE(nullptr, run);
  EXPECT_TRUE(StyleOf(run) & WS_VISIBLE);
  EXPECT_FALSE(StyleOf(run) & ES_MULTILINE);
}

TEST_F(ControlFactoryTest, ComboItemsComeFromTheFileEntryThenTheContent) {
  auto record = Make(E::TYPE_COMBO, {"COMBO_FILE=items.txt",
                                     "COMBO_CONTENT=Offline|Easy| Normal |Hard"});
  record->m_style |= CBS_DROPDOWNLIST;
  SComboCtrl* plain = static_cast<SComboCtrl*>(Build(record.get()));
  ASSERT_NE(nullptr, plain);
  ASSERT_EQ(4, int(plain->SendMessage(CB_GETCOUNT)));
  const char* expected[] = {"Offline", "Easy", "Normal", "Hard"};
  for (int i = 0; i < 4; ++i) {
    char text[32] = {};
    plain->SendMessage(CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(expected[i], text);
  }

  SFileMem items("First\r\n\r\n  Second  \r\n");
  TestArchive archive({{"items.txt", &items}});
  ASSERT_TRUE(archive.IsOpen());
  SWnd* withFile = Build(record.get(), archive.Get());
  ASSERT_NE(nullptr, withFile);
  ASSERT_EQ(6, int(withFile->SendMessage(CB_GETCOUNT)));
  char text[32] = {};
  withFile->SendMessage(CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ("Second", text);
}

TEST_F(ControlFactoryTest, ToolbarContentMakesButtonsAndPendingSeparators) {
  auto record = Make(E::TYPE_TOOLBAR, {"TOOLBAR_CONTENT=|Open|||Save|", "TOOLBAR_IMAGEWIDTH=0"});
  SWnd* toolBar = Build(record.get());
  ASSERT_NE(nullptr, toolBar);
  ASSERT_EQ(4, int(toolBar->SendMessage(TB_BUTTONCOUNT)));
  TBBUTTON buttons[4] = {};
  for (int i = 0; i < 4; ++i) {
    toolBar->SendMessage(TB_GETBUTTON, WPARAM(i), reinterpret_cast<LPARAM>(&buttons[i]));
  }
  EXPECT_TRUE(buttons[0].fsStyle & BTNS_SEP);
  EXPECT_EQ(0, buttons[1].idCommand);
  EXPECT_EQ(0, buttons[1].iBitmap);
  EXPECT_TRUE(buttons[2].fsStyle & BTNS_SEP);
  EXPECT_EQ(1, buttons[3].idCommand);
  EXPECT_EQ(1, buttons[3].iBitmap);
  EXPECT_EQ(BTNS_AUTOSIZE | BTNS_SHOWTEXT, buttons[3].fsStyle);
}

TEST_F(ControlFactoryTest, ColoursOfWindowsEditsListsAndMedia) {
  auto window = Make(E::TYPE_WINDOW);
  EXPECT_EQ(0x00FFFFFFu, Build(window.get())->m_backColor);
  window->m_transparent = true;
  EXPECT_EQ(0xFF000001u, Build(window.get())->m_backColor);
  window->m_transparent = false;
  window->m_backColor = 0xFE000000 + COLOR_HIGHLIGHT;
  EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), Build(window.get())->m_backColor);

  auto edit = Make(E::TYPE_EDIT, {"EDIT_MAXLENGTH=16", "EDIT_NOPOPUPMENU=1"});
  edit->m_textColor = 0x00102030;
  SEditCtrl* editCtrl = static_cast<SEditCtrl*>(Build(edit.get()));
  ASSERT_NE(nullptr, editCtrl);
  EXPECT_EQ(0x00102030u, editCtrl->m_textColor);
  EXPECT_FALSE(editCtrl->m_popupMenu);
  EXPECT_EQ(16, int(editCtrl->SendMessage(EM_GETLIMITTEXT)));

  auto list = Make(E::TYPE_LIST, {"LIST_CONTENT=a|b", "LIST_SELBACKCOLOR=255"});
  list->m_backColor = 0x00112233;
  SListCtrl* listCtrl = static_cast<SListCtrl*>(Build(list.get()));
  ASSERT_NE(nullptr, listCtrl);
  EXPECT_EQ(2, listCtrl->GetCount());
  EXPECT_EQ(0x00112233u, listCtrl->m_backColor);
  EXPECT_EQ(255u, listCtrl->m_selBackColor);

  auto media = Make(E::TYPE_MEDIA, {"MEDIA_LINKCOLOR=-16777216", "MEDIA_HALIGN=_CENTER",
                                    "MEDIA_VALIGN=_BOTTOM", "MEDIA_WRAPPING=1"});
  media->m_textColor = 0x000000FF;  // red
  SMediaCtrl* view = static_cast<SMediaCtrl*>(Build(media.get()));
  ASSERT_NE(nullptr, view);
  SMediaCtrl fresh;
  EXPECT_EQ(fresh.m_linkColor, view->m_linkColor);
  EXPECT_EQ(0xFEFF0000u, view->m_textColor);
  EXPECT_EQ(0x21, view->m_alignment);
  EXPECT_TRUE(view->m_wrapping);
  auto black = Make(E::TYPE_MEDIA);
  EXPECT_EQ(0xFE000000u, static_cast<SMediaCtrl*>(Build(black.get()))->m_linkColor);
}

TEST_F(ControlFactoryTest, TooltipIsSet) {
  auto record = Make(E::TYPE_BUTTON, {"TOOLTIP=Starts the game"});
  SWnd* button = Build(record.get());
  ASSERT_NE(nullptr, button);
  EXPECT_STREQ("Starts the game", button->m_toolTipText.GetText());
}

TEST_F(ControlFactoryTest, DialogSuppliedObjectsAreUsedOrDestroyedOnce) {
  SupplyingDialog dialog;
  auto button = Make(E::TYPE_BUTTON);
  CountedButton* counted = new CountedButton;
  dialog.next = counted;
  EXPECT_EQ(counted, Build(button.get(), nullptr, true, &dialog));
  EXPECT_EQ(std::vector<int>{E::TYPE_BUTTON}, dialog.asked);
  EXPECT_EQ(4, counted->m_kind);

  RefusingWnd::s_destroyed = 0;
  auto window = Make(E::TYPE_WINDOW);
  dialog.next = new RefusingWnd;
  EXPECT_EQ(nullptr, Build(window.get(), nullptr, true, &dialog));
  EXPECT_EQ(1, RefusingWnd::s_destroyed);

  // An object for a type without a class cannot be made into a control.
  auto check = Make(E::TYPE_CHECK);
  dialog.next = new RefusingWnd;
  EXPECT_EQ(nullptr, Build(check.get(), nullptr, true, &dialog));
  EXPECT_EQ(2, RefusingWnd::s_destroyed);
}

TEST_F(ControlFactoryTest, RegisteredClassesAreMadeAsFrameworkWindows) {
  EXPECT_FALSE(RegisterDialogControlClass(E::TYPE_BUTTON, &kRegisteredClass));
  EXPECT_FALSE(RegisterDialogControlClass(0, &kRegisteredClass));
  EXPECT_FALSE(RegisterDialogControlClass(E::TYPE_COUNT, &kRegisteredClass));
  ASSERT_TRUE(RegisterDialogControlClass(E::TYPE_CODEEDIT, &kRegisteredClass));
  EXPECT_EQ(&kRegisteredClass, FindDialogControlClass(E::TYPE_CODEEDIT));

  Registered::s_configured = 0;
  auto record = Make(E::TYPE_CODEEDIT);
  SWnd* control = Build(record.get(), nullptr, false);
  EXPECT_TRUE(RegisterDialogControlClass(E::TYPE_CODEEDIT, nullptr));
  ASSERT_NE(nullptr, control);
  EXPECT_NE(nullptr, dynamic_cast<Registered*>(control));
  EXPECT_EQ("VANDRO", ClassOf(control));
  EXPECT_EQ("", std::string(control->GetText().GetText() ? control->GetText().GetText() : ""));
  EXPECT_EQ(1, Registered::s_configured);
  EXPECT_FALSE(Registered::s_runMode);
  EXPECT_EQ(nullptr, FindDialogControlClass(E::TYPE_CODEEDIT));
  EXPECT_EQ(nullptr, Build(record.get()));
}

TEST(DialogColorTest, SystemColoursAreLookedUp) {
  EXPECT_EQ(0xFF000000u, DecodeDialogColor(0xFF000000));
  EXPECT_EQ(0x00123456u, DecodeDialogColor(0x00123456));
  EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), DecodeDialogColor(0xFE000000 + COLOR_WINDOWTEXT));
}
