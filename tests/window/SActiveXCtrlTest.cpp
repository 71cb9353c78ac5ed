#include "core/Platform.h"
#include "window/SBrowserCtrl.h"
#include "window/SFlashCtrl.h"
#include "window/SMediaPlayerCtrl.h"

#include "core/SDisk.h"
#include "core/SFileMem.h"
#include "core/SResource.h"
#include "core/SStringArray.h"
#include "window/SDialog.h"
#include "tests/data/GameArchives.h"
#include "tests/support/TempFolder.h"
#include "tests/window/DialogTestSupport.h"
#include "tests/window/RecordingWnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

const GUID kOther = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

class ActiveXTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rect = {0, 0, 320, 240};
    ASSERT_TRUE(parent.Create("parent", WS_POPUP | WS_VISIBLE, 0, &rect));
  }
  template <class Host>
  bool Make(Host& host) {
    RECT rect = {0, 0, 300, 200};
    return host.Create("", WS_CHILD | WS_VISIBLE, 0, &rect, parent.m_hWnd);
  }
  // Takes the thread's messages until the parent saw the message or the
  // pump ran dry for the given number of rounds.
  void PumpUntil(UINT message, int rounds) {
    for (int i = 0; i < rounds && parent.Count(message) == 0; ++i) {
      DrainMessages();
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
  }
  RecordingWnd parent;
};

// An event through the sink's Invoke with arguments in the call's order
// (they are stored reversed, as COM does).
HRESULT Fire(SOcxEvents* sink, DISPID id, std::vector<VARIANT> arguments) {
  std::reverse(arguments.begin(), arguments.end());
  DISPPARAMS parameters = {arguments.data(), nullptr, UINT(arguments.size()), 0};
  return sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
}

VARIANT Int(long value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

}  // namespace

TEST(SOcxEventsTest, ReferenceRulesAndInterfaces) {
  SOcxEvents sink(nullptr);
  void* out = &sink;
  EXPECT_EQ(E_NOINTERFACE, sink.QueryInterface(kOther, &out));
  EXPECT_EQ(0u, sink.Release()) << "never below 0";
  EXPECT_EQ(S_OK, sink.QueryInterface(IID_IDispatch, &out));
  EXPECT_EQ(static_cast<IDispatch*>(&sink), out);
  EXPECT_EQ(E_INVALIDARG, sink.Invoke(1, IID_NULL, 0, 0, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(S_OK, Fire(&sink, 1, {}));

  SMediaPlayerCtrl::_SEvents player(nullptr);
  EXPECT_EQ(S_OK, player.QueryInterface(ActiveXIds::kMediaPlayerEvents, &out));
  EXPECT_EQ(static_cast<IDispatch*>(&player), out);
}

TEST_F(ActiveXTest, FlashHostFailsCleanlyWhereTheControlIsAbsent) {
  SFlashCtrl flash;
  EXPECT_FALSE(Make(flash));
  EXPECT_EQ(nullptr, flash.m_hWnd);
  EXPECT_EQ(nullptr, flash.m_flash);
  EXPECT_EQ(nullptr, flash.m_library.GetModule());

  // A dialog with a Flash record cannot be built; nothing is left behind.
  int windows = SWnd::GetThreadWindowCount();
  SDialog dialog;
  EXPECT_FALSE(BuildDialog(
      dialog, DialogText({DialogSection("200 200"), Section("FLASH", 4, "FLASH", "0 0 100 100")})));
  if (dialog.m_hWnd) ::DestroyWindow(dialog.m_hWnd);
  EXPECT_EQ(windows, SWnd::GetThreadWindowCount());
}

TEST_F(ActiveXTest, BrowserHostNavigatesAndKeepsOneTemporaryPage) {
  std::unique_ptr<SBrowserCtrl> browser(new SBrowserCtrl);
  ASSERT_TRUE(Make(*browser));
  ASSERT_NE(nullptr, browser->m_browser);
  EXPECT_TRUE(browser->Navigate("about:blank"));
  SFileMem first("<html><body>one</body></html>"), second("<html><body>two</body></html>");
  EXPECT_TRUE(browser->ShowContent(&first));
  std::string firstPage = browser->m_pagePath.GetText();
  EXPECT_TRUE(browser->ShowContent(&second));
  std::string page = browser->m_pagePath.GetText();
  EXPECT_NE(std::string::npos, page.find("vandrobrowser_2_"));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(firstPage.c_str()));
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(page.c_str()));
  browser.reset();
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(page.c_str())) << "deleted with the host";
}

TEST_F(ActiveXTest, BrowserEventsBecomeParentMessages) {
  SBrowserCtrl browser;
  ASSERT_TRUE(Make(browser));
  SBrowserCtrl::_SEvents* sink = browser.m_events;
  ASSERT_NE(nullptr, sink);
  parent.seen.clear();
  EXPECT_EQ(S_OK, Fire(sink, 108, {Int(-1), Int(100)}));
  EXPECT_EQ(0, parent.Count(SWM_BROWSERPROGRESS)) << "progress -1 is ignored";
  EXPECT_EQ(S_OK, Fire(sink, 108, {Int(40), Int(100)}));
  EXPECT_EQ(1, parent.Count(SWM_BROWSERPROGRESS));

  // BeforeNavigate2: (browser, URL, flags, frame, post data, headers, Cancel).
  for (LRESULT answer : {0, 1}) {
    parent.answers[SWM_BROWSERBEFORENAVIGATE] = answer;
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(L"http://127.0.0.1/page");
    VARIANT byRef;
    byRef.vt = VT_BYREF | VT_VARIANT;
    byRef.pvarVal = &url;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT cancelRef;
    cancelRef.vt = VT_BYREF | VT_BOOL;
    cancelRef.pboolVal = &cancel;
    VARIANT none;
    ::VariantInit(&none);
    EXPECT_EQ(S_OK, Fire(sink, 250, {none, byRef, none, none, none, none, cancelRef}));
    EXPECT_EQ(answer ? VARIANT_TRUE : VARIANT_FALSE, cancel);
    ::VariantClear(&url);
  }
  Fire(sink, 271, {});
  EXPECT_EQ(1, parent.Nth(SWM_BROWSERCOMPLETE).lParam) << "a navigation error";
  EXPECT_EQ(WPARAM(&browser), parent.Nth(SWM_BROWSERCOMPLETE).wParam);
}

// The media player plays a sound of the game's archive to its end; the
// parent hears the end, or with the loop flag the restart.
TEST_F(ActiveXTest, MediaPlayerHostPlaysASoundOfTheDataSet) {
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "snd"));
  // The shortest effect.
  SFileMem sound;
  for (const std::string& name : GameArchives::Names(archive)) {
    SFileMem entry;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0 &&
        GameArchives::Load(archive, name, entry) &&
        (sound.GetSize() == 0 || entry.GetSize() < sound.GetSize())) {
      sound.Allocate(0);
      sound.Write(entry.GetBuffer(), entry.GetSize());
    }
  }
  ASSERT_GT(sound.GetSize(), 44);
  TempFolder folder;
  folder.Write("sound.wav", std::string(reinterpret_cast<const char*>(sound.GetBuffer()),
                                        size_t(sound.GetSize())));

  SMediaPlayerCtrl player;
  ASSERT_TRUE(Make(player));
  EXPECT_FALSE(player.Play()) << "no media yet";
  ASSERT_TRUE(player.Open(folder.File("sound.wav").c_str()));
  EXPECT_TRUE(player.Play());
  PumpUntil(SWM_PLAYERENDED, 600);
  EXPECT_EQ(1, parent.Count(SWM_PLAYERENDED));
  EXPECT_FALSE(player.IsPlaying());

  // The loop flag restarts instead; buffering while stopped is ignored.
  player.m_loop = true;
  Fire(player.m_events, 5402, {Int(0)});
  Fire(player.m_events, 5101, {Int(8)});
  PumpUntil(SWM_PLAYERLOOPED, 20);
  EXPECT_EQ(1, parent.Count(SWM_PLAYERLOOPED));
  EXPECT_EQ(0, parent.Count(SWM_PLAYERBUFFER));
  EXPECT_TRUE(player.IsPlaying());
  player.Close();
  EXPECT_FALSE(player.Play());
}

TEST_F(ActiveXTest, BuilderMakesPlayerAndBrowserFromTheirRecords) {
  SDialog dialog;
  ASSERT_TRUE(
      BuildDialog(dialog, DialogText({DialogSection("300 300"),
                                      Section("MEDIAPLAYER", 4, "PLAYER", "0 0 100 100",
                                              {"STYLE=WS_VISIBLE ", "MEDIAPLAYER_LOOP=1"}),
                                      Section("BROWSER", 5, "BROWSER", "100 0 100 100",
                                              {"STYLE=WS_VISIBLE ", "BROWSER_URL=about:blank"})})));
  SMediaPlayerCtrl* player = dynamic_cast<SMediaPlayerCtrl*>(dialog.GetControl("PLAYER"));
  ASSERT_NE(nullptr, player);
  EXPECT_TRUE(player->m_loop);
  EXPECT_EQ(0, ::GetDlgCtrlID(player->m_hWnd)) << "the player's window has no id";
  SBrowserCtrl* browser = dynamic_cast<SBrowserCtrl*>(dialog.GetControlById(5));
  ASSERT_NE(nullptr, browser);
  EXPECT_NE(nullptr, browser->m_browser);
}
