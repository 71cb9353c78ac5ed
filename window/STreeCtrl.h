// STreeCtrl: the common tree view as a framework control.
//
// It adds the tree file format ("VANDRO TREE 1.0.0.0" followed by one XML
// document whose elements below the root are the items), check boxes that
// propagate up and down, label editing with F2, drag and drop of whole
// subtrees within the tree or onto registered trees, a file-system browsing
// mode that fills folders as they are expanded, and notifications to the
// parent (SWM_TREE... messages, wParam the tree).
//
// Copies are snapshots: a subtree is read whole before anything is
// inserted, so a copy placed inside its own source ends. A move into its own
// subtree is refused.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SDisk.h"
#include "core/SString.h"
#include "core/SStringArray.h"
#include "window/SImageList.h"
#include "window/SWnd.h"

class SFile;

// Notifications of the tree to its parent beyond the framework's common ones.
enum : UINT {
  SWM_TREEKEYDOWN = 0x8CF8,      // lParam = virtual key
  SWM_TREECHECKED = 0x8CFC,      // lParam = the toggled item
  SWM_TREEDRAGSTART = 0x8D01,    // lParam = the dragged item; nonzero cancels the drag
  SWM_TREEDROP = 0x8D02,         // lParam = STreeCtrl::_SDrop*; nonzero: the parent did it
  SWM_TREEDROPNOWHERE = 0x8D03,  // lParam = the dragged item
  SWM_TREECOPIED = 0x8D04,       // lParam = STreeCtrl::_SCopy*
  SWM_TREEMOVED = 0x8D05,        // lParam = STreeCtrl::_SCopy*
  SWM_TREEDELETED = 0x8D06,      // lParam = STreeCtrl::_SDeleted*
};

class STreeCtrl : public SWnd {
public:
  // What a drop would do; the parent may change the operation bytes.
  struct _SDrop {
    HTREEITEM dragged;
    HTREEITEM target;  // null: the top level, appended last
    STreeCtrl* tree;   // the target tree; null when it is this tree
    uint8_t move;      // 1 move, 0 copy
    uint8_t unused;
    uint8_t asChild;  // 1 under the target, 0 beside it
    uint8_t after;    // beside: 1 after the target, 0 before it
  };
  // One item copied: the source item, its new copy and the target tree
  // (null for this tree).
  struct _SCopy {
    HTREEITEM source;
    HTREEITEM item;
    STreeCtrl* tree;
    uint32_t reserved;
  };
  struct _SDeleted {
    HTREEITEM item;
    LPARAM data;
  };
  static const char* const kMagic;  // "VANDRO TREE 1.0.0.0"

  // Registers the class with the control factory (framework start-up does).
  static bool Register();

  STreeCtrl();
  ~STreeCtrl() override;

  // The tree view window; TVS_DISABLEDRAGDROP is always added (the tree
  // drags by itself when m_dragDrop is set).
  bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, int id);

  void SetBackColor(COLORREF color) override;
  COLORREF GetBackColor() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Browsing mode: fills a folder item on its first expansion.
  virtual void OnItemExpanded(HTREEITEM item, bool expanded);
  // Check propagation after the user toggled a check box.
  virtual void OnItemChecked(HTREEITEM item, bool checked);

  // Replaces the items with the file's (magic line, then XML). False for a
  // wrong magic line or XML that does not parse (the tree keeps its items),
  // or when an insertion failed (the tree is left empty).
  bool Load(SFile* file);
  // Writes the items as the reader reads them: the magic line, then the
  // document with one "item" element per item; attributes at their default
  // are left out.
  bool Save(SFile* file);

  HTREEITEM InsertItem(HTREEITEM parent, LPARAM data, const char* text, int image = -1,
                       int selectedImage = -1, HTREEITEM after = TVI_LAST);
  // With notify the children go first and the parent hears SWM_TREEDELETED
  // for every deleted item.
  bool DeleteItem(HTREEITEM item, bool notify);
  void DeleteAllItems();
  SString GetItemText(HTREEITEM item);
  SString GetItemPath(HTREEITEM item);
  LPARAM GetItemData(HTREEITEM item);
  HTREEITEM GetSelection();
  HTREEITEM GetNextItem(HTREEITEM item, UINT relation);
  int GetCount();
  bool GetCheck(HTREEITEM item);
  void SetCheck(HTREEITEM item, bool checked);
  void SetBold(HTREEITEM item, bool bold);
  bool IsBold(HTREEITEM item);
  void SetSubtreeChecks(HTREEITEM item, bool checked);
  // Appends every item below start (the whole tree for null) in depth-first
  // pre-order; returns how many were appended.
  int CollectItems(SArray<HTREEITEM>* items, HTREEITEM start);
  HTREEITEM HitTest(POINT point, UINT* flags = nullptr);
  // True when item lies in the subtree below ancestor (ancestor excluded).
  bool IsDescendant(HTREEITEM item, HTREEITEM ancestor);

  // Copies the source's subtree to the place: under target (asChild) or
  // beside it (after or before), or at the top level for a null target, in
  // targetTree (this tree when null). Returns the new item; null when
  // refused: a child place below the source's own descendant, a missing
  // source or a failed insertion.
  HTREEITEM CopyItem(HTREEITEM source, HTREEITEM target, bool asChild, bool after,
                     STreeCtrl* targetTree = nullptr);
  // The same, then the source is deleted. Refused also for any place inside
  // the source's own subtree in this tree.
  HTREEITEM MoveItem(HTREEITEM source, HTREEITEM target, bool asChild, bool after,
                     STreeCtrl* targetTree = nullptr);

  // Trees items may be dropped onto (the handle of another tree control).
  void AddDropTarget(HWND tree);
  // Browsing mode on the folder: its subfolders (and files matching the
  // filter when showFiles) become items, folders filled on expansion.
  bool Browse(const char* rootFolder, const char* filter = "*.*", bool showFiles = true);
  // Fills a folder item (null: the top level from the root folder).
  void FillFolder(HTREEITEM parent, const char* folder);

  SDisk m_disk;
  bool m_checkPropagation;
  bool m_dragDrop;
  bool m_browsing;
  bool m_showFiles;
  SString m_filter;
  SString m_rootFolder;
  SImageList m_images;
  SStringArray m_extensions;  // lower case with the dot; entry i is icon i
  SArray<HWND__*> m_dropTargets;

private:
  struct _SNode;
  // Runs the drag of an item whose label was pressed; false when it was not
  // started.
  void TrackDrag(HTREEITEM item);
  HTREEITEM InsertSnapshot(const _SNode& node, HTREEITEM source, HTREEITEM parent, HTREEITEM after,
                           STreeCtrl* target, UINT message);
  bool ReadSnapshot(HTREEITEM item, _SNode* node);
  HTREEITEM PlaceCopy(HTREEITEM source, HTREEITEM target, bool asChild, bool after,
                      STreeCtrl* targetTree, UINT message);
  int IconOf(const char* path);
  void OnLeftButtonDown(WPARAM wParam, LPARAM lParam, LRESULT* result);
};
