// The kind-of-type table and the registry of kind rows.
#include "core/Platform.h"
#include "window/ControlKinds.h"

namespace {

typedef ControlKinds K;

// The kind of each type, in type order.
const signed char kKindOfType[K::TYPE_COUNT] = {
    -1,  // DIALOG
    K::KIND_BINARY,
    K::KIND_BROWSER,
    K::KIND_BUTTON,
    K::KIND_CHECK,
    K::KIND_CODEEDIT,
    K::KIND_COMBO,
    K::KIND_EDIT,
    K::KIND_EXTENDEDLIST,
    K::KIND_FLASH,
    K::KIND_GRAPH,
    K::KIND_GROUP,
    K::KIND_GUI,
    K::KIND_IMAGEEDITOR,
    K::KIND_LABEL,
    K::KIND_LCD,
    K::KIND_LEVEL,
    K::KIND_LIST,
    K::KIND_MEDIA,
    K::KIND_MEDIAPLAYER,
    K::KIND_PANEL,
    K::KIND_PROGRESS,
    K::KIND_PROPERTY,
    K::KIND_RADIO,
    K::KIND_RICHEDIT,
    K::KIND_SCROLL,
    K::KIND_SLIDER,
    K::KIND_SPLITTER,
    K::KIND_SPREAD,
    K::KIND_STATIC,
    K::KIND_TAB,
    K::KIND_TABDOC,
    K::KIND_TOOLBAR,
    K::KIND_TREE,
    K::KIND_WAVEEDITOR,
    K::KIND_WINDOW,
    K::KIND_EXTERN,
};

// Zero-initialised before any file's registration runs.
const int kMaxRows = 64;
const SControlKind* g_rows[kMaxRows];
int g_rowCount;

}  // namespace

int ControlKinds::KindOfType(int type) {
  return type >= 0 && type < TYPE_COUNT ? kKindOfType[type] : -1;
}

bool RegisterControlKind(const SControlKind* row) {
  if (!row) return true;
  for (int i = 0; i < g_rowCount; ++i) {
    if (g_rows[i] == row || (row->kind >= 0 && g_rows[i]->kind == row->kind)) {
      g_rows[i] = row;
      return true;
    }
  }
  if (g_rowCount < kMaxRows) g_rows[g_rowCount++] = row;
  return true;
}

const SControlKind* FindControlKind(int kind) {
  if (kind < 0) return nullptr;
  for (int i = 0; i < g_rowCount; ++i) {
    if (g_rows[i]->kind == kind) return g_rows[i];
  }
  return nullptr;
}

int GetControlKindCount() { return g_rowCount; }

const SControlKind* GetControlKind(int index) {
  return index >= 0 && index < g_rowCount ? g_rows[index] : nullptr;
}
