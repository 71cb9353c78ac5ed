// The control factory: one control record of a dialog document becomes a
// live control window.
//
// The classes of most types belong to the window toolkit. The classes of the
// dialog designer and of the editor controls (binary, code editor, graph,
// image editor, panel, property grid, spreadsheet, wave editor) live in
// libraries above it, which register them here when they are linked in:
//
//   RegisterDialogControlClass(SDialogEditor::TYPE_CODEEDIT, &kCodeEditClass);
//
// The toolkit's compound controls (tree, ActiveX hosts, view-and-bars
// container, tabbed documents) register the same way from their own files,
// at framework start-up (CompoundControls.h).
//
// A type with neither a class of the toolkit nor a registered class cannot
// be created: the factory answers null for it.
#pragma once

#include "core/Platform.h"
#include "window/SDialogEditor.h"

class SDialog;
class SResource;
class SWnd;

// Makes the control of the record as a child of parent. The object is the
// one dialog->CreateCustomControl gives, else a new object of the class of
// the record's type; its window gets the record's rectangle, style (without
// WS_VISIBLE outside run mode), extended style, id and caption; then the
// record's colours and the type's extended properties are applied, entries
// named by them being read from the archive (skipped without one). Returns
// the control, owned by the caller, or null: no parent or record, a type
// outside 1 to 36, a type without a class, or a window that cannot be made
// (the object is destroyed then, also one the dialog gave).
SWnd* CreateDialogControl(HWND parent, const SDialogRecords::_SCtrl* record, SResource* archive,
                          bool runMode, SDialog* dialog);

// A record colour: 0xFF000000 (none) unchanged, 0xFE000000 + n the system
// colour n, any other value unchanged.
COLORREF DecodeDialogColor(COLORREF value);

// A control class registered from a library above the window toolkit. Its
// window is made as the type's row of the factory says (a framework window
// for all of these types).
struct SDialogControlClass {
  // A new object of the class; required.
  SWnd* (*construct)();
  // Applies the type's extended properties to the created control; null
  // when the type has none.
  void (*configure)(SWnd* control, const SDialogRecords::_SCtrl* record, SResource* archive,
                    bool runMode);
  // Links the control to the control another record names (the wave
  // editor's level meter; null for none); null when the type has no link.
  void (*link)(SWnd* control, SWnd* partner);
};

// Registers the class of a type (the pointer is kept); a null class or one
// without construct removes the registration. False for a type outside 1 to
// 36 and for a type whose class the window toolkit provides.
bool RegisterDialogControlClass(int type, const SDialogControlClass* controlClass);
// The registered class of the type; null when none.
const SDialogControlClass* FindDialogControlClass(int type);
