// SGuiCtrl: bars, layout, the view and the container's messages.
#include "core/Platform.h"
#include "window/SGuiCtrl.h"

#include "window/ControlFactory.h"
#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

namespace {

const int kDefaultWidth = 100;
const UINT kBarRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME;

bool SameSide(uint32_t a, uint32_t b) {
  const uint32_t side = SGuiCtrl::BAR_VERTICAL | SGuiCtrl::BAR_FAR;
  return (a & side) == (b & side);
}

int Larger(int a, int b) { return a > b ? a : b; }

// The sample bars of a container made for the dialog document's editing.
struct SampleBar {
  int id, size;
  uint32_t flags;
};
const SampleBar kSampleBars[] = {{0, 25, 0x160}, {1, 100, 0x01}, {2, 100, 0x03}, {3, 100, 0x02}};

SWnd* ConstructGui() { return new SGuiCtrl; }

void ConfigureGui(SWnd* control, const SDialogRecords::_SCtrl*, SResource*, bool runMode) {
  if (runMode) return;
  for (const SampleBar& bar : kSampleBars) {
    static_cast<SGuiCtrl*>(control)->AddBar(bar.id, bar.size, bar.flags);
  }
}

const SControlKind kGuiKind = {ControlKinds::KIND_GUI};
const bool kGuiKindRegistered = RegisterControlKind(&kGuiKind);
const SDialogControlClass kGuiClass = {ConstructGui, ConfigureGui, nullptr};

}  // namespace

bool SGuiCtrl::Register() { return RegisterDialogControlClass(ControlKinds::TYPE_GUI, &kGuiClass); }

// --- bars -----------------------------------------------------------------------------

SGuiCtrl::_SBar::_SBar(SGuiCtrl* owner, int id, uint32_t flags, int height)
    : m_owner(owner),
      m_id(id),
      m_flags(flags),
      m_width(kDefaultWidth),
      m_height(Larger(kMinimumSize, height)) {
  m_window.m_owner = owner;
  m_window.m_bar = this;
}

SGuiCtrl::_SBar::~_SBar() { ReleaseInnerWindow(m_window.m_hWnd); }

void SGuiCtrl::_SBar::SetSize(int width, int height, bool single) {
  m_width = Larger(kMinimumSize, width);
  m_height = Larger(kMinimumSize, height);
  if (single || !m_owner) return;
  SArray<_SBar*>& bars = m_owner->m_bars;
  int index = m_owner->GetBarIndex(this);
  if (index < 0) return;
  bool vertical = IsVertical();
  for (int i = index + 1; i < bars.GetCount(); ++i) {
    _SBar* other = bars[i];
    if (!SameSide(other->m_flags, m_flags)) continue;
    if (other->m_flags & BAR_NEW_STRIP) break;
    other->SetSize(vertical ? m_width : other->m_width, vertical ? other->m_height : m_height,
                   true);
  }
  if (m_flags & BAR_NEW_STRIP) return;
  for (int i = index - 1; i >= 0; --i) {
    _SBar* other = bars[i];
    if (!SameSide(other->m_flags, m_flags)) continue;
    other->SetSize(vertical ? m_width : other->m_width, vertical ? other->m_height : m_height,
                   true);
    if (other->m_flags & BAR_NEW_STRIP) break;
  }
}

// --- the container ------------------------------------------------------------------

SGuiCtrl::SGuiCtrl() { m_kind = ControlKinds::KIND_GUI; }

SGuiCtrl::~SGuiCtrl() {
  DeleteBars();
  ApplyLayout();
  if (m_view.m_hWnd) ::DestroyWindow(m_view.m_hWnd);
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

void SGuiCtrl::DeleteBars() {
  for (int i = 0; i < m_bars.GetCount(); ++i) delete m_bars[i];
  m_bars.FreeBuffer();
}

bool SGuiCtrl::OnChildMessage(_SBar*, UINT, WPARAM, LPARAM, LRESULT*) { return true; }

SGuiCtrl::_SBar* SGuiCtrl::FindBar(int id) {
  for (int i = 0; i < m_bars.GetCount(); ++i) {
    if (m_bars[i]->m_id == id) return m_bars[i];
  }
  return nullptr;
}

int SGuiCtrl::GetBarIndex(const _SBar* bar) const {
  for (int i = 0; i < m_bars.GetCount(); ++i) {
    if (m_bars[i] == bar) return i;
  }
  return -1;
}

bool SGuiCtrl::AddBar(int id, int size, uint32_t flags) {
  if (FindBar(id) || !m_hWnd) return false;
  _SBar* bar = new _SBar(this, id, flags, size);
  if (!bar->m_window.Create("", WS_CHILD | WS_VISIBLE, 0, nullptr, m_hWnd)) {
    delete bar;
    return false;
  }
  m_bars.Add(bar);
  ApplyLayout();
  return true;
}

int SGuiCtrl::PreviousBarOnSide(int index) const {
  if (index < 0 || index >= m_bars.GetCount()) return -1;
  for (int i = index - 1; i >= 0; --i) {
    if (!(m_bars[i]->m_flags & BAR_HIDDEN) &&
        SameSide(m_bars[i]->m_flags, m_bars[index]->m_flags)) {
      return i;
    }
  }
  return -1;
}

int SGuiCtrl::NextBarOnSide(int index) const {
  if (index < 0 || index >= m_bars.GetCount()) return -1;
  for (int i = index + 1; i < m_bars.GetCount(); ++i) {
    if (!(m_bars[i]->m_flags & BAR_HIDDEN) &&
        SameSide(m_bars[i]->m_flags, m_bars[index]->m_flags)) {
      return i;
    }
  }
  return -1;
}

SGuiCtrl::_SBar* SGuiCtrl::GetPreviousBar(const _SBar* bar) {
  int previous = PreviousBarOnSide(GetBarIndex(bar));
  return previous >= 0 ? m_bars[previous] : nullptr;
}

bool SGuiCtrl::IsInOutermostStrip(int index) const {
  int first = index;
  for (int previous; first >= 0 && !(m_bars[first]->m_flags & BAR_NEW_STRIP) &&
                     (previous = PreviousBarOnSide(first)) >= 0;) {
    first = previous;
  }
  return first >= 0 && PreviousBarOnSide(first) < 0;
}

void SGuiCtrl::ComputeLayout(RECT* remaining, std::vector<RECT>* rects) {
  RECT free = {0, 0, 0, 0};
  if (m_hWnd) ::GetClientRect(m_hWnd, &free);
  std::vector<RECT> placed(size_t(m_bars.GetCount()), RECT{0, 0, 0, 0});
  for (int i = 0; i < m_bars.GetCount(); ++i) {
    _SBar* bar = m_bars[i];
    if (bar->m_flags & BAR_HIDDEN) continue;
    RECT& rect = placed[size_t(i)];
    int previous = PreviousBarOnSide(i);
    if (!(bar->m_flags & BAR_NEW_STRIP) && previous >= 0) {
      // Shares the strip: the previous bar keeps its own length.
      RECT& before = placed[size_t(previous)];
      const _SBar* other = m_bars[previous];
      rect = before;
      if (bar->IsVertical()) {
        before.bottom = before.top + other->m_height;
        rect.top = before.bottom;
      } else {
        before.right = before.left + other->m_width;
        rect.left = before.right;
      }
      continue;
    }
    rect = free;
    if (bar->IsVertical() && !bar->IsFar()) {
      rect.right = free.left = free.left + bar->m_width;
    } else if (bar->IsVertical()) {
      rect.left = free.right = free.right - bar->m_width;
    } else if (!bar->IsFar()) {
      rect.bottom = free.top = free.top + bar->m_height;
    } else {
      rect.top = free.bottom = free.bottom - bar->m_height;
    }
  }
  if (remaining) *remaining = free;
  if (rects) *rects = placed;
}

void SGuiCtrl::ApplyLayout() {
  if (!m_hWnd) return;
  RECT free;
  std::vector<RECT> rects;
  ComputeLayout(&free, &rects);
  for (int i = 0; i < m_bars.GetCount(); ++i) {
    _SWndBar& window = m_bars[i]->m_window;
    if (!window.m_hWnd) continue;
    if (m_bars[i]->m_flags & BAR_HIDDEN) {
      ::ShowWindow(window.m_hWnd, SW_HIDE);
      continue;
    }
    const RECT& rect = rects[size_t(i)];
    RECT present;
    if (!RectInClientOf(window.m_hWnd, m_hWnd, &present) || !::EqualRect(&present, &rect)) {
      ::MoveWindow(window.m_hWnd, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, FALSE);
    }
    ::ShowWindow(window.m_hWnd, SW_SHOWNA);
  }
  RECT present;
  if (m_view.m_hWnd &&
      (!RectInClientOf(m_view.m_hWnd, m_hWnd, &present) || !::EqualRect(&present, &free))) {
    ::MoveWindow(m_view.m_hWnd, free.left, free.top, free.right - free.left, free.bottom - free.top,
                 TRUE);
  }
  for (int i = 0; i < m_bars.GetCount(); ++i) {
    if (m_bars[i]->m_window.m_hWnd) m_bars[i]->m_window.Redraw(nullptr, kBarRedraw);
  }
  Redraw();
}

LRESULT SGuiCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case SWM_AFTERCREATE:
      SetBackColor(::GetSysColor(COLOR_APPWORKSPACE));
      m_view.m_owner = this;
      m_view.Create("", WS_CHILD | WS_VISIBLE, 0, nullptr, m_hWnd);
      ApplyLayout();
      break;
    case WM_SIZE:
      ApplyLayout();
      break;
    case WM_DESTROY:
      DeleteBars();
      ApplyLayout();
      if (m_view.m_hWnd) {
        ::ShowWindow(m_view.m_hWnd, SW_HIDE);
        ::DestroyWindow(m_view.m_hWnd);
      }
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}

LRESULT SGuiCtrl::_SWndView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == SWM_AFTERCREATE) SetBackColor(::GetSysColor(COLOR_APPWORKSPACE));
  LRESULT result = 0;
  if (m_owner && !m_owner->OnChildMessage(nullptr, message, wParam, lParam, &result)) return result;
  return SWnd::WindowProc(message, wParam, lParam);
}
