// Test support for the designer's command surfaces: a host window that
// records what the tool panel and the property grid tell their parent (and
// can forward the grid's changes to a designer), and a host fixture with a
// designer, its grid and its panel, attached the way a host application
// attaches them.
#pragma once

#include "core/Platform.h"
#include "DesignerTestSupport.h"
#include "designer/DesignerMessages.h"
#include "designer/SPanelCtrl.h"
#include "designer/SPropertyCtrl.h"
#include "tests/window/RecordingWnd.h"

#include <string>
#include <vector>

// The parent of the surfaces under test.
class SurfaceHost : public SWnd {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case SWM_PANELMOUSE:
        panelMouse.push_back(reinterpret_cast<MOUSERECORD*>(lParam)->flags);
        break;
      case SWM_PROPERTYMOUSE:
        gridMouse.push_back(reinterpret_cast<MOUSERECORD*>(lParam)->flags);
        break;
      case SWM_PROPERTYSCROLLED:
        ++scrolled;
        break;
      case SWM_PROPERTYCHANGED:
        changes.push_back({int(LOWORD(lParam)), int(HIWORD(lParam))});
        if (designer) designer->ApplyPropertyRow(int(LOWORD(lParam)), int(HIWORD(lParam)));
        break;
      case SWM_CONTROLCHANGED:
        ++controlChanges;
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
  }

  std::vector<uint32_t> panelMouse, gridMouse;
  std::vector<std::pair<int, int>> changes;  // (group, item) of SWM_PROPERTYCHANGED
  int scrolled = 0;
  int controlChanges = 0;
  SDialogDesigner* designer = nullptr;  // gets the grid's changes when set
};

// A visible host holding a child of the given size at (10, 10); the host is
// at the screen point given.
class HostedTest : public ::testing::Test {
public:
  void OpenHost(int x = 0, int y = 0, int width = 700, int height = 600) {
    RECT outer = {x, y, x + width, y + height};
    ASSERT_TRUE(m_host.Create("surfaces", WS_POPUP | WS_VISIBLE, 0, &outer));
    ::SetForegroundWindow(m_host.m_hWnd);
  }
  void TearDown() override {
    if (m_host.m_hWnd) ::DestroyWindow(m_host.m_hWnd);
    DrainMessages();
  }
  SurfaceHost m_host;
};

// The designer with an attached grid (left) and panel (right) in a host
// that hands the grid's changes to the designer; the designer is a plain
// one, so its own selection hook fills the grid.
class AttachedDesignerTest : public HostedTest {
public:
  void SetUp() override {
    OpenHost();
    RECT designerRect = {0, 0, 400, 400};
    ASSERT_TRUE(m_designer.Create("", WS_CHILD | WS_VISIBLE, 0, &designerRect, m_host.m_hWnd));
    RECT gridRect = {400, 0, 650, 400};
    ASSERT_TRUE(m_grid.Create("", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, &gridRect, m_host.m_hWnd));
    RECT panelRect = {400, 400, 700, 600};
    ASSERT_TRUE(m_panel.Create("", WS_CHILD | WS_VISIBLE, 0, &panelRect, m_host.m_hWnd));
    m_designer.m_propertyGrid = &m_grid;
    m_designer.m_panel = &m_panel;
    m_designer.SetDefaultTexts();
    m_designer.BuildPanel(&m_panel);
    m_host.designer = &m_designer;
  }
  void TearDown() override {
    m_designer.Clear();
    m_designer.m_propertyGrid = nullptr;
    m_designer.m_panel = nullptr;
    HostedTest::TearDown();
  }

  bool Load(const std::string& text) {
    SFileMem file;
    FillFile(file, text);
    return SDialogDesigner::LoadText(&file, &m_designer);
  }
  Ctrl* Named(const char* name) { return m_designer.FindControlByName(name); }
  void Select(std::vector<const char*> names) {
    m_designer.m_selection.RemoveAll();
    for (const char* name : names) {
      m_designer.m_selection.Add(*name ? Named(name) : m_designer.m_dialog);
    }
    m_designer.OnSelectionChanged(nullptr, m_designer.GetPrimary());
  }
  // The grid as "group:key=value" lines ('*' after the key marks a mixed
  // row), in row order.
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int g = 0; g < m_grid.m_groups.GetCount(); ++g) {
      const SPropertyCtrl::_SGroup* group = m_grid.m_groups[g];
      for (int i = 0; i < group->m_items.GetCount(); ++i) {
        const SPropertyCtrl::_SItem* item = group->m_items[i];
        rows.push_back(std::string(group->m_name.GetText()) + ":" + item->m_key.GetText() +
                       (item->m_mixed ? "*" : "") + "=" + Value(item));
      }
    }
    return rows;
  }
  // A row's stored value as text.
  static std::string Value(const SPropertyCtrl::_SItem* item) {
    switch (item->m_kind) {
      case SPropertyCtrl::ITEM_BOOL:
        return item->m_yes ? "1" : "0";
      case SPropertyCtrl::ITEM_COLOR:
        return std::to_string(item->m_color);
      case SPropertyCtrl::ITEM_FONT:
        return std::string(item->m_fontName.GetText()) + "," + std::to_string(item->m_fontSize) +
               "," + std::to_string(item->m_fontStyle);
    }
    return item->m_text.GetText();
  }
  // The row of the key in the group, with its indexes.
  SPropertyCtrl::_SItem* Row(const char* group, const char* key, int* g = nullptr,
                             int* i = nullptr) {
    int groupIndex = m_grid.FindGroup(group);
    SPropertyCtrl::_SGroup* entry = m_grid.GetGroup(groupIndex);
    int index = entry ? entry->FindItem(key) : -1;
    if (g) *g = groupIndex;
    if (i) *i = index;
    return m_grid.GetItem(groupIndex, index);
  }
  std::string Save() {
    SFileMem file;
    m_designer.SaveText(&file);
    return FileText(file);
  }

  SDialogDesigner m_designer;
  SPropertyCtrl m_grid;
  SPanelCtrl m_panel;
};
