// SGuiCtrl: a container of a central view and docked bars.
//
// Bars dock to the left, right, top or bottom edge in strips, in the order
// they were added (earlier bars lie further out); each is a framework window
// with a frame painted by the control (a caption band with grips and a close
// box) whose edges can be dragged. The view takes what the bars leave.
// Whatever a bar or the view shows is created as a child of its window; those
// windows stay their creators' (they are hidden and un-parented, never
// destroyed, when a bar goes). Every message of the view and the bars passes
// OnChildMessage first.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "window/SWnd.h"

#include <vector>

enum : UINT {
  SWM_GUIBARCLOSE = 0x8C1C,  // to the parent: lParam = the bar's id; nonzero keeps the bar
};

class SGuiCtrl : public SWnd {
public:
  enum : uint32_t {
    BAR_VERTICAL = 0x01,   // docked left or right, caption band on top
    BAR_FAR = 0x02,        // right or bottom
    BAR_NEW_STRIP = 0x04,  // begins a strip of its own
    BAR_HIDDEN = 0x08,
    BAR_NO_CLOSE = 0x10,
    BAR_THIN = 0x20,  // 8-pixel band, one grip, no close box
    BAR_FIXED_HEIGHT = 0x40,
    BAR_FIXED_WIDTH = 0x80,
  };
  // Hit codes of a bar window's point.
  enum Hit { HIT_NONE, HIT_CLOSE, HIT_CAPTION, HIT_TOP, HIT_BOTTOM, HIT_LEFT, HIT_RIGHT };
  static const int kMinimumSize = 16;

  struct _SBar;

  class _SWndView : public SWnd {
  public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    SGuiCtrl* m_owner = nullptr;
  };

  class _SWndBar : public SWnd {
  public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnZoneEnter(const RECT* zone, int x, int y, int index) override;
    void OnZoneMove(const RECT* zone, int x, int y, int index) override;
    void OnZoneLeave(const RECT* zone, int x, int y, int index) override;
    void PaintFrame(HDC dc);
    // The part of the bar at the point in window coordinates.
    int HitTest(int x, int y);
    // Drags the edge under the screen point until the left button is up.
    void TrackSizing(int x, int y);
    void OnFrameClick(POINT screen);

    SGuiCtrl* m_owner = nullptr;
    _SBar* m_bar = nullptr;
  };

  struct _SBar {
    _SBar(SGuiCtrl* owner, int id, uint32_t flags, int height);
    // Hides and un-parents the framework windows in the bar window, then
    // destroys it.
    ~_SBar();
    // Sizes are raised to 16; without single the shared dimension goes to
    // the other bars of the strip.
    void SetSize(int width, int height, bool single);
    bool IsVertical() const { return (m_flags & BAR_VERTICAL) != 0; }
    bool IsFar() const { return (m_flags & BAR_FAR) != 0; }

    SGuiCtrl* m_owner;
    int m_id;
    uint32_t m_flags;
    int m_width;
    int m_height;
    _SWndBar m_window;
  };

  // Registers the class with the control factory (framework start-up does).
  static bool Register();

  SGuiCtrl();
  ~SGuiCtrl() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Default: true (go on with the default processing).
  virtual bool OnChildMessage(_SBar* source, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT* result);

  // False when a bar with the id exists.
  bool AddBar(int id, int size, uint32_t flags);
  _SBar* FindBar(int id);
  int GetBarIndex(const _SBar* bar) const;
  // The free rectangle left for the view and each bar's rectangle in the
  // control's client coordinates (an empty one for a hidden bar).
  void ComputeLayout(RECT* remaining, std::vector<RECT>* bars);
  void ApplyLayout();
  int PreviousBarOnSide(int index) const;
  _SBar* GetPreviousBar(const _SBar* bar);
  // True when the bar's strip is the outermost of its side.
  bool IsInOutermostStrip(int index) const;
  // The next visible bar of the same side after the index; -1 for none.
  int NextBarOnSide(int index) const;

  _SWndView m_view;
  SArray<_SBar*> m_bars;

private:
  void DeleteBars();
};
