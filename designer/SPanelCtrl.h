// The tool panel (dialog type PANEL, kind 28): a stack of titled groups, each
// a flowing grid of 24-pixel square buttons that separators divide into
// runs. A button shows an image of its group's image lists or a colour
// swatch, can be checked (radio-style within its run, or on its own) and
// disabled; hovering it writes its caption into the group's title bar.
//
// A click on an enabled button reaches the panel itself as SWM_PANELCOMMAND
// and OnButton; every mouse button event reaches the parent as
// SWM_PANELMOUSE. Owners change a button's enabled and checked flags and
// its swatch through FindButton, then call RedrawGroup.
//
// Layout, from the client width W: each group's title row (the title height
// high, at least 16) is followed by a 1-pixel gap and its button rows; a row
// starts at x 12 and wraps when the next item would pass W; separators are 7
// wide. One pixel separates two groups.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"
#include "designer/DesignerMessages.h"
#include "window/ControlKinds.h"
#include "window/SImageList.h"
#include "window/SWnd.h"

class SPanelCtrl : public SWnd {
public:
  enum {
    KIND = ControlKinds::KIND_PANEL,
    BUTTON_SIZE = 24,  // width and height of a button, height of a separator
    SEPARATOR_WIDTH = 7,
    ROW_START = 12,  // x of the first item of a row
    MIN_TITLE_HEIGHT = 16,
    IMAGE_INSET = 4  // images and swatches sit this far inside their button
  };
  // A button without a swatch.
  static constexpr COLORREF NO_SWATCH = 0xFF000000;

  struct _SGroup;

  // One button or separator, owned by its group.
  struct _SButton {
    _SGroup* m_group;
    bool m_separator;  // a slot without a command that ends a run
    int m_command;     // 0 for separators
    SString m_caption;
    RECT m_rect;  // set by the layout
    int m_image;  // index into the group's image lists, set by the layout
    bool m_enabled;
    bool m_checked;
    COLORREF m_swatch;  // NO_SWATCH: the image is shown instead
  };

  // One titled group, owned by the panel.
  struct _SGroup {
    _SGroup() = default;
    _SGroup(const _SGroup&) = delete;
    _SGroup& operator=(const _SGroup&) = delete;
    ~_SGroup() { m_buttons.DeleteAndRemoveAll(); }

    // Index of the first button with the command (separators skipped); -1.
    int FindButton(int command) const;
    // The first and last index of the run holding the button with the
    // command (runs end at separators and at the ends); -1 when none.
    int FirstOfRun(int command) const;
    int LastOfRun(int command) const;

    int m_id = 0;
    SString m_caption;
    HIMAGELIST m_images = nullptr;  // enabled buttons; not owned
    SImageList m_disabledImages;    // disabled buttons; owned
    RECT m_title = {0, 0, 0, 0};
    RECT m_rect = {0, 0, 0, 0};   // title, gap and button rows
    bool m_enabled = true;        // a disabled group draws a grey title
    SArray<_SButton*> m_buttons;  // owned, in order
  };

  SPanelCtrl();
  ~SPanelCtrl() override;

  // Registers the class with the dialog control factory (type PANEL).
  static bool Register();

  // Appends an enabled group without buttons and lays out; null when a
  // group has that id.
  _SGroup* AddGroup(int id, const char* caption);
  // Append to the last group and lay out; false without a group. A command
  // id of -1 is stored as 0.
  bool AddButton(int command, const char* caption);
  bool AddSeparator();
  // Null when the group or the button is absent.
  _SButton* FindButton(int group, int command);
  _SGroup* FindGroup(int id);
  // Checks the button and unchecks the rest of its run, then redraws the
  // group; false when absent or already checked.
  bool CheckRadioButton(int group, int command);
  // False when absent or when the flag already has that value.
  bool SetButtonCheck(int group, int command, bool checked);
  // Disables every button of the group and redraws it; false when the
  // group is absent or itself disabled.
  bool DisableGroup(int group);
  void RedrawGroup(int group);
  // The first button holding the client point (separators never, disabled
  // ones only with includeDisabled); its group and command ids, or -1 and
  // -1 and null.
  _SButton* HitTest(int x, int y, int* group, int* command, bool includeDisabled);
  // Places every title and button from the client width; redraws nothing.
  void Layout();
  void Paint(HDC dc);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // A click on an enabled button, after SWM_PANELCOMMAND; empty here.
  virtual void OnButton(int group, int command, _SButton* button);

  // Captured at construction.
  COLORREF m_highlightTextColor, m_highlightColor, m_faceColor, m_windowColor, m_shadowColor;
  HFONT m_titleFont;  // owned; null until the window exists
  int m_titleHeight;
  SArray<_SGroup*> m_groups;             // owned, in order
  int m_hotGroup, m_hotCommand;          // under the mouse; -1 none
  int m_pressedGroup, m_pressedCommand;  // left button went down on it; -1 none

private:
  void OnAfterCreate();
  // Hot tracking of a mouse move.
  void OnMouseMove(int x, int y);
  void PaintGroup(HDC dc, _SGroup* group, HPEN pen, bool* captionShown);
  void PaintButton(HDC dc, _SGroup* group, _SButton* button, HPEN pen, bool* captionShown);
  void NotifyMouse(UINT message, LPARAM lParam);
};
