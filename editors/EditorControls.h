// The editor controls join the dialog control factory through this one call,
// made once by a program that links the editors library (before it builds
// dialogs that use them). Each control's file provides its registration; the
// list below names them all.
#pragma once

void RegisterEditorControls();
