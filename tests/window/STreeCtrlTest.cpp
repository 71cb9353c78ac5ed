#include "core/Platform.h"
#include "window/STreeCtrl.h"

#include "core/SFileMem.h"
#include "window/SDialog.h"
#include "tests/support/TempFolder.h"
#include "tests/window/DialogTestSupport.h"
#include "tests/window/DragScript.h"
#include "tests/window/PaintSupport.h"
#include "tests/window/RecordingWnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kFile[] =
    "VANDRO TREE 1.0.0.0\r\n"
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<tree any=\"1\"><item text=\"Root\" data=\"7\" expanded=\"1\">"
    "<item text=\"A\" image=\"3\" checked=\"1\"/><item text=\"B\" bold=\"1\"><node text=\"B1\"/>"
    "</item></item><item/></tree>";

std::vector<COLORREF> TopEdge(const RECT& rect) {
  std::vector<COLORREF> pixels;
  HDC screen = ::GetDC(nullptr);
  for (int x = rect.left; x < rect.right; ++x) pixels.push_back(::GetPixel(screen, x, rect.top));
  ::ReleaseDC(nullptr, screen);
  return pixels;
}

class STreeCtrlTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rect = {0, 0, 300, 300};
    ASSERT_TRUE(parent.Create("parent", WS_POPUP | WS_VISIBLE, 0, &rect));
    RECT inner = {0, 0, 280, 280};
    ASSERT_TRUE(
        tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_CHECKBOXES,
                    0, &inner, parent.m_hWnd, 3));
  }

  bool LoadText(const std::string& text) {
    SFileMem file;
    FillFile(file, text);
    return tree.Load(&file);
  }
  std::string Save() {
    SFileMem file;
    EXPECT_TRUE(tree.Save(&file));
    return FileText(file);
  }
  // The labels in pre-order, children in brackets.
  std::string Shape(HTREEITEM start = nullptr) {
    std::string out;
    HTREEITEM item =
        start ? tree.GetNextItem(start, TVGN_CHILD) : tree.GetNextItem(nullptr, TVGN_ROOT);
    for (; item; item = tree.GetNextItem(item, TVGN_NEXT)) {
      out += tree.GetItemText(item).GetText() ? tree.GetItemText(item).GetText() : "";
      if (tree.GetNextItem(item, TVGN_CHILD)) out += "(" + Shape(item) + ")";
      out += " ";
    }
    return out;
  }
  RECT Label(HTREEITEM item) {
    RECT rect = {};
    memcpy(&rect, &item, sizeof(item));
    tree.SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    return rect;
  }
  HTREEITEM Find(const char* label) {
    SArray<HTREEITEM> items;
    tree.CollectItems(&items, nullptr);
    for (int i = 0; i < items.GetCount(); ++i) {
      if (tree.GetItemText(items[i]) == label) return items[i];
    }
    return nullptr;
  }

  RecordingWnd parent;
  STreeCtrl tree;
};

}  // namespace

TEST_F(STreeCtrlTest, FileGivesItemsWithTheirAttributesAndDefaults) {
  ASSERT_TRUE(LoadText(kFile));
  EXPECT_EQ("Root(A B(B1 ) )  ", Shape());
  HTREEITEM root = Find("Root");
  EXPECT_EQ(7, tree.GetItemData(root));
  EXPECT_TRUE(tree.SendMessage(TVM_GETITEMSTATE, WPARAM(root), TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_TRUE(tree.GetCheck(Find("A")));
  EXPECT_FALSE(tree.GetCheck(Find("B")));
  EXPECT_TRUE(tree.IsBold(Find("B")));
  TVITEMA item = {};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = Find("A");
  tree.SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(3, item.iImage);

  // Just the magic line and an empty root: an empty tree.
  EXPECT_TRUE(LoadText("VANDRO TREE 1.0.0.0\n<xml/>"));
  EXPECT_EQ(0, tree.GetCount());
}

TEST_F(STreeCtrlTest, SavedFilesLoadBackAndSaveTheSameBytes) {
  ASSERT_TRUE(LoadText(kFile));
  HTREEITEM extra = tree.InsertItem(Find("B1"), -5, "quote \" & <tag>", 2, 4);
  tree.SetCheck(extra, true);
  std::string first = Save();
  EXPECT_EQ(0u, first.find("VANDRO TREE 1.0.0.0\r\n"));

  STreeCtrl other;
  RECT rect = {0, 0, 100, 100};
  ASSERT_TRUE(other.Create(TVS_CHECKBOXES, 0, &rect, parent.m_hWnd, 4));
  SFileMem file, again;
  FillFile(file, first);
  ASSERT_TRUE(other.Load(&file));
  ASSERT_TRUE(other.Save(&again));
  EXPECT_EQ(first, FileText(again));
  EXPECT_EQ(tree.GetCount(), other.GetCount());
}

TEST_F(STreeCtrlTest, RefusedFilesLeaveTheTreeAsItWas) {
  ASSERT_TRUE(LoadText(kFile));
  std::string before = Save();
  for (const char* text : {"", "VANDRO TREE 1.0.0.1\r\n<xml/>", "vandro tree 1.0.0.0\r\n<xml/>",
                           " VANDRO TREE 1.0.0.0\r\n<xml/>", "VANDRO TREE 1.0.0.0\r\n<xml><a>",
                           "VANDRO TREE 1.0.0.0\r\n<xml><a text=\"x></xml>"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(LoadText(text));
    EXPECT_EQ(before, Save());
  }
}

// Every prefix of a file and a few thousand seeded mutations: refused with
// the tree untouched, or loaded with no more items than the text has
// elements.
TEST_F(STreeCtrlTest, TruncatedAndMutatedFilesAreRefusedOrLoadedWithinBounds) {
  std::string valid = kFile;
  std::vector<std::string> inputs;
  for (size_t n = 0; n < valid.size(); ++n) inputs.push_back(valid.substr(0, n));
  DialogTextMutator mutator(28, {"<", ">", "/", "=", "\"", "\r\n", " ", "x", "1", "-", "&", ";",
                                 "?", "!", "<item>", "</item>", "text=\"", "<xml>", "</xml>"});
  for (int i = 0; i < 3000; ++i) inputs.push_back(mutator.Mutate(valid));
  ASSERT_TRUE(LoadText(kFile));
  for (const std::string& text : inputs) {
    std::string before = Save();
    int elements = 0;
    for (char c : text) elements += c == '<';
    bool loaded = LoadText(text);
    if (loaded) {
      EXPECT_LE(tree.GetCount(), elements) << text;
    } else {
      ASSERT_EQ(before, Save()) << text;
    }
    if (tree.GetCount() == 0) {
      ASSERT_TRUE(LoadText(kFile));
    }
  }
}

TEST_F(STreeCtrlTest, ChecksPropagateDownAndUp) {
  ASSERT_TRUE(
      LoadText("VANDRO TREE 1.0.0.0\r\n<xml><item text=\"P\"><item text=\"a\">"
               "<item text=\"a1\"/></item><item text=\"b\"/></item></xml>"));
  tree.OnItemChecked(Find("a1"), true);
  tree.SetCheck(Find("a1"), true);
  EXPECT_TRUE(tree.GetCheck(Find("a")));
  EXPECT_TRUE(tree.GetCheck(Find("P")));
  tree.SetCheck(Find("b"), true);
  tree.SetCheck(Find("a1"), false);
  tree.OnItemChecked(Find("a1"), false);
  EXPECT_FALSE(tree.GetCheck(Find("a")));
  EXPECT_TRUE(tree.GetCheck(Find("P"))) << "b is still checked";
  tree.OnItemChecked(Find("P"), true);
  EXPECT_TRUE(tree.GetCheck(Find("a1")));
}

TEST_F(STreeCtrlTest, ClickOnTheCheckBoxTogglesOnceAndPropagates) {
  ASSERT_TRUE(
      LoadText("VANDRO TREE 1.0.0.0\r\n<xml><item text=\"P\" expanded=\"1\">"
               "<item text=\"leaf\"/></item></xml>"));
  HTREEITEM leaf = Find("leaf");
  ::UpdateWindow(tree.m_hWnd);  // the check boxes exist once painted
  RECT label;
  memcpy(&label, &leaf, sizeof(leaf));
  ASSERT_TRUE(tree.SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label)));
  POINT box = {-1, -1};
  for (int x = label.left - 1; x >= 0 && box.x < 0; --x) {
    UINT flags = 0;
    POINT at = {x, (label.top + label.bottom) / 2};
    if (tree.HitTest(at, &flags) == leaf && (flags & TVHT_ONITEMSTATEICON)) box = at;
  }
  ASSERT_GE(box.x, 0);
  tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
  tree.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(box.x, box.y));
  EXPECT_TRUE(tree.GetCheck(leaf));
  EXPECT_TRUE(tree.GetCheck(Find("P")));
  EXPECT_EQ(1, parent.Count(SWM_TREECHECKED));
  EXPECT_EQ(LPARAM(leaf), parent.Nth(SWM_TREECHECKED).lParam);

  // Beside the box: a mouse record, no check change.
  parent.seen.clear();
  tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(label.right + 20, label.top + 2));
  EXPECT_EQ(0, parent.Count(SWM_TREECHECKED));
  ASSERT_FALSE(parent.MouseFlags(SWM_TREEMOUSE).empty());
  EXPECT_EQ(9u, parent.MouseFlags(SWM_TREEMOUSE)[0]);
}

// Copies read the whole subtree first: a copy inside its own source ends.
// Moves into their own subtree are refused; copies as children of their own
// descendants too.
TEST_F(STreeCtrlTest, CopiesAndMovesIntoTheirOwnSubtreeEndOrAreRefused) {
  const char kShape[] = "S(c(d ) e ) T ";
  struct Row {
    bool move;
    const char* target;
    bool asChild;
    bool after;
    const char* result;  // empty: refused, the tree unchanged
  };
  const Row rows[] = {
      {false, "c", true, true, ""},
      {false, "d", false, true, "S(c(d S(c(d ) e ) ) e ) T "},
      {false, "S", true, true, "S(c(d ) e S(c(d ) e ) ) T "},
      {false, "T", false, false, "S(c(d ) e ) S(c(d ) e ) T "},
      {false, nullptr, true, true, "S(c(d ) e ) T S(c(d ) e ) "},
      {true, "S", true, true, ""},
      {true, "c", true, true, ""},
      {true, "d", false, true, ""},
      {true, "e", false, false, ""},
      {true, "S", false, true, kShape},
      {true, "T", true, true, "T(S(c(d ) e ) ) "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.move ? "move to " : "copy to ") +
                 (row.target ? row.target : "top"));
    ASSERT_TRUE(
        LoadText("VANDRO TREE 1.0.0.0\r\n<xml><i text=\"S\"><i text=\"c\"><i text=\"d\"/></i>"
                 "<i text=\"e\"/></i><i text=\"T\"/></xml>"));
    ASSERT_EQ(kShape, Shape());
    tree.SetCheck(Find("S"), true);
    HTREEITEM source = Find("S");
    HTREEITEM target = row.target ? Find(row.target) : nullptr;
    HTREEITEM made = row.move ? tree.MoveItem(source, target, row.asChild, row.after)
                              : tree.CopyItem(source, target, row.asChild, row.after);
    EXPECT_EQ(row.result[0] == 0, made == nullptr);
    EXPECT_EQ(row.result[0] ? row.result : kShape, Shape());
    if (made && !row.move) {
      EXPECT_FALSE(tree.GetCheck(made)) << "states are not copied";
    }
  }
}

TEST_F(STreeCtrlTest, CopiesGoToAnotherTreeAndTheParentHearsEachItem) {
  ASSERT_TRUE(
      LoadText("VANDRO TREE 1.0.0.0\r\n<xml><i text=\"S\" data=\"9\"><i text=\"c\"/></i></xml>"));
  STreeCtrl other;
  RECT rect = {0, 0, 100, 100};
  ASSERT_TRUE(other.Create(0, 0, &rect, parent.m_hWnd, 4));
  HTREEITEM made = tree.MoveItem(Find("S"), nullptr, true, true, &other);
  ASSERT_NE(nullptr, made);
  EXPECT_EQ(0, tree.GetCount());
  EXPECT_EQ(2, other.GetCount());
  EXPECT_EQ(9, other.GetItemData(made));
  EXPECT_EQ(2, parent.Count(SWM_TREEMOVED));
}

// Scripted drags over another item: Escape on the second pass ends the drag
// with nothing dropped and the drawn rectangle erased; a release drops the
// item there.
TEST_F(STreeCtrlTest, ADragEndsSilentlyOnEscapeAndMovesTheItemOnARelease) {
  for (bool escape : {true, false}) {
    SCOPED_TRACE(escape);
    ASSERT_TRUE(LoadText(
        "VANDRO TREE 1.0.0.0\r\n<xml><i text=\"first item\"/><i text=\"second item\"/></xml>"));
    tree.m_dragDrop = true;
    parent.seen.clear();
    RECT from = Label(Find("first item")), to = Label(Find("second item"));
    ::UpdateWindow(parent.m_hWnd);
    POINT target = {(to.left + to.right) / 2, (to.top + to.bottom) / 2};
    ::ClientToScreen(tree.m_hWnd, &target);
    RECT screenRect = to;
    ::MapWindowPoints(tree.m_hWnd, nullptr, reinterpret_cast<POINT*>(&screenRect), 2);
    std::vector<COLORREF> before = TopEdge(screenRect);

    // The top edge of the target's rectangle is read on the second pass.
    std::vector<COLORREF> probed;
    {
      DragScript script({target}, escape ? 10 : 2, escape ? 2 : 0, [&](int pass) {
        if (pass == 2) probed = TopEdge(screenRect);
      });
      tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                       MAKELPARAM((from.left + from.right) / 2, from.top + 2));
    }
    EXPECT_EQ(1, parent.Count(SWM_TREEDRAGSTART));
    EXPECT_EQ(escape ? 0 : 1, parent.Count(SWM_TREEDROP));
    if (escape) {
      EXPECT_EQ(0, parent.Count(SWM_TREEDROPNOWHERE));
      EXPECT_NE(before, probed) << "the target's rectangle is drawn during the drag";
      EXPECT_EQ(before, TopEdge(screenRect)) << "and erased after it";
    }
    EXPECT_EQ(escape ? "first item second item " : "second item(first item ) ", Shape());
  }
}

TEST_F(STreeCtrlTest, BrowsingShowsPlaceholdersAndFillsFoldersOnExpanding) {
  TempFolder folder;
  folder.MakeFolder("full");
  folder.MakeFolder("full\\inner");
  folder.Write("full\\notes.txt", "x");
  folder.MakeFolder("empty");
  folder.Write("top.txt", "y");
  ASSERT_TRUE(tree.Browse(folder.Path().c_str()));
  EXPECT_EQ("empty full(* ) top.txt ", Shape());
  HTREEITEM full = Find("full");
  EXPECT_EQ(folder.Path() + "\\full\\", tree.GetItemPath(full).GetText());
  tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(full));
  EXPECT_EQ("empty full(inner notes.txt ) top.txt ", Shape());
  EXPECT_EQ(1, parent.Count(SWM_TREEDELETED)) << "the placeholder";
}

TEST_F(STreeCtrlTest, BuilderMakesTheTreeFromItsRecordAndFile) {
  SFileMem entry(kFile);
  TestArchive archive({{"items.tree", &entry}});
  ASSERT_TRUE(archive.IsOpen());
  for (const char* style : {"WS_VISIBLE TVS_CHECKBOXES ", "WS_VISIBLE TVS_DISABLEDRAGDROP "}) {
    SDialog dialog;
    ASSERT_TRUE(
        BuildDialog(dialog,
                    DialogText({DialogSection("200 200"),
                                Section("TREE", 7, "TREE", "0 0 150 150",
                                        {std::string("STYLE=") + style, "TREE_FILE=items.tree"})}),
                    archive.Get()));
    STreeCtrl* built = dynamic_cast<STreeCtrl*>(dialog.GetControlById(7));
    ASSERT_NE(nullptr, built);
    EXPECT_EQ(5, built->GetCount());
    EXPECT_EQ(strchr(style, 'D') == nullptr, built->m_dragDrop);
    EXPECT_TRUE(StyleOf(built->m_hWnd) & TVS_DISABLEDRAGDROP);
  }
}
