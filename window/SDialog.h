// The framework window a dialog text becomes.
//
// A dialog owns its controls, kept in four parallel lists (window, record
// id, record name, font), its control bar, status bar and tool bar, its
// menus with their image list, and the tool bar's image list. Create builds
// the window and the controls from a dialog text ("VANDRO DIALOG 1.0.0.0");
// the program's dialogs derive from SDialog, find their controls by name and
// run modally through RunModal, during which buttons named "OK" and
// "CANCEL" end the run with 0 and -1.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"
#include "core/SStringArray.h"
#include "window/MenuFile.h"
#include "window/SDialogRecords.h"
#include "window/SImageList.h"
#include "window/SWnd.h"
#include "window/ToolbarFile.h"

class SControlBarCtrl;
class SFile;
class SMenu;
class SResource;
class SStatusBarCtrl;
class SToolBarCtrl;

class SDialog : public SWnd {
public:
  SDialog();
  // OnDestroy; the image lists go with their objects.
  ~SDialog() override;

  // Asked by the control factory for every record before it makes the
  // standard control of the type; a window returned here is created and
  // configured instead. Null here.
  virtual SWnd* CreateCustomControl(int type, const SDialogRecords::_SCtrl* record);

  // Builds the dialog from the text (CreateFromText with this dialog). False,
  // without doing anything, when the dialog already has a window.
  bool Create(SFile* text, HWND parent = nullptr, bool popup = true, void* owner = nullptr,
              SMenuFactory menuFactory = nullptr, SToolBarFactory toolBarFactory = nullptr,
              SMenuIdResolver resolver = nullptr, bool keepHidden = false,
              SResource* archive = nullptr, void* createParam = nullptr);

  // The dialog builder. Reads the text (from its start) into a temporary
  // dialog document, creates the dialog window from the dialog record
  // (popup, or a child of the parent when popup is false and a parent is
  // given), one control per further record through CreateDialogControl, and
  // applies the dialog options, tab order, links between controls, status
  // bar, tool bar and menu (the last two only with an archive, which is also
  // the source of every file-valued key), alignment, window state, layering
  // and focus; then shows the window unless keepHidden, and delivers
  // SWM_DIALOGCREATED with the creation parameter. owner is handed to the
  // factories and the resolver. True when the window and every control were
  // made; what was made before a failure stays with the dialog.
  static bool CreateFromText(SFile* text, SDialog* dialog, HWND parent, bool popup, void* owner,
                             SMenuFactory menuFactory, SToolBarFactory toolBarFactory,
                             SMenuIdResolver resolver, bool keepHidden, SResource* archive,
                             void* createParam);

  // Adds a control the builder made: the record's font (sent with
  // WM_SETFONT), the control, its id and name. False for null arguments.
  bool AttachControl(SWnd* control, const SDialogRecords::_SCtrl* record);
  // The first control with exactly that name; null when none.
  SWnd* GetControl(const char* name);
  // The first control with that record id (compared in 16 bits); null when
  // none.
  SWnd* GetControlById(int id);

  // A rebar at the dialog's top; false when there is one already.
  bool CreateControlBar();
  // Puts the window into the control bar as a new band (its automatic
  // alignment cleared); nothing without a control bar.
  void AddBand(SWnd* window, int width, int height);
  // A status bar of max(parts, 1) parts at the dialog's bottom; the client
  // area grows by its height. False when there is one already.
  bool CreateStatusBar(int parts);

  // Releases the controls, bars, menus and fonts; the image-list objects
  // stay (the menu images are destroyed).
  void OnDestroy();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The four control lists have the same count; index i describes one
  // control.
  SArray<SWnd*> m_controls;             // owned, in creation order
  SArray<unsigned long> m_controlIds;   // record ids, sign-extended from 16 bits
  SStringArray m_controlNames;
  SArray<HFONT__*> m_controlFonts;      // owned; null for the default font
  int m_controlBarHeight;               // the control bar's height last seen
  SControlBarCtrl* m_controlBar;        // owned; null when none
  SStatusBarCtrl* m_statusBar;          // owned; null when none
  SArray<SMenu*> m_menus;               // owned; menu 0 is the menu bar
  SImageList m_menuImages;
  SToolBarCtrl* m_toolBar;              // owned; null when none
  SImageList m_toolBarImages;
  HICON m_icon;                         // made from the dialog's icon entry; owned

private:
  // The control bar changed its height: the dialog and its direct child
  // controls follow.
  void OnBarAutoSize();
};
