#include "core/Platform.h"
#include "window/ToolbarFile.h"

#include "core/SFileMem.h"
#include "window/SControlBarCtrl.h"
#include "window/SDialog.h"
#include "window/SToolBarCtrl.h"
#include "tests/window/DialogTestSupport.h"
#include "tests/window/PaintSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Toolbar(std::initializer_list<const char*> lines) {
  std::string text = "VANDRO TOOLBAR 1.0.0.0\r\n";
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

class ToolbarFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(BuildDialog(dialog, DialogText({DialogSection("300 200")})));
    ASSERT_TRUE(dialog.CreateControlBar());
  }

  bool Load(const std::string& text, SResource* archive = nullptr,
            SMenuIdResolver resolver = nullptr, void* arg = nullptr) {
    SFileMem file(text.c_str());
    return LoadToolbarFile(&dialog, &file, nullptr, arg, archive, resolver);
  }

  int ButtonCount() { return int(dialog.m_toolBar->SendMessage(TB_BUTTONCOUNT)); }
  TBBUTTON Button(int index) {
    TBBUTTON button = {};
    dialog.m_toolBar->SendMessage(TB_GETBUTTON, WPARAM(index), reinterpret_cast<LPARAM>(&button));
    return button;
  }
  std::string Text(int id) {
    char text[64] = {};
    dialog.m_toolBar->SendMessage(TB_GETBUTTONTEXTA, WPARAM(id), reinterpret_cast<LPARAM>(text));
    return text;
  }

  SDialog dialog;
};

int ResolveByName(void* arg, const char* name) {
  ++*static_cast<int*>(arg);
  return std::string(name) == "save" ? 500 : std::string(name) == "line" ? 77 : 0;
}

}  // namespace

TEST_F(ToolbarFileTest, ButtonsGetTheirIdsStatesAndSeparators) {
  ASSERT_TRUE(Load(Toolbar({"[]", "width=20", "height=18", "count=5", "[0]", "text=Open", "data=7",
                            "[1]", "separator=1", "[2]", "text=Save", "[3]", "TEXT=Quit",
                            "Disabled=1", "[4]", "text=Flag", "separator=true"})));
  ASSERT_NE(nullptr, dialog.m_toolBar);
  EXPECT_EQ(dialog.m_controlBar->m_hWnd, ::GetParent(dialog.m_toolBar->m_hWnd));
  EXPECT_EQ(1, int(dialog.m_controlBar->SendMessage(RB_GETBANDCOUNT)));
  EXPECT_TRUE(StyleOf(dialog.m_toolBar->m_hWnd) & TBSTYLE_TRANSPARENT);
  int width = 0, height = 0;
  ASSERT_TRUE(::ImageList_GetIconSize(dialog.m_toolBarImages.GetHandle(), &width, &height));
  EXPECT_EQ(20, width);
  EXPECT_EQ(18, height);

  ASSERT_EQ(5, ButtonCount());
  TBBUTTON open = Button(0), separator = Button(1), save = Button(2), quit = Button(3),
           flag = Button(4);
  EXPECT_EQ(-2, open.idCommand);
  EXPECT_EQ(7u, open.dwData);
  EXPECT_EQ(BTNS_AUTOSIZE | BTNS_SHOWTEXT, open.fsStyle);
  EXPECT_EQ(TBSTATE_ENABLED, open.fsState & (TBSTATE_ENABLED | TBSTATE_HIDDEN));
  EXPECT_EQ(-1, open.iBitmap);
  EXPECT_EQ("Open", Text(-2));
  EXPECT_EQ(BTNS_SEP, separator.fsStyle & BTNS_SEP);
  EXPECT_EQ(0, separator.idCommand);
  EXPECT_EQ(-4, save.idCommand);
  // Section and key names are found in any case.
  EXPECT_EQ(-5, quit.idCommand);
  EXPECT_EQ("Quit", Text(-5));
  EXPECT_EQ(0, quit.fsState & TBSTATE_ENABLED);
  // Only "1" makes a separator.
  EXPECT_EQ(0, flag.fsStyle & BTNS_SEP);
  EXPECT_EQ(-6, flag.idCommand);

  // A resolver gives ids to buttons and separators; its 0 falls back to -2 - i.
  int asked = 0;
  ASSERT_TRUE(Load(Toolbar({"[]", "count=3", "[0]", "name=save", "text=Save", "[1]", "name=line",
                            "separator=1", "[2]", "name=other", "text=Other"}),
                   nullptr, ResolveByName, &asked));
  EXPECT_EQ(3, asked);
  ASSERT_EQ(3, ButtonCount());
  EXPECT_EQ(500, Button(0).idCommand);
  EXPECT_EQ(77, Button(1).idCommand);
  EXPECT_EQ(-4, Button(2).idCommand);
}

TEST_F(ToolbarFileTest, ImagesComeFromTheArchiveWithoutSlotsForMissingEntries) {
  SFileMem red, blue;
  WritePng(&red, 16, 16, 0xFFFF0000);
  WritePng(&blue, 16, 16, 0xFF0000FF);
  TestArchive archive({{"red.png", &red}, {"blue.png", &blue}});
  ASSERT_TRUE(archive.IsOpen());
  ASSERT_TRUE(Load(Toolbar({"[]", "width=16", "height=16", "count=4", "[0]", "image=red.png",
                            "text=A", "[1]", "image=missing.png", "text=B", "[2]", "separator=1",
                            "image=red.png", "[3]", "image=blue.png", "text=C"}),
                   archive.Get()));
  // The separator's image takes a slot that no button shows.
  EXPECT_EQ(3, ::ImageList_GetImageCount(dialog.m_toolBarImages.GetHandle()));
  EXPECT_EQ(0, Button(0).iBitmap);
  EXPECT_EQ(-1, Button(1).iBitmap);
  EXPECT_EQ(2, Button(3).iBitmap);
}

TEST_F(ToolbarFileTest, FailuresLeaveTheDialogWithoutToolbarOrImages) {
  // An empty tool bar still makes its band.
  ASSERT_TRUE(Load(Toolbar({"[]", "count=0"})));
  EXPECT_EQ(0, ButtonCount());
  EXPECT_EQ(1, int(dialog.m_controlBar->SendMessage(RB_GETBANDCOUNT)));
  ASSERT_NE(nullptr, dialog.m_toolBarImages.GetHandle());

  // A wrong magic line (a trailing blank counts) releases the old tool bar
  // and its images exactly once: the handle is cleared when destroyed.
  EXPECT_FALSE(Load("VANDRO TOOLBAR 1.0.0.0 \r\n[]\r\ncount=1\r\n"));
  EXPECT_EQ(nullptr, dialog.m_toolBar);
  EXPECT_EQ(nullptr, dialog.m_toolBarImages.GetHandle());
  // A count beyond what a tool bar holds is refused; the most it holds load.
  std::string most = "count=" + std::to_string(MAX_TOOLBAR_BUTTONS);
  std::string over = "count=" + std::to_string(MAX_TOOLBAR_BUTTONS + 1);
  EXPECT_FALSE(Load(Toolbar({"[]", over.c_str()})));
  EXPECT_EQ(nullptr, dialog.m_toolBar);
  EXPECT_TRUE(Load(Toolbar({"[]", most.c_str()})));
  EXPECT_EQ(int(MAX_TOOLBAR_BUTTONS), ButtonCount());
  SFileMem none;
  EXPECT_FALSE(LoadToolbarFile(&dialog, nullptr));
  EXPECT_FALSE(LoadToolbarFile(nullptr, &none));
  // Loading again after a failure works.
  EXPECT_TRUE(Load(Toolbar({"[]", "count=1", "[0]", "text=B"})));
  EXPECT_EQ(1, ButtonCount());

  // Without a control bar nothing is read.
  SDialog bare;
  ASSERT_TRUE(BuildDialog(bare, DialogText({DialogSection("300 200")})));
  SFileMem file(Toolbar({"[]", "count=1"}).c_str());
  EXPECT_FALSE(LoadToolbarFile(&bare, &file));
  EXPECT_EQ(0, file.Tell());
  EXPECT_EQ(nullptr, bare.m_toolBar);
}
