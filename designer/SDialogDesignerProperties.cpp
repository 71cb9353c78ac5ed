// SDialogDesigner: filling the property grid from the selection, and writing
// an edited row back into the selected records.
#include "core/Platform.h"
#include "designer/SDialogDesigner.h"

#include "core/SStringParser.h"
#include "core/Utility.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

namespace {

typedef SDialogDesigner D;
typedef D::_SCtrl Record;
typedef D::_SPropertyRow Row;
typedef SPropertyCtrl::_SItem Item;

// The option keys of each list, in order (null ends a list); the two lists
// of controls are made from the document.
const char* const kOptionKeys[D::OPT_COUNT][14] = {
    {nullptr},
    {"_AUTOLEFT", "_AUTOCENTER", "_AUTORIGHT", "_AUTOWIDTH", "_AUTOCENTERHALF", "_AUTORIGHTHALF",
     "_AUTOWIDTHHALF", nullptr},
    {"_AUTOTOP", "_AUTOMIDDLE", "_AUTOBOTTOM", "_AUTOHEIGHT", "_AUTOMIDDLEHALF", "_AUTOBOTTOMHALF",
     "_AUTOHEIGHTHALF", nullptr},
    {"_LEFT", "_CENTER", "_RIGHT", nullptr},
    {"_TOP", "_MIDDLE", "_BOTTOM", nullptr},
    {"_LEFT", "_CENTER", "_RIGHT", "_JUSTIFY", nullptr},
    {"_DRAWTOPLEFT", "_DRAWTOPCENTER", "_DRAWTOPRIGHT", "_DRAWMIDDLELEFT", "_DRAWMIDDLERIGHT",
     "_DRAWBOTTOMLEFT", "_DRAWBOTTOMCENTER", "_DRAWBOTTOMRIGHT", "_DRAWCENTER", "_DRAWSTRETCH",
     "_DRAWTILE", "_DRAWFIT", "_DRAWFITZOOM", nullptr},
    {"_SIMPLE", "_DROPDOWN", "_DROPDOWNLIST", nullptr},
    {"_ICON", "_SMALLICON", "_LIST", "_REPORT", nullptr},
    {"_NONE", "_SINGLE", "_MULTIPLE", "_EXTENDED", nullptr},
    {"_EDGEBUMP", "_EDGEETCHED", "_EDGERAISED", "_EDGESUNKEN", "_EDGERAISEDINNER",
     "_EDGERAISEDOUTER", "_EDGESUNKENINNER", "_EDGESUNKENOUTER", nullptr},
    {"_STANDARD", "_BUTTONS", "_FLATBUTTONS", nullptr},
    {nullptr},
    {nullptr},
};

// The first option of the lists of controls: no value, two em dashes.
const char kNoControlOption[] = "|\x97\x97";

// HALIGN and VALIGN numbers and their options; any other number shows the
// first option of the list, which writes 0.
struct Anchor {
  int number;
  const char* option;
};
const Anchor kHorizontalAnchors[] = {{1, "_AUTOCENTER"},     {2, "_AUTORIGHT"},
                                     {4, "_AUTOWIDTH"},      {9, "_AUTOCENTERHALF"},
                                     {10, "_AUTORIGHTHALF"}, {12, "_AUTOWIDTHHALF"}};
const Anchor kVerticalAnchors[] = {{16, "_AUTOMIDDLE"},      {32, "_AUTOBOTTOM"},
                                   {64, "_AUTOHEIGHT"},      {144, "_AUTOMIDDLEHALF"},
                                   {160, "_AUTOBOTTOMHALF"}, {192, "_AUTOHEIGHTHALF"}};

// The options chosen from the style, tested in order: the first choice
// whose bits are all set (set) or not all set (!set) wins; a choice without
// bits always does. An option written back replaces the rule's mask bits.
struct StyleChoice {
  uint32_t bits;
  bool set;
  const char* option;
  uint32_t written;
};
struct StyleRuleRow {
  uint32_t mask;
  StyleChoice choices[4];
};
const StyleRuleRow kStyleRules[D::RULE_COUNT] = {
    {0, {}},
    // BUTTON_HALIGN, GROUP_ALIGN: BS_LEFT, BS_CENTER, BS_RIGHT.
    {0x300,
     {{0x200, false, "_LEFT", 0x100}, {0x100, true, "_CENTER", 0x300}, {0, true, "_RIGHT", 0x200}}},
    // BUTTON_VALIGN: BS_TOP, BS_VCENTER, BS_BOTTOM.
    {0xC00,
     {{0x800, false, "_TOP", 0x400}, {0x400, true, "_MIDDLE", 0xC00}, {0, true, "_BOTTOM", 0x800}}},
    // EDIT_ALIGN, RICHEDIT_ALIGN: ES_RIGHT, ES_CENTER, ES_LEFT.
    {0x3, {{0x2, true, "_RIGHT", 0x2}, {0x1, true, "_CENTER", 0x1}, {0, true, "_LEFT", 0}}},
    // COMBO_TYPE: CBS_DROPDOWNLIST, CBS_DROPDOWN, CBS_SIMPLE.
    {0x3,
     {{0x3, true, "_DROPDOWNLIST", 0x3}, {0x2, true, "_DROPDOWN", 0x2}, {0, true, "_SIMPLE", 0x1}}},
    // EXLIST_TYPE: LVS_LIST, LVS_REPORT, LVS_SMALLICON, LVS_ICON.
    {0x3,
     {{0x3, true, "_LIST", 0x3},
      {0x1, true, "_REPORT", 0x1},
      {0x2, true, "_SMALLICON", 0x2},
      {0, true, "_ICON", 0}}},
    // LIST_SELECTION: LBS_MULTIPLESEL, LBS_EXTENDEDSEL, single, LBS_NOSEL.
    {0x4808,
     {{0x8, true, "_MULTIPLE", 0x8},
      {0x800, true, "_EXTENDED", 0x800},
      {0x4000, false, "_SINGLE", 0},
      {0, true, "_NONE", 0x4000}}},
    // TAB_TYPE: TCS_FLATBUTTONS (with TCS_BUTTONS), TCS_BUTTONS, tabs.
    {0x108,
     {{0x8, true, "_FLATBUTTONS", 0x108},
      {0x100, true, "_BUTTONS", 0x100},
      {0, true, "_STANDARD", 0}}},
};

// The types that offer a CAPTION row.
const int kCaptionTypes[] = {D::TYPE_DIALOG, D::TYPE_BUTTON, D::TYPE_CHECK, D::TYPE_CODEEDIT,
                             D::TYPE_COMBO,  D::TYPE_EDIT,   D::TYPE_GROUP, D::TYPE_LABEL,
                             D::TYPE_LCD,    D::TYPE_MEDIA,  D::TYPE_RADIO, D::TYPE_RICHEDIT};

// Editor words of the declared rows and their kinds; any other word is
// read-only.
struct EditorWord {
  const char* word;
  int kind;
};
const EditorWord kEditorWords[] = {{"edit", SPropertyCtrl::ITEM_TEXT},
                                   {"edit_int", SPropertyCtrl::ITEM_INT},
                                   {"edit_float", SPropertyCtrl::ITEM_DECIMAL},
                                   {"bool", SPropertyCtrl::ITEM_BOOL}};

// Field separator of a declared row.
const char kDeclarationSeparator[] = "\x01";

bool AllBits(uint32_t word, uint32_t mask) { return (word & mask) == mask; }

const char* ComputedOption(int rule, uint32_t style) {
  if (rule <= D::RULE_NONE || rule >= D::RULE_COUNT) return "";
  for (const StyleChoice& choice : kStyleRules[rule].choices) {
    if (!choice.option) break;
    if (choice.bits == 0 || AllBits(style, choice.bits) == choice.set) return choice.option;
  }
  return "";
}

template <size_t N>
const char* AnchorOption(const Anchor (&anchors)[N], int number, const char* fallback) {
  for (const Anchor& a : anchors) {
    if (a.number == number) return a.option;
  }
  return fallback;
}

template <size_t N>
int AnchorNumber(const Anchor (&anchors)[N], const SString& option) {
  for (const Anchor& a : anchors) {
    if (option == a.option) return a.number;
  }
  return 0;
}

int16_t ToShort(const SString& text) {
  long value = atol(text.GetText() ? text.GetText() : "");
  return int16_t(value < SHRT_MIN ? SHRT_MIN : value > SHRT_MAX ? SHRT_MAX : value);
}

// A colour of the extended properties in the file's signed decimal form; a
// "#" colour text is read as the record reader reads it.
SString ColorPropertyText(const SString& text) {
  if (text.GetAt(0) != '#') return text;
  return SString::FromInt(int32_t(TextToColor(text.GetText())));
}

template <class T>
bool Store(T* field, T value) {
  if (*field == value) return false;
  *field = value;
  return true;
}

bool StoreProperty(Record* record, const char* key, const SString& value) {
  if (D::GetProperty(record, key) == value) return false;
  return D::SetProperty(record, key, value.GetText());
}

}  // namespace

// --- filling ------------------------------------------------------------------------

void SDialogDesigner::OnPropertyGridFilled(SPropertyCtrl*, _SCtrl*) {}

void SDialogDesigner::OnSelectionChanged(_SCtrl* previous, _SCtrl* current) {
  SPropertyCtrl* grid = m_propertyGrid;
  if (grid && grid->m_hWnd) {
    // The record that was shown keeps where its rows were scrolled to.
    if (previous && (previous == m_dialog || m_controls.Find(previous) >= 0)) {
      previous->m_gridPosition = grid->GetFirstVisibleRow() * grid->m_rowHeight;
    }
    grid->CloseEditors(true);
    grid->SetSelectedRow(-1, false);
    grid->Redraw();
    FillPropertyGrid(current);
  }
  RefreshPanel();
}

void SDialogDesigner::FillPropertyGrid(_SCtrl* record) {
  SPropertyCtrl* grid = m_propertyGrid;
  if (!grid || !grid->m_hWnd) return;
  if (!record) {
    grid->RemoveAll();
    grid->UpdateScrollBar();
    return;
  }
  SStringArray lists[OPT_COUNT];
  for (int list = 0; list < OPT_COUNT; ++list) {
    for (const char* key : kOptionKeys[list]) {
      if (!key) break;
      lists[list].Add(AddOptionCaption(key).GetText());
    }
  }
  lists[OPT_ALL_CONTROLS].Add(kNoControlOption);
  ListControls(-1, &lists[OPT_ALL_CONTROLS]);
  lists[OPT_LEVEL_CONTROLS].Add(kNoControlOption);
  ListControls(TYPE_LEVEL, &lists[OPT_LEVEL_CONTROLS]);

  bool visible = ::IsWindowVisible(grid->m_hWnd) != 0;
  if (visible) grid->SetRedraw(false);
  grid->RemoveAll();
  grid->UpdateScrollBar();

  bool captionOffered = true;
  for (int i = 0; i < m_selection.GetCount(); ++i) {
    bool offers = false;
    for (int type : kCaptionTypes) offers = offers || m_selection[i]->m_type == type;
    captionOffered = captionOffered && offers;
  }
  int generalCount = 0, typeCount = 0;
  const _SPropertyRow* general = GetGeneralRows(&generalCount);
  for (int i = 0; i < m_selection.GetCount(); ++i) {
    _SCtrl* selected = m_selection[i];
    m_propertyGroup = -1;
    AddRecordRows(selected, general, generalCount, captionOffered, lists);
    const _SPropertyRow* rows = GetTypeRows(selected->m_type, &typeCount);
    AddRecordRows(selected, rows, typeCount, captionOffered, lists);
  }
  if (m_selection.GetCount() == 1 && grid->m_rowHeight > 0) {
    int position = record->m_gridPosition - record->m_gridPosition % grid->m_rowHeight;
    ::SetScrollPos(grid->m_hWnd, SB_VERT, position / grid->m_rowHeight, TRUE);
  }
  OnPropertyGridFilled(grid, record);
  grid->RemoveEmptyGroups();
  grid->UpdateScrollBar();
  if (visible) grid->SetRedraw(true);
}

void SDialogDesigner::AddRecordRows(_SCtrl* record, const _SPropertyRow* rows, int count,
                                    bool captionOffered, const SStringArray* lists) {
  for (int i = 0; i < count; ++i) {
    const _SPropertyRow& row = rows[i];
    if ((row.conditions & ROW_NOT_DIALOG) && record->m_type == TYPE_DIALOG) continue;
    if ((row.conditions & ROW_CAPTION) && !captionOffered) continue;
    bool single = (row.conditions & ROW_SINGLE) != 0;
    bool sameType = (row.conditions & ROW_SAME_TYPE) != 0;
    const SStringArray* options = row.options != OPT_NONE ? &lists[row.options] : nullptr;
    switch (row.source) {
      case SRC_BORDER_ROWS:
        AddBorderRows(record);
        break;
      case SRC_DECLARED: {
        SelectPropertyGroup(row.group);
        SString name = GetProperty(record, "EXTERN_NAME");
        for (int k = 0; k < m_externProperties.GetCount(); ++k) {
          SStringParser fields(m_externProperties.Get(k).GetText());
          if (fields.Parse(kDeclarationSeparator, 1, '"') != 4) continue;
          if (fields.GetToken(0) != name) continue;
          int kind = SPropertyCtrl::ITEM_READONLY;
          for (const EditorWord& word : kEditorWords) {
            if (fields.GetToken(3) == word.word) kind = word.kind;
          }
          SString key = fields.GetToken(1);
          AddPropertyRow(false, true, key.GetText(), kind,
                         GetProperty(record, key.GetText()).GetText(), nullptr, -1,
                         fields.GetToken(2).GetText());
        }
        break;
      }
      case SRC_FONT:
        AddPropertyRow(single, sameType, row.key, row.kind, GetRowValue(record, row).GetText(),
                       nullptr, 0);
        break;
      default:
        SelectPropertyGroup(row.group);
        AddPropertyRow(single, sameType, row.key, row.kind, GetRowValue(record, row).GetText(),
                       options);
        break;
    }
  }
}

SString SDialogDesigner::GetRowValue(const _SCtrl* record, const _SPropertyRow& row) const {
  switch (row.source) {
    case SRC_TYPE: {
      const _SType* type = FindTypeById(record->m_type);
      return type ? type->m_displayName : SString("");
    }
    case SRC_ID:
      return SString::FromInt(int16_t(record->m_id));
    case SRC_NAME:
      return record->m_name;
    case SRC_CAPTION:
      return record->m_caption;
    case SRC_X:
      return SString::FromInt(record->m_left);
    case SRC_Y:
      return SString::FromInt(record->m_top);
    case SRC_WIDTH:
      return SString::FromInt(record->m_width);
    case SRC_HEIGHT:
      return SString::FromInt(record->m_height);
    case SRC_HALIGN:
      return AnchorOption(kHorizontalAnchors, GetPropertyInt(record, "HALIGN"), "_AUTOLEFT");
    case SRC_VALIGN:
      return AnchorOption(kVerticalAnchors, GetPropertyInt(record, "VALIGN"), "_AUTOTOP");
    case SRC_EXT:
      return row.kind == SPropertyCtrl::ITEM_COLOR ? ColorPropertyText(GetProperty(record, row.key))
                                                   : GetProperty(record, row.key);
    case SRC_EXT_INT:
      return SString::FromInt(GetPropertyInt(record, row.key));
    case SRC_STYLE:
      return AllBits(record->m_style, row.mask) ? "1" : "0";
    case SRC_NOT_STYLE:
      return AllBits(record->m_style, row.mask) ? "0" : "1";
    case SRC_EXSTYLE:
      return AllBits(record->m_exStyle, row.mask) ? "1" : "0";
    case SRC_BACKCOLOR:
      return SString::FromUInt(record->m_backColor);
    case SRC_TEXTCOLOR:
      return SString::FromUInt(record->m_textColor);
    case SRC_TRANSPARENT:
      return SString::FromInt(record->m_transparent ? 1 : 0);
    case SRC_FONT:
      return record->m_fontName + "," + SString::FromInt(record->m_fontSize) + "," +
             SString::FromUInt(record->m_fontStyle);
    case SRC_COMPUTED:
      return ComputedOption(int(row.mask), record->m_style);
    default:
      return SString("");
  }
}

bool SDialogDesigner::AddPropertyRow(bool singleOnly, bool sameTypeOnly, const char* key, int kind,
                                     const char* value, const SStringArray* options, int group,
                                     const char* caption) {
  if (!m_propertyGrid) return false;
  int count = m_selection.GetCount();
  if (singleOnly && count != 1) return false;
  if (sameTypeOnly && count > 1) {
    for (int i = 1; i < count; ++i) {
      if (m_selection[i]->m_type != m_selection[0]->m_type) return false;
    }
  }
  SString text = value ? value : "";
  if (options) {
    bool found = false;
    for (int i = 0; i < options->GetCount() && !found; ++i) {
      found = (*options)[i]->BeforeBar() == text;
    }
    if (!found) text = options->GetCount() > 0 ? (*options)[0]->BeforeBar() : SString("");
  }
  SString label = caption ? SString(caption) : GetCaptionText(key);
  m_propertyGrid->SetItem(group == -1 ? m_propertyGroup : group, key, label.GetText(), kind,
                          text.GetText(), options);
  return true;
}

void SDialogDesigner::SelectPropertyGroup(const char* key) {
  SString caption = GetCaptionText(key);
  if (!m_propertyGrid || caption.GetLength() == 0) return;
  int group = m_propertyGrid->AddGroup(key, caption.GetText());
  m_propertyGroup = group != -1 ? group : m_propertyGrid->FindGroup(key);
}

void SDialogDesigner::AddBorderRows(_SCtrl* record) {
  SelectPropertyGroup("$BORDER");
  int count = 0;
  const _SPropertyRow* rows = GetBorderRows(&count);
  for (int i = 0; i < count; ++i) {
    AddPropertyRow(false, true, rows[i].key, rows[i].kind, GetRowValue(record, rows[i]).GetText(),
                   nullptr);
  }
}

int SDialogDesigner::ListControls(int type, SStringArray* list) const {
  int found = 0;
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    const _SCtrl* record = m_controls[i];
    if (type >= 0 && record->m_type != type) continue;
    ++found;
    if (list) {
      list->Add((SString::FromInt(int16_t(record->m_id)) + "|" + record->m_name).GetText());
    }
  }
  return found;
}

void SDialogDesigner::SetPositionItems(const char* first, int firstValue, const char* second,
                                       int secondValue) {
  SPropertyCtrl* grid = m_propertyGrid;
  int group = grid ? grid->FindGroup("$POSITION") : -1;
  if (group < 0) return;
  if (Item* item = grid->FindItem(group, first)) item->m_text = SString::FromInt(firstValue);
  if (Item* item = grid->FindItem(group, second)) item->m_text = SString::FromInt(secondValue);
  grid->Redraw();
}

// --- writing back ------------------------------------------------------------------------

bool SDialogDesigner::FindRowDefinition(const _SCtrl* record, const char* group, const char* key,
                                        _SPropertyRow* row) const {
  if (!record || !group || !key) return false;
  int count = 0;
  const _SPropertyRow* general = GetGeneralRows(&count);
  for (int i = 0; i < count; ++i) {
    const _SPropertyRow& r = general[i];
    if ((r.conditions & ROW_NOT_DIALOG) && record->m_type == TYPE_DIALOG) continue;
    if (strcmp(r.group, group) == 0 && strcmp(r.key, key) == 0) {
      *row = r;
      return true;
    }
  }
  const _SPropertyRow* rows = GetTypeRows(record->m_type, &count);
  for (int i = 0; i < count; ++i) {
    const _SPropertyRow& r = rows[i];
    if (strcmp(r.group, group) != 0) continue;
    if (r.source == SRC_BORDER_ROWS) {
      int borderCount = 0;
      const _SPropertyRow* border = GetBorderRows(&borderCount);
      for (int k = 0; k < borderCount; ++k) {
        if (strcmp(border[k].key, key) != 0) continue;
        *row = border[k];
        return true;
      }
    } else if (r.source == SRC_DECLARED) {
      SString name = GetProperty(record, "EXTERN_NAME");
      for (int k = 0; k < m_externProperties.GetCount(); ++k) {
        SStringParser fields(m_externProperties.Get(k).GetText());
        if (fields.Parse(kDeclarationSeparator, 1, '"') != 4 || fields.GetToken(0) != name ||
            fields.GetToken(1) != key) {
          continue;
        }
        *row = {r.group, nullptr, 0, SRC_EXT, 0, OPT_NONE, ROW_SAME_TYPE};
        for (const EditorWord& word : kEditorWords) {
          if (fields.GetToken(3) == word.word) row->kind = int8_t(word.kind);
        }
        return true;
      }
    } else if (r.key && strcmp(r.key, key) == 0) {
      *row = r;
      return true;
    }
  }
  return false;
}

bool SDialogDesigner::ApplyRow(_SCtrl* record, const _SPropertyRow& row, const Item* item) {
  const char* key = item->m_key.GetText();
  switch (row.source) {
    case SRC_NAME:
      return Store(&record->m_name, item->m_text);
    case SRC_CAPTION:
      return Store(&record->m_caption, item->m_text);
    case SRC_X:
      return Store(&record->m_left, ToShort(item->m_text));
    case SRC_Y:
      return Store(&record->m_top, ToShort(item->m_text));
    case SRC_WIDTH:
      return Store(&record->m_width, ToShort(item->m_text));
    case SRC_HEIGHT:
      return Store(&record->m_height, ToShort(item->m_text));
    case SRC_HALIGN:
      return StoreProperty(record, key,
                           SString::FromInt(AnchorNumber(kHorizontalAnchors, item->m_text)));
    case SRC_VALIGN:
      return StoreProperty(record, key,
                           SString::FromInt(AnchorNumber(kVerticalAnchors, item->m_text)));
    case SRC_EXT:
    case SRC_EXT_INT:
      switch (item->m_kind) {
        case SPropertyCtrl::ITEM_READONLY:
          return false;
        case SPropertyCtrl::ITEM_BOOL:
          return StoreProperty(record, key, item->m_yes ? "1" : "0");
        case SPropertyCtrl::ITEM_COLOR:
          return StoreProperty(record, key, SString::FromInt(int32_t(item->m_color)));
        default:
          return StoreProperty(record, key, item->m_text);
      }
    case SRC_STYLE:
    case SRC_NOT_STYLE:
    case SRC_EXSTYLE: {
      uint32_t* word = row.source == SRC_EXSTYLE ? &record->m_exStyle : &record->m_style;
      bool set = item->m_yes != (row.source == SRC_NOT_STYLE);
      return Store(word, set ? *word | row.mask : *word & ~row.mask);
    }
    case SRC_BACKCOLOR:
      return Store<COLORREF>(&record->m_backColor, item->m_color);
    case SRC_TEXTCOLOR:
      return Store<COLORREF>(&record->m_textColor, item->m_color);
    case SRC_TRANSPARENT:
      return Store(&record->m_transparent, item->m_yes);
    case SRC_FONT: {
      // The default font (an empty name) leaves each control's size and
      // style as they were; a chosen font sets all three.
      bool changed = Store(&record->m_fontName, item->m_fontName);
      if (item->m_fontName.GetLength() == 0) return changed;
      changed = Store(&record->m_fontSize, int16_t(item->m_fontSize)) || changed;
      return Store(&record->m_fontStyle, uint32_t(item->m_fontStyle)) || changed;
    }
    case SRC_COMPUTED: {
      int rule = int(row.mask);
      if (rule <= RULE_NONE || rule >= RULE_COUNT) return false;
      for (const StyleChoice& choice : kStyleRules[rule].choices) {
        if (choice.option && item->m_text == choice.option) {
          return Store(&record->m_style,
                       (record->m_style & ~kStyleRules[rule].mask) | choice.written);
        }
      }
      return false;
    }
    default:
      return false;
  }
}

bool SDialogDesigner::ApplyPropertyRow(int group, int item) {
  SPropertyCtrl* grid = m_propertyGrid;
  SPropertyCtrl::_SGroup* rows = grid ? grid->GetGroup(group) : nullptr;
  const Item* edited = grid ? grid->GetItem(group, item) : nullptr;
  if (!rows || !edited || m_selection.GetCount() == 0) return false;
  const char* groupName = rows->m_name.GetText();
  const char* key = edited->m_key.GetText();

  _SPropertyRow row;
  if (FindRowDefinition(GetPrimary(), groupName, key, &row) && row.source == SRC_NAME) {
    // A name must stay an identifier that no other control bears.
    const _SCtrl* owner = FindControlByName(edited->m_text.GetText());
    if (!IsIdentifier(edited->m_text.GetText()) || (owner && owner != GetPrimary())) {
      if (owner && owner != GetPrimary()) ShowError("?NAMEEXIST");
      FillPropertyGrid(GetPrimary());
      return false;
    }
  }
  PushUndo();
  SArray<_SCtrl*> changed;
  for (int i = 0; i < m_selection.GetCount(); ++i) {
    _SCtrl* record = m_selection[i];
    if (FindRowDefinition(record, groupName, key, &row) && ApplyRow(record, row, edited)) {
      changed.Add(record);
    }
  }
  if (changed.GetCount() == 0) {
    DropLastUndo();
    return false;
  }
  for (int i = 0; i < changed.GetCount(); ++i) {
    if (changed[i] != m_dialog) RecreateControl(this, changed[i]);
  }
  Redraw();
  NotifyChanged();
  return true;
}
