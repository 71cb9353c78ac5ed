// STreeCtrl: copying and moving subtrees, and the drag of an item.
#include "core/Platform.h"
#include "window/STreeCtrl.h"

#include "window/DragInput.h"
#include "window/SCursor.h"
#include "window/WindowPrivate.h"

#include <vector>

namespace {

const int kTextSize = 1024;
const int kDropCursor = 14;

// The dotted rectangle around the target's label, drawn and erased with
// NOTXOR on the screen. Every way out of the drag ends it: the rectangle is
// erased, the cursor restored and the screen DC and pen released.
class DragFeedback {
public:
  ~DragFeedback() { End(); }

  void Begin() {
    m_dc = ::GetDC(nullptr);
    m_pen = ::CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    m_oldPen = ::SelectObject(m_dc, m_pen);
    m_oldBrush = ::SelectObject(m_dc, ::GetStockObject(NULL_BRUSH));
    m_oldRop = ::SetROP2(m_dc, R2_NOTXORPEN);
    m_cursor = ::GetCursor();
  }

  // Moves the rectangle to the item's label (none for a null tree or item).
  void Show(STreeCtrl* tree, HTREEITEM item) {
    RECT rect = {0, 0, 0, 0};
    if (tree && item) {
      memcpy(&rect, &item, sizeof(item));
      if (tree->SendMessage(TVM_GETITEMRECT, TRUE, ToLParam(&rect))) {
        ::MapWindowPoints(tree->m_hWnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
      } else {
        ::SetRectEmpty(&rect);
      }
    }
    if (::EqualRect(&rect, &m_shown)) return;
    Draw(m_shown);
    Draw(rect);
    m_shown = rect;
  }

  void End() {
    if (!m_dc) return;
    Draw(m_shown);
    ::SetRectEmpty(&m_shown);
    ::SetROP2(m_dc, m_oldRop);
    ::SelectObject(m_dc, m_oldBrush);
    ::SelectObject(m_dc, m_oldPen);
    ::DeleteObject(m_pen);
    ::ReleaseDC(nullptr, m_dc);
    m_dc = nullptr;
    ::SetCursor(m_cursor);
  }

private:
  void Draw(const RECT& rect) {
    if (m_dc && !::IsRectEmpty(&rect)) {
      ::Rectangle(m_dc, rect.left, rect.top, rect.right, rect.bottom);
      ::GdiFlush();
    }
  }

  HDC m_dc = nullptr;
  HPEN m_pen = nullptr;
  HGDIOBJ m_oldPen = nullptr, m_oldBrush = nullptr;
  int m_oldRop = 0;
  HCURSOR m_cursor = nullptr;
  RECT m_shown = {0, 0, 0, 0};
};

}  // namespace

// One item and its subtree as read before a copy.
struct STreeCtrl::_SNode {
  HTREEITEM item;
  SString text;
  int image, selectedImage;
  LPARAM data;
  std::vector<_SNode> children;
};

bool STreeCtrl::ReadSnapshot(HTREEITEM item, _SNode* node) {
  char text[kTextSize] = {};
  TVITEMA record;
  memset(&record, 0, sizeof(record));
  record.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  record.hItem = item;
  record.pszText = text;
  record.cchTextMax = kTextSize;
  if (!SendMessage(TVM_GETITEMA, 0, ToLParam(&record))) return false;
  node->item = item;
  node->text = record.pszText;
  node->image = record.iImage;
  node->selectedImage = record.iSelectedImage;
  node->data = record.lParam;
  for (HTREEITEM child = GetNextItem(item, TVGN_CHILD); child;
       child = GetNextItem(child, TVGN_NEXT)) {
    node->children.emplace_back();
    if (!ReadSnapshot(child, &node->children.back())) return false;
  }
  return true;
}

HTREEITEM STreeCtrl::InsertSnapshot(const _SNode& node, HTREEITEM source, HTREEITEM parent,
                                    HTREEITEM after, STreeCtrl* target, UINT message) {
  HTREEITEM made = target->InsertItem(parent, node.data, node.text.GetText(), node.image,
                                      node.selectedImage, after);
  if (!made) return nullptr;
  _SCopy copy = {source, made, target == this ? nullptr : target, 0};
  NotifyParent(message, ToWParam(this), ToLParam(&copy));
  if (!target->m_hWnd) return nullptr;
  for (const _SNode& child : node.children) {
    if (!InsertSnapshot(child, child.item, made, TVI_LAST, target, message)) return nullptr;
  }
  return made;
}

HTREEITEM STreeCtrl::PlaceCopy(HTREEITEM source, HTREEITEM target, bool asChild, bool after,
                               STreeCtrl* targetTree, UINT message) {
  STreeCtrl* dest = targetTree ? targetTree : this;
  if (!source || !m_hWnd || !dest->m_hWnd) return nullptr;
  HTREEITEM parent = nullptr;
  HTREEITEM place = TVI_LAST;
  if (target && asChild) {
    if (dest == this && IsDescendant(target, source)) return nullptr;
    parent = target;
  } else if (target) {
    parent = dest->GetNextItem(target, TVGN_PARENT);
    HTREEITEM previous = dest->GetNextItem(target, TVGN_PREVIOUS);
    place = after ? target : previous ? previous : TVI_FIRST;
  }
  // The whole subtree is read first, so that a copy inside the source ends.
  _SNode snapshot;
  if (!ReadSnapshot(source, &snapshot)) return nullptr;
  bool redraw = dest->SetRedraw(false);
  HTREEITEM made = InsertSnapshot(snapshot, source, parent, place, dest, message);
  if (dest->m_hWnd && redraw) {
    dest->SetRedraw(true);
    dest->Redraw();
  }
  return made;
}

HTREEITEM STreeCtrl::CopyItem(HTREEITEM source, HTREEITEM target, bool asChild, bool after,
                              STreeCtrl* targetTree) {
  return PlaceCopy(source, target, asChild, after, targetTree, SWM_TREECOPIED);
}

HTREEITEM STreeCtrl::MoveItem(HTREEITEM source, HTREEITEM target, bool asChild, bool after,
                              STreeCtrl* targetTree) {
  bool sameTree = !targetTree || targetTree == this;
  if (sameTree && target && ((target == source && asChild) || IsDescendant(target, source))) {
    return nullptr;
  }
  HTREEITEM made = PlaceCopy(source, target, asChild, after, targetTree, SWM_TREEMOVED);
  if (!made || !m_hWnd) return made;
  bool redraw = SetRedraw(false);
  DeleteItem(source, false);
  if (redraw) {
    SetRedraw(true);
    Redraw();
  }
  return made;
}

void STreeCtrl::TrackDrag(HTREEITEM dragged) {
  SendMessage(TVM_SELECTITEM, TVGN_CARET, ToLParam(dragged));
  DragFeedback feedback;
  bool started = false, valid = false, escape = false, down = true;
  STreeCtrl* targetTree = nullptr;
  HTREEITEM targetItem = nullptr;
  HCURSOR dropCursor = GetFrameworkCursor(kDropCursor);
  HCURSOR noCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_NO));
  for (;;) {
    DragInput input;
    g_readDragInput(&input);
    down = input.buttonDown;
    escape = input.escape;
    POINT cursor = input.cursor;
    if (!down || escape || !m_hWnd) break;
    HWND under = ::WindowFromPoint(cursor);
    STreeCtrl* over = under == m_hWnd ? this : nullptr;
    if (!over && under && m_dropTargets.Find(under) >= 0) {
      over = dynamic_cast<STreeCtrl*>(FromHandle(under));
    }
    HTREEITEM hit = nullptr;
    if (over) {
      POINT point = cursor;
      ::ScreenToClient(over->m_hWnd, &point);
      hit = over->HitTest(point);
    }
    if (!started) {
      if (!over || (over == this && hit == dragged)) {
        ::Sleep(kDragPollPause);
        continue;
      }
      started = true;
      if (NotifyParent(SWM_TREEDRAGSTART, ToWParam(this), ToLParam(dragged)) != 0 || !m_hWnd) {
        return;
      }
      feedback.Begin();
    }
    valid = over && hit != dragged && !(over == this && IsDescendant(hit, dragged));
    feedback.Show(valid ? over : nullptr, hit);
    ::SetCursor(valid && dropCursor ? dropCursor : noCursor);
    targetTree = over;
    targetItem = hit;
    ::Sleep(kDragPollPause);
  }
  feedback.End();
  if (!started || escape || !m_hWnd) return;
  if (!valid) {
    NotifyParent(SWM_TREEDROPNOWHERE, ToWParam(this), ToLParam(dragged));
    return;
  }
  _SDrop drop = {dragged, targetItem, targetTree == this ? nullptr : targetTree, 1, 0, 1, 1};
  if (NotifyParent(SWM_TREEDROP, ToWParam(this), ToLParam(&drop)) != 0 || !m_hWnd) return;
  STreeCtrl* dest = drop.tree ? drop.tree : this;
  HTREEITEM made = drop.move
                       ? MoveItem(drop.dragged, drop.target, drop.asChild, drop.after, drop.tree)
                       : CopyItem(drop.dragged, drop.target, drop.asChild, drop.after, drop.tree);
  if (made && dest->m_hWnd) dest->SendMessage(TVM_SELECTITEM, TVGN_CARET, ToLParam(made));
}
