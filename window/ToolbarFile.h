// The tool-bar text format "VANDRO TOOLBAR 1.0.0.0": a dialog's tool bar,
// read as INI text after the magic line.
//
//   []   width, height, count    image size and number of buttons
//   [i]  name, image, separator, text, data, disabled    button i
//
// Numbers are read with atoi; a flag is set only by the value "1". A button
// without an id from the resolver gets the command id -2 - i, a separator 0.
#pragma once

#include "core/Platform.h"
#include "window/MenuFile.h"

class SDialog;
class SFile;
class SResource;
class SToolBarCtrl;

// A new tool-bar object (a subclass of SToolBarCtrl when the caller wants
// one).
typedef SToolBarCtrl* (*SToolBarFactory)(void* arg);

// Replaces the dialog's tool bar and its images by those of the text and
// puts the tool bar into the dialog's control bar as a new band. Button
// images come from the archive's entries (none without an archive). False
// without a control bar (nothing changes then), and for a text that cannot
// be read or a tool bar that cannot be made, which leave the dialog without
// a tool bar. Counts above MAX_TOOLBAR_BUTTONS are refused; the buttons go to
// the tool bar in one call.
bool LoadToolbarFile(SDialog* dialog, SFile* text, SToolBarFactory factory = nullptr,
                     void* arg = nullptr, SResource* archive = nullptr,
                     SMenuIdResolver resolver = nullptr);

// The most buttons a tool bar of a text or a dialog record holds.
enum { MAX_TOOLBAR_BUTTONS = 256 };

// Appends a separator with that command id; true when the tool bar took it.
bool AddToolbarSeparator(SToolBarCtrl* toolBar, int id);
// A separator with that command id, for SToolBarCtrl::AddButtons.
TBBUTTON ToolbarSeparator(int id);
