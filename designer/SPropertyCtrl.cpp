// SPropertyCtrl: construction, the rows, rows and rectangles, the window
// procedure with the mouse and the keys.
#include "core/Platform.h"
#include "designer/SPropertyCtrl.h"

#include "core/SStringParser.h"
#include "window/ControlFactory.h"
#include "window/SCursor.h"

#include <stdlib.h>

#include <algorithm>

SPropertyCtrl::KeyStateFunction SPropertyCtrl::s_keyState = ::GetAsyncKeyState;
SPropertyCtrl::CursorPosFunction SPropertyCtrl::s_cursorPos = ::GetCursorPos;

namespace {

const UINT kRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
// Rows the wheel scrolls per notch, in line steps.
const int kWheelLines = 2;

// Vertical scrolling by rows.
const int kLineStep = 1;
const int kPageStep = 4;
const int kScrollUnit = 1;

SWnd* ConstructProperty() { return new SPropertyCtrl; }

const SDialogControlClass kPropertyClass = {ConstructProperty, nullptr, nullptr};

uint32_t Argb(COLORREF color) {
  return 0xFF000000 | uint32_t(GetRValue(color)) << 16 | uint32_t(GetGValue(color)) << 8 |
         GetBValue(color);
}

Gdiplus::Color SystemArgb(int index) { return Gdiplus::Color(Argb(::GetSysColor(index))); }

// The icons as pixel maps of one character per pixel, in row order.
struct IconMap {
  int side;
  const char* rows[16];
};

// '.' transparent, 'X' black, 'G' grey, 'W' white, 'R' red, 'Y' yellow.
const IconMap kIconMaps[SPropertyCtrl::ICON_COUNT] = {
    {14,  // toggle: two circular arrows
     {"..............", "....XXXXX.....", "...X.....X.X..", "..X.......XX..", "..X......XXX..",
      "..............", "..............", "..............", "..............", "..XXX......X..",
      "..XX.......X..", "..X.X.....X...", ".....XXXXX....", ".............."}},
    {14,  // drop-down: a down arrow
     {"..............", "..............", "..............", "..............", "..............",
      "...XXXXXXXX...", "....XXXXXX....", ".....XXXX.....", "......XX......", "..............",
      "..............", "..............", "..............", ".............."}},
    {14,  // chooser: a page
     {"..............", "...XXXXXX.....", "...XWWWWXX....", "...XWWWWXWX...", "...XWWWWXXXX..",
      "...XWWWWWWWX..", "...XWGGGGGWX..", "...XWWWWWWWX..", "...XWGGGGGWX..", "...XWWWWWWWX..",
      "...XWGGGGGWX..", "...XWWWWWWWX..", "...XXXXXXXXX..", ".............."}},
    {14,  // system colour: a star
     {"..............", "......XX......", "......XX......", ".....XYYX.....", ".....XYYX.....",
      "XXXXXYYYYXXXXX", ".XYYYYYYYYYYX.", "..XYYYYYYYYX..", "...XYYYYYYX...", "...XYYYYYYX...",
      "..XYYYXXYYYX..", "..XYYX..XYYX..", ".XYX......XYX.", ".XX........XX."}},
    {14,  // reset: a red cross
     {"..............", "..............", "..RR......RR..", "..RRR....RRR..", "...RRR..RRR...",
      "....RRRRRR....", ".....RRRR.....", ".....RRRR.....", "....RRRRRR....", "...RRR..RRR...",
      "..RRR....RRR..", "..RR......RR..", "..............", ".............."}},
    {14,  // edit: a left arrow
     {"..............", "..............", "..............", ".....X........", "....XX........",
      "...XXXXXXXXX..", "..XXXXXXXXXX..", "...XXXXXXXXX..", "....XX........", ".....X........",
      "..............", "..............", "..............", ".............."}},
    {16,  // expanded group: a down triangle in a round button
     {"................", ".....GGGGGG.....", "...GGWWWWWWGG...", "..GWWWWWWWWWWG..",
      ".GWWWWWWWWWWWWG.", ".GWWWWWWWWWWWWG.", "GWWWXXXXXXXXWWWG", "GWWWWXXXXXXWWWWG",
      "GWWWWWXXXXWWWWWG", "GWWWWWWXXWWWWWWG", ".GWWWWWWWWWWWWG.", ".GWWWWWWWWWWWWG.",
      "..GWWWWWWWWWWG..", "...GGWWWWWWGG...", ".....GGGGGG.....", "................"}},
    {16,  // collapsed group: a left triangle in a round button
     {"................", ".....GGGGGG.....", "...GGWWWWWWGG...", "..GWWWWWWWWWWG..",
      ".GWWWWWWWXWWWWG.", ".GWWWWWWXXWWWWG.", "GWWWWWWXXXWWWWWG", "GWWWWWXXXXWWWWWG",
      "GWWWWWXXXXWWWWWG", "GWWWWWWXXXWWWWWG", ".GWWWWWWXXWWWWG.", ".GWWWWWWWXWWWWG.",
      "..GWWWWWWWWWWG..", "...GGWWWWWWGG...", ".....GGGGGG.....", "................"}},
};

uint32_t IconPixel(char c) {
  switch (c) {
    case 'X':
      return 0xFF000000;
    case 'G':
      return 0xFF808080;
    case 'W':
      return 0xFFFFFFFF;
    case 'R':
      return 0xFFD00000;
    case 'Y':
      return 0xFFF0C000;
  }
  return 0x00000000;
}

// A kind-2 value: none for an empty text, else the low 32 bits of a signed
// 64-bit decimal that saturates at its limits.
uint32_t ParseColor(const char* text) {
  if (!text || !*text) return SPropertyCtrl::NO_COLOR;
  return uint32_t(uint64_t(strtoll(text, nullptr, 10)));
}

}  // namespace

// --- groups -----------------------------------------------------------------------

int SPropertyCtrl::_SGroup::FindItem(const char* key) const {
  for (int i = 0; i < m_items.GetCount(); ++i) {
    if (m_items[i]->m_key == key) return i;
  }
  return -1;
}

// --- construction -------------------------------------------------------------------

SPropertyCtrl::SPropertyCtrl()
    : m_groupStartColor(Argb(::GetSysColor(COLOR_HIGHLIGHT))),
      m_groupEndColor(Argb(::GetSysColor(COLOR_BTNFACE))),
      m_valueStartColor(Argb(::GetSysColor(COLOR_WINDOW))),
      m_valueEndColor(Argb(::GetSysColor(COLOR_BTNFACE))),
      m_pen(new Gdiplus::Pen(SystemArgb(COLOR_BTNSHADOW), 1.0f)),
      m_backBrush(new Gdiplus::SolidBrush(SystemArgb(COLOR_BTNFACE))),
      m_groupTextBrush(new Gdiplus::SolidBrush(SystemArgb(COLOR_HIGHLIGHTTEXT))),
      m_captionBrush(new Gdiplus::SolidBrush(Gdiplus::Color(m_valueStartColor))),
      m_textBrush(new Gdiplus::SolidBrush(SystemArgb(COLOR_BTNTEXT))),
      m_selectedBrush(new Gdiplus::SolidBrush(SystemArgb(COLOR_HIGHLIGHT))),
      m_selectedTextBrush(new Gdiplus::SolidBrush(SystemArgb(COLOR_HIGHLIGHTTEXT))),
      m_editorFont(nullptr),
      m_font(nullptr),
      m_boldFont(nullptr),
      m_rowHeight(MIN_ROW_HEIGHT),
      m_split(SPLIT_DEFAULT),
      m_selectedRow(-1),
      m_selectedGroup(-1),
      m_selectedItem(-1) {
  m_kind = KIND;
  for (const char* text : {"No", "Yes", "Default"}) m_boolTexts.Add(text);
  LoadIcons();
}

SPropertyCtrl::~SPropertyCtrl() {
  CloseEditors(false);
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  m_groups.DeleteAndRemoveAll();
  delete m_pen;
  for (Gdiplus::SolidBrush* brush : {m_backBrush, m_groupTextBrush, m_captionBrush, m_textBrush,
                                     m_selectedBrush, m_selectedTextBrush})
    delete brush;
  FreeFonts();
}

bool SPropertyCtrl::Register() {
  return RegisterDialogControlClass(ControlKinds::TYPE_PROPERTY, &kPropertyClass);
}

void SPropertyCtrl::LoadIcons() {
  for (int i = 0; i < ICON_COUNT; ++i) {
    const IconMap& map = kIconMaps[i];
    uint32_t pixels[16 * 16];
    for (int y = 0; y < map.side; ++y) {
      for (int x = 0; x < map.side; ++x) pixels[y * map.side + x] = IconPixel(map.rows[y][x]);
    }
    m_icons[i].CreateFromPixels(pixels, map.side, map.side);
  }
}

void SPropertyCtrl::FreeFonts() {
  delete m_font;
  delete m_boldFont;
  m_font = m_boldFont = nullptr;
}

void SPropertyCtrl::OnAfterCreate() {
  m_editorFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  HDC dc = ::GetDC(m_hWnd);
  TEXTMETRICA metrics;
  if (dc && ::GetTextMetricsA(dc, &metrics)) {
    m_rowHeight = std::max<int>(metrics.tmHeight + 2, MIN_ROW_HEIGHT);
  }
  FreeFonts();
  if (dc) {
    m_font = new Gdiplus::Font(dc, m_editorFont);
    LOGFONTA bold;
    if (::GetObjectA(m_editorFont, sizeof(bold), &bold)) {
      bold.lfWeight = FW_BOLD;
      m_boldFont = new Gdiplus::Font(dc, &bold);
    }
    ::ReleaseDC(m_hWnd, dc);
  }
  m_split = SPLIT_DEFAULT;
  SetBackColor(NO_COLOR);
  m_vLineStep = kLineStep;
  m_vPageStep = kPageStep;
  m_vScrollUnit = kScrollUnit;
  m_selectedRow = m_selectedGroup = m_selectedItem = -1;
}

// --- rows -----------------------------------------------------------------------------

int SPropertyCtrl::AddGroup(const char* name, const char* caption) {
  if (FindGroup(name) >= 0) return -1;
  _SGroup* group = new _SGroup;
  group->m_name = name ? name : "";
  group->m_caption = caption ? caption : "";
  int index = m_groups.Add(group);
  UpdateScrollBar();
  if (m_hWnd) Redraw(nullptr, kRedrawFlags);
  return index;
}

int SPropertyCtrl::FindGroup(const char* name) const {
  for (int i = 0; i < m_groups.GetCount(); ++i) {
    if (m_groups[i]->m_name == (name ? name : "")) return i;
  }
  return -1;
}

void SPropertyCtrl::StoreValue(_SItem* item, int kind, const char* text) {
  if (!text) text = "";
  switch (kind) {
    case ITEM_BOOL:
      item->m_yes = atoi(text) != 0;
      break;
    case ITEM_COLOR:
      item->m_color = ParseColor(text);
      break;
    case ITEM_INT:
      item->m_text = SString::FromInt(atoi(text));
      break;
    case ITEM_DECIMAL:
      item->m_text.Format("%f", atof(text));
      break;
    case ITEM_FONT: {
      SStringParser parser(text);
      parser.Parse(",", 1 | 8, '"');
      item->m_fontName = parser.GetToken(0);
      item->m_fontSize = parser.GetInt(1);
      item->m_fontStyle = parser.GetInt(2);
      break;
    }
    default:
      item->m_text = text;
      break;
  }
}

int SPropertyCtrl::SetItem(int group, const char* key, const char* caption, int kind,
                           const char* value, const SStringArray* options) {
  // A group index that names no group is refused rather than followed.
  if (m_groups.GetCount() == 0 || group < -1 || group >= m_groups.GetCount()) return -1;
  _SGroup* target = group == -1 ? m_groups.GetLast() : m_groups[group];
  int index = group == -1 ? -1 : target->FindItem(key ? key : "");
  if (index < 0) {
    _SItem* item = new _SItem;
    item->m_key = key ? key : "";
    item->m_caption = caption ? caption : "";
    item->m_kind = kind;
    StoreValue(item, kind, value);
    if (kind == ITEM_OPTION && options) item->m_options = *options;
    index = target->m_items.Add(item);
    UpdateScrollBar();
  } else {
    _SItem* item = target->m_items[index];
    bool yes = item->m_yes;
    uint32_t color = item->m_color;
    SString text = item->m_text, fontName = item->m_fontName;
    int fontSize = item->m_fontSize, fontStyle = item->m_fontStyle;
    StoreValue(item, kind, value);
    bool differs;
    switch (kind) {
      case ITEM_BOOL:
        differs = yes != item->m_yes;
        break;
      case ITEM_COLOR:
        differs = color != item->m_color;
        break;
      case ITEM_FONT:
        differs = fontName != item->m_fontName || fontSize != item->m_fontSize ||
                  fontStyle != item->m_fontStyle;
        break;
      default:
        differs = text != item->m_text;
        break;
    }
    if (differs) item->m_mixed = true;
  }
  if (m_hWnd) Redraw(nullptr, kRedrawFlags);
  return index;
}

void SPropertyCtrl::RemoveAll() {
  CloseEditors(false);
  m_selectedRow = m_selectedGroup = m_selectedItem = -1;
  m_groups.DeleteAndRemoveAll();
  if (m_hWnd) Redraw(nullptr, kRedrawFlags);
}

void SPropertyCtrl::RemoveEmptyGroups() {
  for (int i = m_groups.GetCount() - 1; i >= 0; --i) {
    if (m_groups[i]->m_items.GetCount() == 0) m_groups.RemoveAndDelete(i);
  }
}

void SPropertyCtrl::UpdateScrollBar() {
  if (!m_hWnd) return;
  RECT client;
  int page = ::GetClientRect(m_hWnd, &client) && m_rowHeight > 0
                 ? (client.bottom - client.top) / m_rowHeight
                 : 0;
  SCROLLINFO info;
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE;
  info.nMin = 0;
  info.nMax = GetVisibleRowCount();
  info.nPage = UINT(page);
  ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
  // The system keeps the position inside the range; it is rounded down to
  // the unit.
  SetScrollPos(::GetScrollPos(m_hWnd, SB_VERT));
}

SPropertyCtrl::_SGroup* SPropertyCtrl::GetGroup(int group) const {
  return group >= 0 && group < m_groups.GetCount() ? m_groups[group] : nullptr;
}

SPropertyCtrl::_SItem* SPropertyCtrl::GetItem(int group, int item) const {
  _SGroup* g = GetGroup(group);
  return g && item >= 0 && item < g->m_items.GetCount() ? g->m_items[item] : nullptr;
}

SPropertyCtrl::_SItem* SPropertyCtrl::FindItem(int group, const char* key) const {
  _SGroup* g = GetGroup(group);
  return g ? GetItem(group, g->FindItem(key)) : nullptr;
}

bool SPropertyCtrl::LocateItem(const _SItem* item, int* group, int* index) const {
  for (int g = 0; g < m_groups.GetCount(); ++g) {
    for (int i = 0; i < m_groups[g]->m_items.GetCount(); ++i) {
      if (m_groups[g]->m_items[i] != item) continue;
      if (group) *group = g;
      if (index) *index = i;
      return true;
    }
  }
  return false;
}

int SPropertyCtrl::GetRowCount() const {
  int rows = 0;
  for (int g = 0; g < m_groups.GetCount(); ++g) rows += 1 + m_groups[g]->m_items.GetCount();
  return rows;
}

int SPropertyCtrl::GetVisibleRowCount() const {
  int rows = 0;
  for (int g = 0; g < m_groups.GetCount(); ++g) {
    rows += 1 + (m_groups[g]->m_expanded ? m_groups[g]->m_items.GetCount() : 0);
  }
  return rows;
}

int SPropertyCtrl::GroupFromRow(int row) const {
  if (row < 0) return -1;
  for (int g = 0; g < m_groups.GetCount(); ++g) {
    int rows = 1 + (m_groups[g]->m_expanded ? m_groups[g]->m_items.GetCount() : 0);
    if (row < rows) return g;
    row -= rows;
  }
  return -1;
}

int SPropertyCtrl::ItemFromRow(int row) const {
  if (row < 0) return -1;
  for (int g = 0; g < m_groups.GetCount(); ++g) {
    int rows = 1 + (m_groups[g]->m_expanded ? m_groups[g]->m_items.GetCount() : 0);
    if (row < rows) return row - 1;
    row -= rows;
  }
  return -1;
}

int SPropertyCtrl::RowFromItem(int group, int item) const {
  if (!GetItem(group, item) || !m_groups[group]->m_expanded) return -1;
  int row = 0;
  for (int g = 0; g < group; ++g) {
    row += 1 + (m_groups[g]->m_expanded ? m_groups[g]->m_items.GetCount() : 0);
  }
  return row + 1 + item;
}

void SPropertyCtrl::SetSelectedRow(int row, bool redraw) {
  row = std::max(-1, std::min(row, GetRowCount() - 1));
  m_selectedRow = row;
  m_selectedGroup = GroupFromRow(row);
  m_selectedItem = ItemFromRow(row);
  if (redraw && m_hWnd) Redraw(nullptr, kRedrawFlags);
}

int SPropertyCtrl::GetFirstVisibleRow() const {
  return m_hWnd ? ::GetScrollPos(m_hWnd, SB_VERT) : 0;
}

bool SPropertyCtrl::GetRowRect(int row, RECT* rect) const {
  RECT client = {0, 0, 0, 0};
  if (m_hWnd) ::GetClientRect(m_hWnd, &client);
  int first = GetFirstVisibleRow();
  if (row < first) return false;
  int top = (row - first) * m_rowHeight;
  if (top + m_rowHeight > client.bottom) return false;
  if (rect) *rect = {m_split, top, client.right, top + m_rowHeight};
  return true;
}

bool SPropertyCtrl::GetButtonRect(int row, int n, RECT* rect) const {
  RECT cell;
  if (!GetRowRect(row, &cell)) return false;
  cell.right -= BUTTON_WIDTH * n;
  cell.left = cell.right - BUTTON_WIDTH;
  if (rect) *rect = cell;
  return true;
}

int SPropertyCtrl::HitTest(int x, int y, int* group, int* item, int* column) const {
  int row = x < 0 || y < 0 ? -1 : GetFirstVisibleRow() + y / m_rowHeight;
  if (row >= GetVisibleRowCount()) row = -1;
  int g = GroupFromRow(row), i = ItemFromRow(row);
  if (group) *group = g;
  if (item) *item = i;
  if (column) *column = row >= 0 && i >= 0 && x >= m_split ? 1 : 0;
  return row;
}

int SPropertyCtrl::FindOption(const _SItem* item, const char* value) {
  if (!item) return -1;
  for (int i = 0; i < item->m_options.GetCount(); ++i) {
    if (item->m_options[i]->BeforeBar() == (value ? value : "")) return i;
  }
  return -1;
}

SString SPropertyCtrl::GetOptionValue(const _SItem* item, int index) {
  if (!item || index < 0 || index >= item->m_options.GetCount()) return SString("");
  return item->m_options[index]->BeforeBar();
}

SString SPropertyCtrl::GetOptionText(const _SItem* item, int index) {
  if (!item || index < 0 || index >= item->m_options.GetCount()) return SString("");
  const SString& option = *item->m_options[index];
  return option.FindChar('|') >= 0 ? option.AfterChar('|') : option;
}

// --- window procedure -------------------------------------------------------------------

void SPropertyCtrl::OnScrolled() {}

bool SPropertyCtrl::CanChangeItem(int, _SItem*) { return true; }

bool SPropertyCtrl::NearSplit(int x) const { return abs(x - m_split) < SPLIT_GRAB; }

void SPropertyCtrl::OnScrollChange() {
  CloseEditors(true);
  Redraw(nullptr, kRedrawFlags);
  OnScrolled();
  NotifyParent(SWM_PROPERTYSCROLLED, reinterpret_cast<WPARAM>(this), 0);
}

void SPropertyCtrl::TrackSplit(int pressX) {
  int start = m_split;
  while (s_keyState && (s_keyState(VK_LBUTTON) & 0x8000)) {
    POINT cursor = {0, 0};
    if (!s_cursorPos || !s_cursorPos(&cursor)) break;
    ::ScreenToClient(m_hWnd, &cursor);
    int split = std::max<int>(start + cursor.x - pressX, SPLIT_MIN);
    if (split != m_split) {
      m_split = split;
      Redraw(nullptr, kRedrawFlags);
    }
  }
  SetCursor(nullptr);
}

void SPropertyCtrl::OnLeftButtonDown(int x, int y) {
  SetFocus();
  if (GetRowCount() > 0 && NearSplit(x)) {
    TrackSplit(x);
    return;
  }
  int group, index, column;
  int row = HitTest(x, y, &group, &index, &column);
  RECT client = {0, 0, 0, 0};
  ::GetClientRect(m_hWnd, &client);
  if (row < 0) {
    SetSelectedRow(-1, true);
  } else if (index < 0) {
    if (x >= client.right - GROUP_ICON_SIZE) {
      _SGroup* g = m_groups[group];
      g->m_expanded = !g->m_expanded;
      if (!g->m_expanded && m_selectedRow >= 0 && m_selectedGroup == group) {
        SetSelectedRow(-1, false);
      }
    } else {
      SetSelectedRow(-1, false);
    }
    Redraw(nullptr, kRedrawFlags);
  } else if (row != m_selectedRow) {
    SetSelectedRow(row, true);
  } else if (column == 1) {
    OnButtonClick(row, group, index, x, y);
  }
}

void SPropertyCtrl::OnButtonClick(int row, int group, int index, int x, int y) {
  _SItem* item = GetItem(group, index);
  int button = -1;
  for (int n = 0; n < 3 && button < 0; ++n) {
    RECT r;
    if (GetButtonRect(row, n, &r) && x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
      button = n;
    }
  }
  if (!item || button < 0) return;
  switch (item->m_kind) {
    case ITEM_BOOL:
      if (button == 0) BeginEdit(item, group, index, 0);
      break;
    case ITEM_COLOR:
      if (button == 0) {
        ChangeItem(item, group, index, [](_SItem* it) { it->m_color = NO_COLOR; });
      } else {
        BeginEdit(item, group, index, button == 1 ? 1 : 0);
      }
      break;
    case ITEM_TEXT:
    case ITEM_INT:
    case ITEM_DECIMAL:
      if (button == 0 && !m_edit.m_hWnd) BeginEdit(item, group, index, 0);
      break;
    case ITEM_FONT:
      if (button == 0) {
        ChangeItem(item, group, index, [](_SItem* it) { it->m_fontName = ""; });
      } else if (button == 1) {
        BeginEdit(item, group, index, 0);
      }
      break;
    case ITEM_OPTION:
      if (button == 0 && !m_listHost.m_hWnd) BeginEdit(item, group, index, 0);
      break;
  }
}

void SPropertyCtrl::OnLeftDoubleClick(int x, int y) {
  int group, index, column;
  int row = HitTest(x, y, &group, &index, &column);
  _SItem* item = GetItem(group, index);
  if (row < 0 || !item || column != 1) return;
  if (item->m_kind >= ITEM_BOOL && item->m_kind <= ITEM_FONT) {
    if (item->m_kind >= ITEM_TEXT && item->m_kind <= ITEM_DECIMAL && m_edit.m_hWnd) return;
    BeginEdit(item, group, index, 0);
  } else if (item->m_kind == ITEM_OPTION) {
    if (FindOption(item, item->m_text.GetText()) >= 0) {
      StepOption(item, group, index);
    } else if (!m_listHost.m_hWnd) {
      BeginEdit(item, group, index, 0);
    }
  }
}

void SPropertyCtrl::StepOption(_SItem* item, int group, int index) {
  int option = FindOption(item, item->m_text.GetText());
  if (option < 0) return;
  SString next = GetOptionValue(item, (option + 1) % item->m_options.GetCount());
  ChangeItem(item, group, index, [&next](_SItem* it) { it->m_text = next; });
}

void SPropertyCtrl::OnKeyDown(int key) {
  RECT client = {0, 0, 0, 0};
  ::GetClientRect(m_hWnd, &client);
  int first = GetFirstVisibleRow();
  int fit = m_rowHeight > 0 ? client.bottom / m_rowHeight : 0;
  switch (key) {
    case VK_RETURN: {
      _SItem* item = GetItem(m_selectedGroup, m_selectedItem);
      if (m_selectedRow < 0 || !item) return;
      if (item->m_kind == ITEM_OPTION) {
        StepOption(item, m_selectedGroup, m_selectedItem);
      } else if (item->m_kind != ITEM_READONLY) {
        BeginEdit(item, m_selectedGroup, m_selectedItem, 0);
      }
      return;
    }
    case VK_UP: {
      if (m_selectedRow <= 0) return;
      int row = m_selectedRow - 1;
      while (row >= 0 && ItemFromRow(row) < 0) --row;
      if (row < 0) return;
      if (row < first) SetScrollPos(row);
      SetSelectedRow(row, true);
      return;
    }
    case VK_DOWN: {
      int count = GetRowCount();
      if (m_selectedRow < 0 || m_selectedRow > count - 2) return;
      int row = m_selectedRow + 1;
      while (row < count && ItemFromRow(row) < 0) ++row;
      if (row >= count) return;
      if (row >= first + fit) SetScrollPos(row - fit + 1);
      SetSelectedRow(row, true);
      return;
    }
  }
}

LRESULT SPropertyCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  int x = short(LOWORD(lParam)), y = short(HIWORD(lParam));
  switch (message) {
    case SWM_AFTERCREATE:
      OnAfterCreate();
      break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      if (HDC dc = ContentPaintDC(message, wParam, lParam)) Paint(dc);
      break;
    case WM_SIZE:
      CloseEditors(true);
      UpdateScrollBar();
      Redraw(nullptr, kRedrawFlags);
      break;
    case WM_MOUSEMOVE:
      // Clearing the own cursor brings the class cursor back at once.
      SetCursor(GetRowCount() > 0 && NearSplit(x) ? GetFrameworkCursor(CURSOR_SIZEWE) : nullptr);
      break;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(x, y);
      break;
    case WM_LBUTTONDBLCLK:
      OnLeftDoubleClick(x, y);
      break;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SetFocus();
      break;
    case WM_MOUSEWHEEL:
      CloseEditors(true);
      SetScrollPos(GetFirstVisibleRow() +
                   (short(HIWORD(wParam)) < 0 ? kWheelLines : -kWheelLines) * m_vLineStep);
      Redraw(nullptr, kRedrawFlags);
      OnScrolled();
      NotifyParent(SWM_PROPERTYSCROLLED, reinterpret_cast<WPARAM>(this), 0);
      break;
    case SWM_HSCROLLED:
    case SWM_VSCROLLED:
      OnScrollChange();
      break;
    case WM_KEYDOWN:
      OnKeyDown(int(wParam));
      break;
  }
  if (m_hWnd && GetMouseRecordFlags(message)) {
    HWND parent = GetParent();
    MOUSERECORD record;
    if (parent && MakeMouseRecord(m_hWnd, message, lParam, &record)) {
      StaticWndProc(parent, SWM_PROPERTYMOUSE, reinterpret_cast<WPARAM>(this),
                    reinterpret_cast<LPARAM>(&record));
    }
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
