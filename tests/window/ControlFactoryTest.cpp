#include "core/Platform.h"
#include "window/ControlKinds.h"
#include "window/ControlFactory.h"

#include "core/SFileMem.h"
#include "window/SComboCtrl.h"
#include "window/SDialog.h"
#include "window/SEditCtrl.h"
#include "window/SListCtrl.h"
#include "window/SMediaCtrl.h"
#include "window/SToolBarCtrl.h"
#include "window/ToolbarFile.h"
#include "tests/window/DialogTestSupport.h"
#include "tests/window/PaintSupport.h"
#include "tests/window/RecordingWnd.h"

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

  static std::string ClassOf(SWnd* control) { return ::ClassOf(control->m_hWnd); }
  static DWORD StyleOf(SWnd* control) { return ::StyleOf(control->m_hWnd); }

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
    const char* className;
  };
  const Row rows[] = {
      {E::TYPE_BUTTON, "Button"},
      {E::TYPE_COMBO, "ComboBox"},
      {E::TYPE_EDIT, "Edit"},
      {E::TYPE_GROUP, "Button"},
      {E::TYPE_LIST, "ListBox"},
      {E::TYPE_MEDIA, "VANDRO"},
      {E::TYPE_TOOLBAR, "ToolbarWindow32"},
      {E::TYPE_WINDOW, "VANDRO"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.type);
    auto record = Make(row.type);
    record->m_left = 30000;
    record->m_width = 10000;  // the right edge is computed in 16 bits
    SWnd* control = Build(record.get());
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(ControlKinds::KindOfType(row.type), control->m_kind);
    EXPECT_STRCASEEQ(row.className, ClassOf(control).c_str());
    EXPECT_EQ(parent.m_hWnd, ::GetParent(control->m_hWnd));
    EXPECT_EQ(5, ::GetDlgCtrlID(control->m_hWnd));
    EXPECT_STREQ("C", control->m_name.GetText());
  }
  EXPECT_TRUE(StyleOf(controls[3].get()) & BS_GROUPBOX);
  EXPECT_STREQ("Caption", controls[3]->GetText().GetText());
  EXPECT_TRUE(StyleOf(controls[6].get()) & TBSTYLE_FLAT);
}

TEST_F(ControlFactoryTest, TypesWithoutClassGiveNullAndDesignModeHides) {
  // A type of the editor library, which nothing registered here, the dialog
  // and types beyond the table.
  for (int type : {E::TYPE_CODEEDIT, E::TYPE_DIALOG, E::TYPE_COUNT}) {
    auto record = Make(type);
    EXPECT_EQ(nullptr, Build(record.get())) << type;
  }
  auto button = Make(E::TYPE_BUTTON);
  EXPECT_EQ(nullptr, CreateDialogControl(nullptr, button.get(), nullptr, true, nullptr));
  EXPECT_EQ(nullptr, CreateDialogControl(parent.m_hWnd, nullptr, nullptr, true, nullptr));

  // Design mode hides and makes edits multiline.
  auto edit = Make(E::TYPE_EDIT);
  SWnd* design = Build(edit.get(), nullptr, false);
  ASSERT_NE(nullptr, design);
  EXPECT_FALSE(StyleOf(design) & WS_VISIBLE);
  EXPECT_TRUE(StyleOf(design) & ES_MULTILINE);
  SWnd* run = Build(edit.get(), nullptr, true);
  ASSERT_NE(nullptr, run);
  EXPECT_FALSE(StyleOf(run) & ES_MULTILINE);
}

TEST_F(ControlFactoryTest, ComboItemsComeFromTheFileEntryThenTheContent) {
  auto record =
      Make(E::TYPE_COMBO, {"COMBO_FILE=items.txt", "COMBO_CONTENT=Offline|Easy| Normal |Hard"});
  record->m_style |= CBS_DROPDOWNLIST;
  SComboCtrl* plain = static_cast<SComboCtrl*>(Build(record.get()));
  ASSERT_NE(nullptr, plain);
  ASSERT_EQ(4, int(plain->SendMessage(CB_GETCOUNT)));
  EXPECT_EQ("Normal", ComboText(plain, 2)) << "items are trimmed";

  SFileMem items("First\r\n\r\n  Second  \r\n");
  TestArchive archive({{"items.txt", &items}});
  ASSERT_TRUE(archive.IsOpen());
  SWnd* withFile = Build(record.get(), archive.Get());
  ASSERT_NE(nullptr, withFile);
  ASSERT_EQ(6, int(withFile->SendMessage(CB_GETCOUNT)));
  EXPECT_EQ("Second", ComboText(withFile, 1));
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
  // Empty entries give one separator before the next button, none at the end.
  EXPECT_TRUE(buttons[0].fsStyle & BTNS_SEP);
  EXPECT_EQ(0, buttons[1].idCommand);
  EXPECT_TRUE(buttons[2].fsStyle & BTNS_SEP);
  EXPECT_EQ(1, buttons[3].idCommand);
  EXPECT_EQ(1, buttons[3].iBitmap);
  char text[16] = {};
  toolBar->SendMessage(TB_GETBUTTONTEXTA, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ("Save", text);

  // A hostile content is cut at what a tool bar holds.
  std::string many = "TOOLBAR_CONTENT=";
  for (int i = 0; i < 3000; ++i) many += "b|";
  auto crowded = Make(E::TYPE_TOOLBAR, {many.c_str()});
  SWnd* full = Build(crowded.get());
  ASSERT_NE(nullptr, full);
  EXPECT_EQ(int(MAX_TOOLBAR_BUTTONS), int(full->SendMessage(TB_BUTTONCOUNT)));
}

TEST_F(ControlFactoryTest, ColoursAndPropertiesOfWindowsEditsListsAndMedia) {
  auto window = Make(E::TYPE_WINDOW);
  EXPECT_EQ(0x00FFFFFFu, Build(window.get())->m_backColor);
  window->m_transparent = true;
  EXPECT_EQ(SImage::COLOR_HOLLOW, Build(window.get())->m_backColor);
  window->m_transparent = false;
  window->m_backColor = 0xFE000000 + COLOR_HIGHLIGHT;
  EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), Build(window.get())->m_backColor);

  auto edit = Make(E::TYPE_EDIT, {"EDIT_MAXLENGTH=16", "EDIT_NOPOPUPMENU=1", "TOOLTIP=Tip"});
  SEditCtrl* editCtrl = static_cast<SEditCtrl*>(Build(edit.get()));
  ASSERT_NE(nullptr, editCtrl);
  EXPECT_FALSE(editCtrl->m_popupMenu);
  EXPECT_EQ(16, int(editCtrl->SendMessage(EM_GETLIMITTEXT)));
  EXPECT_STREQ("Tip", editCtrl->m_toolTipText.GetText());

  auto list = Make(E::TYPE_LIST, {"LIST_CONTENT=a|b", "LIST_SELBACKCOLOR=255"});
  SListCtrl* listCtrl = static_cast<SListCtrl*>(Build(list.get()));
  ASSERT_NE(nullptr, listCtrl);
  EXPECT_EQ(2, listCtrl->GetCount());
  EXPECT_EQ(255u, listCtrl->m_selBackColor);

  // The rich text view takes ARGB colours; no link colour keeps the view's.
  auto media = Make(E::TYPE_MEDIA,
                    {"MEDIA_LINKCOLOR=-16777216", "MEDIA_HALIGN=_CENTER", "MEDIA_VALIGN=_BOTTOM"});
  media->m_textColor = 0x000000FF;  // red
  SMediaCtrl* view = static_cast<SMediaCtrl*>(Build(media.get()));
  ASSERT_NE(nullptr, view);
  EXPECT_EQ(SMediaCtrl().m_linkColor, view->m_linkColor);
  EXPECT_EQ(0xFEFF0000u, view->m_textColor);
  EXPECT_EQ(0x21, view->m_alignment);

  // Automatic scrolling loops as the flag says, also when it says no.
  for (const char* loop : {"MEDIA_AUTOSCROLLLOOP=0", "MEDIA_AUTOSCROLLLOOP=1"}) {
    auto scrolling = Make(E::TYPE_MEDIA, {"MEDIA_AUTOSCROLLY=5", loop});
    SMediaCtrl* scroller = static_cast<SMediaCtrl*>(Build(scrolling.get()));
    ASSERT_NE(nullptr, scroller);
    EXPECT_EQ(loop[21] == '1', scroller->m_loop) << loop;
  }
}

TEST_F(ControlFactoryTest, DialogSuppliedObjectsAreUsedOrDestroyedOnce) {
  SupplyingDialog dialog;
  auto button = Make(E::TYPE_BUTTON);
  CountedButton* counted = new CountedButton;
  dialog.next = counted;
  EXPECT_EQ(counted, Build(button.get(), nullptr, true, &dialog));
  EXPECT_EQ(std::vector<int>{E::TYPE_BUTTON}, dialog.asked);
  EXPECT_EQ(ControlKinds::KIND_BUTTON, counted->m_kind);

  RefusingButton::s_destroyed = 0;
  auto window = Make(E::TYPE_WINDOW);
  dialog.next = new RefusingButton;
  EXPECT_EQ(nullptr, Build(window.get(), nullptr, true, &dialog));
  EXPECT_EQ(1, RefusingButton::s_destroyed);

  // An object for a type without a class cannot be made into a control.
  auto check = Make(E::TYPE_CHECK);
  dialog.next = new RefusingButton;
  EXPECT_EQ(nullptr, Build(check.get(), nullptr, true, &dialog));
  EXPECT_EQ(2, RefusingButton::s_destroyed);
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
  EXPECT_EQ(1, Registered::s_configured);
  EXPECT_FALSE(Registered::s_runMode);
  EXPECT_EQ(nullptr, FindDialogControlClass(E::TYPE_CODEEDIT));
  EXPECT_EQ(nullptr, Build(record.get()));
}
