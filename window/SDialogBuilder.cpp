// SDialog::Create and CreateFromText: a dialog text becomes a live dialog.
#include "core/Platform.h"
#include "window/SDialog.h"

#include "core/SDll.h"
#include "core/SFile.h"
#include "core/SFileMem.h"
#include "core/SImage.h"
#include "core/SResource.h"
#include "core/SStringParser.h"
#include "window/ControlFactory.h"
#include "window/MenuFile.h"
#include "window/SDialogEditor.h"
#include "window/SMenu.h"
#include "window/SStatusBarCtrl.h"
#include "window/STabCtrl.h"
#include "window/ToolbarFile.h"
#include "window/WindowPrivate.h"

#include <stdlib.h>

#include <vector>

namespace {

typedef SDialogEditor::_SCtrl Record;

// Frame styles a layered dialog loses: caption, system menu, sizing frame,
// minimise and maximise boxes; and static and client edges.
const DWORD kLayerDroppedStyle = 0x00CF0000;
const DWORD kLayerDroppedExStyle = 0x00020200;

bool Flag(const Record* r, const char* key) { return SDialogEditor::GetPropertyBool(r, key); }
int Int(const Record* r, const char* key) { return SDialogEditor::GetPropertyInt(r, key); }

// The archive entry the key of the record names; false without an archive,
// for an empty name and for a missing entry.
bool LoadEntry(SResource* archive, const Record* r, const char* key, SFileMem* file) {
  if (!archive) return false;
  SString name = SDialogEditor::GetProperty(r, key);
  return name.GetLength() > 0 && archive->Load(file, name.GetText(), true);
}

// Record indexes in creation order: TAB records in reverse order among
// themselves, the others at their own place.
std::vector<int> CreationOrder(const SArray<Record*>& records) {
  std::vector<int> tabs;
  for (int i = 0; i < records.GetCount(); ++i) {
    if (records[i]->m_type == SDialogEditor::TYPE_TAB) tabs.push_back(i);
  }
  std::vector<int> order;
  size_t tabsMet = 0;
  for (int i = 0; i < records.GetCount(); ++i) {
    if (records[i]->m_type == SDialogEditor::TYPE_TAB) {
      order.push_back(tabs[tabs.size() - 1 - tabsMet++]);
    } else {
      order.push_back(i);
    }
  }
  return order;
}

void ApplyIcon(SDialog* dialog, SResource* archive, const Record* r) {
  SFileMem file;
  if (!LoadEntry(archive, r, "DIALOG_ICON", &file)) return;
  SImage image;
  if (!image.Load(&file)) return;
  HICON icon = image.CreateIcon();
  if (!icon) return;
  dialog->SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  dialog->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  if (dialog->m_icon) ::DestroyIcon(dialog->m_icon);
  dialog->m_icon = icon;
}

void ApplyBackgroundImage(SDialog* dialog, SResource* archive, const Record* r) {
  SFileMem file;
  if (!LoadEntry(archive, r, "DIALOG_IMAGE", &file)) return;
  SImage image;
  if (!image.Load(&file) || !image.GetBitmap()) return;
  dialog->SetBackgroundImage(image.GetBitmap(),
                             Flag(r, "DIALOG_SHAPE") ? kShapeKey : SImage::COLOR_NONE);
}

void SetTabOrder(SDialog* dialog, const Record* r) {
  if (!Flag(r, "TABENABLED")) return;
  SWnd* control = dialog->GetControlById(r->m_id);
  if (!control) return;
  int group = Int(r, "TABGROUP");
  control->m_tabGroup = group < 0 ? -1 : group;
  int index = Int(r, "TABINDEX");
  if (index != -1) control->m_tabIndex = index < 0 ? 0 : index;
}

void MakeStatusBar(SDialog* dialog, const Record* r) {
  SString value = SDialogEditor::GetProperty(r, "DIALOG_STATUSBARTEXT");
  SStringParser parser(value.GetText());
  int count = parser.Parse("|", kListFlags, '"');
  if (count < 1 || !dialog->CreateStatusBar(count) || !dialog->m_statusBar) return;
  SStatusBarCtrl* bar = dialog->m_statusBar;
  for (int i = 0; i < count; ++i) {
    SString text = parser.GetToken(i);
    bar->SendMessage(SB_SETTEXTA, WPARAM(i),
                     reinterpret_cast<LPARAM>(text.GetText() ? text.GetText() : ""));
  }
  int width = r->m_width / count;
  for (int i = 0; i < count - 1; ++i) bar->SetPartRight(i, (i + 1) * width);
}

// The wave editor's level meter: the control of the LEVEL record that
// "WAVEEDITOR_LEVEL" names (null when it has none), handed to the registered
// class's link.
void LinkWaveEditor(SDialogEditor& document, const Record* r, SWnd* control,
                    const std::vector<SWnd*>& controlOf) {
  const SDialogControlClass* waveClass = FindDialogControlClass(SDialogEditor::TYPE_WAVEEDITOR);
  if (!waveClass || !waveClass->link) return;
  Record* level = document.FindControlById(int16_t(Int(r, "WAVEEDITOR_LEVEL")));
  if (!level || level->m_type != SDialogEditor::TYPE_LEVEL) return;
  int index = document.m_controls.Find(level);
  waveClass->link(control, index >= 0 ? controlOf[size_t(index)] : nullptr);
}

// The pages of a tab control: "TAB_CHILDREN_PRIVATE" holds (page, id) pairs
// separated by blanks (an odd last page pairs with id 0); pairs naming a page
// outside the tabs, no control or the tab control itself are skipped. Then
// the current page is shown.
void LinkTabPages(SDialog* dialog, const Record* r, SWnd* control) {
  STabCtrl* tab = dynamic_cast<STabCtrl*>(control);
  if (!tab) return;
  SString value = SDialogEditor::GetProperty(r, "TAB_CHILDREN_PRIVATE");
  SStringParser parser(value.GetText());
  int count = parser.Parse(" ", 1, '"');
  for (int i = 0; i < count; i += 2) {
    SString pageText = parser.GetToken(i);
    int page = atoi(pageText.GetText() ? pageText.GetText() : "");
    SString id = i + 1 < count ? parser.GetToken(i + 1) : SString("0");
    SWnd* member = dialog->GetControlById(atoi(id.GetText() ? id.GetText() : ""));
    if (page < 0 || page >= tab->GetTabCount() || !member || member == control) continue;
    tab->AttachPage(page, member);
  }
  tab->ShowPage(int(tab->SendMessage(TCM_GETCURSEL)));
}

void AttachToolBar(SDialog* dialog, SResource* archive, const Record* r, void* owner,
                 SToolBarFactory factory, SMenuIdResolver resolver) {
  SFileMem file;
  if (!LoadEntry(archive, r, "DIALOG_TOOLBAR", &file)) return;
  dialog->CreateControlBar();
  LoadToolbarFile(dialog, &file, factory, owner, archive, resolver);
}

void AttachMenuBar(SDialog* dialog, SResource* archive, const Record* r, void* owner,
              SMenuFactory factory, SMenuIdResolver resolver) {
  SFileMem file;
  if (!LoadEntry(archive, r, "DIALOG_MENU", &file)) return;
  if (!LoadMenuFile(dialog->m_hWnd, &file, &dialog->m_menus, &dialog->m_menuImages, factory,
                    resolver, archive, owner)) {
    return;
  }
  if (dialog->m_menus.GetCount() > 0) dialog->SetMenu(dialog->m_menus[0]->m_hMenu);
}

// UpdateLayeredWindow from "user32.dll", looked up until it is found.
bool FindUpdateLayeredWindow() {
  if (g_updateLayeredWindow) return true;
  g_sharedLibrary.Free();
  HMODULE user32 = ::LoadLibraryA("user32.dll");
  g_sharedLibrary.SetModule(user32);
  if (!user32) return false;
  g_updateLayeredWindow =
      reinterpret_cast<UpdateLayeredWindowProc>(
      reinterpret_cast<void*>(::GetProcAddress(user32, "UpdateLayeredWindow")));
  return g_updateLayeredWindow != nullptr;
}

void MakeLayered(SDialog* dialog) {
  if (FindUpdateLayeredWindow()) {
    LONG exStyle = ::GetWindowLongA(dialog->m_hWnd, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED))
      ::SetWindowLongA(dialog->m_hWnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  }
  dialog->ApplyLayer(dialog->ComposeLayer());
}

// SWM_DIALOGCREATED to the window's object as the window procedure hands a
// message over.
void DeliverCreated(HWND hWnd, void* createParam) {
  WPARAM wParam = 0;
  LPARAM lParam = reinterpret_cast<LPARAM>(createParam);
  SWnd* wnd = SWnd::FromHandle(hWnd);
  if (!wnd) {
    ::DefWindowProcA(hWnd, SWM_DIALOGCREATED, wParam, lParam);
    return;
  }
  LRESULT result = 0;
  if (wnd->OnMessage(SWM_DIALOGCREATED, wParam, lParam, result)) {
    wnd->WindowProc(SWM_DIALOGCREATED, wParam, lParam);
  }
}

}  // namespace

bool SDialog::CreateFromText(SFile* text, SDialog* dialog, HWND parent, bool popup, void* owner,
                             SMenuFactory menuFactory, SToolBarFactory toolBarFactory,
                             SMenuIdResolver resolver, bool keepHidden, SResource* archive,
                             void* createParam) {
  if (!text || !dialog) return false;
  SDialogEditor document;
  if (!document.Init()) return false;
  text->Rewind();
  if (!SDialogEditor::LoadText(text, &document) || !document.m_dialog) return false;
  const Record* r = document.m_dialog;

  // The window.
  bool layered = Flag(r, "DIALOG_LAYER");
  bool noClose = Flag(r, "DIALOG_NOCLOSE");
  DWORD style = r->m_style & ~DWORD(WS_VISIBLE);
  style |= !popup && parent ? WS_CHILD : WS_POPUP;
  DWORD exStyle = r->m_exStyle;
  if (layered) {
    style &= ~kLayerDroppedStyle;
    exStyle &= ~kLayerDroppedExStyle;
  }
  const char* caption = r->m_caption.GetText() ? r->m_caption.GetText() : "";
  if (!dialog->SWnd::Create(caption, style, exStyle, nullptr, parent, nullptr, createParam, nullptr,
                            noClose)) {
    return false;
  }
  dialog->SetClientSize(r->m_width, r->m_height);
  dialog->Center(true);
  if (Flag(r, "DIALOG_DRAGFILES")) ::DragAcceptFiles(dialog->m_hWnd, TRUE);
  ApplyIcon(dialog, archive, r);
  SWnd::SetImageDrawMode(dialog, SDialogEditor::GetPropertyDrawMode(r, "DIALOG_IMAGEDRAWMODE"));
  ApplyBackgroundImage(dialog, archive, r);

  // The controls; controlOf[i] is the control of record i.
  SArray<Record*>& records = document.m_controls;
  std::vector<SWnd*> controlOf(size_t(records.GetCount()), nullptr);
  for (int i : CreationOrder(records)) {
    if (!dialog->m_hWnd) return false;
    SWnd* control = CreateDialogControl(dialog->m_hWnd, records[i], archive, true, dialog);
    if (!control) return false;
    dialog->AttachControl(control, records[i]);
    controlOf[size_t(i)] = control;
  }
  if (!dialog->m_hWnd) return false;

  for (int i = 0; i < records.GetCount(); ++i) SetTabOrder(dialog, records[i]);
  if (!layered) MakeStatusBar(dialog, r);
  for (int i = 0; i < records.GetCount(); ++i) {
    SWnd* control = controlOf[size_t(i)];
    if (control && records[i]->m_type == SDialogEditor::TYPE_WAVEEDITOR) {
      LinkWaveEditor(document, records[i], control, controlOf);
    }
    if (control && records[i]->m_type == SDialogEditor::TYPE_TAB) {
      LinkTabPages(dialog, records[i], control);
    }
  }
  if (!layered) {
    AttachToolBar(dialog, archive, r, owner, toolBarFactory, resolver);
    AttachMenuBar(dialog, archive, r, owner, menuFactory, resolver);
  }
  // A factory or resolver that destroyed the window took the controls along.
  if (!dialog->m_hWnd) return false;

  // Size limits, colour, alignment, window state.
  int width = dialog->GetWidth(), height = dialog->GetHeight();
  if (r->m_backColor != SImage::COLOR_NONE) dialog->SetBackColor(DecodeDialogColor(r->m_backColor));
  if (Flag(r, "DIALOG_MINSIZE")) {
    dialog->m_minWidth = width;
    dialog->m_minHeight = height;
    dialog->m_minClientWidth = dialog->m_minClientHeight = -1;
  }
  if (Flag(r, "DIALOG_MAXSIZE")) {
    dialog->m_maxWidth = width;
    dialog->m_maxHeight = height;
    dialog->m_maxClientWidth = dialog->m_maxClientHeight = -1;
  }
  for (int i = 0; i < records.GetCount(); ++i) {
    SWnd* control = controlOf[size_t(i)];
    if (!control) continue;
    unsigned int mask = unsigned(Int(records[i], "HALIGN") | Int(records[i], "VALIGN"));
    if (mask == 0) {
      control->m_alignMask = 0;
    } else {
      control->SetAutoAlign(mask);
    }
  }
  if (Flag(r, "DIALOG_MAXIMIZED")) dialog->Show(SW_SHOWMAXIMIZED);
  if (Flag(r, "DIALOG_MINIMIZED")) {
    dialog->Show(::IsWindowVisible(dialog->m_hWnd) ? SW_MINIMIZE : SW_SHOWMINIMIZED);
  }
  if (Flag(r, "DIALOG_MOVEWITHMOUSE")) dialog->m_moveWithMouse = true;
  dialog->m_modalReturn = !Flag(r, "DIALOG_NOMODALRETURN");
  dialog->m_modalEscape = !Flag(r, "DIALOG_NOMODALESCAPE");
  if (layered && dialog->m_hWnd) MakeLayered(dialog);

  // Focus, showing, and the notice that the dialog is complete.
  bool focusNamed = SDialogEditor::GetProperty(r, "DIALOG_FOCUS").GetLength() > 0;
  const Record* focus =
      focusNamed ? document.FindControlById(int16_t(Int(r, "DIALOG_FOCUS"))) : nullptr;
  if (focus) {
    int index = records.Find(const_cast<Record*>(focus));
    if (index >= 0 && controlOf[size_t(index)]) controlOf[size_t(index)]->SetFocus();
  }
  if (!keepHidden && (r->m_style & WS_VISIBLE)) dialog->Show(SW_SHOW);
  if (dialog->m_hWnd) DeliverCreated(dialog->m_hWnd, createParam);
  return true;
}

bool SDialog::Create(SFile* text, HWND parent, bool popup, void* owner, SMenuFactory menuFactory,
                     SToolBarFactory toolBarFactory, SMenuIdResolver resolver, bool keepHidden,
                     SResource* archive, void* createParam) {
  if (m_hWnd) return false;
  return CreateFromText(text, this, parent, popup, owner, menuFactory, toolBarFactory, resolver,
                        keepHidden, archive, createParam);
}
